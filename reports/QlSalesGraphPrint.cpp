// The printed sales page, from what the sales window shows: the title and
// the company at the head, the year and the customer, the months table in
// the left half with the total under it, and the graph in the lower half of
// the page with its month and scale labels.
//
// Geometry, in device units of the margin rectangle (L, T, R, B) with h and
// w the height and width of "e" in the 10-point body font and the fixed
// distances in units of a 600 dpi printer, kept in proportion on others:
//   title         centred from y 0, the company "(name)" one line lower
//   heading       at (L, T), then h + 1 further down
//   table         150 below, from L to the middle, 14 row lines h + h / 3
//                 apart, columns of 50 and 50 %
//   total         at (L, last row line + h + h / 3)
//   graph box     GL = L + (R - L) / 4 - 3w, GT = T + (B - T) / 2, GR = R,
//                 GB = B - (h + h / 3); month step (GR - GL - 50) / 11

#include "reports/QlSalesGraph.h"

#include "reports/QlSalesGraphTexts.h"

#include "ui/QlAppState.h"
#include "print/QlGrid.h"
#include "ui/QlListView.h"
#include "ui/QlWindow.h"
#include "customers/QlCustOutput.h"
#include "documents/QlDocStyle.h"
#include "resources/QlResSalesGraph.h"
#include "settings/QlSettings.h"

#include <commctrl.h>
#include <stdio.h>
#include <string.h>

#define TITLE_POINTS 14
#define BODY_POINTS 10
#define TABLE_ROW_LINES 14

void QlSalesPrintJobFrom(HWND window, QlSalesPrintJob *job)
{
    memset(job, 0, sizeof *job);
    const QlSettingsRec &cfg = QlSettings.cfg;
    lstrcpynA(job->company, cfg.companyName, (int)(strnlen(cfg.companyName, sizeof cfg.companyName) + 1));
    // The year and the customer the figures are for: a keyboard move in the
    // customers list does not recompute them.
    lstrcpynA(job->year, QlSalesState.year, sizeof job->year);
    lstrcpynA(job->customer, QlSalesState.customer, sizeof job->customer);
    HWND months = GetDlgItem(window, IDL_SALES_MONTHS);
    for (int i = 0; i < QL_SALES_MONTHS; i++) {
        QlListGetCell(months, i, 0, job->months[i], sizeof job->months[i]);
        QlListGetCell(months, i, 1, job->amounts[i], sizeof job->amounts[i]);
    }
    for (int i = 0; i < 5; i++) QlUiGetField(window, IDT_SALES_SCALE_FIRST + i, job->scale[i]);
    QlUiGetField(window, IDT_SALES_TOTAL, job->total);
    memcpy(job->cents, QlSalesState.cents, sizeof job->cents);
    job->bars = QlSalesState.bars;
    QlDocPrintStyle(&job->style);
}

// The page's fixed distances are given for a 600 dpi printer.
static int Units(HDC dc, int n)
{
    int dpi = GetDeviceCaps(dc, LOGPIXELSY);
    return dpi > 0 ? MulDiv(n, dpi, 600) : n;
}

static HFONT PageFont(HDC dc, int points, int weight, int italic)
{
    return CreateFontA(-MulDiv(points, GetDeviceCaps(dc, LOGPIXELSY), 72), 0, 0, 0, weight, italic, FALSE, FALSE,
                       DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       DEFAULT_PITCH | FF_DONTCARE, NULL);
}

static SIZE LetterE(HDC dc)
{
    SIZE size = {0, 0};
    GetTextExtentPoint32A(dc, "e", 1, &size);
    return size;
}

static void DrawIn(HDC dc, const char *text, int left, int top, int right, int bottom, UINT format)
{
    RECT r = {left, top, right, bottom};
    DrawTextA(dc, text, -1, &r, format | DT_SINGLELINE | DT_NOCLIP);
}

// The title and the company name, centred between the margins from the top
// of the printable area.  0 when the font could not be made.
static int DrawTitle(HDC dc, const RECT &page, const QlSalesPrintJob *job)
{
    HFONT font = PageFont(dc, TITLE_POINTS, FW_BOLD, TRUE);
    if (!font) return 0;
    HGDIOBJ previous = SelectObject(dc, font);
    int th = LetterE(dc).cy;
    DrawIn(dc, QlSalesText()->ReportTitle, page.left, 0, page.right, th, DT_CENTER);
    char text[64];
    snprintf(text, sizeof text, "(%s)", job->company);
    DrawIn(dc, text, page.left, th + 1, page.right, 2 * th + 1, DT_CENTER);
    SelectObject(dc, previous);
    DeleteObject(font);
    return 1;
}

// The months table; returns the y of its last row line.
static int DrawTable(HDC dc, const RECT &page, int top, int h, const QlSalesPrintJob *job)
{
    static const int kPercent[3] = {50, 50, 1};
    QlGridRec grid;
    QlGridLayout(&grid, page.left, top, page.right - (page.right - page.left) / 2, 0, TABLE_ROW_LINES, 3, h + h / 3,
                 kPercent);
    QlGridDrawLinesOption(dc, &grid, &job->style);
    QlCustGridCellText(dc, &grid, QlSalesText()->Month, 0, 0, DT_LEFT);
    QlCustGridCellText(dc, &grid, QlSalesText()->Sales, 0, 1, DT_LEFT);
    for (int i = 0; i < QL_SALES_MONTHS; i++) {
        QlCustGridCellText(dc, &grid, job->months[i], i + 1, 0, DT_LEFT);
        QlCustGridCellText(dc, &grid, job->amounts[i], i + 1, 1, DT_RIGHT);
    }
    return grid.rowLines[QlGridRowLines(&grid) - 1].y1;
}

static void DrawGraph(HDC dc, const RECT &page, SIZE e, const QlSalesPrintJob *job)
{
    const int h = e.cy, w = e.cx;
    const int L = page.left + (page.right - page.left) / 4 - 3 * w;
    const int T = page.top + (page.bottom - page.top) / 2;
    const int R = page.right;
    const int B = page.bottom - (h + h / 3);
    QlDrawLine(dc, L, B, R, B);
    QlDrawLine(dc, L, T, L, B);

    const int step = (R - L - Units(dc, 50)) / 11;
    for (int i = 0; i < QL_SALES_MONTHS; i++) {
        int x = L + i * step;
        QlDrawLine(dc, x, B, x, B - Units(dc, 20));
        DrawIn(dc, job->months[i], x - Units(dc, 25), B + Units(dc, 10), page.right + 3 * w, B + Units(dc, 10) + h,
               DT_LEFT);
    }
    const int quarter = (B - T) / 4;
    for (int i = 0; i <= 4; i++) {
        int y = B - i * quarter;
        QlDrawLine(dc, L, y, L + Units(dc, 20), y);
        DrawIn(dc, job->scale[i], page.left, y - h, L - Units(dc, 10), y, DT_RIGHT);
    }
    if (job->cents[QL_SALES_MONTHS] <= 0) return;

    POINT points[QL_SALES_MONTHS];
    for (int i = 0; i < QL_SALES_MONTHS; i++) {
        points[i].x = L + i * step;
        points[i].y = B - QlSalesBarHeight(job->cents, i, B - T);
    }
    if (job->bars) {
        if (!QlBrushGreen) return;
        for (const POINT &p : points) {
            RECT bar = {p.x + Units(dc, 5), p.y, p.x + Units(dc, 5) + step / 2, B};
            FillRect(dc, &bar, QlBrushGreen);
        }
        return;
    }
    HGDIOBJ previous = QlPenRed ? SelectObject(dc, QlPenRed) : NULL;
    Polyline(dc, points, QL_SALES_MONTHS);
    for (POINT &p : points) {
        p.x += 1;
        p.y += 1;
    }
    Polyline(dc, points, QL_SALES_MONTHS);
    if (previous) SelectObject(dc, previous);
}

int QlSalesDrawPage(QlPrintTarget *target, void *data)
{
    const QlSalesPrintJob *job = (const QlSalesPrintJob *)data;
    HDC dc = target->dc;
    const RECT page = target->page;
    SetBkMode(dc, TRANSPARENT);
    if (!DrawTitle(dc, page, job)) return 0;

    HFONT font = PageFont(dc, BODY_POINTS, FW_DONTCARE, FALSE);
    if (!font) return 0;
    HGDIOBJ previous = SelectObject(dc, font);
    const SIZE e = LetterE(dc);
    const int h = e.cy;
    const QlSalesTextRec *text = QlSalesText();

    char line[200];
    snprintf(line, sizeof line, "%s %s, %s: %s", text->SalesYear, job->year, text->Customer, job->customer);
    POINT pos = {page.left, page.top};
    QlPrintTextLine(dc, &pos, &e, line);
    pos.y += h + 1;

    int last = DrawTable(dc, page, pos.y + Units(dc, 150), h, job);
    snprintf(line, sizeof line, "%s: %s", text->SalesTotal, job->total);
    POINT totalPos = {page.left, last + h + h / 3};
    QlPrintTextLine(dc, &totalPos, &e, line);

    DrawGraph(dc, page, e, job);

    SelectObject(dc, previous);
    DeleteObject(font);
    return 1;
}

void QlSalesGraphPrint(HWND window)
{
    QlSalesPrintJob job;
    QlSalesPrintJobFrom(window, &job);
    QlPrintDocument(window, QlSalesDrawPage, &job);
}
