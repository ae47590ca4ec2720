#include "QlMsgDialog.h"

#include <string.h>

#include "QlAppState.h"
#include "QlSeams.h"
#include "QlUiText.h"
#include "QlWindow.h"
#include "resources/QlResCommon.h"

static QlMsgRequest *RequestOf(HWND dialog)
{
    return (QlMsgRequest *)GetWindowLongPtrA(dialog, DWLP_USER);
}

static QlMsgRequest *StartDialog(HWND dialog, LPARAM lParam)
{
    QlMsgRequest *request = (QlMsgRequest *)lParam;
    SetWindowLongPtrA(dialog, DWLP_USER, (LONG_PTR)request);
    QlUiCenterWindow(dialog);
    QlUiSetText(dialog, request->caption ? request->caption : "");
    return request;
}

static const char *TextOrEmpty(const char *text)
{
    return text ? text : "";
}

// The message text in the request's colour on white.
static INT_PTR ColourText(HWND dialog, HDC dc, HWND control, int textId)
{
    QlMsgRequest *request = RequestOf(dialog);
    if (!request || control != GetDlgItem(dialog, textId)) return FALSE;
    SetTextColor(dc, request->colour);
    SetBkColor(dc, RGB(255, 255, 255));
    return (INT_PTR)(QlBrushWhite ? QlBrushWhite : (HBRUSH)GetStockObject(WHITE_BRUSH));
}

// The width a title bar needs for the caption: its text in the caption font
// and a third more (a window manager draws titles in a font of its own,
// often wider), the icon and the three buttons it may draw, and some room.
static int CaptionWidth(HWND dialog, const char *caption)
{
    NONCLIENTMETRICSA metrics;
    memset(&metrics, 0, sizeof metrics);
    metrics.cbSize = sizeof metrics;
    if (!caption || !SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) return 0;
    HDC dc = GetDC(dialog);
    if (!dc) return 0;
    metrics.lfCaptionFont.lfWeight = FW_BOLD;
    HFONT font = CreateFontIndirectA(&metrics.lfCaptionFont);
    HGDIOBJ previous = font ? SelectObject(dc, font) : NULL;
    SIZE size = {0, 0};
    GetTextExtentPoint32A(dc, caption, (int)strlen(caption), &size);
    if (previous) SelectObject(dc, previous);
    if (font) DeleteObject(font);
    ReleaseDC(dialog, dc);
    int button = GetSystemMetrics(SM_CXSIZE) > 0 ? GetSystemMetrics(SM_CXSIZE) : 18;
    return size.cx * 4 / 3 + 4 * (button + 4) + 32;
}

// A message box whose caption would be cut in its title bar is widened: the
// text grows with it and the OK button keeps to the right edge.
static void FitCaption(HWND dialog, const char *caption)
{
    RECT window;
    GetWindowRect(dialog, &window);
    int grow = CaptionWidth(dialog, caption) - (window.right - window.left);
    if (grow <= 0) return;
    SetWindowPos(dialog, NULL, 0, 0, window.right - window.left + grow, window.bottom - window.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    RECT rect;
    HWND text = GetDlgItem(dialog, IDT_MSG_TEXT), ok = GetDlgItem(dialog, IDOK);
    if (text && GetWindowRect(text, &rect)) {
        MapWindowPoints(NULL, dialog, (POINT *)&rect, 2);
        MoveWindow(text, rect.left, rect.top, rect.right - rect.left + grow, rect.bottom - rect.top, TRUE);
    }
    if (ok && GetWindowRect(ok, &rect)) {
        MapWindowPoints(NULL, dialog, (POINT *)&rect, 2);
        MoveWindow(ok, rect.left + grow, rect.top, rect.right - rect.left, rect.bottom - rect.top, TRUE);
    }
    QlUiCenterWindow(dialog);
}

INT_PTR CALLBACK QlMsgBoxDlgProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_INITDIALOG:
    {
        QlMsgRequest *request = StartDialog(dialog, lParam);
        SetDlgItemTextA(dialog, IDT_MSG_TEXT, TextOrEmpty(request->text));
        FitCaption(dialog, request->caption);
        return TRUE;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) != IDOK) return FALSE;
        EndDialog(dialog, 1);
        return TRUE;
    case WM_CTLCOLORSTATIC:
        return ColourText(dialog, (HDC)wParam, (HWND)lParam, IDT_MSG_TEXT);
    }
    return FALSE;
}

INT_PTR CALLBACK QlMsgBoxDlgProc2(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return QlMsgBoxDlgProc(dialog, msg, wParam, lParam);
}

INT_PTR CALLBACK QlMsgAskDlgProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_INITDIALOG:
    {
        QlMsgRequest *request = StartDialog(dialog, lParam);
        SetDlgItemTextA(dialog, IDT_MSG_ASK_TEXT, TextOrEmpty(request->text));
        SetDlgItemTextA(dialog, IDB_MSG_OK, request->firstText ? request->firstText : QlUiText(QL_TEXT_OK));
        SetDlgItemTextA(dialog, IDB_MSG_CANCEL, QlUiText(QL_TEXT_CANCEL));
        // The focus starts on Cancel, the first in tab order; Enter alone answers it too.
        SendMessageA(dialog, DM_SETDEFID, IDB_MSG_CANCEL, 0);
        return TRUE;
    }
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDB_MSG_OK:
            EndDialog(dialog, 1);
            return TRUE;
        case IDB_MSG_CANCEL:
        case IDCANCEL:
            EndDialog(dialog, 0);
            return TRUE;
        }
        return FALSE;
    case WM_CTLCOLORSTATIC:
        return ColourText(dialog, (HDC)wParam, (HWND)lParam, IDT_MSG_ASK_TEXT);
    }
    return FALSE;
}

static void OnChoiceInit(HWND dialog, const QlMsgRequest *request)
{
    SetDlgItemTextA(dialog, IDB_MSG_CANCEL, QlUiText(QL_TEXT_CANCEL));
    SetDlgItemTextA(dialog, IDB_MSG_CHOICE_FIRST, TextOrEmpty(request->firstText));
    SetDlgItemTextA(dialog, IDB_MSG_CHOICE_SECOND, TextOrEmpty(request->secondText));
    CheckDlgButton(dialog, request->choice ? IDB_MSG_CHOICE_SECOND : IDB_MSG_CHOICE_FIRST, BST_CHECKED);
    if (request->disableFirst) EnableWindow(GetDlgItem(dialog, IDB_MSG_CHOICE_FIRST), FALSE);
    if (request->disableSecond) EnableWindow(GetDlgItem(dialog, IDB_MSG_CHOICE_SECOND), FALSE);
}

INT_PTR CALLBACK QlMsgChoiceDlgProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_INITDIALOG:
        OnChoiceInit(dialog, StartDialog(dialog, lParam));
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDB_MSG_OK:
            RequestOf(dialog)->choice = IsDlgButtonChecked(dialog, IDB_MSG_CHOICE_FIRST) == BST_CHECKED ? 0 : 1;
            EndDialog(dialog, 1);
            return TRUE;
        case IDB_MSG_CANCEL:
            EndDialog(dialog, 0);
            return TRUE;
        }
        return FALSE;
    }
    return FALSE;
}

INT_PTR QlMsgDialogRun(HWND parent, QlMsgRequest *request)
{
    DLGPROC procedure;
    switch (request->dialogId) {
    case IDD_MSG_BOX:
    case IDD_MSG_BOX_LARGE:
        procedure = QlMsgBoxDlgProc;
        break;
    case IDD_MSG_BOX_TALL:
        procedure = QlMsgBoxDlgProc2;
        break;
    case IDD_MSG_ASK:
        procedure = QlMsgAskDlgProc;
        break;
    case IDD_MSG_CHOICE:
        procedure = QlMsgChoiceDlgProc;
        break;
    default:
        return -1;
    }
    return DialogBoxParamA(QlUiInstance(), MAKEINTRESOURCEA(request->dialogId), parent, procedure, (LPARAM)request);
}

static int ShowMessage(int dialogId, HWND parent, const char *caption, const char *text, COLORREF colour,
                       const char *okLabel = NULL)
{
    QlMsgRequest request;
    memset(&request, 0, sizeof request);
    request.dialogId = dialogId;
    request.caption = caption;
    request.text = text;
    request.colour = colour;
    request.firstText = okLabel;
    return QlSeamMsgDialog(parent, &request) == 1 ? 1 : 0;
}

int QlMsgBox(HWND parent, const char *caption, const char *text, COLORREF colour)
{
    return ShowMessage(IDD_MSG_BOX, parent, caption, text, colour);
}

int QlMsgBoxLarge(HWND parent, const char *caption, const char *text, COLORREF colour)
{
    return ShowMessage(IDD_MSG_BOX_LARGE, parent, caption, text, colour);
}

int QlMsgBoxTall(HWND parent, const char *caption, const char *text, COLORREF colour)
{
    return ShowMessage(IDD_MSG_BOX_TALL, parent, caption, text, colour);
}

int QlMsgAskOkCancel(HWND parent, const char *caption, const char *question, COLORREF colour)
{
    return ShowMessage(IDD_MSG_ASK, parent, caption, question, colour);
}

int QlMsgAskOkCancelLabel(HWND parent, const char *caption, const char *question, COLORREF colour,
                          const char *okLabel)
{
    return ShowMessage(IDD_MSG_ASK, parent, caption, question, colour, okLabel);
}

int QlMsgAskCloseForm(HWND parent)
{
    return QlMsgAskOkCancel(parent, QlUiText(QL_TEXT_CONFIRMATION), QlUiText(QL_TEXT_CLOSE_FORM_QUESTION),
                            QL_COLOUR_WARNING);
}

int QlMsgAskChoice(HWND parent, const char *caption, const char *firstText, const char *secondText, int initialChoice,
                   int *choiceOut, int disableFirst, int disableSecond)
{
    QlMsgRequest request;
    memset(&request, 0, sizeof request);
    request.dialogId = IDD_MSG_CHOICE;
    request.caption = caption;
    request.firstText = firstText;
    request.secondText = secondText;
    request.choice = initialChoice ? 1 : 0;
    request.disableFirst = disableFirst;
    request.disableSecond = disableSecond;
    if (QlSeamMsgDialog(parent, &request) != 1) return 0;
    if (choiceOut) *choiceOut = request.choice ? 1 : 0;
    return 1;
}
