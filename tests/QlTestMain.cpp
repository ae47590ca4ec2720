#include "QlGTest.h"

#include <windows.h>
#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>

#include <string>

namespace {

// The watchdog: a test that runs longer than its limit, or a program that
// runs longer than its own, is named on standard error and the program ends
// with a failure, well before CTest's time-out (600 s), which would name
// nothing.  QL_TEST_TIMEOUT (seconds) sets the limit of one test.
const unsigned kTestLimitSeconds = 240;
const unsigned kProgramLimitSeconds = 480;

CRITICAL_SECTION gWatchLock;
std::string gRunning;            // "Suite.Test" while a test runs
ULONGLONG gTestStart = 0;
unsigned gTestLimitMs = kTestLimitSeconds * 1000;

class WatchListener : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo &info) override
    {
        EnterCriticalSection(&gWatchLock);
        gRunning = std::string(info.test_suite_name()) + "." + info.name();
        gTestStart = GetTickCount64();
        LeaveCriticalSection(&gWatchLock);
    }
    void OnTestEnd(const ::testing::TestInfo &) override
    {
        EnterCriticalSection(&gWatchLock);
        gRunning.clear();
        LeaveCriticalSection(&gWatchLock);
    }
};

DWORD WINAPI Watch(void *)
{
    const ULONGLONG programStart = GetTickCount64();
    for (;;) {
        Sleep(250);
        const ULONGLONG now = GetTickCount64();
        EnterCriticalSection(&gWatchLock);
        const std::string running = gRunning;
        const bool testOver = !running.empty() && now - gTestStart > gTestLimitMs;
        LeaveCriticalSection(&gWatchLock);
        const bool programOver = now - programStart > (ULONGLONG)kProgramLimitSeconds * 1000;
        if (!testOver && !programOver) continue;
        fflush(stdout);
        if (testOver)
            fprintf(stderr, "\nWATCHDOG: %s still running after %u s: stopped\n", running.c_str(),
                    gTestLimitMs / 1000);
        else
            fprintf(stderr, "\nWATCHDOG: the test program still running after %u s (in %s): stopped\n",
                    kProgramLimitSeconds, running.empty() ? "no test" : running.c_str());
        fflush(stderr);
        _exit(1);
    }
}

void StartWatchdog()
{
    InitializeCriticalSection(&gWatchLock);
    const char *limit = getenv("QL_TEST_TIMEOUT");
    if (limit && atoi(limit) > 0) gTestLimitMs = (unsigned)atoi(limit) * 1000;
    ::testing::UnitTest::GetInstance()->listeners().Append(new WatchListener);
    HANDLE thread = CreateThread(NULL, 0, Watch, NULL, 0, NULL);
    if (thread) CloseHandle(thread);
}

}  // namespace

int main(int argc, char **argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    StartWatchdog();
    const int result = RUN_ALL_TESTS();
    // Wine's orderly process exit can lose the exit code once threads of the
    // socket layer have run (the program then ends with 0): end the Unix
    // process directly with the result.
    fflush(stdout);
    fflush(stderr);
    _exit(result);
}
