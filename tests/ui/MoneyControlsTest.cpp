#include "QlGTest.h"
#include "QlTestWindows.h"
#include "ui/QlMoneyControls.h"

#include <limits.h>
#include <string.h>

class MoneyControls : public ::testing::Test {
protected:
    void SetUp() override
    {
        host = QlTestHostWindow();
        ASSERT_NE(nullptr, host);
        QlTestAddEdit(host, 100, "");
        QlTestAddEdit(host, 101, "");
        list = QlTestAddList(host, 200, 3, 4);
    }
    void TearDown() override { DestroyWindow(host); }
    HWND host = nullptr, list = nullptr;
};

TEST_F(MoneyControls, EditsRoundTrip)
{
    SetDlgItemTextA(host, 100, "1234.05");
    EXPECT_EQ(123405, QlUiGetCents(host, 100));
    SetDlgItemTextA(host, 100, "");
    EXPECT_EQ(0, QlUiGetCents(host, 100));

    struct Case {
        int64_t cents;
        const char *text;
    } cases[] = {{123405, "1234.05"}, {7, "0.07"}, {0, "0.00"}, {-1234, "-12.34"}, {-7, "-0.07"}};
    for (const Case &c : cases) {
        QlUiSetCents(host, 100, c.cents);
        EXPECT_EQ(c.text, QlTestGetText(host, 100));
        EXPECT_EQ(c.cents, QlUiGetCents(host, 100));
    }
    QlUiSetMoney(host, 100, 1234, 5);
    EXPECT_EQ("1234.05", QlTestGetText(host, 100));

    QlUiSetMoneySplit(host, 100, 101, 12, 5);
    EXPECT_EQ("12", QlTestGetText(host, 100));
    EXPECT_EQ("5", QlTestGetText(host, 101));
    QlUiSetCentsSplit(host, 1205, 100, 101);
    EXPECT_EQ("12", QlTestGetText(host, 100));
    EXPECT_EQ("05", QlTestGetText(host, 101));
    EXPECT_EQ(1205, QlUiGetCentsSplit(host, 100, 101));
    SetDlgItemTextA(host, 101, "");
    EXPECT_EQ(1200, QlUiGetCentsSplit(host, 100, 101));
    QlUiSetCentsSplit(host, -34, 100, 101);
    EXPECT_EQ("-0", QlTestGetText(host, 100));
    EXPECT_EQ("34", QlTestGetText(host, 101));
    EXPECT_EQ(-34, QlUiGetCentsSplit(host, 100, 101));

    long l = 7;
    int i = 9;
    SetDlgItemTextA(host, 100, "");
    QlUiGetLong(host, 100, &l);
    QlUiGetInt(host, 100, &i);
    EXPECT_EQ(7, l);
    EXPECT_EQ(9, i);
    SetDlgItemTextA(host, 100, "42x");
    QlUiGetLong(host, 100, &l);
    QlUiGetInt(host, 100, &i);
    EXPECT_EQ(42, l);
    EXPECT_EQ(42, i);
    SetDlgItemTextA(host, 100, "-9000000000");
    EXPECT_EQ(-9000000000LL, QlUiGetInt64(host, 100));

    // Split edits holding more than 64 bits can: no amount, never a wrapped one.
    const char *beyond[][2] = {{"99999999999999999999", "0"}, {"92233720368547758", "08"},
                               {"-92233720368547758", "09"}, {"1", "99999999999"}};
    for (const auto &pair : beyond) {
        SetDlgItemTextA(host, 100, pair[0]);
        SetDlgItemTextA(host, 101, pair[1]);
        EXPECT_EQ(0, QlUiGetCentsSplit(host, 100, 101)) << pair[0] << " " << pair[1];
    }
    SetDlgItemTextA(host, 100, "-92233720368547758");
    SetDlgItemTextA(host, 101, "08");
    EXPECT_EQ(INT64_MIN, QlUiGetCentsSplit(host, 100, 101));
}

TEST_F(MoneyControls, ListCellsAndSums)
{
    QlTestSetCell(list, 0, 1, "1.60");
    QlTestSetCell(list, 1, 1, "2.55");
    int64_t euro;
    int cents;
    QlListSumMoney(list, 1, 2, &euro, &cents);
    EXPECT_EQ(4, euro);
    EXPECT_EQ(15, cents);
    EXPECT_EQ(415, QlListSumCents(list, 1, 2));
    QlListSumMoney(list, 1, 0, &euro, &cents);
    EXPECT_EQ(0, euro);
    EXPECT_EQ(0, cents);
    EXPECT_EQ(160, QlListCellCents(list, 1, 0));

    QlTestSetCell(list, 0, 1, "0.10");
    QlTestSetCell(list, 1, 1, "0.20");
    char shown[32];
    snprintf(shown, sizeof shown, "%.02f", QlListSumColumnFloat(list, 1, 2));
    EXPECT_STREQ("0.30", shown);
    QlTestSetCell(list, 0, 1, "1234567.89");
    QlTestSetCell(list, 1, 1, "0.00");
    snprintf(shown, sizeof shown, "%.02f", QlListSumColumnFloat(list, 1, 2));
    EXPECT_STREQ("1234567.89", shown);

    // Per-key sums count one amount per document.
    const char *keys[] = {"7", "7", "8"};
    const char *amounts[] = {"1.00", "1.00", "2.50"};
    for (int r = 0; r < 3; r++) {
        QlTestSetCell(list, r, 0, keys[r]);
        QlTestSetCell(list, r, 2, amounts[r]);
    }
    QlListSumMoneyPerKey(list, 2, 0, 3, &euro, &cents);
    EXPECT_EQ(3, euro);
    EXPECT_EQ(50, cents);
    QlTestSetCell(list, 0, 0, "");   // an empty first key is not counted
    QlListSumMoneyPerKey(list, 2, 0, 3, &euro, &cents);
    EXPECT_EQ(3, euro);
    EXPECT_EQ(50, cents);

    QlListSetMoney(list, 3, 1, 15, 20);
    EXPECT_EQ("15.20", QlTestGetCell(list, 3, 1));
    QlListCellToMoneyEdits(host, list, 3, 1, 100, 101);
    EXPECT_EQ("15", QlTestGetText(host, 100));
    EXPECT_EQ("20", QlTestGetText(host, 101));
    QlTestSetCell(list, 3, 1, "15");
    QlListCellToMoneyEdits(host, list, 3, 1, 100, 101);
    EXPECT_EQ("15", QlTestGetText(host, 100));
    EXPECT_EQ("", QlTestGetText(host, 101));
    QlListSetMoney(list, 3, 1, -2, -5);
    EXPECT_EQ("-2.05", QlTestGetCell(list, 3, 1));

    // Sums of cells near the end of 64 bits stop there instead of wrapping.
    for (int r = 0; r < 3; r++) QlTestSetCell(list, r, 1, r < 2 ? "92233720368547758.07" : "-1.00");
    EXPECT_EQ(INT64_MAX, QlListSumCents(list, 1, 2));
    for (int r = 0; r < 2; r++) QlTestSetCell(list, r, 1, "-92233720368547758.08");
    EXPECT_EQ(INT64_MIN, QlListSumCents(list, 1, 2));
}
