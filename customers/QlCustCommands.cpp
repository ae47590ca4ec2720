// The account commands of the customers module (save, delete, quotation,
// activity view, statement) and the A/C ref and transaction look-ups that
// the add dialog and the delete share.

#include "customers/QlCustCommands.h"

#include "customers/QlCustModule.h"
#include "customers/QlCustOpeners.h"
#include "customers/QlCustTexts.h"

#include "ui/QlAppState.h"
#include "ui/QlListView.h"
#include "ui/QlMsgDialog.h"
#include "core/QlPlatform.h"
#include "ui/QlSeams.h"
#include "ui/QlUtil.h"
#include "ui/QlWindow.h"
#include "datastore/QlDbTables.h"
#include "docmodel/QlOpeners.h"
#include "docmodel/QlTransTexts.h"
#include "resources/QlResIds.h"
#include "settings/QlLangTables.h"

#include <commctrl.h>
#include <ctype.h>
#include <string.h>

QlCustContextRec QlCustContext;

// ---------------------------------------------------------------------------
// Look-ups

// 1 when the query returns a row, 0 when it returns none, -1 when it failed.
static int QueryHasRow(const char *sql)
{
    char err[QL_DB_ERR_SIZE];
    int found = 0;
    if (!QlDbExecRows(sql, QlDbRowFoundCb, &found, err)) return -1;
    return found;
}

// Whether a customers row, enabled or not, has the reference: 1, 0, or -1
// when that cannot be told.
static int AcRefTaken(const char *acref)
{
    char quoted[16];
    char sql[QL_DB_SQL_QUERY];
    char err[QL_DB_ERR_SIZE];
    if (!QlSqlQuote(acref, quoted, sizeof quoted) ||
        !QlDbFormatSql(sql, sizeof sql, err, "select iKey from customers where acref='%s' limit 1;", quoted))
        return -1;
    return QueryHasRow(sql);
}

void QlCustTrimBlanks(char *text)
{
    size_t start = strspn(text, " \t");
    size_t length = strlen(text + start);
    while (length > 0 && (text[start + length - 1] == ' ' || text[start + length - 1] == '\t')) length--;
    memmove(text, text + start, length);
    text[length] = '\0';
}

int QlCustMakeAcRef(QlCustRec *rec)
{
    if (strnlen(rec->company, sizeof rec->company) < 2) return 0;
    char acref[sizeof rec->acref] = "";
    for (int i = 0; i < 2; i++) {
        unsigned char c = (unsigned char)rec->company[i];
        acref[i] = (char)(c < 0x80 ? toupper(c) : c);
    }
    for (int n = 0; n < 999; n++) {
        snprintf(acref + 2, sizeof acref - 2, "%03d", n);
        int taken = AcRefTaken(acref);
        if (taken < 0) return -1;
        if (!taken) {
            memcpy(rec->acref, acref, sizeof acref);
            return 1;
        }
    }
    return 0;
}

int QlCustHasTrans(int64_t iKey)
{
    char sql[QL_DB_SQL_QUERY];
    char err[QL_DB_ERR_SIZE];
    if (!QlDbFormatSql(sql, sizeof sql, err,
                       "select iKey from trans where enabled='yes' and cust_rowid='" QL_I64 "' limit 1;", iKey))
        return 1;
    return QueryHasRow(sql) != 0;
}

int QlCustMakeSamples(void)
{
    char err[QL_DB_ERR_SIZE];
    for (int i = 0; i < 100; i++) {
        QlCustRec rec;
        memset(&rec, 0, sizeof rec);
        snprintf(rec.company, sizeof rec.company, "company name%d ltd", i);
        snprintf(rec.addr1, sizeof rec.addr1, "addr line1");
        if (QlCustMakeAcRef(&rec) != 1 || !QlCustAdd(&rec, err)) return 0;
    }
    return 1;
}

// ---------------------------------------------------------------------------
// Save

void QlCustUpdateCmd(HWND module)
{
    // The account the form shows, whatever the lists have selected since.
    int64_t key = QlCustShownKey();
    if (!key) {
        QlMsgBox(module, QlCustText()->InvalidInput, QlCustText()->ChooseAccount, QL_COLOUR_WARNING);
        return;
    }

    QlCustRec rec;
    memset(&rec, 0, sizeof rec);
    QlUiGetField(module, IDE_CUST_COMPANY, rec.company);
    QlUiGetField(module, IDE_CUST_ADDR1, rec.addr1);
    QlUiGetField(module, IDE_CUST_ADDR2, rec.addr2);
    QlUiGetField(module, IDE_CUST_ADDR3, rec.addr3);
    QlCustTrimBlanks(rec.company);
    QlCustTrimBlanks(rec.addr1);
    if (!rec.company[0] || !rec.addr1[0]) {
        QlMsgBox(module, QlCustText()->InvalidInput, QlCustText()->FillNameAddress, QL_COLOUR_WARNING);
        return;
    }
    QlUiGetField(module, IDE_CUST_EMAIL, rec.wemail);
    QlUiGetField(module, IDE_CUST_CONTACT, rec.contact);
    QlUiGetField(module, IDE_CUST_TEL, rec.worktel);
    QlUiGetField(module, IDE_CUST_FAX, rec.fax);
    QlUiGetField(module, IDE_CUST_MOBILE, rec.mobtel);
    rec.apply_discount = IsDlgButtonChecked(module, IDB_CUST_APPLY_DISCOUNT) == BST_CHECKED;
    rec.discount = (uint16_t)QlUiComboSelection(module, IDC_CUST_DISCOUNT);
    rec.apply_tax = IsDlgButtonChecked(module, IDB_CUST_APPLY_TAX) == BST_CHECKED;
    rec.vat_rate_index = (uint16_t)QlUiComboSelection(module, IDC_CUST_RATE);
    QlUiGetField(module, IDT_CUST_ACREF, rec.acref);
    rec.iKey = key;

    // The fields are never written into another account (whose A/C ref
    // would change with them): the stored account must still be the shown one.
    char err[QL_DB_ERR_SIZE];
    QlCustRec stored;
    if (!QlCustGetByRowId(key, &stored, err)) {
        QlSeamMessageBox(module, err, "Customer table update failed", MB_OK);
        return;
    }
    // The form holds blanks for what the stored row could not give: saving
    // them would overwrite the texts that are there.
    if (QlDbRowPartial()) {
        QlCustTellPartial(module, stored.acref);
        return;
    }
    if (strcmp(stored.acref, rec.acref) != 0) {
        QlMsgBox(module, QlCustText()->InvalidInput, QlCustText()->ChooseAccount, QL_COLOUR_WARNING);
        return;
    }

    if (!QlCustUpdate(&rec, err)) {
        QlSeamMessageBox(module, err, "Customer table update failed", MB_OK);
        return;
    }
    QlCustModuleAccountChanged(&rec);
}

// ---------------------------------------------------------------------------
// Delete

void QlCustDeleteCmd(HWND module)
{
    // The account the form shows, as Save.
    int64_t key = QlCustShownKey();
    if (!key) return;
    char err[QL_DB_ERR_SIZE];
    QlCustRec rec;
    if (!QlCustGetByRowId(key, &rec, err)) {
        QlSeamMessageBox(NULL, err, "customer delete failed", MB_OK);
        return;
    }

    const QlCustTextRec *text = QlCustText();
    char message[256];
    if (QlCustHasTrans(key)) {
        snprintf(message, sizeof message, "%s %s %s", text->CustomerWord, rec.acref, text->HasTransactions);
        QlMsgBox(module, text->CannotDelete, message, QL_COLOUR_WARNING);
        return;
    }
    char account[64];
    snprintf(account, sizeof account, "%s (%s)", rec.acref, rec.company);
    snprintf(message, sizeof message, "%s %s.\n%s", text->DeleteAccount, account, text->AreYouSure);
    if (!QlMsgAskOkCancel(module, text->DeleteCaption, message, QL_COLOUR_WARNING)) return;

    if (!QlDbDisableRow(key, "customers", err)) {
        QlSeamMessageBox(NULL, err, "customer delete failed", MB_OK);
        return;
    }
    int row = QlCustModuleRemoveAccount(key);

    // The form never goes on showing the deleted account: the next one in
    // the name list takes its place, or an empty form when none is left.
    int count = QlCustModuleRowCount();
    if (count > 0) {
        int next = row >= 0 && row < count ? row : count - 1;
        QlCustListSelect(GetDlgItem(module, IDL_CUST_NAMES), next);
        QlCustRec shown;
        if (QlCustGetByRowId(QlCustModuleNamesKey(next), &shown, err)) QlCustShowRecord(module, &shown);
    } else {
        QlCustRec empty;
        memset(&empty, 0, sizeof empty);
        QlCustShowRecord(module, &empty);
        QlCustEnableForm(module, 0);
    }
}

// ---------------------------------------------------------------------------
// New quotation, activity view, statement

void QlCustNewQuote(HWND module)
{
    int64_t count = 0;
    if (QlTransGetCount(&count) && count >= QL_TRANS_LIMIT) {
        QlMsgBox(module, QlLangText()->Error, QlTransText()->MaxTransactions, QL_COLOUR_WARNING);
        return;
    }
    char acref[10];
    QlUiGetField(module, IDT_CUST_ACREF, acref);
    if (QlModuleOpeners.newQuote) QlModuleOpeners.newQuote(acref, NULL);
}

// Hands the shown account to the next screen; 0 when the form shows none.
static int SetContext(HWND module)
{
    memset(&QlCustContext, 0, sizeof QlCustContext);
    QlUiGetField(module, IDT_CUST_ACREF, QlCustContext.acref);
    if (!QlCustContext.acref[0]) return 0;
    QlUiGetField(module, IDT_CUST_BALANCE, QlCustContext.balance);
    return 1;
}

void QlCustOpenAccount(HWND module)
{
    if (!SetContext(module)) return;
    QlCustAccountChosen = NULL;
    DialogBoxParamA(QlUiInstance(), MAKEINTRESOURCEA(IDD_CUST_ACTIVITY), module, QlCustAccountDlgProc, 0);
    if (!QlCustAccountChosen) return;
    DestroyWindow(module);
    if (QlModuleWnd == module) QlModuleWnd = NULL;
    QlTransOpenByType(QlCustAccountChosen);
}

void QlCustOpenStatement(HWND module)
{
    if (!SetContext(module)) return;
    QlStmtOpen();
}
