// The purchase order on paper, as a PDF file and by e-mail, drawn from the
// open stored order window (its labels 1155-1157, number 1158, account 1159,
// date 1160, supplier 1173 and 1028-1030, total 1162 / 1398 and the lines of
// list 1161), never from the database.
//
// Page model, as the other documents: the company block on the left, the
// title box "PURCHASE ORDER" a third of the width wide at the right with the
// three value boxes under it, the supplier's address box, then ten lines a
// page in a table of five columns; "Page x of n" at the top and the
// continuation line at the foot of every page but the last when there is
// more than one; the total under the last page's table.  Printed pages are
// set in the 10-point body font and measured in its line height H; PDF pages
// in Helvetica 10 on A4 in points.

#include "purchasing/QlPurchDocs.h"
#include "purchasing/QlPurchDocTexts.h"
#include "purchasing/QlSuppCurrent.h"

#include "ui/QlAppState.h"
#include "print/QlBarcode.h"
#include "print/QlGrid.h"
#include "ui/QlMsgDialog.h"
#include "print/QlPdf.h"
#include "core/QlPlatform.h"
#include "ui/QlSaveDialog.h"
#include "ui/QlSeams.h"
#include "core/QlTempFile.h"
#include "ui/QlWindow.h"
#include "datastore/QlDbTables.h"
#include "docmodel/QlOpeners.h"
#include "docmodel/QlTransLines.h"
#include "docmodel/QlTransTexts.h"
#include "docmodel/QlReadError.h"
#include "documents/QlDocOutput.h"
#include "documents/QlDocPage.h"
#include "documents/QlDocPrint.h"
#include "documents/QlDocStyle.h"
#include "documents/QlDocTexts.h"
#include "resources/QlResPurchDocs.h"
#include "resources/QlResTrans.h"
#include "settings/QlLangTables.h"
#include "settings/QlSettings.h"

#include <commctrl.h>
#include <commdlg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

namespace {

// The line table: list columns 0-4 into grid columns 0-4.
const int kPercent[6] = {20, 40, 10, 15, 15, 1};
// Texts are drawn as they stand: an '&' in a name is no accelerator prefix.
const UINT kPrintFormats[5] = {DT_NOPREFIX, DT_WORDBREAK | DT_NOPREFIX, DT_RIGHT | DT_NOPREFIX,
                               DT_RIGHT | DT_NOPREFIX, DT_RIGHT | DT_NOPREFIX};
const int kPdfAlign[5] = {0, 0, 1, 1, 1};
const int kTotalsPercent[3] = {50, 50, 1};
#define ORDER_COLUMNS 5

void Field(HWND window, int id, char *text, int size)
{
    QlDocField(window, id, text, size);
}

void Titles(char *titles)
{
    memset(titles, 0, ORDER_COLUMNS * QL_GRID_TITLE_SLOT);
    const QlPurchDocTextRec *p = QlPurchDocText();
    for (int c = 0; c < ORDER_COLUMNS; c++)
        snprintf(titles + QL_GRID_TITLE_SLOT * c, QL_GRID_TITLE_SLOT, "%s", p->OrderColumns[c]);
}

int LineCount(HWND window)
{
    return QlDocListCount(window, IDL_DOC_LINES);
}

int Refuse(HWND window, const char *caption, const char *text)
{
    QlMsgBox(window, caption, text, QL_COLOUR_WARNING);
    return 0;
}

int GridBottom(const QlGridRec *grid)
{
    const int rows = QlGridRowLines(grid);
    return rows > 0 ? grid->rowLines[rows - 1].y1 : 0;
}

// ---------------------------------------------------------------------------
// Printing

struct Sheet {
    QlPrintTarget *target;
    QlOrderPrintJob *job;
    HDC dc;
    int L, T, R, B, W;
    SIZE line;
    int H;
    int rowHeight;
};

void Text(HDC dc, const char *text, RECT r, UINT format)
{
    DrawTextA(dc, text, (int)strlen(text), &r, format);
}

// The order number as a barcode between the company block and the title box.
void DrawBarcode(const Sheet &s, int titleLeft)
{
    char number[80], text[20];
    Field(s.job->window, IDT_DOC_NUMBER, number, sizeof number);
    QlPrintDocBarcodeText(number, text);
    float mag;
    int bottom;
    RECT page = {s.L, s.T, s.R, s.B};
    const int x = QlDocBarcodePlace(&page, titleLeft, s.T, s.target->pxPerMmX, s.target->pxPerMmY, &mag, &bottom);
    QlBarcodeDrawUpcA(s.dc, (HBRUSH)(COLOR_WINDOWFRAME + 1), x, s.T, s.target->pxPerMmX, s.target->pxPerMmY, mag, 0,
                      1, text, 0, NULL);
}

// Page one's header; returns the first table's top.
int DrawHeader(const Sheet &s)
{
    HWND window = s.job->window;
    RECT page = {s.L, s.T, s.R, s.B}, company;
    QlPrintCompanyHeader(s.dc, page, &company, s.line, &s.job->style);

    const RECT title = {s.R - s.W / 3, s.T, s.R, s.T + 2 * s.H};
    QlDrawFrame(s.dc, title.left, title.top, title.right, title.bottom, 5);
    if (s.job->barcode) DrawBarcode(s, title.left);
    QlPrintFitDrawText(s.dc, QlPurchDocText()->OrderHeading, title, DT_CENTER | DT_VCENTER | DT_SINGLELINE);

    // The three value boxes from the middle of the title box, their labels
    // from its left edge.
    const int middle = (title.left + title.right) / 2;
    int lefts[3] = {0}, tops[3] = {0}, lastBottom = 0;
    QlDrawBoxStack(s.dc, middle, s.T + 4 * s.H, s.R, s.T + 6 * s.H, 5, 3, NULL, &lastBottom, lefts, tops);
    static const int kLabels[3] = {IDT_DOC_NUMBER_LABEL, IDT_DOC_DATE_LABEL, IDT_DOC_ACREF_LABEL};
    // Each label fitted to the room left of its box.
    int labelY = s.T + 4 * s.H + 5;
    for (int i = 0; i < 3; i++) {
        char label[40];
        Field(window, kLabels[i], label, sizeof label);
        QlPrintFitTextOut(s.dc, title.left, labelY, label, middle - 10 - title.left);
        labelY += s.line.cy + 1 + 2 * s.H;
    }

    // The supplier's address box.
    const int boxTop = company.bottom + s.H + 1, boxRight = s.L + s.W / 2 + s.H, boxBottom = boxTop + 5 * s.H + 5;
    Rectangle(s.dc, s.L, boxTop, boxRight, boxBottom);
    RECT address = {s.L + 10, boxTop + 10, boxRight - 5, boxTop + 10 + s.H + 1};
    static const int kAddress[4] = {IDE_DOC_COMPANY, IDE_DOC_ADDR1, IDE_DOC_ADDR2, IDE_DOC_ADDR3};
    for (int id : kAddress) {
        char text[80];
        Field(window, id, text, sizeof text);
        Text(s.dc, text, address, DT_NOPREFIX | DT_SINGLELINE);
        address.top += s.H + 1;
        address.bottom = address.top + s.H + 1;
    }

    // The values: number, date, account.
    for (int i = 0; i < 3; i++) {
        char value[80];
        if (i == 1)
            QlDocReadDate(window, value, sizeof value);
        else
            Field(window, i == 0 ? IDT_DOC_NUMBER : IDT_DOC_ACREF, value, sizeof value);
        POINT at = {lefts[i] + 10, tops[i] + 10};
        QlPrintTextLine(s.dc, &at, &s.line, value);
    }

    if (s.job->logo) {
        HDC memory = NULL;
        QlPicturePrintLogo(&memory, s.dc, s.job->logo, &page, &s.line, &s.job->logoSize, s.target->pxPerMmX,
                           s.target->pxPerMmY);
        if (memory) DeleteDC(memory);
    }
    return (lastBottom > boxBottom ? lastBottom : boxBottom) + s.H + 1;
}

// Every page of the line table; *grid is the last page's.  Rows grow to
// their wrapped descriptions, and a page takes no more rows than end above
// the continuation line.
int DrawTable(Sheet &s, int firstTop, QlGridRec *grid)
{
    const QlDocTextRec *t = QlDocText();
    HWND list = GetDlgItem(s.job->window, IDL_DOC_LINES);
    const int rows = LineCount(s.job->window);
    int *heights = (int *)calloc((size_t)rows + 1, sizeof(int));
    int *counts = (int *)calloc((size_t)rows + 1, sizeof(int));
    if (!heights || !counts) {
        free(heights);
        free(counts);
        return 0;
    }
    QlGridRec probe;
    QlGridLayout(&probe, s.L, 0, s.R, 0, 2, ORDER_COLUMNS + 1, s.rowHeight, kPercent);
    for (int r = 0; r < rows; r++)
        heights[r] = QlGridListRowNeed(s.dc, &probe, list, r, NULL, kPrintFormats, ORDER_COLUMNS, s.rowHeight,
                                       &s.job->style);
    const int pages = QlGridPlanPages(heights, rows, QL_DOC_ROWS_PER_PAGE, firstTop, s.T, s.rowHeight,
                                     s.B - s.H - 2, counts, rows + 1);
    char titles[ORDER_COLUMNS * QL_GRID_TITLE_SLOT];
    Titles(titles);
    int listRow = 0, ok = 1;
    for (int p = 0; p < pages; p++) {
        if (p > 0) {
            if (!QlPrintNextPage(s.target)) {
                ok = 0;
                break;
            }
            s.dc = s.target->dc;
        }
        if (pages > 1) {
            char text[160];
            snprintf(text, sizeof text, "%s %u %s %u", t->PageWord, (unsigned)(p + 1), t->OfWord, (unsigned)pages);
            Text(s.dc, text, {s.L, 0, s.R, s.B}, DT_RIGHT);
        }
        const int n = counts[p];
        QlGridLayoutRows(grid, s.L, p == 0 ? firstTop : s.T, s.R, s.rowHeight, heights + listRow, n,
                         ORDER_COLUMNS + 1, kPercent);
        QlGridDrawLinesOption(s.dc, grid, &s.job->style);
        QlDocDrawTitles(s.dc, grid, titles);
        for (int i = 0; i < n; i++, listRow++)
            for (int c = 0; c < ORDER_COLUMNS; c++)
                QlPrintListCellAt(s.dc, list, listRow, c, kPrintFormats, grid, c, i + 1, &s.job->style);
        if (p < pages - 1) {
            char text[120];
            snprintf(text, sizeof text, "* %s *", t->ContinuedText);
            Text(s.dc, text, {s.L, s.B - s.H, s.R, s.B}, DT_CENTER);
        }
    }
    free(heights);
    free(counts);
    return ok;
}

void DrawTotal(const Sheet &s, const QlGridRec *table)
{
    QlGridRec totals;
    QlGridLayout(&totals, table->columnLines[3].x1, GridBottom(table) + 15, s.R, 0, 2, 3, s.rowHeight,
                 kTotalsPercent);
    QlGridDrawLines(s.dc, &totals);
    char text[80];
    Field(s.job->window, IDT_DOC_TOTAL_LABEL, text, sizeof text);
    QlGridDrawCellLabel(s.dc, &totals, text, 0, 0, DT_WORDBREAK | DT_NOPREFIX, &s.job->style);
    Field(s.job->window, IDT_ORDER_TOTAL, text, sizeof text);
    QlGridDrawCellText(s.dc, &totals, text, 0, 1, DT_RIGHT | DT_NOPREFIX, &s.job->style);
}

}  // namespace

void QlOrderPrintJobInit(QlOrderPrintJob *job, HWND window)
{
    memset(job, 0, sizeof *job);
    job->window = window;
    QlDocPrintStyle(&job->style);
    job->barcode = QlSettings.cfg.printBarcode != 0;
}

int QlOrderPrintDraw(QlPrintTarget *target, void *data)
{
    Sheet s = {};
    s.target = target;
    s.job = (QlOrderPrintJob *)data;
    s.dc = target->dc;
    s.L = target->page.left, s.T = target->page.top, s.R = target->page.right, s.B = target->page.bottom;
    s.W = s.R - s.L;

    LOGFONTA lf = {};
    lf.lfHeight = -MulDiv(10, GetDeviceCaps(s.dc, LOGPIXELSY), 72);
    HFONT body = CreateFontIndirectA(&lf);
    if (!body) return 0;
    HGDIOBJ previous = SelectObject(s.dc, body);
    s.line.cx = s.line.cy = 0;
    GetTextExtentPoint32A(s.dc, "e", 1, &s.line);
    if (s.line.cy <= 0) s.line.cy = 1;
    s.H = s.line.cy;
    s.rowHeight = 2 * (s.H + s.H / 3);

    const int firstTop = DrawHeader(s);
    QlGridRec table = {};
    const int drawn = DrawTable(s, firstTop, &table);
    if (drawn) DrawTotal(s, &table);
    // A page break may have replaced the device context.
    SelectObject(target->dc, previous);
    DeleteObject(body);
    return drawn;
}

int QlOrderPrint(HWND window)
{
    const QlDocTextRec *t = QlDocText();
    if (LineCount(window) == 0) return Refuse(window, QlLangText()->Error, t->NoFormItemsText);
    char acref[6];
    Field(window, IDT_DOC_ACREF, acref, sizeof acref);
    if (!acref[0]) return Refuse(window, t->MissingAccountCaption, t->SelectAccountText);
    QlOrderPrintJob job;
    QlOrderPrintJobInit(&job, window);
    if (QlSettings.cfg.printLogo) {
        job.logo = QlDocLogoLoader ? QlDocLogoLoader(QlSettings.cfg.logoPath, &job.logoSize) : NULL;
        if (!job.logo) Refuse(window, QlLangText()->Error, QlLangText()->LogoLoadFailed);
    }
    const int printed = QlPrintDocument(window, QlOrderPrintDraw, &job);
    if (job.logo) DeleteObject(job.logo);
    return printed;
}

// ---------------------------------------------------------------------------
// PDF

namespace {

struct Pdf {
    HPDF_Doc doc;
    HPDF_Page page;
    HPDF_Font font;
    float W, H, m;
    HWND window;
    QlPrintStyleRec style;
};

void NewPage(Pdf &p)
{
    p.page = HPDF_AddPage(p.doc);
    HPDF_Page_SetSize(p.page, HPDF_PAGE_SIZE_A4, HPDF_PAGE_PORTRAIT);
    HPDF_Page_SetTextLeading(p.page, 20);
    HPDF_Page_SetFontAndSize(p.page, p.font, 10);
}

// Page one's header; returns the first table's top measured down from the
// page's top edge.
int DrawPdfHeader(Pdf &p)
{
    const QlSettingsRec &cfg = QlSettings.cfg;
    const float W = p.W, H = p.H, m = p.m, top = H - m, right = W - m;
    // A logo that is refused or cannot be read is left out, and the user is told.
    if (cfg.printLogo && cfg.logoPath[0] && !QlPdfDrawLogo(p.doc, p.page, cfg.logoPath, m, top, W, H, m))
        QlMsgBox(p.window, QlLangText()->Error, QlLangText()->LogoLoadFailed, QL_COLOUR_WARNING);
    float cursor[2];
    QlPdfCompanyHeader(p.window, p.page, W, m, top, m, cursor, &p.style);

    const float c = (W - 2 * m) / 3;
    QlPdfBoxWithText(p.page, right - c, top - 25, c, 25, 1.5f, QlPurchDocText()->OrderHeading, 7, 0, 2);
    static const int kLabels[3] = {IDT_DOC_NUMBER_LABEL, IDT_DOC_DATE_LABEL, IDT_DOC_ACREF_LABEL};
    float y = top - 75;
    for (int i = 0; i < 3; i++) {
        if (i > 0) y -= 37.5f;
        char text[80];
        Field(p.window, kLabels[i], text, sizeof text);
        QlPdfTextAt(p.page, right - c, y + 10, text);
        if (i == 1)
            QlDocReadDate(p.window, text, sizeof text);
        else
            Field(p.window, i == 0 ? IDT_DOC_NUMBER : IDT_DOC_ACREF, text, sizeof text);
        QlPdfBoxWithText(p.page, right - c / 2, y, c / 2, 25, 1.5f, text, 5, 5, 0);
    }
    float g = y - 30;
    if (cursor[1] < g) g = cursor[1] - 10;
    return (int)(H - g);
}

void DrawPdfTable(Pdf &p, int firstTop, QlGridRec *table)
{
    const QlDocTextRec *t = QlDocText();
    HWND list = GetDlgItem(p.window, IDL_DOC_LINES);
    const int rows = LineCount(p.window);
    int *heights = (int *)calloc((size_t)rows + 1, sizeof(int));
    int *counts = (int *)calloc((size_t)rows + 1, sizeof(int));
    int pages = QlDocPageCount(rows, QL_DOC_ROWS_PER_PAGE);
    if (heights && counts) {
        // Rows grow to their wrapped descriptions, measured at the later
        // pages' size.
        QlGridRec probe;
        QlGridLayout(&probe, (int)p.m, 0, (int)(p.W - p.m), 0, 2, ORDER_COLUMNS + 1, 26, kPercent);
        QlPdfGridRec probeGrid;
        QlPdfGridFromLayout(&probe, &probeGrid, p.H);
        const float size = HPDF_Page_GetCurrentFontSize(p.page);
        HPDF_Page_SetFontAndSize(p.page, HPDF_Page_GetCurrentFont(p.page), 10);
        for (int r = 0; r < rows; r++)
            heights[r] =
                (int)QlPdfListRowNeed(p.page, list, r, NULL, kPdfAlign, ORDER_COLUMNS, &probeGrid, 26, &p.style) + 1;
        HPDF_Page_SetFontAndSize(p.page, HPDF_Page_GetCurrentFont(p.page), size);
        pages = QlGridPlanPages(heights, rows, QL_DOC_ROWS_PER_PAGE, firstTop, (int)p.m, 26, (int)(p.H - p.m), counts,
                               rows + 1);
    } else {
        free(heights);
        free(counts);
        heights = counts = NULL;
    }
    char titles[ORDER_COLUMNS * QL_GRID_TITLE_SLOT];
    Titles(titles);
    int left = rows, listRow = 0;
    for (int page = 0; page < pages; page++) {
        if (page > 0) NewPage(p);
        if (pages > 1) {
            char text[160];
            snprintf(text, sizeof text, "%s %u %s %u", t->PageWord, (unsigned)(page + 1), t->OfWord, (unsigned)pages);
            QlPdfTextRect(p.page, p.m, p.H - 15, p.W - p.m, 15, text, 1);
        }
        const int n = counts ? counts[page] : (left < QL_DOC_ROWS_PER_PAGE ? left : QL_DOC_ROWS_PER_PAGE);
        QlGridLayoutRows(table, (int)p.m, page == 0 ? firstTop : (int)p.m, (int)(p.W - p.m), 26,
                         heights ? heights + listRow : NULL, n, ORDER_COLUMNS + 1, kPercent);
        QlPdfGridRec grid;
        QlPdfGridFromLayout(table, &grid, p.H);
        QlPdfGridDrawLines(p.page, &grid, &p.style);
        QlDocPdfDrawTitles(p.page, &grid, titles);
        for (int i = 0; i < n; i++, listRow++)
            for (int c = 0; c < ORDER_COLUMNS; c++)
                QlPdfListCell(p.page, list, listRow, c, kPdfAlign, &grid, i + 1, c, &p.style);
        if (page < pages - 1) {
            char text[120];
            snprintf(text, sizeof text, "* %s *", t->ContinuedText);
            QlPdfTextRect(p.page, p.m, p.m, p.W - p.m, 15, text, 2);
        }
        left -= n;
    }
    free(heights);
    free(counts);
}

void DrawPdfTotal(const Pdf &p, const QlGridRec *table)
{
    QlGridRec totals;
    QlGridLayout(&totals, table->columnLines[3].x1, GridBottom(table) + 5, (int)(p.W - p.m), 0, 2, 3, 26,
                 kTotalsPercent);
    QlPdfGridRec grid;
    QlPdfGridFromLayout(&totals, &grid, p.H);
    QlPdfGridDrawLines(p.page, &grid, &p.style);
    QlPdfGridDrawCellText(p.page, &grid, QlTransText()->Total, 0, 0, 0, &p.style);
    char text[80];
    Field(p.window, IDT_ORDER_TOTAL, text, sizeof text);
    QlPdfGridDrawCellText(p.page, &grid, text, 0, 1, 1, &p.style);
}

// The save dialog over the default name; 1 when a file was chosen.  The
// working folder is restored whatever the answer.
int AskFile(HWND window, char *fname, int size)
{
    const QlDocTextRec *t = QlDocText();
    char filter[96];
    const int n = snprintf(filter, sizeof filter - 7, "%s", t->PdfShortFilter);
    memcpy(filter + n + 1, "*.pdf\0", 7);
    return QlAskSavePath(window, QL_SAVE_PDF, fname, size, QlPurchDocText()->SaveOrderPdfCaption, filter, "pdf",
                         t->ChdirFailedText);
}

}  // namespace

// Writes the order: into folder when one is given (an e-mail's attachment),
// else where the user chooses (ask) or into the working folder.
static int SaveOrderPdf(HWND window, char *path, int ask, int *status, const char *folder)
{
    int ignored;
    if (!status) status = &ignored;
    *status = QL_PDF_STATUS_OK;
    if (LineCount(window) == 0) {
        Refuse(window, QlLangText()->Error, QlDocText()->NoFormItemsText);
        *status = QL_PDF_STATUS_CANCELLED;
        return 0;
    }
    char number[20], fname[MAX_PATH];
    Field(window, IDT_DOC_NUMBER, number, sizeof number);
    if (folder) snprintf(fname, sizeof fname, "%s\\%s%s.pdf", folder, "order", number);
    else snprintf(fname, sizeof fname, "%s%s.pdf", "order", number);
    if (path) snprintf(path, QL_DOC_PATH_SIZE, "%s", fname);

    Pdf p = {};
    p.window = window;
    QlDocPrintStyle(&p.style);
    p.doc = HPDF_New(NULL, NULL);
    if (!p.doc) {
        *status = QL_PDF_STATUS_WRITE_FAILED;
        return 0;
    }
    p.font = HPDF_GetFont(p.doc, "Helvetica", "WinAnsiEncoding");
    NewPage(p);
    p.W = HPDF_Page_GetWidth(p.page);
    p.H = HPDF_Page_GetHeight(p.page);
    p.m = p.H * 25.4f / 297;
    const int firstTop = DrawPdfHeader(p);
    QlGridRec table = {};
    DrawPdfTable(p, firstTop, &table);
    DrawPdfTotal(p, &table);

    if (ask && !AskFile(window, fname, sizeof fname)) {
        HPDF_Free(p.doc);
        *status = QL_PDF_STATUS_CANCELLED;
        return 0;
    }
    if (path) snprintf(path, QL_DOC_PATH_SIZE, "%s", fname);
    const int saved = QlPdfSaveFile(p.doc, fname);
    HPDF_Free(p.doc);
    if (saved == QL_FILE_IN_USE) *status = QL_PDF_STATUS_IN_USE;
    else if (saved == QL_FILE_NO_SPACE) *status = QL_PDF_STATUS_NO_SPACE;
    else if (saved != QL_FILE_DONE) *status = QL_PDF_STATUS_WRITE_FAILED;
    return saved == QL_FILE_DONE;
}

int QlOrderSavePdf(HWND window, char *path, int ask, int *status)
{
    return SaveOrderPdf(window, path, ask, status, NULL);
}

int QlOrderSavePdfIn(HWND window, const char *folder, char *path, int *status)
{
    return SaveOrderPdf(window, path, 0, status, folder);
}

// ---------------------------------------------------------------------------
// E-mail

void QlOrderMailCompose(const char *number, char *subject, size_t subjectSize, char *message, size_t messageSize)
{
    const QlPurchDocTextRec *p = QlPurchDocText();
    const QlSettingsRec &cfg = QlSettings.cfg;
    char telephone[80] = "";
    if (cfg.telephone[0]) snprintf(telephone, sizeof telephone, "Tel: %s", cfg.telephone);
    snprintf(subject, subjectSize, "%s %s %s", cfg.companyName, p->OrderTitle, number);
    snprintf(message, messageSize, "%s,\r\n\r\n%s.\r\n\r\n%s\r\n---\r\n%s\r\n%s", p->DearSupplier, p->AttachedOrder,
             cfg.contactName, cfg.companyName, telephone);
}

int QlOrderEmail(HWND window)
{
    const QlDocTextRec *t = QlDocText();
    const char *error = QlLangText()->Error;
    QlSuppRec supplier;
    memset(&supplier, 0, sizeof supplier);
    char err[QL_DB_ERR_SIZE];
    if (!QlSuppGetByRowId(QlSuppCurrent.iKey, &supplier, err)) {
        if (!QlDbNotFound()) {
            QlShowReadError(window, err);
            return 0;
        }
        return Refuse(window, error, QlPurchDocText()->SupplierNotFound);
    }
    char total[20];
    Field(window, IDT_ORDER_TOTAL, total, sizeof total);
    if (LineCount(window) == 0 || !total[0] || strcmp(total, "0.00") == 0)
        return Refuse(window, error, t->NoFormItemsText);
    char number[20];
    Field(window, IDT_DOC_NUMBER, number, sizeof number);
    int choice = 0;
    if (!QlMsgAskChoice(window, t->EmailOptionsCaption, t->SendAsPdfText, t->SendAsHtmlText, 0, &choice, 0, 1) ||
        choice != 0)
        return 0;
    // The attachment goes into a folder of its own, never over a file of the
    // user's; the e-mail dialog removes it when the mail no longer needs it.
    char folder[MAX_PATH] = "", path[QL_DOC_PATH_SIZE] = "";
    int status = 0;
    if (!QlTempFolderMake(folder, sizeof folder) || !QlOrderSavePdfIn(window, folder, path, &status)) {
        QlTempFolderRemove(folder);
        if (status == QL_PDF_STATUS_CANCELLED) return 0;
        return Refuse(window, error, status == QL_PDF_STATUS_NO_SPACE ? QlLangText()->DiskFullText : t->PdfFailedText);
    }
    char subject[128], message[512];
    QlOrderMailCompose(number, subject, sizeof subject, message, sizeof message);
    if (!QlModuleOpeners.mailDialog) {
        QlTempFolderRemove(folder);
        return 0;
    }
    return QlModuleOpeners.mailDialog(QlUiInstance(), window, QlPurchDocText()->EmailOrderCaption, path,
                                      supplier.wemail, subject, message);
}
