#include "NetTestSupport.h"

#include "QlTestFiles.h"
#include "core/QlPlatform.h"
#include "netmail/ZrOs.h"

#include <mmsystem.h>
#include <stdlib.h>
#include <string.h>
const char *const kNetPython = "/usr/bin/python3";

NetPeer::~NetPeer()
{
    stop();
}

bool NetPeer::start(const std::vector<std::string> &args, bool quietErrors)
{
    return process_.startUnix(args, true, quietErrors);
}

std::string NetPeer::readLine(int timeoutMs)
{
    return process_.readLine(timeoutMs);
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
        if (process_.outputEnded()) break;
    }
    return 0;
}

void NetPeer::stop()
{
    process_.stop();
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
    // Made beforehand where the test program cannot run the script (the
    // Windows build: CTest's netmail_certs).
    const char *made = getenv("QL_NET_CERTS");
    if (certs.winDir.empty() && made && made[0]) {
        certs.winDir = made;
        certs.nativeDir = Native(made);
        return certs;
    }
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
