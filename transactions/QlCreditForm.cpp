// The credit-note forms on template 140: the new credit note
// (QlCreditNewDlgProc) and the view of a stored one (QlCreditViewDlgProc).
// Both are the editor's template stripped down to credit lines of three
// columns (description, price, tax) and the totals net, tax and gross.  No
// line modes, discount, quantity, carriage, order number or barcode.

#include "transactions/QlTransForm.h"

#include "ui/QlAppState.h"
#include "ui/QlLayout.h"
#include "ui/QlMsgDialog.h"
#include "core/QlPlatform.h"
#include "ui/QlSeams.h"
#include "ui/QlToolbar.h"
#include "ui/QlWindow.h"
#include "datastore/QlDbTables.h"
#include "docmodel/QlAccountBlock.h"
#include "docmodel/QlTransLines.h"
#include "docmodel/QlTransTexts.h"
#include "docmodel/QlViewTexts.h"
#include "documents/QlDocOutput.h"
#include "resources/QlResTrans.h"
#include "settings/QlLangTables.h"
#include "settings/QlSettings.h"
#include "transactions/QlItemDialogs.h"
#include "transactions/QlTransFormParts.h"
#include "transactions/QlTransPost.h"
#include "transactions/QlTransViews.h"

#include <commctrl.h>
#include <stdio.h>
#include <string.h>

#include <initializer_list>

// The editor's controls that a credit note has no use for.
static const int kUnused[] = {IDT_DOC_CARRIAGE_LABEL, IDT_DOC_PRICE_LABEL, IDT_DOC_CARRIAGE_TAX_LABEL,
                              IDE_DOC_CARRIAGE_UNITS, IDE_DOC_CARRIAGE_HUNDREDTHS, IDE_DOC_CARRIAGE_TAX_UNITS,
                              IDE_DOC_CARRIAGE_TAX_HUNDREDTHS, IDC_DOC_CARRIAGE_RATE, IDT_DOC_DISCOUNT,
                              IDT_DOC_NET, IDT_DOC_CARRIAGE, IDE_DOC_BARCODE, IDT_DOC_BARCODE_PROMPT,
                              IDT_DOC_TYPE_LABEL, IDC_DOC_TYPE, IDT_DOC_ORDER_LABEL, IDE_DOC_ORDER};

// What the new form and the view share: the stripped template, captions,
// the three credit columns, the bar given.
static void StartCreditForm(HWND form, QlToolbarItem *bar, int barCount)
{
    const QlTransTextRec *text = QlTransText();
    QlModuleWnd = form;
    QlTransFormFitPane(form);
    QlTransFormShiftHeader(form);
    for (int id : kUnused) DestroyWindow(GetDlgItem(form, id));
    QlTransFormStartPartsWith(form, text->CreditTitle, bar, barCount);
    QlTransFormSetAccountCaptions(form, text->CreditTo, text->CreditNo, text->CreditDate);

    SetDlgItemTextA(form, IDT_DOC_TOTAL_LABEL, text->Price);
    char caption[80];
    snprintf(caption, sizeof caption, "%s / %s:", QlSettings.cfg.currency, text->Total);
    SetDlgItemTextA(form, IDT_DOC_GROSS_LABEL, caption);
    SetDlgItemTextA(form, IDT_DOC_CARRIAGE_TOTAL_LABEL, QlSettings.cfg.taxName);
    for (int id : {IDT_DOC_GROSS, IDT_DOC_CARRIAGE_TAX, IDT_DOC_TAX}) SetDlgItemTextA(form, id, "0.00");

    QlTransLineMode = 0;
    QlTransLineCount = 0;
    QlUiStretchItemRight(form, IDL_DOC_LINES, 3);
    QlTransSetCreditColumns(GetDlgItem(form, IDL_DOC_LINES));
}

static BOOL OnInitDialog(HWND form)
{
    StartCreditForm(form, QlSaveCloseToolbarTable, ARRAYSIZE(QlSaveCloseToolbarTable));
    QlTransFormShowPendingAccount(form);
    if (QlTransMainMaximized()) QlUiLayoutCreditEditor(form, QlTransLineMode);
    return TRUE;
}

static void AddLine(HWND form)
{
    QlItemAddMode = 1;
    if (DialogBoxParamA(QlUiInstance(), MAKEINTRESOURCEA(IDD_ITEM_CREDIT), form, QlCreditItemDlgProc, 0) != 1) return;
    HWND list = GetDlgItem(form, IDL_DOC_LINES);
    int rows = (int)SendMessageA(list, LVM_GETITEMCOUNT, 0, 0);
    int row = QlTransLineCount >= 0 && QlTransLineCount <= rows ? QlTransLineCount : rows;
    int written = QlItemWriteCreditRow(list, &QlItemLine, row, 0);
    if (written < 0) return;
    QlTransLineCount = written + 1;
    QlTransFormSumCredit(form);
}

static void OnCommand(HWND form, int id, LPARAM lParam)
{
    if (QlTransFormIsToolbarCommand(form, id, lParam)) {
        if (id == QL_FORM_CMD_SAVE) {
            if (QlTransSave(form, QL_DOC_CREDIT, QlTransLineMode)) QlUiClosePane(form);
        } else {
            QlTransFormCloseCommand(form);
        }
        return;
    }
    switch (id) {
    case IDB_DOC_SELECT: QlTransFormSelectAccount(form); return;
    case IDB_DOC_ADD: AddLine(form); return;
    case IDB_DOC_EDIT:
        if (QlCreditEditItem(form)) QlTransFormSumCredit(form);
        return;
    case IDB_DOC_DELETE:
        if (QlTransFormDeleteLine(form)) QlTransFormSumCredit(form);
        return;
    }
}

INT_PTR CALLBACK QlCreditNewDlgProc(HWND form, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_INITDIALOG: return OnInitDialog(form);
    case WM_COMMAND: OnCommand(form, LOWORD(wParam), lParam); return TRUE;
    case WM_NOTIFY: {
        const NMHDR *header = (const NMHDR *)lParam;
        if (header->idFrom == IDL_DOC_LINES && header->code == NM_DBLCLK && QlCreditEditItem(form))
            QlTransFormSumCredit(form);
        return FALSE;
    }
    // The form keeps its contents; it only follows the main window's size.
    case QL_WM_MAIN_MAXIMIZED:
    case QL_WM_MAIN_RESTORED: QlUiLayoutCreditEditor(form, QlTransLineMode); return TRUE;
    case WM_CTLCOLORSTATIC: return QlTransFormStaticColour(form, (HDC)wParam, (HWND)lParam, QL_COLOUR_WARNING);
    case WM_CLOSE: return TRUE;
    case WM_DESTROY: return QlTransFormDestroyed(form);
    }
    return FALSE;
}

// ---------------------------------------------------------------------------
// The credit-note view (QlCreditViewDlgProc): a stored credit note, its
// lines editable one at a time and written back at once.

enum { VIEW_CMD_PRINT = 0, VIEW_CMD_EMAIL = 1, VIEW_CMD_PDF = 2 };

static BOOL OnInitView(HWND form)
{
    const QlTransRec *rec = &QlTransContext;
    DestroyWindow(GetDlgItem(form, IDE_DOC_CUSTOM));
    DestroyWindow(GetDlgItem(form, IDT_DOC_CUSTOM_LABEL));
    StartCreditForm(form, QlDocViewToolbarTable, ARRAYSIZE(QlDocViewToolbarTable));

    // A view adds and deletes nothing and keeps its number and date.
    for (int id : {IDB_DOC_SELECT, IDB_DOC_ADD, IDB_DOC_DELETE}) EnableWindow(GetDlgItem(form, id), FALSE);
    for (int id : {IDE_DOC_ACREF, IDE_DOC_COMPANY, IDE_DOC_ADDR1, IDE_DOC_ADDR2, IDE_DOC_ADDR3})
        SendDlgItemMessageA(form, id, EM_SETREADONLY, TRUE, 0);
    char number[32];
    snprintf(number, sizeof number, QL_I64, rec->iKey);
    SetDlgItemTextA(form, IDT_DOC_NUMBER, number);
    QlTransFixDate(form, rec->date);

    QlCustRec customer;
    char err[QL_DB_ERR_SIZE];
    if (!QlCustGetByRowId(rec->cust_rowid, &customer, err)) {
        QlSeamMessageBox(form, err, QlViewText()->NoCustomerCaption, MB_OK);
        return TRUE;
    }
    QlCustShowAddress(form, &customer);
    QlItemRowKeyTableClear();
    if (!QlItemEnumByTrans(QlItemCreditRowCb, rec->iKey, err))
        QlSeamMessageBox(form, err, QlViewText()->LinesLookupCaption, MB_OK);
    QlTransFormSumCredit(form);
    if (QlTransMainMaximized()) QlUiLayoutCreditEditor(form, QlTransLineMode);
    return TRUE;
}

static void OnViewCommand(HWND form, int id, LPARAM lParam)
{
    if (QlTransFormIsToolbarCommand(form, id, lParam)) {
        switch (id) {
        case VIEW_CMD_PRINT: QlCreditPrint(form); break;
        case VIEW_CMD_EMAIL: QlCreditEmail(form); break;
        case VIEW_CMD_PDF: QlCreditSavePdfFromView(form); break;
        default: QlUiClosePane(form); break;
        }
        return;
    }
    if (id == IDB_DOC_EDIT) QlTransViewEdit(form, QL_DOC_CREDIT);
}

INT_PTR CALLBACK QlCreditViewDlgProc(HWND form, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_INITDIALOG: return OnInitView(form);
    case WM_COMMAND: OnViewCommand(form, LOWORD(wParam), lParam); return TRUE;
    case QL_WM_MAIN_MAXIMIZED: QlUiLayoutCreditEditor(form, QlTransLineMode); return TRUE;
    case QL_WM_MAIN_RESTORED: QlTransReopen(); return TRUE;
    case WM_CTLCOLORSTATIC: return QlTransFormStaticColour(form, (HDC)wParam, (HWND)lParam, QL_COLOUR_WARNING);
    case WM_CLOSE: return TRUE;
    case WM_DESTROY: return QlTransFormDestroyed(form);
    }
    return FALSE;
}

HWND QlCreditOpen(const QlTransRec *rec)
{
    QlTransSetContext(rec);
    return QlTransOpenForm(QlCreditViewDlgProc);
}
