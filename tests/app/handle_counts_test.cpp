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

BOOL CALLBACK CountWindow(HWND, LPARAM counter) { return ++*reinterpret_cast<int*>(counter), TRUE; }
BOOL CALLBACK CountWithChildren(HWND window, LPARAM counter) {
    CountWindow(window, counter);
    return ::EnumChildWindows(window, CountWindow, counter), TRUE;
}

// Every window of this thread: top-level ones with their children, and message-only ones.
int ThreadWindows() {
    int count = 0;
    ::EnumThreadWindows(::GetCurrentThreadId(), CountWithChildren, reinterpret_cast<LPARAM>(&count));
    for (HWND w = ::FindWindowExW(HWND_MESSAGE, nullptr, nullptr, nullptr); w;
         w = ::FindWindowExW(HWND_MESSAGE, w, nullptr, nullptr))
        if (::GetWindowThreadProcessId(w, nullptr) == ::GetCurrentThreadId()) CountWithChildren(w, reinterpret_cast<LPARAM>(&count));
    return count;
}

// How many more objects the system makes before it refuses: the room left in its table, which
// sees every object made, through an owner or not (regions: the GDI table; menus: the
// window-manager table of menus, icons, windows and hooks).
template <class Handle>
int Room(Handle (*make)(), void (*free)(Handle)) {
    std::vector<Handle> made;
    made.reserve(70000);
    for (Handle h; made.size() < 200000 && (h = make()) != nullptr;) made.push_back(h);
    for (Handle h : made) free(h);
    return static_cast<int>(made.size());
}
int GdiRoom() {
    return Room<HRGN>([] { return ::CreateRectRgn(0, 0, 1, 1); }, [](HRGN r) { ::DeleteObject(r); });
}
int UserRoom() {
    return Room<HMENU>([] { return ::CreatePopupMenu(); }, [](HMENU m) { ::DestroyMenu(m); });
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
    for (int i = 1; i <= cycles; ++i) {
        OneNote(seen);
        // Progress of a long run, with the room in the GDI table so far.
        if (i % 500 == 0 && i < cycles) std::printf("%d notes, room %d\n", i, GdiRoom()), std::fflush(stdout);
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
    const int roomAfter = GdiRoom(), userRoomAfter = UserRoom();
    // Objects left behind take room; more room afterwards is the system's own cache let go
    // (seen under load: a few window-manager entries), never a leak of the program's.
    EXPECT_GE(roomAfter, roomBefore) << "GDI objects left behind";
    EXPECT_GE(userRoomAfter, userRoomBefore) << "window-manager objects left behind";
    // And the system still hands out a new region, bitmap and device context.
    TWindowDC screen(nullptr);
    TRegionHandle region(::CreateRectRgn(0, 0, 8, 8));
    TBitmapHandle bitmap(::CreateCompatibleBitmap(screen.Get(), 8, 8));
    TMemoryDC dc(screen.Get());
    EXPECT_TRUE(region && bitmap && dc);
    std::printf("%d notes in %.1f s (%.2f ms each); live:%s; windows %d; room in the GDI table %d before, %d after, "
                "in the window-manager table %d before, %d after; new region, bitmap, DC: %s\n",
                cycles, seconds, 1000.0 * seconds / cycles, report.c_str(), ThreadWindows(), roomBefore, roomAfter,
                userRoomBefore, userRoomAfter, region && bitmap && dc ? "yes" : "NO");
}

}  // namespace
