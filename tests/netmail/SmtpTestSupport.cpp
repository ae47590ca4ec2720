#include "SmtpTestSupport.h"

#include "core/QlPlatform.h"

#include <windows.h>

void SmtpTest::SetUp()
{
    gNetSmtpLog = NetSmtpLog();
    ASSERT_FALSE(folder_.native.empty());
    NetClockStart(0xFFFFF000u, 2);
    ASSERT_EQ(0, QlSmtpInit());
    caFile_ = NetTestCerts().windows("ca.pem");
}

void SmtpTest::TearDown()
{
    QlSmtpShutdown();
    NetClockStop();
    peer_.stop();
}

int SmtpTest::StartScript(const std::vector<std::string> &extra)
{
    std::vector<std::string> args = {kNetPython, NetPeerScript("smtp_script.py"), "--log",
                                     folder_.nativeFile("peer.log")};
    args.insert(args.end(), extra.begin(), extra.end());
    return peer_.startListening(args);
}

std::vector<std::string> SmtpTest::ScriptLog() const
{
    std::vector<std::string> lines;
    std::string text = NetReadFile(folder_.nativeFile("peer.log"));
    size_t start = 0;
    for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(text.substr(start, end - start));
    return lines;
}

std::string SmtpTest::ScriptData() const
{
    return NetReadFile(folder_.nativeFile("peer.log.data"));
}

int SmtpTest::SendAndWait(const QlMailRequestRec &request, int realMs)
{
    int code = QlSmtpSend(&request, &session_);
    if (code != 0) return -code;
    NetPumpUntil([] { return gNetSmtpLog.ended(); }, realMs);
    // The peer writes its log as the connection ends.
    Sleep(50);
    return gNetSmtpLog.terminal();
}

int SmtpTest::SessionsInUse() const
{
    int n = 0;
    if (gQlSmtp)
        for (const QlSmtpSessionRec &s : gQlSmtp->sessions) n += s.in_use;
    return n;
}

std::string SmtpNative(const std::string &win)
{
    char native[MAX_PATH * 4];
    return QlPathToNative(win.c_str(), native, sizeof(native)) ? native : "";
}
