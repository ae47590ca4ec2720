#include "QlGTest.h"
#include "CatTestSupport.h"

#include "catalogue/QlCatalogueOpen.h"
#include "catalogue/QlPriceList.h"
#include "catalogue/QlProducts.h"
#include "ui/QlAppState.h"
#include "ui/QlSeams.h"
#include "ui/QlWindow.h"
#include "resources/QlResCatalogue.h"

#include <commctrl.h>

std::vector<std::string> CatTest::sounds;

static BOOL WINAPI RecordSound(LPCSTR sound, HMODULE, DWORD flags)
{
    CatTest::sounds.push_back(sound ? sound : "");
    return flags == (SND_FILENAME | SND_ASYNC);
}

void CatTest::SetUp()
{
    TransTest::SetUp();
    sounds.clear();
    QlSeamPlaySound = RecordSound;
    QlSettings.cfg.scanSounds = 1;
    QlDListFree(&QlProdState.prod_list);
    QlProdState.edit_row = 0;
    QlProdState.stock_changed = 0;
    QlPriceListOptions = QlPriceListOptionsRec{1, 0, 0, 0, 0, "", ""};
}

void CatTest::TearDown()
{
    if (QlModuleWnd) DestroyWindow(QlModuleWnd);
    QlModuleWnd = NULL;
    window = NULL;
    QlDListFree(&QlProdState.prod_list);
    TransTest::TearDown();
}

HWND CatTest::OpenProducts()
{
    window = QlProdOpenWindow(main);
    EXPECT_NE(nullptr, window);
    return window;
}

HWND CatTest::OpenServices()
{
    window = QlServOpenWindow(main);
    EXPECT_NE(nullptr, window);
    return window;
}

HWND CatTest::List() const
{
    return GetDlgItem(window, IDL_PROD_LIST);
}

void CatTest::ColumnClick(int column)
{
    NMLISTVIEW nm = {};
    nm.hdr.hwndFrom = List();
    nm.hdr.idFrom = IDL_PROD_LIST;
    nm.hdr.code = LVN_COLUMNCLICK;
    nm.iItem = -1;
    nm.iSubItem = column;
    SendMessageA(window, WM_NOTIFY, IDL_PROD_LIST, (LPARAM)&nm);
}

void CatTest::Focus(int row)
{
    LVITEMA item = {};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(List(), LVM_SETITEMSTATE, row, (LPARAM)&item);
}

void CatTest::Toolbar(HWND target, int command)
{
    HWND toolbar = FindWindowExA(target, NULL, TOOLBARCLASSNAMEA, NULL);
    ASSERT_NE(nullptr, toolbar);
    SendMessageA(target, WM_COMMAND, MAKEWPARAM(command, BN_CLICKED), (LPARAM)toolbar);
}

HWND CatTest::NewDialog()
{
    HWND dialog = CreateDialogParamA(QlUiInstance(), MAKEINTRESOURCEA(IDD_PROD_NEW), window ? window : main,
                                     QlProdNewDlgProc, 0);
    EXPECT_NE(nullptr, dialog);
    ShowWindow(dialog, SW_SHOWNA);
    return dialog;
}

HWND CatTest::EditDialog(int row)
{
    QlProdState.edit_row = row;
    HWND dialog = CreateDialogParamA(QlUiInstance(), MAKEINTRESOURCEA(IDD_PROD_EDIT), window ? window : main,
                                     QlProdEditDlgProc, 0);
    EXPECT_NE(nullptr, dialog);
    ShowWindow(dialog, SW_SHOWNA);
    return dialog;
}

std::string CatTest::Text(HWND dialog, int id)
{
    char text[256] = "";
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

void CatTest::Set(HWND dialog, int id, const char *text)
{
    SetDlgItemTextA(dialog, id, text);
}

QlProdRec CatTest::Product(const char *code)
{
    QlProdRec rec = {};
    char error[QL_DB_ERR_SIZE];
    if (!QlProdFind("scode", code, &rec, error)) memset(&rec, 0, sizeof rec);
    return rec;
}

std::vector<std::string> CatTest::MemCodes()
{
    std::vector<std::string> codes;
    for (QlDListNodeRec *node = QlProdState.prod_list.first; node; node = node->next)
        codes.push_back(((const QlProdRec *)node->data)->scode);
    return codes;
}
