#include "QlGTest.h"
#include "core/QlMoney.h"

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
