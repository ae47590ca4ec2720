// Saving a document: a snapshot of the form posted to a real company
// database, all or nothing.
#include "TransTestSupport.h"

#include "core/QlMoney.h"
#include "datastore/QlDbTables.h"

#include <string.h>

namespace {

class PostTest : public TransTest {
protected:
    void SetUp() override
    {
        TransTest::SetUp();
        AddPipesAndElbows(200);
    }
    // Copper pipe 3 x 12.50 at 23 % (37.50 + 8.63) and brass elbow 10 x 1.99
    // at 0 % (19.90), carriage 5.00 with 1.15 tax: 72.18.
    QlTransSnapshot TwoProducts(const char *customNumber = "")
    {
        QlTransSnapshot snap = Snapshot(QL_DOC_INVOICE, 1, "JO001", "72.18",
                                        {ProductRow("P001", "Copper pipe", 3, 1250, 2300),
                                         ProductRow("P002", "Brass elbow", 10, 199, 0)});
        strcpy(snap.tax, "8.63");
        strcpy(snap.carriage, "5.00");
        strcpy(snap.carriageTax, "1.15");
        strcpy(snap.orderNumber, "PO-1");
        snprintf(snap.customNumber, sizeof snap.customNumber, "%s", customNumber);
        return snap;
    }
    std::string Count(const char *sql) { return Scalar(sql); }
};

}  // namespace

TEST_F(PostTest, TwoLineProductInvoice)
{
    int64_t before = 0;
    ASSERT_EQ(1, QlTransGetCount(&before));
    QlTransSnapshot snap = TwoProducts();
    int64_t key = 0;
    ASSERT_EQ(1, Post(&snap, QL_DOC_INVOICE, &key));
    EXPECT_TRUE(messages.empty());

    QlTransRec rec = {};
    ASSERT_EQ(1, QlTransGetByRowId(key, &rec, err)) << err;
    EXPECT_EQ(1u, rec.type);
    EXPECT_EQ(1u, rec.sub_type);
    EXPECT_EQ(customer, rec.cust_rowid);
    EXPECT_STREQ("JO001", rec.acref);
    EXPECT_STREQ("72.18", rec.gross);
    EXPECT_STREQ("72.18", rec.gross_bal);
    EXPECT_STREQ("8.63", rec.vat);
    EXPECT_STREQ("5.00", rec.carriage);
    EXPECT_STREQ("1.15", rec.carriage_vat);
    EXPECT_STREQ("PO-1", rec.order_number);
    EXPECT_STREQ("14/3/2025", rec.date);
    EXPECT_EQ(2u, rec.num_sub_items);
    EXPECT_STREQ("Copper pipe", rec.desc);
    EXPECT_EQ("7218|7218", Scalar("select gross_cents || '|' || gross_bal_cents from trans;"));
    EXPECT_EQ(Scalar("select min(iKey) from invoices;"), std::to_string(rec.doc_rowid));

    EXPECT_EQ("2", Count("select count(*) from invoices;"));
    EXPECT_EQ("Copper pipe|3|P001|1|37.50|8.63|12.50|23.00",
              Scalar("select descr||'|'||qty||'|'||scode||'|'||prod_rowid||'|'||net||'|'||vat||'|'||subtotal||'|'||"
                     "vatr_str from invoices order by iKey limit 1;"));
    EXPECT_EQ(std::to_string(key) + "|1", Scalar("select group_concat(distinct tx_rowid) || '|' || "
                                                 "group_concat(distinct sub_type) from invoices;"));
    EXPECT_EQ(37, Stock("P001"));
    EXPECT_EQ(190, Stock("P002"));

    int64_t after = 0;
    ASSERT_EQ(1, QlTransGetCount(&after));
    EXPECT_EQ(before + 1, after);
    EXPECT_EQ(7218, Balance());
}

TEST_F(PostTest, OnlySalesDocumentsOfProductsTakeStock)
{
    QlSuppRec supplier = {};
    DbTestSet(supplier.acref, "SU001");
    DbTestSet(supplier.company, "Pipe Supplies");
    ASSERT_EQ(1, QlSuppAdd(&supplier, err)) << err;

    QlTransSnapshot credit = Snapshot(QL_DOC_CREDIT, 0, "JO001", "12.30", {{"Returned pipe", "10.00", "2.30"}});
    strcpy(credit.carriageTax, "2.30");
    strcpy(credit.tax, "99.99");   // the credit form's tax total is 1167, not 1164
    int64_t creditKey = 0;
    ASSERT_EQ(1, Post(&credit, QL_DOC_CREDIT, &creditKey));
    QlTransRec rec = {};
    ASSERT_EQ(1, QlTransGetByRowId(creditKey, &rec, err));
    EXPECT_EQ(2u, rec.type);
    EXPECT_STREQ("2.30", rec.vat);
    EXPECT_STREQ("0.00", rec.carriage);
    EXPECT_EQ("Returned pipe|10.00|2.30|", Scalar("select descr||'|'||net||'|'||vat||'|'||vatr_str from invoices;"));

    QlTransSnapshot purchase = Snapshot(QL_DOC_PURCHASE, 0, "SU001", "123.00",
                                        {{"Copper pipe", "23.00", "100.00", "100.00", "23.00"}});
    strcpy(purchase.tax, "23.00");
    int64_t purchaseKey = 0;
    ASSERT_EQ(1, Post(&purchase, QL_DOC_PURCHASE, &purchaseKey));
    ASSERT_EQ(1, QlTransGetByRowId(purchaseKey, &rec, err));
    EXPECT_EQ(6u, rec.type);
    EXPECT_EQ(supplier.iKey, rec.supp_rowid);
    EXPECT_EQ(0, rec.cust_rowid);
    EXPECT_STREQ("23.00", rec.vat);
    EXPECT_EQ(40, Stock("P001"));
    EXPECT_EQ(200, Stock("P002"));

    // A quotation of products lowers the stock as an invoice does.
    QlTransSnapshot quote =
        Snapshot(QL_DOC_QUOTE, 1, "JO001", "25.00", {ProductRow("P001", "Copper pipe", 2, 1250, 0)});
    ASSERT_EQ(1, Post(&quote, QL_DOC_QUOTE));
    EXPECT_EQ(38, Stock("P001"));
}

TEST_F(PostTest, TextsReachTheDatabaseExactly)
{
    const char *descr = "Joe's 12\" pipe";
    QlTransSnapshot snap = Snapshot(QL_DOC_INVOICE, 0, "JO001", "10.00",
                                    {{descr, "0.00", "0", "10.00", "0.00", "10.00", "0.00"}});
    strcpy(snap.orderNumber, "PO'7\"");
    int64_t key = 0;
    ASSERT_EQ(1, Post(&snap, QL_DOC_INVOICE, &key));
    QlTransRec rec = {};
    ASSERT_EQ(1, QlTransGetByRowId(key, &rec, err));
    EXPECT_STREQ(descr, rec.desc);
    EXPECT_STREQ("PO'7\"", rec.order_number);
    QlItemRec line = {};
    ASSERT_EQ(1, QlItemGetByRowId(rec.doc_rowid, &line, err));
    EXPECT_STREQ(descr, line.descr);
    EXPECT_EQ(0, line.prod_rowid);
}

TEST_F(PostTest, RefusalsStoreNothing)
{
    const struct {
        const char *what, *acref, *gross;
        int rows;
        const char *caption, *text;
    } cases[] = {
        {"no account", "", "10.00", 1, "Missing Account Number", "Please Select Customer Account Number"},
        {"no lines", "JO001", "10.00", 0, "Error", "Zero gross amount"},
        {"zero gross with lines", "JO001", "0.00", 1, "Error", "Zero gross amount"},
        {"unknown account", "ZZ999", "10.00", 1, "Error", "Customer account does not exist"},
    };
    std::string before = Dump();
    for (const auto &c : cases) {
        messages.clear();
        std::vector<std::vector<std::string>> rows;
        if (c.rows) rows.push_back({"Consulting", "0.00", "0", "10.00", "0.00", "10.00", "0.00"});
        QlTransSnapshot snap = Snapshot(QL_DOC_INVOICE, 0, c.acref, c.gross, rows);
        EXPECT_EQ(0, Post(&snap, QL_DOC_INVOICE)) << c.what;
        ASSERT_EQ(1u, messages.size()) << c.what;
        EXPECT_EQ(c.caption, messages[0].caption) << c.what;
        EXPECT_EQ(c.text, messages[0].text) << c.what;
    }
    EXPECT_EQ(before, Dump());
}

// Another program holding the file locked is no missing account: the save
// says the data could not be read, with the store's text, and stores
// nothing; once the lock is gone the same save goes through.
TEST_F(PostTest, ALockedFileIsNoMissingAccount)
{
    std::string before = Dump();
    {
        DbTestLock lock(dbPath);
        ASSERT_TRUE(lock.held());
        messages.clear();
        QlTransSnapshot snap = TwoProducts();
        EXPECT_EQ(0, Post(&snap, QL_DOC_INVOICE));
        ASSERT_EQ(1u, messages.size());
        EXPECT_EQ("Cannot read the company's data", messages[0].caption);
        EXPECT_EQ("database is locked", messages[0].text);
    }
    EXPECT_EQ(before, Dump());
    messages.clear();
    QlTransSnapshot snap = TwoProducts();
    EXPECT_EQ(1, Post(&snap, QL_DOC_INVOICE));
    EXPECT_TRUE(messages.empty());
}

TEST_F(PostTest, ACustomNumberInUseFailsCleanly)
{
    QlTransSnapshot first = TwoProducts("500");
    int64_t key = 0;
    ASSERT_EQ(1, Post(&first, QL_DOC_INVOICE, &key));
    EXPECT_EQ(500, key);

    std::string before = Dump();
    messages.clear();
    QlTransSnapshot second = TwoProducts("500");
    EXPECT_EQ(0, Post(&second, QL_DOC_INVOICE));
    ASSERT_EQ(1u, messages.size());
    EXPECT_EQ("Add transaction failed", messages[0].caption);
    EXPECT_NE(std::string::npos, messages[0].text.find("UNIQUE")) << messages[0].text;
    EXPECT_EQ(before, Dump());
}

TEST_F(PostTest, AProductThatIsGoneStopsTheWholeSave)
{
    std::string before = Dump();
    QlTransSnapshot snap = Snapshot(QL_DOC_INVOICE, 1, "JO001", "30.00",
                                    {ProductRow("P001", "Copper pipe", 1, 1250, 0),
                                     ProductRow("ZZ9", "Gone", 1, 1750, 0)});
    EXPECT_EQ(0, Post(&snap, QL_DOC_INVOICE));
    ASSERT_EQ(1u, messages.size());
    EXPECT_EQ("Product not found", messages[0].caption);
    EXPECT_EQ(before, Dump());
}

TEST_F(PostTest, AFailureAtAnyStatementLeavesNoTrace)
{
    // Count the statements of a save that succeeds.
    StatementFault::Arm(-1);
    QlTransSnapshot counted = TwoProducts();
    ASSERT_EQ(1, Post(&counted, QL_DOC_INVOICE));
    int statements = StatementFault::seen;
    StatementFault::Disarm();
    ASSERT_GT(statements, 10);

    for (int failAt = 0; failAt < statements; failAt++) {
        SCOPED_TRACE(failAt);
        std::string before = Dump();
        messages.clear();
        StatementFault::Arm(failAt);
        QlTransSnapshot snap = TwoProducts();
        EXPECT_EQ(0, Post(&snap, QL_DOC_INVOICE));
        StatementFault::Disarm();
        EXPECT_EQ(1u, messages.size());
        EXPECT_EQ(before, Dump());
    }

    // Saving again after the failures stores the document once.
    QlTransSnapshot again = TwoProducts();
    ASSERT_EQ(1, Post(&again, QL_DOC_INVOICE));
    EXPECT_EQ("2", Scalar("select count(*) from trans;"));
    EXPECT_EQ("4", Scalar("select count(*) from invoices;"));
    EXPECT_EQ(34, Stock("P001"));
}

static std::string Money(int64_t cents)
{
    char text[32];
    QlMoneyFormatCents(cents, text, sizeof text);
    return text;
}

static int gBegins, gCommits;
static int CountTransactions(const char *sql)
{
    gBegins += strncmp(sql, "begin", 5) == 0;
    gCommits += strncmp(sql, "commit", 6) == 0;
    return 0;
}

TEST_F(PostTest, OneDatabaseTransactionWhateverTheLineCount)
{
    for (int lines : {1, 50}) {
        std::vector<std::vector<std::string>> rows;
        for (int i = 0; i < lines; i++) rows.push_back(ProductRow("P002", "Brass elbow", 1, 199, 0));
        QlTransSnapshot snap = Snapshot(QL_DOC_INVOICE, 1, "JO001", Money(199LL * lines).c_str(), rows);
        gBegins = gCommits = 0;
        QlDbExecHook = CountTransactions;
        EXPECT_EQ(1, Post(&snap, QL_DOC_INVOICE));
        QlDbExecHook = NULL;
        EXPECT_EQ(1, gBegins) << lines;
        EXPECT_EQ(1, gCommits) << lines;
    }
    EXPECT_EQ(149, Stock("P002"));
}
