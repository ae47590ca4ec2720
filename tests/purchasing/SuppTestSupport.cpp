#include "SuppTestSupport.h"

#include "ui/QlAppState.h"
#include "purchasing/QlPurchOpen.h"
#include "purchasing/QlSuppCurrent.h"
#include "purchasing/QlSuppliers.h"
#include "resources/QlResIds.h"

#include <string.h>

void SuppTest::SetUp()
{
    CustTest::SetUp();
    QlSuppWindowForget();
    memset(&QlSuppCurrent, 0, sizeof QlSuppCurrent);
}

void SuppTest::TearDown()
{
    if (window && IsWindow(window)) DestroyWindow(window);
    EXPECT_EQ(nullptr, QlSuppWnd) << "the window's handle outlived it";
    CustTest::TearDown();
}

int64_t SuppTest::AddSupplier(const char *acref, const char *company, const char *addr1)
{
    QlSuppRec rec = {};
    DbTestSet(rec.acref, acref);
    DbTestSet(rec.company, company);
    DbTestSet(rec.addr1, addr1);
    EXPECT_EQ(1, QlSuppAdd(&rec, err)) << err;
    return rec.iKey;
}

int64_t SuppTest::AddOrder(int64_t supp, const char *date, const char *desc, const char *gross, uint32_t type)
{
    QlTransRec rec = {};
    rec.type = type;
    rec.supp_rowid = supp;
    DbTestSet(rec.date, date);
    DbTestSet(rec.desc, desc);
    DbTestSet(rec.gross, gross);
    DbTestSet(rec.gross_bal, gross);
    EXPECT_EQ(1, QlTransAdd(&rec, err)) << err;
    return rec.iKey;
}

HWND SuppTest::OpenWindow()
{
    window = QlSuppOpenWindow(main);
    EXPECT_NE(nullptr, window);
    return window;
}

HWND SuppTest::List() const
{
    return GetDlgItem(window, IDL_SUPP_LIST);
}

void SuppTest::Toolbar(HWND dialog, int command)
{
    HWND toolbar = FindWindowExA(dialog, NULL, TOOLBARCLASSNAMEA, NULL);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(command, BN_CLICKED), (LPARAM)toolbar);
}

void SuppTest::ColumnClick(int column)
{
    NMLISTVIEW nm = {};
    nm.hdr.hwndFrom = List();
    nm.hdr.idFrom = IDL_SUPP_LIST;
    nm.hdr.code = LVN_COLUMNCLICK;
    nm.iItem = -1;
    nm.iSubItem = column;
    SendMessageA(window, WM_NOTIFY, IDL_SUPP_LIST, (LPARAM)&nm);
}

void SuppTest::Focus(int row)
{
    LVITEMA item = {};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(List(), LVM_SETITEMSTATE, row, (LPARAM)&item);
}

std::string SuppTest::Text(int id) const
{
    char text[256] = "";
    GetDlgItemTextA(window, id, text, sizeof text);
    return text;
}
