// The service dialogs: new service and edit service, both dialog 178 modal
// over the services window, with Save and Close along the bottom; and the
// Delete command.
//
// Each changes the table first and the services window's list row after
// it, so a row shows only what was stored.  Escape closes either dialog
// without storing; Enter (IDOK: the dialog has no default button) does
// nothing, so that what was typed stays.

#include "catalogue/QlCatalogueLists.h"
#include "catalogue/QlCatTexts.h"
#include "catalogue/QlServices.h"

#include "ui/QlListView.h"
#include "ui/QlMoneyControls.h"
#include "ui/QlMsgDialog.h"
#include "core/QlPlatform.h"
#include "ui/QlSeams.h"
#include "ui/QlToolbar.h"
#include "ui/QlWindow.h"
#include "datastore/QlDb.h"
#include "settings/QlLangTables.h"
#include "datastore/QlDbTables.h"
#include "resources/QlResCatalogue.h"

#include <ctype.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

enum { COL_CODE, COL_DESCR, COL_PRICE };
enum { CMD_SAVE, CMD_CLOSE };

#define DESCR_LIMIT 79
#define UNITS_LIMIT 7
#define HUNDREDTHS_LIMIT 2

// The dialog that is open (one at a time, modal).
static HWND sToolbar;

static HWND ServicesList(void)
{
    return QlServState.window ? GetDlgItem(QlServState.window, IDL_PROD_LIST) : NULL;
}

static int FocusedRow(HWND list)
{
    return list ? (int)SendMessageA(list, LVM_GETNEXTITEM, (WPARAM)-1, LVNI_FOCUSED) : -1;
}

static int Refuse(HWND dialog, const char *caption, const char *text)
{
    QlMsgBox(dialog, caption, text, QL_COLOUR_WARNING);
    return 0;
}

// ---------------------------------------------------------------------------
// Shared set-up and reading

// Limits, labels and caption of a dialog whose tool bar exists.
static void SetUpFields(HWND dialog, const char *caption)
{
    const QlCatTextRec *text = QlCatText();
    SendDlgItemMessageA(dialog, IDE_SERV_PRICE_UNITS, EM_LIMITTEXT, UNITS_LIMIT, 0);
    SendDlgItemMessageA(dialog, IDE_SERV_PRICE_HUNDREDTHS, EM_LIMITTEXT, HUNDREDTHS_LIMIT, 0);
    SetDlgItemTextA(dialog, IDT_SERV_DESCR_LABEL, text->ServDescription);
    SetDlgItemTextA(dialog, IDT_SERV_PRICE_LABEL, text->Price);
    SetDlgItemTextA(dialog, IDT_SERV_CODE_LABEL, QlLangMenu()->ServColumns[0]);
    SetWindowTextA(dialog, caption);
}

// Centres the dialog, limits the description and makes the tool bar; 0 when
// the tool bar could not be made.
static int StartDialog(HWND dialog)
{
    QlUiCenterWindow(dialog);
    SendDlgItemMessageA(dialog, IDE_SERV_DESCR, EM_LIMITTEXT, DESCR_LIMIT, 0);
    sToolbar = QlToolbarCreate(QlUiInstance(), dialog, QlSaveCloseToolbarTable, 2, 1, 0);
    return sToolbar != NULL;
}

static void EndToolbar(void)
{
    if (sToolbar) QlToolbarDestroy(sToolbar, QlSaveCloseToolbarTable, 2);
    sToolbar = NULL;
}

// A price field: empty is 0; anything but up to maxDigits digits is refused.
static int ReadDigits(HWND dialog, int id, int maxDigits, long *value)
{
    char text[40] = "";
    GetDlgItemTextA(dialog, id, text, sizeof text);
    size_t length = strlen(text);
    if ((int)length > maxDigits) return 0;
    for (size_t i = 0; i < length; i++)
        if (!isdigit((unsigned char)text[i])) return 0;
    *value = length ? atol(text) : 0;
    return 1;
}

int QlServReadPrice(HWND dialog, QlServRec *rec)
{
    // Nine digits still fit the 32-bit units; the field itself takes seven.
    long units = 0, hundredths = 0;
    if (!ReadDigits(dialog, IDE_SERV_PRICE_UNITS, 9, &units) ||
        !ReadDigits(dialog, IDE_SERV_PRICE_HUNDREDTHS, HUNDREDTHS_LIMIT, &hundredths))
        return 0;
    rec->price_units = (int32_t)units;
    rec->price_hundredths = (uint32_t)hundredths;
    return 1;
}

// The description and price of the dialog into a cleared record; 0 after a
// message.
static int ReadService(HWND dialog, QlServRec *rec)
{
    const QlCatTextRec *text = QlCatText();
    memset(rec, 0, sizeof *rec);
    QlUiGetField(dialog, IDE_SERV_DESCR, rec->descr);
    if (!rec->descr[0]) return Refuse(dialog, text->InvalidInput, text->ServNoDescription);
    if (!QlServReadPrice(dialog, rec)) return Refuse(dialog, text->InvalidInput, text->ServPriceDigits);
    return 1;
}

// The Close button and Escape (IDCANCEL) end the dialog with 0; the tool
// bar's Save runs save; Enter (IDOK) does nothing.
static void OnCommand(HWND dialog, int id, HWND control, int (*save)(HWND))
{
    if (control && control == sToolbar) {
        if (id == CMD_SAVE) {
            if (save(dialog)) EndDialog(dialog, 1);
        } else if (id == CMD_CLOSE) {
            EndDialog(dialog, 0);
        }
        return;
    }
    if (id == IDCANCEL) EndDialog(dialog, 0);
}

// ---------------------------------------------------------------------------
// New service

int QlServInsert(HWND dialog)
{
    QlServRec rec;
    if (!ReadService(dialog, &rec)) return 0;
    char err[QL_DB_ERR_SIZE];
    if (!QlServAdd(&rec, err)) {
        QlSeamMessageBox(dialog, err, QlCatText()->ServAddFailed, MB_OK);
        return 0;
    }
    HWND list = ServicesList();
    int row = list ? QlServWindowAppend(&rec) : -1;
    if (row >= 0) SendMessageA(list, LVM_ENSUREVISIBLE, row, FALSE);
    return 1;
}

static BOOL OnAddInit(HWND dialog)
{
    if (!StartDialog(dialog)) return FALSE;
    SetUpFields(dialog, QlCatText()->ServNewCaption);
    SetDlgItemTextA(dialog, IDE_SERV_PRICE_UNITS, "0");
    SetDlgItemTextA(dialog, IDE_SERV_PRICE_HUNDREDTHS, "00");
    // No code yet: it is given when the service is saved.
    ShowWindow(GetDlgItem(dialog, IDT_SERV_CODE_LABEL), SW_HIDE);
    ShowWindow(GetDlgItem(dialog, IDT_SERV_CODE), SW_HIDE);
    return TRUE;
}

INT_PTR CALLBACK QlServAddDlgProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_INITDIALOG: return OnAddInit(dialog);
    case WM_COMMAND: OnCommand(dialog, LOWORD(wParam), (HWND)lParam, QlServInsert); return TRUE;
    case WM_DESTROY: EndToolbar(); return FALSE;
    }
    return FALSE;
}

void QlServAddCmd(HWND window)
{
    DialogBoxParamA(QlUiInstance(), MAKEINTRESOURCEA(IDD_SERV_EDIT), window, QlServAddDlgProc, 0);
}

// ---------------------------------------------------------------------------
// Edit service

int QlServEditSave(HWND dialog)
{
    QlServRec rec;
    if (!ReadService(dialog, &rec)) return 0;
    char code[40] = "";
    GetDlgItemTextA(dialog, IDT_SERV_CODE, code, sizeof code);
    rec.iKey = QlAtoI64(code);
    char err[QL_DB_ERR_SIZE];
    if (!QlServUpdate(&rec, err)) return Refuse(dialog, QlCatText()->Error, err);
    QlServWindowUpdate(QlServState.edit_row, &rec);
    return 1;
}

static BOOL OnEditInit(HWND dialog)
{
    if (!StartDialog(dialog)) return FALSE;
    SetUpFields(dialog, QlCatText()->ServEditCaption);
    HWND list = ServicesList();
    if (!list) return TRUE;
    int row = QlServState.edit_row;
    char cell[256];
    QlListGetCell(list, row, COL_DESCR, cell, sizeof cell);
    SetDlgItemTextA(dialog, IDE_SERV_DESCR, cell);
    QlListGetCell(list, row, COL_CODE, cell, sizeof cell);
    SetDlgItemTextA(dialog, IDT_SERV_CODE, cell);
    QlListCellToMoneyEdits(dialog, list, row, COL_PRICE, IDE_SERV_PRICE_UNITS, IDE_SERV_PRICE_HUNDREDTHS);
    return TRUE;
}

static INT_PTR WhiteBox(HDC dc)
{
    SetTextColor(dc, RGB(0, 0, 0));
    SetBkColor(dc, RGB(255, 255, 255));
    return (INT_PTR)GetStockObject(WHITE_BRUSH);
}

INT_PTR CALLBACK QlServEditDlgProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_INITDIALOG: return OnEditInit(dialog);
    case WM_COMMAND: OnCommand(dialog, LOWORD(wParam), (HWND)lParam, QlServEditSave); return TRUE;
    case WM_CTLCOLORSTATIC:
        if ((HWND)lParam == GetDlgItem(dialog, IDT_SERV_CODE)) return WhiteBox((HDC)wParam);
        return FALSE;
    case WM_DESTROY: EndToolbar(); return FALSE;
    }
    return FALSE;
}

void QlServEditCmd(HWND window)
{
    int row = FocusedRow(GetDlgItem(window, IDL_PROD_LIST));
    if (row < 0) return;
    QlServState.edit_row = row;
    DialogBoxParamA(QlUiInstance(), MAKEINTRESOURCEA(IDD_SERV_EDIT), window, QlServEditDlgProc, 0);
}

// ---------------------------------------------------------------------------
// Delete

int QlServDelete(HWND window)
{
    const QlCatTextRec *text = QlCatText();
    HWND list = GetDlgItem(window, IDL_PROD_LIST);
    int row = FocusedRow(list);
    if (row < 0) return 0;
    QlServState.edit_row = row;
    char code[40], descr[80];
    QlListGetCell(list, row, COL_CODE, code, sizeof code);
    QlListGetCell(list, row, COL_DESCR, descr, sizeof descr);
    char question[256];
    snprintf(question, sizeof question, text->ServDeleteQuestion, code, descr);
    if (!QlMsgAskOkCancel(window, text->ServDeleteCaption, question, QL_COLOUR_WARNING)) return 0;
    char err[QL_DB_ERR_SIZE];
    if (!QlDbDisableRow(QlAtoI64(code), "services", err)) return Refuse(window, text->ServDeleteFailed, err);
    QlServWindowRemove(row);
    return 1;
}
