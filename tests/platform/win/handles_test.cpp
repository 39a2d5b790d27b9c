#include <gtest/gtest.h>

#include "platform/win/gdi.h"
#include "platform/win/handles.h"

namespace fn {
namespace {

long Live(TLiveKind kind) { return LiveCounter(kind).load(); }

// Each owner closes its handle with its kind's own function and counts it while it holds it.
TEST(HandleOwners, CloseTheirHandleWithTheirKindsFunctionAndCountIt) {
    const long menus = Live(TLiveKind::Menu), bitmaps = Live(TLiveKind::Bitmap), dcs = Live(TLiveKind::OwnedDC);
    TMenuHandle menu(::CreatePopupMenu());
    TBitmapHandle bitmap(::CreateBitmap(3, 2, 1, 32, nullptr));
    TOwnedDC dc(::CreateCompatibleDC(nullptr));
    const HMENU m = menu.Get();
    const HBITMAP b = bitmap.Get();
    const HDC d = dc.Get();
    EXPECT_EQ(Live(TLiveKind::Menu), menus + 1);
    EXPECT_EQ(Live(TLiveKind::Bitmap), bitmaps + 1);
    EXPECT_EQ(Live(TLiveKind::OwnedDC), dcs + 1);
    ASSERT_TRUE(::IsMenu(m));
    ASSERT_EQ(::GetObjectType(b), static_cast<DWORD>(OBJ_BITMAP));
    ASSERT_EQ(::GetObjectType(d), static_cast<DWORD>(OBJ_MEMDC));

    menu.Reset();
    bitmap.Reset();
    dc.Reset();
    EXPECT_FALSE(::IsMenu(m));
    EXPECT_EQ(::GetObjectType(b), 0u);
    EXPECT_EQ(::GetObjectType(d), 0u);
    EXPECT_EQ(Live(TLiveKind::Menu), menus);
    EXPECT_EQ(Live(TLiveKind::Bitmap), bitmaps);
    EXPECT_EQ(Live(TLiveKind::OwnedDC), dcs);
}

}  // namespace
}  // namespace fn
