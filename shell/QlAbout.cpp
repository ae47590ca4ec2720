#include "shell/QlAbout.h"

#include "ui/QlAppState.h"
#include "print/QlFields.h"
#include "ui/QlHyperlink.h"
#include "ui/QlMsgDialog.h"
#include "ui/QlSaveDialog.h"
#include "ui/QlSeams.h"
#include "ui/QlWindow.h"
#include "resources/QlResShell.h"
#include "settings/QlLangTables.h"
#include "shell/QlMainWindow.h"

#include <stdio.h>

void QlAboutShow(HWND mainWindow)
{
    if (QlModuleWnd) QlUiClosePane(QlModuleWnd);
    DialogBoxParamA(QlUiInstance(), MAKEINTRESOURCEA(IDD_ABOUT), mainWindow, QlAboutDlgProc, 0);
}

static void OnInitDialog(HWND dialog)
{
    const QlLangTextRec *text = QlLangText();
    char line[128];
    QlUiCenterWindow(dialog);
    snprintf(line, sizeof line, text->AboutCaption, QL_PRODUCT_NAME);
    SetWindowTextA(dialog, line);
    QlUiSetTextFont(dialog, IDT_ABOUT_NAME, QL_PRODUCT_NAME, QlFontWide12);
    snprintf(line, sizeof line, text->AboutVersion, QL_VERSION_TEXT);
    QlUiSetTextFont(dialog, IDT_ABOUT_VERSION, line, QlFontWide10);
    SetDlgItemTextA(dialog, IDT_ABOUT_NOTICE, text->AboutNotice);
    SetDlgItemTextA(dialog, IDT_ABOUT_WEB_LABEL, text->AboutWeb);
    SetDlgItemTextA(dialog, IDT_ABOUT_EMAIL_LABEL, text->AboutEmail);
    SetDlgItemTextA(dialog, IDT_ABOUT_WEB, QL_ABOUT_WEB_ADDRESS);
    SetDlgItemTextA(dialog, IDT_ABOUT_EMAIL, QL_ABOUT_SUPPORT_ADDRESS);
    SetDlgItemTextA(dialog, IDB_ABOUT_CLOSE, text->Close);
    QlLinkAttach(GetDlgItem(dialog, IDT_ABOUT_WEB));
    QlLinkAttach(GetDlgItem(dialog, IDT_ABOUT_EMAIL));
}

static void OnCommand(HWND dialog, int id, int code)
{
    switch (id) {
    case IDT_ABOUT_WEB:
        if (code != STN_CLICKED) break;
        QlSeamShellExecute(dialog, "open", QL_ABOUT_WEB_ADDRESS, NULL, NULL, SW_SHOWNORMAL);
        break;
    case IDT_ABOUT_EMAIL:
        if (code != STN_CLICKED) break;
        QlSeamShellExecute(dialog, "open", "mailto:" QL_ABOUT_SUPPORT_ADDRESS, NULL, NULL, SW_SHOWNORMAL);
        break;
    case IDB_ABOUT_CLOSE:
    case IDCANCEL:
        EndDialog(dialog, 1);
        break;
    }
}

INT_PTR CALLBACK QlAboutDlgProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_INITDIALOG:
        OnInitDialog(dialog);
        return TRUE;
    case WM_COMMAND:
        OnCommand(dialog, LOWORD(wParam), HIWORD(wParam));
        return TRUE;
    }
    return FALSE;
}

void QlHelpOpen(HWND window)
{
    const QlLangTextRec *text = QlLangText();
    // The file is looked for in the working folder; a missing one is named
    // with the place it was looked for, rather than the command doing nothing.
    QlRestoreWorkDir();
    char path[MAX_PATH];
    QlFullPath(QL_HELP_FILE, path, sizeof path);
    char message[MAX_PATH + 400];
    DWORD attributes = GetFileAttributesA(path);
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        snprintf(message, sizeof message, text->HelpMissing, path);
        QlMsgBox(window, text->Error, message, QL_COLOUR_WARNING);
        return;
    }
    HINSTANCE opened = QlSeamShellExecute(window, NULL, QL_HELP_FILE, NULL, NULL, SW_SHOWNORMAL);
    if ((INT_PTR)opened <= 32) {
        snprintf(message, sizeof message, text->HelpNotOpened, path);
        QlMsgBox(window, text->Error, message, QL_COLOUR_WARNING);
    }
}
