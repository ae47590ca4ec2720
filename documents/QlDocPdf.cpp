// The PDF documents: invoices, credit notes and quotations as A4 pages in
// Helvetica (WinAnsiEncoding), drawn from the open form through the print
// stack's PDF helpers and saved under the default name ("INVOICE12.pdf")
// or where the user chooses in the save dialog.
//
// Points, y upwards; the margin u is one inch (the page height x 25.4 /
// 297).  Page one: the logo above the top margin, the company block and the
// recipient's box on the left, the title box and the header rows on the
// right (the invoice's title box 42 % of the printable width, the others a
// third).  Ten lines a page in a table of rows 26 points high, "Page x of
// n" at the top right and the continuation line under the bottom margin
// when there is more than one page; under the last page's table the totals,
// on invoices also the amount in words and the bottom lines.  An invoice's
// first page is set in 9 points, every other page in 10.
#include "documents/QlDocOutput.h"
#include "documents/QlDocPage.h"
#include "documents/QlDocStyle.h"
#include "documents/QlDocTexts.h"

#include "ui/QlAppState.h"
#include "ui/QlMsgDialog.h"
#include "core/QlPlatform.h"
#include "ui/QlSaveDialog.h"
#include "ui/QlSeams.h"
#include "core/QlTempFile.h"
#include "ui/QlUtil.h"
#include "ui/QlWindow.h"
#include "datastore/QlDbTables.h"
#include "docmodel/QlReadError.h"
#include "resources/QlResTrans.h"
#include "settings/QlLangTables.h"
#include "settings/QlSettings.h"

#include <commdlg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

namespace {

struct Pdf {
    HPDF_Doc doc;
    HPDF_Page page;
    HPDF_Font font;
    float W, H, u;
    HWND form;
    HWND lines;   // the form's line list, looked up once
    int kind;
    int lineMode;
    QlPrintStyleRec style;
};

void NewPage(Pdf &p, float size)
{
    p.page = HPDF_AddPage(p.doc);
    HPDF_Page_SetSize(p.page, HPDF_PAGE_SIZE_A4, HPDF_PAGE_PORTRAIT);
    HPDF_Page_SetTextLeading(p.page, 20);
    HPDF_Page_SetFontAndSize(p.page, p.font, size);
}

void Field(const Pdf &p, int id, char *text, int size)
{
    QlDocField(p.form, id, text, size);
}

void Title(const Pdf &p, char *text, int size)
{
    if (p.kind == QL_DOCK_QUOTE)
        snprintf(text, (size_t)size, "%s", QlDocText()->QuotationHeading);
    else
        Field(p, IDT_DOC_TITLE, text, size);
}

// Page one's header; returns the first table's top in the layout's
// downward coordinates.
int DrawHeader(Pdf &p)
{
    const QlSettingsRec &cfg = QlSettings.cfg;
    const float W = p.W, H = p.H, u = p.u;
    // A logo that is refused or cannot be read is left out, and the user is told.
    if (cfg.printLogo && cfg.logoPath[0] && !QlPdfDrawLogo(p.doc, p.page, cfg.logoPath, u, H - u, W, H, u))
        QlMsgBox(p.form, QlLangText()->Error, QlLangText()->LogoLoadFailed, QL_COLOUR_WARNING);
    float below[2];
    QlPdfCompanyHeader(p.form, p.page, W, u, H - u, u, below, &p.style);

    const float bw = p.kind == QL_DOCK_INVOICE ? (W - 2 * u) * 42 / 100 : (W - 2 * u) / 3;
    const float xb = (W - u) - bw, xv = (W - u) - bw / 2;
    char text[80];
    Title(p, text, sizeof text);
    QlPdfBoxWithText(p.page, xb, H - u - 25, bw, 25, 1.5f, text, 7, 0, 2);

    static const int labels[4] = {IDT_DOC_NUMBER_LABEL, IDT_DOC_DATE_LABEL, IDT_DOC_ACREF_LABEL, IDT_DOC_ORDER_LABEL};
    static const int values[4] = {IDT_DOC_NUMBER, IDP_DOC_DATE, IDT_DOC_ACREF, IDE_DOC_ORDER};
    const int rows = p.kind == QL_DOCK_INVOICE && cfg.printOrderNumber ? 4 : 3;
    float y = H - u - 75;
    for (int i = 0; i < rows; i++) {
        if (i > 0) y -= 37.5f;
        Field(p, labels[i], text, sizeof text);
        QlPdfTextAt(p.page, xb, y + 10, text);
        if (values[i] == IDP_DOC_DATE)
            QlDocReadDate(p.form, text, sizeof text);
        else
            Field(p, values[i], text, sizeof text);
        QlPdfBoxWithText(p.page, xv, y, bw / 2, 25, 1.5f, text, 5, 5, 0);
    }
    // 30 points under the last header box, or 10 under the recipient's
    // address when that reaches lower.
    int g = (int)(y - 30);
    if (below[1] < g) g = (int)(below[1] - 10);
    return (int)(H - g);
}

// Every page of the line table; *table is the last page's layout.  Rows
// grow to their wrapped texts (measured in the later pages' 10 points), and
// a page takes no more rows than end above the continuation line.
void DrawTable(Pdf &p, int firstTop, const QlDocColumnSet &columns, QlGridRec *table)
{
    const QlDocTextRec *t = QlDocText();
    const int kind = p.kind == QL_DOCK_CREDIT ? QL_LINE_CREDIT : p.lineMode == 1 ? QL_LINE_PRODUCT : QL_LINE_SERVICE;
    const int rows = QlDocListCount(p.form, IDL_DOC_LINES);
    int *heights = (int *)calloc((size_t)rows + 1, sizeof(int));
    int *counts = (int *)calloc((size_t)rows + 1, sizeof(int));
    int pages = 1;
    if (heights && counts) {
        QlGridRec probe;
        QlGridLayout(&probe, (int)p.u, 0, (int)(p.W - p.u), 0, 2, columns.count + 1, 26, columns.percent);
        QlPdfGridRec probeGrid;
        QlPdfGridFromLayout(&probe, &probeGrid, p.H);
        const float size = HPDF_Page_GetCurrentFontSize(p.page);
        HPDF_Page_SetFontAndSize(p.page, p.font, 10);
        for (int r = 0; r < rows; r++) {
            const float need = QlPdfLineRowNeed(p.page, p.lines, kind, &probeGrid, r, &p.style);
            heights[r] = need > 26 ? (int)need + 1 : 26;
        }
        HPDF_Page_SetFontAndSize(p.page, p.font, size);
        pages = QlGridPlanPages(heights, rows, QL_DOC_ROWS_PER_PAGE, firstTop, (int)p.u, 26, (int)(p.H - p.u), counts,
                               rows + 1);
    } else if (rows > 0) {
        // No room to measure: rows of the table's height, ten a page.
        free(heights);
        free(counts);
        heights = NULL;
        counts = NULL;
    }
    if (!counts) pages = QlDocPageCount(rows, QL_DOC_ROWS_PER_PAGE);
    int left = rows, listRow = 0;
    for (int page = 0; page < pages; page++) {
        if (page > 0) NewPage(p, 10);
        if (pages > 1) {
            char text[160];
            snprintf(text, sizeof text, "%s %u %s %u", t->PageWord, (unsigned)(page + 1), t->OfWord, (unsigned)pages);
            QlPdfTextRect(p.page, p.u, p.H - 15, p.W - p.u, 15, text, 1);
        }
        const int n = counts ? counts[page] : (left < QL_DOC_ROWS_PER_PAGE ? left : QL_DOC_ROWS_PER_PAGE);
        // A document without lines shows its table with one empty row.
        const int empty = 26;
        QlGridLayoutRows(table, (int)p.u, page == 0 ? firstTop : (int)p.u, (int)(p.W - p.u), 26,
                         n > 0 ? (heights ? heights + listRow : NULL) : &empty, n > 0 ? n : 1, columns.count + 1,
                         columns.percent);
        QlPdfGridRec grid;
        QlPdfGridFromLayout(table, &grid, p.H);
        QlPdfGridDrawLines(p.page, &grid, &p.style);
        QlDocPdfDrawTitles(p.page, &grid, columns.titles);
        for (int i = 0; i < n; i++) QlPdfLineRow(p.page, p.lines, kind, &grid, listRow++, i + 1, &p.style);
        if (pages > 1 && page < pages - 1) {
            char text[120];
            snprintf(text, sizeof text, "* %s *", t->ContinuedText);
            QlPdfTextRect(p.page, p.u, p.u, p.W - p.u, 15, text, 2);
        }
        left -= n;
    }
    free(heights);
    free(counts);
}

int Bottom(const QlGridRec *g)
{
    const int rows = QlGridRowLines(g);
    return rows > 0 ? g->rowLines[rows - 1].y1 : 0;
}

void Cell(const Pdf &p, const QlPdfGridRec *grid, int row, int column, int id, int align)
{
    char text[80];
    Field(p, id, text, sizeof text);
    QlPdfGridDrawCellText(p.page, grid, text, row, column, align, &p.style);
}

// Invoices and quotations: from the price column to the right margin, two
// or three rows (carriage), three or four columns (discount).  Returns the
// layout's bottom.
int DrawTotals(const Pdf &p, const QlGridRec *table, int priceColumn)
{
    const QlSettingsRec &cfg = QlSettings.cfg;
    const int discount = p.style.printDiscountColumn != 0, carriage = cfg.printCarriage != 0;
    static const int four[5] = {25, 25, 25, 25, 1}, three[5] = {33, 33, 34, 1, 1};
    QlGridRec totals;
    QlGridLayout(&totals, table->columnLines[priceColumn].x1, Bottom(table) + 5, (int)(p.W - p.u), 0,
                 carriage ? 4 : 3, discount ? 5 : 4, 26, discount ? four : three);
    QlPdfGridRec grid;
    QlPdfGridFromLayout(&totals, &grid, p.H);
    QlPdfGridDrawLines(p.page, &grid, &p.style);

    const QlDocTextRec *t = QlDocText();
    const int n = discount ? 2 : 1, tax = n + 1, last = carriage ? 2 : 1;
    QlPdfGridDrawCellText(p.page, &grid, t->TotalTitle, 0, 0, 0, &p.style);
    if (discount) Cell(p, &grid, 0, 1, IDT_DOC_DISCOUNT, 1);
    Cell(p, &grid, 0, n, IDT_DOC_NET, 1);
    Cell(p, &grid, 0, tax, IDT_DOC_TAX, 1);
    if (carriage) {
        QlPdfGridDrawCellText(p.page, &grid, t->CarriageLabel, 1, 0, 0, &p.style);
        Cell(p, &grid, 1, n, IDT_DOC_CARRIAGE, 1);
        Cell(p, &grid, 1, tax, IDT_DOC_CARRIAGE_TAX, 1);
    }
    Cell(p, &grid, last, 0, IDT_DOC_GROSS_LABEL, 0);
    Cell(p, &grid, last, tax, IDT_DOC_GROSS, 1);
    return Bottom(&totals);
}

// Credit notes: net, tax and gross from one Amount column's width left of
// the Amount column.
void DrawCreditTotals(const Pdf &p, const QlGridRec *table)
{
    static const int percent[5] = {33, 33, 34, 1, 1};
    const int x1 = table->columnLines[1].x1, x2 = table->columnLines[2].x1;
    QlGridRec totals;
    QlGridLayout(&totals, x1 - (x2 - x1), Bottom(table) + 5, (int)(p.W - p.u), 0, 3, 4, 26, percent);
    QlPdfGridRec grid;
    QlPdfGridFromLayout(&totals, &grid, p.H);
    QlPdfGridDrawLines(p.page, &grid, &p.style);

    const QlDocTextRec *t = QlDocText();
    char text[80];
    const float x = grid.columnLines[0].x1 + 5, top = grid.rowLines[0].y1;
    HPDF_Page_BeginText(p.page);
    HPDF_Page_TextOut(p.page, x, top - 10, t->TotalTitle);
    snprintf(text, sizeof text, "(%s)", QlSettings.cfg.currency);
    HPDF_Page_TextOut(p.page, x, top - 22, text);
    HPDF_Page_EndText(p.page);
    Cell(p, &grid, 0, 1, IDT_DOC_TAX, 1);
    Cell(p, &grid, 0, 2, IDT_DOC_CARRIAGE_TAX, 1);
    Cell(p, &grid, 1, 2, IDT_DOC_GROSS, 1);
    snprintf(text, sizeof text, "%s / %s", QlSettings.cfg.currency, t->GrossTitle);
    QlPdfGridDrawCellText(p.page, &grid, text, 1, 0, 1, &p.style);
}

void DrawWords(const Pdf &p, int top)
{
    char label[80], gross[80], line[512];
    Field(p, IDT_DOC_GROSS_LABEL, label, sizeof label);
    Field(p, IDT_DOC_GROSS, gross, sizeof gross);
    if (!QlDocWordsLine(label, gross, line, sizeof line)) return;
    static const int percent[2] = {100, 1};
    QlGridRec box;
    QlGridLayout(&box, (int)p.u, top, (int)(p.W - p.u), 0, 2, 2, 26, percent);
    QlPdfGridRec grid;
    QlPdfGridFromLayout(&box, &grid, p.H);
    QlPdfGridDrawLines(p.page, &grid, &p.style);
    QlPdfGridDrawCellText(p.page, &grid, line, 0, 0, 0, &p.style);
}

// The settings' bottom lines at a fixed height above the page's foot.
void DrawBottomLines(const Pdf &p)
{
    const float y = p.H * 10 / 297 + 135 - 15;
    QlPdfLine(p.page, p.u, y, p.u + (p.W - 2 * p.u) / 2, y);
    float cursor[2] = {p.u, y - 10};
    HPDF_Page_BeginText(p.page);
    for (int i = 0; i < QL_BOTTOM_LINE_COUNT; i++) {
        char text[41];
        snprintf(text, sizeof text, "%.40s", QlSettings.cfg.bottomLines[i]);
        QlPdfTextLine(p.page, cursor, 10, text);
    }
    HPDF_Page_EndText(p.page);
}

void DrawDocument(Pdf &p)
{
    NewPage(p, p.kind == QL_DOCK_INVOICE ? 9 : 10);
    p.W = HPDF_Page_GetWidth(p.page);
    p.H = HPDF_Page_GetHeight(p.page);
    p.u = p.H * 25.4f / 297;
    const int firstTop = DrawHeader(p);

    QlDocColumnSet columns;
    QlDocColumns(p.kind, QL_DOC_PDF, p.lineMode, p.style.printRateColumn, p.style.printDiscountColumn, &columns);
    QlGridRec table = {};
    DrawTable(p, firstTop, columns, &table);
    if (p.kind == QL_DOCK_CREDIT) {
        DrawCreditTotals(p, &table);
        return;
    }
    const int bottom = DrawTotals(p, &table, columns.priceColumn);
    if (p.kind != QL_DOCK_INVOICE) return;
    const QlSettingsRec &cfg = QlSettings.cfg;
    if (cfg.printTotalInWords && cfg.language == 0) DrawWords(p, bottom);
    if (cfg.printBottomLines) DrawBottomLines(p);
}

// The save dialog over the default name in fname; 1 when a file was chosen.
// The working directory is restored whatever the answer.
int AskFile(HWND form, int kind, char *fname, int size)
{
    const QlDocTextRec *t = QlDocText();
    const char *title = kind == QL_DOCK_INVOICE  ? t->SaveInvoicePdfCaption
                        : kind == QL_DOCK_CREDIT ? t->SaveCreditPdfCaption
                                                 : t->SaveQuotePdfCaption;
    const char *description = kind == QL_DOCK_QUOTE ? t->PdfShortFilter : t->PdfFilesFilter;
    // One filter: the description, the pattern, and the empty closing entry.
    char filter[96];
    const int n = snprintf(filter, sizeof filter - 7, "%s", description);
    memcpy(filter + n + 1, "*.pdf\0", 7);
    return QlAskSavePath(form, QL_SAVE_PDF, fname, size, title, filter, "pdf", t->ChdirFailedText);
}

// Writes the document: into folder when one is given (an e-mail's
// attachment), else where the user chooses (ask) or into the working folder.
int SavePdf(HWND form, int kind, int lineMode, char *path, int ask, int *status, const char *folder = NULL)
{
    int ignored;
    if (!status) status = &ignored;
    *status = QL_PDF_STATUS_OK;
    Pdf p = {};
    p.form = form;
    p.lines = QlUiControl(form, IDL_DOC_LINES);
    p.kind = kind;
    p.lineMode = lineMode;
    QlDocPrintStyle(&p.style);

    // The default name: the title and the number ("INVOICE12.pdf").
    char title[80], number[80], fname[MAX_PATH];
    Title(p, title, sizeof title);
    Field(p, IDT_DOC_NUMBER, number, sizeof number);
    if (folder) snprintf(fname, sizeof fname, "%s\\%s%s.pdf", folder, title, number);
    else snprintf(fname, sizeof fname, "%s%s.pdf", title, number);
    if (path) snprintf(path, QL_DOC_PATH_SIZE, "%s", fname);

    p.doc = HPDF_New(NULL, NULL);
    if (!p.doc) return 0;
    p.font = HPDF_GetFont(p.doc, "Helvetica", "WinAnsiEncoding");
    DrawDocument(p);

    if (ask && !AskFile(form, kind, fname, sizeof fname)) {
        HPDF_Free(p.doc);
        *status = QL_PDF_STATUS_CANCELLED;
        return 0;
    }
    if (path) snprintf(path, QL_DOC_PATH_SIZE, "%s", fname);
    const int saved = QlPdfSaveFile(p.doc, fname);
    HPDF_Free(p.doc);
    if (saved != QL_FILE_DONE) {
        *status = saved == QL_FILE_IN_USE     ? QL_PDF_STATUS_IN_USE
                  : saved == QL_FILE_NO_SPACE ? QL_PDF_STATUS_NO_SPACE
                                              : QL_PDF_STATUS_WRITE_FAILED;
        return 0;
    }
    return 1;
}

}  // namespace

int QlInvSavePdf(HWND form, int lineMode, char *path, int ask, int *status)
{
    return SavePdf(form, QL_DOCK_INVOICE, lineMode, path, ask, status);
}

int QlCreditSavePdf(HWND form, char *path, int ask, int *status)
{
    return SavePdf(form, QL_DOCK_CREDIT, 0, path, ask, status);
}

int QlQuoteSavePdf(HWND form, int lineMode, char *path, int ask, int *status)
{
    return SavePdf(form, QL_DOCK_QUOTE, lineMode, path, ask, status);
}

int QlInvSavePdfIn(HWND form, int lineMode, const char *folder, char *path, int *status)
{
    return SavePdf(form, QL_DOCK_INVOICE, lineMode, path, 0, status, folder);
}

int QlCreditSavePdfIn(HWND form, const char *folder, char *path, int *status)
{
    return SavePdf(form, QL_DOCK_CREDIT, 0, path, 0, status, folder);
}

int QlQuoteSavePdfIn(HWND form, int lineMode, const char *folder, char *path, int *status)
{
    return SavePdf(form, QL_DOCK_QUOTE, lineMode, path, 0, status, folder);
}

void QlCreditSavePdfFromView(HWND form)
{
    const QlDocTextRec *t = QlDocText();
    const char *error = QlLangText()->Error;
    char acref[6], gross[80], err[QL_DB_ERR_SIZE];
    QlDocField(form, IDE_DOC_ACREF, acref, sizeof acref);
    QlCustRec customer;
    memset(&customer, 0, sizeof customer);
    if (!acref[0] || !QlCustGetByAcRef(acref, &customer, err)) {
        if (acref[0] && !QlDbNotFound()) {
            QlShowReadError(form, err);
            return;
        }
        QlMsgBox(form, error, t->NoCustomerText, QL_COLOUR_WARNING);
        return;
    }
    if (QlDocListCount(form, IDL_DOC_LINES) == 0) {
        QlMsgBox(form, error, t->NoFormItemsText, QL_COLOUR_WARNING);
        return;
    }
    QlDocField(form, IDT_DOC_GROSS, gross, sizeof gross);
    if (strcmp(gross, "0.00") == 0) {
        QlMsgBox(form, error, t->ZeroGrossText, QL_COLOUR_WARNING);
        return;
    }
    char path[QL_DOC_PATH_SIZE] = "";
    int status = QL_PDF_STATUS_OK;
    if (QlCreditSavePdf(form, path, 1, &status))
        QlStatusPostSaved(t->CreditSavedPdf, path);
    else if (status == QL_PDF_STATUS_IN_USE)
        QlMsgBox(form, error, QlLangText()->FileInUseText, QL_COLOUR_WARNING);
    else if (status == QL_PDF_STATUS_NO_SPACE)
        QlMsgBox(form, error, QlLangText()->DiskFullText, QL_COLOUR_WARNING);
    else if (status != QL_PDF_STATUS_CANCELLED)
        QlMsgBox(form, error, t->PdfFailedText, QL_COLOUR_WARNING);
}
