// Transactions, document lines, payments and the transaction counter.
#include "DbTestSupport.h"

#include <string.h>
#include <vector>

static std::vector<QlTransRec> gTrans;
static int CollectTrans(const QlTransRec *rec)
{
    gTrans.push_back(*rec);
    return 0;
}

static std::vector<QlItemRec> gItems;
static int CollectItem(const QlItemRec *rec)
{
    gItems.push_back(*rec);
    return 0;
}

static std::vector<QlPayRec> gPays;
static int CollectPay(const QlPayRec *rec)
{
    gPays.push_back(*rec);
    return 0;
}

static QlTransRec MakeTrans(uint32_t type, int64_t cust, const char *gross, const char *bal)
{
    QlTransRec rec = {};
    DbTestSet(rec.desc, "Widgets for O'Neil's 'shop'");
    rec.type = type;
    rec.sub_type = 1;
    rec.doc_rowid = 0;
    rec.cust_rowid = cust;
    DbTestSet(rec.acref, "ON'01");
    DbTestSet(rec.date, "31/12/2024");
    rec.num_sub_items = 2;
    DbTestSet(rec.carriage, "5.00");
    DbTestSet(rec.carriage_vat, "1.15");
    DbTestSet(rec.gross, gross);
    DbTestSet(rec.gross_bal, bal);
    DbTestSet(rec.vat, "2.30");
    DbTestSet(rec.order_number, "PO'1234567");
    return rec;
}

static int64_t Count(void)
{
    int64_t count = -1;
    EXPECT_EQ(1, QlTransGetCount(&count));
    return count;
}

TEST_F(DataStoreTest, TransAddStoresCentsAndCounts)
{
    QlTransRec rec = MakeTrans(1, 7, "12.50", "0.00");
    ASSERT_EQ(1, QlTransAdd(&rec, err)) << err;
    EXPECT_EQ(1, rec.iKey);
    EXPECT_EQ(1, Count());
    EXPECT_EQ("1250|0", Scalar("select gross_cents || '|' || gross_bal_cents from trans;"));

    QlTransRec got = {};
    ASSERT_EQ(1, QlTransGetByRowId(1, &got, err)) << err;
    EXPECT_STREQ(rec.desc, got.desc);
    EXPECT_STREQ(rec.acref, got.acref);
    EXPECT_STREQ(rec.order_number, got.order_number);
    EXPECT_STREQ("1.15", got.carriage_vat);
    EXPECT_STREQ("12.50", got.gross);
    EXPECT_EQ(1u, got.type);
    EXPECT_EQ(1u, got.sub_type);
    EXPECT_EQ(7, got.cust_rowid);
    EXPECT_EQ(2u, got.num_sub_items);

    // A chosen key is kept; a key in use fails and is not counted.
    QlTransRec chosen = MakeTrans(3, 7, "-1234.05", "-0.05");
    chosen.iKey = 40;
    ASSERT_EQ(1, QlTransAdd(&chosen, err)) << err;
    EXPECT_EQ(40, chosen.iKey);
    EXPECT_EQ("-123405|-5", Scalar("select gross_cents || '|' || gross_bal_cents from trans where iKey=40;"));
    QlTransRec again = MakeTrans(3, 7, "1.00", "1.00");
    again.iKey = 40;
    EXPECT_EQ(0, QlTransAdd(&again, err));
    EXPECT_STREQ("UNIQUE constraint failed: trans.iKey", err);
    EXPECT_EQ(2, Count());

    // Full fields of quotes.
    QlTransRec full = MakeTrans(4, 7, "0.00", "0.00");
    DbTestSet(full.desc, std::string(79, '\''));
    DbTestSet(full.date, std::string(31, '\''));
    DbTestSet(full.order_number, std::string(10, '\''));
    ASSERT_EQ(1, QlTransAdd(&full, err)) << err;
    EXPECT_EQ(41, full.iKey);
    ASSERT_EQ(1, QlTransGetByRowId(41, &got, err)) << err;
    EXPECT_EQ(std::string(79, '\''), got.desc);
    EXPECT_EQ(std::string(31, '\''), got.date);
    EXPECT_EQ(std::string(10, '\''), got.order_number);

    EXPECT_EQ(0, QlTransGetByRowId(2, &got, err));
    EXPECT_STREQ("item with rowid '2' not found in database", err);
}

// Fails the statement that raises the counter.
static int FailCountUpdate(const char *sql)
{
    return strstr(sql, "update transcount") != NULL;
}

TEST_F(DataStoreTest, TransAddStoresTheRowAndItsCountTogether)
{
    QlTransRec rec = MakeTrans(1, 7, "12.50", "12.50");
    QlDbExecHook = FailCountUpdate;
    EXPECT_EQ(0, QlTransAdd(&rec, err));
    QlDbExecHook = NULL;
    EXPECT_STREQ(QL_DB_ERR_INJECTED, err);
    EXPECT_EQ("0", Scalar("select count(*) from trans;"));
    EXPECT_EQ(0, Count());

    // Inside a caller's transaction, the caller decides.
    ASSERT_EQ(1, QlDbBegin(err)) << err;
    ASSERT_EQ(1, QlTransAdd(&rec, err)) << err;
    QlDbRollback();
    EXPECT_EQ("0", Scalar("select count(*) from trans;"));
    EXPECT_EQ(0, Count());
    ASSERT_EQ(1, QlDbBegin(err)) << err;
    ASSERT_EQ(1, QlTransAdd(&rec, err)) << err;
    ASSERT_EQ(1, QlDbCommit(err)) << err;
    EXPECT_EQ("1", Scalar("select count(*) from trans;"));
    EXPECT_EQ(1, Count());
}

TEST_F(DataStoreTest, TransEnumerationsSelectByCustomerAndType)
{
    struct {
        uint32_t type;
        int64_t cust;
    } rows[] = {{1, 7}, {2, 7}, {3, 7}, {1, 8}, {4, 7}, {1, 7}};
    for (const auto &r : rows) {
        QlTransRec rec = MakeTrans(r.type, r.cust, "1.00", "1.00");
        ASSERT_EQ(1, QlTransAdd(&rec, err)) << err;
    }
    ASSERT_EQ(1, QlDbDisableRow(6, "trans", err));

    auto keys = [](void) {
        std::string out;
        for (const QlTransRec &t : gTrans) out += std::to_string(t.iKey) + " ";
        gTrans.clear();
        return out;
    };
    gTrans.clear();
    ASSERT_EQ(1, QlTransEnum(CollectTrans, err));
    EXPECT_EQ("1 2 3 4 5 ", keys());
    ASSERT_EQ(1, QlTransEnumByCust(CollectTrans, 7, err));
    EXPECT_EQ("1 2 3 5 ", keys());
    ASSERT_EQ(1, QlTransEnumByCustType(CollectTrans, 7, 1, err));
    EXPECT_EQ("1 ", keys());
    ASSERT_EQ(1, QlTransEnumByCustTypes(CollectTrans, 7, 2, 4, err));
    EXPECT_EQ("2 5 ", keys());
    ASSERT_EQ(1, QlTransEnumSql(CollectTrans, "select * from trans where type='1' order by iKey desc", err));
    EXPECT_EQ("6 4 1 ", keys());

    QlTransRec got = {};
    EXPECT_EQ(1, QlTransGetByRowId(6, &got, err));   // deleted rows stay readable by key
    EXPECT_EQ(6, Count());
}

TEST_F(DataStoreTest, TransRowWithNullColumnsParses)
{
    NativeExec("insert into trans (iKey) values (3);");
    QlTransRec got = {};
    ASSERT_EQ(1, QlTransGetByRowId(3, &got, err)) << err;
    EXPECT_STREQ("", got.desc);
    EXPECT_STREQ("", got.gross);
    EXPECT_STREQ("0.00", got.carriage_vat);
    EXPECT_EQ(0u, got.type);
    EXPECT_EQ(0, got.cust_rowid);
}

static QlItemRec MakeItem(int64_t tx, int64_t prod, const char *descr)
{
    QlItemRec rec = {};
    DbTestSet(rec.descr, descr);
    rec.tx_rowid = tx;
    DbTestSet(rec.vatr_str, "B'23%");
    DbTestSet(rec.subtotal, "100.00");
    DbTestSet(rec.net, "90.00");
    DbTestSet(rec.vat, "20.70");
    DbTestSet(rec.disca, "10.00");
    DbTestSet(rec.discr, "10'%");
    rec.sub_type = 1;
    DbTestSet(rec.qty, "''''''''");
    rec.prod_rowid = prod;
    DbTestSet(rec.scode, "P'1");
    return rec;
}

TEST_F(DataStoreTest, DocumentLinesAddReadFindAndList)
{
    std::vector<QlItemRec> added = {MakeItem(1, 5, "First 'line'"), MakeItem(1, 6, "Second line"),
                                    MakeItem(2, 5, std::string(79, '\'').c_str())};
    for (QlItemRec &item : added) ASSERT_EQ(1, QlItemAdd(&item, err)) << err;

    QlItemRec got = {};
    ASSERT_EQ(1, QlItemGetByRowId(3, &got, err)) << err;
    EXPECT_EQ(std::string(79, '\''), got.descr);
    EXPECT_STREQ("B'23%", got.vatr_str);
    EXPECT_STREQ("10'%", got.discr);
    EXPECT_STREQ("''''''''", got.qty);
    EXPECT_STREQ("P'1", got.scode);
    EXPECT_EQ(1, got.sub_type);
    EXPECT_EQ(2, got.tx_rowid);
    EXPECT_EQ(5, got.prod_rowid);

    gItems.clear();
    ASSERT_EQ(1, QlItemEnumByTrans(CollectItem, 1, err));
    ASSERT_EQ(2u, gItems.size());
    EXPECT_STREQ("First 'line'", gItems[0].descr);
    EXPECT_STREQ("90.00", gItems[1].net);

    ASSERT_EQ(1, QlItemFind("prod_rowid", 6, &got, err));
    EXPECT_EQ(2, got.iKey);
    ASSERT_EQ(1, QlDbDisableRow(2, "invoices", err));
    strcpy(err, "untouched");
    EXPECT_EQ(0, QlItemFind("prod_rowid", 6, &got, err));
    EXPECT_STREQ("untouched", err);
    EXPECT_EQ(0, QlItemFind("no_such_column", 6, &got, err));
    EXPECT_STREQ("no such column: no_such_column", err);
    EXPECT_EQ(1, QlItemGetByRowId(2, &got, err));
    EXPECT_EQ(0, QlItemGetByRowId(9, &got, err));
    EXPECT_STREQ("item with rowid '9' not found in database", err);
}

// A row function that lists the lines of the same table again for every
// line: the outer walk must go on with its own row function.
static int gOuterCalls, gInnerCalls;
static int InnerItem(const QlItemRec *rec)
{
    gInnerCalls++;
    return 0;
}
static int OuterItem(const QlItemRec *rec)
{
    gOuterCalls++;
    char err[QL_DB_ERR_SIZE];
    QlItemEnumByTrans(InnerItem, rec->tx_rowid, err);
    QlTransRec trans = {};
    QlTransGetByRowId(1, &trans, err);
    return 0;
}

TEST_F(DataStoreTest, RowFunctionMayEnumerateTheSameTable)
{
    for (int i = 0; i < 3; i++) {
        QlItemRec item = MakeItem(1, 5, "line");
        ASSERT_EQ(1, QlItemAdd(&item, err));
    }
    gOuterCalls = gInnerCalls = 0;
    ASSERT_EQ(1, QlItemEnumByTrans(OuterItem, 1, err));
    EXPECT_EQ(3, gOuterCalls);
    EXPECT_EQ(9, gInnerCalls);
}

TEST_F(DataStoreTest, PaymentsByPaymentAndByDocument)
{
    struct {
        int64_t tx, iv;
        const char *paid;
    } rows[] = {{10, 1, "5.00"}, {10, 2, "-0.05"}, {11, 1, "1234567890.12"}, {12, 1, "'"}};
    for (const auto &r : rows) {
        QlPayRec pay = {};
        pay.tx_rowid = r.tx;
        pay.iv_rowid = r.iv;
        DbTestSet(pay.paid, r.paid);
        ASSERT_EQ(1, QlPayAdd(&pay, err)) << err;
    }
    gPays.clear();
    ASSERT_EQ(1, QlPayEnumByTrans(CollectPay, 10, err));
    ASSERT_EQ(2u, gPays.size());
    EXPECT_STREQ("-0.05", gPays[1].paid);
    EXPECT_EQ(2, gPays[1].iv_rowid);

    gPays.clear();
    ASSERT_EQ(1, QlPayEnumByItem(CollectPay, 1, err));
    ASSERT_EQ(1u, gPays.size());   // three paid document 1: one is delivered
    EXPECT_STREQ("5.00", gPays[0].paid);
    ASSERT_EQ(1, QlDbDisableRow(1, "payments", err));
    gPays.clear();
    ASSERT_EQ(1, QlPayEnumByItem(CollectPay, 1, err));
    ASSERT_EQ(1u, gPays.size());
    EXPECT_STREQ("1234567890.12", gPays[0].paid);
    EXPECT_EQ("'", Scalar("select paid from payments where iKey=4;"));
}

TEST_F(DataStoreTest, CounterLastRowAndClearing)
{
    EXPECT_EQ(1, QlTransUpdateCount(31999));
    EXPECT_EQ(1, QlTransCountIncrement());
    EXPECT_EQ(32000, Count());
    EXPECT_EQ(1, QlTransCountDecrement());
    EXPECT_EQ(31999, Count());

    int64_t last = -1;
    EXPECT_EQ(1, QlTransGetLastRowId(&last));
    EXPECT_EQ(0, last);
    for (int i = 0; i < 2; i++) {
        QlTransRec rec = MakeTrans(1, 7, "1.00", "1.00");
        ASSERT_EQ(1, QlTransAdd(&rec, err));
        QlItemRec item = MakeItem(rec.iKey, 5, "x");
        ASSERT_EQ(1, QlItemAdd(&item, err));
    }
    QlPayRec pay = {};
    ASSERT_EQ(1, QlPayAdd(&pay, err));
    QlOrderRec order = {};
    ASSERT_EQ(1, QlOrderAdd(&order, err));
    EXPECT_EQ(1, QlTransGetLastRowId(&last));
    EXPECT_EQ(2, last);
    EXPECT_EQ(32001, Count());

    ASSERT_EQ(1, QlTransClearAll(err)) << err;
    EXPECT_EQ(0, Count());
    EXPECT_EQ(1, QlTransGetLastRowId(&last));
    EXPECT_EQ(0, last);
    EXPECT_EQ("0", Scalar("select (select count(*) from trans) + (select count(*) from invoices) + "
                          "(select count(*) from payments) + (select count(*) from orders);"));

    // Without its row the counter reads 0, not the value read before.
    EXPECT_EQ(1, QlTransUpdateCount(12));
    EXPECT_EQ(12, Count());
    NativeExec("delete from transcount;");
    EXPECT_EQ(0, Count());

    // A counter table without the count column fails the read.
    NativeExec("drop table transcount; create table transcount (iKey INTEGER PRIMARY KEY, other INTEGER);"
               "insert into transcount values (1, 5);");
    int64_t count = -1;
    EXPECT_EQ(0, QlTransGetCount(&count));
    EXPECT_EQ(0, count);
    EXPECT_EQ(0, QlTransClearAll(err));
    EXPECT_STREQ("QlTransUpdateCount failed", err);
}
