// The platform-version thresholds at and around each edge.
#include <gtest/gtest.h>

#include "skin/paint/system_version.h"

namespace fn {
namespace {

TEST(SystemVersion, NumberHoldsMajorInTheLowByteAndMinorInTheNext) {
    const TOSVersion v = OSVersionFromNumber(0x23F00206u);  // build and platform bits above
    EXPECT_EQ(v.Major, 6);
    EXPECT_EQ(v.Minor, 2);
    const TOSVersion nt4 = OSVersionFromNumber(0x80000004u);
    EXPECT_EQ(nt4.Major, 4);
    EXPECT_EQ(nt4.Minor, 0);
}

TEST(SystemVersion, ShadowOnlyFrom5Point1AndLayeredFrom5Point0ExceptLater5Minors) {
    struct Case {
        int major, minor;
        bool six, shadow, layered;
    };
    const Case cases[] = {
        {4, 0, false, false, false},  {4, 90, false, false, false}, {5, 0, false, false, true},
        {5, 1, false, true, true},    {5, 2, false, false, true},   {5, 3, false, false, false},
        {6, 0, true, true, true},     {6, 3, true, true, true},     {10, 0, true, true, true},
    };
    for (const Case& c : cases) {
        const TOSVersion v{c.major, c.minor};
        EXPECT_EQ(IsOSVersion6OrLater(v), c.six) << c.major << "." << c.minor;
        EXPECT_EQ(DropShadowAvailable(v), c.shadow) << c.major << "." << c.minor;
        EXPECT_EQ(LayeredWindowsAvailable(v), c.layered) << c.major << "." << c.minor;
    }
}

}  // namespace
}  // namespace fn
