// Files written whole or not at all (temporary name, then moved into place)
// and the program's own temporary folders.
#include "QlGTest.h"
#include "QlTestFiles.h"

#include "core/QlTempFile.h"

#include <windows.h>
#include <string.h>
#include <string>
#include <vector>

namespace {

bool Write(const std::string &path, const std::string &bytes)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    BOOL ok = WriteFile(file, bytes.data(), (DWORD)bytes.size(), &written, NULL);
    CloseHandle(file);
    return ok && written == bytes.size();
}

std::string Read(const std::string &path)
{
    std::string bytes;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    if (file == INVALID_HANDLE_VALUE) return "(none)";
    char buffer[256];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, NULL) && got > 0) bytes.append(buffer, got);
    CloseHandle(file);
    return bytes;
}

bool Exists(const std::string &path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::vector<std::string> Names(const std::string &folder)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do
        if (strcmp(found.cFileName, ".") && strcmp(found.cFileName, "..")) names.push_back(found.cFileName);
    while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

class TempFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir = QlTestMakeFolder("qltemp");
        ASSERT_FALSE(dir.empty());
    }
    void TearDown() override { QlTestRemoveFolder(dir); }
    std::string dir;
};

}  // namespace

TEST_F(TempFileTest, AFileIsReplacedWholeOrLeftAsItWas)
{
    const std::string target = dir + "\\invoice.pdf";
    ASSERT_TRUE(Write(target, "old"));
    char temp[MAX_PATH];

    // Replaced: the temporary file sits beside the target until the move.
    ASSERT_EQ(1, QlFileBegin(target.c_str(), temp, sizeof temp));
    EXPECT_EQ(0, strncmp(temp, (dir + "\\").c_str(), dir.size() + 1)) << temp;
    ASSERT_TRUE(Write(temp, "new"));
    EXPECT_EQ("old", Read(target));
    EXPECT_EQ(QL_FILE_DONE, QlFileCommit(temp, target.c_str()));
    EXPECT_EQ("new", Read(target));

    // Held without sharing (an attachment being sent): left as it was.
    HANDLE reader = CreateFileA(target.c_str(), GENERIC_READ, 0, NULL, OPEN_EXISTING, 0, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, reader);
    ASSERT_EQ(1, QlFileBegin(target.c_str(), temp, sizeof temp));
    ASSERT_TRUE(Write(temp, "newer"));
    EXPECT_EQ(QL_FILE_IN_USE, QlFileCommit(temp, target.c_str()));
    CloseHandle(reader);
    EXPECT_EQ("new", Read(target));

    // Abandoned: nothing changes.
    ASSERT_EQ(1, QlFileBegin(target.c_str(), temp, sizeof temp));
    QlFileAbandon(temp);
    EXPECT_EQ(std::vector<std::string>{"invoice.pdf"}, Names(dir)) << "no temporary file is left";

    // A folder that is not there: nothing can begin.
    EXPECT_EQ(0, QlFileBegin((dir + "\\missing\\x.pdf").c_str(), temp, sizeof temp));
    // A target that is a folder: failed, the temporary file gone.
    CreateDirectoryA((dir + "\\sub").c_str(), NULL);
    ASSERT_EQ(1, QlFileBegin((dir + "\\sub").c_str(), temp, sizeof temp));
    EXPECT_EQ(QL_FILE_FAILED, QlFileCommit(temp, (dir + "\\sub").c_str()));
    EXPECT_EQ(2u, Names(dir).size());
}

// Temporary names are new empty files that never take an existing name, and a
// finished file moves to a name that was not there yet; a target given
// relative to the current folder (the default document names) lands there.
TEST_F(TempFileTest, TemporaryNamesAreNewFilesAndMoveToNewNames)
{
    const std::string target = dir + "\\INVOICE7.pdf";
    char first[MAX_PATH], second[MAX_PATH];
    ASSERT_EQ(1, QlFileBegin(target.c_str(), first, sizeof first));
    ASSERT_EQ(1, QlFileBegin(target.c_str(), second, sizeof second));
    EXPECT_STRNE(first, second);
    const char *name = strrchr(first, '\\') + 1;
    EXPECT_EQ(0, strncmp(name, "qlw", 3)) << first;
    EXPECT_STREQ(".tmp", name + strlen(name) - 4) << first;
    EXPECT_EQ("", Read(first));
    EXPECT_EQ("", Read(second));

    ASSERT_TRUE(Write(first, "whole"));
    EXPECT_EQ(QL_FILE_DONE, QlFileCommit(first, target.c_str()));
    EXPECT_EQ("whole", Read(target));
    EXPECT_FALSE(Exists(first));
    QlFileAbandon(second);

    char saved[MAX_PATH];
    ASSERT_TRUE(GetCurrentDirectoryA(sizeof saved, saved));
    ASSERT_TRUE(SetCurrentDirectoryA(dir.c_str()));
    char temp[MAX_PATH];
    const int begun = QlFileBegin("QUOTE3.pdf", temp, sizeof temp);
    const int written = begun && Write(temp, "here");
    const int committed = begun ? QlFileCommit(temp, "QUOTE3.pdf") : 0;
    SetCurrentDirectoryA(saved);
    EXPECT_EQ(1, begun);
    EXPECT_TRUE(written);
    EXPECT_EQ(QL_FILE_DONE, committed);
    EXPECT_EQ("here", Read(dir + "\\QUOTE3.pdf"));
    EXPECT_EQ(2u, Names(dir).size());
}

TEST_F(TempFileTest, TemporaryFoldersOfTheProgramOnly)
{
    char a[MAX_PATH], b[MAX_PATH];
    ASSERT_EQ(1, QlTempFolderMake(a, sizeof a));
    ASSERT_EQ(1, QlTempFolderMake(b, sizeof b));
    EXPECT_STRNE(a, b);
    EXPECT_NE(nullptr, strstr(a, "\\Quillory\\")) << a;
    ASSERT_TRUE(Write(std::string(a) + "\\INVOICE1.pdf", "pdf"));

    char folder[MAX_PATH];
    EXPECT_EQ(1, QlTempFolderOf((std::string(a) + "\\INVOICE1.pdf").c_str(), folder, sizeof folder));
    EXPECT_STREQ(a, folder);
    EXPECT_EQ(0, QlTempFolderOf((dir + "\\INVOICE1.pdf").c_str(), folder, sizeof folder));
    EXPECT_EQ(0, QlTempFolderOf("INVOICE1.pdf", folder, sizeof folder));
    EXPECT_EQ(0, QlTempFolderOf((std::string(a) + "\\sub\\x.pdf").c_str(), folder, sizeof folder));
    EXPECT_EQ(0, QlTempFolderOf(NULL, folder, sizeof folder));

    // Nothing outside the program's own folder is ever removed.
    ASSERT_TRUE(Write(dir + "\\keep.txt", "mine"));
    EXPECT_EQ(0, QlTempFolderRemove(dir.c_str()));
    EXPECT_EQ(0, QlTempFolderRemove((std::string(a) + "\\..\\..").c_str()));
    EXPECT_EQ("mine", Read(dir + "\\keep.txt"));
    EXPECT_EQ(1, QlTempFolderRemove(a));
    EXPECT_FALSE(Exists(a));

    // What an ended process left behind goes when the next folder is made;
    // a running process's folder stays.
    std::string root = std::string(b).substr(0, strrchr(b, '\\') - b);
    std::string stale = root + "\\999999-1";
    CreateDirectoryA(stale.c_str(), NULL);
    ASSERT_TRUE(Write(stale + "\\INVOICE9.pdf", "left"));
    char c[MAX_PATH];
    ASSERT_EQ(1, QlTempFolderMake(c, sizeof c));
    EXPECT_FALSE(Exists(stale));
    EXPECT_TRUE(Exists(b));
    EXPECT_EQ(1, QlTempFolderRemove(b));
    EXPECT_EQ(1, QlTempFolderRemove(c));
}
