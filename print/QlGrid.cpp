#include "QlGrid.h"

#include <string.h>

#include "ui/QlListView.h"

static int Clamp(int value, int low, int high)
{
    return value < low ? low : value > high ? high : value;
}

int QlGridRowLines(const QlGridRec *g)
{
    return Clamp(g->rowLineCount, 0, QL_GRID_MAX_ROW_LINES);
}

int QlGridColumnLines(const QlGridRec *g)
{
    return Clamp(g->columnLineCount, 0, QL_GRID_MAX_COLUMN_LINES);
}

int QlGridLayout(QlGridRec *g, int left, int top, int right, int ignored, int rowLines, int columnLines,
                 int rowHeight, const int *percent)
{
    g->rowLineCount = Clamp(rowLines, 0, QL_GRID_MAX_ROW_LINES);
    g->columnLineCount = Clamp(columnLines, 0, QL_GRID_MAX_COLUMN_LINES);

    int y = top;
    for (int i = 0; i < g->rowLineCount; i++) {
        g->rowLines[i] = {left, y, right, y};
        y += rowHeight;
    }

    const int R = g->rowLineCount;
    const int yTop = R > 0 ? g->rowLines[0].y1 : top;
    const int yBottom = R > 0 ? g->rowLines[R - 1].y1 : top;
    const int width = R > 0 ? g->rowLines[0].x2 - g->rowLines[0].x1 : right - left;
    int x = left;
    for (int j = 0; j < g->columnLineCount; j++) {
        g->columnLines[j] = {x, yTop, x, yBottom};
        x += width * (percent ? percent[j] : 0) / 100;
    }
    return g->columnLineCount;
}

int QlGridLayoutRows(QlGridRec *g, int left, int top, int right, int titleHeight, const int *heights, int rows,
                     int columnLines, const int *percent)
{
    if (rows < 0) rows = 0;
    if (rows > QL_GRID_MAX_ROW_LINES - 2) rows = QL_GRID_MAX_ROW_LINES - 2;
    QlGridLayout(g, left, top, right, 0, rows + 2, columnLines, titleHeight, percent);
    int y = top + titleHeight;
    for (int i = 0; i < rows; i++) {
        y += heights ? heights[i] : titleHeight;
        g->rowLines[i + 2] = {left, y, right, y};
    }
    for (int j = 0; j < g->columnLineCount; j++) g->columnLines[j].y2 = g->rowLines[rows + 1].y1;
    return g->columnLineCount;
}

int QlGridRowsThatFit(const int *heights, int count, int maxRows, int top, int titleHeight, int limit)
{
    int y = top + titleHeight, n = 0;
    while (n < count && n < maxRows) {
        if (n > 0 && y + heights[n] > limit) break;
        y += heights[n++];
    }
    return n;
}

int QlGridPlanPages(const int *heights, int rows, int perPage, int firstTop, int otherTop, int titleHeight, int limit,
                    int *counts, int maxPages)
{
    if (rows <= 0 || !heights) {
        if (maxPages > 0) counts[0] = 0;
        return 1;
    }
    int pages = 0, done = 0;
    while (done < rows) {
        const int n = QlGridRowsThatFit(heights + done, rows - done, perPage, pages == 0 ? firstTop : otherTop,
                                        titleHeight, limit);
        if (pages < maxPages) counts[pages] = n;
        pages++;
        done += n > 0 ? n : rows - done;
    }
    return pages;
}

int QlGridCellNeed(HDC dc, const QlGridRec *g, int column, const char *text, UINT format,
                   const QlPrintStyleRec *style)
{
    RECT r;
    if (!QlGridCellRect(g, 0, column, format, style, &r)) return 0;
    const int height = QlPrintFitCellHeight(dc, text, r.right - r.left, format);
    // One unit between the text's last line and the next row line.
    return (r.top - g->rowLines[0].y1) + height + 1;
}

int QlGridListRowNeed(HDC dc, const QlGridRec *g, HWND list, int listRow, const int *listColumns,
                      const UINT *formats, int count, int minimum, const QlPrintStyleRec *style)
{
    int need = minimum;
    for (int c = 0; c < count; c++) {
        char text[256];
        QlListGetCell(list, listRow, listColumns ? listColumns[c] : c, text, sizeof text);
        const int h = QlGridCellNeed(dc, g, c, text, formats ? formats[c] : 0, style);
        if (h > need) need = h;
    }
    return need;
}

int QlGridRowLineRuled(int i, int rowLines, int printGridLines)
{
    return i == 0 || i == 1 || i == rowLines - 1 || printGridLines;
}

int QlGridCellRect(const QlGridRec *g, int row, int column, UINT format, const QlPrintStyleRec *style, RECT *r)
{
    if (row < 0 || column < 0 || row + 1 >= QlGridRowLines(g) || column + 1 >= QlGridColumnLines(g)) return 0;
    const int marginTop = style ? style->cellMarginTop : 0;
    const int marginRight = style ? style->cellMarginRight : 0;
    r->left = g->columnLines[column].x1 + 10;
    r->top = g->rowLines[row].y1 + 10 + marginTop;
    r->right = g->columnLines[column + 1].x1 - 10;
    if (format & DT_RIGHT) r->right -= marginRight;
    r->bottom = g->rowLines[row + 1].y1;
    return 1;
}

static void DrawGridLine(HDC dc, const QlGridLine *line)
{
    POINT points[2] = {{line->x1, line->y1}, {line->x2, line->y2}};
    Polyline(dc, points, 2);
}

static void DrawRows(HDC dc, const QlGridRec *g, int allRows)
{
    const int R = QlGridRowLines(g);
    for (int i = 0; i < R; i++)
        if (QlGridRowLineRuled(i, R, allRows)) DrawGridLine(dc, &g->rowLines[i]);
    for (int j = 0; j < QlGridColumnLines(g); j++) DrawGridLine(dc, &g->columnLines[j]);
}

void QlGridDrawLines(HDC dc, const QlGridRec *g)
{
    DrawRows(dc, g, 1);
}

void QlGridDrawLinesOption(HDC dc, const QlGridRec *g, const QlPrintStyleRec *style)
{
    DrawRows(dc, g, style && style->printGridLines);
}

static void DrawTitle(HDC dc, const QlGridLine *line, const char *title, int length)
{
    TextOutA(dc, line->x1 + 10, line->y1 + 10, title, length);
}

void QlGridDrawColumnTitles(HDC dc, const QlGridRec *g, const char *const *titles)
{
    for (int j = 0; titles && j < QlGridColumnLines(g) - 1; j++)
        if (titles[j]) DrawTitle(dc, &g->columnLines[j], titles[j], (int)strlen(titles[j]));
}

void QlGridDrawColumnTitlesFixed(HDC dc, const QlGridRec *g, const char *titles)
{
    for (int j = 0; titles && j < QlGridColumnLines(g) - 1; j++) {
        const char *title = titles + QL_GRID_TITLE_SLOT * j;
        DrawTitle(dc, &g->columnLines[j], title, (int)strnlen(title, QL_GRID_TITLE_SLOT));
    }
}

int QlGridDrawCellText(HDC dc, const QlGridRec *g, const char *text, int row, int column, UINT format,
                       const QlPrintStyleRec *style)
{
    RECT r;
    if (!text || !QlGridCellRect(g, row, column, format, style, &r)) return 0;
    return QlPrintFitCellText(dc, text, r, format);
}

int QlGridDrawCellLabel(HDC dc, const QlGridRec *g, const char *text, int row, int column, UINT format,
                        const QlPrintStyleRec *style)
{
    RECT r;
    if (!text || !QlGridCellRect(g, row, column, format, style, &r)) return 0;
    return QlPrintFitDrawText(dc, text, r, format);
}

int QlDrawFrame(HDC dc, int left, int top, int right, int bottom, int n)
{
    if (n <= 0) return 0;
    for (int i = 0; i < n; i++) Rectangle(dc, left + i, top + i, right - i, bottom - i);
    return n;
}

void QlBoxStackPlace(int top, int bottom, int index, int *boxTop, int *boxBottom)
{
    const int h = bottom - top;
    const int step = h + h / 2;
    *boxTop = top + index * step;
    *boxBottom = bottom + index * step;
}

int QlDrawBoxStack(HDC dc, int left, int top, int right, int bottom, int thickness, int count, int *yAfter,
                   int *lastBottom, int *lefts, int *tops)
{
    const int h = bottom - top;
    for (int i = 0; i < count; i++) {
        int boxTop, boxBottom;
        QlBoxStackPlace(top, bottom, i, &boxTop, &boxBottom);
        QlDrawFrame(dc, left, boxTop, right, boxBottom, thickness);
        if (lefts) lefts[i] = left;
        if (tops) tops[i] = boxTop;
        if (lastBottom) *lastBottom = boxBottom;
    }
    int nextTop, nextBottom;
    QlBoxStackPlace(top, bottom, count > 0 ? count : 0, &nextTop, &nextBottom);
    const int after = nextBottom - h / 2;
    if (yAfter) *yAfter = after;
    return after;
}

int QlDrawBoxStackEx(HDC dc, int left, int top, int right, int bottom, int thickness, int count, int *yAfter,
                     int *lastBottom, int *lefts, int *tops, int *lastLeft, int *lastTop, int *afterLast)
{
    if (count <= 0) return 0;
    const int h = bottom - top;
    QlDrawBoxStack(dc, left, top, right, bottom, thickness, count - 1, NULL, lastBottom, lefts, tops);

    int boxTop, boxBottom;
    QlBoxStackPlace(top, bottom, count - 1, &boxTop, &boxBottom);
    QlDrawFrame(dc, left, boxTop, right, boxBottom, thickness);
    if (lastLeft) *lastLeft = left;
    if (lastTop) *lastTop = boxTop;
    const int middle = boxBottom - h / 2;
    const int after = middle + h + h / 2;
    if (yAfter) *yAfter = middle;
    if (afterLast) *afterLast = after;
    return after;
}

int QlLineCells(int kind, const QlPrintStyleRec *style, QlLineCell *cells)
{
    const int rate = style && style->printRateColumn;
    const int discount = style && style->printDiscountColumn;
    // List columns in print order; -1 for the tax-rate column, -2 for the discount.
    static const int service[] = {0, -1, 3, -2, 5, 6};
    static const int product[] = {0, 1, 2, -1, 5, -2, 7, 8};
    static const int credit[] = {0, 1, 2};
    const int *order;
    int length;
    int rateColumn = 1, discountColumn = 4;
    switch (kind) {
    case QL_LINE_SERVICE:
        order = service, length = ARRAYSIZE(service);
        break;
    case QL_LINE_PRODUCT:
        order = product, length = ARRAYSIZE(product), rateColumn = 3, discountColumn = 6;
        break;
    case QL_LINE_CREDIT:
        order = credit, length = ARRAYSIZE(credit);
        break;
    default:
        return 0;
    }
    int count = 0;
    for (int i = 0; i < length; i++) {
        int column = order[i];
        if (column == -1) {
            if (!rate) continue;
            column = rateColumn;
        } else if (column == -2) {
            if (!discount) continue;
            column = discountColumn;
        }
        cells[count].listColumn = column;
        cells[count].gridColumn = count;
        count++;
    }
    return count;
}
