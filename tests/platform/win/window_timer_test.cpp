#include <gtest/gtest.h>

#include "tests/platform/win/fake_timers.h"

using namespace fn;

// Seams installed inside each other hand back in any nesting, and removing the last puts the
// system's timers back: a dangling seam would run every later timer of the program.
TEST(WindowTimerSeam, NestedSeamsHandBackAndTheLastRemovalRestoresTheSystem) {
    TTimerSeam* system = &TimerSeam();
    {
        test::FakeTimers outer;
        {
            test::FakeTimers inner;
            EXPECT_EQ(&TimerSeam(), &inner);
        }
        EXPECT_EQ(&TimerSeam(), &outer);
    }
    EXPECT_EQ(&TimerSeam(), system);
    EXPECT_EQ(SetTimerSeam(nullptr), nullptr);  // the system's own is never handed out
}
