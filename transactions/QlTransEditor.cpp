// The invoice editor (template 140, QlInvNewDlgProc): a new invoice of
// service or product lines for an account, saved as one document.  Also the
// form pieces it shares with the new credit-note form, and the openers.
//
// The form is the module window in the main window's pane.  Its lines live
// only in list 1161; the totals are sums over the list's columns, recomputed
// after every change.  Save posts the document (QlTransSave) and closes the
// form; any refusal or failure leaves it open with everything in it.

#include "transactions/QlTransForm.h"

#include "ui/QlAppState.h"
#include "ui/QlLayout.h"
#include "ui/QlListView.h"
#include "ui/QlMoneyControls.h"
#include "ui/QlMsgDialog.h"
#include "ui/QlToolbar.h"
#include "ui/QlUtil.h"
#include "ui/QlWindow.h"
#include "datastore/QlDbTables.h"
#include "docmodel/QlAccountBlock.h"
#include "docmodel/QlOpeners.h"
#include "docmodel/QlTransLines.h"
#include "docmodel/QlTransTexts.h"
#include "resources/QlResCustomers.h"
#include "resources/QlResTrans.h"
#include "settings/QlLangTables.h"
#include "settings/QlSettings.h"
#include "transactions/QlItemDialogs.h"
#include "transactions/QlTransFormParts.h"
#include "transactions/QlTransOpen.h"
#include "transactions/QlTransPost.h"

#include <commctrl.h>
#include <ctype.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

int QlTransLineMode;
int QlTransLineCount;
char QlTransPendingAcRef[6];
char QlTransScanBuffer[31];

// The open form's own GDI objects.
static HWND sPartsForm;
static HFONT sTitleFont;
static HFONT sBarcodeFont;

// The header block that follows the right edge, and the totals with it.
static const int kHeaderBlock[] = {IDT_DOC_TYPE_LABEL,  IDC_DOC_TYPE,       IDT_DOC_TITLE,
                                   IDT_DOC_NUMBER_LABEL, IDT_DOC_NUMBER,    IDT_DOC_DATE_LABEL,
                                   IDP_DOC_DATE,         IDT_DOC_ACREF_LABEL, IDT_DOC_ACREF,
                                   IDT_DOC_TOTAL_LABEL,  IDT_DOC_DISCOUNT,  IDT_DOC_NET,
                                   IDT_DOC_TAX,          IDT_DOC_CARRIAGE_TOTAL_LABEL, IDT_DOC_CARRIAGE,
                                   IDT_DOC_CARRIAGE_TAX, IDT_DOC_GROSS_LABEL, IDT_DOC_GROSS};

// The statics shown black on white.
static const int kWhiteBoxes[] = {IDT_DOC_TO_LABEL,     IDT_DOC_NUMBER_LABEL, IDT_DOC_DATE_LABEL,
                                  IDT_DOC_ACREF_LABEL,  IDT_DOC_NUMBER,       IDT_DOC_ACREF,
                                  IDT_DOC_TOTAL_LABEL,  IDT_DOC_NET,          IDT_DOC_TAX,
                                  IDT_DOC_CARRIAGE_TOTAL_LABEL, IDT_DOC_CARRIAGE, IDT_DOC_CARRIAGE_TAX,
                                  IDT_DOC_GROSS_LABEL,  IDT_DOC_GROSS,        IDT_DOC_TITLE,
                                  IDT_DOC_ORDER_LABEL,  IDT_DOC_DISCOUNT};

// ---------------------------------------------------------------------------
// Shared pieces

HFONT QlTransMakeTitleFont(void)
{
    return CreateFontA(-24, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, "Arial");
}

HFONT QlTransMakeBarcodeFont(void)
{
    return CreateFontA(-16, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FIXED_PITCH | FF_MODERN, "Courier New");
}

int QlTransMainMaximized(void)
{
    return QlMainWnd && IsZoomed(QlMainWnd);
}

void QlTransFormFitPane(HWND form)
{
    QlUiFitPane(form);
    // The pane is as wide as the main window's frame: the form ends at the
    // edge of its client area instead, where its right-hand block must show.
    HWND parent = GetParent(form);
    RECT client;
    int width, height, left;
    if (!parent || !GetClientRect(parent, &client)) return;
    QlUiGetRectInParent(form, &width, &height, NULL, &left);
    if (left + width > client.right)
        SetWindowPos(form, NULL, 0, 0, client.right - left, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void QlTransFormShiftHeader(HWND form)
{
    HWND title = GetDlgItem(form, IDT_DOC_TITLE);
    if (!title) return;
    RECT client;
    GetClientRect(form, &client);
    int width, left;
    QlUiGetRectInParent(title, &width, NULL, NULL, &left);
    int shift = client.right - (left + width) - 3;
    for (int id : kHeaderBlock) QlUiShiftItemX(form, id, shift);
}

// The slot in which the layout finds a form's bottom bar made from items.
static HWND *BarSlot(const QlToolbarItem *items)
{
    if (items == QlSaveCloseToolbarTable) return &QlSaveCloseToolbar;
    if (items == QlDocViewToolbarTable) return &QlDocViewToolbar;
    return &QlFormOwnToolbar;
}

// The open form's bar: where it is kept and what it was made from.
static HWND *sPartsBar;
static QlToolbarItem *sPartsItems;
static int sPartsCount;

void QlTransFormStartParts(HWND form, const char *title)
{
    QlTransFormStartPartsWith(form, title, QlSaveCloseToolbarTable, ARRAYSIZE(QlSaveCloseToolbarTable));
}

void QlTransFormStartPartsWith(HWND form, const char *title, QlToolbarItem *items, int count)
{
    QlTransFormEndParts(sPartsForm);
    sPartsForm = form;
    sPartsItems = items;
    sPartsCount = count;
    sPartsBar = BarSlot(items);
    if (sPartsBar == &QlFormOwnToolbar) {
        QlFormOwnToolbarItems = items;
        QlFormOwnToolbarCount = count;
    }
    *sPartsBar = QlToolbarCreate(QlUiInstance(), form, items, count, 1, 0);
    sTitleFont = QlTransMakeTitleFont();
    char upper[80];
    snprintf(upper, sizeof upper, "%s", title);
    for (char *p = upper; *p; p++) *p = (char)toupper((unsigned char)*p);
    SendDlgItemMessageA(form, IDT_DOC_TITLE, WM_SETFONT, (WPARAM)sTitleFont, TRUE);
    SetDlgItemTextA(form, IDT_DOC_TITLE, upper);
    HWND barcode = GetDlgItem(form, IDE_DOC_BARCODE);
    if (barcode) {
        QlEditEnterAttach(barcode);
        sBarcodeFont = QlTransMakeBarcodeFont();
        SendMessageA(barcode, EM_LIMITTEXT, 30, 0);
        SendMessageA(barcode, WM_SETFONT, (WPARAM)sBarcodeFont, TRUE);
        SetWindowTextA(barcode, "");
    }
}

void QlTransFormEndParts(HWND form)
{
    if (!form || form != sPartsForm) return;
    QlEditEnterDetach(GetDlgItem(form, IDE_DOC_BARCODE));
    if (sPartsBar && *sPartsBar && GetParent(*sPartsBar) == form) {
        QlToolbarDestroy(*sPartsBar, sPartsItems, sPartsCount);
        *sPartsBar = NULL;
    }
    if (sPartsBar == &QlFormOwnToolbar) {
        QlFormOwnToolbarItems = NULL;
        QlFormOwnToolbarCount = 0;
    }
    if (sTitleFont) DeleteObject(sTitleFont);
    if (sBarcodeFont) DeleteObject(sBarcodeFont);
    sTitleFont = sBarcodeFont = NULL;
    sPartsForm = NULL;
    sPartsBar = NULL;
    sPartsItems = NULL;
    sPartsCount = 0;
}

int QlTransFormIsToolbarCommand(HWND form, int id, LPARAM lParam)
{
    // Enter and Escape in the form's fields send IDOK and IDCANCEL, whose
    // numbers the tool bar's buttons share: only the bar's own clicks count.
    return form == sPartsForm && sPartsBar && id >= 0 && id < sPartsCount && lParam && (HWND)lParam == *sPartsBar &&
           GetParent(*sPartsBar) == form;
}

void QlTransFormSetAccountCaptions(HWND form, const char *toCaption, const char *numberCaption,
                                   const char *dateCaption)
{
    const QlTransTextRec *text = QlTransText();
    SetDlgItemTextA(form, IDT_DOC_TO_LABEL, toCaption);
    SetDlgItemTextA(form, IDT_DOC_NUMBER_LABEL, numberCaption);
    SetDlgItemTextA(form, IDT_DOC_DATE_LABEL, dateCaption);
    SetDlgItemTextA(form, IDT_DOC_ACREF_LABEL, text->AcRef);
    SetDlgItemTextA(form, IDT_DOC_ACCOUNT_LABEL, text->AcRef);
    SetDlgItemTextA(form, IDT_DOC_COMPANY_LABEL, text->CompanyName);
    SetDlgItemTextA(form, IDB_DOC_SELECT, text->Select);
    SetDlgItemTextA(form, IDB_DOC_ADD, text->Add);
    SetDlgItemTextA(form, IDB_DOC_EDIT, text->Edit);
    SetDlgItemTextA(form, IDB_DOC_DELETE, text->Delete);
    SetDlgItemTextA(form, IDT_DOC_CUSTOM_LABEL, text->CustomNumber);
    SetDlgItemTextA(form, IDT_DOC_NUMBER, text->AutoNumber);
    SendDlgItemMessageA(form, IDE_DOC_CUSTOM, EM_LIMITTEXT, 6, 0);
    SendDlgItemMessageA(form, IDE_DOC_ACREF, EM_LIMITTEXT, 5, 0);
    SendDlgItemMessageA(form, IDE_DOC_COMPANY, EM_LIMITTEXT, 39, 0);
    QlUiLimitAddressEdits(form);
    SendDlgItemMessageA(form, IDP_DOC_DATE, DTM_SETFORMATA, 0,
                        (LPARAM)(QlSettings.cfg.dateFormat[0] ? QlSettings.cfg.dateFormat : "d/MM/yyyy"));
}

void QlTransFormShowPendingAccount(HWND form)
{
    QlCustRec customer;
    char err[QL_DB_ERR_SIZE];
    if (QlTransPendingAcRef[0] && QlCustGetByAcRef(QlTransPendingAcRef, &customer, err))
        QlCustShowAddress(form, &customer);
}

void QlTransFormStartAccount(HWND form, const char *toCaption, const char *numberCaption, const char *dateCaption)
{
    QlTransFormSetAccountCaptions(form, toCaption, numberCaption, dateCaption);
    QlTransFormShowPendingAccount(form);
}

static void FocusBarcode(HWND form)
{
    HWND barcode = GetDlgItem(form, IDE_DOC_BARCODE);
    if (!barcode) return;
    SetWindowTextA(barcode, "");
    if (IsWindowEnabled(barcode)) SetFocus(barcode);
}

void QlTransFormSelectAccount(HWND form)
{
    const QlCustRec *taken = NULL;
    INT_PTR chosen = QlModuleOpeners.selectCustomer ? QlModuleOpeners.selectCustomer(form, &taken) : 0;
    FocusBarcode(form);
    if (chosen == 1 && taken) {
        QlCustShowAddress(form, taken);
        FocusBarcode(form);
    }
}

int QlTransFormDeleteLine(HWND form)
{
    HWND list = GetDlgItem(form, IDL_DOC_LINES);
    int row = (int)SendMessageA(list, LVM_GETNEXTITEM, (WPARAM)-1, LVNI_SELECTED);
    if (row < 0) return 0;
    const QlTransTextRec *text = QlTransText();
    char question[120];
    snprintf(question, sizeof question, text->DeleteLineQuestion, row + 1);
    int confirmed = QlMsgAskOkCancelLabel(form, text->DeleteLineCaption, question, QL_COLOUR_WARNING, text->Delete);
    FocusBarcode(form);
    if (!confirmed || !SendMessageA(list, LVM_DELETEITEM, row, 0)) return 0;
    if (QlTransLineCount > 0) QlTransLineCount--;
    return 1;
}

void QlTransFormCloseCommand(HWND form)
{
    int rows = (int)SendDlgItemMessageA(form, IDL_DOC_LINES, LVM_GETITEMCOUNT, 0, 0);
    if (rows == 0 || QlMsgAskCloseForm(form)) QlUiClosePane(form);
}

INT_PTR QlTransFormCtlColor(HWND form, HDC dc, HWND control)
{
    return QlTransFormStaticColour(form, dc, control, RGB(0, 0, 0));
}

INT_PTR QlTransFormStaticColour(HWND form, HDC dc, HWND control, COLORREF titleColour)
{
    int id = GetDlgCtrlID(control);
    int white = 0;
    for (int box : kWhiteBoxes) white |= box == id;
    if (!white) return FALSE;
    SetTextColor(dc, id == IDT_DOC_TITLE ? titleColour : RGB(0, 0, 0));
    SetBkColor(dc, RGB(255, 255, 255));
    return (INT_PTR)(QlBrushWhite ? QlBrushWhite : GetStockObject(WHITE_BRUSH));
}

HWND QlTransOpenForm(DLGPROC procedure)
{
    return QlTransOpenFormOn(procedure, IDD_TRANS_FORM);
}

HWND QlTransOpenFormOn(DLGPROC procedure, int templateId)
{
    QlUiDestroyModule();
    HWND form = QlUiCreateModeless(QlUiInstance(), QlMainWnd, procedure, templateId);
    if (!form || !IsWindow(form)) return NULL;
    QlModuleWnd = form;
    return form;
}

// ---------------------------------------------------------------------------
// Openers

HWND QlInvNew(void)
{
    return QlTransOpenForm(QlInvNewDlgProc);
}

HWND QlCreditNew(void)
{
    QlTransPendingAcRef[0] = '\0';
    return QlTransOpenForm(QlCreditNewDlgProc);
}

// The account of the customers module for the next form; 0 at the
// transaction limit (after the message).
static int TakeModuleAccount(HWND customersModule)
{
    int64_t count = 0;
    if (QlTransGetCount(&count) && count >= QL_TRANS_LIMIT) {
        QlMsgBox(customersModule, QlLangText()->Error, QlTransText()->MaxTransactions, QL_COLOUR_WARNING);
        return 0;
    }
    QlTransPendingAcRef[0] = '\0';
    QlUiGetField(customersModule, IDT_CUST_ACREF, QlTransPendingAcRef);
    return 1;
}

HWND QlInvNewForCust(HWND customersModule)
{
    return TakeModuleAccount(customersModule) ? QlTransOpenForm(QlInvNewDlgProc) : NULL;
}

HWND QlCreditNewForCust(HWND customersModule)
{
    return TakeModuleAccount(customersModule) ? QlTransOpenForm(QlCreditNewDlgProc) : NULL;
}

// ---------------------------------------------------------------------------
// The invoice editor

void QlTransFormShowGrossCaption(HWND form)
{
    const QlTransTextRec *text = QlTransText();
    int lang = QlLangIndex(QlSettings.cfg.language);
    char caption[80];
    SetDlgItemTextA(form, IDT_DOC_TOTAL_LABEL, text->Total);
    if (lang == QL_LANG_FRENCH) {
        snprintf(caption, sizeof caption, "%s", "Montant TTC");
    } else if (lang == QL_LANG_SPANISH || lang == QL_LANG_DANISH) {
        snprintf(caption, sizeof caption, "%s / %s:", QlSettings.cfg.currency, text->Total);
        SetDlgItemTextA(form, IDT_DOC_TOTAL_LABEL, text->Subtotal);
    } else {
        snprintf(caption, sizeof caption, "%s / %s:", QlSettings.cfg.currency, text->Gross);
    }
    SetDlgItemTextA(form, IDT_DOC_GROSS_LABEL, caption);
}

void QlTransFormSetInvoiceCaptions(HWND form)
{
    const QlTransTextRec *text = QlTransText();
    QlTransFormSetAccountCaptions(form, text->InvoiceTo, text->InvoiceNo, text->InvoiceDate);
    SetDlgItemTextA(form, IDT_DOC_TYPE_LABEL, text->InvoiceType);
    SetDlgItemTextA(form, IDT_DOC_ORDER_LABEL, text->OrderNumber);
    SetDlgItemTextA(form, IDT_DOC_BARCODE_PROMPT, text->ScanPrompt);
    SetDlgItemTextA(form, IDT_DOC_CARRIAGE_LABEL, text->Carriage);
    SetDlgItemTextA(form, IDT_DOC_CARRIAGE_TOTAL_LABEL, text->Carriage);
    SetDlgItemTextA(form, IDT_DOC_CARRIAGE_TAX_LABEL, QlSettings.cfg.taxName);
    QlTransFillRateCombo(form, IDC_DOC_CARRIAGE_RATE);
    QlUiSetMoneySplit(form, IDE_DOC_CARRIAGE_TAX_UNITS, IDE_DOC_CARRIAGE_TAX_HUNDREDTHS, 0, 0);
    char price[80];
    snprintf(price, sizeof price, "%s (%s)", text->Price, QlSettings.cfg.currency);
    SetDlgItemTextA(form, IDT_DOC_PRICE_LABEL, price);
    QlTransFormShowGrossCaption(form);
}

static void SetEditorCaptions(HWND form)
{
    QlTransFormSetInvoiceCaptions(form);
    QlTransFormShowPendingAccount(form);
}

static void EnableBarcode(HWND form, int enable)
{
    EnableWindow(GetDlgItem(form, IDE_DOC_BARCODE), enable);
    EnableWindow(GetDlgItem(form, IDT_DOC_BARCODE_PROMPT), enable);
}

static void SumLines(HWND form)
{
    QlTransFormSumItems(form, QlTransLineMode == 1 ? QL_LAYOUT_PRODUCT : QL_LAYOUT_SERVICE);
    QlTransFormUpdateGross(form);
}

static BOOL OnInitDialog(HWND form)
{
    QlModuleWnd = form;
    QlTransFormFitPane(form);
    QlTransFormShiftHeader(form);
    QlTransFormStartParts(form, QlTransText()->InvoiceTitle);
    QlUiDocFitColumnsHook = QlTransFormFitColumns;
    SetEditorCaptions(form);

    QlTransLineMode = 0;
    HWND type = GetDlgItem(form, IDC_DOC_TYPE);
    SendMessageA(type, CB_ADDSTRING, 0, (LPARAM)QlLangText()->InvTypeService);
    SendMessageA(type, CB_ADDSTRING, 0, (LPARAM)QlLangText()->InvTypeProduct);
    SendMessageA(type, CB_SETCURSEL, 0, 0);

    QlUiStretchItemRight(form, IDL_DOC_LINES, 3);
    HWND list = GetDlgItem(form, IDL_DOC_LINES);
    QlTransSetServColumns(list, QlServColumnWidths);
    SendDlgItemMessageA(form, IDE_DOC_ORDER, EM_LIMITTEXT, 10, 0);
    QlTransFormInitTotals(form);
    SetDlgItemTextA(form, IDT_DOC_GROSS, "0.00");
    QlTransLineCount = 0;

    if (QlSettings.cfg.invoiceType == 1) {
        SendMessageA(type, CB_SETCURSEL, 1, 0);
        QlTransChangeFormType(form, QlServColumnWidths, 0);
    } else {
        EnableBarcode(form, 0);
    }
    QlTransFormSetColumnWidths(form, QlTransLineMode);
    if (QlTransMainMaximized()) QlUiLayoutDocEditor(form, QlTransLineMode);
    return TRUE;
}

int QlTransChangeFormType(HWND form, const int *serviceWidths, int fit)
{
    int selection = (int)SendDlgItemMessageA(form, IDC_DOC_TYPE, CB_GETCURSEL, 0, 0);
    if (selection < 0 || selection == QlTransLineMode) return 0;
    HWND list = GetDlgItem(form, IDL_DOC_LINES);
    if (SendMessageA(list, LVM_GETITEMCOUNT, 0, 0) > 0) {
        const QlTransTextRec *text = QlTransText();
        if (!QlMsgAskOkCancel(form, text->TypeChangeCaption, text->TypeChangeQuestion, QL_COLOUR_WARNING)) {
            SendDlgItemMessageA(form, IDC_DOC_TYPE, CB_SETCURSEL, QlTransLineMode, 0);
            return 0;
        }
    }
    QlTransLineMode = selection == 1 ? 1 : 0;
    SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
    QlTransLineCount = 0;
    if (QlTransLineMode == 1) {
        const int widths[QL_PROD_COLUMNS] = {40, serviceWidths[0] - 80, 40, serviceWidths[1], serviceWidths[2],
                                             serviceWidths[3], serviceWidths[4], serviceWidths[5], serviceWidths[6]};
        QlTransSetProdColumns(list, widths);
        EnableBarcode(form, 1);
        SetFocus(GetDlgItem(form, IDE_DOC_BARCODE));
    } else {
        EnableBarcode(form, 0);
        QlTransSetServColumns(list, serviceWidths);
    }
    QlTransFormInitTotals(form);
    QlTransUpdateCarriage(form);
    if (fit && QlTransMainMaximized()) QlTransFormFitColumns(form, QlTransLineMode);
    return 1;
}

void QlTransUpdateCarriage(HWND form)
{
    int rate = (int)SendDlgItemMessageA(form, IDC_DOC_CARRIAGE_RATE, CB_GETCURSEL, 0, 0);
    if (rate >= 0 && rate < QL_RATE_COUNT) {
        int64_t carriage = QlUiGetCentsSplit(form, IDE_DOC_CARRIAGE_UNITS, IDE_DOC_CARRIAGE_HUNDREDTHS);
        QlUiSetCentsSplit(form, QlMoneyApplyRate(QlSettings.rates[rate], carriage), IDE_DOC_CARRIAGE_TAX_UNITS,
                          IDE_DOC_CARRIAGE_TAX_HUNDREDTHS);
    }
    QlTransFormShowCarriage(form);
    QlUiSetCents(form, IDT_DOC_CARRIAGE_TAX,
                 QlUiGetCentsSplit(form, IDE_DOC_CARRIAGE_TAX_UNITS, IDE_DOC_CARRIAGE_TAX_HUNDREDTHS));
    QlTransFormUpdateGross(form);
}

void QlTransOnBarcodeEnter(HWND form, int flag)
{
    char barcode[31];
    QlUiGetField(form, IDE_DOC_BARCODE, barcode);
    SetDlgItemTextA(form, IDE_DOC_BARCODE, "");
    if (strlen(barcode) >= QL_BARCODE_MIN_LENGTH) {
        snprintf(QlTransScanBuffer, sizeof QlTransScanBuffer, "%s", barcode);
        QlTransAddItem(form, flag);
    } else {
        const QlTransTextRec *text = QlTransText();
        char message[120];
        snprintf(message, sizeof message, text->FormBarcodeTooShort, (unsigned)QL_BARCODE_MIN_LENGTH);
        QlMsgBox(form, text->InvalidBarcode, message, QL_COLOUR_WARNING);
    }
    HWND field = GetDlgItem(form, IDE_DOC_BARCODE);
    if (field) SetFocus(field);
}

// ---------------------------------------------------------------------------
// Rebuild

// The texts that a rebuilt form takes over, with the sizes they are read in.
static const struct {
    int id;
    int size;
} kKeptTexts[] = {
    {IDE_DOC_ACREF, 6},   {IDT_DOC_ACREF, 6},     {IDE_DOC_COMPANY, 40},      {IDE_DOC_ADDR1, 40},
    {IDE_DOC_ADDR2, 40},  {IDE_DOC_ADDR3, 40},    {IDE_DOC_ORDER, 64},        {IDE_DOC_CUSTOM, 64},
    {IDE_DOC_CARRIAGE_UNITS, 64}, {IDE_DOC_CARRIAGE_HUNDREDTHS, 8}, {IDE_DOC_CARRIAGE_TAX_UNITS, 64},
    {IDE_DOC_CARRIAGE_TAX_HUNDREDTHS, 8}, {IDT_DOC_DISCOUNT, 64}, {IDT_DOC_NET, 64}, {IDT_DOC_TAX, 64},
    {IDT_DOC_CARRIAGE, 64}, {IDT_DOC_CARRIAGE_TAX, 64}, {IDT_DOC_GROSS, 64},
};
#define KEPT_COUNT ((int)ARRAYSIZE(kKeptTexts))
#define KEPT_CELL 128

struct KeptForm {
    char texts[KEPT_COUNT][64];
    int type;
    int carriageRate;
    SYSTEMTIME date;
    int haveDate;
    int rows;
    int columns;
    char *cells;   // rows x columns cells of KEPT_CELL bytes
};

static int KeepForm(HWND form, KeptForm *kept)
{
    memset(kept, 0, sizeof *kept);
    for (int i = 0; i < KEPT_COUNT; i++) QlUiGetField(form, kKeptTexts[i].id, kept->texts[i], kKeptTexts[i].size);
    kept->type = (int)SendDlgItemMessageA(form, IDC_DOC_TYPE, CB_GETCURSEL, 0, 0);
    if (kept->type < 0) kept->type = QlTransLineMode;
    kept->carriageRate = (int)SendDlgItemMessageA(form, IDC_DOC_CARRIAGE_RATE, CB_GETCURSEL, 0, 0);
    kept->haveDate = SendDlgItemMessageA(form, IDP_DOC_DATE, DTM_GETSYSTEMTIME, 0, (LPARAM)&kept->date) == GDT_VALID;
    HWND list = GetDlgItem(form, IDL_DOC_LINES);
    kept->rows = (int)SendMessageA(list, LVM_GETITEMCOUNT, 0, 0);
    kept->columns = QlListColumnCount(list);
    if (kept->rows == 0 || kept->columns == 0) return 1;
    kept->cells = (char *)calloc((size_t)kept->rows * kept->columns, KEPT_CELL);
    if (!kept->cells) return 0;
    for (int r = 0; r < kept->rows; r++)
        for (int c = 0; c < kept->columns; c++)
            QlListGetCell(list, r, c, kept->cells + ((size_t)r * kept->columns + c) * KEPT_CELL, KEPT_CELL);
    return 1;
}

static void RestoreForm(HWND form, const KeptForm *kept)
{
    for (int i = 0; i < KEPT_COUNT; i++) SetDlgItemTextA(form, kKeptTexts[i].id, kept->texts[i]);
    if (kept->carriageRate >= 0) SendDlgItemMessageA(form, IDC_DOC_CARRIAGE_RATE, CB_SETCURSEL, kept->carriageRate, 0);
    if (kept->haveDate) SendDlgItemMessageA(form, IDP_DOC_DATE, DTM_SETSYSTEMTIME, GDT_VALID, (LPARAM)&kept->date);
    HWND list = GetDlgItem(form, IDL_DOC_LINES);
    int columns = QlListColumnCount(list);
    for (int r = 0; r < kept->rows; r++) {
        const char *row = kept->cells + (size_t)r * kept->columns * KEPT_CELL;
        LVITEMA item = {};
        item.mask = LVIF_TEXT | LVIF_PARAM;
        item.iItem = r;
        item.pszText = (char *)row;
        item.lParam = -1;
        int index = (int)SendMessageA(list, LVM_INSERTITEMA, 0, (LPARAM)&item);
        for (int c = 1; c < kept->columns && c < columns && index >= 0; c++)
            QlListSetCell(list, index, c, row + (size_t)c * KEPT_CELL);
    }
    // The next line goes after the rows taken over.
    QlTransLineCount = kept->rows;
}

HWND QlTransFormRebuild(HWND form)
{
    KeptForm kept;
    if (!KeepForm(form, &kept)) return NULL;
    int savedType = QlSettings.cfg.invoiceType;
    QlSettings.cfg.invoiceType = kept.type;
    if (QlModuleWnd != form) DestroyWindow(form);
    HWND rebuilt = QlTransOpenForm(QlInvNewDlgProc);
    if (rebuilt) RestoreForm(rebuilt, &kept);
    QlSettings.cfg.invoiceType = savedType;
    free(kept.cells);
    return rebuilt;
}

// ---------------------------------------------------------------------------
// Messages

int QlTransFormLineCommand(HWND form, int id, int code, LPARAM lParam, int docType, int addFlag)
{
    if (QlTransFormIsToolbarCommand(form, id, lParam)) {
        if (id == QL_FORM_CMD_SAVE) {
            if (QlTransSave(form, docType, QlTransLineMode)) QlUiClosePane(form);
        } else {
            QlTransFormCloseCommand(form);
        }
        return 1;
    }
    switch (id) {
    case IDB_DOC_ADD:
        QlTransScanBuffer[0] = '\0';
        QlTransAddItem(form, addFlag);
        return 1;
    case IDB_DOC_EDIT:
        if (QlTransEditItem(form)) SumLines(form);
        return 1;
    case IDB_DOC_SELECT: QlTransFormSelectAccount(form); return 1;
    case IDC_DOC_TYPE:
        // A change made with the keyboard has no drop-down to close.
        if (code == CBN_CLOSEUP || (code == CBN_SELCHANGE && !SendMessageA((HWND)lParam, CB_GETDROPPEDSTATE, 0, 0)))
            if (QlTransChangeFormType(form, QlServColumnWidths, 1)) QlTransFormSetColumnWidths(form, QlTransLineMode);
        return 1;
    }
    return 0;
}

INT_PTR QlTransFormDestroyed(HWND form)
{
    QlTransFormEndParts(form);
    if (QlModuleWnd == form) QlModuleWnd = NULL;
    return FALSE;
}

static void OnCommand(HWND form, int id, int code, LPARAM lParam)
{
    if (QlTransFormLineCommand(form, id, code, lParam, QL_DOC_INVOICE, 0)) return;
    switch (id) {
    case IDB_DOC_DELETE:
        if (QlTransFormDeleteLine(form)) SumLines(form);
        return;
    case IDE_DOC_CARRIAGE_UNITS:
    case IDE_DOC_CARRIAGE_HUNDREDTHS:
        if (code == EN_CHANGE) QlTransUpdateCarriage(form);
        return;
    case IDC_DOC_CARRIAGE_RATE:
        if (code == CBN_SELCHANGE) QlTransUpdateCarriage(form);
        return;
    }
}

static void OnNotify(HWND form, const NMHDR *header)
{
    if (header->idFrom == IDL_DOC_LINES && header->code == NM_DBLCLK && QlTransEditItem(form)) SumLines(form);
}

INT_PTR CALLBACK QlInvNewDlgProc(HWND form, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_INITDIALOG: return OnInitDialog(form);
    case WM_COMMAND: OnCommand(form, LOWORD(wParam), HIWORD(wParam), lParam); return TRUE;
    case WM_NOTIFY: OnNotify(form, (const NMHDR *)lParam); return FALSE;
    case QL_WM_ENTER_KEY:
        if (QlTransLineMode == 1) QlTransOnBarcodeEnter(form, 0);
        return TRUE;
    case QL_WM_MAIN_MAXIMIZED: QlUiLayoutDocEditor(form, QlTransLineMode); return TRUE;
    case QL_WM_MAIN_RESTORED: QlTransFormRebuild(form); return TRUE;
    case WM_CTLCOLOREDIT:
        if ((HWND)lParam != GetDlgItem(form, IDE_DOC_BARCODE)) return FALSE;
        SetTextColor((HDC)wParam, QL_COLOUR_WARNING);
        SetBkColor((HDC)wParam, RGB(255, 255, 255));
        return (INT_PTR)(QlBrushWhite ? QlBrushWhite : GetStockObject(WHITE_BRUSH));
    case WM_CTLCOLORSTATIC: return QlTransFormStaticColour(form, (HDC)wParam, (HWND)lParam, RGB(0, 0, 0));
    case WM_CLOSE: return TRUE;   // not a command of the form
    case WM_DESTROY: return QlTransFormDestroyed(form);
    }
    return FALSE;
}
