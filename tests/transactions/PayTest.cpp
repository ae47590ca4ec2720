// Customer payments: saving a payment against a real company database (the
// allocation, its refusals and failures, all or nothing) and the payment
// form and view as a user drives them from the customers module.
#include "TransTestSupport.h"
#include "UiTestSupport.h"

#include "ui/QlAppState.h"
#include "core/QlMoney.h"
#include "customers/QlCustModule.h"
#include "datastore/QlDbTables.h"
#include "docmodel/QlOpeners.h"
#include "resources/QlResTransPane.h"
#include "transactions/QlPay.h"

#include <commctrl.h>
#include <string.h>

namespace {

class PayTest : public TransTest {
protected:
    int64_t Invoice(int64_t cust, const char *balance, const char *desc = "Goods", uint32_t type = 1)
    {
        QlTransRec rec = {};
        rec.type = type;
        rec.cust_rowid = cust;
        DbTestSet(rec.desc, desc);
        DbTestSet(rec.date, "1/2/2025");
        DbTestSet(rec.gross, balance);
        DbTestSet(rec.gross_bal, balance);
        EXPECT_EQ(1, QlTransAdd(&rec, err)) << err;
        return rec.iKey;
    }
    // Rows of {invoice number, amount paid} as the form would hand them.
    struct Snap {
        QlPaySnapshot snap = {};
        std::vector<QlPayRow> rows;
    };
    Snap Rows(const std::vector<std::pair<std::string, std::string>> &rows, int64_t listed = -1)
    {
        Snap s;
        for (const auto &row : rows) {
            QlPayRow r = {};
            snprintf(r.ref, sizeof r.ref, "%s", row.first.c_str());
            snprintf(r.paid, sizeof r.paid, "%s", row.second.c_str());
            s.rows.push_back(r);
        }
        s.snap.listedAccount = listed < 0 ? customer : listed;
        strcpy(s.snap.date, "20/3/2025");
        return s;
    }
    int Save(Snap &s, const QlCustRec *cust, int64_t *key = nullptr)
    {
        s.snap.rows = s.rows.data();
        s.snap.rowCount = (int)s.rows.size();
        return QlPaySaveSnapshot(NULL, &s.snap, cust, key);
    }
    QlCustRec Joe()
    {
        QlCustRec rec = {};
        EXPECT_EQ(1, QlCustGetByRowId(customer, &rec, err)) << err;
        return rec;
    }
    static std::string Key(int64_t key) { return std::to_string(key); }
    // gross_bal and gross_bal_cents of a transaction.
    std::string BalanceOf(int64_t key)
    {
        return Scalar(("select gross_bal || '|' || gross_bal_cents from trans where iKey=" + Key(key) + ";").c_str());
    }
};

}  // namespace

// ---------------------------------------------------------------------------
// Saving

TEST_F(PayTest, EachPaymentLowersItsInvoiceByExactlyTheAmountPaid)
{
    const struct {
        const char *balance;
        const char *paid;
        const char *left;
        const char *gross;   // the payment as stored: text | cents
    } kCases[] = {
        {"100.50", "40.75", "59.75|5975", "40.75|4075"},
        {"10.25", "0.80", "9.45|945", "0.80|80"},              // the hundredths borrow a unit
        {"100.50", "100.50", "0.00|0", "100.50|10050"},         // paid in full
        {"999999.99", "131072.01", "868927.98|86892798", "131072.01|13107201"},
        {"262144.00", "262143.99", "0.01|1", "262143.99|26214399"},
    };
    QlCustRec joe = Joe();
    for (const auto &c : kCases) {
        SCOPED_TRACE(std::string(c.balance) + " - " + c.paid);
        int64_t invoice = Invoice(customer, c.balance, "Boiler service");
        Snap s = Rows({{Key(invoice), c.paid}});
        int64_t payment = 0;
        ASSERT_EQ(1, Save(s, &joe, &payment));
        EXPECT_TRUE(messages.empty());
        EXPECT_EQ(c.left, BalanceOf(invoice));
        EXPECT_EQ(c.gross, Scalar(("select gross || '|' || gross_cents from trans where iKey=" + Key(payment)).c_str()));
        EXPECT_EQ("0.00|0", BalanceOf(payment));
        EXPECT_EQ(std::string(c.paid) + "|" + Key(invoice),
                  Scalar(("select paid || '|' || iv_rowid from payments where tx_rowid=" + Key(payment)).c_str()));
    }
    // Only the invoices that still owe something are open.
    EXPECT_EQ("4", Scalar("select count(*) from trans where type='1' and gross_bal<>'0.00';"));
}

TEST_F(PayTest, OnePaymentOfTwoInvoicesSkipsTheRowsThatPayNothing)
{
    int64_t boiler = Invoice(customer, "200.00", "Boiler service");
    int64_t tap = Invoice(customer, "50.00", "New tap");
    int64_t idle = Invoice(customer, "30.00", "Idle");
    int64_t before = 0;
    ASSERT_EQ(1, QlTransGetCount(&before));
    QlCustRec joe = Joe();
    Snap s = Rows({{Key(boiler), "100.50"}, {Key(idle), ".00"}, {Key(tap), "40.05"}, {Key(idle), "0.0"},
                   {Key(idle), "0.00"}});
    int64_t payment = 0;
    ASSERT_EQ(1, Save(s, &joe, &payment));

    QlTransRec rec = {};
    ASSERT_EQ(1, QlTransGetByRowId(payment, &rec, err)) << err;
    EXPECT_EQ(3u, rec.type);
    EXPECT_EQ(0u, rec.sub_type);
    EXPECT_EQ(customer, rec.cust_rowid);
    EXPECT_STREQ("JO001", rec.acref);
    EXPECT_STREQ("20/3/2025", rec.date);
    EXPECT_STREQ("140.55", rec.gross);
    EXPECT_STREQ("0.00", rec.gross_bal);
    EXPECT_STREQ("Boiler service", rec.desc);
    EXPECT_EQ(2u, rec.num_sub_items);
    EXPECT_EQ(Scalar("select min(iKey) from payments;"), Key(rec.doc_rowid));
    EXPECT_EQ(Key(boiler) + ":100.50," + Key(tap) + ":40.05",
              Scalar("select group_concat(iv_rowid || ':' || paid) from (select * from payments order by iKey);"));
    EXPECT_EQ("99.50|9950", BalanceOf(boiler));
    EXPECT_EQ("9.95|995", BalanceOf(tap));
    EXPECT_EQ("30.00|3000", BalanceOf(idle));
    int64_t after = 0;
    ASSERT_EQ(1, QlTransGetCount(&after));
    EXPECT_EQ(before + 1, after);
    EXPECT_EQ(13945, Balance());   // 99.50 + 9.95 + 30.00
}

TEST_F(PayTest, RefusalsLeaveTheDatabaseAsItWas)
{
    int64_t other = AddCustomer("BE002", "Bert's Electrics");
    int64_t boiler = Invoice(customer, "50.00", "Boiler service");
    int64_t tap = Invoice(customer, "20.00", "New tap");
    int64_t bertsInvoice = Invoice(other, "80.00", "Wiring");
    int64_t credit = Invoice(customer, "15.00", "Returned valve", 2);
    int64_t gone = Invoice(customer, "25.00", "Deleted");
    ASSERT_EQ(1, QlDbDisableRow(gone, "trans", err)) << err;
    QlCustRec joe = Joe();
    QlCustRec bert = {};
    ASSERT_EQ(1, QlCustGetByRowId(other, &bert, err));

    const struct {
        const char *name;
        std::vector<std::pair<std::string, std::string>> rows;
        const QlCustRec *cust;
        std::string message;
    } kCases[] = {
        {"no account", {{Key(boiler), "10.00"}}, nullptr, "Please Select Customer Account Number"},
        {"another A/C ref typed", {{Key(boiler), "10.00"}}, &bert,
         "The A/C ref was changed after the invoices were listed. Select the account again."},
        {"nothing paid", {{Key(boiler), "0.00"}, {Key(tap), ".00"}}, &joe, "Zero gross amount"},
        {"no such invoice", {{Key(boiler), "10.00"}, {"99999", "5.00"}}, &joe, "Invoice 99999 cannot be read"},
        {"a deleted invoice", {{Key(tap), "1.00"}, {Key(gone), "5.00"}}, &joe,
         "Invoice " + Key(gone) + " cannot be read"},
        {"a credit note", {{Key(credit), "5.00"}}, &joe, "Invoice " + Key(credit) + " cannot be read"},
        {"another account's invoice", {{Key(boiler), "10.00"}, {Key(bertsInvoice), "5.00"}}, &joe,
         "Invoice " + Key(bertsInvoice) + " belongs to another account"},
        {"more than the balance", {{Key(boiler), "10.00"}, {Key(tap), "20.01"}}, &joe,
         "The balance of invoice " + Key(tap) + " is lower than the amount paid"},
        {"the same invoice twice past its balance", {{Key(tap), "15.00"}, {Key(tap), "5.01"}}, &joe,
         "The balance of invoice " + Key(tap) + " is lower than the amount paid"},
    };
    for (const auto &c : kCases) {
        SCOPED_TRACE(c.name);
        std::string before = Dump();
        messages.clear();
        Snap s = Rows(c.rows);
        EXPECT_EQ(0, Save(s, c.cust));
        ASSERT_EQ(1u, messages.size());
        EXPECT_EQ(c.message, messages[0].text);
        EXPECT_EQ(QL_COLOUR_WARNING, messages[0].colour);
        EXPECT_EQ(before, Dump());
    }
    // Paid to the cent, the same invoice twice is accepted.
    Snap s = Rows({{Key(tap), "15.00"}, {Key(tap), "5.00"}});
    ASSERT_EQ(1, Save(s, &joe));
    EXPECT_EQ("0.00|0", BalanceOf(tap));
}

TEST_F(PayTest, AFailureAtAnyStatementLeavesNoTrace)
{
    QlCustRec joe = Joe();
    auto twoRows = [&](int64_t first, int64_t second) {
        return Rows({{Key(first), "100.50"}, {Key(second), "40.05"}});
    };
    // Count the statements of a save that succeeds, on invoices of their own.
    int64_t first = Invoice(customer, "200.00", "Boiler service");
    int64_t second = Invoice(customer, "50.00", "New tap");
    StatementFault::Arm(-1);
    Snap counted = twoRows(first, second);
    ASSERT_EQ(1, Save(counted, &joe));
    int statements = StatementFault::seen;
    StatementFault::Disarm();
    ASSERT_GT(statements, 8);

    int64_t boiler = Invoice(customer, "200.00", "Boiler service");
    int64_t tap = Invoice(customer, "50.00", "New tap");
    for (int failAt = 0; failAt < statements; failAt++) {
        SCOPED_TRACE(failAt);
        std::string before = Dump();
        messages.clear();
        StatementFault::Arm(failAt);
        Snap s = twoRows(boiler, tap);
        EXPECT_EQ(0, Save(s, &joe));
        StatementFault::Disarm();
        EXPECT_EQ(1u, messages.size());
        EXPECT_EQ(before, Dump());
    }
    Snap again = twoRows(boiler, tap);
    ASSERT_EQ(1, Save(again, &joe));
    EXPECT_EQ("99.50|9950", BalanceOf(boiler));
    EXPECT_EQ("9.95|995", BalanceOf(tap));
    EXPECT_EQ("2", Scalar("select count(*) from trans where type='3';"));
}

// ---------------------------------------------------------------------------
// The form

namespace {

class PayFormTest : public PayTest {
protected:
    void SetUp() override
    {
        PayTest::SetUp();
        boiler = Invoice(customer, "200.00", "Boiler service");
        Invoice(customer, "0.00", "Paid long ago");
        tap = Invoice(customer, "50.00", "New tap");
        Invoice(customer, "12.00", "Returned valve", 2);   // a credit note owes nothing
        Invoice(customer, "80.00", "Quoted boiler", 4);
        valve = Invoice(customer, "7.25", "Valve");
    }
    // The customers module with the account shown, then its Pay command.
    HWND OpenPayment()
    {
        Open();
        Command(QL_CUST_CMD_PAY);
        form = QlModuleWnd;
        return form != module ? form : NULL;
    }
    HWND Docs() const { return GetDlgItem(form, IDL_PAY_DOCS); }
    std::string Text(int id) const
    {
        char text[128] = "";
        GetDlgItemTextA(form, id, text, sizeof text);
        return text;
    }
    void FormCommand(int id) { SendMessageA(form, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)GetDlgItem(form, id)); }
    void ToolbarCommand(int id)
    {
        HWND toolbar = FindWindowExA(form, NULL, TOOLBARCLASSNAMEA, NULL);
        SendMessageA(form, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)toolbar);
    }
    void Select(int row)
    {
        LVITEMA item = {};
        item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        item.state = row >= 0 ? LVIS_SELECTED | LVIS_FOCUSED : 0;
        SendMessageA(Docs(), LVM_SETITEMSTATE, (WPARAM)row, (LPARAM)&item);
    }
    int SelectedRow() const { return Selected(Docs()); }

    HWND form = NULL;
    int64_t boiler = 0, tap = 0, valve = 0;
};

}  // namespace

TEST_F(PayFormTest, PayFromTheCustomersModuleListsTheAccountsOpenInvoices)
{
    ASSERT_NE(nullptr, OpenPayment());
    EXPECT_EQ("JO001", Text(IDE_PAY_ACREF));
    EXPECT_EQ("JO001", Text(IDT_PAY_ACREF));
    EXPECT_EQ("Joe's Plumbing", Text(IDE_PAY_COMPANY));
    EXPECT_EQ("PAYMENT", Text(IDT_PAY_TITLE));
    EXPECT_EQ("<auto>", Text(IDT_PAY_NUMBER));
    ASSERT_EQ(3, RowCount(Docs()));
    EXPECT_EQ((std::vector<std::string>{Key(boiler), Key(tap), Key(valve)}), Column(Docs(), 0));
    EXPECT_EQ((std::vector<std::string>{"1/2/2025", "Invoice", "Boiler service", "200.00", "0.00"}),
              (std::vector<std::string>{Cell(Docs(), 0, 1), Cell(Docs(), 0, 2), Cell(Docs(), 0, 3),
                                        Cell(Docs(), 0, 4), Cell(Docs(), 0, 5)}));
    EXPECT_EQ("257.25", Text(IDT_PAY_DUE_TOTAL));
    EXPECT_EQ("0.00", Text(IDT_PAY_TOTAL));
    char title[64] = "";
    LVCOLUMNA column = {};
    column.mask = LVCF_TEXT;
    column.pszText = title;
    column.cchTextMax = sizeof title;
    SendMessageA(Docs(), LVM_GETCOLUMNA, 5, (LPARAM)&column);
    EXPECT_STREQ("Pay Amount:", title);
}

TEST_F(PayFormTest, TheTransactionLimitOpensNoForm)
{
    ASSERT_EQ(1, QlTransUpdateCount(32000));
    Open();
    Command(QL_CUST_CMD_PAY);
    EXPECT_EQ(module, QlModuleWnd);
    ASSERT_EQ(1u, messages.size());
    EXPECT_EQ("Error", messages[0].caption);
    EXPECT_NE(std::string::npos, messages[0].text.find("Maximum number of transactions reached"));
}

TEST_F(PayFormTest, PayInFullWalksDownTheList)
{
    ASSERT_NE(nullptr, OpenPayment());
    FormCommand(IDB_PAY_FULL);   // no selection: the first row not paid in full
    EXPECT_EQ((std::vector<std::string>{"200.00", "0.00", "0.00"}), Column(Docs(), 5));
    EXPECT_EQ(1, SelectedRow());
    EXPECT_EQ("200.00", Text(IDT_PAY_TOTAL));
    FormCommand(IDB_PAY_FULL);
    FormCommand(IDB_PAY_FULL);   // the last row: paid, nothing further to select
    EXPECT_EQ((std::vector<std::string>{"200.00", "50.00", "7.25"}), Column(Docs(), 5));
    EXPECT_EQ(2, SelectedRow());
    EXPECT_EQ("257.25", Text(IDT_PAY_TOTAL));

    Select(-1);
    FormCommand(IDB_PAY_FULL);   // everything paid: nothing changes, nothing selected
    EXPECT_EQ(-1, SelectedRow());
    EXPECT_EQ("257.25", Text(IDT_PAY_TOTAL));
}

TEST_F(PayFormTest, TheItemDialogTakesUnitsAndCentsNoMoreThanTheAmountDue)
{
    ASSERT_NE(nullptr, OpenPayment());
    const struct {
        const char *units;
        const char *cents;
        const char *paid;
    } kCases[] = {{"12", "5", "12.05"}, {"12", "", "12.00"}, {"", "5", "0.05"}, {"50", "0", "50.00"}};
    for (const auto &c : kCases) {
        SCOPED_TRACE(std::string(c.units) + "." + c.cents);
        Select(1);
        std::string row;
        {
            DialogDriver driver({[&](HWND d) {
                row = Cell(GetDlgItem(d, IDL_PAY_ITEM_ROW), 0, 3) + "|" + Cell(GetDlgItem(d, IDL_PAY_ITEM_ROW), 0, 4);
                SetDlgItemTextA(d, IDE_PAY_ITEM_UNITS, c.units);
                SetDlgItemTextA(d, IDE_PAY_ITEM_CENTS, c.cents);
                ClickButton(d, IDOK);
            }});
            FormCommand(IDB_PAY_EDIT);
            EXPECT_EQ(1u, driver.stepsRun());
        }
        EXPECT_EQ("New tap|50.00", row);
        EXPECT_EQ(c.paid, Cell(Docs(), 1, 5));
        EXPECT_EQ(c.paid, Text(IDT_PAY_TOTAL));
    }

    // Too much comes back as the amount due, for a second OK.
    std::string shown;
    {
        DialogDriver driver({[](HWND d) {
                                 SetDlgItemTextA(d, IDE_PAY_ITEM_UNITS, "50");
                                 SetDlgItemTextA(d, IDE_PAY_ITEM_CENTS, "1");
                                 ClickButton(d, IDOK);
                             },
                             [&](HWND d) {
                                 shown = DialogText(d, IDE_PAY_ITEM_UNITS) + "." + DialogText(d, IDE_PAY_ITEM_CENTS);
                                 ClickButton(d, IDOK);
                             }});
        FormCommand(IDB_PAY_EDIT);
        EXPECT_EQ(2u, driver.stepsRun());
    }
    EXPECT_EQ("50.00", shown);
    EXPECT_EQ("50.00", Cell(Docs(), 1, 5));

    // Pay in full fills the edits, Cancel keeps the row as it was.
    {
        DialogDriver driver({[&](HWND d) {
            SetDlgItemTextA(d, IDE_PAY_ITEM_UNITS, "1");
            ClickButton(d, IDB_PAY_ITEM_FULL);
            shown = DialogText(d, IDE_PAY_ITEM_UNITS) + "." + DialogText(d, IDE_PAY_ITEM_CENTS);
            ClickButton(d, IDCANCEL);
        }});
        FormCommand(IDB_PAY_EDIT);
    }
    EXPECT_EQ("50.00", shown);
    EXPECT_EQ("50.00", Cell(Docs(), 1, 5));
}

// A pasted amount reaches the check whole: what is not an amount is refused
// with the line dialogs' messages, the dialog stays with the text as given,
// and the row keeps what it had.
TEST_F(PayFormTest, TheItemDialogRefusesWhatIsNotAnAmount)
{
    ASSERT_NE(nullptr, OpenPayment());
    const struct {
        const char *units, *cents, *text;
    } kCases[] = {{"1e5", "", "The price must be given in digits"}, {"12,50", "", "The price must be given in digits"},
                  {"-5", "", "The price cannot be negative"},       {"5", "-1", "The price cannot be negative"},
                  {"5", "123", "The price must be given in digits"}, {" 5", "", "The price must be given in digits"}};
    for (const auto &c : kCases) {
        SCOPED_TRACE(std::string(c.units) + "." + c.cents);
        Select(1);
        messages.clear();
        std::string kept;
        bool open = false;
        {
            DialogDriver driver({[&](HWND d) {
                SetDlgItemTextA(d, IDE_PAY_ITEM_UNITS, c.units);
                SetDlgItemTextA(d, IDE_PAY_ITEM_CENTS, c.cents);
                ClickButton(d, IDOK);
                open = IsWindow(d);
                kept = DialogText(d, IDE_PAY_ITEM_UNITS) + "|" + DialogText(d, IDE_PAY_ITEM_CENTS);
                ClickButton(d, IDCANCEL);
            }});
            FormCommand(IDB_PAY_EDIT);
            EXPECT_EQ(1u, driver.stepsRun());
        }
        ASSERT_EQ(1u, messages.size());
        EXPECT_EQ("Invalid Input", messages[0].caption);
        EXPECT_EQ(c.text, messages[0].text);
        EXPECT_TRUE(open);
        EXPECT_EQ(std::string(c.units) + "|" + c.cents, kept);
        EXPECT_EQ("0.00", Cell(Docs(), 1, 5));
        EXPECT_EQ("0.00", Text(IDT_PAY_TOTAL));
    }

    // Eleven digits pasted whole are more than is due: brought down to it.
    std::string shown;
    {
        DialogDriver driver({[](HWND d) {
                                 SetDlgItemTextA(d, IDE_PAY_ITEM_UNITS, "12345678901");
                                 ClickButton(d, IDOK);
                             },
                             [&](HWND d) {
                                 shown = DialogText(d, IDE_PAY_ITEM_UNITS) + "." + DialogText(d, IDE_PAY_ITEM_CENTS);
                                 ClickButton(d, IDCANCEL);
                             }});
        FormCommand(IDB_PAY_EDIT);
        EXPECT_EQ(2u, driver.stepsRun());
    }
    EXPECT_EQ("50.00", shown);
}

TEST_F(PayFormTest, SaveStoresThePaymentAndClosesTheForm)
{
    ASSERT_NE(nullptr, OpenPayment());
    Select(0);
    FormCommand(IDB_PAY_FULL);
    FormCommand(IDB_PAY_FULL);
    StatusPanel status;
    ToolbarCommand(QL_PAY_CMD_SAVE);
    EXPECT_TRUE(messages.empty());
    EXPECT_FALSE(IsWindow(form));
    EXPECT_EQ("Payment " + Scalar("select iKey from trans where type='3';") + " saved", status.Posted());
    EXPECT_EQ("0.00|0", BalanceOf(boiler));
    EXPECT_EQ("0.00|0", BalanceOf(tap));
    EXPECT_EQ("250.00", Scalar("select gross from trans where type='3';"));

    // The next payment lists what is still open.
    ASSERT_NE(nullptr, OpenPayment());
    EXPECT_EQ((std::vector<std::string>{Key(valve)}), Column(Docs(), 0));
}

TEST_F(PayFormTest, SaveRefusesAnotherAccountTypedOverTheListedOne)
{
    AddCustomer("BE002", "Bert's Electrics");
    ASSERT_NE(nullptr, OpenPayment());
    FormCommand(IDB_PAY_FULL);
    SetDlgItemTextA(form, IDE_PAY_ACREF, "BE002");
    std::string before = Dump();
    ToolbarCommand(QL_PAY_CMD_SAVE);
    ASSERT_EQ(1u, messages.size());
    EXPECT_EQ("The A/C ref was changed after the invoices were listed. Select the account again.", messages[0].text);
    EXPECT_TRUE(IsWindow(form));
    EXPECT_EQ(before, Dump());

    // An A/C ref of no account is a missing account.
    messages.clear();
    SetDlgItemTextA(form, IDE_PAY_ACREF, "ZZ999");
    ToolbarCommand(QL_PAY_CMD_SAVE);
    ASSERT_EQ(1u, messages.size());
    EXPECT_EQ("Missing Account Number", messages[0].caption);
    EXPECT_EQ(before, Dump());
}

TEST_F(PayFormTest, CloseAsksOnlyWhenInvoicesAreListed)
{
    ASSERT_NE(nullptr, OpenPayment());
    answer = 0;
    ToolbarCommand(QL_PAY_CMD_CLOSE);
    ASSERT_EQ(1u, messages.size());
    EXPECT_EQ("Confirmation", messages[0].caption);
    EXPECT_TRUE(IsWindow(form));
    // Escape's IDCANCEL and Enter's IDOK are not the tool bar's Close.
    SendMessageA(form, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    EXPECT_TRUE(IsWindow(form));
    answer = 1;
    ToolbarCommand(QL_PAY_CMD_CLOSE);
    EXPECT_FALSE(IsWindow(form));

    messages.clear();
    form = QlPayNewEmpty();
    ASSERT_NE(nullptr, form);
    EXPECT_EQ("", Text(IDE_PAY_ACREF));
    EXPECT_EQ(0, RowCount(Docs()));
    ToolbarCommand(QL_PAY_CMD_SAVE);
    ASSERT_EQ(1u, messages.size());
    EXPECT_EQ("Please Select Customer Account Number", messages[0].text);
    messages.clear();
    ToolbarCommand(QL_PAY_CMD_CLOSE);
    EXPECT_TRUE(messages.empty());
    EXPECT_FALSE(IsWindow(form));
}

TEST_F(PayFormTest, TheViewShowsWhatAStoredPaymentPaid)
{
    QlCustRec joe = Joe();
    Snap s = Rows({{Key(boiler), "100.50"}, {Key(tap), "40.05"}, {Key(valve), "7.25"}});
    int64_t key = 0;
    ASSERT_EQ(1, Save(s, &joe, &key));
    static QlTransRec payment;
    ASSERT_EQ(1, QlTransGetByRowId(key, &payment, err)) << err;
    form = QlTransOpenByType(&payment);
    ASSERT_NE(nullptr, form);
    EXPECT_EQ(form, QlModuleWnd);
    EXPECT_EQ(Key(key), Text(IDT_PAY_NUMBER));
    EXPECT_EQ("JO001", Text(IDE_PAY_ACREF));
    EXPECT_EQ("Joe's Plumbing", Text(IDE_PAY_COMPANY));
    EXPECT_TRUE(GetWindowLongA(GetDlgItem(form, IDE_PAY_ACREF), GWL_STYLE) & ES_READONLY);
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(form, IDB_PAY_SELECT)));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(form, IDB_PAY_FULL)));

    ASSERT_EQ(3, RowCount(Docs()));
    EXPECT_EQ((std::vector<std::string>{Key(boiler), Key(tap), Key(valve)}), Column(Docs(), 0));
    EXPECT_EQ((std::vector<std::string>{"20/3/2025", "20/3/2025", "20/3/2025"}), Column(Docs(), 1));
    EXPECT_EQ((std::vector<std::string>{"Boiler service", "New tap", "Valve"}), Column(Docs(), 3));
    EXPECT_EQ((std::vector<std::string>{"99.50", "9.95", "0.00"}), Column(Docs(), 4));   // as they stand now
    EXPECT_EQ((std::vector<std::string>{"100.50", "40.05", "7.25"}), Column(Docs(), 5));
    EXPECT_EQ("147.80", Text(IDT_PAY_TOTAL));
    EXPECT_EQ("109.45", Text(IDT_PAY_DUE_TOTAL));
    EXPECT_EQ(3, QlItemRowKeyTable.count);

    // The date is the payment's, and cannot be changed.
    SYSTEMTIME range[2] = {};
    DWORD limits = (DWORD)SendDlgItemMessageA(form, IDP_PAY_DATE, DTM_GETRANGE, 0, (LPARAM)range);
    EXPECT_EQ((DWORD)(GDTR_MIN | GDTR_MAX), limits);
    EXPECT_EQ(20, range[0].wDay);
    EXPECT_EQ(3, range[1].wMonth);
    EXPECT_EQ(2025, range[1].wYear);

    ToolbarCommand(QL_PAY_CMD_CLOSE);
    EXPECT_FALSE(IsWindow(form));
    EXPECT_EQ(nullptr, QlModuleWnd);
}
