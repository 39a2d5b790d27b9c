// Where the rich-edit control's printing puts the text on a sheet.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "platform/win/forms.h"
#include "platform/win/rich_edit.h"

using namespace fn;

namespace {

// An A4 sheet at 600 dots per inch (4960 x 7016 dots) with the given unprintable border.
TPrintSheet A4(int borderX, int borderY) {
    TPrintSheet s;
    s.Width = 4960, s.Height = 7016;
    s.OffsetX = borderX, s.OffsetY = borderY;
    s.PrintableWidth = s.Width - 2 * borderX, s.PrintableHeight = s.Height - 2 * borderY;
    s.DpiX = s.DpiY = 600;
    return s;
}

bool operator==(const RECT& a, const RECT& b) { return ::EqualRect(&a, &b) != FALSE; }

}  // namespace

TEST(PrintTextRect, KeepsTwoCentimetresFromEveryEdgeOfTheSheet) {
    // A sheet printable to its edges: the margins are measured from the printable area's corner.
    const RECT edges = PrintTextRect(A4(0, 0));
    EXPECT_EQ(edges.left, 1134);
    EXPECT_EQ(edges.top, 1134);
    EXPECT_EQ(edges.right, ::MulDiv(4960, 1440, 600) - 1134);
    EXPECT_EQ(edges.bottom, ::MulDiv(7016, 1440, 600) - 1134);
    // A printer that cannot print the outer 5 mm (118 dots): the text stays where it was on
    // the sheet, which is 283 twips less from the printable area's corner.
    const RECT inset = PrintTextRect(A4(118, 118));
    EXPECT_EQ(inset.left, 1134 - ::MulDiv(118, 1440, 600));
    EXPECT_EQ(inset.right - inset.left, edges.right - edges.left);
    EXPECT_EQ(inset.bottom - inset.top, edges.bottom - edges.top);
}

TEST(PrintTextRect, WideUnprintableBordersAndTinySheetsUseThePrintableArea) {
    // Borders wider than the margins: the text starts at the printable area's corner.
    const RECT wide = PrintTextRect(A4(600, 600));
    EXPECT_EQ(wide.left, 0);
    EXPECT_EQ(wide.top, 0);
    EXPECT_EQ(wide.right, ::MulDiv(4960 - 1200, 1440, 600));
    // A label of 1.5 x 1 inches leaves no inch between the margins: all of it is used.
    TPrintSheet label;
    label.Width = label.PrintableWidth = 900, label.Height = label.PrintableHeight = 600;
    label.DpiX = label.DpiY = 600;
    EXPECT_TRUE(PrintTextRect(label) == (RECT{0, 0, 2160, 1440}));
    // No resolution (a broken device): nothing to lay out, and no division by zero.
    EXPECT_TRUE(PrintTextRect(TPrintSheet{}) == (RECT{0, 0, 0, 0}));
}

TEST(RichTextSize, MovesToTheHalfPointThatShowsAtTheSamePixelHeight) {
    EXPECT_EQ(RichTextSizeTwips(165, 96), 170);  // 11 pixels: 8.25 points shown as 8.5
    EXPECT_EQ(RichTextSizeTwips(195, 96), 200);  // 13 pixels
    EXPECT_EQ(RichTextSizeTwips(180, 96), 180);  // 9 points already fits
    // At 120 pixels per inch 11 pixels are 132 twips: 130 shows at 10.8, so 11 pixels too.
    EXPECT_EQ(::MulDiv(130, 120, 1440), 11);
    EXPECT_EQ(RichTextSizeTwips(132, 120), 130);
    EXPECT_EQ(RichTextSizeTwips(0, 96), 0);
    EXPECT_EQ(RichTextSizeTwips(165, 0), 165);
}

// A note typed in the base font of 11 pixels, saved as rich text and read back, has the size it
// was typed in.
TEST(RichEditWindow, TextReadBackFromRichTextKeepsTheSizeItWasTypedIn) {
    TForm form(nullptr);
    form.SetBounds(40, 30, 300, 200);
    form.Handle();
    TRichEdit edit(nullptr);
    TFontDesc font;
    font.name = L"MS Sans Serif";
    font.height = -11;
    edit.SetFont(font);
    edit.SetParent(&form);
    edit.Handle();
    for (wchar_t c : String(L"Notiz")) ::SendMessageW(edit.Handle(), WM_CHAR, c, 1);
    auto size = [&] {
        edit.SetSelStart(0);
        edit.SetSelLength(5);
        CHARFORMAT2W f{};
        f.cbSize = sizeof f;
        ::SendMessageW(edit.Handle(), EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&f));
        return f.yHeight;
    };
    const LONG typed = size();
    EXPECT_EQ(typed % 10, 0);
    wchar_t folder[MAX_PATH];
    ::GetTempPathW(MAX_PATH, folder);
    const String path = String(folder) + L"fn_rich_size_" + std::to_wstring(::GetCurrentProcessId()) + L".txt";
    edit.Lines().SaveToFile(path);
    edit.Lines().LoadFromFile(path);
    ::DeleteFileW(path.c_str());
    EXPECT_EQ(edit.Lines().Text(), L"Notiz");
    EXPECT_EQ(size(), typed);
}

TEST(RichEditWindow, NotesSaveAndOpenUnderPathsLongerThan260Characters) {
    TForm form(nullptr);
    form.Handle();
    TRichEdit edit(nullptr);
    edit.SetParent(&form);
    edit.Handle();
    wchar_t temp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, temp);
    String folder = String(temp) + L"fn_lange_pfade_" + std::to_wstring(::GetCurrentProcessId());
    std::vector<String> made{folder};
    while (folder.size() < 300) {
        folder += L"\\Ordner mit einem recht langen Namen für Notizen";
        made.push_back(folder);
    }
    for (const String& f : made) ASSERT_TRUE(::CreateDirectoryW(f.c_str(), nullptr) || ::GetLastError() == ERROR_ALREADY_EXISTS);
    const String path = folder + L"\\Einkaufsliste für die ganze Woche.rtf";
    ASSERT_GT(path.size(), 300u);
    for (wchar_t c : String(L"Äpfel")) ::SendMessageW(edit.Handle(), WM_CHAR, c, 1);
    edit.Lines().SaveToFile(path);
    edit.Lines().SetText(L"");
    edit.Lines().LoadFromFile(path);
    EXPECT_EQ(edit.Lines().Text(), L"Äpfel");
    // Saved again over itself: the temporary file beside it is replaced, none is left behind.
    edit.Lines().SaveToFile(path);
    int files = 0;
    WIN32_FIND_DATAW found;
    HANDLE find = ::FindFirstFileW((folder + L"\\*").c_str(), &found);
    for (BOOL more = find != INVALID_HANDLE_VALUE; more; more = ::FindNextFileW(find, &found))
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ++files;
    if (find != INVALID_HANDLE_VALUE) ::FindClose(find);
    EXPECT_EQ(files, 1);
    ::DeleteFileW(path.c_str());
    for (auto it = made.rbegin(); it != made.rend(); ++it) ::RemoveDirectoryW(it->c_str());
}
