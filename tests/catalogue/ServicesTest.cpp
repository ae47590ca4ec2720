// The services window, its dialogs, Delete and the CSV export: what is
// listed, stored and written, what is refused, and a service sold on an
// invoice.
#include "CatTestSupport.h"
#include "QlTestPlatform.h"
#include "UiTestSupport.h"

#include "catalogue/QlServices.h"
#include "ui/QlAppState.h"
#include "core/QlPlatform.h"
#include "ui/QlSeams.h"
#include "ui/QlUtil.h"
#include "ui/QlWindow.h"
#include "customers/QlCustModule.h"
#include "datastore/QlDb.h"
#include "resources/QlResCatalogue.h"
#include "resources/QlResTrans.h"
#include "transactions/QlTransForm.h"

#include <commctrl.h>
#include <memory>
#include <string.h>

namespace {

int FailInserts(const char *sql)
{
    return strncmp(sql, "insert", 6) == 0;
}
int FailUpdates(const char *sql)
{
    return strncmp(sql, "update", 6) == 0;
}
int FailSelects(const char *sql)
{
    return strncmp(sql, "select", 6) == 0;
}

// What the export's save dialog was asked, and the file it answers with
// ("" cancels).
struct SaveDialogSeen {
    int calls;
    HWND owner;
    std::string file, filter, title, defExt;
    DWORD flags;
};
SaveDialogSeen gSave;
std::string gSaveAnswer;

BOOL WINAPI AnswerSave(LPOPENFILENAMEA ofn)
{
    gSave.calls++;
    gSave.owner = ofn->hwndOwner;
    gSave.file = ofn->lpstrFile;
    const char *end = ofn->lpstrFilter;
    while (end[0] || end[1]) end++;
    gSave.filter.assign(ofn->lpstrFilter, end + 2);
    gSave.title = ofn->lpstrTitle ? ofn->lpstrTitle : "";
    gSave.defExt = ofn->lpstrDefExt ? ofn->lpstrDefExt : "";
    gSave.flags = ofn->Flags;
    if (gSaveAnswer.empty()) return FALSE;
    lstrcpynA(ofn->lpstrFile, gSaveAnswer.c_str(), ofn->nMaxFile);
    return TRUE;
}

std::string Repeat(char c, int n)
{
    return std::string((size_t)n, c);
}

class ServicesTest : public CatTest {
protected:
    void SetUp() override
    {
        CatTest::SetUp();
        gSave = {};
        gSaveAnswer.clear();
        QlSeamGetSaveFileName = AnswerSave;
        // A stand-in for the status panel along the main window's bottom.
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

    std::vector<std::string> Row(int row) const
    {
        return {Cell(List(), row, 0), Cell(List(), row, 1), Cell(List(), row, 2)};
    }
    // Dialog 178 over the window, modeless, so that a test drives it by hand.
    HWND ServiceDialog(DLGPROC procedure)
    {
        HWND dialog =
            CreateDialogParamA(QlUiInstance(), MAKEINTRESOURCEA(IDD_SERV_EDIT), window, procedure, 0);
        EXPECT_NE(nullptr, dialog);
        return dialog;
    }
    HWND EditDialog(int row)
    {
        QlServState.edit_row = row;
        return ServiceDialog(QlServEditDlgProc);
    }
    void Fill(HWND dialog, const char *descr, const char *units, const char *hundredths)
    {
        Set(dialog, IDE_SERV_DESCR, descr);
        Set(dialog, IDE_SERV_PRICE_UNITS, units);
        Set(dialog, IDE_SERV_PRICE_HUNDREDTHS, hundredths);
    }
    // A column of the stored service.
    std::string Stored(int64_t key, const char *column)
    {
        char sql[128];
        snprintf(sql, sizeof sql, "select %s from services where iKey=" QL_I64, column, key);
        return Scalar(sql);
    }
    std::string Posted()
    {
        MSG msg;
        std::string text;
        while (PeekMessageA(&msg, panel, QL_WM_STATUS_SHOW, QL_WM_STATUS_SHOW, PM_REMOVE)) {
            text = (const char *)msg.lParam;
            EXPECT_EQ(QL_COLOUR_DONE, (COLORREF)msg.wParam);
            free((void *)msg.lParam);
        }
        return text;
    }
    std::string ReadFile(const std::string &path)
    {
        FILE *file = QlFileOpen(path.c_str(), "rb");
        if (!file) return "(missing)";
        std::string bytes;
        char buffer[512];
        size_t n;
        while ((n = fread(buffer, 1, sizeof buffer, file)) > 0) bytes.append(buffer, n);
        fclose(file);
        return bytes;
    }

    HWND panel = NULL;
};

}  // namespace

TEST_F(ServicesTest, ListsTheEnabledServicesAndSortsByTheClickedColumn)
{
    AddService("Zeta work", 9, 50);
    int64_t gone = AddService("Gone", 1, 0);
    AddService("alpha job", 10, 0);
    AddService("Beta \"quoted\" o'k", 7, 5);
    ASSERT_EQ(1, QlDbDisableRow(gone, "services", err)) << err;
    OpenServices();

    EXPECT_EQ(window, QlModuleWnd);
    EXPECT_EQ("Services", WindowText(QlServState.title_label));
    for (int id : {IDC_PROD_FIND_KIND, IDT_PROD_FIND_RESULT, IDB_PROD_FIND, IDE_PROD_FIND})
        EXPECT_EQ(nullptr, GetDlgItem(window, id)) << id;
    ASSERT_NE(nullptr, QlServState.toolbar);
    EXPECT_EQ(6, (int)SendMessageA(QlServState.toolbar, TB_BUTTONCOUNT, 0, 0));
    RECT list = RectInParent(List()), bar = RectInParent(QlServState.toolbar);
    EXPECT_LE(list.bottom, bar.top);
    // Laid out again for a maximized main window: the list reaches the right
    // edge and still ends above the tool bar.
    SetWindowPos(main, NULL, 0, 0, 1000, 700, SWP_NOMOVE | SWP_NOZORDER);
    SendMessageA(window, QL_WM_MAIN_MAXIMIZED, 0, 0);
    RECT client;
    GetClientRect(window, &client);
    list = RectInParent(List());
    bar = RectInParent(QlServState.toolbar);
    EXPECT_EQ(client.right, list.right);
    EXPECT_LE(list.bottom, bar.top);
    EXPECT_GT(list.bottom, bar.top - 10);

    ASSERT_EQ(3, RowCount(List()));
    EXPECT_EQ(std::vector<std::string>({"1", "Zeta work", "9.50"}), Row(0));
    EXPECT_EQ(std::vector<std::string>({"4", "Beta \"quoted\" o'k", "7.05"}), Row(2));

    // Every click sorts ascending: prices by their cents, descriptions with
    // capital letters before small ones.
    const struct {
        int column;
        std::vector<std::string> codes;
    } cases[] = {
        {2, {"4", "1", "3"}},   // 7.05, 9.50, 10.00
        {2, {"4", "1", "3"}},
        {1, {"4", "1", "3"}},
        {0, {"1", "3", "4"}},
    };
    for (const auto &c : cases) {
        ColumnClick(c.column);
        EXPECT_EQ(c.codes, Column(List(), 0)) << "column " << c.column;
    }

    // Restoring the main window makes the window again, in row-id order.
    ColumnClick(1);
    HWND old = window;
    SendMessageA(window, QL_WM_MAIN_RESTORED, 0, 0);
    window = QlModuleWnd;
    EXPECT_NE(old, window);
    EXPECT_FALSE(IsWindow(old));
    EXPECT_EQ(std::vector<std::string>({"1", "3", "4"}), Column(List(), 0));
}

TEST_F(ServicesTest, ANewServiceIsStoredAsTypedAndListedLast)
{
    AddService("Zulu", 1, 0);
    OpenServices();
    ColumnClick(1);
    const std::string quoted = "O'Brien's \"best\" " + Repeat('x', 62);   // 79 characters
    const struct {
        std::string descr;
        const char *units, *hundredths, *price;
    } cases[] = {
        {"Plumbing", "12", "5", "12.05"},
        {"Call-out", "", "", "0.00"},
        {quoted, "1234567", "99", "1234567.99"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.descr);
        HWND dialog = ServiceDialog(QlServAddDlgProc);
        EXPECT_EQ("Create New Service", WindowText(dialog));
        EXPECT_EQ("0", Text(dialog, IDE_SERV_PRICE_UNITS));
        EXPECT_EQ("00", Text(dialog, IDE_SERV_PRICE_HUNDREDTHS));
        EXPECT_EQ(79, (int)SendDlgItemMessageA(dialog, IDE_SERV_DESCR, EM_GETLIMITTEXT, 0, 0));
        EXPECT_EQ(7, (int)SendDlgItemMessageA(dialog, IDE_SERV_PRICE_UNITS, EM_GETLIMITTEXT, 0, 0));
        EXPECT_EQ(2, (int)SendDlgItemMessageA(dialog, IDE_SERV_PRICE_HUNDREDTHS, EM_GETLIMITTEXT, 0, 0));
        Fill(dialog, c.descr.c_str(), c.units, c.hundredths);
        Toolbar(dialog, 0);
        DestroyWindow(dialog);
        EXPECT_TRUE(messages.empty());

        int last = RowCount(List()) - 1;
        std::string key = Cell(List(), last, 0);
        EXPECT_EQ(std::vector<std::string>({key, c.descr, c.price}), Row(last));
        EXPECT_EQ(c.descr, Stored(QlAtoI64(key.c_str()), "descr"));
        EXPECT_EQ(c.price, Stored(QlAtoI64(key.c_str()), "price"));
        EXPECT_EQ("yes", Stored(QlAtoI64(key.c_str()), "enabled"));
    }
    EXPECT_EQ("Zulu", Cell(List(), 0, 1));
}

TEST_F(ServicesTest, SaveRefusesWhatCannotBeStoredAndKeepsTheDialogOpen)
{
    OpenServices();
    HWND dialog = ServiceDialog(QlServAddDlgProc);
    const struct {
        const char *descr, *units, *hundredths;
        int (*hook)(const char *);
        const char *caption, *text;
    } cases[] = {
        {"", "5", "00", NULL, "Invalid Input", "Service description must be filled in"},
        {"Survey", "5x", "00", NULL, "Invalid Input", "The price must be given in digits"},
        {"Survey", "5", "-1", NULL, "Invalid Input", "The price must be given in digits"},
        {"Survey", "5", "00", FailInserts, "Failed to create service", QL_DB_ERR_INJECTED},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text);
        messages.clear();
        Fill(dialog, c.descr, c.units, c.hundredths);
        QlDbExecHook = c.hook;
        Toolbar(dialog, 0);
        QlDbExecHook = NULL;
        ASSERT_EQ(1u, messages.size());
        EXPECT_EQ(c.caption, messages[0].caption);
        EXPECT_EQ(c.text, messages[0].text);
        EXPECT_EQ(c.descr, Text(dialog, IDE_SERV_DESCR));
    }
    DestroyWindow(dialog);
    EXPECT_EQ(0, RowCount(List()));
    EXPECT_EQ("0", Scalar("select count(*) from services"));

    // Escape closes the real dialog without storing; Enter in a field
    // (IDOK: the dialog has no default button) keeps it open with what was
    // typed.
    {
        DialogDriver driver({[](HWND d) {
            SetField(d, IDE_SERV_DESCR, "Survey");
            SendMessageA(d, WM_COMMAND, IDCANCEL, 0);
        }});
        Toolbar(window, 0);
        EXPECT_EQ(1u, driver.stepsRun());
    }
    EXPECT_EQ("0", Scalar("select count(*) from services"));
    std::string kept;
    {
        DialogDriver driver({[](HWND d) {
                                 SetField(d, IDE_SERV_DESCR, "Survey");
                                 SendMessageA(d, WM_NEXTDLGCTL, (WPARAM)GetDlgItem(d, IDE_SERV_DESCR), TRUE);
                                 PressKey(d, VK_RETURN);
                             },
                             [&](HWND d) {
                                 kept = Text(d, IDE_SERV_DESCR);
                                 SendMessageA(d, WM_COMMAND, IDCANCEL, 0);
                             }});
        Toolbar(window, 0);
        EXPECT_EQ(2u, driver.stepsRun());
    }
    EXPECT_EQ("Survey", kept);
    EXPECT_EQ("0", Scalar("select count(*) from services"));
}

TEST_F(ServicesTest, EditRewritesTheFocusedRowAndItsService)
{
    int64_t survey = AddService("Survey", 7, 50);
    AddService("Repair", 20, 0);
    OpenServices();

    // Edit and a double click take the focused row; without one nothing opens.
    {
        DialogDriver none({});
        Toolbar(window, 1);
        EXPECT_EQ(0u, none.stepsRun());
    }
    Focus(1);
    std::string caption, code;
    {
        DialogDriver driver({[&](HWND d) {
            caption = WindowText(d);
            code = DialogText(d, IDT_SERV_CODE);
            SendMessageA(d, WM_COMMAND, IDCANCEL, 0);
        }});
        NMITEMACTIVATE nm = {};
        nm.hdr.hwndFrom = List();
        nm.hdr.idFrom = IDL_PROD_LIST;
        nm.hdr.code = NM_DBLCLK;
        nm.iItem = 1;
        SendMessageA(window, WM_NOTIFY, IDL_PROD_LIST, (LPARAM)&nm);
    }
    EXPECT_EQ("Edit Service", caption);
    EXPECT_EQ("2", code);

    HWND dialog = EditDialog(0);
    EXPECT_EQ("Survey", Text(dialog, IDE_SERV_DESCR));
    EXPECT_EQ("7", Text(dialog, IDE_SERV_PRICE_UNITS));
    EXPECT_EQ("50", Text(dialog, IDE_SERV_PRICE_HUNDREDTHS));
    EXPECT_EQ("1", Text(dialog, IDT_SERV_CODE));
    Toolbar(dialog, 0);
    EXPECT_EQ("7.50", Stored(survey, "price"));

    // A refused update leaves the row as it was.
    Set(dialog, IDE_SERV_PRICE_UNITS, "9");
    QlDbExecHook = FailUpdates;
    Toolbar(dialog, 0);
    QlDbExecHook = NULL;
    ASSERT_EQ(1u, messages.size());
    EXPECT_EQ("Error", messages[0].caption);
    EXPECT_EQ(QL_DB_ERR_INJECTED, messages[0].text);
    EXPECT_EQ(std::vector<std::string>({"1", "Survey", "7.50"}), Row(0));

    const std::string quoted = "Survey of O'Brien's \"old\" " + Repeat('y', 53);   // 79 characters
    Fill(dialog, quoted.c_str(), "8", "5");
    Toolbar(dialog, 0);
    DestroyWindow(dialog);
    EXPECT_EQ(std::vector<std::string>({"1", quoted, "8.05"}), Row(0));
    EXPECT_EQ(std::vector<std::string>({"2", "Repair", "20.00"}), Row(1));
    EXPECT_EQ(quoted, Stored(survey, "descr"));
    EXPECT_EQ("8.05", Stored(survey, "price"));
}

TEST_F(ServicesTest, DeleteAsksAndRemovesTheRowOnlyWhenTheServiceWasDeleted)
{
    AddService("Survey", 7, 50);
    int64_t repair = AddService("Repair", 20, 0);
    OpenServices();

    Toolbar(window, 2);   // no focused row
    EXPECT_TRUE(messages.empty());

    Focus(1);
    answer = 0;
    Toolbar(window, 2);
    ASSERT_EQ(1u, messages.size());
    EXPECT_EQ("SERVICE DELETE CONFIRMATION", messages[0].caption);
    EXPECT_EQ("Are you sure you want to permanently delete service record? (Service Code 2)\n** Repair **",
              messages[0].text);
    EXPECT_EQ(QL_COLOUR_WARNING, messages[0].colour);
    EXPECT_EQ(2, RowCount(List()));

    answer = 1;
    messages.clear();
    QlDbExecHook = FailUpdates;
    Toolbar(window, 2);
    QlDbExecHook = NULL;
    ASSERT_EQ(2u, messages.size());
    EXPECT_EQ("Service was not deleted", messages[1].caption);
    EXPECT_EQ(QL_DB_ERR_INJECTED, messages[1].text);
    EXPECT_EQ(2, RowCount(List()));
    EXPECT_EQ("yes", Stored(repair, "enabled"));

    Toolbar(window, 2);
    EXPECT_EQ(std::vector<std::string>({"1"}), Column(List(), 0));
    EXPECT_EQ("no", Stored(repair, "enabled"));
    OpenServices();
    EXPECT_EQ(std::vector<std::string>({"1"}), Column(List(), 0));
}

// A service made in the window is chosen in an invoice's service dialog and
// sold.
TEST_F(ServicesTest, ANewServiceIsSoldOnAnInvoice)
{
    OpenServices();
    {
        DialogDriver driver({[](HWND d) {
            SetField(d, IDE_SERV_DESCR, "Boiler service");
            SetField(d, IDE_SERV_PRICE_UNITS, "85");
            SetField(d, IDE_SERV_PRICE_HUNDREDTHS, "5");
            Toolbar(d, 0);
        }});
        Toolbar(window, 0);
        EXPECT_EQ(1u, driver.stepsRun());
    }
    ASSERT_EQ(1, RowCount(List()));

    Open();
    Command(QL_CUST_CMD_INVOICE);
    HWND form = QlModuleWnd;
    ASSERT_NE(module, form);
    std::vector<std::string> picked;
    {
        DialogDriver driver({[&](HWND d) {
            HWND pick = GetDlgItem(d, IDL_ITEM_PICK);
            ASSERT_EQ(1, RowCount(pick));
            NMITEMACTIVATE nm = {};
            nm.hdr.hwndFrom = pick;
            nm.hdr.idFrom = IDL_ITEM_PICK;
            nm.hdr.code = NM_DBLCLK;
            nm.iItem = 0;
            SendMessageA(d, WM_NOTIFY, IDL_ITEM_PICK, (LPARAM)&nm);
            picked = {DialogText(d, IDE_ITEM_DESCR), DialogText(d, IDE_ITEM_PRICE_UNITS),
                      DialogText(d, IDE_ITEM_PRICE_HUNDREDTHS)};
            ClickButton(d, IDOK);
        }});
        SendMessageA(form, WM_COMMAND, MAKEWPARAM(IDB_DOC_ADD, BN_CLICKED), (LPARAM)GetDlgItem(form, IDB_DOC_ADD));
        EXPECT_EQ(1u, driver.stepsRun());
    }
    EXPECT_EQ(std::vector<std::string>({"Boiler service", "85", "05"}), picked);
    ASSERT_EQ(1, RowCount(GetDlgItem(form, IDL_DOC_LINES)));
    HWND toolbar = FindWindowExA(form, NULL, TOOLBARCLASSNAMEA, NULL);
    SendMessageA(form, WM_COMMAND, MAKEWPARAM(QL_FORM_CMD_SAVE, BN_CLICKED), (LPARAM)toolbar);
    EXPECT_EQ("Boiler service", Scalar("select descr from invoices where enabled='yes'"));
}

TEST_F(ServicesTest, ExportWritesEveryEnabledServiceQuotedWithCrLf)
{
    AddService("He said \"hi\"", 12, 5);
    int64_t gone = AddService("Gone", 3, 0);
    AddService("Pipes, fittings", 0, 0);
    ASSERT_EQ(1, QlDbDisableRow(gone, "services", err)) << err;
    OpenServices();
    const std::string path = folder + "\\services.csv";
    gSaveAnswer = path;

    Toolbar(window, 4);
    EXPECT_EQ("\"1\",\"He said \"\"hi\"\"\",\"12.05\"\r\n"
              "\"3\",\"Pipes, fittings\",\"0.00\"\r\n",
              ReadFile(path));
    EXPECT_EQ("Service list saved as " + path, Posted());
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(1, gSave.calls);
    EXPECT_EQ(window, gSave.owner);
    EXPECT_EQ("serv.csv", gSave.file);
    EXPECT_EQ(std::string("CSV (*.csv)\0*.csv\0\0", 19), gSave.filter);
    EXPECT_EQ("Export List of Services to CSV file", gSave.title);
    EXPECT_EQ("csv", gSave.defExt);
    EXPECT_EQ((DWORD)(OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_PATHMUSTEXIST), gSave.flags);

    // Written again over the file: only what is enabled now; none is an empty file.
    ASSERT_EQ(1, QlDbDisableRow(1, "services", err)) << err;
    EXPECT_EQ(1, QlServExportCsv(main));
    EXPECT_EQ("\"3\",\"Pipes, fittings\",\"0.00\"\r\n", ReadFile(path));
    ASSERT_EQ(1, QlDbDisableRow(3, "services", err)) << err;
    EXPECT_EQ(1, QlServExportCsv(main));
    EXPECT_EQ("", ReadFile(path));
    EXPECT_EQ("Service list saved as " + path, Posted());
}

TEST_F(ServicesTest, AFailedExportSaysWhyAndReportsNoSuccess)
{
    AddService("Survey", 7, 50);
    AddService("Repair", 20, 0);
    const std::string path = folder + "\\services.csv";
    const std::string noFolder = folder + "\\missing\\services.csv";
    const struct {
        const char *name;
        std::string answer;
        int (*hook)(const char *);
        bool fileLimit;
        std::string message;
    } cases[] = {
        {"cancelled", "", NULL, false, ""},
        {"no such folder", noFolder, NULL, false, "Cannot open file " + noFolder},
        {"query refused", path, FailSelects, false, QL_DB_ERR_INJECTED},
        {"write refused", path, NULL, true, "Cannot write file " + path},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        messages.clear();
        gSaveAnswer = c.answer;
        QlDbExecHook = c.hook;
        // Files of this process may not grow past 16 bytes for the moment.
        int result;
        {
            std::unique_ptr<QlTestFileSizeLimit> limit;
            if (c.fileLimit) {
                limit.reset(new QlTestFileSizeLimit(16));
                if (!limit->ok()) {
                    QlDbExecHook = NULL;
                    continue;   // the platform cannot fill a disk
                }
            }
            result = QlServExportCsv(main);
        }
        QlDbExecHook = NULL;

        EXPECT_EQ(0, result);
        EXPECT_EQ("", Posted());
        if (c.message.empty()) {
            EXPECT_TRUE(messages.empty());
        } else {
            ASSERT_EQ(1u, messages.size());
            EXPECT_EQ("Error", messages[0].caption);
            EXPECT_EQ(c.message, messages[0].text);
        }
        EXPECT_EQ("(missing)", ReadFile(path)) << "no partial file is left";
        EXPECT_EQ(nullptr, QlServState.csv_stream);
    }
}
