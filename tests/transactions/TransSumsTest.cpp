// Customer balances and the other sums of transaction money texts, on a real
// company database.
#include "DbTestSupport.h"

#include "transactions/QlTransSums.h"

#include <sqlite3.h>
#include <string.h>
#include <string>
#include <vector>

namespace {

class TransSumsTest : public DataStoreTest {
protected:
    // A transaction of the customer with the two money texts; its key.
    int64_t Add(int64_t cust, uint32_t type, const char *gross, const char *grossBal)
    {
        QlTransRec rec = {};
        rec.type = type;
        rec.cust_rowid = cust;
        DbTestSet(rec.date, "1/2/2025");
        DbTestSet(rec.gross, gross);
        DbTestSet(rec.gross_bal, grossBal);
        EXPECT_EQ(1, QlTransAdd(&rec, err)) << err;
        return rec.iKey;
    }

    // The balance as "units/cents" so that a wrong pair shows at once.
    std::string Balance(int64_t cust)
    {
        QlCustRec rec = {};
        rec.iKey = cust;
        int64_t units = -999;
        int cents = -999;
        EXPECT_EQ(1, QlTransSumCustBalance(&units, &cents, &rec));
        return std::to_string(units) + "/" + std::to_string(cents);
    }
};

}  // namespace

TEST_F(TransSumsTest, BalanceIsTheSumOfTheOpenInvoiceBalances)
{
    // Customer 1: three invoices whose hundredths carry twice.
    Add(1, 1, "20.00", "10.60");
    Add(1, 1, "0.70", "0.70");
    Add(1, 1, "9.00", "5.80");
    // Customer 2: a text with one digit after the point, and a text without one.
    Add(2, 1, "5.50", "5.5");
    Add(2, 1, "12.00", "12");
    // Customer 3: credit notes, payments, quotations and a deleted invoice do not count.
    Add(3, 1, "40.00", "40.00");
    Add(3, 2, "15.00", "15.00");
    Add(3, 3, "25.00", "25.00");
    Add(3, 4, "99.00", "99.00");
    int64_t gone = Add(3, 1, "7.00", "7.00");
    ASSERT_EQ(1, QlDbDisableRow(gone, "trans", err)) << err;
    // Customer 4: signed texts sum as signed amounts.
    Add(4, 1, "-12.34", "-12.34");
    Add(4, 1, "20.00", "20.00");
    // Customer 5: a balance below zero by less than one unit.
    Add(5, 1, "-0.50", "-0.50");
    // Customer 6: overpaid on the whole.
    Add(6, 1, "-30.00", "-30.25");
    Add(6, 1, "10.00", "10.00");

    const struct {
        int64_t cust;
        const char *balance;
    } cases[] = {{1, "17/10"}, {2, "5/5"}, {3, "40/0"}, {4, "7/66"}, {5, "0/-50"}, {6, "-20/-25"}, {7, "0/0"}};
    for (const auto &c : cases) EXPECT_EQ(c.balance, Balance(c.cust)) << "customer " << c.cust;
}

TEST_F(TransSumsTest, PaidGrossCountsOnlyFullyPaidDocumentsOfTheType)
{
    Add(1, 1, "10.60", "0.00");
    Add(1, 1, "0.70", "0.00");
    Add(1, 1, "5.00", "0.01");    // not fully paid
    Add(1, 1, "0.00", "0.00");    // nothing to pay
    Add(1, 2, "8.00", "0.00");    // another type
    Add(2, 1, "3.00", "0.00");    // another customer
    int64_t units = -1;
    int cents = -1;
    EXPECT_EQ(1, QlTransSumCustPaidGross(1, 1, &units, &cents));
    EXPECT_EQ(11, units);
    EXPECT_EQ(30, cents);
    EXPECT_EQ(1, QlTransSumCustPaidGross(1, 2, &units, &cents));
    EXPECT_EQ(8, units);
    EXPECT_EQ(0, cents);
}

TEST_F(TransSumsTest, AddGrossKeepsARunningTotal)
{
    int64_t units = 0;
    int cents = 0;
    QlTransRec rec = {};
    for (const char *gross : {"10.60", "0.70", "5.80", "-2.25", "none"}) {
        DbTestSet(rec.gross, gross);
        QlTransAddGross(&rec, &units, &cents);
    }
    EXPECT_EQ(14, units);
    EXPECT_EQ(85, cents);
}

namespace {
std::vector<std::string> gSeen;
int SeeStatement(const char *sql)
{
    gSeen.push_back(sql);
    return 0;
}
}  // namespace

TEST_F(TransSumsTest, BalancesReadThroughTheCustomerIndex)
{
    // Filling the customers list sums every account: each sum must be a look-up,
    // never a walk through the whole trans table.  The plans are those of the
    // very statements the balance runs.
    Add(5, 1, "3.00", "3.00");
    QlCustRec cust = {};
    cust.iKey = 5;
    int64_t units = 0;
    int cents = 0;
    gSeen.clear();
    QlDbExecHook = SeeStatement;
    EXPECT_EQ(1, QlTransSumCustBalance(&units, &cents, &cust));
    QlDbExecHook = NULL;
    EXPECT_EQ(300, units * 100 + cents);
    ASSERT_FALSE(gSeen.empty());

    sqlite3 *db = NULL;
    ASSERT_EQ(SQLITE_OK, sqlite3_open(DbTestNativePath(dbPath).c_str(), &db));
    for (const std::string &sql : gSeen) {
        std::string plan;
        sqlite3_exec(
            db, ("explain query plan " + sql).c_str(),
            [](void *out, int columns, char **values, char **) {
                *(std::string *)out += std::string(values[columns - 1] ? values[columns - 1] : "") + "\n";
                return 0;
            },
            &plan, NULL);
        EXPECT_NE(std::string::npos, plan.find("USING INDEX trans_cust_type")) << sql << "\n" << plan;
        EXPECT_EQ(std::string::npos, plan.find("SCAN trans")) << sql << "\n" << plan;
    }
    sqlite3_close(db);
}

TEST_F(TransSumsTest, StockQuantityGoesBackToTheProduct)
{
    QlProdRec prod = {};
    DbTestSet(prod.scode, "W1");
    DbTestSet(prod.name, "Widget");
    prod.stock_qty = 5;
    ASSERT_EQ(1, QlProdAddRec(&prod, err)) << err;

    QlItemRec line = {};
    line.prod_rowid = prod.iKey;
    DbTestSet(line.qty, "3");
    EXPECT_EQ(1, QlProdAddStockQty(&line));
    EXPECT_EQ("8", Scalar("select stock_qty from products;"));

    line.prod_rowid = prod.iKey + 100;
    EXPECT_EQ(0, QlProdAddStockQty(&line));
    EXPECT_EQ("8", Scalar("select stock_qty from products;"));
}
