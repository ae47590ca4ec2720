// The line arithmetic of the line dialogs and row writers: integer cents in
// 64 bits, tax rounded half up, the ceiling of a document's gross.
#include "QlGTest.h"

#include "core/QlMoney.h"
#include "docmodel/QlTransLines.h"
#include "settings/QlSettings.h"
#include "transactions/QlItemDialogs.h"
#include "transactions/QlTransForm.h"

#include <string.h>
#include <string>

TEST(LineMath, ServiceLines)
{
    const struct {
        int64_t price, discount, rate;
        int64_t discounted, tax, total;
    } cases[] = {
        {1234, 10, 2300, 1111, 256, 1367},     // 255.53 rounds up
        {10000, 15, 2300, 8500, 1955, 10455},
        {8500, 1, 1750, 8415, 1473, 9888},     // 1472.6 rounds up
        {99, 0, 1350, 99, 13, 112},            // 13.365 rounds down
        {1, 50, 2300, 1, 0, 1},                // 1 - 1 x 50 / 100 truncates to 1
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::to_string(c.price) + " at " + std::to_string(c.discount) + "% rate " + std::to_string(c.rate));
        int64_t discounted = QlItemDiscounted(c.price, c.discount);
        int64_t tax = QlMoneyApplyRate(c.rate, discounted);
        EXPECT_EQ(c.discounted, discounted);
        EXPECT_EQ(c.tax, tax);
        EXPECT_EQ(c.total, discounted + tax);
        // The row keeps the tax the dialog showed and the same net.
        QlLineFigures row = QlLineService(c.price, c.discount, tax);
        EXPECT_EQ(c.price - row.net, row.discount);
        EXPECT_EQ(tax, row.tax);
    }
}

TEST(LineMath, ProductLinesTaxTheNetNotTheUnit)
{
    const struct {
        int64_t price, quantity, discount, rate;
        int64_t gross, discountAmount, net, tax;
    } cases[] = {
        {99, 3, 0, 1350, 297, 0, 297, 40},           // 40.095
        {1250, 3, 0, 1750, 3750, 0, 3750, 656},      // 3 x 2.19 would be 6.57
        {1000, 7, 10, 2300, 7000, 700, 6300, 1449},
        // Price x quantity beyond 32 bits.
        {999999999, 9999999, 0, 0, 9999998990000001LL, 0, 9999998990000001LL, 0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::to_string(c.price) + " x " + std::to_string(c.quantity));
        QlLineFigures f = QlLineProduct(c.price, c.quantity, c.discount, c.rate);
        EXPECT_EQ(c.gross, f.gross);
        EXPECT_EQ(c.discountAmount, f.discount);
        EXPECT_EQ(c.net, f.net);
        EXPECT_EQ(c.tax, f.tax);
    }
}

TEST(LineMath, TheCeilingOfADocumentsGross)
{
    const int64_t ceiling = QL_MAX_GROSS_CENTS;
    const struct {
        const char *what;
        int64_t test, rate, formTotal, oldAmount;
        int within;
    } cases[] = {
        // 100000.00 x 9999 + one unit price at rate A: exactly 1000000000.00.
        {"price x qty + price over", 10000000LL * 9999 + 10000000LL, 0, 0, 0, 0},
        {"at the ceiling", ceiling, 0, 0, 0, 1},
        {"one cent over", 1, 0, ceiling, 0, 0},
        {"tax takes it over", 90000000000LL, 2300, 0, 0, 0},
        // The largest line the fields allow, 9999999.99 x 9999999 at 99.99 %:
        // refused, with no product of test and rate beyond 64 bits.
        {"the largest line", 999999999LL * 9999999 + 999999999LL, 9999, 0, 0, 0},
        {"the edited row is taken out", 100000, 0, ceiling, 100000, 1},
        {"another row's amount is not", 100001, 0, ceiling, 100000, 0},
    };
    for (const auto &c : cases) EXPECT_EQ(c.within, QlItemWithinCeiling(c.test, c.rate, c.formTotal, c.oldAmount)) << c.what;
}

TEST(LineMath, TaxOfOneUnitAndRateTexts)
{
    const struct {
        const char *tax;
        int quantity;
        const char *perUnit;
    } units[] = {{"6.57", 3, "2.19"}, {"6.56", 3, "2.18"}, {"0.40", 0, "0.40"}, {"-3.00", 2, "-1.50"}};
    for (const auto &u : units) {
        char text[32];
        strcpy(text, u.tax);
        QlItemVatPerUnit(text, sizeof text, u.quantity);
        EXPECT_STREQ(u.perUnit, text) << u.tax << " / " << u.quantity;
    }

    QlSettingsBlock saved = QlSettings;
    QlSettings.rates[0] = 0;
    QlSettings.rates[1] = 2300;
    QlSettings.rates[2] = 550;
    EXPECT_EQ(1, QlItemRateIndexOfText("23.00"));
    EXPECT_EQ(2, QlItemRateIndexOfText("5.50"));
    EXPECT_EQ(0, QlItemRateIndexOfText("0.00"));
    EXPECT_EQ(-1, QlItemRateIndexOfText("13.50"));
    EXPECT_EQ(-1, QlItemRateIndexOfText(""));
    QlSettings = saved;
}
