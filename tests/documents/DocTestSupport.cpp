#include "DocTestSupport.h"

#include "ui/QlAppState.h"
#include "datastore/QlDbTables.h"
#include "resources/QlResTrans.h"
#include "settings/QlSettings.h"

#include <commctrl.h>
#include <stdlib.h>
#include <string.h>

const std::vector<std::vector<std::string>> kServRows = {
    {"Consulting", "23.00", "10", "100.00", "10.00", "90.00", "20.70"},
    {"Travel", "23.00", "0", "80.00", "0.00", "80.00", "18.40"},
};
const std::vector<std::vector<std::string>> kProdRows = {
    {"P001", "Copper pipe", "3", "23.00", "0", "12.50", "0.00", "37.50", "8.63"},
    {"P002", "Brass elbow", "10", "23.00", "5", "1.99", "1.00", "18.90", "4.35"},
};
const std::vector<std::vector<std::string>> kCreditRows = {{"Returned pipe", "25.00", "5.75"}};

static INT_PTR CALLBACK FormProc(HWND, UINT msg, WPARAM, LPARAM)
{
    return msg == WM_INITDIALOG;
}

void DocTest::SetUp()
{
    DataStoreTest::SetUp();
    MailRecordDialogs();
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_LISTVIEW_CLASSES | ICC_DATE_CLASSES | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&icc);
    GetCurrentDirectoryA(sizeof previousDir, previousDir);
    ASSERT_TRUE(SetCurrentDirectoryA(folder.c_str()));

    QlSettingsRec &cfg = QlSettings.cfg;
    memset(&cfg, 0, sizeof cfg);
    strcpy(cfg.companyName, "Quillory Ltd");
    strcpy(cfg.address1, "1 Mill Lane");
    strcpy(cfg.address2, "Dublin 8");
    strcpy(cfg.taxNumber, "IE1234567X");
    strcpy(cfg.telephone, "01 555 0199");
    strcpy(cfg.taxName, "VAT");
    strcpy(cfg.currency, "Euro");
    strcpy(cfg.dateFormat, "d/MM/yyyy");
    strcpy(cfg.bottomLines[0], "Payment within 30 days");
    strcpy(cfg.bottomLines[1], "Bank: IE00 BANK 1234");
    strcpy(cfg.email, "office@quillory.test");
    strcpy(cfg.contactName, "Mary Byrne");
    cfg.printTaxNumber = 0;

    DbTestSet(customer.acref, "JO001");
    DbTestSet(customer.company, "Joe's Plumbing");
    DbTestSet(customer.addr1, "1 High Street");
    DbTestSet(customer.addr2, "Cork");
    DbTestSet(customer.wemail, "buyer@quillory.test");
    ASSERT_EQ(1, QlCustAdd(&customer, err)) << err;

    form = CreateDialogParamA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(IDD_TRANS_FORM), main_.hwnd, FormProc, 0);
    ASSERT_NE(nullptr, form);
}

void DocTest::TearDown()
{
    if (form) DestroyWindow(form);
    SetCurrentDirectoryA(previousDir);
    DataStoreTest::TearDown();
}

void DocTest::Options(int on)
{
    QlSettings.cfg.printDiscountColumn = on;
    QlSettings.cfg.printCarriage = on;
    QlSettings.cfg.printOrderNumber = on;
    QlSettings.cfg.printBottomLines = on;
}

void DocTest::SetLines(const std::vector<std::vector<std::string>> &rows)
{
    HWND list = GetDlgItem(form, IDL_DOC_LINES);
    SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
    while (SendMessageA(list, LVM_DELETECOLUMN, 0, 0)) {
    }
    size_t columns = rows.empty() ? 7 : rows[0].size();
    for (size_t c = 0; c < columns; c++) {
        LVCOLUMNA column = {};
        column.mask = LVCF_WIDTH;
        column.cx = 60;
        SendMessageA(list, LVM_INSERTCOLUMNA, c, (LPARAM)&column);
    }
    for (size_t r = 0; r < rows.size(); r++) {
        LVITEMA item = {};
        item.mask = LVIF_TEXT;
        item.iItem = (int)r;
        item.pszText = (char *)rows[r][0].c_str();
        SendMessageA(list, LVM_INSERTITEMA, 0, (LPARAM)&item);
        for (size_t c = 1; c < rows[r].size(); c++) {
            LVITEMA sub = {};
            sub.iSubItem = (int)c;
            sub.pszText = (char *)rows[r][c].c_str();
            SendMessageA(list, LVM_SETITEMTEXTA, r, (LPARAM)&sub);
        }
    }
}

void DocTest::Fill(DocFormKind kind)
{
    struct Words {
        const char *to, *number, *date, *title, *docNumber;
    } words[] = {
        {"INVOICE TO:", " Invoice No:", " Invoice Date:", "INVOICE", "123"},
        {"INVOICE TO:", " Invoice No:", " Invoice Date:", "INVOICE", "123"},
        {"QUOTATION TO:", " Quotation No:", " Quotation Date:", "QUOTATION", "45"},
        {"INVOICE TO:", " Credit No:", " Credit Date:", "CREDIT NOTE", "7"},
    };
    const Words &w = words[kind];
    Set(IDT_DOC_TO_LABEL, w.to);
    Set(IDT_DOC_NUMBER_LABEL, w.number);
    Set(IDT_DOC_DATE_LABEL, w.date);
    Set(IDT_DOC_ACREF_LABEL, " A/C Ref:");
    Set(IDT_DOC_TITLE, w.title);
    Set(IDT_DOC_NUMBER, w.docNumber);
    Set(IDT_DOC_ACREF, "JO001");
    Set(IDE_DOC_ACREF, "JO001");
    Set(IDE_DOC_COMPANY, "Joe's Plumbing");
    Set(IDE_DOC_ORDER, "PO-77");
    SendDlgItemMessageA(form, IDP_DOC_DATE, DTM_SETFORMATA, 0, (LPARAM) "d/MM/yyyy");
    SYSTEMTIME date = {};
    date.wYear = 2025;
    date.wMonth = 3;
    date.wDay = 5;
    SendDlgItemMessageA(form, IDP_DOC_DATE, DTM_SETSYSTEMTIME, GDT_VALID, (LPARAM)&date);
    Set(IDT_DOC_NET, "170.00");
    Set(IDT_DOC_TAX, "39.10");
    Set(IDT_DOC_DISCOUNT, "10.00");
    Set(IDT_DOC_CARRIAGE, "5.00");
    Set(IDT_DOC_CARRIAGE_TAX, "1.15");
    Set(IDT_DOC_GROSS_LABEL, "Euro / Gross:");
    Set(IDT_DOC_GROSS, kind == DOC_CREDIT ? "30.75" : "215.25");
    SetLines(kind == DOC_SERVICE ? kServRows : kind == DOC_CREDIT ? kCreditRows : kProdRows);
}

std::string DocTest::FileBytes(const std::string &name) const
{
    std::string bytes;
    HANDLE file = CreateFileA(name.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    if (file == INVALID_HANDLE_VALUE) return bytes;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, NULL) && got > 0) bytes.append(buffer, got);
    CloseHandle(file);
    return bytes;
}

bool DocTest::FileExists(const std::string &name) const
{
    return GetFileAttributesA(name.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string DocTest::Golden(const char *name)
{
    const char *source = getenv("QL_SOURCE_DIR");
    std::string path = std::string(source ? source : ".") + "/tests/documents/golden/" + name;
    std::string bytes;
    FILE *f = fopen(path.c_str(), "rb");
    if (!f) return bytes;
    char buffer[4096];
    size_t got;
    while ((got = fread(buffer, 1, sizeof buffer, f)) > 0) bytes.append(buffer, got);
    fclose(f);
    return bytes;
}
