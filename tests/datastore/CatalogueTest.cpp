// Products, services and purchase-order lines.
#include "DbTestSupport.h"

#include <stdio.h>
#include <string.h>
#include <vector>

static std::vector<QlProdRec> gProds;
static int CollectProd(const QlProdRec *rec)
{
    gProds.push_back(*rec);
    return 0;
}

static std::vector<QlServRec> gServs;
static int CollectServ(const QlServRec *rec)
{
    gServs.push_back(*rec);
    return 0;
}

static std::vector<QlOrderRec> gOrders;
static int CollectOrder(const QlOrderRec *rec)
{
    gOrders.push_back(*rec);
    return 0;
}

static QlProdRec MakeProd(const char *scode, const char *barcode, const std::string &name)
{
    QlProdRec rec = {};
    DbTestSet(rec.scode, scode);
    DbTestSet(rec.barcode, barcode);
    DbTestSet(rec.supplier_code, "S'Code");
    DbTestSet(rec.name, name);
    rec.unit_price_units = 3;
    rec.unit_price_hundredths = 7;
    rec.purchase_price_units = 1;
    rec.purchase_price_hundredths = 50;
    rec.stock_qty = -4;
    return rec;
}

static void ExpectSameProd(const QlProdRec &want, const QlProdRec &got)
{
    EXPECT_EQ(want.iKey, got.iKey);
    EXPECT_STREQ(want.scode, got.scode);
    EXPECT_STREQ(want.barcode, got.barcode);
    EXPECT_STREQ(want.supplier_code, got.supplier_code);
    EXPECT_STREQ(want.name, got.name);
    EXPECT_EQ(want.unit_price_units, got.unit_price_units);
    EXPECT_EQ(want.unit_price_hundredths, got.unit_price_hundredths);
    EXPECT_EQ(want.purchase_price_units, got.purchase_price_units);
    EXPECT_EQ(want.purchase_price_hundredths, got.purchase_price_hundredths);
    EXPECT_EQ(want.stock_qty, got.stock_qty);
}

TEST_F(DataStoreTest, ProductsAddFindUpdateAndDelete)
{
    std::vector<QlProdRec> prods = {
        MakeProd("P1", "5012345678900", "Plain widget"),
        MakeProd("P''2", "50'12", "Widget 'deluxe' 10\" o'clock"),
        MakeProd("''''", "''''''''''''''''''''''''''''''", std::string(80, '\'')),
        MakeProd("\xEF\xBC\xB0", "\xEF\xBC\x95\xEF\xBC\x90", "\xEF\xBC\xB7\xEF\xBC\xA9\xEF\xBC\xA4'"),
    };
    for (QlProdRec &p : prods) {
        SCOPED_TRACE(p.name);
        ASSERT_EQ(1, QlProdAddRec(&p, err)) << err;
        QlProdRec got = {};
        ASSERT_EQ(1, QlProdGetByRowId(p.iKey, &got, err)) << err;
        ExpectSameProd(p, got);
        memset(&got, 0, sizeof got);
        ASSERT_EQ(1, QlProdFind("scode", p.scode, &got, err)) << err;
        ExpectSameProd(p, got);
        memset(&got, 0, sizeof got);
        ASSERT_EQ(1, QlProdFind("barcode", p.barcode, &got, err)) << err;
        ExpectSameProd(p, got);
    }
    EXPECT_EQ("3.07|1.50|-4", Scalar("select unit_price || '|' || purchase_price || '|' || stock_qty from products;"));

    QlProdRec changed = prods[1];
    DbTestSet(changed.name, "Renamed 'again'");
    changed.unit_price_units = 12;
    changed.unit_price_hundredths = 0;
    ASSERT_EQ(1, QlProdUpdate(&changed, err)) << err;
    ASSERT_EQ(1, QlProdDisable(changed.iKey, err)) << err;

    QlProdRec got = {};
    EXPECT_EQ(0, QlProdFind("barcode", changed.barcode, &got, err));
    EXPECT_STREQ("not found", err);
    ASSERT_EQ(1, QlProdGetByRowId(changed.iKey, &got, err)) << err;
    ExpectSameProd(changed, got);
    EXPECT_EQ(0, QlProdGetByRowId(99, &got, err));
    EXPECT_STREQ("item with rowid '99' not found in database", err);

    gProds.clear();
    ASSERT_EQ(1, QlProdEnum(CollectProd, err)) << err;
    ASSERT_EQ(3u, gProds.size());
    ExpectSameProd(prods[2], gProds[1]);
}

// Stored prices are read into 32-bit units: one that cannot be held there,
// or in 64 bits at all, reads as no price, never as a wrapped one.
TEST_F(DataStoreTest, StoredPricesBeyondTheirFieldReadAsNone)
{
    QlProdRec prod = MakeProd("P1", "5012345678900", "Widget");
    ASSERT_EQ(1, QlProdAddRec(&prod, err)) << err;
    const struct {
        const char *stored;
        int32_t units;
        uint32_t hundredths;
    } cases[] = {
        {"2147483647.99", 2147483647, 99},   // the largest that fits
        {"-2147483648.50", INT32_MIN, 50},
        {"2147483648.00", 0, 0},              // wrapped to -2147483648 before
        {"99999999999.00", 0, 0},
        {"99999999999999999999.00", 0, 0},
        {"-92233720368547759.00", 0, 0},
        {"1.2147483648", 0, 0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.stored);
        char sql[200];
        snprintf(sql, sizeof sql, "update products set unit_price='%s' where iKey=%lld;", c.stored,
                 (long long)prod.iKey);
        ASSERT_EQ(1, QlDbExec(sql, err)) << err;
        QlProdRec got = {};
        ASSERT_EQ(1, QlProdGetByRowId(prod.iKey, &got, err)) << err;
        EXPECT_EQ(c.units, got.unit_price_units);
        EXPECT_EQ(c.hundredths, got.unit_price_hundredths);
    }
}

TEST_F(DataStoreTest, ProductNameLengthAndNarrowSelects)
{
    QlProdRec fits = MakeProd("L1", "1", std::string(80, 'n'));
    ASSERT_EQ(1, QlProdAddRec(&fits, err)) << err;
    NativeExec(("insert into products (iKey,enabled,scode,name) values (5,'yes','L2','" + std::string(81, 'n') + "');")
                   .c_str());
    NativeExec("insert into products (iKey,enabled,scode) values (6,'yes','L3');");   // the rest NULL

    gProds.clear();
    ASSERT_EQ(1, QlProdEnum(CollectProd, err));
    ASSERT_EQ(2u, gProds.size());   // the 81-character name is skipped
    EXPECT_EQ(80u, strlen(gProds[0].name));
    EXPECT_EQ(6, gProds[1].iKey);
    EXPECT_EQ(0, gProds[1].unit_price_units);
    EXPECT_STREQ("", gProds[1].barcode);
    QlProdRec got = {};
    EXPECT_EQ(0, QlProdGetByRowId(5, &got, err));
    EXPECT_STREQ("item with rowid '5' not found in database", err);

    gProds.clear();
    ASSERT_EQ(1, QlProdEnumSql(CollectProd, "select iKey,scode from products where enabled='yes' order by scode desc",
                               err));
    ASSERT_EQ(3u, gProds.size());
    EXPECT_STREQ("L3", gProds[0].scode);
    EXPECT_STREQ("", gProds[0].name);
    EXPECT_EQ(0, gProds[0].stock_qty);
}

TEST_F(DataStoreTest, ServicesRoundTripAndSoftDelete)
{
    static const char *const descrs[] = {"Labour", "Call-out 'weekend'", "'", "\xEF\xBC\xA6\xEF\xBC\xA9\xEF\xBC\xB8"};
    std::vector<QlServRec> added;
    for (const char *d : descrs) {
        QlServRec rec = {};
        DbTestSet(rec.descr, d);
        rec.price_units = 45;
        rec.price_hundredths = 9;
        ASSERT_EQ(1, QlServAdd(&rec, err)) << err;
        added.push_back(rec);
    }
    QlServRec full = {};
    DbTestSet(full.descr, std::string(79, '\''));
    ASSERT_EQ(1, QlServAdd(&full, err)) << err;
    added.push_back(full);
    EXPECT_EQ("45.09", Scalar("select price from services where iKey=1;"));

    added[1].price_units = 60;
    added[1].price_hundredths = 0;
    DbTestSet(added[1].descr, "Call-out 'night'");
    ASSERT_EQ(1, QlServUpdate(&added[1], err)) << err;
    for (const QlServRec &want : added) {
        QlServRec got = {};
        ASSERT_EQ(1, QlServGetByRowId(want.iKey, &got, err)) << err;
        EXPECT_EQ(want.iKey, got.iKey);
        EXPECT_STREQ(want.descr, got.descr);
        EXPECT_EQ(want.price_units, got.price_units);
        EXPECT_EQ(want.price_hundredths, got.price_hundredths);
    }

    ASSERT_EQ(1, QlDbDisableRow(added[0].iKey, "services", err));
    gServs.clear();
    ASSERT_EQ(1, QlServEnum(CollectServ, err));
    EXPECT_EQ(added.size() - 1, gServs.size());
    QlServRec got = {};
    EXPECT_EQ(1, QlServGetByRowId(added[0].iKey, &got, err));   // deleted rows stay readable by key
    EXPECT_EQ(0, QlServGetByRowId(77, &got, err));
    EXPECT_STREQ("item with rowid '77' not found in database", err);

    gServs.clear();
    ASSERT_EQ(1, QlServEnumSql(CollectServ, "select * from services where enabled='yes' order by price", err));
    ASSERT_EQ(added.size() - 1, gServs.size());
    EXPECT_EQ(60, gServs.back().price_units);
}

TEST_F(DataStoreTest, OrderLinesByOrderNumber)
{
    for (int i = 0; i < 3; i++) {
        QlOrderRec rec = {};
        rec.iSupplierRowId = 4;
        rec.iProductRowId = 10 + i;
        rec.iTxRowId = i < 2 ? 21 : 22;
        DbTestSet(rec.scode, "O'1");
        DbTestSet(rec.supplier_code, "SUP'CODE'");
        DbTestSet(rec.description, i == 0 ? std::string(80, '\'') : std::string("Bolts 'M6'"));
        rec.iQty = 5000000000LL + i;
        DbTestSet(rec.uprice, "1.25");
        DbTestSet(rec.total, "-99999999.99");
        ASSERT_EQ(1, QlOrderAdd(&rec, err)) << err;
        EXPECT_EQ(i + 1, rec.iKey);
    }
    gOrders.clear();
    ASSERT_EQ(1, QlOrderEnumByOrderNo(CollectOrder, 21, err)) << err;
    ASSERT_EQ(2u, gOrders.size());
    EXPECT_EQ(std::string(80, '\''), gOrders[0].description);
    EXPECT_EQ(5000000001LL, gOrders[1].iQty);
    EXPECT_EQ(11, gOrders[1].iProductRowId);
    EXPECT_STREQ("SUP'CODE'", gOrders[1].supplier_code);
    EXPECT_STREQ("-99999999.99", gOrders[1].total);

    QlOrderRec got = {};
    ASSERT_EQ(1, QlOrderGetByOrderNo(22, &got, err)) << err;
    EXPECT_EQ(3, got.iKey);
    EXPECT_STREQ("O'1", got.scode);
    EXPECT_EQ(0, QlOrderGetByOrderNo(77, &got, err));
    EXPECT_STREQ("item with order no '77' not found in database", err);

    gOrders.clear();
    EXPECT_EQ(1, QlOrderEnumByOrderNo(CollectOrder, 99, err));
    EXPECT_TRUE(gOrders.empty());

    // A deleted line leaves the list but is still the order's first line.
    ASSERT_EQ(1, QlDbDisableRow(1, "orders", err));
    ASSERT_EQ(1, QlOrderEnumByOrderNo(CollectOrder, 21, err));
    ASSERT_EQ(1u, gOrders.size());
    EXPECT_EQ(2, gOrders[0].iKey);
    ASSERT_EQ(1, QlOrderGetByOrderNo(21, &got, err));
    EXPECT_EQ(1, got.iKey);

    ASSERT_EQ(1, QlOrderDeleteAll(err));
    EXPECT_EQ("0", Scalar("select count(*) from orders;"));
}
