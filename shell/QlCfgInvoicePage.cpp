// The invoice appearance page of the settings window (dialog 204) and its
// cell-margin dialog (351): logo with its preview, barcode, grid lines and
// optional columns, the bottom lines and their point size, the default
// invoice type, the date format, the total in words and the cell margins.
//
// Save stores the page and writes the settings file.  Two things take effect
// at once, apart from Save: "Load Defaults" (the default invoice type) and
// the cell margins chosen in dialog 351.
//
// The preview shows a bitmap of the page's own, copied from the picture
// library's at the load (the library's own is valid only until its next
// load); the page releases it when it loads another or closes.

#include "shell/QlCfgPages.h"
#include "shell/QlShellTexts.h"

#include "ui/QlMsgDialog.h"
#include "print/QlPicture.h"
#include "ui/QlWindow.h"
#include "resources/QlResIds.h"
#include "settings/QlLangTables.h"
#include "settings/QlSettings.h"
#include "shell/QlShellTables.h"

#include <stdio.h>
#include <string.h>

#define PREVIEW_PROP "PREVWNDPROC"
#define DEFAULT_POINT_SIZE 7
#define MAX_POINT_SIZE 16
#define MAX_CELL_MARGIN 10

static const char *const kDateFormats[] = {"d/MM/yyyy", "MM/dd/yyyy", NULL};

// The six print options, then the registration number and the bottom lines.
static const struct {
    int id;
    size_t offset;
} kOptions[] = {
    {IDB_CFG_GRID_LINES, offsetof(QlSettingsRec, printGridLines)},
    {IDB_CFG_ORDER_NUMBER, offsetof(QlSettingsRec, printOrderNumber)},
    {IDB_CFG_RATE_COLUMN, offsetof(QlSettingsRec, printRateColumn)},
    {IDB_CFG_DISCOUNT_COLUMN, offsetof(QlSettingsRec, printDiscountColumn)},
    {IDB_CFG_CARRIAGE, offsetof(QlSettingsRec, printCarriage)},
    {IDB_CFG_TAX_NUMBER, offsetof(QlSettingsRec, printTaxNumber)},
    {IDB_CFG_REG_NUMBER, offsetof(QlSettingsRec, printRegNumber)},
    {IDB_CFG_BOTTOM_LINES, offsetof(QlSettingsRec, printBottomLines)},
    {IDB_CFG_PRINT_LOGO, offsetof(QlSettingsRec, printLogo)},
    {IDB_CFG_PRINT_BARCODE, offsetof(QlSettingsRec, printBarcode)},
};

#define QL_CFG_LINE(id, i)                                                                                     \
    {(id), offsetof(QlSettingsRec, bottomLines) + (i) * sizeof(QlSettingsRec::bottomLines[0]),                 \
     sizeof(QlSettingsRec::bottomLines[0]), 40 - 1}
static const QlCfgTextField kTextFields[] = {
    QL_CFG_LINE(IDE_CFG_LINE1, 0), QL_CFG_LINE(IDE_CFG_LINE2, 1), QL_CFG_LINE(IDE_CFG_LINE3, 2),
    QL_CFG_LINE(IDE_CFG_LINE4, 3), QL_CFG_LINE(IDE_CFG_LINE5, 4), QL_CFG_LINE(IDE_CFG_LINE6, 5),
    QL_CFG_LINE(IDE_CFG_LINE7, 6), QL_CFG_LINE(IDE_CFG_LINE8, 7), QL_CFG_LINE(IDE_CFG_LINE9, 8),
    QL_CFG_FIELD(IDE_CFG_LOGO_PATH, logoPath, 259),
};
static const int kTextFieldCount = (int)(sizeof kTextFields / sizeof kTextFields[0]);

static HBITMAP sPreview;
static QlPictureSizeRec sPreviewSize;

int QlCfgMarginTop;
int QlCfgMarginRight;

static int32_t *OptionField(QlSettingsRec *cfg, size_t offset)
{
    return (int32_t *)((char *)cfg + offset);
}

static int IsEnglish(void)
{
    return QlLangIndex(QlSettings.cfg.language) == QL_LANG_ENGLISH;
}

HBITMAP QlCfgLogoPreview(void)
{
    return sPreview;
}

static void ReleasePreview(void)
{
    if (sPreview) DeleteObject(sPreview);
    sPreview = NULL;
}

// Loads the picture into the preview; 1 when it loaded.
static int LoadPreview(HWND page, const char *path)
{
    ReleasePreview();
    sPreview = QlPictureLoadCopy(path, &sPreviewSize);
    InvalidateRect(GetDlgItem(page, IDP_CFG_LOGO_PREVIEW), NULL, TRUE);
    return sPreview != NULL;
}

// ---------------------------------------------------------------------------
// The preview static

static void PaintPreview(HWND preview, HDC dc)
{
    RECT area;
    GetClientRect(preview, &area);
    FillRect(dc, &area, (HBRUSH)GetStockObject(WHITE_BRUSH));
    if (!sPreview || sPreviewSize.width <= 0 || sPreviewSize.height <= 0) return;
    int size[2] = {sPreviewSize.width, sPreviewSize.height};
    QlPictureFitScale(size, (float)area.right, (float)area.bottom);
    HDC memory = CreateCompatibleDC(dc);
    if (!memory) return;
    HGDIOBJ old = SelectObject(memory, sPreview);
    SetStretchBltMode(dc, HALFTONE);
    StretchBlt(dc, 0, 0, size[0], size[1], memory, 0, 0, sPreviewSize.width, sPreviewSize.height, SRCCOPY);
    SelectObject(memory, old);
    DeleteDC(memory);
}

LRESULT CALLBACK QlCfgLogoPreviewProc(HWND preview, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_PAINT) {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(preview, &paint);
        if (dc) PaintPreview(preview, dc);
        EndPaint(preview, &paint);
        return 0;
    }
    WNDPROC previous = (WNDPROC)GetPropA(preview, PREVIEW_PROP);
    return previous ? CallWindowProcA(previous, preview, msg, wParam, lParam)
                    : DefWindowProcA(preview, msg, wParam, lParam);
}

static void AttachPreview(HWND page)
{
    HWND preview = GetDlgItem(page, IDP_CFG_LOGO_PREVIEW);
    if (!preview) return;
    LONG_PTR previous = SetWindowLongPtrA(preview, GWLP_WNDPROC, (LONG_PTR)QlCfgLogoPreviewProc);
    SetPropA(preview, PREVIEW_PROP, (HANDLE)previous);
}

static void DetachPreview(HWND page)
{
    HWND preview = GetDlgItem(page, IDP_CFG_LOGO_PREVIEW);
    if (preview) {
        HANDLE previous = RemovePropA(preview, PREVIEW_PROP);
        if (previous) SetWindowLongPtrA(preview, GWLP_WNDPROC, (LONG_PTR)previous);
    }
    ReleasePreview();
}

// ---------------------------------------------------------------------------
// Fill and save

static void LabelPage(HWND page)
{
    const QlShellTextRec *text = QlShellText();
    SetDlgItemTextA(page, IDB_CFG_PRINT_LOGO, text->CfgPrintLogo);
    SetDlgItemTextA(page, IDB_CFG_LOGO_BROWSE, text->CfgBrowse);
    SetDlgItemTextA(page, IDB_CFG_PRINT_BARCODE, text->CfgPrintBarcode);
    for (int i = 0; i < 6; i++) SetDlgItemTextA(page, kOptions[i].id, text->CfgPrintOptions[i]);
    SetDlgItemTextA(page, IDB_CFG_REG_NUMBER, text->CfgPrintRegNo);
    SetDlgItemTextA(page, IDB_CFG_BOTTOM_LINES, text->CfgBottomLines);
    SetDlgItemTextA(page, IDT_CFG_POINT_SIZE, text->CfgPointSize);
    SetDlgItemTextA(page, IDT_CFG_INVOICE_TYPE, text->CfgInvoiceType);
    SetDlgItemTextA(page, IDB_CFG_LOAD_DEFAULTS, text->CfgLoadDefaults);
    SetDlgItemTextA(page, IDT_CFG_DATE_FORMAT, text->CfgDateFormat);
    SetDlgItemTextA(page, IDB_CFG_TOTAL_IN_WORDS, text->CfgTotalInWords);
    SetDlgItemTextA(page, IDB_CFG_CELL_MARGIN, text->CfgCellMargin);
}

static void FillCombo(HWND page, int id, const char *const *items, int selected)
{
    HWND combo = GetDlgItem(page, id);
    SendMessageA(combo, CB_RESETCONTENT, 0, 0);
    for (int i = 0; items[i]; i++) SendMessageA(combo, CB_ADDSTRING, 0, (LPARAM)items[i]);
    SendMessageA(combo, CB_SETCURSEL, selected, 0);
}

void QlCfgInvoicePageFill(HWND page)
{
    QlSettingsRec *cfg = &QlSettings.cfg;
    FillCombo(page, IDC_CFG_INVOICE_TYPE, QlInvoiceTypeTable, cfg->invoiceType);
    FillCombo(page, IDC_CFG_DATE_FORMAT, kDateFormats, -1);
    char format[sizeof cfg->dateFormat];
    memcpy(format, cfg->dateFormat, sizeof format);
    format[sizeof format - 1] = '\0';
    SendDlgItemMessageA(page, IDC_CFG_DATE_FORMAT, CB_SELECTSTRING, (WPARAM)-1, (LPARAM)format);

    for (const auto &option : kOptions)
        CheckDlgButton(page, option.id, *OptionField(cfg, option.offset) ? BST_CHECKED : BST_UNCHECKED);
    if (IsEnglish()) CheckDlgButton(page, IDB_CFG_TOTAL_IN_WORDS, cfg->printTotalInWords ? BST_CHECKED : BST_UNCHECKED);

    QlCfgFillFields(page, kTextFields, kTextFieldCount, cfg);
    SetDlgItemInt(page, IDE_CFG_POINT_SIZE, (UINT)cfg->bottomPointSize, FALSE);
    SendDlgItemMessageA(page, IDE_CFG_POINT_SIZE, EM_LIMITTEXT, 2, 0);

    if (cfg->printLogo && cfg->logoPath[0] && LoadPreview(page, cfg->logoPath)) InvalidateRect(page, NULL, TRUE);
}

void QlCfgInvoicePageSave(HWND page)
{
    QlSettingsRec *cfg = &QlSettings.cfg;
    int type = (int)SendDlgItemMessageA(page, IDC_CFG_INVOICE_TYPE, CB_GETCURSEL, 0, 0);
    if (type >= 0 && type <= 1) cfg->invoiceType = type;
    if (SendDlgItemMessageA(page, IDC_CFG_DATE_FORMAT, CB_GETCURSEL, 0, 0) >= 0) {
        memset(cfg->dateFormat, 0, sizeof cfg->dateFormat);
        QlUiGetField(page, IDC_CFG_DATE_FORMAT, cfg->dateFormat);
    }
    for (const auto &option : kOptions)
        *OptionField(cfg, option.offset) = IsDlgButtonChecked(page, option.id) == BST_CHECKED;
    if (IsEnglish()) cfg->printTotalInWords = IsDlgButtonChecked(page, IDB_CFG_TOTAL_IN_WORDS) == BST_CHECKED;
    QlCfgStoreFields(page, kTextFields, kTextFieldCount, cfg);

    unsigned size = 0;
    if (QlCfgReadNumber(page, IDE_CFG_POINT_SIZE, 9, &size) && size >= 1 && size <= MAX_POINT_SIZE) {
        cfg->bottomPointSize = (int32_t)size;
    } else {
        cfg->bottomPointSize = DEFAULT_POINT_SIZE;
        QlMsgBox(page, QlShellText()->CfgPointSizeCaption, QlShellText()->CfgPointSizeText, QL_COLOUR_WARNING);
    }
    QlCfgSaveFile(page);
}

// ---------------------------------------------------------------------------
// Commands

void QlCfgLogoBrowse(HWND page)
{
    char path[MAX_PATH];
    if (!QlPictureChooseLogo(page, path)) return;
    // A file that is not a whole BMP, JPEG, GIF or PNG picture within the
    // picture library's ceiling is refused as it is chosen: the path and the
    // preview stay as they were, and the message names the file and says
    // what is read.
    QlPictureSizeRec size = {};
    HBITMAP preview = QlPictureFileChecks(path) ? QlPictureLoadCopy(path, &size) : NULL;
    if (!preview) {
        char rules[200], text[80 + MAX_PATH + sizeof rules + 8];
        snprintf(rules, sizeof rules, QlShellText()->CfgLogoRules, GLIMMET_MOST_SIDE, GLIMMET_MOST_SIDE,
                 GLIMMET_MOST_DECODED_MB);
        snprintf(text, sizeof text, "%s\n\n%s\n\n%s", QlShellText()->CfgLogoFailed, path, rules);
        QlMsgBoxTall(page, QlLangText()->Error, text, QL_COLOUR_WARNING);   // room for a long path
        return;
    }
    ReleasePreview();
    sPreview = preview;
    sPreviewSize = size;
    SetDlgItemTextA(page, IDE_CFG_LOGO_PATH, path);
    InvalidateRect(GetDlgItem(page, IDP_CFG_LOGO_PREVIEW), NULL, TRUE);
    InvalidateRect(page, NULL, TRUE);
}

static void OnLoadDefaults(HWND page)
{
    QlSettings.cfg.invoiceType = 0;
    SendDlgItemMessageA(page, IDC_CFG_INVOICE_TYPE, CB_SETCURSEL, 0, 0);
}

static void OnCellMargin(HWND page)
{
    QlCfgMarginTop = QlSettings.cfg.cellMarginTop;
    QlCfgMarginRight = QlSettings.cfg.cellMarginRight;
    INT_PTR chosen =
        DialogBoxParamA(QlUiInstance(), MAKEINTRESOURCEA(IDD_CELL_MARGIN), page, QlCfgCellMarginDlgProc, 0);
    if (chosen != 1) return;
    QlSettings.cfg.cellMarginTop = (uint16_t)QlCfgMarginTop;
    QlSettings.cfg.cellMarginRight = (uint16_t)QlCfgMarginRight;
}

static void OnCommand(HWND page, int id, int code)
{
    if (code == BN_CLICKED) {
        switch (id) {
        case IDB_CFG_LOGO_BROWSE: QlCfgLogoBrowse(page); return;
        case IDB_CFG_LOAD_DEFAULTS: OnLoadDefaults(page); return;
        case IDB_CFG_CELL_MARGIN: OnCellMargin(page); return;
        }
    }
    QlCfgPageCommand(page, id, code, QlCfgInvoicePageSave);
}

static BOOL OnInitDialog(HWND page)
{
    AttachPreview(page);
    QlCfgPageInit(page);
    LabelPage(page);
    // The total in words exists in English only.
    if (!IsEnglish()) DestroyWindow(GetDlgItem(page, IDB_CFG_TOTAL_IN_WORDS));
    QlCfgInvoicePageFill(page);
    return TRUE;
}

INT_PTR CALLBACK QlCfgInvoicePageDlgProc(HWND page, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_INITDIALOG: return OnInitDialog(page);
    case WM_COMMAND: OnCommand(page, LOWORD(wParam), HIWORD(wParam)); return TRUE;
    case WM_DESTROY:
        DetachPreview(page);
        QlCfgPageToolbarDestroy();
        return FALSE;
    }
    return FALSE;
}

// ---------------------------------------------------------------------------
// Cell margins (dialog 351)

static void FillMargin(HWND dialog, int id, int value)
{
    HWND combo = GetDlgItem(dialog, id);
    for (int i = 0; i <= MAX_CELL_MARGIN; i++) {
        char text[4];
        snprintf(text, sizeof text, "%d", i);
        SendMessageA(combo, CB_ADDSTRING, 0, (LPARAM)text);
    }
    SendMessageA(combo, CB_SETCURSEL, value >= 0 && value <= MAX_CELL_MARGIN ? value : 0, 0);
}

INT_PTR CALLBACK QlCfgCellMarginDlgProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_INITDIALOG: {
        const QlShellTextRec *text = QlShellText();
        QlUiCenterWindow(dialog);
        SetWindowTextA(dialog, text->CfgMarginCaption);
        SetDlgItemTextA(dialog, IDT_CELL_MARGIN_TOP, text->CfgMarginTop);
        SetDlgItemTextA(dialog, IDT_CELL_MARGIN_RIGHT, text->CfgMarginRight);
        SetDlgItemTextA(dialog, IDOK, QlLangText()->Ok);
        SetDlgItemTextA(dialog, IDCANCEL, QlLangText()->Cancel);
        FillMargin(dialog, IDC_CELL_MARGIN_TOP, QlCfgMarginTop);
        FillMargin(dialog, IDC_CELL_MARGIN_RIGHT, QlCfgMarginRight);
        return TRUE;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
            int top = (int)SendDlgItemMessageA(dialog, IDC_CELL_MARGIN_TOP, CB_GETCURSEL, 0, 0);
            int right = (int)SendDlgItemMessageA(dialog, IDC_CELL_MARGIN_RIGHT, CB_GETCURSEL, 0, 0);
            if (top >= 0) QlCfgMarginTop = top;
            if (right >= 0) QlCfgMarginRight = right;
            EndDialog(dialog, 1);
        } else if (LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, 0);
        }
        return TRUE;
    }
    return FALSE;
}
