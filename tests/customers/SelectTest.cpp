// The select-customer dialog (182).
#include "CustTestSupport.h"
#include "UiTestSupport.h"

#include "ui/QlWindow.h"
#include "customers/QlCustSelect.h"
#include "resources/QlResIds.h"

#include <functional>

namespace {

class SelectTest : public CustTest {
protected:
    void SetUp() override
    {
        CustTest::SetUp();
        AddCustomer("BR000", "Bravo Ltd");
        AddCustomer("AL000", "Zulu Alpha");
        AddCustomer("CH000", "Charlie");
        ASSERT_EQ(1, QlDbDisableRow(AddCustomer("DE000", "Delta"), "customers", err));
    }

    INT_PTR Run(std::vector<std::function<void(HWND)>> steps)
    {
        DialogDriver driver(std::move(steps));
        INT_PTR result = DialogBoxParamA(QlUiInstance(), MAKEINTRESOURCEA(IDD_CUST_SELECT), main, QlCustSelectDlgProc, 0);
        EXPECT_EQ(driver.steps.size(), driver.stepsRun());
        return result;
    }

    // Steps that read the list and act on it.
    std::function<void(HWND)> Read(std::vector<std::string> *column0)
    {
        return [column0](HWND dialog) {
            HWND list = GetDlgItem(dialog, 1035);
            column0->clear();
            for (int row = 0; row < RowCount(list); row++) column0->push_back(Cell(list, row, 0));
        };
    }
};

std::function<void(HWND)> SortBy(int column)
{
    return [column](HWND dialog) {
        NMLISTVIEW nm = {};
        nm.hdr.hwndFrom = GetDlgItem(dialog, 1035);
        nm.hdr.idFrom = 1035;
        nm.hdr.code = LVN_COLUMNCLICK;
        nm.iSubItem = column;
        SendMessageA(dialog, WM_NOTIFY, 1035, (LPARAM)&nm);
    };
}

std::function<void(HWND)> SelectRow(int row)
{
    return [row](HWND dialog) {
        LVITEMA item = {};
        item.stateMask = item.state = LVIS_SELECTED | LVIS_FOCUSED;
        SendDlgItemMessageA(dialog, 1035, LVM_SETITEMSTATE, row, (LPARAM)&item);
    };
}

void Press(HWND dialog, int id)
{
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)GetDlgItem(dialog, id));
}

}  // namespace

TEST_F(SelectTest, SortsEachColumnAndReturnsTheChosenAccount)
{
    std::vector<std::string> initial, byRefDown, byRefUp, byCompanyDown;
    std::string caption, select;
    INT_PTR result = Run({
        [&](HWND d) {
            caption = WindowText(d);
            select = WindowText(GetDlgItem(d, IDOK));
        },
        Read(&initial), SortBy(0), Read(&byRefDown), SortBy(0), Read(&byRefUp), SortBy(1), Read(&byCompanyDown),
        SelectRow(1), [](HWND d) { Press(d, IDOK); },
    });
    EXPECT_EQ("Please select customer account", caption);
    EXPECT_EQ("Select", select);
    EXPECT_EQ((std::vector<std::string>{"AL000", "BR000", "CH000"}), initial);   // the deleted one never shows
    EXPECT_EQ((std::vector<std::string>{"CH000", "BR000", "AL000"}), byRefDown);
    EXPECT_EQ(initial, byRefUp);
    EXPECT_EQ((std::vector<std::string>{"AL000", "CH000", "BR000"}), byCompanyDown);   // Zulu, Charlie, Bravo
    EXPECT_EQ(1, result);
    ASSERT_NE(nullptr, QlCustSelected);
    EXPECT_STREQ("CH000", QlCustSelected->acref);
    EXPECT_STREQ("Charlie", QlCustSelected->company);
    EXPECT_EQ(3, QlCustSelected->iKey);
}

TEST_F(SelectTest, EachOpeningStartsAfreshAndNoRowTakesNothing)
{
    // A double click takes the account and ends the dialog.
    EXPECT_EQ(1, Run({SelectRow(2), [](HWND d) {
                          NMITEMACTIVATE nm = {};
                          nm.hdr.hwndFrom = GetDlgItem(d, 1035);
                          nm.hdr.idFrom = 1035;
                          nm.hdr.code = NM_DBLCLK;
                          nm.iItem = 2;
                          SendMessageA(d, WM_NOTIFY, 1035, (LPARAM)&nm);
                      }}));
    ASSERT_NE(nullptr, QlCustSelected);
    EXPECT_STREQ("CH000", QlCustSelected->acref);

    // The next opening: A/C refs ascending again, nothing taken yet; Select
    // without a row ends with 0, and so does Cancel.
    std::vector<std::string> initial;
    bool clearedAtStart = false;
    EXPECT_EQ(0, Run({Read(&initial), [&](HWND) { clearedAtStart = QlCustSelected == nullptr; },
                      [](HWND d) { Press(d, IDOK); }}));
    EXPECT_TRUE(clearedAtStart);
    EXPECT_EQ(nullptr, QlCustSelected);
    EXPECT_EQ((std::vector<std::string>{"AL000", "BR000", "CH000"}), initial);
    EXPECT_EQ(0, Run({SelectRow(0), [](HWND d) { Press(d, IDCANCEL); }}));
    EXPECT_EQ(nullptr, QlCustSelected);
}
