// A fixture for the SMTP client's tests: the client started, the test clock
// running (twice real time, from just before the 32-bit wrap, so that every
// flow crosses it), a folder, and the scripted peer.
#pragma once

#include "QlGTest.h"
#include "NetTestSupport.h"
#include "netmail/QlSmtpInternal.h"

#include <string>
#include <vector>

class SmtpTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Starts tests/netmail/peers/smtp_script.py with the extra arguments;
    // its port.
    int StartScript(const std::vector<std::string> &extra);
    // The scripted peer's log, one entry a line, and what it took as DATA.
    std::vector<std::string> ScriptLog() const;
    std::string ScriptData() const;
    // Sends and pumps until the send ends; the terminal event.
    int SendAndWait(const QlMailRequestRec &request, int realMs = 20000);
    int SessionsInUse() const;

    NetFolder folder_;
    NetPeer peer_;
    QlSmtpSessionRec *session_ = nullptr;
    std::string caFile_;
};

// Native path of a Windows path.
std::string SmtpNative(const std::string &win);
