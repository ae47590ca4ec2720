// The statement on paper and as an A4 PDF file, both taken from what the
// statement window shows: its lines and column titles, the account block,
// the title, the two dates and the total.
//
// Paper: the logo, the company block, the framed title and three framed
// boxes (account, statement date, from date) at the right, the account's
// address box at the left, then 16 lines a page in a grid without rules.
// PDF: the same head drawn with the PDF helpers, 25 lines a page.

#include "customers/QlStmt.h"

#include "customers/QlCustModule.h"
#include "customers/QlCustOutput.h"
#include "customers/QlCustTexts.h"

#include "ui/QlAppState.h"
#include "print/QlGrid.h"
#include "ui/QlListView.h"
#include "ui/QlMsgDialog.h"
#include "print/QlPdf.h"
#include "print/QlPicture.h"
#include "core/QlPlatform.h"
#include "ui/QlSaveDialog.h"
#include "ui/QlSeams.h"
#include "core/QlTempFile.h"
#include "ui/QlUtil.h"
#include "ui/QlWindow.h"
#include "documents/QlDocStyle.h"
#include "resources/QlResIds.h"
#include "settings/QlLangTables.h"
#include "settings/QlSettings.h"

#include <commctrl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

// Column widths in percent (the last entry closes the width table).
static const int kPercent[QL_STMT_COLUMNS + 1] = {15, 15, 10, 20, 20, 20, 1};

#define BOX_THICKNESS 5
#define TEXT_INSET 10

// ---------------------------------------------------------------------------
// Reading the window


static int LineCount(HWND list)
{
    return (int)SendMessageA(list, LVM_GETITEMCOUNT, 0, 0);
}

// "Total Due Now:  100.00".
static void TotalText(HWND window, char *text, int size)
{
    char label[64], total[64];
    QlUiGetField(window, IDT_STMT_TOTAL_LABEL, label);
    QlUiGetField(window, IDT_STMT_TOTAL, total);
    snprintf(text, (size_t)size, "%s  %s", label, total);
}

static void PageText(char *text, int size, int page, int pages)
{
    snprintf(text, (size_t)size, "%s %u %s %u", QlCustText()->PageWord, (unsigned)page, QlCustText()->OfWord,
             (unsigned)pages);
}

static void ContinuedText(char *text, int size)
{
    snprintf(text, (size_t)size, "* %s *", QlCustText()->ContinuedNextPage);
}

void QlStmtPrintJobFrom(HWND window, QlStmtPrintJob *job)
{
    memset(job, 0, sizeof *job);
    job->list = GetDlgItem(window, IDL_STMT_LINES);
    job->lines = LineCount(job->list);
    for (int c = 0; c < QL_STMT_COLUMNS; c++) QlListGetColumnText(job->list, c, job->titles[c], sizeof job->titles[c]);
    QlUiGetField(window, IDT_STMT_TITLE, job->title);
    QlUiGetField(window, IDT_STMT_ACREF_LABEL, job->boxLabels[0]);
    QlUiGetField(window, IDT_STMT_DATE_LABEL, job->boxLabels[1]);
    QlUiGetField(window, IDG_STMT_FROM, job->boxLabels[2]);
    QlUiGetField(window, IDT_STMT_ACREF, job->boxValues[0]);
    QlCustPickerText(window, IDP_STMT_DATE, "d/MM/yyyy", job->boxValues[1], sizeof job->boxValues[1]);
    QlCustPickerText(window, IDP_STMT_FROM, "d/MM/yyyy", job->boxValues[2], sizeof job->boxValues[2]);
    static const int kAddress[4] = {IDE_STMT_COMPANY, IDE_STMT_ADDR1, IDE_STMT_ADDR2, IDE_STMT_ADDR3};
    for (int i = 0; i < 4; i++) QlUiGetField(window, kAddress[i], job->address[i]);
    TotalText(window, job->total, sizeof job->total);
    QlDocPrintStyle(&job->style);
}

// ---------------------------------------------------------------------------
// Paper

static void TextAt(HDC dc, int x, int y, const char *text)
{
    TextOutA(dc, x, y, text, (int)strlen(text));
}

// The page head of the first page; returns the grid's top.
static int DrawHead(HDC dc, const QlPrintTarget *target, const QlStmtPrintJob *job, int h, HDC *logoMemory)
{
    const RECT &page = target->page;
    SIZE line = {0, h};
    if (job->logo)
        QlPicturePrintLogo(logoMemory, dc, job->logo, &page, &line, &job->logoSize, target->pxPerMmX,
                           target->pxPerMmY);
    RECT below;
    QlPrintCompanyHeader(dc, page, &below, line, &job->style);

    // The title, framed, in the right third.
    int titleLeft = page.right - (page.right - page.left) / 3;
    QlDrawFrame(dc, titleLeft, page.top, page.right, page.top + 2 * h, BOX_THICKNESS);
    RECT band = {titleLeft, page.top, page.right, page.top + 2 * h};
    DrawTextA(dc, job->title, -1, &band, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);

    // Account, statement date and from date in framed boxes, labelled at
    // their left.
    int boxLeft = titleLeft + (page.right - titleLeft) / 2;
    int lefts[3], tops[3], lastBottom = 0, yAfter = 0;
    QlDrawBoxStack(dc, boxLeft, page.top + 4 * h, page.right, page.top + 6 * h, BOX_THICKNESS, 3, &yAfter, &lastBottom,
                   lefts, tops);
    for (int i = 0; i < 3; i++) {
        TextAt(dc, titleLeft, tops[i] + h / 2, job->boxLabels[i]);
        TextAt(dc, lefts[i] + TEXT_INSET, tops[i] + h / 2, job->boxValues[i]);
    }

    // The account's address, boxed, from the left edge to the middle.
    int addressTop = below.top + h + 1;
    int addressBottom = addressTop + 5 * h + 5;
    Rectangle(dc, page.left, addressTop, page.left + (page.right - page.left) / 2, addressBottom);
    for (int i = 0; i < 4; i++) TextAt(dc, page.left + TEXT_INSET, addressTop + TEXT_INSET + i * (h + 1), job->address[i]);

    int lowest = lastBottom > addressBottom ? lastBottom : addressBottom;
    return lowest + h + 1;
}

static UINT CellFormat(int column)
{
    return column >= QL_STMT_COL_INVOICE ? DT_RIGHT : DT_LEFT | DT_WORDBREAK;
}

// One page's grid: the column titles and the page's lines, each row as high
// as its wrapped texts need; returns the y of its last row line.
static int DrawLines(HDC dc, const RECT &page, const QlStmtPrintJob *job, int top, int first, int count,
                     const int *heights, int rowHeight)
{
    QlGridRec grid;
    QlGridLayoutRows(&grid, page.left, top, page.right, rowHeight, heights + first, count, QL_STMT_COLUMNS + 1,
                     kPercent);
    for (int c = 0; c < QL_STMT_COLUMNS; c++) QlCustGridCellText(dc, &grid, job->titles[c], 0, c, DT_LEFT);
    for (int r = 0; r < count; r++) {
        for (int c = 0; c < QL_STMT_COLUMNS; c++) {
            char cell[256];
            QlListGetCell(job->list, first + r, c, cell, sizeof cell);
            QlCustGridCellText(dc, &grid, cell, r + 1, c, CellFormat(c));
        }
    }
    return grid.rowLines[QlGridRowLines(&grid) - 1].y1;
}

int QlStmtDrawPages(QlPrintTarget *target, void *data)
{
    const QlStmtPrintJob *job = (const QlStmtPrintJob *)data;
    HFONT font = QlCustPrintFont(target->dc, 9, 0);
    if (!font) return 0;
    HGDIOBJ previousFont = SelectObject(target->dc, font);
    HGDIOBJ previousBrush = SelectObject(target->dc, GetStockObject(NULL_BRUSH));
    SetBkMode(target->dc, TRANSPARENT);
    const int h = QlCustPrintLineHeight(target->dc);
    const RECT page = target->page;
    const int rowHeight = 2 * (h + h / 3);

    HDC logoMemory = NULL;
    int gridTop = DrawHead(target->dc, target, job, h, &logoMemory);
    int *heights = (int *)calloc((size_t)job->lines + 1, sizeof(int));
    int *counts = (int *)calloc((size_t)job->lines + 1, sizeof(int));
    int ok = heights && counts, pages = 0;
    if (ok) {
        QlGridRec probe;
        QlGridLayout(&probe, page.left, 0, page.right, 0, 2, QL_STMT_COLUMNS + 1, rowHeight, kPercent);
        UINT formats[QL_STMT_COLUMNS];
        for (int c = 0; c < QL_STMT_COLUMNS; c++) formats[c] = CellFormat(c);
        for (int r = 0; r < job->lines; r++)
            heights[r] = QlGridListRowNeed(target->dc, &probe, job->list, r, NULL, formats, QL_STMT_COLUMNS,
                                           rowHeight, NULL);
        pages = QlGridPlanPages(heights, job->lines, QL_STMT_LINES_PER_PAGE, gridTop, page.top, rowHeight,
                                page.bottom - h - 2, counts, job->lines + 1);
    }
    int lastLine = gridTop, first = 0;
    for (int p = 1; p <= pages && ok; p++) {
        if (p > 1) {
            ok = QlPrintNextPage(target);
            if (!ok) break;
            gridTop = page.top;
        }
        HDC dc = target->dc;
        char text[160];
        if (pages > 1) {
            PageText(text, sizeof text, p, pages);
            RECT band = {page.left, h, page.right, 2 * h};
            DrawTextA(dc, text, -1, &band, DT_RIGHT | DT_SINGLELINE | DT_NOCLIP | DT_NOPREFIX);
        }
        const int count = counts[p - 1];
        lastLine = DrawLines(dc, page, job, gridTop, first, count, heights, rowHeight);
        first += count;
        if (pages > 1 && p < pages) {
            ContinuedText(text, sizeof text);
            RECT band = {page.left, page.bottom - h, page.right, page.bottom};
            DrawTextA(dc, text, -1, &band, DT_CENTER | DT_SINGLELINE | DT_NOCLIP | DT_NOPREFIX);
        }
    }
    if (ok) TextAt(target->dc, page.left + TEXT_INSET, lastLine + 2 * h + 2, job->total);
    free(heights);
    free(counts);

    SelectObject(target->dc, previousBrush);
    SelectObject(target->dc, previousFont);
    DeleteObject(font);
    if (logoMemory) DeleteDC(logoMemory);
    return ok;
}

void QlStmtPrint(HWND window)
{
    const QlCustTextRec *text = QlCustText();
    char acref[80];
    QlUiGetField(window, IDT_STMT_ACREF, acref);
    if (!acref[0]) {
        QlMsgBox(window, text->MissingAccount, text->SelectAccountNumber, QL_COLOUR_WARNING);
        return;
    }
    QlStmtPrintJob job;
    QlStmtPrintJobFrom(window, &job);
    if (job.lines == 0) {
        QlMsgBox(window, QlLangText()->Error, text->NoFormItems, QL_COLOUR_WARNING);
        return;
    }
    if (QlSettings.cfg.printLogo && QlSettings.cfg.logoPath[0]) {
        job.logo = QlPictureLoad(QlSettings.cfg.logoPath, &job.logoSize);
        if (!job.logo) QlMsgBox(window, QlLangText()->Error, QlLangText()->LogoLoadFailed, QL_COLOUR_WARNING);
    }
    QlPrintDocument(window, QlStmtDrawPages, &job);
}

// ---------------------------------------------------------------------------
// PDF

struct PdfPage {
    HPDF_Doc doc;
    HPDF_Page page;
    HPDF_Font font;
    float width, height, margin;
};

static int AddPdfPage(PdfPage *pdf, float fontSize)
{
    pdf->page = HPDF_AddPage(pdf->doc);
    if (!pdf->page) return 0;
    HPDF_Page_SetSize(pdf->page, HPDF_PAGE_SIZE_A4, HPDF_PAGE_PORTRAIT);
    HPDF_Page_SetTextLeading(pdf->page, 20);
    HPDF_Page_SetFontAndSize(pdf->page, pdf->font, fontSize);
    pdf->width = HPDF_Page_GetWidth(pdf->page);
    pdf->height = HPDF_Page_GetHeight(pdf->page);
    pdf->margin = pdf->height * 25.4f / 297.0f;
    return 1;
}

// The first page's head; returns the grid's top (PDF y).
static float PdfHead(HWND window, PdfPage *pdf, const QlStmtPrintJob *job)
{
    HPDF_Page page = pdf->page;
    const float c = pdf->margin, top = pdf->height - c, left = c, right = pdf->width - c;
    // A logo that is refused or cannot be read is left out, and the user is told.
    if (QlSettings.cfg.printLogo && QlSettings.cfg.logoPath[0] &&
        !QlPdfDrawLogo(pdf->doc, page, QlSettings.cfg.logoPath, left, top, pdf->width, pdf->height, c))
        QlMsgBox(window, QlLangText()->Error, QlLangText()->LogoLoadFailed, QL_COLOUR_WARNING);
    float cursor[2] = {left, top};
    QlPdfCompanyHeader(window, page, pdf->width, c, top, left, cursor, &job->style);

    const float m = (pdf->width - 2 * c) / 3;
    QlPdfBoxWithText(page, right - m, top - 25, m, 25, 1.5f, job->title, 8, 7, HPDF_TALIGN_CENTER);
    // Statement date, account, from date: label at the left, value boxed.
    static const int kOrder[3] = {1, 0, 2};
    float y = top - 25 - 50;
    for (int i = 0; i < 3; i++) {
        if (i > 0) y -= 37.5f;
        int k = kOrder[i];
        QlPdfBoxWithText(page, right - m / 2, y, m / 2, 25, 1.5f, job->boxValues[k], 5, 5, HPDF_TALIGN_LEFT);
        QlPdfTextAt(page, right - m, y + 25 - 15, job->boxLabels[k]);
    }
    float gridTop = y - 30;
    if (cursor[1] - 10 < gridTop) gridTop = cursor[1] - 10;
    return gridTop;
}

// One page's grid of lines, each row as high as its wrapped texts need;
// returns the y of its last row line.
static float PdfLines(PdfPage *pdf, const QlStmtPrintJob *job, float top, int first, int count, const int *heights)
{
    QlGridRec layout;
    QlGridLayoutRows(&layout, (int)pdf->margin, (int)(pdf->height - top), (int)(pdf->width - pdf->margin), 13,
                     heights + first, count, QL_STMT_COLUMNS + 1, kPercent);
    QlPdfGridRec grid;
    QlPdfGridFromLayout(&layout, &grid, pdf->height);
    char titles[QL_STMT_COLUMNS * QL_GRID_TITLE_SLOT];
    memset(titles, 0, sizeof titles);
    for (int c = 0; c < QL_STMT_COLUMNS; c++)
        snprintf(titles + c * QL_GRID_TITLE_SLOT, QL_GRID_TITLE_SLOT, "%s", job->titles[c]);
    QlPdfGridDrawColumnTitles(pdf->page, &grid, titles);
    // Each line in its grid row, inside the cells' inner margin; the amounts
    // stand at their cells' right, as on the invoice.  The invoice's cell
    // margins of the settings are not the statement's.
    for (int r = 0; r < count; r++) {
        for (int c = 0; c < QL_STMT_COLUMNS; c++) {
            char cell[80];
            QlListGetCell(job->list, first + r, c, cell, sizeof cell);
            QlPdfGridDrawCellText(pdf->page, &grid, cell, r + 1, c,
                                  c >= QL_STMT_COL_INVOICE ? HPDF_TALIGN_RIGHT : HPDF_TALIGN_LEFT, NULL);
        }
    }
    return grid.rowLines[count + 1].y1;
}

static const int kPdfAlign[QL_STMT_COLUMNS] = {0, 0, 0, 1, 1, 1};

// Draws every page; 1 unless libharu refused a page.
static int PdfPages(HWND window, PdfPage *pdf, const QlStmtPrintJob *job)
{
    if (!AddPdfPage(pdf, 9)) return 0;
    float top = PdfHead(window, pdf, job);
    int *heights = (int *)calloc((size_t)job->lines + 1, sizeof(int));
    int *counts = (int *)calloc((size_t)job->lines + 1, sizeof(int));
    if (!heights || !counts) {
        free(heights);
        free(counts);
        return 0;
    }
    {
        // Rows grow to their wrapped texts, measured at the later pages' size.
        QlGridRec probe;
        QlGridLayout(&probe, (int)pdf->margin, 0, (int)(pdf->width - pdf->margin), 0, 2, QL_STMT_COLUMNS + 1, 13,
                     kPercent);
        QlPdfGridRec probeGrid;
        QlPdfGridFromLayout(&probe, &probeGrid, pdf->height);
        HPDF_Page_SetFontAndSize(pdf->page, pdf->font, 10);
        for (int r = 0; r < job->lines; r++) {
            const float need =
                QlPdfListRowNeed(pdf->page, job->list, r, NULL, kPdfAlign, QL_STMT_COLUMNS, &probeGrid, 13, NULL);
            heights[r] = need > 13 ? (int)need + 1 : 13;
        }
        HPDF_Page_SetFontAndSize(pdf->page, pdf->font, 9);
    }
    const int pages = QlGridPlanPages(heights, job->lines, QL_STMT_LINES_PER_PDF_PAGE, (int)(pdf->height - top),
                                      (int)pdf->margin, 13, (int)(pdf->height - pdf->margin), counts, job->lines + 1);
    float fontSize = 9, lastLine = top;
    int first = 0, ok = 1;
    for (int p = 1; p <= pages; p++) {
        if (p > 1) {
            fontSize = 10;
            if (!AddPdfPage(pdf, fontSize)) {
                ok = 0;
                break;
            }
            top = pdf->height - pdf->margin;
        }
        const float left = pdf->margin, right = pdf->width - pdf->margin;
        char text[160];
        if (pages > 1) {
            PageText(text, sizeof text, p, pages);
            QlPdfTextRect(pdf->page, left, pdf->height - 15, right, pdf->height - 30, text, HPDF_TALIGN_RIGHT);
        }
        const int count = counts[p - 1];
        lastLine = PdfLines(pdf, job, top, first, count, heights);
        first += count;
        if (pages > 1 && p < pages) {
            ContinuedText(text, sizeof text);
            QlPdfTextRect(pdf->page, left, pdf->margin, right, pdf->margin - 15, text, HPDF_TALIGN_CENTER);
        }
    }
    free(heights);
    free(counts);
    if (!ok) return 0;
    QlPdfTextAt(pdf->page, pdf->margin, lastLine - 30, job->total);
    return 1;
}

int QlStmtWritePdf(HWND window, char *path, int ask, int *outcome)
{
    *outcome = 0;
    QlStmtPrintJob job;
    QlStmtPrintJobFrom(window, &job);
    for (int c = 0; c < QL_STMT_COLUMNS; c++) job.titles[c][19] = '\0';

    PdfPage pdf;
    memset(&pdf, 0, sizeof pdf);
    pdf.doc = HPDF_New(NULL, NULL);
    if (!pdf.doc) return 0;
    pdf.font = HPDF_GetFont(pdf.doc, "Helvetica", "WinAnsiEncoding");
    int drawn = pdf.font && PdfPages(window, &pdf, &job);

    snprintf(path, MAX_PATH, "%s.pdf", job.title);
    if (ask && !QlCustAskSavePath(window, QL_SAVE_PDF, path, QlCustText()->SaveStatementPdf, "PDF Files (*.pdf)\0*.pdf\0", "pdf")) {
        HPDF_Free(pdf.doc);
        *outcome = 1;
        return 0;
    }
    int saved = drawn ? QlPdfSaveFile(pdf.doc, path) : QL_FILE_FAILED;
    HPDF_Free(pdf.doc);
    if (saved == QL_FILE_IN_USE) *outcome = 2;
    if (saved == QL_FILE_NO_SPACE) *outcome = 3;
    return saved == QL_FILE_DONE;
}

void QlStmtSavePdf(HWND window)
{
    const QlCustTextRec *text = QlCustText();
    if (LineCount(GetDlgItem(window, IDL_STMT_LINES)) == 0) {
        QlMsgBox(window, QlLangText()->Error, text->NoFormItems, QL_COLOUR_WARNING);
        return;
    }
    char path[MAX_PATH];
    int outcome = 0;
    if (QlStmtWritePdf(window, path, 1, &outcome))
        QlStatusPostSaved(text->StatementSavedPdf, path);
    else if (outcome == 2)
        QlMsgBox(window, QlLangText()->Error, QlLangText()->FileInUseText, QL_COLOUR_WARNING);
    else if (outcome == 3)
        QlMsgBox(window, QlLangText()->Error, QlLangText()->DiskFullText, QL_COLOUR_WARNING);
    else if (outcome == 0)
        QlMsgBox(window, QlLangText()->Error, text->PdfFailed, QL_COLOUR_WARNING);
}
