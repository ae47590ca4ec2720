// The New command of the suppliers window: dialog 147 and the generated
// account references.
#include "SuppTestSupport.h"
#include "UiTestSupport.h"

#include "ui/QlWindow.h"
#include "purchasing/QlSuppCurrent.h"
#include "purchasing/QlSuppliers.h"
#include "resources/QlResIds.h"

#include <commctrl.h>
#include <functional>

namespace {

class NewSupplierTest : public SuppTest {
protected:
    // Runs the New command with the dialog answered by the steps.
    void Run(std::vector<std::function<void(HWND)>> steps)
    {
        DialogDriver driver(std::move(steps));
        Toolbar(window, QL_SUPP_CMD_NEW);
        EXPECT_EQ(driver.steps.size(), driver.stepsRun());
    }

    std::string MakeRef(const char *company)
    {
        QlSuppRec rec = {};
        DbTestSet(rec.company, company);
        int made = QlSuppMakeAcRef(&rec);
        return made == 1 ? std::string(rec.acref) : "<" + std::to_string(made) + ">";
    }
};

std::function<void(HWND)> Fill(const char *company, const char *addr1)
{
    return [=](HWND dialog) {
        SetDlgItemTextA(dialog, IDE_CUSTADD_COMPANY, company);
        SetDlgItemTextA(dialog, IDE_CUST_ADDR1, addr1);
    };
}

std::function<void(HWND)> Bar(int command)
{
    return [=](HWND dialog) {
        HWND toolbar = FindWindowExA(dialog, NULL, TOOLBARCLASSNAMEA, NULL);
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(command, BN_CLICKED), (LPARAM)toolbar);
    };
}

TEST_F(NewSupplierTest, ReferencesComeFromTheCompanyAndTheFirstFreeNumber)
{
    const struct {
        const char *company, *acref;
    } cases[] = {
        {"ab shop", "AB000"}, {"Ab", "AB000"}, {"1st Parts", "1S000"}, {" Zed Tools", " Z000"}, {"\xe9tain", "\xe9T000"},
    };
    for (const auto &c : cases) EXPECT_EQ(c.acref, MakeRef(c.company)) << c.company;

    AddSupplier("AB000", "Abacus");
    ASSERT_EQ(1, QlSuppDisable(AddSupplier("AB001", "Abbey"), err));   // a deleted supplier keeps its reference
    EXPECT_EQ("AB002", MakeRef("ab shop"));
}

TEST_F(NewSupplierTest, AllNumbersTakenLeavesNoReferenceAndAFailedLookUpIsNoFreeOne)
{
    NativeExec("with recursive n(i) as (select 0 union all select i + 1 from n where i < 998) "
               "insert into suppliers (enabled, acref, company) select 'no', printf('AB%03d', i), 'x' from n");
    EXPECT_EQ("<0>", MakeRef("Abbey"));
    EXPECT_EQ("CD000", MakeRef("cd"));
    QlDbExecHook = [](const char *) { return 1; };
    EXPECT_EQ("<-1>", MakeRef("cd"));
    QlDbExecHook = NULL;
}

TEST_F(NewSupplierTest, SaveAddsTheSupplierAtTheEndOfTheListSelected)
{
    AddSupplier("ZZ000", "Zeta");
    OpenWindow();
    ColumnClick(0);
    Run({[&](HWND dialog) {
             EXPECT_EQ("Create New Supplier", WindowText(dialog));
             EXPECT_EQ("Company Name: ", WindowText(GetDlgItem(dialog, IDT_CUST_COMPANY_LABEL)));
             EXPECT_EQ(nullptr, GetDlgItem(dialog, IDC_CUST_DISCOUNT));
             EXPECT_EQ(nullptr, GetDlgItem(dialog, IDB_CUST_APPLY_TAX));
             SetDlgItemTextA(dialog, IDE_CUSTADD_CONTACT, "Ann O'Hara");
             SetDlgItemTextA(dialog, IDE_CUSTADD_TEL, "0123 456");
             SetDlgItemTextA(dialog, IDE_CUSTADD_FAX, "0123 457");
             SetDlgItemTextA(dialog, IDE_CUSTADD_MOBILE, "07700 900");
             SetDlgItemTextA(dialog, IDE_CUSTADD_EMAIL, "ann@acme.test");
             SetDlgItemTextA(dialog, IDE_CUST_ADDR3, "Springfield");
         },
         Fill("acme pipes", "4 Dock Road"), Bar(0)});
    EXPECT_TRUE(messages.empty());
    ASSERT_EQ(2, RowCount(List()));
    EXPECT_EQ("AC000", Cell(List(), 1, 0));   // last, although the list is sorted by A/C ref
    EXPECT_EQ(1, (int)SendMessageA(List(), LVM_GETNEXTITEM, (WPARAM)-1, LVNI_FOCUSED));
    EXPECT_EQ("AC000", Text(IDT_SUPP_ACREF));
    EXPECT_EQ("acme pipes", Text(IDE_SUPP_COMPANY));
    EXPECT_EQ("Ann O'Hara|0123 456|0123 457|07700 900|ann@acme.test|4 Dock Road|Springfield|0.00|yes",
              Scalar("select contact||'|'||worktel||'|'||fax||'|'||mobtel||'|'||wemail||'|'||addr1||'|'||addr3||'|'||"
                     "balance||'|'||enabled from suppliers where acref='AC000'"));
}

TEST_F(NewSupplierTest, RefusalsKeepTheDialogOpenWithTheInput)
{
    OpenWindow();
    std::string company;
    // Blanks count for nothing: a name or address of blanks is none.
    Run({Fill("A", "4 Dock Road"), Bar(0), Fill("    ", "4 Dock Road"), Bar(0), Fill(" A  ", "4 Dock Road"), Bar(0),
         Fill("Ab", ""), Bar(0), Fill("Ab", "   "), Bar(0),
         [&](HWND dialog) { company = WindowText(GetDlgItem(dialog, IDE_CUSTADD_COMPANY)); }, Bar(1)});
    ASSERT_EQ(5u, messages.size());
    EXPECT_EQ("Error", messages[0].caption);
    for (int i = 0; i < 3; i++) EXPECT_EQ("Company name too short", messages[i].text) << i;
    EXPECT_EQ((COLORREF)13311, messages[0].colour);
    EXPECT_EQ("Empty Address", messages[3].text);
    EXPECT_EQ("Empty Address", messages[4].text);
    EXPECT_EQ("Ab", company);
    EXPECT_EQ("0", Scalar("select count(*) from suppliers"));
}

TEST_F(NewSupplierTest, NoFreeReferenceAndAFailedInsertAreReported)
{
    NativeExec("with recursive n(i) as (select 0 union all select i + 1 from n where i < 998) "
               "insert into suppliers (enabled, acref, company) select 'no', printf('AB%03d', i), 'x' from n");
    OpenWindow();
    Run({Fill("Abbey", "1 Road"), Bar(0),
         [](HWND) { QlDbExecHook = [](const char *sql) { return strncmp(sql, "insert", 6) == 0 ? 1 : 0; }; },
         Fill("Cobalt", "1 Road"), Bar(0), [](HWND) { QlDbExecHook = NULL; }, Bar(1)});
    QlDbExecHook = NULL;
    ASSERT_EQ(2u, messages.size());
    EXPECT_EQ("Choose different company name", messages[0].text);
    EXPECT_EQ("Supplier Database Insert Failed", messages[1].caption);
    EXPECT_EQ("0", Scalar("select count(*) from suppliers where enabled='yes'"));
    EXPECT_EQ(0, RowCount(List()));
}

TEST_F(NewSupplierTest, EnterEscapeAndCloseWriteNothing)
{
    OpenWindow();
    Run({Fill("Acme", "1 Road"), [](HWND d) { SendMessageA(d, WM_COMMAND, IDOK, 0); },
         [](HWND d) { EXPECT_TRUE(IsWindowVisible(d)); }, [](HWND d) { SendMessageA(d, WM_COMMAND, IDCANCEL, 0); }});
    Run({Fill("Acme", "1 Road"), Bar(1)});
    EXPECT_EQ("0", Scalar("select count(*) from suppliers"));
    EXPECT_TRUE(messages.empty());
}

TEST_F(NewSupplierTest, AFullListRefusesBeforeTheDialogOpens)
{
    OpenWindow();
    HWND list = List();
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    for (int i = 0; i < QL_SUPP_MAX_ROWS; i++) {
        LVITEMA item = {};
        item.mask = LVIF_TEXT;
        item.iItem = i;
        item.pszText = (char *)"XX000";
        SendMessageA(list, LVM_INSERTITEMA, 0, (LPARAM)&item);
    }
    {
        DialogDriver none({});   // fails a dialog that opens
        Toolbar(window, QL_SUPP_CMD_NEW);
    }
    ASSERT_EQ(1u, messages.size());
    EXPECT_EQ("Cannot add new account", messages[0].caption);
    EXPECT_EQ("Maximum number of customer accounts reached", messages[0].text);
}

}  // namespace
