// Writing an edited line of a stored document back: the line, its product's
// stock by the difference of the quantities, the totals and the balance, in
// one database transaction.
#include "TransTestSupport.h"

#include "datastore/QlDbTables.h"
#include "docmodel/QlTransLines.h"

#include <string.h>

namespace {

class WriteBackTest : public TransTest {
protected:
    void SetUp() override
    {
        TransTest::SetUp();
        AddPipesAndElbows(200);
        // 3 x 12.50 at 23 % (37.50 + 8.63) and 10 x 1.99 (19.90): 66.03.
        QlTransSnapshot snap = Snapshot(QL_DOC_INVOICE, 1, "JO001", "66.03", {Pipes(3), Elbows(10)});
        strcpy(snap.tax, "8.63");
        ASSERT_EQ(1, Post(&snap, QL_DOC_INVOICE, &document));
        ASSERT_EQ(37, Stock("P001"));
        // The view lists the stored lines in order, each with its key.
        QlItemRowKeyTableClear();
        for (int i = 0; i < 2; i++)
            QlItemRowKeyTable.keys[QlItemRowKeyTable.count++] =
                atoll(Scalar(("select iKey from invoices order by iKey limit 1 offset " + std::to_string(i)).c_str())
                          .c_str());
    }
    static std::vector<std::string> Pipes(int quantity, const char *descr = "Copper pipe")
    {
        return ProductRow("P001", descr, quantity, 1250, 2300);
    }
    static std::vector<std::string> Elbows(int quantity) { return ProductRow("P002", "Brass elbow", quantity, 199, 0); }

    // The form after row 0 was edited to the given row, totals summed again.
    int WriteBack(std::vector<std::string> row0, const char *gross, const char *tax)
    {
        QlTransSnapshot snap = Snapshot(QL_DOC_INVOICE, 1, "JO001", gross, {row0, Elbows(10)});
        strcpy(snap.tax, tax);
        int ok = QlTransWriteBackLine(NULL, &snap, 0, QL_DOC_INVOICE, document);
        QlTransSnapshotFree(&snap);
        return ok;
    }
    std::string Header() { return Scalar("select gross||'|'||gross_bal||'|'||vat||'|'||gross_cents||'|'||gross_bal_cents||'|'||desc from trans;"); }

    int64_t document = 0;
};

}  // namespace

TEST_F(WriteBackTest, StockFollowsTheDifferenceOnce)
{
    // 5 x 12.50 at 23 %: 62.50 + 14.38, with the elbows 96.78.
    ASSERT_EQ(1, WriteBack(Pipes(5, "Copper pipe 2m"), "96.78", "14.38"));
    EXPECT_EQ(35, Stock("P001"));
    EXPECT_EQ(190, Stock("P002"));
    EXPECT_EQ("5|62.50|14.38|Copper pipe 2m", Scalar("select qty||'|'||net||'|'||vat||'|'||descr from invoices order by iKey limit 1;"));
    EXPECT_EQ("96.78|96.78|14.38|9678|9678|Copper pipe 2m", Header());

    // The same line written again changes no stock.
    ASSERT_EQ(1, WriteBack(Pipes(5, "Copper pipe 2m"), "96.78", "14.38"));
    EXPECT_EQ(35, Stock("P001"));

    // Fewer units give stock back.
    ASSERT_EQ(1, WriteBack(Pipes(1), "35.28", "2.88"));
    EXPECT_EQ(39, Stock("P001"));
}

TEST_F(WriteBackTest, ALineMovedToAnotherProductMovesTheStock)
{
    ASSERT_EQ(1, WriteBack(ProductRow("P002", "Brass elbow", 4, 199, 0), "27.86", "0.00"));
    EXPECT_EQ(40, Stock("P001"));
    EXPECT_EQ(186, Stock("P002"));
    EXPECT_EQ("P002|2", Scalar("select scode||'|'||prod_rowid from invoices order by iKey limit 1;"));
}

TEST_F(WriteBackTest, APaidPartStaysPaid)
{
    NativeExec("update trans set gross_bal='16.03', gross_bal_cents=1603;");   // 50.00 paid
    ASSERT_EQ(1, WriteBack(Pipes(5), "96.78", "14.38"));
    EXPECT_EQ("96.78|46.78|14.38|9678|4678|Copper pipe", Header());
}

TEST_F(WriteBackTest, TextsAreStoredExactly)
{
    const char *descr = "Joe's 12\" pipe";
    ASSERT_EQ(1, WriteBack(Pipes(3, descr), "66.03", "8.63"));
    QlItemRec line = {};
    ASSERT_EQ(1, QlItemGetByRowId(QlItemRowKey(0), &line, err));
    EXPECT_STREQ(descr, line.descr);
    QlTransRec rec = {};
    ASSERT_EQ(1, QlTransGetByRowId(document, &rec, err));
    EXPECT_STREQ(descr, rec.desc);
}

TEST_F(WriteBackTest, RefusalsChangeNothing)
{
    std::string before = Dump();
    EXPECT_EQ(0, WriteBack(Pipes(5), "0.00", "0.00"));
    EXPECT_EQ(0, WriteBack(ProductRow("ZZ9", "Gone", 1, 100, 0), "20.90", "0.00"));

    // A row past the key table shows a line that cannot be found again.
    QlItemRowKeyTable.count = 0;
    EXPECT_EQ(0, WriteBack(Pipes(5), "96.78", "14.38"));
    EXPECT_EQ(before, Dump());
    ASSERT_EQ(3u, messages.size());
    EXPECT_EQ("Zero gross amount", messages[0].text);
    EXPECT_EQ("Product not found", messages[1].caption);
    EXPECT_EQ("This line is not stored and cannot be edited", messages[2].text);
}

TEST_F(WriteBackTest, AFailureAtAnyStatementIsReportedAndUndone)
{
    StatementFault::Arm(-1);
    ASSERT_EQ(1, WriteBack(Pipes(5), "96.78", "14.38"));
    int statements = StatementFault::seen;
    StatementFault::Disarm();
    ASSERT_EQ(1, WriteBack(Pipes(3), "66.03", "8.63"));   // back as it was
    ASSERT_GT(statements, 5);

    for (int failAt = 0; failAt < statements; failAt++) {
        SCOPED_TRACE(failAt);
        std::string before = Dump();
        messages.clear();
        StatementFault::Arm(failAt);
        EXPECT_EQ(0, WriteBack(Pipes(5), "96.78", "14.38"));
        StatementFault::Disarm();
        EXPECT_EQ(before, Dump());
        ASSERT_EQ(1u, messages.size());
        // The store's own text, not a silent failure.
        if (messages[0].caption != "Error") {
            EXPECT_EQ("injected failure", messages[0].text);
        }
    }
}

TEST_F(WriteBackTest, CreditLinesWriteTheirThreeTexts)
{
    QlTransSnapshot credit = Snapshot(QL_DOC_CREDIT, 0, "JO001", "12.30", {{"Returned pipe", "10.00", "2.30"}});
    strcpy(credit.carriageTax, "2.30");
    int64_t key = 0;
    ASSERT_EQ(1, Post(&credit, QL_DOC_CREDIT, &key));
    QlItemRowKeyTableClear();
    QlItemRowKeyTable.keys[QlItemRowKeyTable.count++] =
        atoll(Scalar("select max(iKey) from invoices;").c_str());

    QlTransSnapshot edited = Snapshot(QL_DOC_CREDIT, 0, "JO001", "24.60", {{"Returned pipes", "20.00", "4.60"}});
    strcpy(edited.carriageTax, "4.60");
    ASSERT_EQ(1, QlTransWriteBackLine(NULL, &edited, 0, QL_DOC_CREDIT, key));
    QlTransSnapshotFree(&edited);
    EXPECT_EQ("Returned pipes|20.00|4.60", Scalar("select descr||'|'||net||'|'||vat from invoices order by iKey desc limit 1;"));
    EXPECT_EQ("24.60|24.60|4.60|0.00", Scalar(("select gross||'|'||gross_bal||'|'||vat||'|'||carriage from trans where iKey=" +
                                               std::to_string(key)).c_str()));
    EXPECT_EQ(37, Stock("P001"));
}

TEST_F(WriteBackTest, EveryKindIsReportedAndUndoneWhereverItFails)
{
    using Row = std::vector<std::string>;
    const struct {
        int type;
        Row stored, edited;
        const char *gross, *editedGross, *tax, *editedTax;
    } kinds[] = {
        {QL_DOC_CREDIT, {"Returned pipe", "10.00", "2.30"}, {"Returned pipes", "20.00", "4.60"}, "12.30", "24.60",
         "2.30", "4.60"},
        {QL_DOC_QUOTE, {"Survey", "23.00", "0", "100.00", "0.00", "100.00", "23.00"},
         {"Site survey", "23.00", "0", "150.00", "0.00", "150.00", "34.50"}, "123.00", "184.50", "23.00", "34.50"},
        {QL_DOC_INVOICE, {"Survey", "23.00", "0", "100.00", "0.00", "100.00", "23.00"},
         {"Site survey", "23.00", "0", "150.00", "0.00", "150.00", "34.50"}, "123.00", "184.50", "23.00", "34.50"},
    };
    for (const auto &k : kinds) {
        SCOPED_TRACE(k.type);
        // The credit note keeps its tax total where the others keep carriage tax.
        auto snapshot = [&](const Row &row, const char *gross, const char *tax) {
            QlTransSnapshot snap = Snapshot(k.type, 0, "JO001", gross, {row});
            strcpy(k.type == QL_DOC_CREDIT ? snap.carriageTax : snap.tax, tax);
            return snap;
        };
        auto writeBack = [&](const Row &row, const char *gross, const char *tax, int64_t key) {
            QlTransSnapshot snap = snapshot(row, gross, tax);
            int ok = QlTransWriteBackLine(NULL, &snap, 0, k.type, key);
            QlTransSnapshotFree(&snap);
            return ok;
        };
        QlTransSnapshot stored = snapshot(k.stored, k.gross, k.tax);
        int64_t key = 0;
        ASSERT_EQ(1, Post(&stored, k.type, &key));
        QlItemRowKeyTableClear();
        QlItemRowKeyTable.keys[QlItemRowKeyTable.count++] = atoll(Scalar("select max(iKey) from invoices;").c_str());

        StatementFault::Arm(-1);
        ASSERT_EQ(1, writeBack(k.edited, k.editedGross, k.editedTax, key));
        int statements = StatementFault::seen;
        StatementFault::Disarm();
        ASSERT_EQ(k.editedGross, Scalar(("select gross from trans where iKey=" + std::to_string(key) + ";").c_str()));
        ASSERT_EQ(1, writeBack(k.stored, k.gross, k.tax, key));

        for (int failAt = 0; failAt < statements; failAt++) {
            SCOPED_TRACE(failAt);
            std::string before = Dump();
            messages.clear();
            StatementFault::Arm(failAt);
            EXPECT_EQ(0, writeBack(k.edited, k.editedGross, k.editedTax, key));
            StatementFault::Disarm();
            EXPECT_EQ(before, Dump());
            EXPECT_EQ(1u, messages.size());
        }
    }
}
