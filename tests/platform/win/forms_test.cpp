// Forms and controls with real windows: documents of an MDI frame created hidden with their own
// border icons, a client size that holds for a frame changed a moment before, alignment of a
// control moved by someone else, and controls that follow their form to another scale.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "platform/win/application.h"
#include "platform/win/forms.h"
#include "platform/win/wndproc_hook.h"

using namespace fn;

namespace {

// The MDI frame is the application's main form; one per test program.
TForm* Frame() {
    static TForm* frame = [] {
        Application()->Initialize();
        TForm* f = nullptr;
        Application()->CreateForm(f);
        f->LoadFromText(L"object Frame: TForm\n  Caption = 'Rahmen'\n  FormStyle = fsMDIForm\n"
                        L"  Left = 20\n  Top = 20\n  Width = 600\n  Height = 450\n  Visible = True\nend\n");
        return f;
    }();
    return frame;
}

// Counts the frame paints a window receives.
int g_framePaints = 0;
HWND g_counted = nullptr;
LRESULT CALLBACK CountFramePaints(int code, WPARAM wParam, LPARAM lParam) {
    const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && sent->hwnd == g_counted && g_counted && sent->message == WM_NCPAINT) ++g_framePaints;
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

TEST(MdiDocuments, AreCreatedHiddenWithTheirOwnBorderIconsAndShownAndActivatedByShow) {
    TForm* frame = Frame();
    auto* doc = new TForm(Application());
    doc->LoadFromText(L"object Doc: TForm\n  FormStyle = fsMDIChild\n  Caption = 'Notiz'\n"
                      L"  BorderIcons = [biSystemMenu, biMinimize]\n  Width = 250\n  Height = 180\nend\n");
    ASSERT_TRUE(doc->HandleAllocated());
    HWND window = doc->Handle();
    // Not shown while it is set up, and without the maximise box its border icons leave out.
    // It counts as the frame's document already, and names its frame.
    EXPECT_FALSE(::IsWindowVisible(window));
    EXPECT_EQ(frame->MDIChildCount(), 1);
    EXPECT_EQ(frame->MDIChildren(0), doc);
    EXPECT_EQ(doc->ParentFrame(), frame);
    EXPECT_EQ(frame->ParentFrame(), nullptr);
    const LONG style = ::GetWindowLongW(window, GWL_STYLE);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_TRUE(style & WS_CLIPSIBLINGS);

    g_counted = window;
    g_framePaints = 0;
    HHOOK hook = ::SetWindowsHookExW(WH_CALLWNDPROC, CountFramePaints, nullptr, ::GetCurrentThreadId());
    doc->Show();
    Application()->ProcessMessages();
    ::UnhookWindowsHookEx(hook);
    g_counted = nullptr;
    EXPECT_TRUE(::IsWindowVisible(window));
    EXPECT_EQ(frame->ActiveMDIChild(), doc);
    EXPECT_GE(g_framePaints, 1);
    // A document of another frame is not this frame's.
    TForm other(nullptr);
    other.LoadFromText(L"object Other: TForm\n  FormStyle = fsMDIForm\n  Width = 300\n  Height = 200\nend\n");
    ASSERT_NE(other.ClientHandle(), nullptr);
    EXPECT_EQ(other.MDIChildCount(), 0);
    EXPECT_EQ(frame->MDIChildCount(), 1);
    delete doc;
    Application()->ProcessMessages();
    EXPECT_EQ(frame->MDIChildCount(), 0);
}

// Centred documents opened one after another step aside instead of covering each other.
TEST(MdiDocuments, CentredDocumentsCascadeInsteadOfCoveringEachOther) {
    Frame();
    std::vector<std::unique_ptr<TForm>> docs;
    std::vector<RECT> places;
    for (int i = 0; i < 3; ++i) {
        docs.push_back(std::make_unique<TForm>(nullptr));
        docs.back()->LoadFromText(L"object Doc: TForm\n  FormStyle = fsMDIChild\n  Position = poScreenCenter\n"
                                  L"  Width = 250\n  Height = 180\nend\n");
        docs.back()->Show();
        RECT r;
        ::GetWindowRect(docs.back()->Handle(), &r);
        places.push_back(r);
    }
    const int step = ::GetSystemMetrics(SM_CYCAPTION) + ::GetSystemMetrics(SM_CYFRAME);
    for (int i = 1; i < 3; ++i) {
        EXPECT_EQ(places[i].left - places[i - 1].left, step) << i;
        EXPECT_EQ(places[i].top - places[i - 1].top, step) << i;
    }
}

TEST(Forms, ClientSizeHoldsForAFrameThatChangedSinceTheClientRectangleWasComputed) {
    TForm form(nullptr);
    form.SetBounds(40, 30, 300, 200);
    form.Handle();
    // A frame of 7 pixels on every side and a 30-pixel caption, answered from now on without
    // the platform being told (as a skin applied while the window is hidden).
    TWndProcHook frame;
    ASSERT_TRUE(frame.Install(form.Handle(), [](HWND, UINT msg, WPARAM wParam, LPARAM lParam, const TWndProcNext& next) {
        if (msg != WM_NCCALCSIZE) return next(msg, wParam, lParam);
        RECT& r = wParam ? reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)->rgrc[0] : *reinterpret_cast<RECT*>(lParam);
        r.left += 7, r.top += 30, r.right -= 7, r.bottom -= 7;
        return LRESULT(0);
    }));
    form.SetClientSize(320, 240);
    RECT wr, cr;
    ::GetWindowRect(form.Handle(), &wr);
    ::GetClientRect(form.Handle(), &cr);
    EXPECT_EQ(cr.right, 320);
    EXPECT_EQ(cr.bottom, 240);
    EXPECT_EQ(wr.right - wr.left, 320 + 14);
    EXPECT_EQ(wr.bottom - wr.top, 240 + 37);
    frame.Remove();
}

TEST(Controls, AlignmentPutsBackAControlMovedOrSizedByOthers) {
    TForm form(nullptr);
    form.SetBounds(40, 30, 300, 200);
    form.Handle();
    TWinControl child(nullptr);
    child.SetParent(&form);
    child.SetBounds(0, 0, 120, 40);
    child.SetAlign(TAlign::alTop);
    HWND window = child.Handle();
    RECT client;
    ::GetClientRect(form.Handle(), &client);
    auto placed = [&] {
        RECT r;
        ::GetWindowRect(window, &r);
        ::MapWindowPoints(nullptr, form.Handle(), reinterpret_cast<POINT*>(&r), 2);
        return r;
    };
    ASSERT_EQ(placed().right, client.right);
    // Moved by the platform alone, then realigned: it goes back to the top.
    ::SetWindowPos(window, nullptr, 50, 60, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    form.AlignControls();
    EXPECT_EQ(placed().left, 0);
    EXPECT_EQ(placed().top, 0);
    // Sized by the platform alone: it gets the whole width back (and keeps the new height).
    ::SetWindowPos(window, nullptr, 0, 0, 80, 90, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    form.AlignControls();
    EXPECT_EQ(placed().right, client.right);
    EXPECT_EQ(placed().bottom, 90);
}

TEST(Controls, FollowTheirFormToAnotherScaleNestedAndStillMeeting) {
    TForm form(nullptr);
    form.LoadFromText(L"object Scaled: TForm\n  Width = 400\n  Height = 300\n  Scaled = True\nend\n");
    form.Handle();
    // A bar along the top, a panel below it, inside the panel two controls side by side.
    TWinControl bar(nullptr), panel(nullptr), left(nullptr), right(nullptr);
    bar.SetParent(&form);
    bar.SetBounds(0, 0, 50, 21);
    bar.SetAlign(TAlign::alTop);
    panel.SetParent(&form);
    panel.SetBounds(10, 30, 201, 101);
    left.SetParent(&panel);
    left.SetBounds(3, 5, 33, 17);
    right.SetParent(&panel);
    right.SetBounds(36, 5, 33, 17);
    const int from = form.Dpi();
    form.ChangeDpi(from * 3 / 2);
    auto placed = [](TWinControl& c) {
        RECT r;
        ::GetWindowRect(c.Handle(), &r);
        ::MapWindowPoints(nullptr, ::GetParent(c.Handle()), reinterpret_cast<POINT*>(&r), 2);
        return r;
    };
    auto at = [&](int v) { return ScaledForDpi(v, from * 3 / 2, from); };
    EXPECT_EQ(placed(bar).bottom, at(21));
    const RECT p = placed(panel), l = placed(left), r = placed(right);
    EXPECT_EQ(p.left, at(10));
    EXPECT_EQ(p.top, at(30));
    EXPECT_EQ(p.right, at(211));
    EXPECT_EQ(l.left, at(3));
    EXPECT_EQ(l.bottom, at(22));
    EXPECT_EQ(l.right, r.left);  // neighbours keep meeting
    EXPECT_EQ(r.right, at(69));
    RECT client;
    ::GetClientRect(form.Handle(), &client);
    EXPECT_EQ(placed(bar).right, client.right);  // aligned again across the new width
}

TEST(Controls, AScaledFormsDataSizesEverythingForItsScaleButLeavesTheWindowWhereItSays) {
    RegisterComponentClass(L"TTestPanel", [](TComponent* o) { return new TWinControl(o); });
    const wchar_t* data = L"object F: TForm\n  Left = 30\n  Top = 40\n  Width = 300\n  Height = 200\n  Scaled = True\n"
                          L"  object P: TTestPanel\n    Left = 5\n    Top = 7\n    Width = 101\n    Height = 51\n  end\nend\n";
    TForm form(nullptr);
    ReadFormData(&form, data, nullptr, 192);
    const RECT f = form.BoundsRect();
    EXPECT_EQ(f.left, 30);
    EXPECT_EQ(f.top, 40);
    EXPECT_EQ(f.right - f.left, 600);
    EXPECT_EQ(f.bottom - f.top, 400);
    ASSERT_EQ(form.ComponentCount(), 1);
    const RECT p = dynamic_cast<TWinControl*>(form.Components(0))->BoundsRect();
    EXPECT_EQ(p.left, 10);
    EXPECT_EQ(p.top, 14);
    EXPECT_EQ(p.right - p.left, 202);
    EXPECT_EQ(p.bottom - p.top, 102);
}
