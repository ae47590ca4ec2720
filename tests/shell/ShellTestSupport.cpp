#include "QlGTest.h"
#include "ShellTestSupport.h"
#include "QlTestFiles.h"
#include "QlTestPlatform.h"

#include "ui/QlAppState.h"
#include "ui/QlMsgDialog.h"
#include "ui/QlSeams.h"
#include "ui/QlWideFileDialog.h"
#include "shell/QlLangApply.h"
#include "settings/QlLangTables.h"
#include "shell/QlMain.h"
#include "shell/QlMainWindow.h"
#include "shell/QlPanels.h"
#include "ui/QlLayout.h"
#include "print/QlPicture.h"
#include "ui/UiTestSupport.h"
#include "resources/QlResIds.h"

#include <shlobj.h>
#include <stdlib.h>
#include <string.h>

WorkFolder::WorkFolder()
{
    static unsigned serial;
    GetCurrentDirectoryA(sizeof oldDir_, oldDir_);
    memcpy(oldWorkDir_, QlWorkDir, sizeof oldWorkDir_);
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    for (;;) {
        std::string folder = std::string(temp) + "qlshell_" + std::to_string(GetCurrentProcessId()) + "_" +
                             std::to_string(++serial);
        if (CreateDirectoryA(folder.c_str(), NULL)) {
            path_ = folder;
            break;
        }
        if (GetLastError() != ERROR_ALREADY_EXISTS) break;
    }
    EXPECT_FALSE(path_.empty());
    SetCurrentDirectoryA(path_.c_str());
    GetCurrentDirectoryA(sizeof QlWorkDir, QlWorkDir);
}

WorkFolder::~WorkFolder()
{
    SetCurrentDirectoryA(oldDir_);
    memcpy(QlWorkDir, oldWorkDir_, sizeof QlWorkDir);
    if (!path_.empty()) QlTestRemoveFolder(path_);
}

bool WorkFolder::copyImages() const
{
    const char *source = getenv("QL_SOURCE_DIR");
    if (!source) return false;
    std::string images = QlTestWindowsPath(std::string(source) + "/resources/images");
    std::string target = path_ + "\\images";
    CreateDirectoryA(target.c_str(), NULL);
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA((images + "\\*.bmp").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return false;
    bool ok = true;
    do {
        ok = CopyFileA((images + "\\" + found.cFileName).c_str(), (target + "\\" + found.cFileName).c_str(), FALSE) &&
             ok;
    } while (FindNextFileA(find, &found));
    FindClose(find);
    return ok;
}

ShellStateGuard::ShellStateGuard()
    : settings_(QlSettings), companies_(QlCompanies), mconf_(QlMconf),
      commands_((const char *)QlMainCommandTable, (const char *)QlMainCommandTable + sizeof QlMainCommandTable)
{
    memcpy(servHeadings_, QlServLineHeadings, sizeof servHeadings_);
    memcpy(prodHeadings_, QlProdLineHeadings, sizeof prodHeadings_);
    memcpy(taxLabel_, QlTaxLabel, sizeof taxLabel_);
    memcpy(rateTexts_, QlRateTextList, sizeof rateTexts_);
}

ShellStateGuard::~ShellStateGuard()
{
    QlLangApply(QL_LANG_ENGLISH, 0, 0);
    QlSettings = settings_;
    QlCompanies = companies_;
    QlMconf = mconf_;
    memcpy(QlMainCommandTable, commands_.data(), sizeof QlMainCommandTable);
    memcpy(QlServLineHeadings, servHeadings_, sizeof servHeadings_);
    memcpy(QlProdLineHeadings, prodHeadings_, sizeof prodHeadings_);
    memcpy(QlTaxLabel, taxLabel_, sizeof taxLabel_);
    memcpy(QlRateTextList, rateTexts_, sizeof rateTexts_);
}

QlSettingsRec CompanySettings(const char *name, int language, int country)
{
    QlSettingsRec rec;
    QlCompanyPrepareSettings(&rec, name, language, country);
    strcpy(rec.address1, "1 High Street");
    rec.backupOnExit = 0;
    return rec;
}

bool WriteCompany(int number, const QlSettingsRec &rec, int bytes)
{
    char folder[16], path[32];
    snprintf(folder, sizeof folder, "COMP%03d", number);
    snprintf(path, sizeof path, "%s\\cfg.dta", folder);
    CreateDirectoryA(folder, NULL);
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD size = bytes < 0 ? (DWORD)sizeof rec : (DWORD)bytes, written = 0;
    BOOL ok = WriteFile(file, &rec, size, &written, NULL) && written == size;
    CloseHandle(file);
    // An empty data file beside it, as a company the program creates has
    // (one already there is kept).
    char data[32];
    snprintf(data, sizeof data, "%s\\quilry.db", folder);
    HANDLE db = CreateFileA(data, GENERIC_WRITE, 0, NULL, CREATE_NEW, 0, NULL);
    if (db != INVALID_HANDLE_VALUE) CloseHandle(db);
    return ok;
}

bool WriteMconf(int language, int country, int company)
{
    QlMconfRec rec = {language, country, company};
    HANDLE file = CreateFileA(QL_MCONF_FILE, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    BOOL ok = WriteFile(file, &rec, sizeof rec, &written, NULL) && written == sizeof rec;
    CloseHandle(file);
    return ok;
}

std::string ReadFileBytes(const std::string &path)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_EXISTING, 0,
                              NULL);
    if (file == INVALID_HANDLE_VALUE) return "";
    std::string bytes;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, NULL) && got > 0) bytes.append(buffer, got);
    CloseHandle(file);
    return bytes;
}

bool ReadMconf(QlMconfRec *rec)
{
    std::string bytes = ReadFileBytes(QL_MCONF_FILE);
    if (bytes.size() != sizeof *rec) return false;
    memcpy(rec, bytes.data(), sizeof *rec);
    return true;
}

bool FileExists(const std::string &path)
{
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool FolderExists(const std::string &path)
{
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

QlSettingsRec ReadCompany(int number)
{
    QlSettingsRec rec;
    memset(&rec, 0, sizeof rec);
    char path[32];
    snprintf(path, sizeof path, "COMP%03d\\cfg.dta", number);
    std::string bytes = ReadFileBytes(path);
    memcpy(&rec, bytes.data(), bytes.size() < sizeof rec ? bytes.size() : sizeof rec);
    return rec;
}

HWND StartMainWindow(const QlSettingsRec &company)
{
    if (!QlPictureLibLoad() || !WriteCompany(0, company) || !WriteMconf(0, 0, 0)) return NULL;
    DialogDriver driver({[](HWND about) { ClickButton(about, IDB_ABOUT_CLOSE); }});
    HWND window = QlMainStart(GetModuleHandleA(NULL), SW_SHOWNORMAL);
    PumpMessages();   // the start-up message: the whole start runs here
    return window && IsWindow(window) && QlMainToolbarWnd ? window : NULL;
}

void StopMainWindow(void)
{
    if (QlMainWnd) DestroyWindow(QlMainWnd);
    PumpMessages();
    QlLangFreeFlag();
    QlSeamsReset();
}

static MsgAnswers *gAnswers;

static INT_PTR AnswerMessage(HWND owner, QlMsgRequest *request)
{
    if (!gAnswers) return 1;
    gAnswers->asked.push_back({request->dialogId, request->caption ? request->caption : "",
                               request->text ? request->text : "", request->colour});
    if (gAnswers->answers.empty()) return 1;
    int answer = gAnswers->answers.front();
    gAnswers->answers.erase(gAnswers->answers.begin());
    return answer;
}

MsgAnswers::MsgAnswers(std::vector<int> answers) : answers(std::move(answers))
{
    gAnswers = this;
    QlSeamMsgDialog = AnswerMessage;
}

MsgAnswers::~MsgAnswers()
{
    QlSeamMsgDialog = QlMsgDialogRun;
    gAnswers = nullptr;
}

static PickerAnswers *gPickers;

static LPITEMIDLIST WINAPI AnswerFolder(LPBROWSEINFOA info)
{
    if (!gPickers) return NULL;
    gPickers->folderAsks++;
    gPickers->title = info && info->lpszTitle ? info->lpszTitle : "";
    if (gPickers->folder.empty()) return NULL;
    return ILCreateFromPathA(gPickers->folder.c_str());
}

static BOOL WINAPI AnswerFile(LPOPENFILENAMEA ofn)
{
    if (!gPickers) return FALSE;
    gPickers->fileAsks++;
    gPickers->title = ofn->lpstrTitle ? ofn->lpstrTitle : "";
    gPickers->initialDir = ofn->lpstrInitialDir ? ofn->lpstrInitialDir : "";
    if (gPickers->file.empty() || gPickers->file.size() >= ofn->nMaxFile) return FALSE;
    memcpy(ofn->lpstrFile, gPickers->file.c_str(), gPickers->file.size() + 1);
    return TRUE;
}

PickerAnswers::PickerAnswers(std::string folder, std::string file) : folder(std::move(folder)), file(std::move(file))
{
    gPickers = this;
    QlSeamBrowseForFolder = AnswerFolder;
    QlSeamGetOpenFileName = AnswerFile;
}

PickerAnswers::~PickerAnswers()
{
    QlSeamBrowseForFolder = SHBrowseForFolderA;
    QlSeamGetOpenFileName = QlGetOpenFileNameWide;
    gPickers = nullptr;
}

ModuleLog gModuleLog;

static LRESULT CALLBACK ModuleProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case QL_WM_MAIN_MAXIMIZED:
        gModuleLog.maximized++;
        return 0;
    case QL_WM_MAIN_RESTORED:
        gModuleLog.restored++;
        return 0;
    case QL_WM_MAIN_CLOSING:
        gModuleLog.closing++;
        return 0;
    }
    return DefWindowProcA(window, msg, wParam, lParam);
}

HWND MakeModuleWindow(HWND mainWindow)
{
    static bool registered;
    if (!registered) {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = ModuleProc;
        wc.hInstance = GetModuleHandleA(NULL);
        wc.lpszClassName = "QlTestModule";
        RegisterClassA(&wc);
        registered = true;
    }
    gModuleLog = ModuleLog();
    return CreateWindowExA(0, "QlTestModule", "", WS_CHILD | WS_VISIBLE, 0, 60, 200, 100, mainWindow, NULL,
                           GetModuleHandleA(NULL), NULL);
}

void PumpFor(int milliseconds)
{
    DWORD start = GetTickCount();
    while ((int)(GetTickCount() - start) < milliseconds) {
        PumpMessages();
        Sleep(5);
    }
}
