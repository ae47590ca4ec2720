// A test that never ends, run only by the watchdog's own CTest entry
// (tests/core/CMakeLists.txt), which expects the watchdog to name it.
#include "QlGTest.h"

#include <windows.h>

TEST(WatchdogTest, DISABLED_NeverEnds)
{
    for (;;) Sleep(1000);
}
