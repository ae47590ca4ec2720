#include "QlGTest.h"
#include "UiTestSupport.h"

#include <commctrl.h>
#include <string.h>
#include <string>

#include "QlTestWindows.h"
#include "ui/QlListView.h"
#include "ui/QlPickList.h"

namespace {

class ListViewTest : public ::testing::Test {
protected:
    void SetUp() override { frame = TestFrame(700, 500); }
    void TearDown() override { DestroyWindow(frame); }

    // A report list whose client area is width pixels wide.
    HWND List(int id, int width)
    {
        HWND list = CreateWindowExA(0, WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE | LVS_REPORT, 0, 0, width, 200, frame,
                                    (HMENU)(INT_PTR)id, GetModuleHandleA(NULL), NULL);
        RECT client;
        GetClientRect(list, &client);
        EXPECT_EQ(width, client.right) << "the list has no border";
        return list;
    }
    static int Width(HWND list, int column) { return (int)SendMessageA(list, LVM_GETCOLUMNWIDTH, column, 0); }
    static int Columns(HWND list)
    {
        return (int)SendMessageA((HWND)SendMessageA(list, LVM_GETHEADER, 0, 0), HDM_GETITEMCOUNT, 0, 0);
    }
    static void AddRow(HWND list, const char *first, const char *second = "")
    {
        LVITEMA item = {};
        item.mask = LVIF_TEXT;
        item.iItem = (int)SendMessageA(list, LVM_GETITEMCOUNT, 0, 0);
        item.pszText = (char *)first;
        int row = (int)SendMessageA(list, LVM_INSERTITEMA, 0, (LPARAM)&item);
        QlTestSetCell(list, row, 1, second);
    }

    HWND frame = NULL;
};

QlListColumnTable CustomerTable(void)
{
    QlListColumnTable table = {1035, NULL, 4, {{20, 0, "A/C Ref"}, {55, 0, "Company Name"}, {25, 0, "Balance"},
                                               {30, 0, "Row Id"}}};
    return table;
}

TEST_F(ListViewTest, ColumnTableSetsUpWidthsTitlesAndGridStyle)
{
    HWND list = List(1035, 400);
    AddRow(list, "old row");
    QlListColumnTable table = CustomerTable();
    table.columns[2].format = LVCFMT_RIGHT;
    ASSERT_EQ(1, QlListSetupFromTable(frame, &table));
    EXPECT_EQ(list, table.list);
    EXPECT_EQ(0, SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    const int widths[] = {80, 220, 100, 120};  // the row id lies past the right edge
    for (int i = 0; i < 4; i++) EXPECT_EQ(widths[i], Width(list, i)) << i;
    char title[64];
    EXPECT_TRUE(QlListGetColumnText(list, 1, title, sizeof title));
    EXPECT_STREQ("Company Name", title);
    LVCOLUMNA column = {};
    column.mask = LVCF_FMT;
    SendMessageA(list, LVM_GETCOLUMNA, 2, (LPARAM)&column);
    EXPECT_EQ(LVCFMT_RIGHT, column.fmt & LVCFMT_JUSTIFYMASK);
    EXPECT_EQ(33, SendMessageA(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));

    MoveWindow(list, 0, 0, 600, 200, TRUE);
    EXPECT_EQ(&table, QlListResizeColumns(frame, &table));
    const int wider[] = {120, 330, 150, 180};
    for (int i = 0; i < 4; i++) EXPECT_EQ(wider[i], Width(list, i)) << i;
}

TEST_F(ListViewTest, ColumnTablePastItsCapacityOrWithoutItsListIsRefused)
{
    HWND list = List(1035, 400);
    QlListColumnTable table = CustomerTable();
    table.count = QL_LIST_MAX_COLUMNS + 1;
    EXPECT_EQ(0, QlListSetupFromTable(frame, &table));
    EXPECT_EQ(NULL, table.list);
    EXPECT_EQ(0, Columns(list));
    table.count = -1;
    EXPECT_EQ(0, QlListSetupFromTable(frame, &table));

    table = CustomerTable();
    table.controlId = 4711;
    EXPECT_EQ(0, QlListSetupFromTable(frame, &table));

    // A title that fills its whole field is cut at the field, not read past it.
    table = CustomerTable();
    table.count = QL_LIST_MAX_COLUMNS;
    memset(table.columns[0].title, 'T', sizeof table.columns[0].title);
    EXPECT_EQ(1, QlListSetupFromTable(frame, &table));
    EXPECT_EQ(QL_LIST_MAX_COLUMNS, Columns(list));
    char title[256];
    QlListGetColumnText(list, 0, title, sizeof title);
    EXPECT_EQ(std::string(127, 'T'), title);
}

TEST_F(ListViewTest, ColumnWidthsFromWeights)
{
    HWND list = List(1, 310);
    const struct {
        int weights[4];
        int count;
        int margin;
        int result;
        int widths[4];
    } cases[] = {
        {{1, 1, 1}, 3, 10, 1, {99, 99, 99}},      // p = 33 each: 3 pixels stay unused
        {{2, 1, 1}, 3, 10, 1, {150, 75, 75}},
        {{1, 3}, 2, 0, 1, {77, 232}},             // 310 x 25 / 100, 310 x 75 / 100
        {{0, 0}, 2, 10, 0, {0, 0}},               // no weights: no division by zero
    };
    for (const auto &c : cases) {
        int widths[4] = {-1, -1, -1, -1};
        EXPECT_EQ(c.result, QlListColumnWidths(list, c.weights, c.count, widths, c.margin));
        for (int i = 0; i < c.count; i++) EXPECT_EQ(c.widths[i], widths[i]) << i;
    }
}

TEST_F(ListViewTest, PlainColumnArrays)
{
    HWND list = List(1161, 500);
    AddRow(list, "row");
    const char *titles[] = {"Details", "Net"};
    const int widths[] = {210, 90};
    const int formats[] = {LVCFMT_LEFT, LVCFMT_RIGHT};
    EXPECT_EQ(1, QlListSetColumns(list, titles, 2, widths, 50, NULL));
    EXPECT_EQ(0, SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    EXPECT_EQ(210, Width(list, 0));
    EXPECT_EQ(33, SendMessageA(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
    EXPECT_EQ(2, QlListInsertColumn(list, 2, "VAT", 40, LVCFMT_RIGHT));

    QlListFitFirstColumn(frame);  // list 1161: 500 - 90 - 25
    EXPECT_EQ(385, Width(list, 0));

    HWND other = List(1035, 500);
    EXPECT_EQ(1, QlListSetColumnsFmt(other, titles, 2, widths, 0, formats));
    LVCOLUMNA column = {};
    column.mask = LVCF_FMT;
    SendMessageA(other, LVM_GETCOLUMNA, 1, (LPARAM)&column);
    EXPECT_EQ(LVCFMT_RIGHT, column.fmt & LVCFMT_JUSTIFYMASK);
}

TEST_F(ListViewTest, ViewSetColumnsKeepsItemsAndChoosesGridLines)
{
    const char titles[2][40] = {"#", "Description:"};
    const int widths[] = {40, 470};
    const int formats[] = {0, 0};
    for (int grid = 0; grid <= 1; grid++) {
        HWND list = List(1040 + grid, 500);
        AddRow(list, "kept");
        EXPECT_EQ(1, QlListViewSetColumns(frame, 1040 + grid, titles, widths, formats, 2, grid));
        EXPECT_EQ(1, SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
        EXPECT_EQ(2, Columns(list));
        EXPECT_EQ(grid ? 33 : 32, SendMessageA(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
    }
    EXPECT_EQ(0, QlListViewSetColumns(frame, 4711, titles, widths, formats, 2, 1));
}

TEST_F(ListViewTest, FindRowByEqualOrContainedText)
{
    HWND list = List(1, 400);
    const char *titles[] = {"Code", "Name"};
    const int widths[] = {100, 200};
    QlListSetColumns(list, titles, 2, widths, 0, NULL);
    AddRow(list, "a", "Smith");
    AddRow(list, "cabd", "Jones");
    AddRow(list, "ab", "Smithers");
    AddRow(list, "", "");
    const struct {
        const char *text;
        int column, mode, found, row;
    } cases[] = {
        {"ab", 0, 1, 1, 1},       // contains: "cabd" before "ab"; "a" is too short
        {"ab", 0, 0, 1, 2},       // equals
        {"AB", 0, 0, 0, -7},      // case-sensitive
        {"Smith", 1, 0, 1, 0},
        {"Smith", 1, 2, 1, 0},    // any other mode compares whole cells
        {"ith", 1, 1, 1, 0},
        {"ers", 1, 1, 1, 2},
        {"", 0, 0, 0, -7},        // an empty text finds nothing, not the empty cell
        {"zz", 0, 1, 0, -7},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text);
        int row = -7;
        EXPECT_EQ(c.found, QlListFindRow(list, c.text, c.column, c.mode, &row));
        EXPECT_EQ(c.row, row);
    }
    HWND empty = List(2, 400);
    int row = -7;
    EXPECT_EQ(0, QlListFindRow(empty, "a", 0, 0, &row));
    EXPECT_EQ(-7, row);
}

TEST_F(ListViewTest, FindRowComparesTheFirst255Characters)
{
    HWND list = List(1, 400);
    const char *titles[] = {"Text"};
    const int widths[] = {100};
    QlListSetColumns(list, titles, 1, widths, 0, NULL);
    AddRow(list, std::string(300, 'x').c_str());
    int row = -1;
    EXPECT_EQ(1, QlListFindRow(list, std::string(255, 'x').c_str(), 0, 0, &row));
    EXPECT_EQ(0, row);
    EXPECT_EQ(0, QlListFindRow(list, std::string(256, 'x').c_str(), 0, 0, &row));
    EXPECT_EQ(0, QlListFindRow(list, std::string(256, 'x').c_str(), 0, 1, &row));
}

static int CALLBACK ByItemText(LPARAM a, LPARAM b, LPARAM)
{
    return strcmp((const char *)a, (const char *)b);
}

TEST_F(ListViewTest, RowsAreFoundWhereTheyLieAfterASort)
{
    QlListColumnTable table = CustomerTable();
    HWND list = List(1035, 400);
    ASSERT_EQ(1, QlListSetupFromTable(frame, &table));
    static const char *const codes[] = {"PEAR1", "APPL1", "FIG01"};
    AddRow(list, codes[0], "Pear Ltd");
    AddRow(list, codes[1], "Apple Ltd");
    AddRow(list, codes[2], "Fig & Co");
    for (int i = 0; i < 3; i++) {
        LVITEMA item = {};
        item.mask = LVIF_PARAM;
        item.iItem = i;
        item.lParam = (LPARAM)codes[i];
        SendMessageA(list, LVM_SETITEMA, 0, (LPARAM)&item);
    }
    SendMessageA(list, LVM_SORTITEMS, 0, (LPARAM)ByItemText);
    int row = -1;
    ASSERT_EQ(1, QlListFindRow(table.list, "APPL1", 0, 0, &row));
    EXPECT_EQ(0, row);
    EXPECT_EQ("Apple Ltd", QlTestGetCell(list, row, 1));
    ASSERT_EQ(1, QlListFindRow(table.list, "Pear", 1, 1, &row));
    EXPECT_EQ(2, row);
    EXPECT_EQ("PEAR1", QlTestGetCell(list, row, 0));
}

const char *const kOwnerRows[] = {"Bravo", "alpha", "Charlie", "Alpine"};
const char *OwnerRowText(int row)
{
    return row >= 0 && row < 4 ? kOwnerRows[row] : NULL;
}

// An owner-data list's find, in both forms Wine may send it: whole texts
// and beginnings, letter case aside, from the start given, going round only
// when asked.
TEST(OwnerDataFind, WholeTextOrItsBeginningFromTheStart)
{
    const struct {
        const char *text;
        UINT flags;
        int start, found;
    } cases[] = {
        {"ALPHA", LVFI_STRING, -1, 1},
        {"alp", LVFI_STRING, -1, -1},                // a whole text only
        {"alp", LVFI_PARTIAL, 0, 1},
        {"alp", LVFI_PARTIAL, 2, 3},                 // from the start given
        {"bra", LVFI_PARTIAL, 2, -1},                // not round the end
        {"bra", LVFI_PARTIAL | LVFI_WRAP, 2, 0},     // round it
        {"charlie", LVFI_STRING, 9, 2},              // a start beyond the rows: the top
        {"", LVFI_PARTIAL, 1, 1},
        {"x", LVFI_PARAM, 0, -1},                    // not a text find
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.text) + " from " + std::to_string(c.start));
        NMLVFINDITEMA narrow = {};
        narrow.hdr.code = LVN_ODFINDITEMA;
        narrow.iStart = c.start;
        narrow.lvfi.flags = c.flags;
        narrow.lvfi.psz = c.text;
        EXPECT_EQ(c.found, QlListOwnerDataFind(&narrow.hdr, 4, OwnerRowText));

        WCHAR wideText[16] = {};
        MultiByteToWideChar(CP_ACP, 0, c.text, -1, wideText, 16);
        NMLVFINDITEMW wide = {};
        wide.hdr.code = LVN_ODFINDITEMW;
        wide.iStart = c.start;
        wide.lvfi.flags = c.flags;
        wide.lvfi.psz = wideText;
        EXPECT_EQ(c.found, QlListOwnerDataFind(&wide.hdr, 4, OwnerRowText));
    }
}


// A list given its rows anew: the count it is given, nothing left selected
// or focused, drawn at the next paint with its header left as it stands,
// and shown, or hidden, as it was.
TEST_F(ListViewTest, RowCountGivenAnewLeavesNothingChosenAndTheListAsItWas)
{
    HWND list = CreateWindowExA(0, WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE | WS_BORDER | LVS_REPORT | LVS_OWNERDATA, 0,
                                0, 300, 200, frame, (HMENU)7, GetModuleHandleA(NULL), NULL);
    QlListInsertColumn(list, 0, "Key", 100, LVCFMT_LEFT);
    HWND header = (HWND)SendMessageA(list, LVM_GETHEADER, 0, 0);
    UpdateWindow(frame);
    auto chosen = [&] {
        return std::to_string(SendMessageA(list, LVM_GETSELECTEDCOUNT, 0, 0)) + "/" +
               std::to_string((int)SendMessageA(list, LVM_GETNEXTITEM, (WPARAM)-1, LVNI_FOCUSED));
    };
    auto choose = [&](int row) {
        LVITEMA item = {};
        item.stateMask = item.state = LVIS_SELECTED | LVIS_FOCUSED;
        SendMessageA(list, LVM_SETITEMSTATE, row, (LPARAM)&item);
        ASSERT_EQ("1/" + std::to_string(row), chosen());
    };
    const struct {
        int count;
        int chooseRow;   // -1: nothing chosen before
    } steps[] = {{500, -1}, {500, -1}, {500, 3}, {40, 20}, {40, -1}, {0, 0}, {500, -1}};
    for (const auto &step : steps) {
        SCOPED_TRACE(std::to_string(step.count) + " rows, row " + std::to_string(step.chooseRow) + " chosen");
        if (step.chooseRow >= 0) choose(step.chooseRow);
        UpdateWindow(frame);
        QlListSetRowCount(list, step.count);
        EXPECT_EQ(step.count, (int)SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
        EXPECT_EQ("0/-1", chosen());
        EXPECT_TRUE(IsWindowVisible(list));
        EXPECT_TRUE(GetWindowLongA(list, GWL_STYLE) & WS_CLIPCHILDREN);
        EXPECT_TRUE(GetUpdateRect(list, NULL, FALSE)) << "the rows are drawn again";
        EXPECT_FALSE(GetUpdateRect(header, NULL, FALSE)) << "the header stands as it was drawn";
        UpdateWindow(frame);
    }

    // A header waiting to be drawn still is; a hidden list stays hidden.
    choose(2);
    InvalidateRect(header, NULL, TRUE);
    QlListSetRowCount(list, 30);
    EXPECT_TRUE(GetUpdateRect(header, NULL, FALSE));
    ShowWindow(list, SW_HIDE);
    QlListSetRowCount(list, 60);
    EXPECT_EQ(60, (int)SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    EXPECT_FALSE(GetWindowLongA(list, GWL_STYLE) & WS_VISIBLE);
}

// A pick list answers its dialog's cell and find notifications from its rows;
// others are left to the dialog.
TEST(PickList, AnswersCellsAndFindsByAcRef)
{
    QlPickList rows = {};
    ASSERT_TRUE(QlPickListAppend(&rows, "JO001", "Joe's Plumbing"));
    ASSERT_TRUE(QlPickListAppend(&rows, "BR000", "Bright Electrics"));
    HWND dialog = CreateWindowA("#32770", "", WS_POPUP, 0, 0, 10, 10, NULL, NULL, GetModuleHandleA(NULL), NULL);
    ASSERT_NE(nullptr, dialog);

    char text[64] = {};
    NMLVDISPINFOA cell = {};
    cell.hdr.code = LVN_GETDISPINFOA;
    cell.item.mask = LVIF_TEXT;
    cell.item.iItem = 1;
    cell.item.iSubItem = 1;
    cell.item.pszText = text;
    cell.item.cchTextMax = sizeof text;
    EXPECT_EQ(1, QlPickListNotify(&rows, dialog, &cell.hdr));
    EXPECT_STREQ("Bright Electrics", text);

    NMLVFINDITEMA find = {};
    find.hdr.code = LVN_ODFINDITEMA;
    find.lvfi.flags = LVFI_PARTIAL;
    find.lvfi.psz = "br";
    EXPECT_EQ(1, QlPickListNotify(&rows, dialog, &find.hdr));
    EXPECT_EQ(1, GetWindowLongPtrA(dialog, DWLP_MSGRESULT));

    NMHDR click = {};
    click.code = NM_DBLCLK;
    EXPECT_EQ(0, QlPickListNotify(&rows, dialog, &click));
    DestroyWindow(dialog);
    QlPickListFree(&rows);
}

}  // namespace
