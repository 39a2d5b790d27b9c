#pragma once
// The gallery's window: a tab per page, a line naming the skin (or the error of a broken
// one), the skin data manager every page is dressed by, and the watch on a skin folder.
#include <memory>
#include <vector>

#include "platform/win/forms.h"
#include "platform/win/gdi.h"
#include "platform/win/handles.h"
#include "platform/win/window_timer.h"
#include "tools/skingallery/gallery_page.h"
#include "tools/skingallery/gallery_skin.h"

namespace fn {

class TmnMantle;

class TGalleryForm : public TForm {
public:
    explicit TGalleryForm(TComponent* owner);
    // Shows the window at dpi (0: the screen's), loads the first skin from source and, with
    // watch, follows the source folder's changes.
    void Start(TGallerySkinSource source, bool watch, int dpi = 0);
    const wchar_t* ClassName() const override { return L"TGalleryForm"; }

    // Loads the skin again (at start and when the watched folder changed); an error is shown
    // in the window and the skin shown before stays.
    void Reload();
    TmnSkinData* SkinData() const { return skin_; }
    TmnMantle& Mantle() const { return *mantle_; }
    const String& StatusText() const { return status_; }

    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void ChangeScale(int dpi, int fromDpi) override;

private:
    void Build();
    void Layout();
    void ShowPage(int index);
    void SetStatus(const String& text);
    // The tabs' and the status line's font at the window's scale.
    void ApplyFont();

    TGallerySkinSource source_;
    bool watch_ = false;
    TmnSkinData* skin_ = nullptr;  // owned by the form
    TmnMantle* mantle_ = nullptr;  // owned by the form
    std::vector<TGalleryPage*> pages_;
    HWND tabs_ = nullptr, statusLine_ = nullptr;
    TFontHandle font_;
    TWindowTimer watchTimer_;
    String signature_, status_;
};

}  // namespace fn
