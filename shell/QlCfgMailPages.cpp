// The e-mail and network page (dialog 210) and the letters page (dialog
// 222) of the settings window.  Both write the settings file on Save.

#include "shell/QlCfgPages.h"
#include "shell/QlShellTexts.h"

#include "ui/QlMsgDialog.h"
#include "ui/QlWindow.h"
#include "resources/QlResIds.h"
#include "settings/QlLangTables.h"
#include "settings/QlSettings.h"

#include <stdio.h>
#include <string.h>

#define MAX_PORT 65535u

// ---------------------------------------------------------------------------
// E-mail page

// Each edit leaves room for its field's terminator.  The address is the
// company page's e-mail address.
static const QlCfgTextField kMailFields[] = {
    QL_CFG_FIELD(IDE_CFG_SMTP_SERVER, smtpServer, 80),
    QL_CFG_FIELD(IDE_CFG_MAIL_ADDRESS, email, 80),
    QL_CFG_FIELD(IDE_CFG_SMTP_USER, smtpUser, 80),
    QL_CFG_FIELD(IDE_CFG_SMTP_PASSWORD, smtpPassword, 80),
};
static const int kMailFieldCount = (int)(sizeof kMailFields / sizeof kMailFields[0]);

static void LabelMailPage(HWND page)
{
    const QlShellTextRec *text = QlShellText();
    SetDlgItemTextA(page, IDT_CFG_MAIL_GROUP, text->CfgMailGroup);
    SetDlgItemTextA(page, IDT_CFG_SMTP_PORT, text->CfgSmtpPort);
    SetDlgItemTextA(page, IDT_CFG_SMTP_SERVER, text->CfgSmtpServer);
    SetDlgItemTextA(page, IDT_CFG_MAIL_ADDRESS, text->CfgMailAddress);
    SetDlgItemTextA(page, IDB_CFG_SMTP_AUTH, text->CfgSmtpAuth);
    SetDlgItemTextA(page, IDT_CFG_SMTP_USER, text->CfgSmtpUser);
    SetDlgItemTextA(page, IDT_CFG_SMTP_PASSWORD, text->CfgSmtpPassword);
    SetDlgItemTextA(page, IDB_CFG_USE_SSL, text->CfgUseSsl);
    SetDlgItemTextA(page, IDT_CFG_SSL_NOTE, text->CfgSslNote);
    SetDlgItemTextA(page, IDT_CFG_MAIL_HINT, text->CfgMailHint);
}

void QlCfgMailPageFill(HWND page)
{
    const QlSettingsRec *cfg = &QlSettings.cfg;
    SendDlgItemMessageA(page, IDE_CFG_SMTP_PORT, EM_LIMITTEXT, 6, 0);
    SetDlgItemInt(page, IDE_CFG_SMTP_PORT, cfg->smtpPort, FALSE);
    QlCfgFillFields(page, kMailFields, kMailFieldCount, cfg);
    CheckDlgButton(page, IDB_CFG_SMTP_AUTH, cfg->smtpAuth ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(page, IDB_CFG_USE_SSL, cfg->useSsl ? BST_CHECKED : BST_UNCHECKED);
}

// An empty port edit leaves the port as it is; a port outside 1-65535 is
// refused with a message (the rest of the page is saved all the same).
static void StorePort(HWND page)
{
    char text[32];
    QlUiGetField(page, IDE_CFG_SMTP_PORT, text, sizeof text);
    if (!text[0]) return;
    unsigned port = 0;
    if (QlCfgParseNumber(text, 9, &port) && port >= 1 && port <= MAX_PORT) {
        QlSettings.cfg.smtpPort = (uint16_t)port;
        return;
    }
    char message[256];
    snprintf(message, sizeof message, QlShellText()->CfgPortText, (unsigned)QlSettings.cfg.smtpPort);
    QlMsgBox(page, QlShellText()->CfgPortCaption, message, QL_COLOUR_WARNING);
}

void QlCfgMailPageSave(HWND page)
{
    QlSettingsRec *cfg = &QlSettings.cfg;
    StorePort(page);
    QlCfgStoreFields(page, kMailFields, kMailFieldCount, cfg);
    cfg->smtpAuth = IsDlgButtonChecked(page, IDB_CFG_SMTP_AUTH) == BST_CHECKED;
    cfg->useSsl = IsDlgButtonChecked(page, IDB_CFG_USE_SSL) == BST_CHECKED;
    QlCfgSaveFile(page);
}

INT_PTR CALLBACK QlCfgMailPageDlgProc(HWND page, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_INITDIALOG:
        QlCfgPageInit(page);
        LabelMailPage(page);
        QlCfgMailPageFill(page);
        return TRUE;
    case WM_COMMAND: QlCfgPageCommand(page, LOWORD(wParam), HIWORD(wParam), QlCfgMailPageSave); return TRUE;
    case WM_DESTROY: QlCfgPageToolbarDestroy(); return FALSE;
    }
    return FALSE;
}

// ---------------------------------------------------------------------------
// Letters page

#define QL_CFG_LETTER(titleId, bodyId, i)                                                                    \
    {(titleId), offsetof(QlSettingsRec, letters) + (i) * sizeof(QlLetterTemplate) + offsetof(QlLetterTemplate, title), \
     sizeof(QlLetterTemplate::title), (int)sizeof(QlLetterTemplate::title) - 1},                              \
    {(bodyId), offsetof(QlSettingsRec, letters) + (i) * sizeof(QlLetterTemplate) + offsetof(QlLetterTemplate, body), \
     sizeof(QlLetterTemplate::body), (int)sizeof(QlLetterTemplate::body) - 1}
static const QlCfgTextField kLetterFields[] = {
    QL_CFG_LETTER(IDE_CFG_LETTER1_TITLE, IDE_CFG_LETTER1_BODY, 0),
    QL_CFG_LETTER(IDE_CFG_LETTER2_TITLE, IDE_CFG_LETTER2_BODY, 1),
    QL_CFG_LETTER(IDE_CFG_LETTER3_TITLE, IDE_CFG_LETTER3_BODY, 2),
    QL_CFG_LETTER(IDE_CFG_LETTER4_TITLE, IDE_CFG_LETTER4_BODY, 3),
};
static const int kLetterFieldCount = (int)(sizeof kLetterFields / sizeof kLetterFields[0]);

static void LabelLettersPage(HWND page)
{
    static const int groups[QL_LETTER_COUNT] = {IDT_CFG_LETTER1_GROUP, IDT_CFG_LETTER2_GROUP, IDT_CFG_LETTER3_GROUP,
                                                IDT_CFG_LETTER4_GROUP};
    static const int titles[QL_LETTER_COUNT] = {IDT_CFG_LETTER1_TITLE, IDT_CFG_LETTER2_TITLE, IDT_CFG_LETTER3_TITLE,
                                                IDT_CFG_LETTER4_TITLE};
    for (int i = 0; i < QL_LETTER_COUNT; i++) {
        // A blank either side: Wine's group box measures its caption a little
        // short for some words ("Adreswijziging" lost its last letter).
        char caption[sizeof QlLangText()->LetterNames[i] + 2];
        snprintf(caption, sizeof caption, " %s ", QlLangText()->LetterNames[i]);
        SetDlgItemTextA(page, groups[i], caption);
        SetDlgItemTextA(page, titles[i], QlShellText()->CfgLetterTitle);
    }
}

void QlCfgLettersPageSave(HWND page)
{
    QlCfgStoreFields(page, kLetterFields, kLetterFieldCount, &QlSettings.cfg);
    QlCfgSaveFile(page);
}

INT_PTR CALLBACK QlCfgLettersPageDlgProc(HWND page, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_INITDIALOG:
        QlCfgPageInit(page);
        LabelLettersPage(page);
        QlCfgFillFields(page, kLetterFields, kLetterFieldCount, &QlSettings.cfg);
        return TRUE;
    case WM_COMMAND: QlCfgPageCommand(page, LOWORD(wParam), HIWORD(wParam), QlCfgLettersPageSave); return TRUE;
    case WM_DESTROY: QlCfgPageToolbarDestroy(); return FALSE;
    }
    return FALSE;
}
