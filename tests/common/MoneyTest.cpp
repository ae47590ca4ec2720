#include "QlGTest.h"
#include "QlTestWindows.h"
#include "common/QlMoney.h"

#include <limits.h>
#include <string.h>

TEST(Money, ParseReadsUnitsAndWholeHundredths)
{
    struct Case {
        const char *text;
        int64_t euro;
        int cents;
    } cases[] = {
        {nullptr, 0, 0}, {"", 0, 0}, {"12", 0, 0}, {"12.", 12, 0}, {"12.5", 12, 5}, {"12.05", 12, 5},
        {"12.50", 12, 50}, {"0.99", 0, 99}, {"1.2.3", 1, 2}, {"ab.cd", 0, 0}, {".75", 0, 75},
        {"1.123", 1, 123}, {"-1.50", -1, -50}, {"-0.05", 0, -5}, {" -12.34", -12, -34},
        {"99999999999.99", 99999999999LL, 99},
    };
    for (const Case &c : cases) {
        int64_t euro = -1;
        int cents = -1;
        QlMoneyParse(c.text, &euro, &cents);
        EXPECT_EQ(c.euro, euro) << (c.text ? c.text : "(null)");
        EXPECT_EQ(c.cents, cents) << (c.text ? c.text : "(null)");
    }
    char out[32];
    EXPECT_EQ(6, QlMoneyToCentsText("1234.05", out));
    EXPECT_STREQ("123405", out);
    QlMoneyToCentsText("-0.05", out);
    EXPECT_STREQ("-5", out);
}

// Texts whose amount cannot be held are no amount: they read as 0 wherever
// they come from, never as a wrapped value of either sign.
TEST(Money, TextsBeyondSixtyFourBitsReadAsNoAmountNeverWrapped)
{
    const char *beyond[] = {
        "99999999999999999999.00", "92233720368547759.00", "-92233720368547759.00",
        "92233720368547758.08",    "-92233720368547758.09", "-1.2147483648",
        "1.99999999999999999999",  "0.2147483648",          "  +99999999999999999999999999999.5",
    };
    for (const char *text : beyond) {
        int64_t euro = -1;
        int cents = -1;
        QlMoneyParse(text, &euro, &cents);
        EXPECT_EQ(0, euro) << text;
        EXPECT_EQ(0, cents) << text;
        EXPECT_EQ(0, QlMoneyParseCents(text)) << text;
        char out[32];
        QlMoneyToCentsText(text, out);
        EXPECT_STREQ("0", out) << text;
    }
    // The ends of 64 bits themselves still read.
    EXPECT_EQ(INT64_MAX, QlMoneyParseCents("92233720368547758.07"));
    EXPECT_EQ(INT64_MIN, QlMoneyParseCents("-92233720368547758.08"));
    EXPECT_EQ(-100 - 2147483647LL, QlMoneyParseCents("-1.2147483647"));
    EXPECT_EQ(99999999999LL, QlMoneyParseCents("999999999.99"));
}

TEST(Money, FormatWritesSignedTextsThatReadBack)
{
    struct Case {
        int64_t cents;
        const char *text;
    } cases[] = {
        {123405, "1234.05"}, {7, "0.07"}, {0, "0.00"}, {-1234, "-12.34"}, {-5, "-0.05"}, {-100, "-1.00"},
        {99999999999LL, "999999999.99"}, {INT64_MAX, "92233720368547758.07"},
        {INT64_MIN, "-92233720368547758.08"},
    };
    for (const Case &c : cases) {
        char out[40];
        QlMoneyFormatCents(c.cents, out, sizeof out);
        EXPECT_STREQ(c.text, out);
        if (c.cents != INT64_MIN) {
            EXPECT_EQ(c.cents, QlMoneyParseCents(out)) << out;
        }
    }
}

TEST(Money, TaxRoundsHalfUpOnPositiveAmounts)
{
    struct Case {
        int64_t rate, amount, tax;
    } cases[] = {
        {2300, 1050, 242},  // remainder exactly 5000 goes up
        {2300, 1049, 241},  {1350, 999, 135}, {2300, 1, 0}, {5000, 1, 1}, {4999, 1, 0},
        {2300, -1050, -241}, {0, 123456, 0}, {2300, 0, 0},
        {2300, 99999999999LL, 23000000000LL},     // the largest form total
        {10000, 99999999999LL, 99999999999LL},
    };
    for (const Case &c : cases) EXPECT_EQ(c.tax, QlMoneyApplyRate(c.rate, c.amount)) << c.rate << " on " << c.amount;
}

TEST(Money, PairArithmeticIn64Bits)
{
    int64_t euro = 10;
    int cents = 25;
    QlMoneySub(&euro, &cents, 1, 40);
    EXPECT_EQ(8, euro);
    EXPECT_EQ(85, cents);
    euro = 10, cents = 25;
    QlMoneySub(&euro, &cents, 1, 25);
    EXPECT_EQ(9, euro);
    EXPECT_EQ(0, cents);
    euro = 1, cents = 0;
    QlMoneySub(&euro, &cents, 2, 50);   // below zero: -1.50
    EXPECT_EQ(-1, euro);
    EXPECT_EQ(-50, cents);

    EXPECT_EQ(0, QlMoneyGreaterEq(10, 0, 10, 0));
    EXPECT_EQ(1, QlMoneyGreaterEq(10, 1, 10, 0));
    EXPECT_EQ(0, QlMoneyGreaterEq(-1, 0, 0, 0));

    QlMoneyMulCount(12, 34, 3, &euro, &cents);
    EXPECT_EQ(37, euro);
    EXPECT_EQ(2, cents);
    // A large price times a large count must not wrap in 32 bits.
    QlMoneyMulCount(2000000000, 99, 1000, &euro, &cents);
    EXPECT_EQ(2000000000990LL, euro);
    EXPECT_EQ(0, cents);
    QlMoneyMulCount(INT_MAX, 99, 1000000, &euro, &cents);
    EXPECT_EQ(((int64_t)INT_MAX * 100 + 99) * 1000000, euro * 100 + cents);
}

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
