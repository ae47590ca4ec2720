#include "QlGTest.h"
#include "QlTestPrint.h"
#include "print/QlGrid.h"

#include <string.h>
#include <vector>

static bool SameRect(const RECT &a, RECT b)
{
    return EqualRect(&a, &b) != 0;
}

TEST(GridLayout, ColumnLinesFromPercentagesOfTheWidth)
{
    struct Case {
        const char *what;
        int left, right, columnLines;
        std::vector<int> percent;
        std::vector<int> x;
    } cases[] = {
        {"the last percentage places nothing", 100, 1100, 5, {15, 15, 55, 15, 1}, {100, 250, 400, 950, 1100}},
        {"truncated widths fall short", 0, 1000, 4, {33, 33, 33, 1}, {0, 330, 660, 990}},
        {"per column, not summed first", 0, 999, 4, {33, 33, 34, 1}, {0, 329, 658, 997}},
        {"more than 100 runs past the right", 0, 100, 3, {60, 60, 1}, {0, 60, 120}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        QlGridRec g = {};
        EXPECT_EQ(c.columnLines, QlGridLayout(&g, c.left, 500, c.right, 12345, 3, c.columnLines, 40, c.percent.data()));
        ASSERT_EQ(c.columnLines, g.columnLineCount);
        for (int j = 0; j < c.columnLines; j++) {
            EXPECT_EQ(c.x[j], g.columnLines[j].x1) << j;
            EXPECT_EQ(c.x[j], g.columnLines[j].x2) << j;
            EXPECT_EQ(500, g.columnLines[j].y1);   // from the first row line
            EXPECT_EQ(580, g.columnLines[j].y2);   // to the last
        }
        for (int i = 0; i < 3; i++) {
            EXPECT_EQ(500 + 40 * i, g.rowLines[i].y1);
            EXPECT_EQ(g.rowLines[i].y1, g.rowLines[i].y2);
            EXPECT_EQ(c.left, g.rowLines[i].x1);
            EXPECT_EQ(c.right, g.rowLines[i].x2);
        }
    }
}

TEST(GridLayout, CountsAreHeldToTheRecordsCapacity)
{
    int percent[40];
    for (int &p : percent) p = 2;
    struct Case {
        int rows, columns, keptRows, keptColumns;
    } cases[] = {{60, 30, 50, 20}, {50, 20, 50, 20}, {-3, -1, 0, 0}};
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.rows << " x " << c.columns);
        QlGridRec g = {};
        QlGridLayout(&g, 0, 0, 1000, 0, c.rows, c.columns, 10, percent);
        EXPECT_EQ(c.keptRows, g.rowLineCount);
        EXPECT_EQ(c.keptColumns, g.columnLineCount);
    }

    // A record filled by hand with counts past its capacity is read no further.
    QlGridRec wild = {};
    QlGridLayout(&wild, 0, 0, 1000, 0, 50, 20, 10, percent);
    wild.rowLineCount = 1000;
    wild.columnLineCount = 1000;
    EXPECT_EQ(50, QlGridRowLines(&wild));
    EXPECT_EQ(20, QlGridColumnLines(&wild));
    MetafilePrinter printer;
    QlGridDrawLines(printer.dc(), &wild);
    RECT r;
    EXPECT_EQ(0, QlGridCellRect(&wild, 49, 0, 0, NULL, &r));
    EXPECT_EQ(1, QlGridCellRect(&wild, 48, 18, 0, NULL, &r));
    printer.finish();
    EXPECT_EQ(70u, printer.records(0).polylines.size());
}

TEST(GridLayout, DocumentTablesRuleTheTitleRowAndTheBottomAlways)
{
    std::vector<int> ruled;
    for (int i = 0; i < 37; i++)
        if (QlGridRowLineRuled(i, 37, 0)) ruled.push_back(i);
    EXPECT_EQ((std::vector<int>{0, 1, 36}), ruled);
    for (int i = 0; i < 37; i++) EXPECT_TRUE(QlGridRowLineRuled(i, 37, 1));
}

TEST(GridCell, TextRectangleInsideTheLinesWithTheMargins)
{
    QlGridRec g = {};
    int percent[] = {30, 55, 15, 1};
    QlGridLayout(&g, 100, 1000, 1100, 0, 4, 4, 60, percent);   // columns at 100, 400, 950, 1100
    QlPrintStyleRec style = {};
    style.cellMarginTop = 5;
    style.cellMarginRight = 20;

    struct Case {
        const char *what;
        int row, column;
        UINT format;
        const QlPrintStyleRec *style;
        RECT r;
    } cases[] = {
        {"right-aligned: less the right margin", 1, 1, DT_RIGHT, &style, {410, 1075, 920, 1120}},
        {"left-aligned: no right margin", 1, 1, DT_LEFT, &style, {410, 1075, 940, 1120}},
        {"word-wrapped", 2, 0, DT_WORDBREAK, &style, {110, 1135, 390, 1180}},
        {"no style: no margins", 1, 1, DT_RIGHT, NULL, {410, 1070, 940, 1120}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        RECT r = {};
        ASSERT_EQ(1, QlGridCellRect(&g, c.row, c.column, c.format, c.style, &r));
        EXPECT_TRUE(SameRect(c.r, r)) << r.left << "," << r.top << "," << r.right << "," << r.bottom;
    }
    // Cells outside the grid: the last row line and column line bound nothing.
    RECT r;
    EXPECT_EQ(0, QlGridCellRect(&g, 3, 0, 0, &style, &r));
    EXPECT_EQ(0, QlGridCellRect(&g, 0, 3, 0, &style, &r));
    EXPECT_EQ(0, QlGridCellRect(&g, -1, 0, 0, &style, &r));
}

TEST(GridBoxes, StackedBoxesStepABoxAndAHalf)
{
    int top, bottom;
    QlBoxStackPlace(100, 140, 2, &top, &bottom);
    EXPECT_EQ(220, top);
    EXPECT_EQ(260, bottom);

    MetafilePrinter printer;
    int yAfter = 0, lastBottom = 0, lefts[4] = {}, tops[4] = {};
    EXPECT_EQ(300, QlDrawBoxStack(printer.dc(), 700, 100, 900, 140, 2, 3, &yAfter, &lastBottom, lefts, tops));
    EXPECT_EQ(300, yAfter);
    EXPECT_EQ(260, lastBottom);
    EXPECT_EQ(700, lefts[2]);
    EXPECT_EQ((std::vector<int>{100, 160, 220, 0}), std::vector<int>(tops, tops + 4));
    printer.finish();
    EmfRecords page = printer.records(0);
    ASSERT_EQ(6u, page.rectangles.size());   // a frame two pixels thick a box
    EXPECT_TRUE(SameRect(page.rectangles[4], {700, 220, 900, 260}));
    EXPECT_TRUE(SameRect(page.rectangles[5], {701, 221, 899, 259}));

    // The variant keeps the last box apart: its corner, its middle and the slot after it.
    MetafilePrinter ex;
    int lastLeft = 0, lastTop = 0, afterLast = 0;
    int exTops[4] = {}, exLefts[4] = {};
    lastBottom = 0;
    EXPECT_EQ(360, QlDrawBoxStackEx(ex.dc(), 700, 100, 900, 140, 1, 4, &yAfter, &lastBottom, exLefts, exTops, &lastLeft,
                                    &lastTop, &afterLast));
    EXPECT_EQ((std::vector<int>{100, 160, 220, 0}), std::vector<int>(exTops, exTops + 4));
    EXPECT_EQ(260, lastBottom);
    EXPECT_EQ(700, lastLeft);
    EXPECT_EQ(280, lastTop);
    EXPECT_EQ(300, yAfter);
    EXPECT_EQ(360, afterLast);
    EXPECT_EQ(0, QlDrawBoxStackEx(ex.dc(), 0, 0, 10, 10, 1, 0, NULL, NULL, NULL, NULL, NULL, NULL, NULL));
    ex.finish();
    page = ex.records(0);
    ASSERT_EQ(4u, page.rectangles.size());
    EXPECT_EQ(280, page.rectangles[3].top);
    EXPECT_EQ(320, page.rectangles[3].bottom);
}

TEST(GridBoxes, FrameGrowsInwardsOnePixelAStep)
{
    MetafilePrinter printer;
    EXPECT_EQ(3, QlDrawFrame(printer.dc(), 10, 20, 110, 70, 3));
    EXPECT_EQ(0, QlDrawFrame(printer.dc(), 10, 20, 110, 70, 0));
    EXPECT_EQ(0, QlDrawFrame(printer.dc(), 10, 20, 110, 70, -2));
    printer.finish();
    EmfRecords page = printer.records(0);
    ASSERT_EQ(3u, page.rectangles.size());
    for (int i = 0; i < 3; i++) {
        EXPECT_TRUE(SameRect(page.rectangles[i], {10 + i, 20 + i, 110 - i, 70 - i})) << i;
    }
}

TEST(GridDraw, FramedGridWithTitlesAndCellsDrawsItsRecords)
{
    QlGridRec g = {};
    int percent[] = {30, 55, 15, 1};
    const int R = 6;
    QlGridLayout(&g, 100, 1000, 1100, 0, R, 4, 60, percent);
    QlPrintStyleRec style = {};
    style.cellMarginTop = 5;
    style.cellMarginRight = 20;

    MetafilePrinter printer;
    HDC dc = printer.dc();
    QlGridDrawLinesOption(dc, &g, &style);   // inner row lines left out
    const char *titles[] = {"Details", "Price", "VAT"};
    QlGridDrawColumnTitles(dc, &g, titles);
    char fixed[3 * QL_GRID_TITLE_SLOT] = {};
    strcpy(fixed, "Code");
    memcpy(fixed + QL_GRID_TITLE_SLOT, "A title of twenty!!!", 20);   // fills its slot, no terminator
    strcpy(fixed + 2 * QL_GRID_TITLE_SLOT, "Net");
    QlGridDrawColumnTitlesFixed(dc, &g, fixed);
    EXPECT_NE(0, QlGridDrawCellText(dc, &g, "12.50", 1, 1, DT_RIGHT, &style));
    EXPECT_NE(0, QlGridDrawCellText(dc, &g, "Widget", 1, 0, DT_LEFT, &style));
    EXPECT_EQ(0, QlGridDrawCellText(dc, &g, "outside", R - 1, 0, DT_LEFT, &style));
    style.printGridLines = 1;
    QlGridDrawLinesOption(dc, &g, &style);
    printer.finish();

    EmfRecords page = printer.records(0);
    // Without the option: row lines 0, 1 and 5, then four column lines; with it all six rows.
    ASSERT_EQ(3u + 4u + 6u + 4u, page.polylines.size());
    const int ruledRows[] = {0, 1, 5};
    for (int k = 0; k < 3; k++) {
        const EmfPolyline &line = page.polylines[k];
        ASSERT_EQ(2u, line.points.size());
        EXPECT_EQ(1000 + 60 * ruledRows[k], line.points[0].y);
        EXPECT_EQ(100, line.points[0].x);
        EXPECT_EQ(1100, line.points[1].x);
    }
    const int columnX[] = {100, 400, 950, 1100};
    for (int k = 0; k < 4; k++) {
        const EmfPolyline &line = page.polylines[3 + k];
        EXPECT_EQ(columnX[k], line.points[0].x);
        EXPECT_EQ(1000, line.points[0].y);
        EXPECT_EQ(1300, line.points[1].y);
    }

    struct Expect {
        const char *text;
        int x, y;
    } texts[] = {{"Details", 110, 1010}, {"Price", 410, 1010}, {"VAT", 960, 1010},
                 {"Code", 110, 1010},    {"Net", 960, 1010},   {"Widget", 110, 1075}};
    for (const Expect &e : texts) {
        const EmfText *t = page.findText(e.text);
        ASSERT_NE(nullptr, t) << e.text;
        EXPECT_EQ(e.x, t->x) << e.text;
        EXPECT_EQ(e.y, t->y) << e.text;
    }
    EXPECT_TRUE(page.hasText("A title of twenty!!!"));
    const EmfText *price = page.findText("12.50");
    ASSERT_NE(nullptr, price);
    EXPECT_NEAR(920, price->right, 1);   // right-aligned inside the right margin
    EXPECT_EQ(1075, price->y);
    EXPECT_FALSE(page.hasText("outside"));
}

TEST(GridLineCells, OptionalColumnsShiftTheFollowingOnes)
{
    struct Case {
        const char *what;
        int kind, rate, discount;
        std::vector<int> listColumns;
    } cases[] = {
        {"service, both options", QL_LINE_SERVICE, 1, 1, {0, 1, 3, 4, 5, 6}},
        {"service, neither", QL_LINE_SERVICE, 0, 0, {0, 3, 5, 6}},
        {"service, discount only", QL_LINE_SERVICE, 0, 1, {0, 3, 4, 5, 6}},
        {"product, both options", QL_LINE_PRODUCT, 1, 1, {0, 1, 2, 3, 5, 6, 7, 8}},
        {"product, tax rate only", QL_LINE_PRODUCT, 1, 0, {0, 1, 2, 3, 5, 7, 8}},
        {"product, neither", QL_LINE_PRODUCT, 0, 0, {0, 1, 2, 5, 7, 8}},
        {"credit, options change nothing", QL_LINE_CREDIT, 1, 1, {0, 1, 2}},
        {"unknown kind", 7, 1, 1, {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        QlPrintStyleRec style = {};
        style.printRateColumn = c.rate;
        style.printDiscountColumn = c.discount;
        QlLineCell cells[QL_LINE_MAX_CELLS];
        int count = QlLineCells(c.kind, &style, cells);
        ASSERT_EQ((int)c.listColumns.size(), count);
        for (int i = 0; i < count; i++) {
            EXPECT_EQ(c.listColumns[i], cells[i].listColumn);
            EXPECT_EQ(i, cells[i].gridColumn);
        }
    }
}
