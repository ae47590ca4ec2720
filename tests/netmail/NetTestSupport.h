// What the network tests share: peers started as Unix processes on loopback
// (Python scripts, openssl s_server), the test certificates, a test clock,
// and a recorder of the SMTP client's events.
#pragma once

#include "netmail/QlSmtp.h"

#include <windows.h>
#include <stdint.h>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "QlTestPlatform.h"

// A Unix process with its standard input and output on pipes.  Closing its
// input asks a peer script to end; whatever still runs is killed at the end.
class NetPeer {
public:
    NetPeer() = default;
    NetPeer(const NetPeer &) = delete;
    NetPeer &operator=(const NetPeer &) = delete;
    ~NetPeer();
    // quietErrors sends its standard error to /dev/null.
    bool start(const std::vector<std::string> &args, bool quietErrors = false);
    // The next line of its output without the line end; "" after the time-out
    // or its end.
    std::string readLine(int timeoutMs);
    // Starts it and reads the port it prints ("PORT n", or s_server's
    // "ACCEPT host:port"); 0 when it did not say within the time.
    int startListening(const std::vector<std::string> &args, int timeoutMs = 15000, bool quietErrors = false);
    // Closes its input, then asks it to end (SIGTERM), then ends it.
    void stop();

private:
    QlTestProcess process_;
};

// Native paths of the peer scripts and of the Python with Debian's modules.
std::string NetPeerScript(const char *name);
extern const char *const kNetPython;

// The certificates of tests/netmail/peers/make_certs.sh, made once per run.
struct NetCerts {
    std::string winDir;      // Windows path of their folder
    std::string nativeDir;   // the same, native
    std::string native(const char *file) const { return nativeDir + "/" + file; }
    std::string windows(const char *file) const { return winDir + "\\" + file; }
};
const NetCerts &NetTestCerts();

// A test folder (Windows path) and its native form.
struct NetFolder {
    std::string win;
    std::string native;
    NetFolder();
    ~NetFolder();
    std::string winFile(const char *name) const { return win + "\\" + name; }
    std::string nativeFile(const char *name) const { return native + "/" + name; }
};
std::string NetReadFile(const std::string &nativePath);
bool NetWriteFile(const std::string &winPath, const std::string &bytes);

// The timers' clock while a test runs it: base + elapsed real time x factor
// + what was advanced by hand.
void NetClockStart(uint32_t base, uint32_t factor);
void NetClockAdvance(uint32_t ms);
void NetClockStop();

// The SMTP client's events as they came.
struct NetSmtpEvent {
    int code;
    std::string text;   // server error, local error, trace, bad certificate
    intptr_t value;     // the percents
};
struct NetSmtpLog {
    std::vector<NetSmtpEvent> events;
    // Answer to SMTP_EV_NEXT_MESSAGE: addresses to fill in, none for QUIT.
    std::vector<std::string> nextTo;
    // QlSmtpContinue on SMTP_EV_BAD_CERT.
    bool continueOnBadCert = false;
    bool ended() const;
    int terminal() const;                       // the first of 1, 2, 4, 5, or 0
    std::string terminalText() const;
    std::vector<std::string> traces() const;
    int count(int code) const;
};
extern NetSmtpLog gNetSmtpLog;
int NetSmtpRecord(uint32_t context, int event, void *data, int length);

// Pumps the client (a pass, then a sleep of sleepMs) until done() or realMs
// pass.
bool NetPumpUntil(const std::function<bool()> &done, int realMs, int sleepMs = 1);
// A request with the recorder, one To address and a short body.
QlMailRequestRec NetBaseRequest(int port);

// A stored message (native path) as tests/netmail/peers/check_mail.py reads it
// with Python's email package: its "key=value" lines as a map.
std::map<std::string, std::string> NetCheckMail(const std::string &nativePath);
// The SHA-256 of a file (native path) in hexadecimal.
std::string NetSha256Of(const std::string &nativePath);
