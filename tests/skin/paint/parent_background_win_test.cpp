#include <gtest/gtest.h>

#include "tests/platform/win/gdi_support.h"
#include "platform/win/controls.h"
#include "skin/paint/parent_background_win.h"

namespace fn {
namespace {

using test::At;

// A top-level parent whose background is red left of x = 50 and blue from there, and whose
// client painting adds a green square at (50, 10, 60, 20).
class TPaintedParent : public TWinControl {
public:
    using TWinControl::TWinControl;
    bool sawPaintCopy = false;

    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
        HDC dc = reinterpret_cast<HDC>(wParam);
        if (msg == WM_ERASEBKGND) {
            sawPaintCopy = IsPaintingCopy(this);
            Fill(dc, {0, 0, 50, 100}, RGB(255, 0, 0));
            Fill(dc, {50, 0, 100, 100}, RGB(0, 0, 255));
            return 1;
        }
        if (msg == WM_PRINTCLIENT) {
            Fill(dc, {50, 10, 60, 20}, RGB(0, 255, 0));
            return 0;
        }
        return TWinControl::WndProc(msg, wParam, lParam);
    }

protected:
    void GetCreateParams(CreateParams& params) override {
        TWinControl::GetCreateParams(params);
        params.style = WS_POPUP;
    }

private:
    static void Fill(HDC dc, RECT r, COLORREF color) {
        TBrushHandle brush(CreateSolidBrush(color));
        FillRect(dc, &r, brush.Get());
    }
};

TEST(ParentBackground, DrawsWhatLiesBehindTheControlAtItsOrigin) {
    TPaintedParent parent(nullptr);
    parent.SetBounds(0, 0, 100, 100);
    TWinControl child(nullptr);
    child.SetBounds(40, 5, 40, 30);
    TBitmap buffer(40, 30);
    DrawParentBackground(&child, buffer.Canvas());  // no parent: nothing
    EXPECT_EQ(At(buffer, 0, 0), RGB(255, 255, 255));

    child.SetParent(&parent);
    DrawParentBackground(&child, buffer.Canvas());
    EXPECT_TRUE(parent.sawPaintCopy);
    EXPECT_FALSE(IsPaintingCopy(&parent));
    EXPECT_EQ(At(buffer, 0, 0), RGB(255, 0, 0));     // parent (40, 5)
    EXPECT_EQ(At(buffer, 9, 29), RGB(255, 0, 0));    // parent (49, 34)
    EXPECT_EQ(At(buffer, 10, 0), RGB(0, 0, 255));    // parent (50, 5)
    EXPECT_EQ(At(buffer, 15, 10), RGB(0, 255, 0));   // parent (55, 15)
    EXPECT_EQ(At(buffer, 39, 29), RGB(0, 0, 255));
    // The canvas's own state is back: its origin draws at the bitmap's corner.
    buffer.Canvas().SetPixel(0, 0, clBlack);
    EXPECT_EQ(At(buffer, 0, 0), RGB(0, 0, 0));
}

}  // namespace
}  // namespace fn
