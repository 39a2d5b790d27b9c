#pragma once
// The gallery's MDI page: it opens an MDI frame with several document windows and the MDI tabs
// bar, so switching, reordering by drag, minimising and the tabs' child menu can be tried with
// any skin. Small stand-ins play the form skinning components of the frame and the documents
// until the real component drives the bar.
#include <vector>

#include "platform/win/forms.h"
#include "skin/form/mdi_tabs_bar_win.h"
#include "skin/menus/skin_popup_menu_win.h"
#include "tools/skingallery/gallery_page.h"

namespace fn {

class TGalleryMdiFrame;

class TMdiPage : public TGalleryPage {
public:
    explicit TMdiPage(TComponent* owner) : TGalleryPage(owner) {}
    const wchar_t* ClassName() const override { return L"TMdiPage"; }
    const wchar_t* Title() const override { return L"MDI"; }
    void SetSkinData(TmnSkinData* skinData) override;

    // Shows the MDI frame (made on first use) with its document windows.
    void OpenFrame();
    TGalleryMdiFrame* Frame() const { return frame_; }

    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

protected:
    void HandleCreated() override;

private:
    TGalleryMdiFrame* frame_ = nullptr;
    TmnSkinData* skinData_ = nullptr;
};

// The frame side of the stand-in: the child menus the tabs ask for, as a skinned popup.
class TGalleryTabsOwner : public TComponent, public TmnMDITabsOwner {
public:
    explicit TGalleryTabsOwner(TForm* frame);
    HWND MenuOwnerWindow() const override { return frame_->Handle(); }
    TmnSkinMenu& SkinMenu() override { return *menu_; }
    TmnSkinData* MenusSkinData() const override { return skin; }
    void ShowChildSystemMenu(TForm* child, POINT screen) override;
    TmnSkinData* skin = nullptr;

private:
    TForm* frame_;
    TmnSkinMenu* menu_;
    TmnSkinPopupMenu* childMenu_;
    TForm* menuChild_ = nullptr;
};

class TGalleryMdiFrame : public TForm {
public:
    explicit TGalleryMdiFrame(TComponent* owner);
    const wchar_t* ClassName() const override { return L"TGalleryMdiFrame"; }
    void SetSkinData(TmnSkinData* skinData);
    TmnSkinMDITabsBar& TabsBar() { return *bar_; }
    // Opens one more document window.
    TForm* NewDocument(const String& caption, const String& text);

    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    TmnSkinMDITabsBar* bar_;
    TGalleryTabsOwner* owner_;
};

}  // namespace fn
