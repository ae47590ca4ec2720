// Customer balances and the other sums of transaction money texts, on a real
// company database.
#include "DbTestSupport.h"

#include "docmodel/QlTransSums.h"
#include "transactions/QlPay.h"

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

TEST_F(TransSumsTest, GroupedBalancesAreThePerAccountBalancesToTheCent)
{
    // Accounts with invoices, credit notes, quotations, payments against
    // their invoices (in part and in full), deleted documents, an invoice
    // whose cents an older file never had, and an account with nothing.
    std::vector<int64_t> accounts;
    for (const char *acref : {"AA000", "BB000", "CC000", "DD000", "EE000"}) {
        QlCustRec rec = {};
        DbTestSet(rec.acref, acref);
        DbTestSet(rec.company, acref);
        DbTestSet(rec.addr1, "1 High Street");
        ASSERT_EQ(1, QlCustAdd(&rec, err)) << err;
        accounts.push_back(rec.iKey);
    }
    const int64_t a = accounts[0], b = accounts[1], c = accounts[2], d = accounts[3];
    int64_t paidInPart = Add(a, 1, "120.40", "120.40");
    Add(a, 1, "0.65", "0.65");
    Add(a, 2, "30.00", "30.00");
    Add(a, 4, "999.99", "999.99");
    int64_t paidInFull = Add(b, 1, "19.99", "19.99");
    Add(b, 1, "-5.01", "-5.01");
    ASSERT_EQ(1, QlDbDisableRow(Add(b, 1, "70.00", "70.00"), "trans", err)) << err;
    ASSERT_EQ(1, QlDbDisableRow(Add(c, 2, "8.00", "8.00"), "trans", err)) << err;
    Add(c, 1, "-0.99", "-0.99");
    int64_t older = Add(d, 1, "3.05", "3.05");
    Add(d, 1, "1.10", "1.10");
    NativeExec(("update trans set gross_bal_cents=NULL where iKey=" + std::to_string(older) + ";").c_str());
    Add(0, 1, "4.00", "4.00");   // an invoice of no account

    struct Paid {
        int64_t account, invoice;
        const char *amount;
    } payments[] = {{a, paidInPart, "100.41"}, {b, paidInFull, "19.99"}};
    for (const Paid &p : payments) {
        QlCustRec cust = {};
        ASSERT_EQ(1, QlCustGetByRowId(p.account, &cust, err)) << err;
        QlPayRow row = {};
        snprintf(row.ref, sizeof row.ref, "%lld", (long long)p.invoice);
        snprintf(row.paid, sizeof row.paid, "%s", p.amount);
        QlPaySnapshot snap = {};
        snap.listedAccount = p.account;
        strcpy(snap.date, "20/3/2025");
        snap.rowCount = 1;
        snap.rows = &row;
        int64_t key = 0;
        ASSERT_EQ(1, QlPaySaveSnapshot(NULL, &snap, &cust, &key));
    }

    QlCustBalanceRec *rows = NULL;
    int count = -1;
    ASSERT_EQ(1, QlTransSumAllCustBalances(&rows, &count, err)) << err;
    EXPECT_EQ(5, count);   // the four accounts and row id 0; the account with nothing is not listed
    const struct {
        int64_t account;
        int64_t cents;
    } expected[] = {{a, 2064}, {b, -501}, {c, -99}, {d, 415}, {accounts[4], 0}};
    for (const auto &e : expected) {
        SCOPED_TRACE(e.account);
        int64_t grouped = QlTransFindCustBalance(rows, count, e.account);
        EXPECT_EQ(e.cents, grouped);
        QlCustRec rec = {};
        rec.iKey = e.account;
        int64_t units = 0;
        int cents = 0;
        ASSERT_EQ(1, QlTransSumCustBalance(&units, &cents, &rec));
        EXPECT_EQ(units * 100 + cents, grouped);
    }
    free(rows);

    // A query that cannot run answers 0 with the store's text.
    QlDbClose();
    err[0] = '\0';
    rows = (QlCustBalanceRec *)&count;
    EXPECT_EQ(0, QlTransSumAllCustBalances(&rows, &count, err));
    EXPECT_EQ(nullptr, rows);
    EXPECT_NE('\0', err[0]);
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
