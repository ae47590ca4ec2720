// The delivery note of a stored product invoice (dialog 218,
// QlDeliveryNoteDlgProc): the invoice's account, number and order number,
// an issue date, and every stored line numbered from 1 with its code,
// quantity and description.  Print hands the dialog to the document output,
// which reads these controls; the dialog stays open until Close.

#include "transactions/QlTransViews.h"

#include "ui/QlAppState.h"
#include "ui/QlListView.h"
#include "ui/QlMsgDialog.h"
#include "core/QlPlatform.h"
#include "ui/QlToolbar.h"
#include "ui/QlWindow.h"
#include "datastore/QlDbTables.h"
#include "docmodel/QlTransTexts.h"
#include "docmodel/QlViewTexts.h"
#include "documents/QlDocOutput.h"
#include "resources/QlResCommon.h"
#include "resources/QlResTrans.h"
#include "resources/QlResTransViews.h"
#include "settings/QlLangTables.h"
#include "settings/QlSettings.h"
#include "transactions/QlTransForm.h"

#include <commctrl.h>
#include <stdio.h>
#include <string.h>

enum { CMD_PRINT = 0 };

// The invoice read again by its number, and the rows listed so far.
static QlTransRec sNoteRec;
static unsigned sNoteRows;
static HWND sNoteList;
static HWND sNoteBar;
static HFONT sNoteTitleFont;
static QlToolbarItem sNoteBarItems[2] = {
    {IDBMP_PRINT, CMD_PRINT, NULL, "Print"},
    {IDBMP_CLOSE, 1, NULL, "Close"},
};

void QlDeliveryNoteOpen(HWND owner, int64_t transKey)
{
    char err[QL_DB_ERR_SIZE];
    if (!QlTransGetByRowId(transKey, &sNoteRec, err)) return;
    DialogBoxParamA(QlUiInstance(), MAKEINTRESOURCEA(IDD_DELIVERY_NOTE), owner, QlDeliveryNoteDlgProc, 0);
}

int QlDeliveryNoteRowCb(const QlItemRec *line)
{
    if (!sNoteList) return 0;
    char number[16];
    snprintf(number, sizeof number, "%u", sNoteRows + 1);
    LVITEMA item = {};
    item.mask = LVIF_TEXT;
    item.iItem = (int)SendMessageA(sNoteList, LVM_GETITEMCOUNT, 0, 0);
    item.pszText = number;
    int row = (int)SendMessageA(sNoteList, LVM_INSERTITEMA, 0, (LPARAM)&item);
    if (row < 0) return 0;
    QlListSetCell(sNoteList, row, 1, line->scode);
    QlListSetCell(sNoteList, row, 2, line->qty);
    QlListSetCell(sNoteList, row, 3, line->descr);
    sNoteRows++;
    return 1;
}

static void SetColumns(HWND list)
{
    static const int kWeights[4] = {40, 50, 50, 470};
    static const int kFormats[4] = {LVCFMT_LEFT, LVCFMT_LEFT, LVCFMT_RIGHT, LVCFMT_LEFT};
    int widths[4];
    QlListColumnWidths(list, kWeights, 4, widths, 10);
    for (int c = 0; c < 4; c++) QlListInsertColumn(list, c, QlViewText()->DeliveryColumns[c], widths[c], kFormats[c]);
    SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, QL_LIST_GRID_STYLE);
}

static BOOL OnInitDialog(HWND dialog)
{
    const QlViewTextRec *text = QlViewText();
    const QlTransTextRec *trans = QlTransText();
    QlUiCenterWindow(dialog);
    snprintf(sNoteBarItems[0].text, sizeof sNoteBarItems[0].text, "%.63s", QlLangText()->Print);
    snprintf(sNoteBarItems[1].text, sizeof sNoteBarItems[1].text, "%.63s", QlLangText()->Close);
    sNoteBar = QlToolbarCreate(QlUiInstance(), dialog, sNoteBarItems, ARRAYSIZE(sNoteBarItems), 1, 0);
    if (!sNoteBar) return TRUE;
    SetWindowTextA(dialog, text->DeliveryWindowTitle);

    SetDlgItemTextA(dialog, IDT_DOC_TO_LABEL, trans->InvoiceTo);
    SetDlgItemTextA(dialog, IDT_DOC_DATE_LABEL, text->IssueDate);
    SetDlgItemTextA(dialog, IDT_DOC_ACREF_LABEL, trans->AcRef);
    SetDlgItemTextA(dialog, IDT_DOC_NUMBER_LABEL, text->PerInvoice);
    SetDlgItemTextA(dialog, IDT_DN_ORDER_LABEL, trans->OrderNumber);
    SendDlgItemMessageA(dialog, IDE_DN_ORDER, EM_LIMITTEXT, 10, 0);
    SendDlgItemMessageA(dialog, IDP_DOC_DATE, DTM_SETFORMATA, 0,
                        (LPARAM)(QlSettings.cfg.dateFormat[0] ? QlSettings.cfg.dateFormat : "d/MM/yyyy"));
    sNoteTitleFont = QlTransMakeTitleFont();
    SendDlgItemMessageA(dialog, IDT_DOC_TITLE, WM_SETFONT, (WPARAM)sNoteTitleFont, TRUE);
    SetDlgItemTextA(dialog, IDT_DOC_TITLE, text->DeliveryTitle);

    char number[32];
    snprintf(number, sizeof number, QL_I64, sNoteRec.iKey);
    SetDlgItemTextA(dialog, IDT_DOC_NUMBER, number);
    SetDlgItemTextA(dialog, IDE_DN_ORDER, sNoteRec.order_number);
    QlCustRec customer;
    char err[QL_DB_ERR_SIZE];
    if (QlCustGetByRowId(sNoteRec.cust_rowid, &customer, err)) {
        SetDlgItemTextA(dialog, IDT_DOC_ACREF, customer.acref);
        SetDlgItemTextA(dialog, IDE_DOC_COMPANY, customer.company);
        SetDlgItemTextA(dialog, IDE_DOC_ADDR1, customer.addr1);
        SetDlgItemTextA(dialog, IDE_DOC_ADDR2, customer.addr2);
        SetDlgItemTextA(dialog, IDE_DOC_ADDR3, customer.addr3);
    }

    sNoteList = GetDlgItem(dialog, IDL_DN_ITEMS);
    SetColumns(sNoteList);
    sNoteRows = 0;
    QlItemEnumByTrans(QlDeliveryNoteRowCb, sNoteRec.iKey, err);
    return TRUE;
}

static INT_PTR OnStaticColour(HWND dialog, HDC dc, HWND control)
{
    static const int kWhite[] = {IDT_DOC_TO_LABEL,    IDT_DOC_NUMBER_LABEL, IDT_DOC_DATE_LABEL, IDT_DOC_ACREF_LABEL,
                                 IDT_DOC_NUMBER,      IDT_DOC_ACREF,        IDT_DN_ORDER_LABEL, IDT_DOC_TITLE};
    int id = GetDlgCtrlID(control);
    int white = 0;
    for (int box : kWhite) white |= box == id;
    if (!white) return FALSE;
    SetTextColor(dc, id == IDT_DOC_TITLE ? QL_COLOUR_DONE : RGB(0, 0, 0));
    SetBkColor(dc, RGB(255, 255, 255));
    return (INT_PTR)(QlBrushWhite ? QlBrushWhite : GetStockObject(WHITE_BRUSH));
}

INT_PTR CALLBACK QlDeliveryNoteDlgProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_INITDIALOG: return OnInitDialog(dialog);
    case WM_COMMAND: {
        int id = LOWORD(wParam);
        if (id == CMD_PRINT && lParam && (HWND)lParam == sNoteBar)
            QlDeliveryNotePrint(dialog);
        else if (id == IDOK || id == IDCANCEL)
            EndDialog(dialog, 0);
        return TRUE;
    }
    case WM_CTLCOLORSTATIC: return OnStaticColour(dialog, (HDC)wParam, (HWND)lParam);
    case WM_DESTROY:
        if (sNoteBar) QlToolbarDestroy(sNoteBar, sNoteBarItems, ARRAYSIZE(sNoteBarItems));
        sNoteBar = NULL;
        if (sNoteTitleFont) DeleteObject(sNoteTitleFont);
        sNoteTitleFont = NULL;
        sNoteList = NULL;
        return FALSE;
    }
    return FALSE;
}
