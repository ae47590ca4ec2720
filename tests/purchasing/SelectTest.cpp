// The select-supplier dialog (template 182).
#include "SuppTestSupport.h"
#include "UiTestSupport.h"

#include "ui/QlWindow.h"
#include "purchasing/QlSuppCurrent.h"
#include "purchasing/QlSuppliers.h"
#include "resources/QlResIds.h"

#include <functional>

namespace {

class SelectTest : public SuppTest {
protected:
    INT_PTR Run(std::vector<std::function<void(HWND)>> steps)
    {
        DialogDriver driver(std::move(steps));
        INT_PTR result = DialogBoxParamA(QlUiInstance(), MAKEINTRESOURCEA(IDD_CUST_SELECT), main, QlSuppSelectDlgProc, 0);
        EXPECT_EQ(driver.steps.size(), driver.stepsRun());
        return result;
    }
};

std::function<void(HWND)> Read(std::vector<std::string> *refs)
{
    return [refs](HWND dialog) {
        HWND list = GetDlgItem(dialog, IDL_CUSTSEL_LIST);
        refs->clear();
        for (int row = 0; row < RowCount(list); row++) refs->push_back(Cell(list, row, 0));
    };
}

std::function<void(HWND)> SortBy(int column)
{
    return [column](HWND dialog) {
        NMLISTVIEW nm = {};
        nm.hdr.hwndFrom = GetDlgItem(dialog, IDL_CUSTSEL_LIST);
        nm.hdr.idFrom = IDL_CUSTSEL_LIST;
        nm.hdr.code = LVN_COLUMNCLICK;
        nm.iSubItem = column;
        SendMessageA(dialog, WM_NOTIFY, IDL_CUSTSEL_LIST, (LPARAM)&nm);
    };
}

std::function<void(HWND)> FocusRow(int row)
{
    return [row](HWND dialog) {
        LVITEMA item = {};
        item.stateMask = item.state = LVIS_SELECTED | LVIS_FOCUSED;
        SendDlgItemMessageA(dialog, IDL_CUSTSEL_LIST, LVM_SETITEMSTATE, row, (LPARAM)&item);
    };
}

std::function<void(HWND)> Press(int id)
{
    return [id](HWND dialog) {
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)GetDlgItem(dialog, id));
    };
}

TEST_F(SelectTest, SortsEachColumnAndTakesTheChosenSupplier)
{
    AddSupplier("BR000", "Bravo Ltd", "2 Bravo Street");
    AddSupplier("AL000", "Zulu Alpha");
    AddSupplier("CH000", "Charlie");
    ASSERT_EQ(1, QlSuppDisable(AddSupplier("DE000", "Delta"), err));
    std::vector<std::string> initial, refDown, refUp, companyDown, companyUp;
    std::string caption, select, cancel, title;
    INT_PTR result = Run({
        [&](HWND d) {
            caption = WindowText(d);
            select = WindowText(GetDlgItem(d, IDOK));
            cancel = WindowText(GetDlgItem(d, IDCANCEL));
            char text[64] = "";
            QlListGetColumnText(GetDlgItem(d, IDL_CUSTSEL_LIST), 1, text, sizeof text);
            title = text;
        },
        Read(&initial), SortBy(0), Read(&refDown), SortBy(0), Read(&refUp), SortBy(1), Read(&companyDown), SortBy(1),
        Read(&companyUp), FocusRow(0), Press(IDOK),
    });
    EXPECT_EQ("Supplier", caption);
    EXPECT_EQ("Select", select);
    EXPECT_EQ("Cancel", cancel);
    EXPECT_EQ("Company Name:", title);
    EXPECT_EQ((std::vector<std::string>{"AL000", "BR000", "CH000"}), initial);
    EXPECT_EQ((std::vector<std::string>{"CH000", "BR000", "AL000"}), refDown);   // the first click: descending
    EXPECT_EQ((std::vector<std::string>{"AL000", "BR000", "CH000"}), refUp);
    EXPECT_EQ((std::vector<std::string>{"AL000", "CH000", "BR000"}), companyDown);
    EXPECT_EQ((std::vector<std::string>{"BR000", "CH000", "AL000"}), companyUp);
    EXPECT_EQ(1, result);
    EXPECT_STREQ("BR000", QlSuppCurrent.acref);
    EXPECT_STREQ("2 Bravo Street", QlSuppCurrent.addr1);

    // The flags start again at each opening: the list opens ascending and
    // the first click sorts descending.
    std::vector<std::string> again;
    memset(&QlSuppCurrent, 0, sizeof QlSuppCurrent);
    EXPECT_EQ(1, Run({Read(&initial), SortBy(0), Read(&again), FocusRow(2), [](HWND d) {
        NMITEMACTIVATE nm = {};
        nm.hdr.hwndFrom = GetDlgItem(d, IDL_CUSTSEL_LIST);
        nm.hdr.idFrom = IDL_CUSTSEL_LIST;
        nm.hdr.code = NM_DBLCLK;
        nm.iItem = 2;
        SendMessageA(d, WM_NOTIFY, IDL_CUSTSEL_LIST, (LPARAM)&nm);
    }}));
    EXPECT_EQ((std::vector<std::string>{"AL000", "BR000", "CH000"}), initial);
    EXPECT_EQ((std::vector<std::string>{"CH000", "BR000", "AL000"}), again);
    EXPECT_STREQ("AL000", QlSuppCurrent.acref);
}

TEST_F(SelectTest, NothingChosenLeavesTheCurrentSupplier)
{
    strcpy(QlSuppCurrent.acref, "KE000");
    EXPECT_EQ(0, Run({Press(IDOK)}));   // an empty list
    AddSupplier("BR000", "Bravo Ltd");
    EXPECT_EQ(0, Run({Press(IDOK)}));   // no focused row
    EXPECT_EQ(0, Run({FocusRow(0), Press(IDCANCEL)}));
    EXPECT_STREQ("KE000", QlSuppCurrent.acref);
}

}  // namespace
