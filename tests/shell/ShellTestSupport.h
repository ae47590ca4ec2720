// What the shell's tests share: a working folder of their own with company
// folders and mconf.bin written by hand, the program-wide state put back
// afterwards, answers for the program's message dialogs, and a stand-in
// module window that counts what the main window sends it.
#pragma once

#include "shell/QlCompanyManager.h"
#include "settings/QlSettings.h"

#include <windows.h>
#include <string>
#include <vector>

// A new temp folder made the current directory and the working folder
// (QlWorkDir); the old directory comes back and the folder is removed with
// everything in it when the object goes.
class WorkFolder {
public:
    WorkFolder();
    ~WorkFolder();
    WorkFolder(const WorkFolder &) = delete;
    WorkFolder &operator=(const WorkFolder &) = delete;
    const std::string &path() const { return path_; }
    // Copies the flag pictures of resources/images into ".\images".
    bool copyImages() const;

private:
    std::string path_;
    char oldDir_[MAX_PATH];
    char oldWorkDir_[MAX_PATH];
};

// Saves the settings block, the company table, mconf.bin's record, the main
// window's command table and the tax texts, and puts them back; the tables
// that a language writes get English again.
class ShellStateGuard {
public:
    ShellStateGuard();
    ~ShellStateGuard();
    ShellStateGuard(const ShellStateGuard &) = delete;
    ShellStateGuard &operator=(const ShellStateGuard &) = delete;

private:
    QlSettingsBlock settings_;
    QlCompanyTable companies_;
    QlMconfRec mconf_;
    std::vector<char> commands_;
    char servHeadings_[QL_SERV_HEADING_COUNT][QL_HEADING_WIDTH];
    char prodHeadings_[QL_PROD_HEADING_COUNT][QL_HEADING_WIDTH];
    char taxLabel_[20];
    char rateTexts_[QL_RATE_COUNT][QL_RATE_TEXT_WIDTH];
};

// A company's settings as a new company gets them, with a first address line
// and the backup question off (so that closing asks nothing).
QlSettingsRec CompanySettings(const char *name, int language = 0, int country = 0);
// Writes "COMP%03u\cfg.dta" (the folder is made); bytes < 0 writes the whole record.
bool WriteCompany(int number, const QlSettingsRec &rec, int bytes = -1);
bool WriteMconf(int language, int country, int company);
bool ReadMconf(QlMconfRec *rec);
// The whole file, "" when it cannot be read.
std::string ReadFileBytes(const std::string &path);
bool FileExists(const std::string &path);
bool FolderExists(const std::string &path);
QlSettingsRec ReadCompany(int number);

// The main window started on company 0 of the working folder, written from
// company (the About box that the start shows is closed); NULL when it did
// not start.  StopMainWindow destroys it and releases what it held.
HWND StartMainWindow(const QlSettingsRec &company);
void StopMainWindow(void);

// The program's message dialogs answered without showing them: each request
// is recorded, and answered with the next of the answers given (1 when they
// are used up).
struct MsgRecord {
    int dialogId;
    std::string caption;
    std::string text;
    COLORREF colour;
};
class MsgAnswers {
public:
    explicit MsgAnswers(std::vector<int> answers = {});
    ~MsgAnswers();
    MsgAnswers(const MsgAnswers &) = delete;
    MsgAnswers &operator=(const MsgAnswers &) = delete;
    std::vector<MsgRecord> asked;
    std::vector<int> answers;
};

// The folder and file pickers answered without showing them: each request is
// counted and answered with the folder or file given here ("" cancels).
class PickerAnswers {
public:
    explicit PickerAnswers(std::string folder = "", std::string file = "");
    ~PickerAnswers();
    PickerAnswers(const PickerAnswers &) = delete;
    PickerAnswers &operator=(const PickerAnswers &) = delete;
    std::string folder;
    std::string file;
    int folderAsks = 0;
    int fileAsks = 0;
    std::string title;        // of the last request
    std::string initialDir;   // of the last file request
};

// A child window standing in for a module window: it counts the messages
// the main window sends or posts to it.
struct ModuleLog {
    int maximized;   // WM_USER+10
    int restored;    // WM_USER+11
    int closing;     // WM_USER+14
};
extern ModuleLog gModuleLog;
HWND MakeModuleWindow(HWND mainWindow);

// Runs this thread's messages until done() or the time is up; done()'s result.
template <typename F>
bool PumpUntil(F done, int milliseconds = 5000);

// Pumps messages for the given time.
void PumpFor(int milliseconds);

// --- template definition
void PumpMessages(void);
template <typename F>
bool PumpUntil(F done, int milliseconds)
{
    DWORD start = GetTickCount();
    while (!done()) {
        if ((int)(GetTickCount() - start) > milliseconds) return false;
        PumpMessages();
        Sleep(5);
    }
    return true;
}
