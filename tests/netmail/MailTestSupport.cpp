#include "MailTestSupport.h"

#include "QlTestPlatform.h"

#include "QlGTest.h"

#include "ui/QlAppState.h"
#include "ui/QlMsgDialog.h"
#include "ui/QlSeams.h"
#include "ui/QlUtil.h"
#include "netmail/QlMail.h"
#include "resources/QlResCommon.h"
#include "resources/QlResNetmail.h"

#include <stdlib.h>
#include <string.h>

static LRESULT CALLBACK MainProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_TIMER && wParam == QL_MAIL_TIMER_ID) {
        QlMailTimerTick();
        return 0;
    }
    if (msg == QL_WM_MAIL_EVENT) {
        QlMailShowEvent((int)wParam, (char *)lParam);
        return 0;
    }
    return DefWindowProcA(window, msg, wParam, lParam);
}

std::vector<MailStatusPost> gMailStatusPosts;

// The status panel: records what is posted to it and frees the text.
static LRESULT CALLBACK PanelProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == QL_WM_STATUS_SHOW) {
        gMailStatusPosts.push_back({lParam ? (const char *)lParam : "", (COLORREF)wParam});
        free((void *)lParam);
        return 0;
    }
    return DefWindowProcA(window, msg, wParam, lParam);
}

MailMainWindow::MailMainWindow()
{
    saved_ = QlSettings;
    static ATOM atom = 0;
    if (!atom) {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = MainProc;
        wc.hInstance = GetModuleHandleA(NULL);
        wc.lpszClassName = "QlMailTestMain";
        atom = RegisterClassA(&wc);
    }
    hwnd = CreateWindowExA(0, "QlMailTestMain", "Quillory", WS_OVERLAPPEDWINDOW, 0, 0, 640, 480, NULL, NULL,
                           GetModuleHandleA(NULL), NULL);
    QlMainWnd = hwnd;
    static ATOM panelAtom = 0;
    if (!panelAtom) {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = PanelProc;
        wc.hInstance = GetModuleHandleA(NULL);
        wc.lpszClassName = "QlMailTestPanel";
        panelAtom = RegisterClassA(&wc);
    }
    QlStatusPanelWnd = CreateWindowExA(0, "QlMailTestPanel", "", WS_CHILD, 0, 0, 10, 10, hwnd, NULL,
                                       GetModuleHandleA(NULL), NULL);
    gMailStatusPosts.clear();
}

MailMainWindow::~MailMainWindow()
{
    QlMailStop();
    // Events still queued belong to the window: their texts are freed.
    MSG msg;
    while (PeekMessageA(&msg, hwnd, QL_WM_MAIL_EVENT, QL_WM_MAIL_EVENT, PM_REMOVE)) DispatchMessageA(&msg);
    QlStatusPanelWnd = NULL;
    DestroyWindow(hwnd);
    QlMainWnd = NULL;
    QlSettings = saved_;
    QlSeamsReset();
}

std::vector<MailShown> gMailShown;
int gMailChoice = 1;

static INT_PTR Record(HWND, QlMsgRequest *request)
{
    gMailShown.push_back(
        {request->caption ? request->caption : "", request->text ? request->text : "", request->colour});
    if (request->dialogId != IDD_MSG_CHOICE) return 1;
    if (gMailChoice < 0) return 0;
    request->choice = gMailChoice;
    return 1;
}

void MailRecordDialogs()
{
    gMailShown.clear();
    gMailChoice = 1;
    QlSeamMsgDialog = Record;
}

static MailSteps *gSteps = nullptr;

static BOOL CALLBACK FindMailDialog(HWND window, LPARAM found)
{
    char cls[16] = "";
    GetClassNameA(window, cls, sizeof cls);
    if (strcmp(cls, "#32770") == 0 && IsWindowVisible(window) && GetDlgItem(window, IDT_MAIL_STATUS)) {
        *(HWND *)found = window;
        return FALSE;
    }
    return TRUE;
}

static void CALLBACK StepTick(HWND, UINT, UINT_PTR, DWORD)
{
    if (!gSteps) return;
    HWND dialog = NULL;
    EnumThreadWindows(GetCurrentThreadId(), FindMailDialog, (LPARAM)&dialog);
    if (!dialog) return;
    if (GetTickCount() - gSteps->start > (DWORD)gSteps->timeoutMs) {
        ADD_FAILURE() << "e-mail dialog still open after " << gSteps->timeoutMs << " ms at step " << gSteps->next
                      << "; status \"" << DlgText(dialog, IDT_MAIL_STATUS) << "\"";
        EndDialog(dialog, 99);
    } else if (gSteps->next < gSteps->steps.size()) {
        if (gSteps->steps[gSteps->next](dialog)) gSteps->next++;
    } else if (++gSteps->idle > 50) {
        ADD_FAILURE() << "e-mail dialog still open after every step";
        EndDialog(dialog, 99);
    }
}

MailSteps::MailSteps(std::vector<std::function<bool(HWND)>> steps, int timeoutMs)
    : steps(std::move(steps)), timeoutMs(timeoutMs)
{
    start = GetTickCount();
    gSteps = this;
    timer = SetTimer(NULL, 0, 20, StepTick);
}

MailSteps::~MailSteps()
{
    KillTimer(NULL, timer);
    gSteps = nullptr;
}

MailTrustFile::MailTrustFile(const std::string &nativePath)
{
    const char *old = getenv("SSL_CERT_FILE");
    had_ = old != NULL;
    if (old) saved_ = old;
    QlTestSetEnv("SSL_CERT_FILE", nativePath.c_str());
}

MailTrustFile::~MailTrustFile()
{
    QlTestSetEnv("SSL_CERT_FILE", had_ ? saved_.c_str() : NULL);
}

std::string DlgText(HWND dialog, int id)
{
    char text[1024] = "";
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

MailDialogSeen ReadMailDialog(HWND dialog)
{
    MailDialogSeen seen;
    seen.opened = true;
    char title[128] = "";
    GetWindowTextA(dialog, title, sizeof title);
    seen.title = title;
    seen.from = DlgText(dialog, IDE_MAIL_FROM);
    seen.to = DlgText(dialog, IDE_MAIL_TO);
    seen.subject = DlgText(dialog, IDE_MAIL_SUBJECT);
    seen.attachment = DlgText(dialog, IDE_MAIL_ATTACHMENT);
    seen.message = DlgText(dialog, IDE_MAIL_MESSAGE);
    seen.subjectLabel = DlgText(dialog, IDT_MAIL_SUBJECT_LABEL);
    seen.attachmentEnabled = IsWindowEnabled(GetDlgItem(dialog, IDE_MAIL_ATTACHMENT)) != 0;
    seen.attachmentLabelEnabled = IsWindowEnabled(GetDlgItem(dialog, IDT_MAIL_ATTACHMENT_LABEL)) != 0;
    return seen;
}

COLORREF MailStatusColour(HWND dialog)
{
    HDC dc = CreateCompatibleDC(NULL);
    SetTextColor(dc, RGB(1, 2, 3));
    SendMessageA(dialog, WM_CTLCOLORSTATIC, (WPARAM)dc, (LPARAM)GetDlgItem(dialog, IDT_MAIL_STATUS));
    COLORREF colour = GetTextColor(dc);
    DeleteDC(dc);
    return colour;
}

std::function<bool(HWND)> MailWaitStatus(const std::string &text)
{
    return [text](HWND dialog) { return DlgText(dialog, IDT_MAIL_STATUS) == text; };
}

std::function<bool(HWND)> MailClick(int id)
{
    return [id](HWND dialog) {
        SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
        return true;
    };
}
