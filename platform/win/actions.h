#pragma once
// Actions of the class-library layer: a command with a caption, a shortcut and an enabled,
// checked and visible state that menu items take over when they are linked to it. The program
// sets that state in OnUpdate, which a menu raises just before it shows the item, and OnExecute
// runs the command when a linked item without an OnClick of its own is clicked.
#include <vector>

#include "platform/win/menus.h"

namespace fn {

class TAction : public TComponent {
public:
    explicit TAction(TComponent* owner);
    ~TAction() override;
    const wchar_t* ClassName() const override { return L"TAction"; }

    const String& Caption() const { return caption_; }
    void SetCaption(const String& caption);
    const String& Hint() const { return hint_; }
    void SetHint(const String& hint);
    TShortCut ShortCut() const { return shortCut_; }
    void SetShortCut(TShortCut shortCut);
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int index);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    bool Checked() const { return checked_; }
    void SetChecked(bool checked);
    bool Visible() const { return visible_; }
    void SetVisible(bool visible);

    TNotifyEvent OnExecute;
    TNotifyEvent OnUpdate;
    // Raises OnUpdate (the linked items follow what it sets); false without a handler.
    bool Update();
    // Raises OnExecute; false without a handler.
    bool Execute();

private:
    friend class TMenuItem;
    // Every linked item takes over the action's state.
    void Changed();

    String caption_, hint_;
    TShortCut shortCut_ = 0;
    int imageIndex_ = -1;
    bool enabled_ = true, checked_ = false, visible_ = true;
    std::vector<TMenuItem*> clients_;
};

}  // namespace fn
