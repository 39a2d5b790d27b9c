// Opening a skinned popup of 12 items with a divider (window created, region set, first paint
// done) beside creating, showing and painting a plain popup window of the same size with the
// same texts, in the same run. Closing is outside both timings.
//   bench_menus            31 runs each
//   bench_menus --smoke    2 runs (the test script's check that the benchmark still works)
//   FN_BENCH_ITERATIONS=n  n runs
#include <cstdlib>
#include <string>

#include "platform/win/application.h"
#include "platform/win/forms.h"
#include "skin/data/stored_skin.h"
#include "skin/menus/skin_menu_win.h"
#include "skins/fennick/fennick_skin_form.h"
#include "timing.h"

using namespace fn;
using namespace fn::bench;

namespace {

class BenchOwner : public TComponent, public TmnMenuOwner {
public:
    BenchOwner() : TComponent(nullptr), menu_(new TmnSkinMenu(this, this)) {}
    HWND MenuOwnerWindow() const override { return nullptr; }
    TmnSkinMenu& SkinMenu() override { return *menu_; }
    TmnSkinData* MenusSkinData() const override { return nullptr; }

private:
    TmnSkinMenu* menu_;
};

// The plain window: the same texts drawn with DrawText, a divider line, the system colours.
std::vector<String>* plainTexts = nullptr;
LRESULT CALLBACK PlainProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(window, &ps);
        RECT client;
        GetClientRect(window, &client);
        FillRect(dc, &client, GetSysColorBrush(COLOR_MENU));
        SetBkMode(dc, TRANSPARENT);
        int y = 2;
        for (const String& text : *plainTexts) {
            if (text == L"-") {
                RECT line{2, y + 1, client.right - 2, y + 2};
                FillRect(dc, &line, GetSysColorBrush(COLOR_GRAYTEXT));
                y += 4;
                continue;
            }
            RECT r{21, y, client.right - 21, y + 20};
            DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_SINGLELINE | DT_VCENTER);
            y += 20;
        }
        EndPaint(window, &ps);
        return 0;
    }
    return DefWindowProcW(window, msg, wParam, lParam);
}

void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
}

}  // namespace

int main(int argc, char** argv) {
    int runs = 31;
    if (argc > 1 && std::string(argv[1]) == "--smoke") runs = 2;
    if (const char* n = std::getenv("FN_BENCH_ITERATIONS")) runs = std::max(1, std::atoi(n));

    Application()->Initialize();
    TmnSkinData::Register();
    TmnCompressedStoredSkin::Register();
    TForm holder(nullptr);
    holder.LoadFromText(fn::test::kFennickSkinForm);
    auto* skin = dynamic_cast<TmnSkinData*>(holder.FindComponent(L"mnSkinData1"));
    if (!skin || skin->Empty()) {
        std::printf("the default skin did not load\n");
        return 1;
    }

    TComponent items(nullptr);
    auto* root = new TMenuItem(&items);
    std::vector<String> texts{L"&Neu", L"Ö&ffnen...", L"&Speichern", L"Speichern &unter...", L"-",
                              L"&Drucken...", L"Drucker&einrichtung...", L"&Ausschneiden", L"&Kopieren",
                              L"E&infügen", L"&Löschen", L"&Beenden"};
    plainTexts = &texts;
    for (const String& t : texts) {
        auto* item = new TMenuItem(&items);
        item->SetCaption(t);
        root->Add(item);
    }
    BenchOwner owner;
    TmnSkinMenu& menu = owner.SkinMenu();
    menu.DesktopSettings = [] { return TmnMenuDesktopSettings{false, false}; };

    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_SAVEBITS;
    wc.lpfnWndProc = PlainProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"BenchPlainPopup";
    RegisterClassExW(&wc);

    int width = 0, height = 0;
    std::vector<double> skinned, plain, opens, paints;
    for (int i = 0; i <= runs; ++i) {
        const double tOpen = TimeMs([&] { menu.Popup(nullptr, skin, false, root, {200, 200, 200, 200}, 0); });
        const double tPaint = TimeMs([&] { UpdateWindow(menu.PopupList.back()->Handle()); });
        const double tSkinned = tOpen + tPaint;
        RECT r;
        GetWindowRect(menu.PopupList.back()->Handle(), &r);
        width = r.right - r.left;
        height = r.bottom - r.top;
        menu.CloseAll();
        Pump();
        HWND plainWindow = nullptr;
        const double tPlain = TimeMs([&] {
            plainWindow = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE, L"BenchPlainPopup", L"",
                                          WS_POPUP, 200, 200, width, height, nullptr, nullptr, wc.hInstance, nullptr);
            ShowWindow(plainWindow, SW_SHOWNOACTIVATE);
            UpdateWindow(plainWindow);
        });
        DestroyWindow(plainWindow);
        Pump();
        if (i == 0) continue;  // warm-up
        skinned.push_back(tSkinned);
        opens.push_back(tOpen);
        paints.push_back(tPaint);
        plain.push_back(tPlain);
    }
    std::printf("Opening a popup of 12 items and a divider, %d x %d (medians of %d runs, each beside its baseline)\n\n",
                width, height, runs);
    Report("skinned popup (create, region, paint)", Median(skinned), "plain popup window", Median(plain), 2);
    std::printf("  parts: open (items, size, region, show) %.3f ms, first paint %.3f ms\n", Median(opens),
                Median(paints));
    return 0;
}
