#include "QlTestPlatform.h"

#include "core/QlPlatform.h"

#include <windows.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#ifdef __WINE__
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
extern char **environ;
#endif

std::string QlTestProgramFile(const char *name)
{
    const char *bin = getenv("QL_BIN_DIR");
    std::string file = std::string(bin && *bin ? bin : ".") + "/" + name;
#ifdef __WINE__
    return file + ".exe.so";
#else
    return file + ".exe";
#endif
}

std::string QlTestWindowsPath(const std::string &nativePath)
{
#ifdef __WINE__
    std::string path = nativePath[0] == '/' ? "Z:" + nativePath : nativePath;
#else
    std::string path = nativePath;
#endif
    for (char &c : path)
        if (c == '/') c = '\\';
    return path;
}

QlTestProcess::~QlTestProcess()
{
    if (running()) {
#ifdef __WINE__
        kill((pid_t)pid_, SIGKILL);
        waitpid((pid_t)pid_, NULL, 0);
#else
        TerminateProcess((HANDLE)(INT_PTR)pid_, 1);
        CloseHandle((HANDLE)(INT_PTR)pid_);
#endif
        pid_ = -1;
    }
#ifdef __WINE__
    if (input_ >= 0) close(input_);
    if (output_ >= 0) close(output_);
#endif
}

bool QlTestProcess::running() const { return pid_ != -1; }

bool QlTestBmpToPng(const std::string &nativeBmp, const std::string &nativePng)
{
    if (!QlTestHasUnix()) return GetFileAttributesA(QlTestWindowsPath(nativeBmp).c_str()) != INVALID_FILE_ATTRIBUTES;
    int status = -1;
    QlTestRun("convert '" + nativeBmp + "' '" + nativePng + "'", &status);
    remove(nativeBmp.c_str());
    return status == 0;
}

#ifdef __WINE__

bool QlTestHasUnix() { return true; }

std::string QlTestRun(const std::string &command, int *status)
{
    std::string output;
    FILE *pipe = popen(command.c_str(), "r");
    if (!pipe) {
        if (status) *status = -1;
        return output;
    }
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, n);
    int result = pclose(pipe);
    if (status) *status = result;
    return output;
}

// Starts argv with the working folder (native, "" for this one's) and, with
// pipes, its standard input and output on pipes of ours.  The pipes are
// close-on-exec, so that no other child keeps them open.
static bool Spawn(const std::vector<std::string> &args, const std::string &folder, bool pipes, bool quietErrors,
                  long long *pid, int *input, int *output)
{
    int in[2] = {-1, -1}, out[2] = {-1, -1};
    if (pipes && (pipe2(in, O_CLOEXEC) != 0 || pipe2(out, O_CLOEXEC) != 0)) {
        for (int fd : {in[0], in[1], out[0], out[1]})
            if (fd >= 0) close(fd);
        return false;
    }
    std::vector<char *> argv;
    for (const std::string &arg : args) argv.push_back((char *)arg.c_str());
    argv.push_back(NULL);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (pipes) {
        posix_spawn_file_actions_adddup2(&actions, in[0], 0);
        posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    }
    if (quietErrors) posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    if (!folder.empty()) posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
    // A write past a file size limit fails instead of ending the process
    // (QlTestProcess::limitFileSize): the child keeps the ignored signal.
    signal(SIGXFSZ, SIG_IGN);
    pid_t child = -1;
    int result = posix_spawn(&child, argv[0], &actions, NULL, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (pipes) {
        close(in[0]);
        close(out[1]);
    }
    if (result != 0) {
        if (pipes) {
            close(in[1]);
            close(out[0]);
        }
        return false;
    }
    *pid = child;
    if (pipes) {
        *input = in[1];
        *output = out[0];
    }
    return true;
}

bool QlTestProcess::startProgram(const char *name, const std::string &folder, const std::vector<std::string> &args)
{
    char native[MAX_PATH * 4] = "";
    if (!folder.empty() && !QlPathToNative(folder.c_str(), native, sizeof native)) return false;
    const char *wine = getenv("QL_WINE64");
    std::vector<std::string> argv = {wine && *wine ? wine : "/usr/lib/wine/wine64", QlTestProgramFile(name)};
    argv.insert(argv.end(), args.begin(), args.end());
    return Spawn(argv, native, false, false, &pid_, &input_, &output_);
}

bool QlTestProcess::startProgramInUtf8Folder(const char *name, const std::string &utf8Folder)
{
    WCHAR folder[MAX_PATH * 2];
    if (!MultiByteToWideChar(CP_UTF8, 0, utf8Folder.c_str(), -1, folder, MAX_PATH * 2)) return false;
    char *native = wine_get_unix_file_name(folder);
    if (!native) return false;
    std::string unixFolder = native;
    HeapFree(GetProcessHeap(), 0, native);
    const char *wine = getenv("QL_WINE64");
    std::vector<std::string> argv = {wine && *wine ? wine : "/usr/lib/wine/wine64", QlTestProgramFile(name)};
    return Spawn(argv, unixFolder, false, false, &pid_, &input_, &output_);
}

bool QlTestProcess::startUnix(const std::vector<std::string> &argv, bool pipes, bool quietErrors)
{
    return Spawn(argv, "", pipes, quietErrors, &pid_, &input_, &output_);
}

std::string QlTestProcess::readLine(int timeoutMs)
{
    DWORD start = GetTickCount();
    for (;;) {
        size_t end = pending_.find('\n');
        if (end != std::string::npos) {
            std::string line = pending_.substr(0, end);
            pending_.erase(0, end + 1);
            if (!line.empty() && line.back() == '\r') line.pop_back();
            return line;
        }
        int left = timeoutMs - (int)(GetTickCount() - start);
        if (output_ < 0 || left <= 0) return "";
        pollfd p = {output_, POLLIN, 0};
        if (poll(&p, 1, left) <= 0) continue;
        char buffer[512];
        ssize_t got = read(output_, buffer, sizeof(buffer));
        if (got <= 0) {
            close(output_);
            output_ = -1;
            return "";
        }
        pending_.append(buffer, (size_t)got);
    }
}

void QlTestProcess::closeInput()
{
    if (input_ >= 0) close(input_);
    input_ = -1;
}

bool QlTestProcess::wait(int milliseconds, int *exitCode)
{
    DWORD start = GetTickCount();
    for (;;) {
        int status = 0;
        pid_t done = running() ? waitpid((pid_t)pid_, &status, WNOHANG) : -1;
        if (done == (pid_t)pid_) {
            pid_ = -1;
            if (exitCode) *exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            return true;
        }
        if (done < 0 || (int)(GetTickCount() - start) > milliseconds) return false;
        Sleep(done == 0 ? 20 : 0);
    }
}

void QlTestProcess::stop()
{
    closeInput();
    if (running() && !wait(200, NULL)) {   // a peer ends when its input closes
        kill((pid_t)pid_, SIGTERM);
        if (!wait(2000, NULL)) {
            kill((pid_t)pid_, SIGKILL);
            waitpid((pid_t)pid_, NULL, 0);
            pid_ = -1;
        }
    }
    if (output_ >= 0) close(output_);
    output_ = -1;
}

bool QlTestProcess::outputEnded() const { return output_ < 0; }

bool QlTestProcess::limitFileSize(unsigned long long maxBytes)
{
    if (!running()) return false;
    struct rlimit limit;
    if (prlimit((pid_t)pid_, RLIMIT_FSIZE, NULL, &limit) != 0) return false;
    limit.rlim_cur = maxBytes;
    return prlimit((pid_t)pid_, RLIMIT_FSIZE, &limit, NULL) == 0;
}

void QlTestSetEnv(const char *name, const char *value)
{
    if (value) setenv(name, value, 1);
    else unsetenv(name);
}

QlTestFileSizeLimit::QlTestFileSizeLimit(unsigned long long maxBytes)
{
    struct rlimit saved;
    if (getrlimit(RLIMIT_FSIZE, &saved) != 0) return;
    saved_[0] = saved.rlim_cur;
    saved_[1] = saved.rlim_max;
    savedHandler_ = signal(SIGXFSZ, SIG_IGN);   // the write fails instead of ending the process
    struct rlimit limit = saved;
    limit.rlim_cur = maxBytes;
    ok_ = setrlimit(RLIMIT_FSIZE, &limit) == 0;
    if (!ok_) signal(SIGXFSZ, savedHandler_);
}

QlTestFileSizeLimit::~QlTestFileSizeLimit()
{
    if (!ok_) return;
    struct rlimit saved;
    saved.rlim_cur = saved_[0];
    saved.rlim_max = saved_[1];
    setrlimit(RLIMIT_FSIZE, &saved);
    signal(SIGXFSZ, savedHandler_);
}

QlTestFullFile::QlTestFullFile(const std::string &windowsPath)
{
    char native[MAX_PATH * 4];
    if (!QlPathToNative(windowsPath.c_str(), native, sizeof native)) return;
    native_ = native;
    ok_ = symlink("/dev/full", native) == 0;
}

QlTestFullFile::~QlTestFullFile()
{
    if (ok_) unlink(native_.c_str());
}

bool QlTestTruncate(const std::string &nativePath, size_t size)
{
    return truncate(nativePath.c_str(), (off_t)size) == 0;
}

// Whether a new file can be made in the native folder.
static bool TakesNewFile(const std::string &folder)
{
    std::string probe = folder + "/.ql_write_probe";
    int fd = open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0600);
    if (fd < 0) return false;
    close(fd);
    unlink(probe.c_str());
    return true;
}

QlTestReadOnlyFolder::QlTestReadOnlyFolder(const std::string &windowsPath)
{
    char native[MAX_PATH * 4];
    if (!QlPathToNative(windowsPath.c_str(), native, sizeof native)) return;
    native_ = native;
    chmod(native, 0555);
    if (TakesNewFile(native_)) {
        // root writes into any folder: the immutable flag stops it too.
        int status = -1;
        QlTestRun("chattr +i '" + native_ + "' 2>/dev/null", &status);
        immutable_ = status == 0;
    }
    ok_ = !TakesNewFile(native_);
}

QlTestReadOnlyFolder::~QlTestReadOnlyFolder()
{
    if (native_.empty()) return;
    if (immutable_) QlTestRun("chattr -i '" + native_ + "' 2>/dev/null");
    chmod(native_.c_str(), 0755);
}

#else  // Windows

bool QlTestHasUnix() { return false; }

std::string QlTestRun(const std::string &command, int *status)
{
    if (status) *status = -1;
    return "";
}

bool QlTestProcess::startProgram(const char *name, const std::string &folder, const std::vector<std::string> &args)
{
    std::string file = QlTestProgramFile(name);
    std::string commandLine = "\"" + file + "\"";
    for (const std::string &arg : args) commandLine += " \"" + arg + "\"";
    STARTUPINFOA startup;
    memset(&startup, 0, sizeof startup);
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info;
    if (!CreateProcessA(file.c_str(), &commandLine[0], NULL, NULL, FALSE, 0, NULL,
                        folder.empty() ? NULL : folder.c_str(), &startup, &info))
        return false;
    CloseHandle(info.hThread);
    pid_ = (long long)(INT_PTR)info.hProcess;
    return true;
}

bool QlTestProcess::startUnix(const std::vector<std::string> &, bool, bool) { return false; }

std::string QlTestProcess::readLine(int) { return ""; }

void QlTestProcess::closeInput() {}

bool QlTestProcess::outputEnded() const { return true; }

bool QlTestProcess::limitFileSize(unsigned long long) { return false; }

bool QlTestProcess::wait(int milliseconds, int *exitCode)
{
    if (!running()) return false;
    HANDLE process = (HANDLE)(INT_PTR)pid_;
    if (WaitForSingleObject(process, (DWORD)milliseconds) != WAIT_OBJECT_0) return false;
    DWORD code = 0;
    GetExitCodeProcess(process, &code);
    CloseHandle(process);
    pid_ = -1;
    if (exitCode) *exitCode = (int)code;
    return true;
}

void QlTestProcess::stop()
{
    if (!running()) return;
    HANDLE process = (HANDLE)(INT_PTR)pid_;
    TerminateProcess(process, 1);
    WaitForSingleObject(process, 5000);
    CloseHandle(process);
    pid_ = -1;
}

void QlTestSetEnv(const char *name, const char *value)
{
    // The C runtime keeps a copy of its own: both are set.
    _putenv_s(name, value ? value : "");
    SetEnvironmentVariableA(name, value);
}

QlTestFileSizeLimit::QlTestFileSizeLimit(unsigned long long) {}

QlTestFileSizeLimit::~QlTestFileSizeLimit() {}

QlTestFullFile::QlTestFullFile(const std::string &) {}

QlTestFullFile::~QlTestFullFile() {}

bool QlTestTruncate(const std::string &, size_t) { return false; }

QlTestReadOnlyFolder::QlTestReadOnlyFolder(const std::string &) {}

QlTestReadOnlyFolder::~QlTestReadOnlyFolder() {}

bool QlTestProcess::startProgramInUtf8Folder(const char *name, const std::string &utf8Folder)
{
    std::string file = QlTestProgramFile(name);
    std::string commandLine = "\"" + file + "\"";
    WCHAR folder[MAX_PATH * 2];
    if (!MultiByteToWideChar(CP_UTF8, 0, utf8Folder.c_str(), -1, folder, MAX_PATH * 2)) return false;
    PROCESS_INFORMATION info;
    // The program's own path is ANSI; only its working folder is wide.
    WCHAR wideFile[MAX_PATH * 2], wideLine[MAX_PATH * 2 + 4];
    if (!MultiByteToWideChar(CP_ACP, 0, file.c_str(), -1, wideFile, MAX_PATH * 2) ||
        !MultiByteToWideChar(CP_ACP, 0, commandLine.c_str(), -1, wideLine, MAX_PATH * 2 + 4))
        return false;
    STARTUPINFOW startupW;
    memset(&startupW, 0, sizeof startupW);
    startupW.cb = sizeof startupW;
    if (!CreateProcessW(wideFile, wideLine, NULL, NULL, FALSE, 0, NULL, folder, &startupW, &info)) return false;
    CloseHandle(info.hThread);
    pid_ = (long long)(INT_PTR)info.hProcess;
    return true;
}

#endif
