// What the e-mail dialog's tests share: a main window that hands timer 2 and
// the mail events to the mail sender as the program's main window does, the
// program's message dialogs recorded, and steps run on the open e-mail
// dialog from a timer so that no test waits on it.
#pragma once

#include "settings/QlSettings.h"

#include <windows.h>
#include <functional>
#include <string>
#include <vector>

// A hidden top-level window, QlMainWnd while it lives, whose WM_TIMER 2 and
// WM_USER+8 go to QlMailTimerTick and QlMailShowEvent, with a status panel
// (QlStatusPanelWnd) that records what is posted to it.  The settings are put
// back and the mail sender stopped when it goes.
class MailMainWindow {
public:
    MailMainWindow();
    ~MailMainWindow();
    MailMainWindow(const MailMainWindow &) = delete;
    MailMainWindow &operator=(const MailMainWindow &) = delete;
    HWND hwnd = NULL;

private:
    QlSettingsBlock saved_;
};

// What was posted to the main window's status line (QlStatusPost) while a
// MailMainWindow lives, in order.
struct MailStatusPost {
    std::string text;
    COLORREF colour;
};
extern std::vector<MailStatusPost> gMailStatusPosts;

// The program's message and choice dialogs, as they were asked; the choice
// dialog answers with gMailChoice (-1: Cancel).
struct MailShown {
    std::string caption;
    std::string text;
    COLORREF colour;
};
extern std::vector<MailShown> gMailShown;
extern int gMailChoice;
void MailRecordDialogs();

// Runs the steps on the e-mail dialog of this thread while it is open, one a
// tick of 20 ms: a step answers true when it is done, false to be run again
// at the next tick.  After timeoutMs (or with every step done and the dialog
// still open for a second) the dialog is ended with 99 and the test fails.
class MailSteps {
public:
    explicit MailSteps(std::vector<std::function<bool(HWND)>> steps, int timeoutMs = 60000);
    ~MailSteps();
    MailSteps(const MailSteps &) = delete;
    MailSteps &operator=(const MailSteps &) = delete;
    size_t done() const { return next; }

    std::vector<std::function<bool(HWND)>> steps;
    size_t next = 0;
    DWORD start = 0;
    int timeoutMs = 0;
    int idle = 0;
    UINT_PTR timer = 0;
};

// The client trusts the certificates of this file (native path) besides the
// system's while it lives: OpenSSL's SSL_CERT_FILE, put back afterwards.
class MailTrustFile {
public:
    explicit MailTrustFile(const std::string &nativePath);
    ~MailTrustFile();
    MailTrustFile(const MailTrustFile &) = delete;
    MailTrustFile &operator=(const MailTrustFile &) = delete;

private:
    bool had_ = false;
    std::string saved_;
};

std::string DlgText(HWND dialog, int id);
// What the e-mail dialog shows.
struct MailDialogSeen {
    bool opened = false;
    std::string title, from, to, subject, attachment, message, subjectLabel;
    bool attachmentEnabled = false, attachmentLabelEnabled = false;
};
MailDialogSeen ReadMailDialog(HWND dialog);
// The status line's colour as the dialog paints it.
COLORREF MailStatusColour(HWND dialog);
// Steps: wait until the status line reads text; press a button.
std::function<bool(HWND)> MailWaitStatus(const std::string &text);
std::function<bool(HWND)> MailClick(int id);
