#pragma once
// The gallery page of the skinned controls: panels with and without caption, with a check box
// checked and unchecked, rolled up and down, transparent and disabled; status bars with and
// without size grip; up-downs in both orientations, at the skin's size and sized freely,
// enabled and disabled.
#include <vector>

#include "skin/controls/skin_control_win.h"
#include "tools/skingallery/gallery_page.h"

namespace fn {

class TControlsPage : public TGalleryPage {
public:
    explicit TControlsPage(TComponent* owner);
    const wchar_t* Title() const override { return L"Steuerelemente"; }
    void SetSkinData(TmnSkinData* skinData) override;
    void ChangeScale(int dpi, int fromDpi) override;
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

protected:
    void HandleCreated() override;

private:
    struct Label {
        int X, Y;
        String Text;
    };
    void Build();
    template <class T>
    T* Add(TWinControl* parent, int x, int y, int w, int h);
    void Paint(HDC dc);

    bool built_ = false;
    std::vector<TmnSkinControl*> controls_;
    std::vector<Label> labels_;
    TmnSkinData* skinData_ = nullptr;
};

}  // namespace fn
