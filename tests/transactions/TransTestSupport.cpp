#include "QlGTest.h"
#include "TransTestSupport.h"

#include "UiTestSupport.h"

#include "ui/QlAppState.h"
#include "core/QlMoney.h"
#include "ui/QlSeams.h"
#include "resources/QlResTrans.h"
#include "datastore/QlDbTables.h"
#include "transactions/QlTransForm.h"
#include "docmodel/QlTransLines.h"
#include "docmodel/QlTransSums.h"

#include <string.h>

int StatementFault::failAt = -1;
int StatementFault::seen = 0;

void StatementFault::Arm(int failAtStatement)
{
    failAt = failAtStatement;
    seen = 0;
    QlDbExecHook = Hook;
}

void StatementFault::Disarm()
{
    QlDbExecHook = NULL;
    failAt = -1;
}

int StatementFault::Hook(const char *sql)
{
    return seen++ == failAt;
}

void TransTest::SetUp()
{
    savedSettings = QlSettings;
    CustTest::SetUp();
    QlSettings.cfg.language = 0;
    QlSettings.cfg.defaultRate = 0;
    QlSettings.cfg.invoiceType = 0;
    QlSettings.cfg.scanSounds = 0;
    strcpy(QlSettings.cfg.taxName, "VAT");
    strcpy(QlSettings.cfg.currency, "Euro");
    strcpy(QlSettings.cfg.dateFormat, "d/MM/yyyy");
    memcpy(QlSettings.cfg.rateTexts, QlDefaultRateTexts, sizeof QlSettings.cfg.rateTexts);
    QlVatBuildRateList();
    QlTransPendingAcRef[0] = '\0';
    QlTransScanBuffer[0] = '\0';
    QlItemRowKeyTableClear();
    customer = AddCustomer("JO001", "Joe's Plumbing");
}

void TransTest::TearDown()
{
    StatementFault::Disarm();
    CustTest::TearDown();
    QlSettings = savedSettings;
    QlVatBuildRateList();
}

int64_t TransTest::AddProduct(const char *code, const char *barcode, const char *name, int units, int hundredths,
                              int stock)
{
    QlProdRec rec = {};
    DbTestSet(rec.scode, code);
    DbTestSet(rec.barcode, barcode);
    DbTestSet(rec.name, name);
    rec.unit_price_units = units;
    rec.unit_price_hundredths = (uint32_t)hundredths;
    rec.purchase_price_units = units / 2;
    rec.stock_qty = stock;
    EXPECT_EQ(1, QlProdAddRec(&rec, err)) << err;
    return rec.iKey;
}

int64_t TransTest::AddService(const char *descr, int units, int hundredths)
{
    QlServRec rec = {};
    DbTestSet(rec.descr, descr);
    rec.price_units = units;
    rec.price_hundredths = (uint32_t)hundredths;
    EXPECT_EQ(1, QlServAdd(&rec, err)) << err;
    return rec.iKey;
}

int TransTest::Stock(const char *code)
{
    QlProdRec rec = {};
    EXPECT_EQ(1, QlProdFind("scode", code, &rec, err)) << code;
    return rec.stock_qty;
}

void TransTest::AddPipesAndElbows(int elbowStock)
{
    AddProduct("P001", "501234567890", "Copper pipe", 12, 50, 40);
    AddProduct("P002", "501234567891", "Brass elbow", 1, 99, elbowStock);
}

int64_t TransTest::Balance()
{
    QlCustRec cust = {};
    cust.iKey = customer;
    int64_t units = 0;
    int cents = 0;
    EXPECT_EQ(1, QlTransSumCustBalance(&units, &cents, &cust));
    return units * 100 + cents;
}

QlTransSnapshot TransTest::Snapshot(int type, int lineMode, const char *acref, const char *gross,
                                    const std::vector<std::vector<std::string>> &rows)
{
    QlTransSnapshot snap;
    QlTransSnapshotInit(&snap, type, lineMode);
    snprintf(snap.acref, sizeof snap.acref, "%s", acref);
    snprintf(snap.gross, sizeof snap.gross, "%s", gross);
    strcpy(snap.date, "14/3/2025");
    strcpy(snap.tax, "0.00");
    strcpy(snap.carriage, "0.00");
    strcpy(snap.carriageTax, "0.00");
    for (const auto &row : rows) {
        std::vector<const char *> cells;
        for (const auto &cell : row) cells.push_back(cell.c_str());
        EXPECT_EQ(1, QlTransSnapshotAddRow(&snap, cells.data(), (int)cells.size()));
    }
    return snap;
}

static std::string Money(int64_t cents)
{
    char text[32];
    QlMoneyFormatCents(cents, text, sizeof text);
    return text;
}

std::vector<std::string> TransTest::ProductRow(const char *code, const char *descr, int quantity, int64_t priceCents,
                                               int64_t rate)
{
    QlLineFigures f = QlLineProduct(priceCents, quantity, 0, rate);
    return {code, descr, std::to_string(quantity), Money(rate), "0", Money(priceCents), Money(f.discount),
            Money(f.net), Money(f.tax)};
}

int TransTest::Post(QlTransSnapshot *snap, int type, int64_t *key)
{
    int ok = QlTransSaveSnapshot(NULL, snap, type, key);
    QlTransSnapshotFree(snap);
    return ok;
}

static int __cdecl DumpRow(void *out, int columns, char **values, char **names)
{
    std::string *text = (std::string *)out;
    for (int c = 0; c < columns; c++) *text += std::string(values[c] ? values[c] : "<null>") + "|";
    *text += "\n";
    return 0;
}

std::string TransTest::Dump()
{
    // Read through the program's own connection, which sees a transaction
    // that was left open as well as what was committed.
    static const char *const kTables[] = {"customers", "suppliers", "products", "services", "trans",
                                          "invoices",  "payments",  "orders",   "transcount"};
    std::string text;
    for (const char *table : kTables) {
        text += std::string("[") + table + "]\n";
        std::string sql = std::string("select * from ") + table + " order by rowid;";
        EXPECT_EQ(1, QlDbExecRows(sql.c_str(), DumpRow, &text, err)) << err;
    }
    return text;
}

// ---------------------------------------------------------------------------
// Forms

std::vector<std::string> FormTest::okLabels;

static INT_PTR RecordAsk(HWND, QlMsgRequest *request)
{
    CustTest::messages.push_back(
        {request->caption ? request->caption : "", request->text ? request->text : "", request->colour});
    FormTest::okLabels.push_back(request->firstText ? request->firstText : "");
    return CustTest::answer;
}

void FormTest::SetUp()
{
    TransTest::SetUp();
    okLabels.clear();
    QlSeamMsgDialog = RecordAsk;
}

std::string FormTest::Text(int id) const
{
    char text[128] = "";
    GetDlgItemTextA(form, id, text, sizeof text);
    return text;
}

HWND FormTest::Lines() const
{
    return GetDlgItem(form, IDL_DOC_LINES);
}

void FormTest::FormCommand(int id, int code)
{
    SendMessageA(form, WM_COMMAND, MAKEWPARAM(id, code), (LPARAM)GetDlgItem(form, id));
}

void FormTest::Toolbar(int command)
{
    HWND toolbar = FindWindowExA(form, NULL, TOOLBARCLASSNAMEA, NULL);
    SendMessageA(form, WM_COMMAND, MAKEWPARAM(command, BN_CLICKED), (LPARAM)toolbar);
}

int FormTest::ToolbarButtons() const
{
    HWND toolbar = FindWindowExA(form, NULL, TOOLBARCLASSNAMEA, NULL);
    return toolbar ? (int)SendMessageA(toolbar, TB_BUTTONCOUNT, 0, 0) : 0;
}

void FormTest::SelectRow(int row)
{
    LVITEMA item = {};
    item.stateMask = LVIS_SELECTED;
    item.state = LVIS_SELECTED;
    SendMessageA(Lines(), LVM_SETITEMSTATE, row, (LPARAM)&item);
}

int64_t FormTest::Store(int type, int lineMode, const char *gross, const std::vector<std::vector<std::string>> &rows,
                        const char *tax, const char *carriage, const char *carriageTax, const char *order)
{
    QlTransSnapshot snap = Snapshot(type, lineMode, "JO001", gross, rows);
    snprintf(snap.tax, sizeof snap.tax, "%s", tax);
    snprintf(snap.carriage, sizeof snap.carriage, "%s", carriage);
    snprintf(snap.carriageTax, sizeof snap.carriageTax, "%s", carriageTax);
    snprintf(snap.orderNumber, sizeof snap.orderNumber, "%s", order);
    int64_t key = 0;
    EXPECT_EQ(1, Post(&snap, type, &key));
    return key;
}

QlTransRec FormTest::Stored(int64_t key)
{
    QlTransRec rec = {};
    EXPECT_EQ(1, QlTransGetByRowId(key, &rec, err)) << err;
    return rec;
}

void SetField(HWND dialog, int id, const char *text)
{
    SetDlgItemTextA(dialog, id, text);
}

void Choose(HWND dialog, int comboId, int index)
{
    SendDlgItemMessageA(dialog, comboId, CB_SETCURSEL, index, 0);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(comboId, CBN_SELCHANGE), (LPARAM)GetDlgItem(dialog, comboId));
}

std::string DialogText(HWND dialog, int id)
{
    return WindowText(GetDlgItem(dialog, id));
}
