#include "QlGTest.h"

#include <windows.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>
#ifdef __WINE__
#include <fcntl.h>
#include <spawn.h>
extern char **environ;
#endif

#include <string>

namespace {

// The watchdog: a test that runs longer than its limit, or a program that
// runs longer than its own, is named on standard error and the program ends
// with a failure, well before CTest's time-out (600 s), which would name
// nothing.  QL_TEST_TIMEOUT (seconds) sets the limit of one test.
const unsigned kTestLimitSeconds = 240;
const unsigned kProgramLimitSeconds = 480;

// Behind the watchdog thread stands a second one outside the process (under
// winelib, where Unix processes can run): a small shell process that learns
// from a pipe which test runs and kills the test program, with every process
// it started but the Wine server and Wine's own services (the first program
// of a prefix starts them, and every other one needs them), when the thread
// could not end it (a process whose threads are
// stuck in a lock, or one that does not end after its tests).  It gives the
// thread QL_TEST_GRACE seconds (30) more, and the program as much after its
// last test; before it kills, it lists where the program's threads wait.
const unsigned kGraceSeconds = 30;

CRITICAL_SECTION gWatchLock;
std::string gRunning;            // "Suite.Test" while a test runs
ULONGLONG gTestStart = 0;
unsigned gTestLimitMs = kTestLimitSeconds * 1000;

void TellOuter(const std::string &line);

class WatchListener : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo &info) override
    {
        EnterCriticalSection(&gWatchLock);
        gRunning = std::string(info.test_suite_name()) + "." + info.name();
        gTestStart = GetTickCount64();
        LeaveCriticalSection(&gWatchLock);
        TellOuter("+" + std::string(info.test_suite_name()) + "." + info.name());
    }
    void OnTestEnd(const ::testing::TestInfo &) override
    {
        EnterCriticalSection(&gWatchLock);
        gRunning.clear();
        LeaveCriticalSection(&gWatchLock);
        TellOuter("-");
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

#ifdef __WINE__
int gOuterPipe = -1;

// The outer watchdog (it first closes what it inherited but its standard
// files): reads lines "+Suite.Test", "-" (no test runs) and "x"
// (the tests are over) from its standard input; at the end of its input the
// test program has ended, and so does it.
const char kOuterScript[] =
    "for fd in /proc/$$/fd/*; do fd=${fd##*/}; [ \"$fd\" -gt 2 ] 2>/dev/null && eval \"exec $fd>&-\"; done\n"
    "pid=$1; test_limit=$2; program_limit=$3; grace=$4; name=''; since=$SECONDS; started=$SECONDS\n"
    "children() { local want=$1 f s p; for f in /proc/[0-9]*/stat; do read -r s 2>/dev/null < \"$f\" || continue;"
    " s=${s##*) }; set -- $s; p=${f#/proc/}; p=${p%/stat};"
    " [ \"$2\" = \"$want\" ] && [ \"$p\" != \"$$\" ] && echo $p; done; }\n"
    "kill_tree() { local c n; read -r n 2>/dev/null < /proc/$1/comm;"
    " case $n in wineserver*|services.exe|winedevice.exe|explorer.exe|plugplay.exe|svchost.exe|rpcss.exe) return;; esac;"
    " kill -STOP $1 2>/dev/null; for c in $(children $1); do kill_tree $c; done; kill -KILL $1 2>/dev/null; }\n"
    "while :; do\n"
    "  now=$SECONDS; left=$((program_limit + grace - (now - started)))\n"
    "  what=\"the test program still running after $((program_limit + grace)) s (in ${name:-no test})\"\n"
    "  if [ \"$name\" = '(end)' ]; then t=$((grace - (now - since)));"
    " [ $t -lt $left ] && { left=$t; what=\"the test program did not end within $grace s after its tests\"; };\n"
    "  elif [ -n \"$name\" ]; then t=$((test_limit + grace - (now - since)));"
    " [ $t -lt $left ] && { left=$t; what=\"$name still running after $((test_limit + grace)) s\"; }; fi\n"
    "threads() { local t s w; for t in /proc/$1/task/*; do read -r s 2>/dev/null < \"$t/stat\" || continue;"
    " read -r w 2>/dev/null < \"$t/wchan\"; s=${s##*) }; echo \"  thread ${t##*/}: state ${s%% *}, waits in ${w:-?}\"; done; }\n"
    "  if [ $left -le 0 ]; then echo >&2; echo \"WATCHDOG: $what: killed\" >&2; threads $pid >&2; kill_tree $pid; exit 0; fi\n"
    "  if read -r -t $left line; then\n"
    "    case $line in +*) name=${line#+}; since=$SECONDS ;; x) name='(end)'; since=$SECONDS ;; *) name='' ;; esac\n"
    "  elif [ $? -le 128 ]; then exit 0; fi\n"
    "done\n";

void TellOuter(const std::string &line)
{
    if (gOuterPipe < 0) return;
    std::string text = line + "\n";
    if (write(gOuterPipe, text.data(), text.size()) < 0) {
        // The outer watchdog has gone: the thread still watches.
    }
}

void StartOuterWatchdog(unsigned testLimitSeconds, unsigned graceSeconds)
{
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) return;
    const std::string pid = std::to_string((long long)getpid()), test = std::to_string(testLimitSeconds),
                      program = std::to_string(kProgramLimitSeconds), grace = std::to_string(graceSeconds);
    const char *argv[] = {"/bin/bash", "-c", kOuterScript, "watchdog", pid.c_str(), test.c_str(), program.c_str(),
                          grace.c_str(), NULL};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[0], 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    pid_t child = -1;
    int result = posix_spawn(&child, argv[0], &actions, NULL, (char *const *)argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(fds[0]);
    if (result != 0) {
        close(fds[1]);
        return;
    }
    // A watchdog that has gone never blocks the tests.
    fcntl(fds[1], F_SETFL, O_NONBLOCK);
    gOuterPipe = fds[1];
}
#else
void TellOuter(const std::string &) {}
#endif

unsigned EnvSeconds(const char *name, unsigned fallback)
{
    const char *value = getenv(name);
    return value && atoi(value) > 0 ? (unsigned)atoi(value) : fallback;
}

void StartWatchdog()
{
    InitializeCriticalSection(&gWatchLock);
    const unsigned limit = EnvSeconds("QL_TEST_TIMEOUT", kTestLimitSeconds);
    gTestLimitMs = limit * 1000;
    ::testing::UnitTest::GetInstance()->listeners().Append(new WatchListener);
#ifdef __WINE__
    StartOuterWatchdog(limit, EnvSeconds("QL_TEST_GRACE", kGraceSeconds));
#endif
    // QL_TEST_WATCH_THREAD=0 leaves the thread out (the outer watchdog's own
    // test stands in for a process whose threads are stuck).
    const char *thread = getenv("QL_TEST_WATCH_THREAD");
    if (thread && strcmp(thread, "0") == 0) return;
    HANDLE handle = CreateThread(NULL, 0, Watch, NULL, 0, NULL);
    if (handle) CloseHandle(handle);
}

}  // namespace

int main(int argc, char **argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    StartWatchdog();
    const int result = RUN_ALL_TESTS();
    TellOuter("x");
    // QL_TEST_HANG_AT_END=1 stands in for a program that does not end after
    // its tests (the outer watchdog's own test).
    const char *hang = getenv("QL_TEST_HANG_AT_END");
    if (hang && strcmp(hang, "1") == 0)
        for (;;) Sleep(1000);
    // Wine's orderly process exit can lose the exit code once threads of the
    // socket layer have run (the program then ends with 0): end the Unix
    // process directly with the result.
    fflush(stdout);
    fflush(stderr);
    _exit(result);
}
