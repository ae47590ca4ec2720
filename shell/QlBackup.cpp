// Backup, restore and cleardown of the current company's data.
//
// A backup is a folder named by the local time ("2012_03_07_142501") inside
// a folder the user picks, holding a copy of the company's database and of
// its settings file and an empty marker file "<stamp>.bak"; restoring, the
// user picks a marker and the database and settings file of its folder
// replace the company's (a backup without a settings file, made before they
// were kept, restores the database alone).  The operations change
// the current directory while they work and change it back to the working
// folder on every path.
//
// The copies are checked: a backup whose copy failed is removed and
// reported, and a restore copies the backup's files beside the company's
// first and puts them in place only when both arrived whole, both or
// neither: a failed restore leaves the data as it was, and where even that
// cannot be, its message says what is on disk.  The database is open again
// before any restore reports.  The cleardown runs in one database
// transaction: all of it or nothing.

#include "shell/QlBackup.h"
#include "shell/QlShellTexts.h"

#include "ui/QlAppState.h"
#include "ui/QlMsgDialog.h"
#include "ui/QlSeams.h"
#include "ui/QlWindow.h"
#include "customers/QlCustModule.h"
#include "datastore/QlDbTables.h"
#include "settings/QlSettings.h"
#include "shell/QlCompanyManager.h"
#include "shell/QlLangApply.h"
#include "shell/QlMain.h"
#include "shell/QlMainWindow.h"
#include "shell/QlPanels.h"

#include <commdlg.h>
#include <stdio.h>
#include <string.h>

#define DB_FILE "quilry.db"
#define CFG_FILE "cfg.dta"
#define RESTORE_FILE "quilry.rst"   // the backup's database on its way in
#define RESTORE_CFG "cfg.rst"       // and its settings file

// ---------------------------------------------------------------------------
// Paths and files

// "<working folder>\COMP%03u\<name>" (name NULL: the folder itself).
static int CompanyPath(const char *name, char *path, size_t size)
{
    int company = QlCompanies.current;
    if (company < 0 || company >= QL_COMPANY_MAX || !QlWorkDir[0]) return 0;
    int n = name ? snprintf(path, size, "%s\\" QL_COMPANY_FOLDER_FORMAT "\\%s", QlWorkDir, (unsigned)company, name)
                 : snprintf(path, size, "%s\\" QL_COMPANY_FOLDER_FORMAT, QlWorkDir, (unsigned)company);
    return n > 0 && (size_t)n < size;
}

static int Join(char *path, size_t size, const char *folder, const char *name)
{
    size_t length = strlen(folder);
    const char *separator = length > 0 && (folder[length - 1] == '\\' || folder[length - 1] == '/') ? "" : "\\";
    int n = snprintf(path, size, "%s%s%s", folder, separator, name);
    return n > 0 && (size_t)n < size;
}

// Changes into the company's data folder; 1 with its full path.
static int EnterDataFolder(char *folder, size_t size)
{
    char path[MAX_PATH];
    if (!CompanyPath(NULL, path, sizeof path) || !SetCurrentDirectoryA(path)) return 0;
    DWORD length = GetCurrentDirectoryA((DWORD)size, folder);
    return length > 0 && length < size;
}

static int IsFile(const char *path)
{
    DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

static int64_t FileSize(const char *path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path, GetFileExInfoStandard, &data)) return -1;
    return ((int64_t)data.nFileSizeHigh << 32) | data.nFileSizeLow;
}

// CopyFileA, checked: 1 when the copy has the source's size.
static int CopyChecked(const char *source, const char *target)
{
    if (!CopyFileA(source, target, FALSE)) return 0;
    int64_t size = FileSize(source);
    return size >= 0 && size == FileSize(target);
}

static void Fail(HWND owner, const char *caption, const char *text)
{
    QlMsgBox(owner, caption, text, QL_COLOUR_WARNING);
}

// A failure whose text names files with their full paths.
static void FailWithPaths(HWND owner, const char *caption, const char *text)
{
    QlMsgBoxTall(owner, caption, text, QL_COLOUR_WARNING);
}

// ---------------------------------------------------------------------------
// Backup

// Removes a backup folder that did not come out whole.
static void RemoveBackup(const char *folder, const char *copy, const char *marker)
{
    char settings[MAX_PATH];
    if (Join(settings, sizeof settings, folder, CFG_FILE)) DeleteFileA(settings);
    DeleteFileA(copy);
    DeleteFileA(marker);
    RemoveDirectoryA(folder);
}

// The backup's folder, database copy and marker; 0 when a path does not fit.
static int BackupPaths(const char *destination, char *folder, char *copy, char *marker)
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    char stamp[64];
    snprintf(stamp, sizeof stamp, "%04u_%02d_%02d_%02d%02d%02d", now.wYear, now.wMonth, now.wDay, now.wHour,
             now.wMinute, now.wSecond);
    char markerName[72];
    snprintf(markerName, sizeof markerName, "%s.bak", stamp);
    return Join(folder, MAX_PATH, destination, stamp) && Join(copy, MAX_PATH, folder, DB_FILE) &&
           Join(marker, MAX_PATH, folder, markerName);
}

int QlBackupCreate(HWND owner)
{
    const QlShellTextRec *text = QlShellText();
    char dataFolder[MAX_PATH];
    if (!EnterDataFolder(dataFolder, sizeof dataFolder)) {
        QlRestoreWorkDir();
        Fail(owner, text->BkFailed, text->BkNoDataDir);
        return 0;
    }
    char destination[MAX_PATH];
    if (!QlUiBrowseFolder(owner, destination, text->BkDestination)) {
        QlRestoreWorkDir();
        return 0;
    }
    char folder[MAX_PATH], copy[MAX_PATH], marker[MAX_PATH], source[MAX_PATH];
    if (!BackupPaths(destination, folder, copy, marker) || !Join(source, sizeof source, dataFolder, DB_FILE) ||
        !CreateDirectoryA(folder, NULL)) {
        QlRestoreWorkDir();
        Fail(owner, text->BkFailed, text->BkNoFolder);
        return 0;
    }
    if (IsFile(source) && !CopyChecked(source, copy)) {
        RemoveBackup(folder, copy, marker);
        QlRestoreWorkDir();
        Fail(owner, text->BkFailed, text->BkCopyFailed);
        return 0;
    }
    // The company's settings go with its data, as the program holds them.
    QlCfgSave();
    char settings[MAX_PATH], settingsCopy[MAX_PATH];
    if (!Join(settings, sizeof settings, dataFolder, CFG_FILE) || !Join(settingsCopy, sizeof settingsCopy, folder, CFG_FILE) ||
        (IsFile(settings) && !CopyChecked(settings, settingsCopy))) {
        RemoveBackup(folder, copy, marker);
        QlRestoreWorkDir();
        Fail(owner, text->BkFailed, text->BkCfgCopyFailed);
        return 0;
    }
    HANDLE file = CreateFileA(marker, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) {
        RemoveBackup(folder, copy, marker);
        QlRestoreWorkDir();
        Fail(owner, text->BkFailed, text->BkMarkerFailed);
        return 0;
    }
    CloseHandle(file);

    if (!QlRestoreWorkDir()) {
        Fail(owner, text->BkError, text->BkNoReturn);
        return 0;
    }
    char message[MAX_PATH + 128];
    snprintf(message, sizeof message, "%s\n%s", text->BkDoneTo, folder);
    QlSeamMessageBox(owner, message, text->BkDone, MB_OK);
    return 1;
}

// ---------------------------------------------------------------------------
// Restore

// The marker the user picks, in the data folder to begin with; 1 with its
// full path (possibly empty) when one was chosen.
static int ChooseMarker(HWND owner, const char *dataFolder, char *file, size_t size)
{
    const QlShellTextRec *text = QlShellText();
    // "<name>\0*.bak\0\0"
    char filter[64];
    size_t nameLength = strnlen(text->RsFilter, sizeof filter - 8);
    memcpy(filter, text->RsFilter, nameLength);
    memcpy(filter + nameLength, "\0*.bak\0\0", 8);

    file[0] = '\0';
    OPENFILENAMEA ofn;
    memset(&ofn, 0, sizeof ofn);
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = filter;
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file;
    ofn.nMaxFile = (DWORD)size;
    ofn.lpstrInitialDir = dataFolder;
    ofn.lpstrTitle = text->RsSelect;
    ofn.Flags = OFN_OVERWRITEPROMPT | OFN_NOCHANGEDIR;
    ofn.lpstrDefExt = "bak";
    BOOL chosen = QlSeamGetOpenFileName(&ofn);
    file[size - 1] = '\0';
    return chosen != 0;
}

// The database in the marker's folder, whatever the marker's name.
static int BackupDatabase(const char *marker, char *database, size_t size)
{
    char full[MAX_PATH];
    char *name = NULL;
    DWORD length = GetFullPathNameA(marker, sizeof full, full, &name);
    if (length == 0 || length >= sizeof full || !name) return 0;
    *name = '\0';   // the folder with its trailing backslash remains
    return Join(database, size, full, DB_FILE);
}

// Opens the company's database again, from the working folder; a database
// that does not open is named with what to do, and the program goes on
// without the company's data.  Once open, the main window has its tool bar
// (a company restored from having no data gets it now).
static int ReopenDatabase(HWND owner)
{
    if (QlDbIsOpen()) return 1;
    int opened;
    if (QlRestoreWorkDir()) {
        opened = QlMainOpenCompanyData(owner);
    } else {
        char path[MAX_PATH], err[QL_DB_ERR_SIZE];
        opened = CompanyPath(DB_FILE, path, sizeof path) && QlDbOpen(path, err);
        if (!opened) opened = QlMainOpenCompanyData(owner);
    }
    if (opened && QlMainWnd) QlMainDataOpened(QlMainWnd);
    return opened;
}

// How a replacement ended, and so what is on disk: REPLACED, the backup's
// files; DB_NOT_COPIED, CFG_NOT_COPIED and CFG_NOT_MOVED, the company's own
// files as they were; DB_ONLY, the backup's database beside the company's
// old settings file (the old database kept as "quilry.old"); DB_ASIDE, no
// database in place (the old one kept as "quilry.old").
enum { REPLACED, DB_NOT_COPIED, CFG_NOT_COPIED, CFG_NOT_MOVED, DB_ONLY, DB_ASIDE };

#define ASIDE_FILE "quilry.old"   // the company's database while the backup's goes in

static int Move(const char *from, const char *to)
{
    return MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

// Puts the backup's database and settings file (settings NULL: the database
// alone) in place of the company's, whose database must be closed, as one
// step: both are copied beside the company's files and checked; the
// company's database is moved aside, the backup's database and settings file
// are moved in, and when the settings file cannot be, the company's database
// is put back.  The result says what is on disk.
static int ReplaceCompanyFiles(const char *database, const char *settings)
{
    char incoming[MAX_PATH], target[MAX_PATH], incomingCfg[MAX_PATH], targetCfg[MAX_PATH], aside[MAX_PATH];
    if (!CompanyPath(RESTORE_FILE, incoming, sizeof incoming) || !CompanyPath(DB_FILE, target, sizeof target) ||
        !CompanyPath(RESTORE_CFG, incomingCfg, sizeof incomingCfg) || !CompanyPath(CFG_FILE, targetCfg, sizeof targetCfg) ||
        !CompanyPath(ASIDE_FILE, aside, sizeof aside))
        return DB_NOT_COPIED;
    int result = REPLACED;
    if (!CopyChecked(database, incoming))
        result = DB_NOT_COPIED;
    else if (settings && (!CopyChecked(settings, incomingCfg) || FileSize(incomingCfg) != QL_CFG_FILE_SIZE))
        result = CFG_NOT_COPIED;
    const int hadDatabase = IsFile(target);
    if (result == REPLACED && hadDatabase && !Move(target, aside)) result = DB_NOT_COPIED;
    if (result == REPLACED && !Move(incoming, target)) {
        result = DB_NOT_COPIED;
        if (hadDatabase && !Move(aside, target)) result = DB_ASIDE;
    }
    if (result == REPLACED && settings && !Move(incomingCfg, targetCfg)) {
        // The settings file stays the company's: so does its database.
        result = CFG_NOT_MOVED;
        if (hadDatabase ? !Move(aside, target) : !DeleteFileA(target)) result = DB_ONLY;
    }
    DeleteFileA(incoming);
    DeleteFileA(incomingCfg);
    if (result == REPLACED || result == DB_ONLY) {
        // A journal left beside the old database must never be played into the new one.
        static const char *const suffixes[] = {"-journal", "-wal", "-shm"};
        for (const char *suffix : suffixes) {
            char journal[MAX_PATH];
            if (snprintf(journal, sizeof journal, "%s%s", target, suffix) < (int)sizeof journal) DeleteFileA(journal);
        }
    }
    if (result == REPLACED && hadDatabase) DeleteFileA(aside);
    return result;
}

// The program takes the restored settings, so that it neither shows the old
// ones nor writes them over the restored file at exit.
static void TakeRestoredSettings(void)
{
    static QlSettingsRec restored;
    if (!QlCfgLoad(QlCompanies.current, &restored)) return;
    memcpy(&QlSettings.cfg, &restored, sizeof restored);
    QlVatBuildRateList();
    QlLangApply(QlSettings.cfg.language, 1, 0);
    QlVatUpdateLabels();
    QlLangShowFlag(QlSettings.cfg.language, QlSettings.cfg.country);
    QlMainSetTitle();
}

void QlBackupRestore(HWND owner)
{
    const QlShellTextRec *text = QlShellText();
    char dataFolder[MAX_PATH];
    if (!EnterDataFolder(dataFolder, sizeof dataFolder)) {
        QlRestoreWorkDir();
        Fail(owner, text->RsFailed, text->RsNoDataDir);
        return;
    }
    char marker[MAX_PATH];
    if (!ChooseMarker(owner, dataFolder, marker, sizeof marker) ||
        !QlMsgAskOkCancel(owner, text->RsConfirmCaption, text->RsConfirm, QL_COLOUR_WARNING)) {
        QlRestoreWorkDir();
        return;
    }
    if (!marker[0]) {
        QlRestoreWorkDir();
        Fail(owner, text->RsFailed, text->RsNotSelected);
        return;
    }
    char backup[MAX_PATH], backupCfg[MAX_PATH];
    int found = BackupDatabase(marker, backup, sizeof backup) && IsFile(backup);
    // The settings file beside the backup's database, when the backup has one.
    const char *settings = NULL;
    if (found && snprintf(backupCfg, sizeof backupCfg, "%s", backup) < (int)sizeof backupCfg) {
        char *name = strrchr(backupCfg, '\\');
        if (name && (size_t)(name + 1 - backupCfg) + sizeof CFG_FILE <= sizeof backupCfg) {
            strcpy(name + 1, CFG_FILE);
            if (IsFile(backupCfg)) settings = backupCfg;
        }
    }
    if (!found) {
        QlRestoreWorkDir();
        Fail(owner, text->RsFailed, text->RsNoDatabase);
        return;
    }

    if (QlModuleWnd) QlUiClosePane(QlModuleWnd);
    if (!QlRestoreWorkDir()) {
        Fail(owner, text->RsError, text->RsNoWorkDir);
        return;
    }
    QlCompanyDbClose();
    char companyFolder[MAX_PATH];
    int entered = CompanyPath(NULL, companyFolder, sizeof companyFolder) && SetCurrentDirectoryA(companyFolder);
    int replaced = entered && !QlDbIsOpen() ? ReplaceCompanyFiles(backup, settings) : DB_NOT_COPIED;
    int returned = QlRestoreWorkDir();
    QlCustModuleForget();   // the account it remembers may not be in the restored data
    if (replaced == REPLACED && settings) TakeRestoredSettings();
    char message[3 * MAX_PATH + 512], settingsFile[MAX_PATH], aside[MAX_PATH];
    if (!CompanyPath(CFG_FILE, settingsFile, sizeof settingsFile)) settingsFile[0] = '\0';
    if (!CompanyPath(ASIDE_FILE, aside, sizeof aside)) aside[0] = '\0';
    if (replaced == DB_ASIDE) {
        // Said before the reopen, which finds no database in place.
        snprintf(message, sizeof message, text->RsDatabaseAside, aside);
        FailWithPaths(owner, text->RsFailed, message);
    }
    if (!ReopenDatabase(owner)) return;
    if (!entered)
        Fail(owner, text->RsFailed, text->RsNoDataDirBack);
    else if (replaced == CFG_NOT_COPIED)
        Fail(owner, text->RsFailed, text->RsCfgCopyFailed);
    else if (replaced == CFG_NOT_MOVED) {
        snprintf(message, sizeof message, text->RsCfgNotReplaced, settingsFile);
        FailWithPaths(owner, text->RsFailed, message);
    } else if (replaced == DB_ONLY) {
        snprintf(message, sizeof message, text->RsDatabaseOnly, settingsFile, aside);
        FailWithPaths(owner, text->RsFailed, message);
    } else if (replaced != REPLACED && replaced != DB_ASIDE)
        Fail(owner, text->RsFailed, text->RsCopyFailed);
    else if (!returned)
        Fail(owner, text->RsError, text->RsNoReturn);
    else
        QlMsgBox(owner, text->RsDone, text->RsDoneText, QL_COLOUR_DONE);
}

// ---------------------------------------------------------------------------
// Cleardown

// Empties the transaction tables and the counter and sets every customer's
// stored balance to 0.00, in one database transaction.
static int ClearTransactions(char *err)
{
    if (!QlDbExec("begin;", err)) return 0;
    if (QlTransClearAll(err) && QlDbExec("update customers set balance='0.00';", err) && QlDbExec("commit;", err))
        return 1;
    char ignored[QL_DB_ERR_SIZE];
    QlDbExec("rollback;", ignored);
    return 0;
}

void QlTransCleardown(HWND owner)
{
    const QlShellTextRec *text = QlShellText();
    if (!QlMsgAskOkCancel(owner, text->CdCaption, text->CdConfirm, QL_COLOUR_WARNING)) return;
    if (QlModuleWnd) QlUiClosePane(QlModuleWnd);
    // Yes: a backup first (none made: nothing cleared); No: cleared without
    // one; Cancel, or a question that could not be shown: nothing cleared.
    int backup = QlSeamMessageBox(owner, text->CdBackupAsk, text->CdCaption, MB_YESNOCANCEL | MB_ICONQUESTION);
    if (backup != IDYES && backup != IDNO) return;
    if (backup == IDYES && !QlBackupCreate(owner)) {
        QlRestoreWorkDir();
        return;   // no backup, no cleardown
    }
    char err[QL_DB_ERR_SIZE] = "";
    int cleared = ClearTransactions(err);
    QlRestoreWorkDir();
    if (!cleared) {
        char message[512];
        snprintf(message, sizeof message, text->CdFailed, err);
        QlMsgBoxLarge(owner, text->CdFailedCaption, message, QL_COLOUR_WARNING);
        return;
    }
    QlMsgBoxLarge(owner, text->CdDoneCaption, text->CdDone, QL_COLOUR_DONE);
}
