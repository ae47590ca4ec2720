// Where the save dialogs open, and the full path of the file chosen.
#include "QlGTest.h"
#include "QlTestFiles.h"

#include "ui/QlAppState.h"
#include "ui/QlSaveDialog.h"
#include "ui/QlSeams.h"

#include <windows.h>
#include <string.h>
#include <string>
#include <vector>

namespace {

struct Asked {
    std::string initialDir, file, title, defExt;
    DWORD flags = 0;
};
std::vector<Asked> gAsked;
std::string gAnswer;   // "" cancels
std::string gWanderTo;   // a folder the "dialog" makes current, as one may

BOOL WINAPI AnswerSave(LPOPENFILENAMEA ofn)
{
    Asked a;
    a.initialDir = ofn->lpstrInitialDir ? ofn->lpstrInitialDir : "(null)";
    a.file = ofn->lpstrFile;
    a.title = ofn->lpstrTitle ? ofn->lpstrTitle : "";
    a.defExt = ofn->lpstrDefExt ? ofn->lpstrDefExt : "";
    a.flags = ofn->Flags;
    gAsked.push_back(a);
    if (!gWanderTo.empty()) SetCurrentDirectoryA(gWanderTo.c_str());
    if (gAnswer.empty()) return FALSE;
    lstrcpynA(ofn->lpstrFile, gAnswer.c_str(), ofn->nMaxFile);
    return TRUE;
}

bool Touch(const std::string &path)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    if (file == INVALID_HANDLE_VALUE) return false;
    CloseHandle(file);
    return true;
}

class SaveDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        strcpy(savedWorkDir_, QlWorkDir);
        GetCurrentDirectoryA(sizeof savedCurrent_, savedCurrent_);
        work = QlTestMakeFolder("qlsave");
        ASSERT_FALSE(work.empty());
        lstrcpynA(QlWorkDir, work.c_str(), sizeof QlWorkDir);
        SetCurrentDirectoryA(work.c_str());
        QlSeamGetSaveFileName = AnswerSave;
        QlSaveFoldersForget();
        gAsked.clear();
        gAnswer.clear();
        gWanderTo.clear();
    }
    void TearDown() override
    {
        QlSeamsReset();
        QlSaveFoldersForget();
        strcpy(QlWorkDir, savedWorkDir_);
        SetCurrentDirectoryA(savedCurrent_);
        QlTestRemoveFolder(work);
    }
    // One save dialog of the kind answered with answer; the path it gives.
    std::string Ask(int kind, const std::string &answer, const char *suggested = "INVOICE12.pdf")
    {
        gAnswer = answer;
        char path[MAX_PATH];
        strcpy(path, suggested);
        int chosen = QlAskSavePath(NULL, kind, path, sizeof path, "Save", "PDF\0*.pdf\0", "pdf", NULL);
        return chosen ? path : "(none)";
    }
    std::string Opened() const { return gAsked.empty() ? "" : gAsked.back().initialDir; }

    std::string work;

private:
    char savedWorkDir_[MAX_PATH];
    char savedCurrent_[MAX_PATH];
};

}  // namespace

TEST_F(SaveDialogTest, EachKindOpensWhereItsLastFileWentButNeverInABackup)
{
    const std::string out = work + "\\out", backup = work + "\\2025_03_01_101500";
    ASSERT_TRUE(CreateDirectoryA(out.c_str(), NULL));
    ASSERT_TRUE(CreateDirectoryA(backup.c_str(), NULL));
    ASSERT_TRUE(Touch(backup + "\\2025_03_01_101500.bak"));
    EXPECT_TRUE(QlIsBackupFolder(backup.c_str()));
    EXPECT_FALSE(QlIsBackupFolder(out.c_str()));

    // First in the working folder, with the suggested name, the overwrite
    // prompt and the extension; cancelled, nothing is remembered.
    EXPECT_EQ("(none)", Ask(QL_SAVE_PDF, ""));
    ASSERT_EQ(1u, gAsked.size());
    EXPECT_EQ(work, gAsked[0].initialDir);
    EXPECT_EQ("INVOICE12.pdf", gAsked[0].file);
    EXPECT_EQ("pdf", gAsked[0].defExt);
    EXPECT_TRUE(gAsked[0].flags & OFN_OVERWRITEPROMPT);
    EXPECT_TRUE(gAsked[0].flags & OFN_NOCHANGEDIR);

    // A file chosen in "out": the next PDF dialog opens there, a CSV one in
    // the working folder still.
    EXPECT_EQ(out + "\\a.pdf", Ask(QL_SAVE_PDF, out + "\\a.pdf"));
    Ask(QL_SAVE_PDF, "");
    EXPECT_EQ(out, Opened());
    Ask(QL_SAVE_CSV, "");
    EXPECT_EQ(work, Opened());

    // Saved into a backup folder: the PDF dialog keeps opening in "out".
    EXPECT_EQ(backup + "\\b.pdf", Ask(QL_SAVE_PDF, backup + "\\b.pdf"));
    Ask(QL_SAVE_PDF, "");
    EXPECT_EQ(out, Opened());

    // A folder that has become a backup, or has gone, is left for the working folder.
    Ask(QL_SAVE_CSV, out + "\\list.csv");
    ASSERT_TRUE(Touch(out + "\\2025_03_02_090000.bak"));
    Ask(QL_SAVE_CSV, "");
    EXPECT_EQ(work, Opened());
    DeleteFileA((out + "\\2025_03_02_090000.bak").c_str());
    ASSERT_TRUE(RemoveDirectoryA(out.c_str()));
    Ask(QL_SAVE_PDF, "");
    EXPECT_EQ(work, Opened());
}

TEST_F(SaveDialogTest, TheChosenFileComesBackWholeAndTheWorkingFolderCurrent)
{
    const std::string other = QlTestMakeFolder("qlsave");
    ASSERT_FALSE(other.empty());
    gWanderTo = other;
    // A bare name is in the working folder, wherever the dialog left the current folder.
    EXPECT_EQ(work + "\\cust.csv", Ask(QL_SAVE_CSV, "cust.csv", "cust.csv"));
    char current[MAX_PATH];
    GetCurrentDirectoryA(sizeof current, current);
    EXPECT_EQ(work, std::string(current));
    QlTestRemoveFolder(other);

    char full[MAX_PATH];
    QlFullPath("Statement.htm", full, sizeof full);
    EXPECT_EQ(work + "\\Statement.htm", std::string(full));
    QlFullPath("C:\\data\\x.pdf", full, sizeof full);
    EXPECT_STREQ("C:\\data\\x.pdf", full);
}
