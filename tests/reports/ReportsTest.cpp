// The Reports dialog (its list, descriptions, the tax report's name, the
// remembered selection, the buttons of what can run) and the CSV exports:
// the bytes of each file, the save dialog, cancel and the failures.
#include "CatTestSupport.h"
#include "UiTestSupport.h"

#include "ui/QlAppState.h"
#include "core/QlPlatform.h"
#include "ui/QlSeams.h"
#include "ui/QlUtil.h"
#include "datastore/QlDb.h"
#include "datastore/QlDbTables.h"
#include "reports/QlCsvExports.h"
#include "reports/QlReportTables.h"
#include "reports/QlReportsOpen.h"
#include "resources/QlResReports.h"
#include "settings/QlLangTables.h"

#include <string.h>

namespace {

int FailSelects(const char *sql)
{
    return strncmp(sql, "select", 6) == 0;
}

std::string gSaveAnswer, gSaveTitle, gSaveFile;
int gSaveCalls;
BOOL WINAPI AnswerSave(LPOPENFILENAMEA ofn)
{
    gSaveCalls++;
    gSaveTitle = ofn->lpstrTitle ? ofn->lpstrTitle : "";
    gSaveFile = ofn->lpstrFile;
    if (gSaveAnswer.empty()) return FALSE;
    lstrcpynA(ofn->lpstrFile, gSaveAnswer.c_str(), ofn->nMaxFile);
    return TRUE;
}

class ReportsTest : public CatTest {
protected:
    void SetUp() override
    {
        CatTest::SetUp();
        gSaveAnswer.clear();
        gSaveCalls = 0;
        QlSeamGetSaveFileName = AnswerSave;
        RECT client;
        GetClientRect(main, &client);
        panel = CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, client.bottom - 10, client.right, 10, main, NULL,
                                GetModuleHandleA(NULL), NULL);
        QlStatusPanelWnd = panel;
    }
    void TearDown() override
    {
        QlDbExecHook = NULL;
        QlStatusPanelWnd = NULL;
        DestroyWindow(panel);
        CatTest::TearDown();
    }
    std::string Posted()
    {
        MSG msg;
        std::string text;
        while (PeekMessageA(&msg, panel, QL_WM_STATUS_SHOW, QL_WM_STATUS_SHOW, PM_REMOVE)) {
            text = (const char *)msg.lParam;
            free((void *)msg.lParam);
        }
        return text;
    }
    // The file the export wrote into the test's folder, "(missing)" when none.
    std::string Export(int (*fn)(HWND), const char *name)
    {
        gSaveAnswer = folder + "\\" + name;
        EXPECT_EQ(1, fn(main)) << name;
        return ReadNativeFile(DbTestNativePath(gSaveAnswer));
    }
    int64_t AddTrans(uint32_t type, uint32_t subType, const char *date, const char *desc, const char *gross)
    {
        QlTransRec rec = {};
        rec.type = type;
        rec.sub_type = subType;
        rec.cust_rowid = customer;
        strcpy(rec.acref, "JO001");
        strcpy(rec.date, date);
        strcpy(rec.desc, desc);
        strcpy(rec.gross, gross);
        strcpy(rec.gross_bal, gross);
        strcpy(rec.carriage, "0.00");
        strcpy(rec.carriage_vat, "0.00");
        strcpy(rec.vat, "0.00");
        rec.num_sub_items = 1;
        EXPECT_EQ(1, QlTransAdd(&rec, err)) << err;
        return rec.iKey;
    }

    HWND panel = NULL;
};

std::vector<std::string> ListItems(HWND dialog)
{
    std::vector<std::string> items;
    HWND list = GetDlgItem(dialog, IDL_REPORTS_LIST);
    int count = (int)SendMessageA(list, LB_GETCOUNT, 0, 0);
    for (int i = 0; i < count; i++) {
        char text[128] = "";
        SendMessageA(list, LB_GETTEXT, i, (LPARAM)text);
        items.push_back(text);
    }
    return items;
}

std::string ItemText(HWND dialog, int id)
{
    char text[256] = "";
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

bool Enabled(HWND dialog, int id)
{
    return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE;
}

void Select(HWND dialog, int index)
{
    SendDlgItemMessageA(dialog, IDL_REPORTS_LIST, LB_SETCURSEL, index, 0);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDL_REPORTS_LIST, LBN_SELCHANGE),
                 (LPARAM)GetDlgItem(dialog, IDL_REPORTS_LIST));
}

}  // namespace

// The dialog lists the eight reports, names the tax report after the tax
// name (French has its own name), closes the open module window, keeps the
// selection between runs and offers Print and Export for every report.
TEST_F(ReportsTest, TheDialogListsTheReportsAndKeepsTheSelection)
{
    HWND module = CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 10, 10, main, NULL, GetModuleHandleA(NULL), NULL);
    QlModuleWnd = module;
    {
        DialogDriver driver({[&](HWND dialog) {
            EXPECT_FALSE(IsWindow(module));
            EXPECT_EQ(nullptr, QlModuleWnd);
            char caption[64] = "";
            GetWindowTextA(dialog, caption, sizeof caption);
            EXPECT_STREQ("Quillory Reports", caption);
            EXPECT_EQ(std::vector<std::string>({"VAT Report", "Customer List", "Transaction List", "Invoices List",
                                                "Credits List", "Payments List", "Product Full List",
                                                "Service Full List"}),
                      ListItems(dialog));
            EXPECT_EQ("View, print or export tax invoices report", ItemText(dialog, IDT_REPORTS_DESC));
            for (int i = 0; i < 8; i++) {
                Select(dialog, i);
                EXPECT_TRUE(Enabled(dialog, IDB_REPORTS_EXPORT) && Enabled(dialog, IDB_REPORTS_PRINT)) << i;
            }
            Select(dialog, 3);
            EXPECT_EQ("Print or export full list of invoices", ItemText(dialog, IDT_REPORTS_DESC));
            ClickButton(dialog, IDB_REPORTS_CLOSE);
        }});
        EXPECT_EQ(0, QlReportsShow(main));
        EXPECT_EQ(1u, driver.stepsRun());
    }
    // Opened again, in French: the fixed name, and the report chosen last.
    QlSettings.cfg.language = QL_LANG_FRENCH;
    {
        DialogDriver driver({[&](HWND dialog) {
            EXPECT_EQ(3, (int)SendDlgItemMessageA(dialog, IDL_REPORTS_LIST, LB_GETCURSEL, 0, 0));
            EXPECT_EQ("Print or export full list of invoices", ItemText(dialog, IDT_REPORTS_DESC));
            EXPECT_EQ("Rapport de TVA", ListItems(dialog)[0]);
            PressKey(dialog, VK_ESCAPE);
        }});
        EXPECT_EQ(0, QlReportsShow(main));
        EXPECT_EQ(1u, driver.stepsRun());
    }
    EXPECT_STREQ("Rapport de TVA", QlReportTaxName);
    QlSettings.cfg.language = QL_LANG_ENGLISH;
    strcpy(QlSettings.cfg.taxName, "GST");
    {
        DialogDriver driver({[&](HWND dialog) {
            EXPECT_EQ("GST Report", ListItems(dialog)[0]);
            // Export runs the selected report's export: the invoices list.
            gSaveAnswer.clear();
            ClickButton(dialog, IDB_REPORTS_EXPORT);
            EXPECT_EQ(1, gSaveCalls);
            EXPECT_EQ("invs.csv", gSaveFile);
            EXPECT_TRUE(IsWindow(dialog));
            ClickButton(dialog, IDB_REPORTS_CLOSE);
        }});
        QlReportsShow(main);
        EXPECT_EQ(1u, driver.stepsRun());
    }
}

// Each export's lines, in the table's order, with CR LF: texts that would
// break a line are quoted, the products quote every field.
TEST_F(ReportsTest, EachExportWritesItsTableLineByLine)
{
    QlCustRec joe = {};
    ASSERT_EQ(1, QlCustGetByAcRef("JO001", &joe, err)) << err;
    strcpy(joe.contact, "Joe Murphy");
    strcpy(joe.addr1, "Unit 4, Dock Road");
    strcpy(joe.addr2, "Cork");
    joe.addr3[0] = '\0';
    // The record's own balance fields are not kept up: the line carries what
    // the account's invoices owe, as the customers window shows it.
    joe.balance_units = 12;
    joe.balance_hundredths = 5;
    ASSERT_EQ(1, QlCustUpdate(&joe, err)) << err;
    EXPECT_EQ("JO001,Joe Murphy,,,,,\"Unit 4, Dock Road\",Cork,,0.00\r\n", Export(QlCsvExportCust, "c.csv"));
    EXPECT_EQ("cust.csv", gSaveFile);
    EXPECT_EQ("Export", gSaveTitle);

    int64_t invoice = AddTrans(1, 1, "3/3/2025", "Copper pipe", "72.18");
    int64_t credit = AddTrans(2, 0, "4/3/2025", "Return \"damaged\"", "10.00");
    int64_t payment = AddTrans(3, 0, "5/3/2025", "Payment", "50.00");
    int64_t gone = AddTrans(1, 0, "6/3/2025", "Gone", "1.00");
    ASSERT_EQ(1, QlDbDisableRow(gone, "trans", err)) << err;
    char expected[512];
    snprintf(expected, sizeof expected,
             QL_I64 ",0,1,3/3/2025,JO001,1,0.00,0.00,72.18,72.18\r\n" QL_I64
                    ",0,0,4/3/2025,JO001,1,0.00,0.00,10.00,10.00\r\n" QL_I64
                    ",0,0,5/3/2025,JO001,1,0.00,0.00,50.00,50.00\r\n",
             invoice, credit, payment);
    EXPECT_EQ(expected, Export(QlCsvExportTrans, "t.csv"));
    // Only the enabled invoice is owed (credit notes and payments act
    // through the invoices' balances).
    EXPECT_EQ("JO001,Joe Murphy,,,,,\"Unit 4, Dock Road\",Cork,,72.18\r\n", Export(QlCsvExportCust, "c.csv"));
    const struct {
        int (*fn)(HWND);
        const char *name, *defaultName;
        int64_t key;
        const char *line;
    } docs[] = {
        {QlCsvExportInvoices, "i.csv", "invs.csv", invoice, ",3/3/2025,JO001,Copper pipe,72.18\r\n"},
        {QlCsvExportCredits, "cr.csv", "cred.csv", credit, ",4/3/2025,JO001,\"Return \"\"damaged\"\"\",10.00\r\n"},
        {QlCsvExportPayments, "p.csv", "payments.csv", payment, ",5/3/2025,JO001,Payment,50.00\r\n"},
    };
    for (const auto &d : docs) {
        SCOPED_TRACE(d.name);
        EXPECT_EQ(std::to_string(d.key) + d.line, Export(d.fn, d.name));
        EXPECT_EQ(d.defaultName, gSaveFile);
        EXPECT_EQ("List saved as " + folder + "\\" + d.name, Posted());
    }

    int64_t pipe = AddProduct("0001", "501234567890", "12\" PIPE", 12, 50, -3);
    int64_t elbow = AddProduct("0002", "", "ELBOW", 1, 99, 7);
    EXPECT_EQ("\"" + std::to_string(pipe) + "\",\"0001\",\"501234567890\",\"\",\"12\"\" PIPE\",\"12.50\",\"6.00\",\"-3\"\r\n" +
                  "\"" + std::to_string(elbow) + "\",\"0002\",\"\",\"\",\"ELBOW\",\"1.99\",\"0.00\",\"7\"\r\n",
              Export(QlCsvExportProd, "pr.csv"));
    EXPECT_EQ("prod.csv", gSaveFile);
    EXPECT_EQ("Export Product Table to CSV file", gSaveTitle);
    EXPECT_EQ("Product list saved as " + folder + "\\pr.csv", Posted());
    EXPECT_TRUE(messages.empty());
}

// Cancel writes nothing and says nothing; a file that cannot be opened and
// a refused query are reported, leave no file and post no success; the
// working folder is the program's again afterwards.
TEST_F(ReportsTest, CancelAndFailuresWriteNothingAndSayWhy)
{
    AddProduct("0001", "", "PIPE", 1, 0, 1);
    char before[MAX_PATH];
    GetCurrentDirectoryA(sizeof before, before);
    strcpy(QlWorkDir, before);
    const std::string path = folder + "\\prod.csv";
    const std::string noFolder = folder + "\\missing\\prod.csv";
    const struct {
        const char *name;
        std::string answer;
        int (*hook)(const char *);
        std::string message;
    } cases[] = {
        {"cancelled", "", NULL, ""},
        {"no such folder", noFolder, NULL, "Cannot open file " + noFolder},
        {"query refused", path, FailSelects, QL_DB_ERR_INJECTED},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        messages.clear();
        gSaveAnswer = c.answer;
        QlDbExecHook = c.hook;
        EXPECT_EQ(0, QlCsvExportProd(main));
        QlDbExecHook = NULL;
        EXPECT_EQ("<missing>", ReadNativeFile(DbTestNativePath(path)));
        EXPECT_EQ("", Posted());
        if (c.message.empty()) {
            EXPECT_TRUE(messages.empty());
        } else {
            ASSERT_EQ(1u, messages.size());
            EXPECT_EQ("Error", messages[0].caption);
            EXPECT_EQ(c.message, messages[0].text);
        }
        char now[MAX_PATH];
        GetCurrentDirectoryA(sizeof now, now);
        EXPECT_STREQ(before, now);
    }
}
