#include <gtest/gtest.h>

#include <vector>

#include "platform/win/gdi.h"
#include "platform/win/object_window.h"

namespace fn {
namespace {

struct Probe {
    HWND handle = nullptr;
    std::vector<UINT> heard;
    int paints = 0;
    LRESULT Message(UINT msg, WPARAM wParam, LPARAM lParam) {
        heard.push_back(msg);
        if (msg == WM_PAINT) paints += TPaintDC(handle).Get() != nullptr;
        if (msg == WM_PAINT || msg == WM_APP) return 42;
        return ::DefWindowProcW(handle, msg, wParam, lParam);
    }
};

TEST(ObjectWindow, TheObjectHearsEveryMessageFromCreationUntilItLetsGo) {
    static const ATOM atom =
        RegisterObjectWindowClass(L"FnObjectWindowTest", &ObjectWindowProc<Probe, &Probe::handle, &Probe::Message>);
    Probe probe;
    HWND window = ::CreateWindowExW(0, WindowClassOf(atom), L"", WS_POPUP, 0, 0, 40, 30, nullptr, nullptr,
                                    ::GetModuleHandleW(nullptr), &probe);
    ASSERT_TRUE(window && !probe.heard.empty());
    EXPECT_EQ(probe.handle, window);
    EXPECT_EQ(probe.heard.front(), static_cast<UINT>(WM_NCCREATE));
    EXPECT_EQ(::SendMessageW(window, WM_APP, 0, 0), 42);
    // Painting validates what it painted.
    ::ShowWindow(window, SW_SHOWNA);
    ::InvalidateRect(window, nullptr, FALSE);
    ::UpdateWindow(window);
    EXPECT_EQ(probe.paints, 1);
    EXPECT_FALSE(::GetUpdateRect(window, nullptr, FALSE));
    // Without its object the window answers through the default procedure.
    ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    const size_t heard = probe.heard.size();
    EXPECT_EQ(::SendMessageW(window, WM_APP, 0, 0), 0);
    ::DestroyWindow(window);
    EXPECT_EQ(probe.heard.size(), heard);
}

}  // namespace
}  // namespace fn
