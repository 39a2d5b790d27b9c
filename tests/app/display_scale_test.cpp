// The windows at the screen's display scale: a note read for the system's dots per inch against
// its twin read at 96 from the same form data (run in a prefix of 96 and in one of 192), and
// a frame told by the system that it moved to a screen of twice the dots per inch.
#include <windows.h>
#include <richedit.h>

#include <gtest/gtest.h>

#include <vector>
#include <memory>
#include <regex>

#include "app/document_window.h"
#include "platform/win/dpi.h"
#include "skin/form/main_menu_bar_win.h"
#include "tests/app/app_fixture.h"

using namespace fn;
using namespace fn::test;

namespace {

// The document's form data as stored, read at 96: Scaled off, and no events (a plain form has
// none of the note's methods).
String UnscaledDocumentFormData() {
    HMODULE module = ::GetModuleHandleW(nullptr);
    HRSRC res = ::FindResourceW(module, L"TFORM2", reinterpret_cast<LPCWSTR>(RT_RCDATA));
    const auto* bytes = static_cast<const char*>(::LockResource(::LoadResource(module, res)));
    std::string text(bytes, ::SizeofResource(module, res));
    text = std::regex_replace(text, std::regex("Scaled = True"), "Scaled = False");
    text = std::regex_replace(text, std::regex(R"(\n *On\w+ = \w+ *\r?(?=\n))"), "");
    return Utf8ToWide(text);
}

SIZE OuterSize(HWND w) {
    RECT r;
    ::GetWindowRect(w, &r);
    return {r.right - r.left, r.bottom - r.top};
}

// From the window's top edge to its client area: frame and caption.
int CaptionHeight(HWND w) {
    RECT wr;
    ::GetWindowRect(w, &wr);
    POINT client{0, 0};
    ::ClientToScreen(w, &client);
    return client.y - wr.top;
}

LRESULT HitTest(HWND w, POINT inWindow) {
    RECT wr;
    ::GetWindowRect(w, &wr);
    return ::SendMessageW(w, WM_NCHITTEST, 0, MAKELPARAM(wr.left + inWindow.x, wr.top + inWindow.y));
}

// The hit-test codes of the caption band, row by row.
std::vector<std::vector<LRESULT>> CaptionCodes(HWND w) {
    std::vector<std::vector<LRESULT>> rows(static_cast<size_t>(CaptionHeight(w)));
    for (size_t y = 0; y < rows.size(); ++y)
        for (int x = 0; x < OuterSize(w).cx; ++x) rows[y].push_back(HitTest(w, {x, static_cast<int>(y)}));
    return rows;
}

int HeightOf(const TWinControl* c) { return c->BoundsRect().bottom - c->BoundsRect().top; }

int BaseTwips(TRichEdit* edit) {
    CHARFORMAT2W f{};
    f.cbSize = sizeof f;
    ::SendMessageW(edit->Handle(), EM_GETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&f));
    return f.yHeight;
}

}  // namespace

TEST(DisplayScale, ANoteAtTheScreensScaleMeasuresItsUnscaledTwinTimesTheScale) {
    TForm1* frame = StartProgram();
    const int dpi = SystemDpi();
    if (const char* expected = std::getenv("FN_EXPECTED_DPI")) {
        ASSERT_EQ(dpi, std::atoi(expected)) << "LogPixels of the prefix";
    }
    EXPECT_EQ(frame->Dpi(), dpi);
    auto* note = dynamic_cast<TForm2*>(OpenDocuments().at(0));
    ASSERT_NE(note, nullptr);
    EXPECT_EQ(note->Dpi(), dpi);
    ::ShowWindow(note->Handle(), SW_RESTORE);

    auto twin = std::make_unique<TForm>(frame);
    twin->LoadFromText(UnscaledDocumentFormData());
    twin->Show();
    Pump();
    ASSERT_EQ(twin->Dpi(), 96);
    auto scaled = [dpi](int at96) { return ::MulDiv(at96, dpi, 96); };

    const SIZE big = OuterSize(note->Handle()), small = OuterSize(twin->Handle());
    EXPECT_NEAR(big.cx, scaled(small.cx), 2);
    EXPECT_NEAR(big.cy, scaled(small.cy), 2);
    RECT client;
    ::GetClientRect(note->Handle(), &client);
    EXPECT_NEAR(client.right, scaled(438), 2);
    EXPECT_NEAR(client.bottom, scaled(343), 2);
    EXPECT_NEAR(CaptionHeight(note->Handle()), scaled(CaptionHeight(twin->Handle())), 2);
    auto* twinBar = twin->Field<TmnSkinMainMenuBar>(L"mnSkinMainMenuBar1");
    EXPECT_NEAR(HeightOf(note->mnSkinMainMenuBar1), scaled(HeightOf(twinBar)), 2);

    // Every point of the caption band inside an area of one code (a caption button, the caption)
    // has that code at the scaled point of the scaled window.
    const auto codes = CaptionCodes(twin->Handle());
    int buttonPoints = 0, wrong = 0;
    for (size_t y = 1; y + 1 < codes.size(); ++y)
        for (size_t x = 1; x + 1 < codes[y].size(); ++x) {
            const LRESULT code = codes[y][x];
            if (codes[y - 1][x] != code || codes[y + 1][x] != code || codes[y][x - 1] != code || codes[y][x + 1] != code) continue;
            const LRESULT seen = HitTest(note->Handle(), {scaled(static_cast<int>(x)), scaled(static_cast<int>(y))});
            if (code != HTCAPTION && code != HTCLIENT) ++buttonPoints;
            if (seen != code && ++wrong <= 5) ADD_FAILURE() << "at " << x << "," << y << ": " << seen << " instead of " << code;
        }
    EXPECT_GT(buttonPoints, 100) << "caption buttons";
    EXPECT_EQ(wrong, 0);

    // The note's text keeps its size in points (11 pixels at 96, to the half point the control
    // keeps); only its pixels follow the screen.
    auto* twinEdit = twin->Field<TRichEdit>(L"RichEdit1");
    EXPECT_EQ(note->RichEdit1->Font().height, scaled(twinEdit->Font().height));
    EXPECT_NEAR(BaseTwips(note->RichEdit1), 11 * 1440 / 96, 10);
    twin.reset();
    Pump();
}

TEST(DisplayScale, AFrameToldOfAScreenOfTwiceTheDotsPerInchTakesTheSuggestedPlaceAndScalesItsNotes) {
    TForm1* frame = StartProgram();
    auto* note = dynamic_cast<TForm2*>(OpenDocuments().at(0));
    ASSERT_NE(note, nullptr);
    ::ShowWindow(note->Handle(), SW_RESTORE);
    // Small enough that twice the size fits the screen (the system bounds a window by it).
    ::SetWindowPos(frame->Handle(), nullptr, 10, 10, 440, 330, SWP_NOZORDER | SWP_NOACTIVATE);
    ::SetWindowPos(note->Handle(), nullptr, 0, 0, 260, 200, SWP_NOZORDER | SWP_NOACTIVATE);
    Pump();
    const int dpi = frame->Dpi();
    const SIZE noteBefore = OuterSize(note->Handle());
    const int barBefore = HeightOf(note->mnSkinMainMenuBar1), captionBefore = CaptionHeight(note->Handle());
    const int fontBefore = note->RichEdit1->Font().height, twipsBefore = BaseTwips(note->RichEdit1);
    RECT before;
    ::GetWindowRect(frame->Handle(), &before);

    RECT suggested{before.left + 10, before.top + 5, before.left + 10 + 2 * (before.right - before.left),
                   before.top + 5 + 2 * (before.bottom - before.top)};
    ::SendMessageW(frame->Handle(), WM_DPICHANGED, MAKEWPARAM(2 * dpi, 2 * dpi), reinterpret_cast<LPARAM>(&suggested));
    Pump();
    RECT now;
    ::GetWindowRect(frame->Handle(), &now);
    EXPECT_TRUE(::EqualRect(&now, &suggested)) << now.left << "," << now.top << " " << now.right << "," << now.bottom;
    EXPECT_EQ(frame->Dpi(), 2 * dpi);
    EXPECT_EQ(note->Dpi(), 2 * dpi);
    EXPECT_NEAR(OuterSize(note->Handle()).cx, 2 * noteBefore.cx, 2);
    EXPECT_NEAR(OuterSize(note->Handle()).cy, 2 * noteBefore.cy, 2);
    EXPECT_NEAR(CaptionHeight(note->Handle()), 2 * captionBefore, 2);
    EXPECT_NEAR(HeightOf(note->mnSkinMainMenuBar1), 2 * barBefore, 2);
    EXPECT_EQ(note->RichEdit1->Font().height, fontBefore);
    EXPECT_EQ(BaseTwips(note->RichEdit1), twipsBefore);
    WPARAM num = 0;
    LPARAM den = 0;
    ::SendMessageW(note->RichEdit1->Handle(), EM_GETZOOM, reinterpret_cast<WPARAM>(&num), reinterpret_cast<LPARAM>(&den));
    // The text is drawn zoomed by the new screen's dots per inch over the old one's.
    EXPECT_GT(den, 0);
    EXPECT_EQ(static_cast<int>(num) * dpi, static_cast<int>(den) * 2 * dpi) << num << "/" << den;

    // And back: the sizes return to what they were.
    ::SendMessageW(frame->Handle(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&before));
    Pump();
    EXPECT_EQ(frame->Dpi(), dpi);
    EXPECT_NEAR(OuterSize(note->Handle()).cx, noteBefore.cx, 2);
    EXPECT_NEAR(OuterSize(note->Handle()).cy, noteBefore.cy, 2);
    EXPECT_NEAR(HeightOf(note->mnSkinMainMenuBar1), barBefore, 2);
    ::SendMessageW(note->RichEdit1->Handle(), EM_GETZOOM, reinterpret_cast<WPARAM>(&num), reinterpret_cast<LPARAM>(&den));
    EXPECT_EQ(num, 0u) << "no zoom back on the screen the text is laid out for";
}
