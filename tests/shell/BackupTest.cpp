// Backup, restore and cleardown of the running company's data.
#include "QlGTest.h"
#include "ShellTestSupport.h"
#include "QlTestFiles.h"
#include "ui/UiTestSupport.h"

#include "ui/QlAppState.h"
#include "ui/QlLayout.h"
#include "ui/QlMsgDialog.h"
#include "ui/QlSeams.h"
#include "datastore/QlDbTables.h"
#include "resources/QlResIds.h"
#include "shell/QlBackup.h"
#include "shell/QlMainWindow.h"
#include "settings/QlSettings.h"
#include "docmodel/QlTransSums.h"

#include <windows.h>
#include <algorithm>
#include <ctype.h>
#include <string.h>
#include <string>
#include <vector>

namespace {

// System message boxes: recorded, and answered with the next of the
// answers queued (IDOK when none is).
std::vector<std::string> gBoxes;
std::vector<UINT> gBoxTypes;
std::vector<int> gBoxAnswers;
int WINAPI RecordBox(HWND, LPCSTR text, LPCSTR caption, UINT type)
{
    gBoxes.push_back(std::string(caption ? caption : "") + "|" + (text ? text : ""));
    gBoxTypes.push_back(type);
    if (gBoxAnswers.empty()) return IDOK;
    int answer = gBoxAnswers.front();
    gBoxAnswers.erase(gBoxAnswers.begin());
    return answer;
}

int __cdecl FirstValue(void *out, int count, char **values, char **)
{
    *(std::string *)out = count > 0 && values[0] ? values[0] : "<null>";
    return 0;
}

// The first column of the first row, through the program's connection.
std::string Scalar(const char *sql)
{
    std::string out = "<none>";
    char err[QL_DB_ERR_SIZE] = "";
    if (!QlDbExecRows(sql, FirstValue, &out, err)) return std::string("<error: ") + err + ">";
    return out;
}

std::vector<std::string> Subfolders(const std::string &folder)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
        std::string name = found.cFileName;
        if (name != "." && name != ".." && (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(name);
    } while (FindNextFileA(find, &found));
    FindClose(find);
    return names;
}

bool IsStamp(const std::string &name)
{
    static const char pattern[] = "9999_99_99_999999";
    if (name.size() != sizeof pattern - 1) return false;
    for (size_t i = 0; i < name.size(); i++)
        if (pattern[i] == '9' ? !isdigit((unsigned char)name[i]) : name[i] != pattern[i]) return false;
    return true;
}

std::string CurrentDir()
{
    char dir[MAX_PATH] = "";
    GetCurrentDirectoryA(sizeof dir, dir);
    return dir;
}

void AddCustomer(const char *acref, const char *company)
{
    QlCustRec rec = {};
    strcpy(rec.acref, acref);
    strcpy(rec.company, company);
    rec.balance_units = 12;
    rec.balance_hundredths = 34;
    char err[QL_DB_ERR_SIZE];
    ASSERT_EQ(1, QlCustAdd(&rec, err)) << err;
}

// An invoice of the customer with a line and a payment, and an order line.
void AddTransactions(int64_t customer)
{
    char err[QL_DB_ERR_SIZE];
    QlTransRec invoice = {};
    invoice.type = 1;
    invoice.cust_rowid = customer;
    strcpy(invoice.gross, "24.60");
    strcpy(invoice.gross_bal, "24.60");
    ASSERT_EQ(1, QlTransAdd(&invoice, err)) << err;
    QlItemRec line = {};
    line.tx_rowid = invoice.iKey;
    strcpy(line.descr, "Widgets");
    ASSERT_EQ(1, QlItemAdd(&line, err)) << err;
    QlTransRec payment = {};
    payment.type = 3;
    payment.cust_rowid = customer;
    ASSERT_EQ(1, QlTransAdd(&payment, err)) << err;
    QlPayRec pay = {};
    pay.tx_rowid = payment.iKey;
    pay.iv_rowid = invoice.iKey;
    strcpy(pay.paid, "4.60");
    ASSERT_EQ(1, QlPayAdd(&pay, err)) << err;
    QlOrderRec order = {};
    order.iTxRowId = invoice.iKey;
    strcpy(order.description, "Bolts");
    ASSERT_EQ(1, QlOrderAdd(&order, err)) << err;
}

// Holds a file open without sharing, so that no one else can read it.
class Locked {
public:
    explicit Locked(const std::string &path)
        : handle_(CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, NULL, OPEN_EXISTING, 0, NULL))
    {
    }
    ~Locked()
    {
        if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
    }
    Locked(const Locked &) = delete;
    Locked &operator=(const Locked &) = delete;
    bool held() const { return handle_ != INVALID_HANDLE_VALUE; }

private:
    HANDLE handle_;
};

class BackupTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        company_ = CompanySettings("Acme Widgets Ltd");
        main_ = StartMainWindow(company_);
        ASSERT_NE(nullptr, main_);
        destination_ = QlTestMakeFolder("qlbackup_");
        ASSERT_FALSE(destination_.empty());
        gBoxes.clear();
        gBoxTypes.clear();
        gBoxAnswers.clear();
        QlSeamMessageBox = RecordBox;
    }
    void TearDown() override
    {
        StopMainWindow();
        QlTestRemoveFolder(destination_);
    }

    // A backup into the destination; the new folder ("" when none was made).
    std::string Backup()
    {
        PickerAnswers pickers(destination_);
        std::vector<std::string> before = Subfolders(destination_);
        if (!QlBackupCreate(main_)) return "";
        for (const std::string &name : Subfolders(destination_))
            if (std::find(before.begin(), before.end(), name) == before.end()) return destination_ + "\\" + name;
        return "";
    }

    std::string DataFile() { return work_.path() + "\\COMP000\\quilry.db"; }

    ShellStateGuard state_;
    WorkFolder work_;
    QlSettingsRec company_;
    HWND main_ = NULL;
    std::string destination_;
};

}  // namespace

TEST_F(BackupTest, BackupCopiesTheDatabaseIntoAStampedFolder)
{
    AddCustomer("AC001", "Alpha");
    std::string folder = Backup();
    ASSERT_FALSE(folder.empty());
    std::string name = folder.substr(destination_.size() + 1);
    EXPECT_TRUE(IsStamp(name)) << name;
    EXPECT_EQ(ReadFileBytes(DataFile()), ReadFileBytes(folder + "\\quilry.db"));
    // The company's settings go with it, as the program holds them.
    std::string settings = ReadFileBytes(work_.path() + "\\COMP000\\cfg.dta");
    ASSERT_EQ(sizeof(QlSettingsRec), settings.size());
    EXPECT_EQ(0, memcmp(settings.data(), &QlSettings.cfg, sizeof(QlSettingsRec)));
    EXPECT_EQ(settings, ReadFileBytes(folder + "\\cfg.dta"));
    EXPECT_TRUE(FileExists(folder + "\\" + name + ".bak"));
    EXPECT_EQ("", ReadFileBytes(folder + "\\" + name + ".bak"));
    ASSERT_EQ(1u, gBoxes.size());
    EXPECT_EQ("Backup Completed|Backup Completed Successfully to\n" + folder, gBoxes[0]);
    EXPECT_EQ(QlWorkDir, CurrentDir());
    EXPECT_EQ("1", Scalar("select count(*) from customers;"));   // the database stays open
}

TEST_F(BackupTest, CancelledBackupMakesNothing)
{
    PickerAnswers pickers;   // no folder chosen
    EXPECT_EQ(0, QlBackupCreate(main_));
    EXPECT_EQ(1, pickers.folderAsks);
    EXPECT_EQ("Destination for backup data files", pickers.title);
    EXPECT_TRUE(Subfolders(destination_).empty());
    EXPECT_TRUE(gBoxes.empty());
    EXPECT_EQ(QlWorkDir, CurrentDir());
}

// The second backup of the same second finds its folder taken.
TEST_F(BackupTest, TwoBackupsInOneSecond)
{
    bool sameSecond = false;
    for (int attempt = 0; attempt < 20 && !sameSecond; attempt++) {
        // Start at the turn of a second: both backups then fall in it
        // unless the machine is very slow.
        SYSTEMTIME start, now;
        GetLocalTime(&start);
        do {
            Sleep(1);
            GetLocalTime(&now);
        } while (now.wSecond == start.wSecond);
        MsgAnswers answers;
        if (Backup().empty()) continue;    // the last attempt's second backup took this second
        if (!Backup().empty()) continue;   // the clock went on between them
        sameSecond = true;
        ASSERT_EQ(1u, answers.asked.size());
        EXPECT_EQ("BackUp Failed!", answers.asked[0].caption);
        EXPECT_EQ("Back Up Failed! Could not create backup directory.", answers.asked[0].text);
        EXPECT_EQ(QL_COLOUR_WARNING, answers.asked[0].colour);
        EXPECT_EQ(QlWorkDir, CurrentDir());
    }
    EXPECT_TRUE(sameSecond);
}

// A copy that fails is reported as a failure, and no backup is left behind.
TEST_F(BackupTest, FailedCopyLeavesNoBackup)
{
    Locked lock(DataFile());
    ASSERT_TRUE(lock.held());
    MsgAnswers answers;
    EXPECT_EQ("", Backup());
    EXPECT_TRUE(Subfolders(destination_).empty());
    ASSERT_EQ(1u, answers.asked.size());
    EXPECT_EQ("BackUp Failed!", answers.asked[0].caption);
    EXPECT_EQ("Back Up Failed! Could not copy the database file.", answers.asked[0].text);
    EXPECT_TRUE(gBoxes.empty());   // no success
    EXPECT_EQ(QlWorkDir, CurrentDir());
}

TEST_F(BackupTest, RestoreReplacesTheDataAndReopens)
{
    AddCustomer("AC001", "Alpha");
    std::string folder = Backup();
    ASSERT_FALSE(folder.empty());
    AddCustomer("BE002", "Beta");
    ASSERT_EQ("2", Scalar("select count(*) from customers;"));
    // The settings change after the backup too: the restore brings back
    // the backup's, into the file and into the running program.
    std::string savedSettings = ReadFileBytes(folder + "\\cfg.dta");
    strcpy(QlSettings.cfg.companyName, "Renamed Since");
    strcpy(QlSettings.cfg.rateTexts[1], "B - 21.00%");
    QlVatBuildRateList();
    ASSERT_EQ(1, QlCfgSave());
    QlModuleWnd = MakeModuleWindow(main_);

    // Any marker of the folder will do.
    ASSERT_TRUE(CopyFileA((folder + "\\" + folder.substr(destination_.size() + 1) + ".bak").c_str(),
                          (folder + "\\older.bak").c_str(), FALSE));
    PickerAnswers pickers("", folder + "\\older.bak");
    MsgAnswers answers({1});
    QlBackupRestore(main_);
    EXPECT_EQ(1, pickers.fileAsks);
    EXPECT_EQ("Select Backup File", pickers.title);
    EXPECT_EQ(work_.path() + "\\COMP000", pickers.initialDir);
    ASSERT_EQ(2u, answers.asked.size());
    EXPECT_EQ("Confirm Restore Operation", answers.asked[0].caption);
    EXPECT_EQ("Restore Complete!", answers.asked[1].caption);
    EXPECT_EQ("Restore Operation Completed Successfully!", answers.asked[1].text);
    EXPECT_EQ(QL_COLOUR_DONE, answers.asked[1].colour);

    EXPECT_TRUE(QlDbIsOpen());
    EXPECT_EQ("1", Scalar("select count(*) from customers;"));
    EXPECT_EQ("Alpha", Scalar("select company from customers;"));
    EXPECT_EQ(nullptr, QlModuleWnd);
    EXPECT_EQ(QlWorkDir, CurrentDir());
    EXPECT_FALSE(FileExists(work_.path() + "\\COMP000\\quilry.rst"));
    EXPECT_FALSE(FileExists(work_.path() + "\\COMP000\\cfg.rst"));
    EXPECT_EQ(savedSettings, ReadFileBytes(work_.path() + "\\COMP000\\cfg.dta"));
    EXPECT_STREQ("Acme Widgets Ltd", QlSettings.cfg.companyName);
    EXPECT_EQ(2000, QlSettings.rates[1]);
    EXPECT_EQ("Quillory 2.1.31 : Acme Widgets Ltd", WindowText(main_));
}

// A backup made before settings files were kept restores the database and
// leaves the settings as they are.
TEST_F(BackupTest, ABackupWithoutSettingsRestoresTheDatabaseAlone)
{
    AddCustomer("AC001", "Alpha");
    std::string folder = Backup();
    ASSERT_FALSE(folder.empty());
    ASSERT_TRUE(DeleteFileA((folder + "\\cfg.dta").c_str()));
    AddCustomer("BE002", "Beta");
    strcpy(QlSettings.cfg.companyName, "Renamed Since");
    ASSERT_EQ(1, QlCfgSave());
    std::string settings = ReadFileBytes(work_.path() + "\\COMP000\\cfg.dta");
    PickerAnswers pickers("", folder + "\\" + folder.substr(destination_.size() + 1) + ".bak");
    MsgAnswers answers({1});
    QlBackupRestore(main_);
    ASSERT_EQ(2u, answers.asked.size());
    EXPECT_EQ("Restore Complete!", answers.asked[1].caption);
    EXPECT_EQ("1", Scalar("select count(*) from customers;"));
    EXPECT_EQ(settings, ReadFileBytes(work_.path() + "\\COMP000\\cfg.dta"));
    EXPECT_STREQ("Renamed Since", QlSettings.cfg.companyName);
}

// A company whose data file is damaged has no data open; a backup restored
// into it brings the data back, with the main window's tool bar.
TEST_F(BackupTest, ARestoreIntoACompanyWithoutDataOpensIt)
{
    AddCustomer("AC001", "Alpha");
    std::string folder = Backup();
    ASSERT_FALSE(folder.empty());
    QlCompanyDbClose();
    DestroyWindow(QlMainToolbarWnd);
    QlMainToolbarWnd = NULL;
    {
        HANDLE file = CreateFileA(DataFile().c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
        DWORD written = 0;
        WriteFile(file, std::string(2048, 'z').data(), 2048, &written, NULL);
        CloseHandle(file);
    }
    char err[QL_DB_ERR_SIZE];
    ASSERT_EQ(0, QlCompanyDbOpen(err));
    PickerAnswers pickers("", folder + "\\" + folder.substr(destination_.size() + 1) + ".bak");
    MsgAnswers answers({1});
    QlBackupRestore(main_);
    ASSERT_EQ(2u, answers.asked.size());
    EXPECT_EQ("Restore Complete!", answers.asked[1].caption);
    EXPECT_TRUE(QlDbIsOpen());
    EXPECT_EQ("Alpha", Scalar("select company from customers;"));
    EXPECT_NE(nullptr, QlMainToolbarWnd);
}

// Every way a restore can stop: the data stay as they were, the database
// open, the working folder current, and no success is reported.
TEST_F(BackupTest, RestoreRefusalsKeepTheData)
{
    AddCustomer("AC001", "Alpha");
    std::string folder = Backup();
    ASSERT_FALSE(folder.empty());
    AddCustomer("BE002", "Beta");
    std::string marker = folder + "\\" + folder.substr(destination_.size() + 1) + ".bak";
    std::string empty = QlTestMakeFolder("qlnobackup_");
    ASSERT_TRUE(CopyFileA(marker.c_str(), (empty + "\\lonely.bak").c_str(), FALSE));

    struct Case {
        const char *name;
        std::string file;          // "" cancels the picker
        std::vector<int> answers;  // to the confirmation
        bool lockBackup;
        std::vector<std::string> said;   // captions of what the user is told after confirming
    };
    const Case cases[] = {
        {"picker cancelled", "", {}, false, {}},
        {"confirmation cancelled", marker, {0}, false, {}},
        {"no database in the folder", empty + "\\lonely.bak", {1}, false, {"Restore Failed!"}},
        {"copy fails", marker, {1}, true, {"Restore Failed!"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        PickerAnswers pickers("", c.file);
        MsgAnswers answers(c.answers);
        {
            Locked lock(c.lockBackup ? folder + "\\quilry.db" : std::string());
            ASSERT_EQ(c.lockBackup, lock.held());
            QlBackupRestore(main_);
        }
        std::vector<std::string> said;
        for (size_t i = c.file.empty() ? 0 : 1; i < answers.asked.size(); i++) said.push_back(answers.asked[i].caption);
        EXPECT_EQ(c.said, said);
        EXPECT_TRUE(QlDbIsOpen());
        EXPECT_EQ("2", Scalar("select count(*) from customers;"));
        EXPECT_EQ(QlWorkDir, CurrentDir());
    }
    QlTestRemoveFolder(empty);
}

// The company's settings file held open without sharing, so that the
// backup's cannot replace it: the backup's database does not stay either,
// and the message says that the company's files are the ones it had.
TEST_F(BackupTest, ASettingsFileThatCannotBeReplacedKeepsTheCompanysDatabase)
{
    AddCustomer("AC001", "Alpha");
    std::string folder = Backup();
    ASSERT_FALSE(folder.empty());
    AddCustomer("BE002", "Beta");
    strcpy(QlSettings.cfg.companyName, "Renamed Since");
    ASSERT_EQ(1, QlCfgSave());
    const std::string settingsFile = work_.path() + "\\COMP000\\cfg.dta";
    const std::string settings = ReadFileBytes(settingsFile);
    PickerAnswers pickers("", folder + "\\" + folder.substr(destination_.size() + 1) + ".bak");
    MsgAnswers answers({1});
    {
        Locked lock(settingsFile);
        ASSERT_TRUE(lock.held());
        QlBackupRestore(main_);
    }
    ASSERT_EQ(2u, answers.asked.size());
    EXPECT_EQ("Restore Failed!", answers.asked[1].caption);
    EXPECT_EQ("Restore Failed! The backup's settings file could not replace " + settingsFile +
                  ", so the backup's database was taken out again: the company's database and settings file are the "
                  "ones it had before.",
              answers.asked[1].text);
    EXPECT_TRUE(QlDbIsOpen());
    EXPECT_EQ("2", Scalar("select count(*) from customers;"));
    EXPECT_EQ(settings, ReadFileBytes(settingsFile));
    EXPECT_STREQ("Renamed Since", QlSettings.cfg.companyName);
    EXPECT_EQ(QlWorkDir, CurrentDir());
    for (const char *left : {"quilry.rst", "cfg.rst", "quilry.old"})
        EXPECT_FALSE(FileExists(work_.path() + "\\COMP000\\" + left)) << left;

    // Let go, the same restore puts both in place.
    MsgAnswers again({1});
    QlBackupRestore(main_);
    ASSERT_EQ(2u, again.asked.size());
    EXPECT_EQ("Restore Complete!", again.asked[1].caption);
    EXPECT_EQ("1", Scalar("select count(*) from customers;"));
    EXPECT_STREQ("Acme Widgets Ltd", QlSettings.cfg.companyName);
    EXPECT_FALSE(FileExists(work_.path() + "\\COMP000\\quilry.old"));
}

TEST_F(BackupTest, CleardownEmptiesTheTransactionsAndBalances)
{
    AddCustomer("AC001", "Alpha");
    AddCustomer("BE002", "Beta");
    AddTransactions(1);
    ASSERT_EQ("2", Scalar("select count from transcount;"));
    QlModuleWnd = MakeModuleWindow(main_);

    MsgAnswers answers({1});   // clear,
    gBoxAnswers = {IDNO};      // without a backup
    QlTransCleardown(main_);
    ASSERT_EQ(2u, answers.asked.size());
    EXPECT_EQ("You are about to clear all transactions! Proceed with cleardown?", answers.asked[0].text);
    ASSERT_EQ(1u, gBoxes.size());
    EXPECT_EQ("Cleardown Transactions|Would you like to backup data before cleardown?", gBoxes[0]);
    EXPECT_EQ((UINT)MB_YESNOCANCEL, gBoxTypes[0] & MB_TYPEMASK);
    EXPECT_EQ(IDD_MSG_BOX_LARGE, answers.asked[1].dialogId);
    EXPECT_EQ("Transaction Cleardown Complete", answers.asked[1].caption);
    EXPECT_EQ(QL_COLOUR_DONE, answers.asked[1].colour);

    for (const char *table : {"orders", "trans", "invoices", "payments"})
        EXPECT_EQ("0", Scalar(("select count(*) from " + std::string(table) + ";").c_str())) << table;
    EXPECT_EQ("0", Scalar("select count from transcount;"));
    EXPECT_EQ("2", Scalar("select count(*) from customers;"));
    EXPECT_EQ("0", Scalar("select count(*) from customers where balance<>'0.00';"));
    QlCustRec alpha = {};
    alpha.iKey = 1;
    int64_t units = -1;
    int cents = -1;
    ASSERT_EQ(1, QlTransSumCustBalance(&units, &cents, &alpha));
    EXPECT_EQ(0, units);
    EXPECT_EQ(0, cents);
    EXPECT_EQ(nullptr, QlModuleWnd);
    EXPECT_EQ(QlWorkDir, CurrentDir());
}

// The backup question is Yes / No / Cancel: Yes backs up first (and clears
// only when the backup was made), No clears without a backup, Cancel clears
// nothing; so does cancelling the cleardown itself.
TEST_F(BackupTest, CleardownAsksYesNoOrCancelAboutTheBackup)
{
    AddCustomer("AC001", "Alpha");
    struct Case {
        const char *name;
        int confirm;          // the first question
        int backup;           // the Yes / No / Cancel answer
        std::string folder;   // the backup's destination, "" cancels
        bool cleared;
        size_t backups;       // backup folders made
    };
    const Case cases[] = {
        {"cleardown cancelled", 0, IDYES, destination_, false, 0},
        {"backup question cancelled", 1, IDCANCEL, destination_, false, 0},
        {"backup folder cancelled", 1, IDYES, "", false, 0},
        {"backed up first", 1, IDYES, destination_, true, 1},
        {"cleared without a backup", 1, IDNO, destination_, true, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        char err[QL_DB_ERR_SIZE];
        ASSERT_EQ(1, QlDbExec("delete from trans; delete from invoices; delete from orders; delete from payments;", err));
        AddTransactions(1);
        size_t before = Subfolders(destination_).size();
        MsgAnswers answers({c.confirm});
        PickerAnswers pickers(c.folder);
        gBoxes.clear();
        gBoxAnswers = {c.backup};
        QlTransCleardown(main_);
        ASSERT_EQ((c.confirm ? 1u : 0u) + c.backups, gBoxes.size());   // the question, and a backup's report
        if (c.confirm) EXPECT_EQ("Cleardown Transactions|Would you like to backup data before cleardown?", gBoxes[0]);
        EXPECT_EQ(c.cleared ? "0" : "2", Scalar("select count(*) from trans;"));
        EXPECT_EQ(c.cleared ? "0" : "1", Scalar("select count(*) from invoices;"));
        EXPECT_EQ(c.backups, Subfolders(destination_).size() - before);
        EXPECT_EQ(QlWorkDir, CurrentDir());
    }
}

// A cleardown that fails half way clears nothing and says so.
TEST_F(BackupTest, FailedCleardownClearsNothing)
{
    AddCustomer("AC001", "Alpha");
    AddTransactions(1);
    char err[QL_DB_ERR_SIZE];
    ASSERT_EQ(1, QlDbExec("drop table payments;", err)) << err;
    MsgAnswers answers({1});
    gBoxAnswers = {IDNO};
    QlTransCleardown(main_);
    ASSERT_EQ(2u, answers.asked.size());
    EXPECT_EQ("Transaction Cleardown Failed", answers.asked[1].caption);
    EXPECT_EQ(0u, answers.asked[1].text.find("Transaction cleardown failed; no transaction was cleared.\n"));
    EXPECT_EQ(QL_COLOUR_WARNING, answers.asked[1].colour);
    EXPECT_EQ("1", Scalar("select count(*) from orders;"));
    EXPECT_EQ("2", Scalar("select count(*) from trans;"));
    EXPECT_EQ("2", Scalar("select count from transcount;"));
    EXPECT_EQ("12.34", Scalar("select balance from customers;"));
}

// Exit with the backup question on, Yes / No / Cancel: Yes backs up before
// the program ends (a backup not made keeps it running), No ends it without
// a backup, Cancel returns to the program.
TEST_F(BackupTest, ExitAsksYesNoOrCancelAboutTheBackup)
{
    QlSettings.cfg.backupOnExit = 1;
    struct Case {
        const char *name;
        int answer;
        std::string folder;
        bool ends;
        size_t backups;
    };
    const Case cases[] = {
        {"cancel", IDCANCEL, destination_, false, 0},
        {"yes, folder cancelled", IDYES, "", false, 0},
        {"no", IDNO, destination_, true, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        PickerAnswers pickers(c.folder);
        gBoxes.clear();
        gBoxAnswers = {c.answer};
        SendMessageA(main_, WM_COMMAND, IDM_FILE_EXIT, 0);
        PumpMessages();
        ASSERT_FALSE(gBoxes.empty());
        EXPECT_EQ("Backup confirmation|Would you like to backup data before exit?", gBoxes[0]);
        EXPECT_EQ((UINT)MB_YESNOCANCEL, gBoxTypes.back() & MB_TYPEMASK);
        EXPECT_EQ(c.ends, !IsWindow(main_));
        EXPECT_EQ(c.backups, Subfolders(destination_).size());
        if (!IsWindow(main_)) break;
    }
    ASSERT_FALSE(IsWindow(main_));
    main_ = StartMainWindow(company_);
    ASSERT_NE(nullptr, main_);
    QlSettings.cfg.backupOnExit = 1;
    PickerAnswers pickers(destination_);
    gBoxAnswers = {IDYES};
    SendMessageA(main_, WM_COMMAND, IDM_FILE_EXIT, 0);
    PumpMessages();
    EXPECT_FALSE(IsWindow(main_));
    EXPECT_EQ(1u, Subfolders(destination_).size());
}
