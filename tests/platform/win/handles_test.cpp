#include <gtest/gtest.h>

#include "platform/win/handles.h"

namespace fn {
namespace {

TEST(HandleOwners, CloseTheirHandleWithTheirKindsFunctionAndCountIt) {
    std::atomic<long>& menus = LiveCounter(TLiveKind::Menu);
    const long before = menus.load();
    TMenuHandle menu(::CreatePopupMenu());
    const HMENU m = menu.Get();
    ASSERT_TRUE(::IsMenu(m));
    EXPECT_EQ(menus.load(), before + 1);
    menu.Reset();
    EXPECT_FALSE(::IsMenu(m));
    EXPECT_EQ(menus.load(), before);
}

}  // namespace
}  // namespace fn
