// Ring queues, polled timers (on a test clock, across the 32-bit wrap) and
// worker threads.
#include "QlGTest.h"
#include "NetTestSupport.h"

#include "netmail/ZrOs.h"

#include <string.h>
#include <string>

TEST(OsQueue, CapacityItemSizeAndEmptyItems)
{
    ZrOsQueueRec q;
    ASSERT_EQ(1, ZrOsQueueInit(&q, 10, 2048));
    char big[2049];
    memset(big, 'x', sizeof(big));
    EXPECT_EQ(0, ZrOsQueuePush(&q, 0, big, 2049)) << "one byte over the item size";
    EXPECT_EQ(0, ZrOsQueueCount(&q));
    EXPECT_EQ(1, ZrOsQueuePush(&q, 0, big, 2048)) << "exactly the item size";
    for (int i = 1; i < 9; i++) EXPECT_EQ(1, ZrOsQueuePush(&q, 7, NULL, 0)) << "push " << i;
    EXPECT_EQ(9, ZrOsQueueCount(&q));
    EXPECT_EQ(1, ZrOsQueueFull(&q));
    EXPECT_EQ(0, ZrOsQueuePush(&q, 0, "a", 1)) << "the tenth push of a queue of ten";

    char out[2048];
    int kind = -1, length = -1;
    ASSERT_EQ(1, ZrOsQueuePop(&q, &kind, out, &length));
    EXPECT_EQ(2048, length);
    EXPECT_EQ(0, memcmp(out, big, 2048));
    EXPECT_EQ(1, ZrOsQueuePush(&q, 0, "a", 1)) << "room again after a pop";
    out[0] = 'q';
    ASSERT_EQ(1, ZrOsQueuePop(&q, &kind, out, &length));
    EXPECT_EQ(7, kind);
    EXPECT_EQ(0, length);
    EXPECT_EQ('q', out[0]) << "an empty item copies nothing";
    ZrOsQueueDestroy(&q);
    EXPECT_EQ(0, ZrOsQueuePop(&q, &kind, out, &length)) << "pop on a destroyed queue";
    EXPECT_EQ(0, ZrOsQueuePush(&q, 0, "a", 1));
}

TEST(OsQueue, OrderKeptAcrossManyWraps)
{
    ZrOsQueueRec q;
    ASSERT_EQ(1, ZrOsQueueInit(&q, 4, 16));
    int next = 0, expected = 0;
    for (int round = 0; round < 50; round++) {
        for (int i = 0; i < 1 + round % 3; i++, next++) ASSERT_EQ(1, ZrOsQueuePush(&q, next, &next, sizeof(next)));
        while (ZrOsQueueCount(&q) > 0) {
            int kind, length, value;
            ASSERT_EQ(1, ZrOsQueuePop(&q, &kind, &value, &length));
            EXPECT_EQ(expected, kind);
            EXPECT_EQ(expected, value);
            expected++;
        }
    }
    EXPECT_EQ(next, expected);
    int kind = 5, length = 5;
    char buffer[16];
    EXPECT_EQ(0, ZrOsQueuePop(&q, &kind, buffer, &length));
    EXPECT_EQ(5, kind) << "an empty pop leaves the out values";
    ZrOsQueueDestroy(&q);
}

namespace {
int gTimerCalls;
void CountTimer(int user)
{
    gTimerCalls += user;
}
}

TEST(OsTimer, FiresOnceAfterItsTimeOutAcrossTheClockWrap)
{
    struct Case {
        uint32_t start;      // clock when armed
        uint32_t timeout;
        uint32_t notYet;     // ms later: must not fire
        uint32_t fires;      // ms later: fires
    } cases[] = {
        {1000, 0, 0, 0},
        {0xFFFFFF00u, 10000, 9999, 10000},     // wraps 256 ms after it is armed
        {0xFFFFFFFFu, 1000, 999, 1000},
        {0x7FFFFFFFu, 60000, 59999, 60001},
        {0, 10000, 9999, 10000},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::to_string(c.start) + " + " + std::to_string(c.timeout));
        NetClockStart(c.start, 0);
        ZrTimerRec timer;
        memset(&timer, 0, sizeof(timer));
        gTimerCalls = 0;
        ZrTimerStart(&timer, c.timeout, CountTimer, 3);
        if (c.fires > 0) {
            NetClockAdvance(c.notYet);
            EXPECT_EQ(0, ZrTimerPoll(&timer));
            NetClockAdvance(c.fires - c.notYet);
        }
        EXPECT_EQ(1, ZrTimerPoll(&timer));
        EXPECT_EQ(3, gTimerCalls) << "the callback gets the user value";
        EXPECT_EQ(0, ZrTimerPoll(&timer)) << "fired timers stay quiet";
        NetClockAdvance(1u << 31);
        EXPECT_EQ(0, ZrTimerPoll(&timer));
    }
    NetClockStop();
}

TEST(OsTimer, StopDisarmsAndRestartRearmsFromNow)
{
    NetClockStart(500, 0);
    ZrTimerRec timer;
    memset(&timer, 0, sizeof(timer));
    ZrTimerStart(&timer, 100, NULL, 0);
    ZrTimerStop(&timer);
    NetClockAdvance(200);
    EXPECT_EQ(0, ZrTimerPoll(&timer));
    ZrTimerStart(&timer, 100, NULL, 0);
    NetClockAdvance(99);
    EXPECT_EQ(0, ZrTimerPoll(&timer));
    ZrTimerStart(&timer, 100, NULL, 0);   // re-armed from now
    NetClockAdvance(99);
    EXPECT_EQ(0, ZrTimerPoll(&timer));
    NetClockAdvance(1);
    EXPECT_EQ(1, ZrTimerPoll(&timer));
    NetClockStop();
}

namespace {
volatile LONG gPasses;
volatile LONG gReturned;   // set by the thread itself, last, after a pause
DWORD WINAPI CountingThread(void *parameter)
{
    ZrOsThreadCtlRec *control = (ZrOsThreadCtlRec *)parameter;
    ZrOsFlagSet(&control->running, 1);
    while (!ZrOsFlagGet(&control->stop)) {
        InterlockedIncrement(&gPasses);
        Sleep(1);
    }
    // A stop that did not wait for the thread returns before this is set.
    Sleep(50);
    ZrOsFlagSet(&gReturned, 1);
    return 0;
}
}

TEST(OsThread, StartsStopsAndStopsAgainHarmlessly)
{
    ZrOsThreadCtlRec control;
    memset(&control, 0, sizeof(control));
    EXPECT_EQ(1, ZrOsThreadStop(&control, 100)) << "a thread that never started";
    int marker = 0;
    ASSERT_EQ(1, ZrOsThreadStart(CountingThread, &control, &marker));
    EXPECT_EQ(&marker, control.argument);
    EXPECT_EQ(1, ZrOsFlagGet(&control.running));
    while (ZrOsFlagGet(&gPasses) < 3) Sleep(1);
    EXPECT_EQ(1, ZrOsThreadStop(&control, 5000));
    EXPECT_EQ(1, ZrOsFlagGet(&gReturned)) << "the stop waited for the thread to end";
    EXPECT_EQ(nullptr, control.thread) << "its handle closed";
    LONG after = ZrOsFlagGet(&gPasses);
    Sleep(20);
    EXPECT_EQ(after, ZrOsFlagGet(&gPasses)) << "no pass after the stop";
    EXPECT_EQ(1, ZrOsThreadStop(&control, 100)) << "stopping twice";
}
