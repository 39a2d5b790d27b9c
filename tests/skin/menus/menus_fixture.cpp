#include "menus_fixture.h"

#include "platform/win/application.h"
#include "platform/win/forms.h"
#include "skin/data/stored_skin.h"
#include "skins/fennick/fennick_skin_form.h"

namespace fn::test {

namespace {

std::map<std::pair<HWND, UINT>, int>& Counts() {
    static std::map<std::pair<HWND, UINT>, int> counts;
    return counts;
}

LRESULT CALLBACK CountingProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    ++Counts()[{window, msg}];
    return ::DefWindowProcW(window, msg, wParam, lParam);
}

}  // namespace

void Pump() {
    MSG msg;
    for (int i = 0; i < 1000 && ::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE); ++i) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

TmnSkinData& FennickSkin() {
    static TForm* form = [] {
        Application()->Initialize();
        TmnSkinData::Register();
        TmnCompressedStoredSkin::Register();
        auto* f = new TForm(nullptr);
        f->LoadFromText(kFennickSkinForm);
        return f;
    }();
    return *dynamic_cast<TmnSkinData*>(form->FindComponent(L"mnSkinData1"));
}

CountingWindow::CountingWindow() {
    static const ATOM atom = [] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = CountingProc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = L"MenusTestCountingWindow";
        return ::RegisterClassExW(&wc);
    }();
    handle_ = ::CreateWindowExW(0, reinterpret_cast<LPCWSTR>(static_cast<uintptr_t>(atom)), L"Test", WS_OVERLAPPEDWINDOW,
                                100, 100, 300, 200, nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
}

CountingWindow::~CountingWindow() { ::DestroyWindow(handle_); }

int CountingWindow::Count(UINT msg) const {
    auto it = Counts().find({handle_, msg});
    return it == Counts().end() ? 0 : it->second;
}

void CountingWindow::Reset() {
    for (auto it = Counts().begin(); it != Counts().end();) {
        if (it->first.first == handle_) it = Counts().erase(it);
        else ++it;
    }
}

}  // namespace fn::test
