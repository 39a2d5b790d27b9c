// Notes opened and closed again and again, each with its context menu and a menu of its bar
// shown and closed, maximised and restored: every handle owner's count, the components, the
// program's windows and the room in the GDI table end where they started. FN_HANDLE_CYCLES sets the
// number of cycles (scripts/handle-soak runs a long one).
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/document_window.h"
#include "platform/core/live_counts.h"
#include "platform/win/gdi.h"
#include "skin/form/main_menu_bar_win.h"
#include "skin/form/mantle_win.h"
#include "skin/menus/skin_menu_win.h"
#include "tests/app/app_fixture.h"

using namespace fn;
using namespace fn::test;

namespace {

BOOL CALLBACK CountWindow(HWND, LPARAM counter) {
    ++*reinterpret_cast<int*>(counter);
    return TRUE;
}

// A window and all its descendants.
BOOL CALLBACK CountOne(HWND window, LPARAM counter) {
    CountWindow(window, counter);
    ::EnumChildWindows(window, CountWindow, counter);
    return TRUE;
}

// Every window of this thread: top-level ones with their children, and message-only ones.
int ThreadWindows() {
    int count = 0;
    ::EnumThreadWindows(::GetCurrentThreadId(), CountOne, reinterpret_cast<LPARAM>(&count));
    for (HWND w = ::FindWindowExW(HWND_MESSAGE, nullptr, nullptr, nullptr); w;
         w = ::FindWindowExW(HWND_MESSAGE, w, nullptr, nullptr))
        if (::GetWindowThreadProcessId(w, nullptr) == ::GetCurrentThreadId()) CountOne(w, reinterpret_cast<LPARAM>(&count));
    return count;
}

// How many more regions the system hands out before it refuses: the room left in the process's
// GDI table, which sees every GDI object made, through an owner or not.
int GdiRoom() {
    std::vector<HRGN> made;
    made.reserve(70000);
    while (made.size() < 200000) {
        HRGN r = ::CreateRectRgn(0, 0, 1, 1);
        if (!r) break;
        made.push_back(r);
    }
    for (HRGN r : made) ::DeleteObject(r);
    return static_cast<int>(made.size());
}

// The same for the system's table of window-manager objects (menus, icons, windows, hooks).
int UserRoom() {
    std::vector<HMENU> made;
    made.reserve(70000);
    while (made.size() < 200000) {
        HMENU m = ::CreatePopupMenu();
        if (!m) break;
        made.push_back(m);
    }
    for (HMENU m : made) ::DestroyMenu(m);
    return static_cast<int>(made.size());
}

int Cycles() {
    const char* text = std::getenv("FN_HANDLE_CYCLES");
    const long n = text ? std::strtol(text, nullptr, 10) : 2000;
    return n > 0 && n <= 1000000 ? static_cast<int>(n) : 2000;
}

struct Seen {
    int contextMenu = 0, barMenu = 0, maximized = 0;
};

// Closes whichever skinned menu chain is open (a note's, or the main window's on its behalf) and
// tells whether one was.
int CloseShownMenu(TForm2* doc) {
    for (TmnSkinMenu* menu : {&doc->mnMantle1->SkinMenu(), &Form1->mnMantle1->SkinMenu()}) {
        if (!menu->Visible || menu->PopupList.empty()) continue;
        menu->CloseAll();
        Pump();
        return 1;
    }
    return 0;
}

// One note's life: made and shown, its context menu from the keyboard, "Datei" from its bar,
// maximised and restored, closed.
void OneNote(Seen& seen) {
    auto* doc = new TForm2(Form1);
    Pump();
    ::SendMessageW(doc->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(doc->RichEdit1->Handle()), MAKELPARAM(-1, -1));
    Pump();
    seen.contextMenu += CloseShownMenu(doc);
    doc->mnSkinMainMenuBar1->EnterMenuMode();
    doc->mnSkinMainMenuBar1->HandleAccelerator(L'd');
    Pump();
    seen.barMenu += CloseShownMenu(doc);
    ::ShowWindow(doc->Handle(), SW_MAXIMIZE);
    Pump();
    seen.maximized += ::IsZoomed(doc->Handle()) != FALSE;
    ::ShowWindow(doc->Handle(), SW_RESTORE);
    Pump();
    doc->RichEdit1->SetModified(false);
    doc->Close();
    Pump();
}

TEST(HandleCounts, NotesAndTheirMenusGiveBackEveryHandleTheyTake) {
    ScriptedDialogs dialogs;
    StartProgram();
    // The first notes fill what the program keeps for its whole run (classes, the menus' hooks).
    const size_t notesBefore = OpenDocuments().size();
    Seen warmUp;
    for (int i = 0; i < 2; ++i) OneNote(warmUp);
    const TLiveCounts before = LiveCounts();
    const int windowsBefore = ThreadWindows();
    const int roomBefore = GdiRoom();
    const int userRoomBefore = UserRoom();

    // While a note is open the counters see what it holds: they are live, not decoration.
    auto* probe = new TForm2(Form1);
    Pump();
    EXPECT_GT(LiveCount(TLiveKind::Component), before[size_t(TLiveKind::Component)]);
    EXPECT_GT(LiveCount(TLiveKind::Bitmap), before[size_t(TLiveKind::Bitmap)]);
    EXPECT_GT(ThreadWindows(), windowsBefore);
    probe->Close();
    Pump();

    const int cycles = Cycles();
    const auto start = std::chrono::steady_clock::now();
    Seen seen;
    auto lap = start;
    for (int i = 0; i < cycles; ++i) {
        OneNote(seen);
        // Progress, and whether a cycle grows slower (something piling up that no count sees).
        if ((i + 1) % 500 == 0) {
            const auto now = std::chrono::steady_clock::now();
            std::printf("%d notes, the last 500 at %.2f ms each\n", i + 1,
                        std::chrono::duration<double, std::milli>(now - lap).count() / 500);
            std::fflush(stdout);
            lap = now;
        }
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_EQ(seen.contextMenu, cycles);
    EXPECT_EQ(seen.barMenu, cycles);
    EXPECT_EQ(seen.maximized, cycles);
    EXPECT_EQ(OpenDocuments().size(), notesBefore);

    const TLiveCounts after = LiveCounts();
    std::string report;
    for (size_t k = 0; k < after.size(); ++k) {
        const char* name = LiveKindName(static_cast<TLiveKind>(k));
        EXPECT_EQ(after[k], before[k]) << name << " after " << cycles << " notes";
        report += std::string(" ") + name + "=" + std::to_string(after[k]);
    }
    EXPECT_EQ(ThreadWindows(), windowsBefore);
    const int roomAfter = GdiRoom();
    EXPECT_EQ(roomAfter, roomBefore) << "GDI objects left behind by " << cycles << " notes";
    const int userRoomAfter = UserRoom();
    EXPECT_EQ(userRoomAfter, userRoomBefore) << "window-manager objects left behind by " << cycles << " notes";

    // The system's tables still have room: a new region, bitmap and device context.
    TWindowDC screen(nullptr);
    TRegionHandle region(::CreateRectRgn(0, 0, 8, 8));
    TBitmapHandle bitmap(::CreateCompatibleBitmap(screen.Get(), 8, 8));
    TMemoryDC dc(screen.Get());
    EXPECT_TRUE(region);
    EXPECT_TRUE(bitmap);
    EXPECT_TRUE(dc);
    std::printf("%d notes with their menus in %.1f s (%.2f ms each); live:%s; windows=%d; room in the GDI table "
                "%d before, %d after; in the window-manager table %d before, %d after; new region, bitmap, DC: %s\n",
                cycles, seconds, 1000.0 * seconds / cycles, report.c_str(), ThreadWindows(), roomBefore, roomAfter, userRoomBefore, userRoomAfter,
                region && bitmap && dc ? "yes" : "NO");
}

}  // namespace
