// The form skinning component of an MDI frame: its client window's background, tiling and
// scroll bars, and the document windows' maximised state told to the frame.
#include "skin/form/mantle_win.h"

#include <windowsx.h>

#include <algorithm>
#include <vector>

#include "platform/win/application.h"
#include "platform/win/gdi.h"
#include "skin/controls/skin_control_win.h"
#include "skin/controls/skin_status_bar_win.h"
#include "skin/data/skin_data.h"
#include "skin/data/skin_messages.h"
#include "skin/form/mantle_parts_win.h"
#include "skin/form/mdi_tiling.h"
#include "skin/menus/skin_menu_win.h"

namespace fn {

using namespace mantle;

namespace {

// The MDI client recomputes its scroll bars from its windows' places (an undocumented message
// every MDI client answers).
constexpr UINT WM_MDICALCCHILDSCROLL_ = 0x003F;

}  // namespace

void TmnMantle::SubclassMDIClient() {
    if (clientHook_.Installed()) return;
    clientHook_.Install(form_.ClientWindowProc(), [this](HWND w, UINT m, WPARAM wp, LPARAM lp, const TWndProcNext& next) {
        return ClientProc(w, m, wp, lp, next);
    });
}

LRESULT TmnMantle::ClientProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, const TWndProcNext& next) {
    switch (msg) {
    case WM_SIZE: {
        const LRESULT r = next(msg, wParam, lParam);
        RefitChildren();
        const bool stretched = skinned_ && (skinData_->MDIBgPictureIndex == -1 ? skinData_->StretchEffect
                                                                              : skinData_->MDIBgStretchEffect);
        if (!logo_.Empty() || stretched) ::InvalidateRect(window, nullptr, TRUE);
        return r;
    }
    case WM_ERASEBKGND:
        PaintBackground(reinterpret_cast<HDC>(wParam), true);
        return 1;
    case WM_NCACTIVATE:
        return 1;
    case WM_MDITILE:
        TileChildren((wParam & MDITILE_HORIZONTAL) == 0);
        return TRUE;
    default:
        // The client keeps its own border handling, so its scroll bars stay and a document
        // window dragged outside remains reachable.
        return next(msg, wParam, lParam);
    }
}

// The platform's tiling gives skinned documents less than their frame's minimum size (and the
// system then makes each wider, over its neighbour): documents are tiled by a plan that keeps
// every window at least at its minimum size.
void TmnMantle::TileChildren(bool sideBySide) {
    HWND client = form_.ClientHandle();
    if (!client) return;
    std::vector<TForm*> documents;
    TmnTileRequest request;
    for (int i = 0; i < form_.MDIChildCount(); ++i) {
        TForm* child = form_.MDIChildren(i);
        if (!child->HandleAllocated() || !::IsWindowVisible(child->Handle())) continue;
        TmnMantle* m = Of(child);
        if (m && m->state_.State == swsMinimized) continue;  // they keep their row at the bottom
        if (m && m->state_.State == swsMaximized) m->RunWindowAction(TmnWindowAction::Restore);
        const TmnSizeLimits l = m ? m->SizeLimits(false)
                                  : TmnSizeLimits{::GetSystemMetrics(SM_CXMINTRACK), ::GetSystemMetrics(SM_CYMINTRACK)};
        request.MinWidth = std::max(request.MinWidth, l.MinWidth);
        request.MinHeight = std::max(request.MinHeight, l.MinHeight);
        documents.push_back(child);
    }
    if (documents.empty()) return;
    RECT area;
    ::GetClientRect(client, &area);
    request.AreaWidth = area.right, request.AreaHeight = area.bottom;
    request.Count = static_cast<int>(documents.size());
    request.SideBySide = sideBySide;
    const std::vector<TSkinRect> tiles = TileDocuments(request);
    HDWP batch = ::BeginDeferWindowPos(request.Count);
    for (size_t i = 0; i < documents.size() && batch; ++i) {
        const TSkinRect& t = tiles[i];
        batch = ::DeferWindowPos(batch, documents[i]->Handle(), nullptr, t.Left, t.Top, t.Width(), t.Height(),
                                 SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (batch) ::EndDeferWindowPos(batch);
    // The client's scroll bars follow windows that run past it.
    ::PostMessageW(client, WM_MDICALCCHILDSCROLL_, 0, 0);
}

TForm* TmnMantle::MaximizedChild() const {
    if (!IsMDIFrame()) return nullptr;
    TForm* active = form_.ActiveMDIChild();
    if (TmnMantle* m = Of(active); m && m->state_.State == swsMaximized) return active;
    for (int i = 0; i < form_.MDIChildCount(); ++i)
        if (TmnMantle* m = Of(form_.MDIChildren(i)); m && m->state_.State == swsMaximized) return form_.MDIChildren(i);
    return nullptr;
}

void TmnMantle::RefitChildren() {
    if (!IsMDIFrame()) return;
    std::vector<TForm*> children;  // taken first: the refit runs the children's handlers
    for (int i = 0; i < form_.MDIChildCount(); ++i) children.push_back(form_.MDIChildren(i));
    for (TForm* f : children) ::SendMessageW(f->Handle(), MSG_MDI_CHILD_REALIGN, 0, 0);
    for (TForm* f : children)
        if (TmnMantle* m = Of(f); m && m->state_.State == swsMinimized) m->MoveToMinimizedPosition();
}

std::optional<LRESULT> TmnMantle::MDIMessages(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, const TWndProcNext& next) {
    switch (msg) {
    case MSG_MDI_CHILD_MAXIMIZED:
        childMaximized_ = true;
        NcPaint();
        if (mainMenuBar_) mainMenuBar_->ShowChildButtons();
        return next(msg, wParam, lParam);

    case MSG_MDI_CHILD_RESTORED:
        childMaximized_ = MaximizedChild() != nullptr;
        NcPaint();
        if (mainMenuBar_) mainMenuBar_->UpdateChildButtons();
        return next(msg, wParam, lParam);

    case MSG_MDI_CHILD_REALIGN:
        if (MaximizedMDIChild()) {
            RECT cr;
            ::GetClientRect(::GetParent(window), &cr);
            ::SetWindowPos(window, nullptr, 0, 0, cr.right, cr.bottom, SWP_NOZORDER | SWP_NOACTIVATE);
        }
        return next(msg, wParam, lParam);
    default:
        return std::nullopt;
    }
}

}  // namespace fn
