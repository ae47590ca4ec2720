// Customers and suppliers.
#include "DbTestSupport.h"

#include <string.h>
#include <vector>

static std::vector<QlCustRec> gCusts;
static int CollectCust(const QlCustRec *rec)
{
    gCusts.push_back(*rec);
    return 0;
}

static std::vector<QlSuppRec> gSupps;
static int CollectSupp(const QlSuppRec *rec)
{
    gSupps.push_back(*rec);
    return 0;
}

// The texts each case puts into every text field, each cut to its field.
static const char *const kTexts[] = {
    "Acme Trading Ltd",
    "O'Neil's 'Best' Bakery",
    "'''''''''''''''''''''''''''''''''''''''''''''''''''''''''''''''''''''''''''''''''",
    "It's a long company name that fills the whole field of eighty bytes, it's true!!",
    "\xEF\xBC\xB1\xEF\xBC\xB5\xEF\xBC\xA9'\xEF\xBC\xAC\xEF\xBC\xAC\xEF\xBC\xAF\xEF\xBC\xB2\xEF\xBC\xB9 "
    "\xEF\xBC\xAC\xEF\xBC\xB4\xEF\xBC\xA4'\xEF\xBC\xB3\xEF\xBC\xB1\xEF\xBC\xB5\xEF\xBC\xA9\xEF\xBC\xAC\xEF\xBC\xAC",
};

template <size_t N> static void Fill(char (&field)[N], const char *text)
{
    size_t len = strlen(text) < N - 1 ? strlen(text) : N - 1;
    memcpy(field, text, len);
    field[len] = '\0';
}

template <class Rec> static void FillAccount(Rec *rec, const char *text)
{
    Fill(rec->acref, text);
    Fill(rec->company, text);
    Fill(rec->contact, text);
    Fill(rec->worktel, text);
    Fill(rec->wemail, text);
    Fill(rec->mobtel, text);
    Fill(rec->fax, text);
    Fill(rec->addr1, text);
    Fill(rec->addr2, text);
    Fill(rec->addr3, text);
}

template <class Rec> static void ExpectSameAccount(const Rec &want, const Rec &got)
{
    EXPECT_EQ(want.iKey, got.iKey);
    EXPECT_STREQ(want.acref, got.acref);
    EXPECT_STREQ(want.company, got.company);
    EXPECT_STREQ(want.contact, got.contact);
    EXPECT_STREQ(want.worktel, got.worktel);
    EXPECT_STREQ(want.wemail, got.wemail);
    EXPECT_STREQ(want.mobtel, got.mobtel);
    EXPECT_STREQ(want.fax, got.fax);
    EXPECT_STREQ(want.addr1, got.addr1);
    EXPECT_STREQ(want.addr2, got.addr2);
    EXPECT_STREQ(want.addr3, got.addr3);
    EXPECT_EQ(want.balance_units, got.balance_units);
    EXPECT_EQ(want.balance_hundredths, got.balance_hundredths);
}

TEST_F(DataStoreTest, CustomerTextsRoundTripExactly)
{
    std::vector<QlCustRec> added;
    for (const char *text : kTexts) {
        SCOPED_TRACE(text);
        QlCustRec rec = {};
        FillAccount(&rec, text);
        rec.balance_units = 1234;
        rec.balance_hundredths = 5;
        rec.apply_discount = 1;
        rec.discount = 15;
        rec.apply_tax = 1;
        rec.vat_rate_index = 2;
        ASSERT_EQ(1, QlCustAdd(&rec, err)) << err;
        EXPECT_EQ((int64_t)added.size() + 1, rec.iKey);

        QlCustRec got = {};
        ASSERT_EQ(1, QlCustGetByRowId(rec.iKey, &got, err)) << err;
        ExpectSameAccount(rec, got);
        EXPECT_EQ(15, got.discount);
        EXPECT_EQ(2, got.vat_rate_index);
        EXPECT_EQ(1, got.apply_discount);
        EXPECT_EQ(1, got.apply_tax);

        memset(&got, 0, sizeof got);
        ASSERT_EQ(1, QlCustGetByAcRef(rec.acref, &got, err)) << err;
        ExpectSameAccount(rec, got);
        EXPECT_EQ(1, QlDbRowExists("customers", "company", rec.company));
        added.push_back(rec);
    }
    EXPECT_EQ("1234.05", Scalar("select balance from customers where iKey=1;"));
    EXPECT_EQ(kTexts[1], Scalar("select company from customers where iKey=2;"));

    // Update every row to the texts of the next case.
    for (size_t i = 0; i < added.size(); i++) {
        QlCustRec rec = added[i];
        FillAccount(&rec, kTexts[(i + 1) % added.size()]);
        rec.balance_units = -12;
        rec.balance_hundredths = 34;
        ASSERT_EQ(1, QlCustUpdate(&rec, err)) << err;
        added[i] = rec;
    }
    gCusts.clear();
    ASSERT_EQ(1, QlCustEnum(CollectCust, err)) << err;
    ASSERT_EQ(added.size(), gCusts.size());
    for (size_t i = 0; i < added.size(); i++) ExpectSameAccount(added[i], gCusts[i]);
    EXPECT_EQ("-12.34", Scalar("select balance from customers where iKey=1;"));
}

TEST_F(DataStoreTest, DeletedCustomerIsHiddenFromReadsButStillExists)
{
    QlCustRec a = {}, b = {};
    DbTestSet(a.acref, "OB001");
    DbTestSet(b.acref, "OB002");
    ASSERT_EQ(1, QlCustAdd(&a, err));
    ASSERT_EQ(1, QlCustAdd(&b, err));
    ASSERT_EQ(1, QlDbDisableRow(a.iKey, "customers", err)) << err;

    QlCustRec got = {};
    EXPECT_EQ(0, QlCustGetByAcRef("OB001", &got, err));
    EXPECT_STREQ("item with acref 'OB001' not found in database", err);
    EXPECT_EQ(0, QlCustGetByRowId(a.iKey, &got, err));
    EXPECT_STREQ("item with rowid '1' not found in database", err);
    EXPECT_EQ(1, QlDbRowExists("customers", "acref", "OB001"));
    EXPECT_EQ(0, QlCustGetByAcRef("O'B01", &got, err));
    EXPECT_STREQ("item with acref 'O'B01' not found in database", err);

    gCusts.clear();
    ASSERT_EQ(1, QlCustEnum(CollectCust, err));
    ASSERT_EQ(1u, gCusts.size());
    EXPECT_STREQ("OB002", gCusts[0].acref);
}

TEST_F(DataStoreTest, AccountTextThatDoesNotEndInItsFieldIsRefused)
{
    QlCustRec cust = {};
    memset(cust.company, 'x', sizeof cust.company);   // no terminator in the field
    EXPECT_EQ(0, QlCustAdd(&cust, err));
    EXPECT_STREQ("Text does not fit its field", err);
    QlSuppRec supp = {};
    memset(supp.addr3, 'y', sizeof supp.addr3);
    EXPECT_EQ(0, QlSuppAdd(&supp, err));
    EXPECT_STREQ("Text does not fit its field", err);
    EXPECT_EQ("0", Scalar("select (select count(*) from customers) + (select count(*) from suppliers);"));
}

TEST_F(DataStoreTest, RowsWrittenElsewhereParseSafely)
{
    // NULL columns read as empty texts and zeros; an acref of six characters
    // does not fit: the customer is delivered with acref and every later
    // column empty, the supplier is skipped by the list but found by key.
    NativeExec("insert into customers (iKey,enabled,acref) values (7,'yes',NULL);"
               "insert into customers (iKey,enabled,acref,company,contact) values (8,'yes','ABCDEF','Co','Jo');"
               "insert into suppliers (iKey,enabled,acref,company) values (9,'yes','ABCDEF','Co');"
               "insert into suppliers (iKey,enabled,acref,balance) values (10,'yes','S1',NULL);");
    QlCustRec cust = {};
    ASSERT_EQ(1, QlCustGetByRowId(7, &cust, err)) << err;
    EXPECT_STREQ("", cust.acref);
    EXPECT_STREQ("", cust.company);
    EXPECT_EQ(0, cust.balance_units);
    EXPECT_EQ(0, cust.vat_rate_index);

    gCusts.clear();
    ASSERT_EQ(1, QlCustEnum(CollectCust, err));
    ASSERT_EQ(2u, gCusts.size());
    EXPECT_EQ(8, gCusts[1].iKey);
    EXPECT_STREQ("", gCusts[1].acref);
    EXPECT_STREQ("", gCusts[1].company);

    gSupps.clear();
    ASSERT_EQ(1, QlSuppEnum(CollectSupp, err));
    ASSERT_EQ(1u, gSupps.size());
    EXPECT_STREQ("S1", gSupps[0].acref);
    QlSuppRec supp = {};
    EXPECT_EQ(1, QlSuppGetByRowId(9, &supp, err));
    EXPECT_STREQ("", supp.company);
}

TEST_F(DataStoreTest, SuppliersKeepDeletedRowsReadable)
{
    std::vector<QlSuppRec> added;
    for (const char *text : kTexts) {
        QlSuppRec rec = {};
        FillAccount(&rec, text);
        rec.balance_units = 99;
        rec.balance_hundredths = 1;
        ASSERT_EQ(1, QlSuppAdd(&rec, err)) << err;
        QlSuppRec got = {};
        ASSERT_EQ(1, QlSuppGetByAcRef(rec.acref, &got, err)) << err;
        ExpectSameAccount(rec, got);
        EXPECT_EQ(1, QlSuppExists(rec.acref, err));
        added.push_back(rec);
    }
    EXPECT_EQ("99.01", Scalar("select balance from suppliers where iKey=1;"));

    QlSuppRec rec = added[0];
    DbTestSet(rec.company, "Renamed 'n' Co");
    ASSERT_EQ(1, QlSuppUpdate(&rec, err)) << err;
    ASSERT_EQ(1, QlSuppDisable(rec.iKey, err)) << err;

    QlSuppRec got = {};
    ASSERT_EQ(1, QlSuppGetByRowId(rec.iKey, &got, err)) << err;
    ExpectSameAccount(rec, got);
    EXPECT_EQ(1, QlSuppExists(rec.acref, err));
    gSupps.clear();
    ASSERT_EQ(1, QlSuppEnum(CollectSupp, err));
    EXPECT_EQ(added.size() - 1, gSupps.size());
    for (const QlSuppRec &s : gSupps) EXPECT_NE(rec.iKey, s.iKey);

    strcpy(err, "untouched");
    EXPECT_EQ(0, QlSuppExists("ZZ'99", err));
    EXPECT_STREQ("untouched", err);
    EXPECT_EQ(0, QlSuppGetByRowId(42, &got, err));
    EXPECT_STREQ("item with rowid '42' not found in database", err);
    EXPECT_EQ(0, QlSuppGetByAcRef("ZZ'99", &got, err));
    EXPECT_STREQ("item with acref 'ZZ'99' not found in database", err);
}

TEST_F(DataStoreTest, EnumerationWithCallersStatementAndItsFailure)
{
    for (const char *acref : {"C1", "C2", "C3"}) {
        QlCustRec rec = {};
        DbTestSet(rec.acref, acref);
        ASSERT_EQ(1, QlCustAdd(&rec, err));
    }
    gCusts.clear();
    ASSERT_EQ(1, QlCustEnumSql(CollectCust, "select iKey,acref from customers order by iKey desc", err));
    ASSERT_EQ(3u, gCusts.size());
    EXPECT_STREQ("C3", gCusts[0].acref);
    EXPECT_EQ(3, gCusts[0].iKey);

    EXPECT_EQ(0, QlSuppEnumSql(CollectSupp, "select * from no_such_table", err));
    EXPECT_STREQ("no such table: no_such_table", err);
}
