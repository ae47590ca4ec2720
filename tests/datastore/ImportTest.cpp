// The import of the old record files at company open, from files built byte
// by byte.
#include "DbTestSupport.h"

#include "ui/QlSeams.h"
#include "datastore/QlDbImport.h"

#include <string.h>
#include <string>
#include <vector>

namespace {

typedef std::vector<unsigned char> Record;

void PutText(Record &r, size_t offset, const std::string &text)
{
    memcpy(r.data() + offset, text.data(), text.size());   // no terminator: the record is zero-filled
}

void PutU32(Record &r, size_t offset, uint32_t v)
{
    for (int i = 0; i < 4; i++) r[offset + i] = (unsigned char)(v >> (8 * i));
}

void PutI64(Record &r, size_t offset, int64_t v)
{
    for (int i = 0; i < 8; i++) r[offset + i] = (unsigned char)((uint64_t)v >> (8 * i));
}

Record Customer(const std::string &acref, const std::string &company, int64_t units, uint32_t hundredths)
{
    Record r(QL_LEGACY_CUST_SIZE, 0);
    PutText(r, 2, acref);
    PutText(r, 8, company);
    PutText(r, 243, "1 Quay Street");
    PutI64(r, 368, units);
    PutU32(r, 376, hundredths);
    r[392] = 1;    // apply discount
    r[394] = 5;    // discount 5%
    r[398] = 2;    // rate C
    return r;
}

Record Product(const std::string &code, const std::string &barcode, const std::string &name, int32_t units,
               uint32_t hundredths, int32_t stock)
{
    Record r(QL_LEGACY_PROD_SIZE, 0);
    PutText(r, 0, code);
    PutText(r, 5, barcode);
    PutText(r, 56, name);
    PutU32(r, 140, (uint32_t)units);
    PutU32(r, 144, hundredths);
    PutU32(r, 148, (uint32_t)stock);
    return r;
}

Record Document(uint32_t type, uint32_t key, const std::string &acref, const std::string &gross, uint32_t items)
{
    Record r(QL_LEGACY_TRANS_SIZE, 0);
    PutU32(r, 0, type);
    PutU32(r, 4, 1);
    PutU32(r, 12, key);
    PutText(r, 20, "07/03/2012");
    PutU32(r, 36, items);
    PutText(r, 40, acref);
    PutText(r, 46, "5.00");
    PutText(r, 65, "2.30");
    PutText(r, 78, gross);
    PutText(r, 91, gross);
    PutU32(r, 104, 4711);
    return r;
}

Record Line(uint32_t key, const std::string &text, const std::string &net, uint8_t kind, const std::string &code)
{
    Record r(QL_LEGACY_LINE_SIZE, 0);
    PutU32(r, 0, key);
    PutText(r, 4, text);
    PutText(r, 84, "23.00");
    PutText(r, 90, net);
    PutText(r, 103, net);
    PutText(r, 116, "0.00");
    PutText(r, 129, "0.00");
    PutText(r, 142, "0");
    r[148] = kind;
    PutText(r, 149, "2");
    PutText(r, 159, code);
    PutU32(r, 164, 0xDEADBEEF);   // what the old program kept there in memory
    return r;
}

Record Payment(uint32_t key, const std::string &paid)
{
    Record r(QL_LEGACY_PAY_SIZE, 0);
    PutU32(r, 0, key);
    PutText(r, 12, paid);
    return r;
}

void WriteRecords(const std::string &path, const std::vector<Record> &records, size_t extra = 0)
{
    std::string bytes;
    for (const Record &r : records) bytes.append((const char *)r.data(), r.size());
    bytes.append(extra, 'x');   // a part of a record
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    DWORD written = 0;
    ASSERT_TRUE(WriteFile(file, bytes.data(), (DWORD)bytes.size(), &written, NULL));
    CloseHandle(file);
}

std::vector<std::string> gBoxes;
int WINAPI RecordBox(HWND, LPCSTR text, LPCSTR caption, UINT)
{
    gBoxes.push_back(std::string(caption ? caption : "<none>") + ": " + (text ? text : ""));
    return IDOK;
}

// A working folder with company 0's folder in it.
class ImportTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder = QlTestMakeFolder("qlimport_");
        ASSERT_FALSE(folder.empty());
        GetCurrentDirectoryA(sizeof oldDir, oldDir);
        ASSERT_TRUE(SetCurrentDirectoryA(folder.c_str()));
        ASSERT_TRUE(CreateDirectoryA("COMP000", NULL));
        dbPath = folder + "\\COMP000\\quilry.db";
        QlSeamMessageBox = RecordBox;
        QlDbCurrentCompany = [] { return 0; };
        gBoxes.clear();
    }
    void TearDown() override
    {
        QlCompanyDbClose();
        QlSeamsReset();
        SetCurrentDirectoryA(oldDir);
        QlTestRemoveFolder(folder);
    }
    void Open()
    {
        char err[QL_DB_ERR_SIZE] = "";
        ASSERT_EQ(1, QlCompanyDbOpen(err)) << err;
    }
    void Reopen()
    {
        QlCompanyDbClose();
        Open();
    }
    std::string Scalar(const char *sql) { return DbTestNativeScalar(dbPath, sql); }

    std::string folder;
    std::string dbPath;
    char oldDir[MAX_PATH];
};

}  // namespace

TEST_F(ImportTest, AFolderWithoutOldFilesOpensUnchanged)
{
    Open();
    for (const char *table : {"customers", "products", "trans", "invoices", "payments"})
        EXPECT_EQ("0", Scalar(("select count(*) from " + std::string(table) + ";").c_str())) << table;
    EXPECT_EQ("0", Scalar("select count from transcount;"));
    EXPECT_FALSE(GetFileAttributesA("COMP000\\" QL_LEGACY_MARKER) != INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(gBoxes.empty());
}

// 1000 bytes hold two whole customers; the rest is ignored.  Texts that fill
// their field without a terminator are cut to fit the record.
TEST_F(ImportTest, CustomersAndProductsCopiedBoundedAndTerminated)
{
    std::string longName(40, 'N');   // fills its field: no terminator in the file
    WriteRecords("COMP000\\" QL_LEGACY_CUSTOMERS,
                 {Customer("AB001", "O'Neil's Bakery", 12, 34), Customer("ABCDEF", longName, -3, 150)}, 200);
    WriteRecords("COMP000\\" QL_LEGACY_PRODUCTS,
                 {Product("W1", std::string(51, '7'), std::string(84, 'd'), 19, 99, 42),
                  Product("G'2", "5012345678900", "Gadget", 0, 5, -1)});
    Open();

    EXPECT_EQ("2", Scalar("select count(*) from customers;"));
    EXPECT_EQ("O'Neil's Bakery", Scalar("select company from customers where acref='AB001';"));
    EXPECT_EQ("12.34", Scalar("select balance from customers where acref='AB001';"));
    EXPECT_EQ("1 Quay Street", Scalar("select addr1 from customers where acref='AB001';"));
    EXPECT_EQ("5", Scalar("select discount from customers where acref='AB001';"));
    EXPECT_EQ("2", Scalar("select vat_rate_index from customers where acref='AB001';"));
    EXPECT_EQ(std::string(39, 'N'), Scalar("select company from customers where acref='ABCDE';"));
    EXPECT_EQ("-4.50", Scalar("select balance from customers where acref='ABCDE';"));

    EXPECT_EQ("2", Scalar("select count(*) from products;"));
    EXPECT_EQ(std::string(30, '7'), Scalar("select barcode from products where scode='W1';"));
    EXPECT_EQ(std::string(80, 'd'), Scalar("select name from products where scode='W1';"));
    EXPECT_EQ("19.99", Scalar("select unit_price from products where scode='W1';"));
    EXPECT_EQ("42", Scalar("select stock_qty from products where scode='W1';"));
    EXPECT_EQ("0.05", Scalar("select unit_price from products where scode='G''2';"));
    EXPECT_TRUE(gBoxes.empty());
}

TEST_F(ImportTest, DocumentsWithTheirLinesAndPayments)
{
    WriteRecords("COMP000\\" QL_LEGACY_CUSTOMERS, {Customer("AB001", "Acme", 0, 0)});
    WriteRecords("COMP000\\" QL_LEGACY_PRODUCTS, {Product("W1", "", "Widget", 1, 0, 10)});
    WriteRecords("COMP000\\" QL_LEGACY_TRANS,
                 {
                     Document(1, 7, "AB001", "24.60", 2),            // invoice with two lines
                     Document(1, 8, "ZZ999", "99.00", 1),            // no such account: skipped with its line
                     Document(1 | QL_LEGACY_NOT_IN_USE, 9, "AB001", "1.00", 1),   // not in use
                     Document(3, 10, "AB001", "10.00", 2),           // payment, its line never imported
                     Document(3, 7, "AB001", "5.00", 1),             // payment sharing the invoice's key
                 });
    WriteRecords("COMP000\\" QL_LEGACY_LINES,
                 {
                     Line(7, "Widgets", "20.00", 1, "W1"),
                     Line(8, "Lost", "99.00", 0, ""),
                     Line(7, "Fitting", "4.60", 0, ""),
                     Line(9, "Unused", "1.00", 0, ""),
                     Line(10, "Payment for 7", "10.00", 0, ""),
                 });
    WriteRecords("COMP000\\" QL_LEGACY_PAYMENTS,
                 {Payment(10, "6.00"), Payment(8, "99.00"), Payment(10, "4.00"), Payment(7, "5.00"),
                  Payment(11, "1.00")});
    Open();
    ASSERT_TRUE(gBoxes.empty()) << gBoxes[0];

    // The invoice, the two payments; nothing of account ZZ999 or of record 9.
    EXPECT_EQ("3", Scalar("select count(*) from trans;"));
    EXPECT_EQ("3", Scalar("select count from transcount;"));
    EXPECT_EQ("0", Scalar("select count(*) from trans where acref='ZZ999' or gross='1.00';"));
    EXPECT_EQ("1", Scalar("select cust_rowid from trans where iKey=1;"));
    EXPECT_EQ("Widgets", Scalar("select desc from trans where iKey=1;"));
    EXPECT_EQ("4711", Scalar("select order_number from trans where iKey=1;"));
    EXPECT_EQ("2460", Scalar("select gross_cents from trans where iKey=1;"));

    // Both lines carry the invoice's new key; the first is its doc_rowid; the
    // product line found its product.
    EXPECT_EQ("2", Scalar("select count(*) from invoices;"));
    EXPECT_EQ("2", Scalar("select count(*) from invoices where tx_rowid=1;"));
    EXPECT_EQ(Scalar("select iKey from invoices where descr='Widgets';"), Scalar("select doc_rowid from trans where iKey=1;"));
    EXPECT_EQ("1", Scalar("select prod_rowid from invoices where descr='Widgets';"));
    EXPECT_EQ("0", Scalar("select prod_rowid from invoices where descr='Fitting';"));

    // Payment 10: both allocations, with no document (its line was never
    // imported, whatever the file held); the first gives the payment its
    // doc_rowid and its description.
    EXPECT_EQ("2", Scalar("select count(*) from payments where tx_rowid=2;"));
    EXPECT_EQ("0", Scalar("select count(*) from payments where tx_rowid=2 and iv_rowid<>0;"));
    EXPECT_EQ(Scalar("select min(iKey) from payments where tx_rowid=2;"), Scalar("select doc_rowid from trans where iKey=2;"));
    EXPECT_EQ("Payment for 7", Scalar("select desc from trans where iKey=2;"));
    // Payment with the invoice's key: its allocation names the invoice's first line.
    EXPECT_EQ(Scalar("select iKey from invoices where descr='Widgets';"),
              Scalar("select iv_rowid from payments where tx_rowid=3;"));
    EXPECT_EQ("3", Scalar("select count(*) from payments;"));
}

TEST_F(ImportTest, DocumentsNeedTheLinesFile)
{
    WriteRecords("COMP000\\" QL_LEGACY_CUSTOMERS, {Customer("AB001", "Acme", 0, 0)});
    WriteRecords("COMP000\\" QL_LEGACY_TRANS, {Document(1, 7, "AB001", "24.60", 1)});
    WriteRecords("COMP000\\" QL_LEGACY_PAYMENTS, {Payment(7, "1.00")});
    Open();
    EXPECT_EQ("1", Scalar("select count(*) from customers;"));
    EXPECT_EQ("0", Scalar("select count(*) from trans;"));
    EXPECT_EQ("0", Scalar("select count(*) from payments;"));
}

// Once per company: neither a second open nor emptied tables (as after a
// cleardown) bring the old records back.
TEST_F(ImportTest, ASecondOpenImportsNothing)
{
    WriteRecords("COMP000\\" QL_LEGACY_CUSTOMERS, {Customer("AB001", "Acme", 0, 0)});
    WriteRecords("COMP000\\" QL_LEGACY_TRANS, {Document(1, 7, "AB001", "24.60", 1)});
    WriteRecords("COMP000\\" QL_LEGACY_LINES, {Line(7, "Widgets", "20.00", 0, "")});
    WriteRecords("COMP000\\" QL_LEGACY_PAYMENTS, {});
    Open();
    EXPECT_EQ("1", Scalar("select count(*) from trans;"));
    Reopen();
    EXPECT_EQ("1", Scalar("select count(*) from customers;"));
    EXPECT_EQ("1", Scalar("select count(*) from trans;"));

    QlCompanyDbClose();
    DbTestNativeExec(dbPath, "delete from trans; delete from invoices; update transcount set count=0;");
    Open();
    EXPECT_EQ("0", Scalar("select count(*) from trans;"));
    // The old files stay where they were.
    for (const char *name : {QL_LEGACY_CUSTOMERS, QL_LEGACY_TRANS, QL_LEGACY_LINES, QL_LEGACY_PAYMENTS})
        EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(("COMP000\\" + std::string(name)).c_str())) << name;
}

// A line that does not go in stops the import after telling the user; none
// of it stays, and the next open tries again.
TEST_F(ImportTest, AFailedImportLeavesNothingAndRunsAgain)
{
    Open();   // the database, made before the old files arrive
    QlCompanyDbClose();
    DbTestNativeExec(dbPath, "create trigger refuse before insert on invoices begin select raise(abort, 'refused'); end;");
    WriteRecords("COMP000\\" QL_LEGACY_CUSTOMERS, {Customer("AB001", "Acme", 0, 0)});
    WriteRecords("COMP000\\" QL_LEGACY_TRANS, {Document(1, 7, "AB001", "24.60", 1)});
    WriteRecords("COMP000\\" QL_LEGACY_LINES, {Line(7, "Widgets", "20.00", 0, "")});
    WriteRecords("COMP000\\" QL_LEGACY_PAYMENTS, {});

    Open();
    ASSERT_EQ(1u, gBoxes.size());
    EXPECT_EQ("Add invoice item failed: refused", gBoxes[0]);
    EXPECT_EQ("0", Scalar("select count(*) from customers;"));
    EXPECT_EQ("0", Scalar("select count(*) from trans;"));
    EXPECT_EQ("0", Scalar("select count from transcount;"));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA("COMP000\\" QL_LEGACY_MARKER));

    QlCompanyDbClose();
    DbTestNativeExec(dbPath, "drop trigger refuse;");
    Open();
    EXPECT_EQ("1", Scalar("select count(*) from customers;"));
    EXPECT_EQ("1", Scalar("select count(*) from invoices;"));
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA("COMP000\\" QL_LEGACY_MARKER));
}

TEST(ImportFind, FirstRecordOfTheKey)
{
    QlDListRec list;
    QlDListInit(&list);
    Record a = Payment(5, "1.00"), b = Payment(6, "2.00"), c = Payment(6, "3.00");
    for (const Record *r : {&a, &b, &c}) ASSERT_NE(nullptr, QlDListAppendCopy(&list, r->data(), (int)r->size()));
    unsigned char found[QL_LEGACY_PAY_SIZE] = {};
    ASSERT_EQ(1, QlLegacyFindByKey(&list, 6, found, sizeof found));
    EXPECT_STREQ("2.00", (const char *)found + 12);
    EXPECT_EQ(0, QlLegacyFindByKey(&list, 7, found, sizeof found));
    QlDListFree(&list);
}
