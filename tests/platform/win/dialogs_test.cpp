// Message dialogs show the class library's German texts whatever the system language.
#include <windows.h>

#include <gtest/gtest.h>

#include "platform/win/application.h"
#include "platform/win/dialogs.h"

using namespace fn;

namespace {

struct SeenBox {
    std::wstring title;
    std::vector<std::wstring> buttons;
    int press = IDNO;
};
SeenBox* g_seen = nullptr;

BOOL CALLBACK CollectButton(HWND w, LPARAM) {
    wchar_t cls[32] = {}, text[64] = {};
    ::GetClassNameW(w, cls, 32);
    ::GetWindowTextW(w, text, 64);
    if (std::wstring(cls) == L"Button") g_seen->buttons.push_back(text);
    return TRUE;
}

BOOL CALLBACK FindBox(HWND w, LPARAM found) {
    wchar_t cls[32] = {};
    ::GetClassNameW(w, cls, 32);
    if (std::wstring(cls) != L"#32770") return TRUE;
    *reinterpret_cast<HWND*>(found) = w;
    return FALSE;
}

// Runs inside the message box's modal loop: reads the box, then presses a button.
void CALLBACK InspectAndAnswer(HWND, UINT, UINT_PTR id, DWORD) {
    HWND box = nullptr;
    ::EnumThreadWindows(::GetCurrentThreadId(), FindBox, reinterpret_cast<LPARAM>(&box));
    if (!box) return;
    ::KillTimer(nullptr, id);
    wchar_t title[64] = {};
    ::GetWindowTextW(box, title, 64);
    g_seen->title = title;
    ::EnumChildWindows(box, CollectButton, 0);
    ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(g_seen->press, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(box, g_seen->press)));
}

}  // namespace

TEST(MessageDialogs, ConfirmationIsTitledBestaetigenWithGermanButtonsAndReturnsTheChoice) {
    Application()->Initialize();
    SeenBox seen;
    seen.press = IDNO;
    g_seen = &seen;
    ::SetTimer(nullptr, 0, 50, InspectAndAnswer);
    int result = MessageDlg(L"Änderungen speichern in ohne Namen?", TMsgDlgType::mtConfirmation, mbYes | mbNo | mbCancel, 0);
    EXPECT_EQ(result, mrNo);
    EXPECT_EQ(seen.title, L"Bestätigen");
    EXPECT_EQ(seen.buttons, (std::vector<std::wstring>{L"&Ja", L"&Nein", L"Abbrechen"}));

    SeenBox info;
    info.press = IDOK;
    g_seen = &info;
    Application()->SetTitle(L"Fennick Notizen");
    ::SetTimer(nullptr, 0, 50, InspectAndAnswer);
    ShowMessage(L"Hilfe-Datei konnte nicht gefunden werden");
    EXPECT_EQ(info.title, L"Fennick Notizen");
    EXPECT_EQ(info.buttons, (std::vector<std::wstring>{L"OK"}));
    g_seen = nullptr;
}
