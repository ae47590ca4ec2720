#include "NetTestSupport.h"

#include "QlTestFiles.h"
#include "common/QlPlatform.h"
#include "netmail/ZrOs.h"

#include <mmsystem.h>
#include <stdlib.h>
#include <string.h>
#ifdef __WINE__
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
extern char **environ;
#endif

const char *const kNetPython = "/usr/bin/python3";

NetPeer::~NetPeer()
{
    stop();
}

bool NetPeer::start(const std::vector<std::string> &args, bool quietErrors)
{
    int in[2], out[2];
    if (pipe2(in, O_CLOEXEC) != 0) return false;
    if (pipe2(out, O_CLOEXEC) != 0) {
        close(in[0]);
        close(in[1]);
        return false;
    }
    std::vector<char *> argv;
    for (const std::string &arg : args) argv.push_back((char *)arg.c_str());
    argv.push_back(NULL);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, in[0], 0);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    if (quietErrors) posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = -1;
    int result = posix_spawn(&pid, argv[0], &actions, NULL, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(in[0]);
    close(out[1]);
    if (result != 0) {
        close(in[1]);
        close(out[0]);
        return false;
    }
    pid_ = pid;
    input_ = in[1];
    output_ = out[0];
    return true;
}

std::string NetPeer::readLine(int timeoutMs)
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

int NetPeer::startListening(const std::vector<std::string> &args, int timeoutMs, bool quietErrors)
{
    if (!start(args, quietErrors)) return 0;
    DWORD begin = GetTickCount();
    while ((int)(GetTickCount() - begin) < timeoutMs) {
        std::string line = readLine(timeoutMs - (int)(GetTickCount() - begin));
        if (line.compare(0, 5, "PORT ") == 0) return atoi(line.c_str() + 5);
        if (line.compare(0, 7, "ACCEPT ") == 0) {
            size_t colon = line.rfind(':');
            if (colon != std::string::npos) return atoi(line.c_str() + colon + 1);
        }
        if (output_ < 0) break;
    }
    return 0;
}

static bool Reaped(int pid, int waitMs)
{
    for (int waited = 0;; waited += 10) {
        if (waitpid(pid, NULL, WNOHANG) == pid) return true;
        if (waited >= waitMs) return false;
        Sleep(10);
    }
}

void NetPeer::stop()
{
    if (input_ >= 0) close(input_);
    input_ = -1;
    if (pid_ > 0) {
        if (!Reaped(pid_, 200)) {
            kill(pid_, SIGTERM);
            if (!Reaped(pid_, 2000)) {
                kill(pid_, SIGKILL);
                waitpid(pid_, NULL, 0);
            }
        }
        pid_ = -1;
    }
    if (output_ >= 0) close(output_);
    output_ = -1;
}

std::string NetPeerScript(const char *name)
{
    const char *source = getenv("QL_SOURCE_DIR");
    return std::string(source ? source : ".") + "/tests/netmail/peers/" + name;
}

static std::string Native(const std::string &win)
{
    char native[MAX_PATH * 4];
    return QlPathToNative(win.c_str(), native, sizeof(native)) ? native : "";
}

NetFolder::NetFolder()
{
    win = QlTestMakeFolder("qlnet");
    native = Native(win);
}

NetFolder::~NetFolder()
{
    QlTestRemoveFolder(win);
}

const NetCerts &NetTestCerts()
{
    static NetCerts certs;
    static NetFolder folder;
    if (certs.winDir.empty() && !folder.win.empty()) {
        NetPeer maker;
        if (maker.start({"/bin/sh", NetPeerScript("make_certs.sh"), folder.native})) {
            maker.readLine(60000);   // its end: the script prints nothing
            maker.stop();
            certs.winDir = folder.win;
            certs.nativeDir = folder.native;
        }
    }
    return certs;
}

std::string NetReadFile(const std::string &nativePath)
{
    std::string bytes;
    FILE *f = fopen(nativePath.c_str(), "rb");
    if (!f) return bytes;
    char buffer[65536];
    size_t got;
    while ((got = fread(buffer, 1, sizeof(buffer), f)) > 0) bytes.append(buffer, got);
    fclose(f);
    return bytes;
}

bool NetWriteFile(const std::string &winPath, const std::string &bytes)
{
    FILE *f = QlFileOpen(winPath.c_str(), "wb");
    if (!f) return false;
    bool ok = fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return fclose(f) == 0 && ok;
}

static uint32_t gClockBase, gClockFactor, gClockRealStart;
static volatile LONG gClockAdvanced;

static uint32_t TestTicks(void)
{
    uint32_t real = (uint32_t)timeGetTime() - gClockRealStart;
    return gClockBase + real * gClockFactor + (uint32_t)gClockAdvanced;
}

void NetClockStart(uint32_t base, uint32_t factor)
{
    gClockBase = base;
    gClockFactor = factor;
    gClockRealStart = (uint32_t)timeGetTime();
    gClockAdvanced = 0;
    ZrOsSetTickSource(TestTicks);
}

void NetClockAdvance(uint32_t ms)
{
    InterlockedExchangeAdd(&gClockAdvanced, (LONG)ms);
}

void NetClockStop()
{
    ZrOsSetTickSource(NULL);
}

NetSmtpLog gNetSmtpLog;

bool NetSmtpLog::ended() const
{
    return terminal() != 0;
}

int NetSmtpLog::terminal() const
{
    for (const NetSmtpEvent &e : events)
        if (e.code == SMTP_EV_SENT || e.code == SMTP_EV_CLOSED || e.code == SMTP_EV_SERVER_ERROR ||
            e.code == SMTP_EV_LOCAL_ERROR)
            return e.code;
    return 0;
}

std::string NetSmtpLog::terminalText() const
{
    for (const NetSmtpEvent &e : events)
        if (e.code == terminal()) return e.text;
    return "";
}

std::vector<std::string> NetSmtpLog::traces() const
{
    std::vector<std::string> out;
    for (const NetSmtpEvent &e : events)
        if (e.code == SMTP_EV_TRACE) out.push_back(e.text);
    return out;
}

int NetSmtpLog::count(int code) const
{
    int n = 0;
    for (const NetSmtpEvent &e : events) n += e.code == code;
    return n;
}

static std::vector<std::string> gNextStore;

int NetSmtpRecord(uint32_t context, int event, void *data, int length)
{
    NetSmtpEvent e = {event, "", 0};
    switch (event) {
    case SMTP_EV_SERVER_ERROR:
    case SMTP_EV_TRACE:
    case SMTP_EV_BAD_CERT:
        e.text.assign((const char *)data, (size_t)length);
        break;
    case SMTP_EV_LOCAL_ERROR:
        e.text = (const char *)data;
        break;
    case SMTP_EV_BODY_PERCENT:
    case SMTP_EV_ATTACH_PERCENT:
        e.value = (intptr_t)data;
        break;
    default:
        break;
    }
    gNetSmtpLog.events.push_back(e);
    if (event == SMTP_EV_NEXT_MESSAGE && !gNetSmtpLog.nextTo.empty()) {
        QlMailRequestRec *next = (QlMailRequestRec *)data;
        gNextStore = gNetSmtpLog.nextTo;
        gNetSmtpLog.nextTo.clear();
        next->to_count = (int32_t)gNextStore.size();
        for (size_t i = 0; i < gNextStore.size(); i++) next->to[i] = gNextStore[i].c_str();
        return 1;
    }
    return 0;
}

bool NetPumpUntil(const std::function<bool()> &done, int realMs, int sleepMs)
{
    DWORD start = GetTickCount();
    while (!done()) {
        if ((int)(GetTickCount() - start) > realMs) return false;
        QlSmtpPump();
        Sleep((DWORD)sleepMs);
    }
    return true;
}

QlMailRequestRec NetBaseRequest(int port)
{
    QlMailRequestRec r;
    memset(&r, 0, sizeof(r));
    r.ip_address = "127.0.0.1";
    r.port = (uint16_t)port;
    r.from = "sender@quillory.test";
    r.to[0] = "buyer@quillory.test";
    r.to_count = 1;
    r.subject = "Invoice 17";
    r.body = "Dear Customer\r\nPlease find attached the invoice.\r\n";
    r.body_len = (int32_t)strlen(r.body);
    r.event_cb = NetSmtpRecord;
    r.event_ctx = 1;
    return r;
}

std::map<std::string, std::string> NetCheckMail(const std::string &nativePath)
{
    std::map<std::string, std::string> fields;
    NetPeer check;
    if (!check.start({kNetPython, NetPeerScript("check_mail.py"), nativePath})) return fields;
    for (std::string line; !(line = check.readLine(20000)).empty();) {
        size_t eq = line.find('=');
        if (eq != std::string::npos) fields[line.substr(0, eq)] = line.substr(eq + 1);
    }
    return fields;
}

std::string NetSha256Of(const std::string &nativePath)
{
    NetPeer hash;
    if (!hash.start({"/usr/bin/sha256sum", nativePath})) return "";
    std::string line = hash.readLine(20000);
    return line.substr(0, line.find(' '));
}
