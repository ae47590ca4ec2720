// Account maintenance from the customers module: adding through dialog 147
// with its generated A/C refs, saving the form, deleting, the quotation limit
// and the hand-over to the account screens.
#include "CustTestSupport.h"
#include "UiTestSupport.h"

#include "ui/QlAppState.h"
#include "customers/QlCustCommands.h"
#include "customers/QlCustModule.h"
#include "docmodel/QlOpeners.h"

#include <commctrl.h>
#include <functional>

namespace {

class MaintenanceTest : public CustTest {
protected:
    void SetUp() override
    {
        CustTest::SetUp();
        QlCustModuleForget();
    }

    // Runs the New command with the dialog answered by the steps.
    void AddThroughDialog(std::vector<std::function<void(HWND)>> steps)
    {
        DialogDriver driver(std::move(steps));
        Command(0);
        EXPECT_EQ(driver.steps.size(), driver.stepsRun());
    }

    std::string Stored(const char *sql) { return Scalar(sql); }
};

std::function<void(HWND)> Fill(const char *company, const char *addr1)
{
    return [=](HWND dialog) {
        SetDlgItemTextA(dialog, 1131, company);
        SetDlgItemTextA(dialog, 1028, addr1);
    };
}

void SendToolbarCommand(HWND dialog, int id)
{
    HWND toolbar = FindWindowExA(dialog, NULL, TOOLBARCLASSNAMEA, NULL);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)toolbar);
}

void Save(HWND dialog)
{
    SendToolbarCommand(dialog, 0);
}

void CloseDialog(HWND dialog)
{
    SendToolbarCommand(dialog, 1);
}

}  // namespace

TEST_F(MaintenanceTest, AddRefusesWhatIsMissingAndAddsTheAccount)
{
    Open();
    std::string caption;
    bool listsDisabled = false;
    AddThroughDialog({
        [&](HWND dialog) {
            caption = WindowText(dialog);
            listsDisabled = !IsWindowEnabled(GetDlgItem(dialog, 1181)) && !IsWindowEnabled(GetDlgItem(dialog, 1178));
        },
        Fill("A", "1 Main Street"), Save,
        Fill("     ", "1 Main Street"), Save,   // a name of spaces is an empty name
        Fill("Acme Trading", "   "), Save,
        [](HWND dialog) {
            Fill("  acme Trading ", "1 Main Street")(dialog);
            SetDlgItemTextA(dialog, 1029, "Springfield");
            SetDlgItemTextA(dialog, 1132, "Ann O'Hara");
            SetDlgItemTextA(dialog, 1051, "01 555 1234");
            SetDlgItemTextA(dialog, 1046, "ann@acme.example");
            CheckDlgButton(dialog, 1011, BST_CHECKED);
            SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(1011, BN_CLICKED), (LPARAM)GetDlgItem(dialog, 1011));
            SendDlgItemMessageA(dialog, 1181, CB_SETCURSEL, 15, 0);
            SendDlgItemMessageA(dialog, 1178, CB_SETCURSEL, 2, 0);
        },
        Save,
    });
    EXPECT_EQ("Create New Customer", caption);
    EXPECT_TRUE(listsDisabled);
    ASSERT_EQ(3u, messages.size());
    EXPECT_EQ("Error", messages[0].caption);
    EXPECT_EQ("Company name too short", messages[0].text);
    EXPECT_EQ(QL_COLOUR_WARNING, messages[0].colour);
    EXPECT_EQ("Company name too short", messages[1].text);
    EXPECT_EQ("Empty Address", messages[2].text);

    EXPECT_EQ("AC000|acme Trading|Ann O'Hara|01 555 1234|ann@acme.example|1 Main Street|Springfield|1|15|0|2|0.00|yes",
              Stored("select acref||'|'||company||'|'||contact||'|'||worktel||'|'||wemail||'|'||addr1||'|'||addr2||'|'||"
                     "apply_discount||'|'||discount||'|'||apply_tax||'|'||vat_rate_index||'|'||balance||'|'||enabled "
                     "from customers;"));
    ASSERT_EQ(1, RowCount(Overview()));
    ASSERT_EQ(1, RowCount(Names()));
    EXPECT_EQ("AC000", Cell(Overview(), 0, 0));
    EXPECT_EQ("0.00", Cell(Overview(), 0, 2));
    EXPECT_EQ(0, Selected(Names()));
    EXPECT_EQ("AC000", Field(1130));
    EXPECT_EQ("acme Trading", Field(1026));
    // The first account brings the form to life; the rate list follows its box.
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(module, 1026)));
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(module, 1181)));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(module, 1178)));
}

// Close leaves without adding; Enter in a field (the dialog manager's IDOK,
// the number of the bar's Close) neither closes nor throws away what was
// typed: the dialog stays with it, and Save then adds the account.
TEST_F(MaintenanceTest, CloseLeavesWithoutAddingAndEnterKeepsWhatWasTyped)
{
    Open();
    AddThroughDialog({Fill("Acme", "1 Main Street"), CloseDialog});
    EXPECT_EQ("0", Stored("select count(*) from customers;"));
    std::string kept;
    AddThroughDialog({Fill("Acme", "1 Main Street"),
                      [](HWND d) {
                          SendMessageA(d, WM_NEXTDLGCTL, (WPARAM)GetDlgItem(d, 1028), TRUE);
                          PressKey(d, VK_RETURN);
                      },
                      [&](HWND d) {
                          char company[64] = "", addr1[64] = "";
                          GetDlgItemTextA(d, 1131, company, sizeof company);
                          GetDlgItemTextA(d, 1028, addr1, sizeof addr1);
                          kept = std::string(company) + "|" + addr1;
                          SendMessageA(d, WM_COMMAND, IDOK, 0);
                      },
                      Save});
    EXPECT_EQ("Acme|1 Main Street", kept);
    EXPECT_EQ("1", Stored("select count(*) from customers;"));
    EXPECT_EQ(1, RowCount(Names()));
}

TEST_F(MaintenanceTest, AcRefsTakeTheFirstFreeNumberOfTheFirstTwoLetters)
{
    AddCustomer("AC000", "Acorn");
    ASSERT_EQ(1, QlDbDisableRow(AddCustomer("AC001", "Acre"), "customers", err));   // still taken

    const struct {
        const char *company, *acref;
    } cases[] = {
        {"acme", "AC002"},      {"Acme again", "AC003"}, {"'Tis Ltd", "'T000"}, {"'Twas Co", "'T001"},
        {"4 Seasons", "4 000"}, {"\xe9tude", "\xe9T000"},
    };
    for (const auto &c : cases) {
        QlCustRec rec = {};
        DbTestSet(rec.company, c.company);
        ASSERT_EQ(1, QlCustMakeAcRef(&rec)) << c.company;
        EXPECT_STREQ(c.acref, rec.acref) << c.company;
        ASSERT_EQ(1, QlCustAdd(&rec, err)) << err;
    }
    EXPECT_EQ(1, QlCustMakeSamples());
    EXPECT_EQ("100|CO000|CO099", Stored("select count(*)||'|'||min(acref)||'|'||max(acref) from customers "
                                        "where company like 'company name%';"));
}

TEST_F(MaintenanceTest, EveryReferenceTakenAsksForAnotherName)
{
    std::string sql = "begin;";
    for (int n = 0; n < 999; n++) sql += "insert into customers (enabled,acref,company) values ('yes','ZZ" +
                                         std::string(n < 10 ? "00" : n < 100 ? "0" : "") + std::to_string(n) + "','z');";
    NativeExec((sql + "commit;").c_str());
    QlCustRec rec = {};
    DbTestSet(rec.company, "zz top");
    EXPECT_EQ(0, QlCustMakeAcRef(&rec));

    Open();
    AddThroughDialog({Fill("ZZ Top", "1 Main Street"), Save, CloseDialog});
    ASSERT_EQ(1u, messages.size());
    EXPECT_EQ("Choose different company name", messages[0].text);
    EXPECT_EQ("999", Stored("select count(*) from customers;"));
}

TEST_F(MaintenanceTest, AFailedReferenceLookUpIsAnSqlError)
{
    Open();
    QlDbClose();   // every statement fails from here on
    QlCustRec rec = {};
    DbTestSet(rec.company, "Acme");
    EXPECT_EQ(-1, QlCustMakeAcRef(&rec));
    EXPECT_STREQ("", rec.acref);

    AddThroughDialog({Fill("Acme", "1 Main Street"), Save, CloseDialog});
    ASSERT_EQ(1u, messages.size());
    EXPECT_EQ("SQL error", messages[0].text);
    EXPECT_EQ(0, RowCount(Names()));
}

TEST_F(MaintenanceTest, SaveWritesTheFormIntoTheSelectedAccount)
{
    AddCustomer("AB000", "Abbey Ltd");
    int64_t key = AddCustomer("BE000", "Bell & Co");
    AddTrans(key, 1, "12.50");
    NativeExec("update customers set balance='5.00';");
    Open();
    Click(Names(), 1);

    SetDlgItemTextA(module, 1026, "Bell & Sons");
    SetDlgItemTextA(module, 1029, "Upper Town");
    SetDlgItemTextA(module, 1017, "087 123");
    CheckDlgButton(module, 1012, BST_CHECKED);
    SendDlgItemMessageA(module, 1178, CB_SETCURSEL, 1, 0);
    Command(1);
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ("BE000|Bell & Sons|Upper Town|087 123|1|1|0.00",
              Stored("select acref||'|'||company||'|'||addr2||'|'||mobtel||'|'||apply_tax||'|'||vat_rate_index||'|'||"
                     "balance from customers where iKey=2;"));
    EXPECT_EQ("Abbey Ltd|5.00", Stored("select company||'|'||balance from customers where iKey=1;"));
    EXPECT_EQ("Bell & Sons", Cell(Names(), 1, 0));
    EXPECT_EQ("Bell & Sons", Cell(Overview(), 1, 1));
    EXPECT_EQ("12.50", Field(1133));   // the shown balance is the invoices'

    // Emptied, or only spaces: the same refusal.
    for (int emptied : {1026, 1028, -1026}) {
        SCOPED_TRACE(emptied);
        messages.clear();
        Click(Names(), 1);
        SetDlgItemTextA(module, emptied < 0 ? -emptied : emptied, emptied < 0 ? "    " : "");
        if (emptied < 0) emptied = -emptied;
        SetDlgItemTextA(module, emptied == 1026 ? 1028 : 1026, "Changed");
        Command(1);
        ASSERT_EQ(1u, messages.size());
        EXPECT_EQ("Invalid Input", messages[0].caption);
        EXPECT_EQ("Fill in company name and address", messages[0].text);
        EXPECT_EQ("Bell & Sons", Stored("select company from customers where iKey=2;"));
    }
}

// A row another program wrote with a text longer than its field reads only
// up to that text: the form shows it with a message, and Save never writes
// the blanks of the fields it could not read over the stored texts.
TEST_F(MaintenanceTest, AnAccountThatDoesNotReadWholeIsShownAndNeverSavedOver)
{
    AddCustomer("AB000", "Abbey Ltd");
    AddCustomer("BE000", "Bell & Co");
    const char *stored = "select company||'|'||contact||'|'||addr1||'|'||balance from customers where iKey=2;";
    NativeExec("update customers set contact='Ann O''Hara of the Accounts Department, Northern Office', "
               "addr1='7 Long Road', balance='12.50' where iKey=2;");
    std::string before = Stored(stored);
    Open();
    messages.clear();
    Click(Names(), 1);
    ASSERT_EQ(1u, messages.size());
    EXPECT_EQ("Account not read whole", messages[0].caption);
    EXPECT_NE(std::string::npos, messages[0].text.find("Account BE000 holds a text longer")) << messages[0].text;

    EXPECT_EQ("Bell & Co", Field(1026));   // read up to the contact
    EXPECT_EQ("", Field(1028));
    messages.clear();
    SetDlgItemTextA(module, 1026, "Bell & Sons");
    SetDlgItemTextA(module, 1028, "1 New Street");
    Command(1);
    ASSERT_EQ(1u, messages.size());
    EXPECT_EQ("Account not read whole", messages[0].caption);
    EXPECT_EQ(before, Stored(stored));

    // An account that reads whole saves as before.
    messages.clear();
    Click(Names(), 0);
    EXPECT_TRUE(messages.empty());
    SetDlgItemTextA(module, 1029, "Upper Town");
    Command(1);
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ("Upper Town", Stored("select addr2 from customers where iKey=1;"));
}

TEST_F(MaintenanceTest, DeleteIsRefusedWhileTheAccountHasTransactions)
{
    const char *refs[] = {"IN000", "CR000", "PA000", "QU000"};
    for (uint32_t type = 1; type <= 4; type++) AddTrans(AddCustomer(refs[type - 1], refs[type - 1]), type, "1.00");
    Open();
    for (int row = 0; row < 4; row++) {
        SCOPED_TRACE(refs[row]);
        messages.clear();
        Click(Names(), row);
        Command(2);
        ASSERT_EQ(1u, messages.size());
        EXPECT_EQ("Cannot Delete Account", messages[0].caption);
        EXPECT_EQ(std::string("Customer ") + refs[row] + " has transactions and cannot be deleted!", messages[0].text);
    }
    EXPECT_EQ("0", Stored("select count(*) from customers where enabled<>'yes';"));
    EXPECT_EQ(4, RowCount(Names()));
}

TEST_F(MaintenanceTest, DeleteAsksThenRemovesTheAccountFromBothLists)
{
    int64_t first = AddCustomer("FI000", "First Ltd");
    ASSERT_EQ(1, QlDbDisableRow(AddTrans(first, 1, "9.00"), "trans", err));   // a deleted one does not hold it
    AddCustomer("SE000", "Second Ltd");
    Open();
    ColumnClick(2);   // the overview in another order than the name list
    Click(Names(), 0);

    answer = 0;
    Command(2);
    ASSERT_EQ(1u, messages.size());
    EXPECT_EQ("ACCOUNT DELETE CONFIRMATION", messages[0].caption);
    EXPECT_EQ("Delete Account FI000 (First Ltd).\nAre you sure?", messages[0].text);
    EXPECT_EQ(2, RowCount(Names()));

    answer = 1;
    Command(2);
    EXPECT_EQ("no", Stored("select enabled from customers where acref='FI000';"));
    EXPECT_EQ((std::vector<std::string>{"Second Ltd"}), Column(Names(), 0));
    EXPECT_EQ((std::vector<std::string>{"SE000"}), Column(Overview(), 0));
    EXPECT_EQ("SE000", Field(1130));   // the form moves on to an account that is still there

    Click(Names(), 0);
    Command(2);
    EXPECT_EQ(0, RowCount(Names()));
    EXPECT_EQ(0, RowCount(Overview()));
    EXPECT_EQ("", Field(1026));
    EXPECT_EQ("", Field(1130));
    EXPECT_EQ("0.00", Field(1133));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(module, 1026)));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(module, 1057)));
}

TEST_F(MaintenanceTest, QuotationStopsAtTheTransactionLimit)
{
    AddCustomer("AB000", "Abbey Ltd");
    Open();
    const struct {
        const char *count;
        size_t messages;
    } cases[] = {{"31999", 0}, {"32000", 1}, {"40000", 1}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.count);
        messages.clear();
        NativeExec((std::string("update transcount set count=") + c.count + " where iKey=1;").c_str());
        Command(3);
        ASSERT_EQ(c.messages, messages.size());
        if (c.messages) {
            EXPECT_EQ("Error", messages[0].caption);
            EXPECT_EQ("Maximum number of transactions reachedPlease clear transactions in Modules -> Clear transactions",
                      messages[0].text);
            EXPECT_EQ(module, QlModuleWnd);
        } else {
            // Below the limit the quotation form takes the module's place.
            EXPECT_NE(module, QlModuleWnd);
            Open();
        }
    }
}

namespace {

int64_t sOpenedKey;
HWND RecordPaymentOpen(const QlTransRec *rec)
{
    sOpenedKey = rec->iKey;
    return NULL;
}

}  // namespace

TEST_F(MaintenanceTest, AccountScreensReceiveTheShownAccount)
{
    AddCustomer("AB000", "Abbey Ltd");
    int64_t bell = AddCustomer("BE000", "Bell & Co");
    AddTrans(bell, 1, "-4.75");
    int64_t payment = AddTrans(bell, 3, "0.00");
    QlTransOpener saved[QL_TRANS_OPENER_COUNT];
    memcpy(saved, QlTransOpenerTable, sizeof saved);
    for (QlTransOpener &opener : QlTransOpenerTable)
        if (opener.type == 3) opener.open = RecordPaymentOpen;
    sOpenedKey = 0;

    // The activity view: closed, the module stays; a transaction viewed,
    // the module gives way to its view.
    Open();
    Click(Names(), 1);
    for (bool view : {false, true}) {
        SCOPED_TRACE(view);
        memset(&QlCustContext, 'x', sizeof QlCustContext);
        std::string caption;
        DialogDriver driver({[&](HWND dialog) {
            caption = WindowText(dialog);
            HWND list = GetDlgItem(dialog, 1116);
            if (view) Click(list, 1);
            HWND toolbar = FindWindowExA(dialog, NULL, TOOLBARCLASSNAMEA, NULL);
            SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(view ? 1 : 2, BN_CLICKED), (LPARAM)toolbar);
        }});
        Command(7);
        EXPECT_EQ(1u, driver.stepsRun());
        EXPECT_EQ("Transaction History for Customer Account BE000", caption);
        EXPECT_STREQ("BE000", QlCustContext.acref);
        EXPECT_STREQ("-4.75", QlCustContext.balance);
        EXPECT_STREQ("", QlCustContext.third);
        EXPECT_EQ(view ? payment : 0, sOpenedKey);
        EXPECT_EQ(!view, IsWindow(module) != 0);
    }
    memcpy(QlTransOpenerTable, saved, sizeof saved);

    // The statement takes the module's place.
    Open();
    Click(Names(), 1);
    Command(8);
    EXPECT_FALSE(IsWindow(module));
    ASSERT_NE(nullptr, QlModuleWnd);
    char acref[8] = "";
    GetDlgItemTextA(QlModuleWnd, 1159, acref, sizeof acref);
    EXPECT_STREQ("BE000", acref);
    EXPECT_TRUE(messages.empty());
}

TEST_F(MaintenanceTest, TheFormFollowsTheKeyboardAndSaveAndDeleteActOnTheShownAccount)
{
    AddCustomer("AB000", "Abbey Ltd");
    AddCustomer("BE000", "Bell & Co");
    AddCustomer("CR000", "Crane plc");
    Open();
    ASSERT_EQ("Abbey Ltd", Field(1026));

    // The arrow keys move the selection in either list; the form follows it,
    // and the other list selects the same account.
    SetFocus(Names());
    SendMessageA(Names(), WM_KEYDOWN, VK_DOWN, 0);
    ASSERT_EQ(1, Selected(Names()));
    EXPECT_EQ("Bell & Co", Field(1026));
    EXPECT_EQ("BE000", Field(1130));
    SetFocus(Overview());
    SendMessageA(Overview(), WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ("Crane plc", Field(1026));
    EXPECT_EQ(2, Selected(Names()));

    // Save writes the form into the account it shows.
    SetDlgItemTextA(module, 1029, "Harbour Road");
    Command(1);
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ("Crane plc|Harbour Road", Stored("select company||'|'||addr2 from customers where acref='CR000';"));
    EXPECT_EQ("", Stored("select addr2 from customers where acref='BE000';"));

    // Delete asks about and removes the shown account.
    SendMessageA(Names(), WM_KEYDOWN, VK_UP, 0);
    ASSERT_EQ("BE000", Field(1130));
    Command(2);
    ASSERT_EQ(1u, messages.size());
    EXPECT_EQ("Delete Account BE000 (Bell & Co).\nAre you sure?", messages[0].text);
    EXPECT_EQ("no", Stored("select enabled from customers where acref='BE000';"));
    EXPECT_EQ((std::vector<std::string>{"Abbey Ltd", "Crane plc"}), Column(Names(), 0));

    // An account another window deleted meanwhile: Save says why nothing
    // was saved.
    ASSERT_EQ("CR000", Field(1130));   // the next account took its place
    NativeExec("update customers set enabled='no' where acref='CR000';");
    messages.clear();
    SetDlgItemTextA(module, 1029, "Elsewhere");
    Command(1);
    ASSERT_EQ(1u, messages.size());
    EXPECT_EQ("Customer table update failed", messages[0].caption);
    EXPECT_EQ("Harbour Road", Stored("select addr2 from customers where acref='CR000';"));
}
