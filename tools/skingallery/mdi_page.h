#pragma once
// The gallery's MDI page: it opens an MDI frame with several document windows and the MDI tabs
// bar, so switching, reordering by drag, minimising and the tabs' child menu can be tried with
// any skin; its menu bar's "Fenster" menu lists the documents. The frame and every document
// wear a mantle; the documents' mantles feed the bar and the list.
#include "platform/win/forms.h"
#include "skin/form/mdi_tabs_bar_win.h"
#include "tools/skingallery/gallery_page.h"

namespace fn {

class TGalleryMdiFrame;
class TmnMantle;
class TmnSkinMainMenuBar;

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

class TGalleryMdiFrame : public TForm {
public:
    explicit TGalleryMdiFrame(TComponent* owner);
    const wchar_t* ClassName() const override { return L"TGalleryMdiFrame"; }
    // Dresses the frame and its documents (null: the built-in frames).
    void SetSkinData(TmnSkinData* skinData);
    TmnSkinMDITabsBar& TabsBar() { return *bar_; }
    TmnMantle& Mantle() const { return *mantle_; }
    // Opens one more document window.
    TForm* NewDocument(const String& caption, const String& text);

    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    TmnMantle* mantle_;
    TMainMenu* menu_;
    TmnSkinMainMenuBar* menuBar_;
    TmnSkinMDITabsBar* bar_;
    TmnSkinData* skinData_ = nullptr;
    int made_ = 0, named_ = 0;
};

}  // namespace fn
