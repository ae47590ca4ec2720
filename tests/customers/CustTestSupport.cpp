#include "CustTestSupport.h"

#include "ui/QlAppState.h"
#include "ui/QlSeams.h"
#include "customers/QlCustModule.h"
#include "settings/QlSettings.h"

#include <stdio.h>

std::vector<ShownMessage> CustTest::messages;
int CustTest::answer = 1;

static INT_PTR RecordMsgDialog(HWND, QlMsgRequest *request)
{
    CustTest::messages.push_back(
        {request->caption ? request->caption : "", request->text ? request->text : "", request->colour});
    return CustTest::answer;
}

static int WINAPI RecordMessageBox(HWND, LPCSTR text, LPCSTR caption, UINT)
{
    CustTest::messages.push_back({caption ? caption : "", text ? text : "", 0});
    return IDOK;
}

// The shell fills the percent texts at start-up; the tests do it here.
static void FillPercentTexts(void)
{
    static char texts[100][4];
    for (int i = 0; i < 100; i++) {
        snprintf(texts[i], sizeof texts[i], "%d%%", i);
        QlPercentTextTable[i] = texts[i];
    }
}

void CustTest::SetUp()
{
    DataStoreTest::SetUp();
    FillPercentTexts();
    QlSettings.cfg.language = 0;
    messages.clear();
    answer = 1;
    QlSeamMsgDialog = RecordMsgDialog;
    QlSeamMessageBox = RecordMessageBox;
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
    main = CreateWindowExA(0, "STATIC", "Quillory", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0, 800, 580, NULL, NULL,
                           GetModuleHandleA(NULL), NULL);
    ASSERT_NE(nullptr, main);
    QlMainWnd = main;
}

void CustTest::TearDown()
{
    if (QlModuleWnd) DestroyWindow(QlModuleWnd);
    QlModuleWnd = NULL;
    DestroyWindow(main);
    QlMainWnd = NULL;
    QlSeamsReset();
    DataStoreTest::TearDown();
}

int64_t CustTest::AddCustomer(const char *acref, const char *company, const char *addr1)
{
    QlCustRec rec = {};
    DbTestSet(rec.acref, acref);
    DbTestSet(rec.company, company);
    DbTestSet(rec.addr1, addr1);
    EXPECT_EQ(1, QlCustAdd(&rec, err)) << err;
    return rec.iKey;
}

int64_t CustTest::AddTrans(int64_t cust, uint32_t type, const char *grossBal)
{
    QlTransRec rec = {};
    rec.type = type;
    rec.cust_rowid = cust;
    DbTestSet(rec.date, "1/2/2025");
    DbTestSet(rec.gross, grossBal);
    DbTestSet(rec.gross_bal, grossBal);
    EXPECT_EQ(1, QlTransAdd(&rec, err)) << err;
    return rec.iKey;
}

int64_t CustTest::AddDoc(int64_t cust, uint32_t type, const char *date, const char *gross, const char *grossBal,
                         const char *desc)
{
    QlTransRec rec = {};
    rec.type = type;
    rec.cust_rowid = cust;
    DbTestSet(rec.date, date);
    DbTestSet(rec.gross, gross);
    DbTestSet(rec.gross_bal, grossBal);
    DbTestSet(rec.desc, desc);
    EXPECT_EQ(1, QlTransAdd(&rec, err)) << err;
    return rec.iKey;
}

HWND CustTest::Open()
{
    module = QlCustOpenModule(main);
    EXPECT_NE(nullptr, module);
    return module;
}

void CustTest::Command(int id)
{
    HWND toolbar = FindWindowExA(module, NULL, TOOLBARCLASSNAMEA, NULL);
    SendMessageA(module, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)toolbar);
}

void CustTest::ColumnClick(int column)
{
    NMLISTVIEW nm = {};
    nm.hdr.hwndFrom = Overview();
    nm.hdr.idFrom = 1035;
    nm.hdr.code = LVN_COLUMNCLICK;
    nm.iItem = -1;
    nm.iSubItem = column;
    SendMessageA(module, WM_NOTIFY, 1035, (LPARAM)&nm);
}

void CustTest::Click(HWND list, int row)
{
    LVITEMA item = {};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(list, LVM_SETITEMSTATE, row, (LPARAM)&item);
    NMITEMACTIVATE nm = {};
    nm.hdr.hwndFrom = list;
    nm.hdr.idFrom = GetDlgCtrlID(list);
    nm.hdr.code = NM_CLICK;
    nm.iItem = row;
    SendMessageA(GetParent(list), WM_NOTIFY, nm.hdr.idFrom, (LPARAM)&nm);
}

std::string CustTest::Field(int id) const
{
    char text[256] = "";
    GetDlgItemTextA(module, id, text, sizeof text);
    return text;
}

std::vector<std::string> CustTest::Column(HWND list, int column) const
{
    std::vector<std::string> out;
    for (int row = 0; row < RowCount(list); row++) out.push_back(Cell(list, row, column));
    return out;
}

int CustTest::Selected(HWND list) const
{
    return (int)SendMessageA(list, LVM_GETNEXTITEM, (WPARAM)-1, LVNI_SELECTED);
}

std::string Cell(HWND list, int row, int column)
{
    char text[256] = "";
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    SendMessageA(list, LVM_GETITEMTEXTA, row, (LPARAM)&item);
    text[sizeof text - 1] = '\0';
    return text;
}

int RowCount(HWND list)
{
    return (int)SendMessageA(list, LVM_GETITEMCOUNT, 0, 0);
}

std::string ReadNativeFile(const std::string &nativePath)
{
    FILE *file = fopen(nativePath.c_str(), "rb");
    if (!file) return "<missing>";
    std::string text;
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, file)) > 0) text.append(buffer, n);
    fclose(file);
    return text;
}
