// The transactions window: every enabled transaction listed with its type
// name, sorted by each column, opened in its form by type, found by the
// barcode of a printed document, and a load that the user interrupts.
#include "TransTestSupport.h"
#include "UiTestSupport.h"

#include "ui/QlAppState.h"
#include "print/QlPrint.h"
#include "print/QlBarcode.h"
#include "ui/QlUtil.h"
#include "ui/QlWindow.h"
#include "datastore/QlDbTables.h"
#include "docmodel/QlOpeners.h"
#include "resources/QlResTransPane.h"
#include "transactions/QlPay.h"
#include "transactions/QlTransOpen.h"
#include "transactions/QlTransPane.h"
#include "transactions/QlTransTables.h"

#include <commctrl.h>
#include <string.h>
#include <functional>

namespace {

// What the openers were asked to open.
struct Opened {
    int opener;
    int64_t key;
};
std::vector<Opened> gOpened;

template <int N> HWND RecordOpen(const QlTransRec *rec)
{
    gOpened.push_back({N, rec->iKey});
    return NULL;
}

// A helper window that runs an action when its message comes: posted before
// a load, it runs from the load's message pump.
std::function<void()> gMidLoad;
LRESULT CALLBACK HelperProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_APP + 7 && gMidLoad) {
        std::function<void()> action = gMidLoad;
        gMidLoad = nullptr;
        action();
        return 0;
    }
    return DefWindowProcA(window, msg, wParam, lParam);
}

class TransPaneTest : public TransTest {
protected:
    void SetUp() override
    {
        TransTest::SetUp();
        memcpy(savedOpeners, QlTransOpenerTable, sizeof savedOpeners);
        gOpened.clear();
        QlTransPaneSelectedRow = 0;
        savedInterval = QlUiPumpIntervalMs;
    }
    void TearDown() override
    {
        memcpy(QlTransOpenerTable, savedOpeners, sizeof savedOpeners);
        QlUiPumpIntervalMs = savedInterval;
        gMidLoad = nullptr;
        if (helper) DestroyWindow(helper);
        TransTest::TearDown();
    }
    // Every opener records instead of opening.
    void RecordOpeners()
    {
        QlTransOpenerTable[0].open = RecordOpen<0>;
        QlTransOpenerTable[1].open = RecordOpen<1>;
        QlTransOpenerTable[2].open = RecordOpen<2>;
        QlTransOpenerTable[3].open = RecordOpen<3>;
        QlTransOpenerTable[4].open = RecordOpen<4>;
        QlTransOpenerTable[5].open = RecordOpen<5>;
        QlTransOpenerTable[6].open = RecordOpen<6>;
    }
    int64_t Add(uint32_t type, uint32_t subType, const char *date, const char *gross, const char *desc = "Goods",
                const char *acref = "JO001", int64_t key = 0)
    {
        QlTransRec rec = {};
        rec.iKey = key;
        rec.type = type;
        rec.sub_type = subType;
        rec.cust_rowid = customer;
        DbTestSet(rec.acref, acref);
        DbTestSet(rec.desc, desc);
        DbTestSet(rec.date, date);
        DbTestSet(rec.gross, gross);
        DbTestSet(rec.gross_bal, gross);
        EXPECT_EQ(1, QlTransAdd(&rec, err)) << err;
        return rec.iKey;
    }
    HWND OpenPane()
    {
        pane = QlTransPaneCreate(main);
        return pane;
    }
    HWND List() const { return GetDlgItem(pane, IDL_PANE_TRANS); }
    std::vector<std::string> Col(int column) const { return Column(List(), column); }
    void ClickColumn(int column)
    {
        NMLISTVIEW nm = {};
        nm.hdr.hwndFrom = List();
        nm.hdr.idFrom = IDL_PANE_TRANS;
        nm.hdr.code = LVN_COLUMNCLICK;
        nm.iItem = -1;
        nm.iSubItem = column;
        SendMessageA(pane, WM_NOTIFY, IDL_PANE_TRANS, (LPARAM)&nm);
    }
    void Notify(UINT code)
    {
        NMITEMACTIVATE nm = {};
        nm.hdr.hwndFrom = List();
        nm.hdr.idFrom = IDL_PANE_TRANS;
        nm.hdr.code = code;
        SendMessageA(pane, WM_NOTIFY, IDL_PANE_TRANS, (LPARAM)&nm);
    }
    void SelectRow(int row)
    {
        LVITEMA item = {};
        item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        item.state = LVIS_SELECTED | LVIS_FOCUSED;
        SendMessageA(List(), LVM_SETITEMSTATE, row, (LPARAM)&item);
    }
    void PaneCommand(int id)
    {
        HWND toolbar = FindWindowExA(pane, NULL, TOOLBARCLASSNAMEA, NULL);
        SendMessageA(pane, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)toolbar);
    }
    // Types a scanned code into the barcode box and presses Enter.
    void Scan(const char *code)
    {
        SetDlgItemTextA(pane, IDE_PANE_BARCODE, code);
        SendMessageA(pane, QL_WM_ENTER_KEY, 0, 0);
    }
    // The code printed on document number: "400000", the number in five
    // digits and the check digit, as the printed symbol encodes it.
    static std::string PrintedCode(int64_t number)
    {
        char text[20];
        QlPrintDocBarcodeText(std::to_string(number).c_str(), text);
        return std::string(text) + QlBarcodeUpcCheckDigit(text);
    }
    // Runs action from the message pump of the next load.
    void DuringNextLoad(std::function<void()> action)
    {
        static ATOM atom;
        if (!atom) {
            WNDCLASSA wc = {};
            wc.lpfnWndProc = HelperProc;
            wc.hInstance = GetModuleHandleA(NULL);
            wc.lpszClassName = "QlPaneTestHelper";
            atom = RegisterClassA(&wc);
        }
        if (!helper) helper = CreateWindowExA(0, "QlPaneTestHelper", "", 0, 0, 0, 0, 0, NULL, NULL, NULL, NULL);
        gMidLoad = action;
        QlUiPumpIntervalMs = 0;   // the pump looks at every row
        PostMessageA(helper, WM_APP + 7, 0, 0);
    }

    HWND pane = NULL;
    HWND helper = NULL;
    QlTransOpener savedOpeners[QL_TRANS_OPENER_COUNT];
    DWORD savedInterval = 10;
};

}  // namespace

TEST_F(TransPaneTest, ListsEveryEnabledTransactionWithItsTypeName)
{
    const struct {
        uint32_t type;
        uint32_t subType;
        const char *name;
    } kTypes[] = {{1, 1, "Sales Invoice-P"}, {1, 0, "Sales Invoice-S"}, {2, 0, "Credit"},
                  {3, 0, "Customer Payment"}, {4, 1, "Quotation"},    {5, 0, "Purchase Order"},
                  {6, 0, "Purchase Invoice"}, {9, 0, ""}};
    for (const auto &t : kTypes) Add(t.type, t.subType, "1/2/2025", "10.00");
    int64_t gone = Add(1, 0, "1/2/2025", "10.00");
    ASSERT_EQ(1, QlDbDisableRow(gone, "trans", err));
    NativeExec("update trans set doc_rowid='77' where iKey='1';");

    ASSERT_NE(nullptr, OpenPane());
    EXPECT_EQ(pane, QlModuleWnd);
    ASSERT_EQ((int)ARRAYSIZE(kTypes), RowCount(List()));
    for (int row = 0; row < (int)ARRAYSIZE(kTypes); row++) {
        SCOPED_TRACE(row);
        EXPECT_EQ(std::to_string(row + 1), Cell(List(), row, 0));
        EXPECT_EQ(kTypes[row].name, Cell(List(), row, 2));
    }
    EXPECT_EQ((std::vector<std::string>{"1", "1/2/2025", "Sales Invoice-P", "JO001", "Goods", "10.00", "10.00", "77"}),
              (std::vector<std::string>{Cell(List(), 0, 0), Cell(List(), 0, 1), Cell(List(), 0, 2), Cell(List(), 0, 3),
                                        Cell(List(), 0, 4), Cell(List(), 0, 5), Cell(List(), 0, 6),
                                        Cell(List(), 0, 7)}));
    // The remembered row position is selected again.
    EXPECT_EQ(0, Selected(List()));
    char heading[64] = "";
    HWND caption = FindWindowExA(pane, NULL, "Static", "Transactions");
    EXPECT_NE(nullptr, caption);
    GetDlgItemTextA(pane, IDT_PANE_BARCODE_PROMPT, heading, sizeof heading);
    EXPECT_STREQ("Scan barcode on document for lookup", heading);
}

TEST_F(TransPaneTest, ACompanyWithoutTransactionsShowsAnEmptyList)
{
    QlTransPaneSelectedRow = 3;
    ASSERT_NE(nullptr, OpenPane());
    EXPECT_EQ(0, RowCount(List()));
    EXPECT_EQ(-1, Selected(List()));
    PaneCommand(QL_PANE_CMD_VIEW);   // nothing to open
    EXPECT_EQ(pane, QlModuleWnd);
}

TEST_F(TransPaneTest, EachColumnSortsByItsValueFirstAscendingThenDescending)
{
    Add(1, 0, "15/01/2025", "100.00", "Boiler", "JO001");
    Add(2, 0, "1/02/2025", "9.00", "Tap", "AB002");
    Add(3, 0, "3/12/2024", "10.00", "Valve", "ZZ003");
    Add(1, 1, "28/02/2025", "-5.00", "Credit back", "MM004");
    ASSERT_NE(nullptr, OpenPane());
    EXPECT_EQ((std::vector<std::string>{"1", "2", "3", "4"}), Col(0));

    const struct {
        int column;
        std::vector<std::string> ascending;   // transaction numbers
    } kCases[] = {
        {QL_PANE_COL_AMOUNT, {"4", "2", "3", "1"}},    // by cents, not by text
        {QL_PANE_COL_BALANCE, {"4", "2", "3", "1"}},
        {QL_PANE_COL_DATE, {"3", "1", "2", "4"}},      // by date, not by "d/MM/yyyy" text
        {QL_PANE_COL_ACREF, {"2", "1", "4", "3"}},
        {QL_PANE_COL_DESC, {"1", "4", "2", "3"}},
        {QL_PANE_COL_TYPE, {"1", "4", "2", "3"}},      // equal types by number
        {QL_PANE_COL_KEY, {"1", "2", "3", "4"}},
    };
    for (const auto &c : kCases) {
        SCOPED_TRACE(c.column);
        ClickColumn(c.column);
        EXPECT_EQ(c.ascending, Col(0));
        ClickColumn(c.column);
        std::vector<std::string> descending = Col(0);
        if (c.column == QL_PANE_COL_TYPE)
            EXPECT_EQ((std::vector<std::string>{"3", "2", "1", "4"}), descending);
        else
            EXPECT_EQ(std::vector<std::string>(c.ascending.rbegin(), c.ascending.rend()), descending);
    }
    // A first click on another column sorts it ascending whatever the last one did.
    ClickColumn(QL_PANE_COL_AMOUNT);
    EXPECT_EQ((std::vector<std::string>{"4", "2", "3", "1"}), Col(0));
    // The selected document stays selected through a sort.
    SelectRow(3);   // transaction 1
    ClickColumn(QL_PANE_COL_AMOUNT);
    EXPECT_EQ("1", Cell(List(), Selected(List()), 0));
}

TEST_F(TransPaneTest, OpeningDispatchesEveryTypeToItsOpener)
{
    RecordOpeners();
    const struct {
        uint32_t type;
        uint32_t subType;
        int opener;   // -1: none
    } kCases[] = {{1, 0, 0}, {1, 1, 1}, {1, 2, 1}, {2, 0, 2}, {2, 1, 2}, {3, 0, 3},
                  {4, 1, 4}, {5, 0, 5}, {6, 0, 6}, {0, 0, -1}, {7, 0, -1}};
    for (const auto &c : kCases) {
        SCOPED_TRACE(std::to_string(c.type) + "/" + std::to_string(c.subType));
        gOpened.clear();
        QlTransRec rec = {};
        rec.iKey = 40 + c.type;
        rec.type = c.type;
        rec.sub_type = c.subType;
        EXPECT_EQ(nullptr, QlTransOpenByType(&rec));
        if (c.opener < 0) {
            EXPECT_TRUE(gOpened.empty());
        } else {
            ASSERT_EQ(1u, gOpened.size());
            EXPECT_EQ(c.opener, gOpened[0].opener);
            EXPECT_EQ(rec.iKey, gOpened[0].key);
        }
    }

    // From the window: a double click and View open the selected row.
    Add(4, 0, "1/2/2025", "10.00");
    int64_t order = Add(5, 0, "1/2/2025", "20.00");
    ASSERT_NE(nullptr, OpenPane());
    gOpened.clear();
    SelectRow(1);
    Notify(NM_DBLCLK);
    SelectRow(0);
    PaneCommand(QL_PANE_CMD_VIEW);
    ASSERT_EQ(2u, gOpened.size());
    EXPECT_EQ(5, gOpened[0].opener);
    EXPECT_EQ(order, gOpened[0].key);
    EXPECT_EQ(4, gOpened[1].opener);
    EXPECT_EQ(0, QlTransPaneSelectedRow);
    EXPECT_EQ(order - 1, QlTransPaneChosenRec.iKey);
}

TEST_F(TransPaneTest, APaymentOpensInItsViewAndPayStartsAnEmptyPayment)
{
    int64_t invoice = Add(1, 0, "1/2/2025", "60.00", "Boiler service");
    QlCustRec joe = {};
    ASSERT_EQ(1, QlCustGetByRowId(customer, &joe, err));
    QlPayRow row = {};
    snprintf(row.ref, sizeof row.ref, "%lld", (long long)invoice);
    strcpy(row.paid, "60.00");
    QlPaySnapshot snap = {};
    snap.listedAccount = customer;
    strcpy(snap.date, "2/2/2025");
    snap.rows = &row;
    snap.rowCount = 1;
    int64_t payment = 0;
    ASSERT_EQ(1, QlPaySaveSnapshot(NULL, &snap, &joe, &payment));

    ASSERT_NE(nullptr, OpenPane());
    SelectRow(1);
    Notify(NM_DBLCLK);
    EXPECT_FALSE(IsWindow(pane));
    HWND view = QlModuleWnd;
    ASSERT_NE(nullptr, view);
    char number[24] = "";
    GetDlgItemTextA(view, IDT_PAY_NUMBER, number, sizeof number);
    EXPECT_EQ(std::to_string(payment), number);
    EXPECT_EQ(1, RowCount(GetDlgItem(view, IDL_PAY_DOCS)));

    ASSERT_NE(nullptr, OpenPane());
    PaneCommand(QL_PANE_CMD_PAY);
    HWND form = QlModuleWnd;
    ASSERT_NE(nullptr, form);
    EXPECT_FALSE(IsWindow(pane));
    EXPECT_NE(nullptr, GetDlgItem(form, IDL_PAY_DOCS));
    EXPECT_EQ(0, RowCount(GetDlgItem(form, IDL_PAY_DOCS)));
    EXPECT_EQ(1, GetWindowTextLengthA(GetDlgItem(form, IDT_PAY_NUMBER)) > 0);
}

TEST_F(TransPaneTest, TheBarcodeOfAPrintedDocumentFindsIt)
{
    RecordOpeners();
    Add(1, 0, "1/2/2025", "10.00", "First", "JO001", 1);
    Add(1, 0, "1/2/2025", "10.00", "Fourth", "JO001", 1234);
    Add(4, 0, "1/2/2025", "10.00", "Fifth", "JO001", 12345);
    ASSERT_NE(nullptr, OpenPane());

    const struct {
        std::string code;
        int64_t opened;       // 0: nothing opened
        std::string caption;  // the message, "" for none
        std::string text;
    } kCases[] = {
        {PrintedCode(1), 1, "", ""},
        {PrintedCode(1234), 1234, "", ""},
        {PrintedCode(12345), 12345, "", ""},
        {"400000012347", 1234, "", ""},   // the leading zero is read as the number's
        {PrintedCode(777), 0, "Transaction not found", "Transaction document number 777 not found"},
        {"40000001234", 0, "Error", "Barcode length must be 12"},
        {"4000000123456", 0, "Error", "Barcode length must be 12"},
        {"", 0, "Error", "Barcode length must be 12"},
        {"500000012345", 0, "Error", "Not a valid document barcode"},
        {"4000000A2345", 0, "Error", "Not a valid document barcode"},
    };
    for (const auto &c : kCases) {
        SCOPED_TRACE(c.code);
        gOpened.clear();
        messages.clear();
        Scan(c.code.c_str());
        if (c.opened) {
            ASSERT_EQ(1u, gOpened.size());
            EXPECT_EQ(c.opened, gOpened[0].key);
            EXPECT_EQ(c.opened, QlTransPaneRowKey(Selected(List())));
        } else {
            EXPECT_TRUE(gOpened.empty());
        }
        if (c.caption.empty()) {
            EXPECT_TRUE(messages.empty());
        } else {
            ASSERT_EQ(1u, messages.size());
            EXPECT_EQ(c.caption, messages[0].caption);
            EXPECT_EQ(c.text, messages[0].text);
        }
        // Ready for the next scan.
        EXPECT_EQ(0, GetWindowTextLengthA(GetDlgItem(pane, IDE_PANE_BARCODE)));
    }
}

// Typing in the list selects the first document, in the order shown, whose
// number begins with the keys typed.
TEST_F(TransPaneTest, TypingADocumentNumberSelectsIt)
{
    Add(1, 0, "1/2/2025", "30.00", "Seventh", "JO001", 7);
    Add(1, 0, "1/2/2025", "10.00", "Twelfth", "JO001", 12);
    Add(1, 0, "1/2/2025", "20.00", "Hundred twentieth", "JO001", 120);
    Add(2, 0, "1/2/2025", "40.00", "Three hundred fifth", "JO001", 305);
    ASSERT_NE(nullptr, OpenPane());
    ASSERT_EQ("7", Cell(List(), Selected(List()), 0));
    SetFocus(List());
    auto type = [&](const char *keys) {
        Sleep(1100);   // what was typed before no longer counts
        for (const char *k = keys; *k; k++) SendMessageA(List(), WM_CHAR, (WPARAM)*k, 1);
        int row = Selected(List());
        return row < 0 ? std::string("(none)") : Cell(List(), row, 0);
    };
    EXPECT_EQ("305", type("3"));
    EXPECT_EQ("12", type("12"));
    EXPECT_EQ("120", type("120"));
    EXPECT_EQ("7", type("7"));
    EXPECT_EQ("7", type("9"));   // no such number: the selection stays
    // In another order the first one shown is found.
    ClickColumn(QL_PANE_COL_AMOUNT);
    ClickColumn(QL_PANE_COL_AMOUNT);   // descending: 305, 7, 120, 12
    EXPECT_EQ("120", type("1"));
}

TEST_F(TransPaneTest, RebuildingOnMaximizeKeepsTheRowPositionAndForgetsTheSort)
{
    for (int i = 0; i < 5; i++) Add(1, 0, "1/2/2025", (std::to_string(50 - i) + ".00").c_str());
    ASSERT_NE(nullptr, OpenPane());
    ClickColumn(QL_PANE_COL_AMOUNT);
    SelectRow(3);
    Notify(NM_CLICK);
    EXPECT_EQ(3, QlTransPaneSelectedRow);
    EXPECT_EQ(1, QlTransPaneSortFlags[QL_PANE_COL_AMOUNT]);
    SendMessageA(pane, QL_WM_MAIN_MAXIMIZED, 0, 0);
    EXPECT_FALSE(IsWindow(pane));
    pane = QlModuleWnd;
    ASSERT_NE(nullptr, pane);
    EXPECT_EQ((std::vector<std::string>{"1", "2", "3", "4", "5"}), Col(0));
    EXPECT_EQ(3, Selected(List()));
    EXPECT_EQ(0, QlTransPaneSortFlags[QL_PANE_COL_AMOUNT]);
}

TEST_F(TransPaneTest, TheUserCanActWhileTheListLoads)
{
    for (int i = 0; i < 60; i++) Add(1, 0, "1/2/2025", (std::to_string(100 - i) + ".00").c_str());

    // Closed while loading: the load stops, nothing is left behind.
    DuringNextLoad([] { QlUiClosePane(QlModuleWnd); });
    EXPECT_EQ(nullptr, OpenPane());
    EXPECT_EQ(nullptr, QlModuleWnd);
    EXPECT_FALSE(QlDbIsBusy());

    // A sort clicked while loading is carried out once the rows are in.
    DuringNextLoad([] {
        HWND loading = QlModuleWnd;
        NMLISTVIEW nm = {};
        nm.hdr.hwndFrom = GetDlgItem(loading, IDL_PANE_TRANS);
        nm.hdr.idFrom = IDL_PANE_TRANS;
        nm.hdr.code = LVN_COLUMNCLICK;
        nm.iSubItem = QL_PANE_COL_AMOUNT;
        SendMessageA(loading, WM_NOTIFY, IDL_PANE_TRANS, (LPARAM)&nm);
    });
    ASSERT_NE(nullptr, OpenPane());
    ASSERT_EQ(60, RowCount(List()));
    EXPECT_EQ("60", Cell(List(), 0, 0));   // 41.00, the smallest amount
    EXPECT_EQ("1", Cell(List(), 59, 0));

    // Opened again while loading: the newer window alone fills its list.
    DuringNextLoad([this] { QlTransPaneCreate(main); });
    HWND outer = OpenPane();
    EXPECT_EQ(nullptr, outer);
    pane = QlModuleWnd;
    ASSERT_NE(nullptr, pane);
    EXPECT_EQ(60, RowCount(List()));
    EXPECT_EQ("1", Cell(List(), 0, 0));

    // Another form opened while loading replaces the window.
    DuringNextLoad([] { QlPayNewEmpty(); });
    EXPECT_EQ(nullptr, OpenPane());
    ASSERT_NE(nullptr, QlModuleWnd);
    EXPECT_NE(nullptr, GetDlgItem(QlModuleWnd, IDL_PAY_DOCS));
}

TEST_F(TransPaneTest, TheToolBarHasNoDelete)
{
    ASSERT_NE(nullptr, OpenPane());
    HWND toolbar = FindWindowExA(pane, NULL, TOOLBARCLASSNAMEA, NULL);
    ASSERT_NE(nullptr, toolbar);
    EXPECT_EQ(6, (int)SendMessageA(toolbar, TB_BUTTONCOUNT, 0, 0));
    EXPECT_EQ(-1, (int)SendMessageA(toolbar, TB_COMMANDTOINDEX, 5, 0));
    PaneCommand(QL_PANE_CMD_CLOSE);
    EXPECT_FALSE(IsWindow(pane));
    EXPECT_EQ(nullptr, QlModuleWnd);
}

// The window's and the payment form's controls stay clear of their tool bars,
// in the main window's pane and when the main window is maximized.
TEST_F(TransPaneTest, ControlsStayAboveTheToolBarsNormalAndMaximized)
{
    Add(1, 0, "1/2/2025", "10.00");
    for (int maximized = 0; maximized < 2; maximized++) {
        SCOPED_TRACE(maximized);
        if (maximized) ShowWindow(main, SW_MAXIMIZE);
        ASSERT_NE(nullptr, OpenPane());
        RECT client;
        GetClientRect(pane, &client);
        RECT bar = RectInParent(FindWindowExA(pane, NULL, TOOLBARCLASSNAMEA, NULL));
        RECT box = RectInParent(GetDlgItem(pane, IDE_PANE_BARCODE));
        RECT prompt = RectInParent(GetDlgItem(pane, IDT_PANE_BARCODE_PROMPT));
        RECT list = RectInParent(List());
        EXPECT_LE(bar.bottom, client.bottom);
        EXPECT_GE(bar.bottom, client.bottom - 4);   // docked along the bottom
        EXPECT_LE(box.bottom, bar.top);
        EXPECT_LE(prompt.bottom, box.top);
        EXPECT_LE(list.bottom, prompt.top);
        EXPECT_LE(list.right, client.right);
        EXPECT_GT(list.bottom - list.top, 100);

        HWND form = QlPayNewEmpty();
        ASSERT_NE(nullptr, form);
        GetClientRect(form, &client);
        bar = RectInParent(FindWindowExA(form, NULL, TOOLBARCLASSNAMEA, NULL));
        list = RectInParent(GetDlgItem(form, IDL_PAY_DOCS));
        RECT edit = RectInParent(GetDlgItem(form, IDB_PAY_EDIT));
        RECT total = RectInParent(GetDlgItem(form, IDT_PAY_TOTAL));
        RECT title = RectInParent(GetDlgItem(form, IDT_PAY_TITLE));
        EXPECT_LE(total.bottom, bar.top);
        EXPECT_LE(edit.bottom, bar.top);
        EXPECT_LE(list.bottom, edit.top);
        EXPECT_LE(total.right, client.right);
        EXPECT_LE(title.right, client.right);
        EXPECT_GT(title.right, client.right - 10);   // the header follows the right edge
        EXPECT_LE(list.right, client.right);
    }
}
