// What the tests need from the machine, where the two builds differ: under
// winelib a test program is a Unix process (glibc, Unix tools, Unix
// processes and paths); in the Windows build it is a PE program (under
// wine64 in CI, or on Windows), which can start only Windows programs.
// Test code never asks which build it is: it calls these, and skips what the
// platform cannot do (QL_TEST_REQUIRE_UNIX).  The program's own differences
// live in core/QlPlatform.h.
#pragma once

#include <stddef.h>
#include <string>
#include <vector>

// True where the test program can run Unix tools and processes (poppler,
// ImageMagick, python3, openssl, /bin/sh): the winelib build.
bool QlTestHasUnix();

// Ends the test as skipped where Unix tools cannot run.
#define QL_TEST_REQUIRE_UNIX()                                                                   \
    do {                                                                                         \
        if (!QlTestHasUnix()) GTEST_SKIP() << "needs Unix tools, which a Windows program cannot run"; \
    } while (0)

// Runs a /bin/sh command line and returns its standard output; *status is
// its exit status (0 for success), -1 where it could not run.
std::string QlTestRun(const std::string &command, int *status = nullptr);

// A picture for a person to look at: the BMP file made into the PNG file
// (ImageMagick's convert) and removed.  A Windows program, which cannot run
// it, keeps the BMP file (named after the PNG file, ".bmp" added: the
// caller's bmp) instead.  True when the picture is there.
bool QlTestBmpToPng(const std::string &nativeBmp, const std::string &nativePng);

// The Windows path of a native path: the test environment's folders
// (QL_SOURCE_DIR, QL_BIN_DIR, QL_ARTIFACT_DIR) are native paths, Unix ones
// under winelib (reached through Wine's drive Z:).
std::string QlTestWindowsPath(const std::string &nativePath);

// The file of one of the build's programs in QL_BIN_DIR (the test's own
// folder when unset): "quillory" is quillory.exe.so under winelib and
// quillory.exe on Windows.
std::string QlTestProgramFile(const char *name);

// A process started by a test, ended (killed) when the object goes if it
// still runs.
class QlTestProcess {
public:
    QlTestProcess() = default;
    QlTestProcess(const QlTestProcess &) = delete;
    QlTestProcess &operator=(const QlTestProcess &) = delete;
    ~QlTestProcess();

    // One of the build's programs (QlTestProgramFile) with its working
    // folder (a Windows path) and arguments, started as a user starts it:
    // with wine64 under winelib, directly on Windows.
    bool startProgram(const char *name, const std::string &folder, const std::vector<std::string> &args = {});
    // The same with the working folder's Windows path given in UTF-8, whose
    // names may hold letters outside the ANSI code page.
    bool startProgramInUtf8Folder(const char *name, const std::string &utf8Folder);
    // A Unix program (argv[0] a full path) with its standard input and
    // output on pipes (readLine, closeInput) and, with quietErrors, its
    // standard error thrown away.  Fails where Unix processes cannot run.
    bool startUnix(const std::vector<std::string> &argv, bool pipes = false, bool quietErrors = false);

    // A line of the process's output without its end, "" at the end of the
    // output or after timeoutMs; outputEnded() tells the end.
    std::string readLine(int timeoutMs);
    bool outputEnded() const;
    // Closes the process's standard input (a peer takes it as "end").
    void closeInput();
    // Waits for the process to end; true with its exit code when it did.
    bool wait(int milliseconds, int *exitCode);
    // From now on every write of the process past maxBytes into any file
    // fails, as on a full disk (the process goes on; its earlier writes, its
    // start among them, were not limited).  False where the platform cannot
    // (Windows).
    bool limitFileSize(unsigned long long maxBytes);
    // Ends the process: closes its input, asks it to end (SIGTERM) unless it
    // ends by itself, then kills it.
    void stop();
    bool running() const;

private:
    long long pid_ = -1;      // Unix process id, or the Windows process handle
    int input_ = -1, output_ = -1;
    std::string pending_;
};

// Sets (value given) or removes (value null) a variable of the process's
// environment, as both the C runtime and the native libraries read it.
void QlTestSetEnv(const char *name, const char *value);

// Makes every write past maxBytes into any file fail, as on a full disk,
// until the object goes.  ok() is false where the platform cannot (Windows).
class QlTestFileSizeLimit {
public:
    explicit QlTestFileSizeLimit(unsigned long long maxBytes);
    ~QlTestFileSizeLimit();
    bool ok() const { return ok_; }

private:
    bool ok_ = false;
    unsigned long long saved_[2] = {0, 0};
    void (*savedHandler_)(int) = nullptr;
};

// A file at the Windows path on a device that is always full (a link to
// /dev/full): it opens, and every write fails; it goes with the object.
// ok() is false where the platform has no such device (Windows).
class QlTestFullFile {
public:
    explicit QlTestFullFile(const std::string &windowsPath);
    ~QlTestFullFile();
    bool ok() const { return ok_; }

private:
    std::string native_;
    bool ok_ = false;
};

// Makes a folder (a Windows path) one that no file can be made in, even for
// a process that may write anywhere (root: the folder is also made
// immutable), until the object goes.  ok() is false where the platform
// cannot (Windows) or the folder still takes a new file.
class QlTestReadOnlyFolder {
public:
    explicit QlTestReadOnlyFolder(const std::string &windowsPath);
    ~QlTestReadOnlyFolder();
    bool ok() const { return ok_; }

private:
    std::string native_;
    bool ok_ = false;
    bool immutable_ = false;
};

// Cuts a file short at size bytes behind its users' backs: Windows share
// modes bind only Windows processes.  False where the platform cannot
// (Windows).
bool QlTestTruncate(const std::string &nativePath, size_t size);
