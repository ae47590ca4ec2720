#include "shell/QlCompanyManager.h"

#include "ui/QlAppState.h"
#include "ui/QlListView.h"
#include "ui/QlMsgDialog.h"
#include "ui/QlUtil.h"
#include "ui/QlWindow.h"
#include "resources/QlResShell.h"
#include "settings/QlCountries.h"
#include "shell/QlLangApply.h"
#include "settings/QlLangTables.h"

#include <commctrl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

QlMconfRec QlMconf = {0, 0, -1};

// What the manager works on while its dialog runs.
struct ManagerState {
    QlCompanyTable *table;
    int openCompany;               // the company the program has open, -1 none
    QlSettingsRec *openSettings;   // its settings, NULL when none is open
    int lastRow;                   // the row selected when the dialog starts
    char newName[40];              // from the Create Company dialog
    int newLanguage;
    int newCountry;
    int chosen;                    // the company loaded, -1 none
    QlSettingsRec loaded;          // its settings
};
static ManagerState gManager;

// The manager's own language (mconf.bin), not the company's.
static const QlLangTextRec *MgrText(void)
{
    return &QlLangTextTable[QlLangIndex(QlMconf.language)];
}

// Copies text into a field of size bytes, cut to fit; the rest is zeroed.
static void SetField(char *field, size_t size, const char *text)
{
    memset(field, 0, size);
    memcpy(field, text, strnlen(text, size - 1));
}

static void CopyName(char (&field)[40], const char *text)
{
    SetField(field, sizeof field, text);
}

static int FolderPath(int number, char *path, size_t size)
{
    int n = snprintf(path, size, QL_COMPANY_FOLDER_FORMAT, (unsigned)number);
    return n > 0 && (size_t)n < size;
}

static int FilePath(int number, const char *name, char *path, size_t size)
{
    int n = snprintf(path, size, QL_COMPANY_FOLDER_FORMAT "\\%s", (unsigned)number, name);
    return n > 0 && (size_t)n < size;
}

static int IsFolder(const char *path)
{
    DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Reads up to size bytes from the start of the file; the count read, -1 when
// it cannot be opened.
static int ReadStart(const char *path, void *buffer, DWORD size)
{
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) return -1;
    DWORD total = 0;
    while (total < size) {
        DWORD got = 0;
        if (!ReadFile(file, (char *)buffer + total, size - total, &got, NULL) || got == 0) break;
        total += got;
    }
    CloseHandle(file);
    return (int)total;
}

static int WriteAll(HANDLE file, const void *data, DWORD size)
{
    DWORD written = 0;
    return WriteFile(file, data, size, &written, NULL) && written == size;
}

// ---------------------------------------------------------------------------
// The folders and mconf.bin

int QlCompanyScan(QlCompanyTable *table, int *count)
{
    int found = 0;
    table->current = -1;
    for (int number = 0; number < QL_COMPANY_MAX; number++) {
        QlCompanySlot *slot = &table->slots[number];
        memset(slot, 0, sizeof *slot);
        slot->number = number;
        char folder[MAX_PATH], cfg[MAX_PATH];
        if (!FolderPath(number, folder, sizeof folder) || !IsFolder(folder)) continue;
        if (!FilePath(number, "cfg.dta", cfg, sizeof cfg)) continue;
        QlSettingsRec scratch;
        memset(&scratch, 0, sizeof scratch);
        if (ReadStart(cfg, &scratch, sizeof scratch) <= 0) continue;
        memcpy(slot->name, scratch.companyName, sizeof slot->name);
        slot->name[sizeof slot->name - 1] = '\0';
        slot->present = 1;
        found++;
    }
    if (count) *count = found;
    return found;
}

static int sMconfFailure;

int QlMconfFailure(void)
{
    return sMconfFailure;
}

void QlMconfFailureText(char *text, size_t size)
{
    if (!text || size == 0) return;
    char folder[MAX_PATH];
    snprintf(folder, sizeof folder, "%s", QlWorkDir);
    if (!folder[0] && !GetCurrentDirectoryA(sizeof folder, folder)) folder[0] = '\0';
    size_t length = strlen(folder);
    if (length > 3 && folder[length - 1] == '\\') folder[--length] = '\0';
    if (sMconfFailure == QL_MCONF_FOLDER_UNWRITABLE) {
        snprintf(text, size, MgrText()->MgrFolderUnwritable, folder);
    } else if (sMconfFailure == QL_MCONF_FILE_UNUSABLE) {
        char file[MAX_PATH + 16];
        snprintf(file, sizeof file, "%s%s%s", folder, length && folder[length - 1] == '\\' ? "" : "\\", QL_MCONF_FILE);
        snprintf(text, size, MgrText()->MgrFileUnusable, file);
    } else {
        snprintf(text, size, "%s", MgrText()->MgrConfigError);
    }
}

int QlMconfLoad(void)
{
    sMconfFailure = 0;
    HANDLE file = CreateFileA(QL_MCONF_FILE, GENERIC_READ | GENERIC_WRITE, 0, NULL, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) {
        if (GetLastError() != ERROR_FILE_NOT_FOUND) {
            sMconfFailure = QL_MCONF_FILE_UNUSABLE;
            return 0;
        }
        file = CreateFileA(QL_MCONF_FILE, GENERIC_READ | GENERIC_WRITE, 0, NULL, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                           NULL);
        if (file == INVALID_HANDLE_VALUE) {
            sMconfFailure = QL_MCONF_FOLDER_UNWRITABLE;
            return 0;
        }
        QlMconfRec fresh = {0, 0, -1};
        QlMconf = fresh;
        int ok = WriteAll(file, &QlMconf, sizeof QlMconf);
        CloseHandle(file);
        if (!ok) {
            // Nothing half-written stays to be read at the next start.
            DeleteFileA(QL_MCONF_FILE);
            sMconfFailure = QL_MCONF_FOLDER_UNWRITABLE;
        }
        return ok;
    }
    QlMconfRec read;
    DWORD got = 0;
    int ok = ReadFile(file, &read, sizeof read, &got, NULL) && got == sizeof read;
    if (!ok) {
        // A short file (cut off while it was written) would stop every
        // start: it is written again as a fresh one, no company remembered.
        QlMconfRec empty = {0, 0, -1};
        QlMconf = empty;
        ok = SetFilePointer(file, 0, NULL, FILE_BEGIN) == 0 && WriteAll(file, &QlMconf, sizeof QlMconf) &&
             SetEndOfFile(file);
        CloseHandle(file);
        if (!ok) sMconfFailure = QL_MCONF_FOLDER_UNWRITABLE;
        return ok;
    }
    CloseHandle(file);
    // Indices outside their tables would pick texts that do not exist.
    read.language = QlLangIndex(read.language);
    if (read.country < 0 || read.country >= QL_COUNTRY_COUNT) read.country = 0;
    // A company number no folder can have (a damaged file): none remembered.
    if (read.company < 0 || read.company >= QL_COMPANY_MAX) read.company = -1;
    QlMconf = read;
    return 1;
}

int QlMconfSave(void)
{
    HANDLE file = CreateFileA(QL_MCONF_FILE, GENERIC_WRITE, 0, NULL, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) return 0;
    int ok = WriteAll(file, &QlMconf, sizeof QlMconf);
    CloseHandle(file);
    return ok;
}

// ---------------------------------------------------------------------------
// Creating, renaming, deleting

void QlCompanyPrepareSettings(QlSettingsRec *rec, const char *name, int language, int country)
{
    if (country < 0 || country >= QL_COUNTRY_COUNT) country = 0;
    const QlCountryRec *c = &QlCountryTable[country];
    QlCfgSetInitial(rec);
    CopyName(rec->companyName, name);
    rec->language = QlLangIndex(language);
    rec->country = country;
    rec->taxNameIndex = c->taxNameIndex;
    for (int i = 0; i < QL_RATE_COUNT; i++) {
        memcpy(rec->rateTexts[i], QlDefaultRateTexts[i], QL_RATE_TEXT_WIDTH);
        memcpy(rec->rateTexts[i] + 4, c->rates[i], 5);  // "B - " then "17.50"
    }
    // Rate A is zero and B the country's standard rate: a new company's
    // lines carry the standard rate unless the user chooses another.
    rec->defaultRate = 1;
    memset(rec->currency, 0, sizeof rec->currency);
    memcpy(rec->currency, QlCurrencyTable[c->currencyIndex], 3);
    SetField(rec->businessLabel, sizeof rec->businessLabel, c->businessLabel);
    SetField(rec->taxName, sizeof rec->taxName, QlTaxNameTable[c->taxNameIndex]);
    QlLangCopyLetters(rec->language, rec);
}

int QlCompanyCreate(HWND list, QlCompanySlot *slot)
{
    char folder[MAX_PATH], cfg[MAX_PATH];
    if (!FolderPath(slot->number, folder, sizeof folder) || !FilePath(slot->number, "cfg.dta", cfg, sizeof cfg))
        return 0;
    if (!CreateDirectoryA(folder, NULL) && GetLastError() != ERROR_ALREADY_EXISTS) return 0;
    HANDLE file = CreateFileA(cfg, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) return 0;

    // Prepared in a record of its own: the settings of the company that may
    // be open stay as they are.
    QlSettingsRec rec;
    QlCompanyPrepareSettings(&rec, slot->name, gManager.newLanguage, gManager.newCountry);
    int ok = WriteAll(file, &rec, sizeof rec);
    CloseHandle(file);
    // The company's data file starts empty (an empty file is an empty
    // database); one left in the folder stays.  A company's data file that
    // is missing later is then told apart from a new company's.
    char data[MAX_PATH];
    HANDLE db = INVALID_HANDLE_VALUE;
    if (ok && FilePath(slot->number, "quilry.db", data, sizeof data)) {
        db = CreateFileA(data, GENERIC_WRITE, 0, NULL, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, NULL);
        if (db != INVALID_HANDLE_VALUE) CloseHandle(db);
        else if (GetLastError() != ERROR_FILE_EXISTS && GetLastError() != ERROR_ALREADY_EXISTS) ok = 0;
    } else {
        ok = 0;
    }
    if (!ok) {
        DeleteFileA(cfg);   // a part of a settings file would count as a company
        return 0;
    }
    slot->present = 1;
    QlCompanyListAddRow(list, slot);
    return 1;
}

static void SetRowName(HWND list, int row, const char *name)
{
    QlListSetCell(list, row, 1, name);
}

int QlCompanyRename(HWND list, QlCompanySlot *slot, int row)
{
    char cfg[MAX_PATH];
    if (!FilePath(slot->number, "cfg.dta", cfg, sizeof cfg)) return 0;
    HANDLE file = CreateFileA(cfg, GENERIC_WRITE, 0, NULL, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) return 0;
    int ok = WriteAll(file, slot->name, sizeof slot->name);
    CloseHandle(file);
    if (ok) SetRowName(list, row, slot->name);
    return ok;
}

void QlCompanyDelete(HWND list, QlCompanySlot *slot, int row)
{
    slot->present = 0;
    char folder[MAX_PATH], pattern[MAX_PATH];
    if (FolderPath(slot->number, folder, sizeof folder) && FilePath(slot->number, "*.*", pattern, sizeof pattern)) {
        WIN32_FIND_DATAA found;
        HANDLE find = FindFirstFileA(pattern, &found);
        if (find != INVALID_HANDLE_VALUE) {
            do {
                char path[MAX_PATH];
                if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
                    FilePath(slot->number, found.cFileName, path, sizeof path))
                    DeleteFileA(path);
            } while (FindNextFileA(find, &found));
            FindClose(find);
        }
        RemoveDirectoryA(folder);   // stays when something is left in it
    }
    SendMessageA(list, LVM_DELETEITEM, row, 0);
}

QlCompanySlot *QlCompanyGetSelected(HWND list, char *name, int *row)
{
    int selected = (int)SendMessageA(list, LVM_GETNEXTITEM, (WPARAM)-1, LVNI_SELECTED);
    if (selected < 0) return NULL;
    char text[16];
    QlListGetCell(list, selected, 0, text, sizeof text);
    char *end = NULL;
    long number = strtol(text, &end, 10);
    if (end == text || number < 0 || number >= QL_COMPANY_MAX || !gManager.table) return NULL;
    if (row) *row = selected;
    if (name) {
        memset(name, 0, 40);
        QlListGetCell(list, selected, 1, name, 40);
    }
    return &gManager.table->slots[number];
}

static void SelectRow(HWND list, int row)
{
    LVITEMA item;
    memset(&item, 0, sizeof item);
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(list, LVM_SETITEMSTATE, row, (LPARAM)&item);
    SendMessageA(list, LVM_ENSUREVISIBLE, row, FALSE);
}

int QlCompanyListAddRow(HWND list, QlCompanySlot *slot)
{
    char number[8];
    snprintf(number, sizeof number, "%02u", (unsigned)slot->number);
    LVITEMA item;
    memset(&item, 0, sizeof item);
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = (int)SendMessageA(list, LVM_GETITEMCOUNT, 0, 0);
    item.pszText = number;
    item.lParam = (LPARAM)slot;
    int row = (int)SendMessageA(list, LVM_INSERTITEMA, 0, (LPARAM)&item);
    if (row < 0) return row;
    SetRowName(list, row, slot->name);
    SelectRow(list, row);
    return row;
}

// ---------------------------------------------------------------------------
// Dialog 285: Create Company

static void OnEditInit(HWND dialog)
{
    const QlLangTextRec *text = MgrText();
    QlUiCenterWindow(dialog);
    SendDlgItemMessageA(dialog, IDE_COMPANY_NAME, EM_LIMITTEXT, 39, 0);
    SetWindowTextA(dialog, text->CreateCompany);
    SetDlgItemTextA(dialog, IDOK, text->Ok);
    SetDlgItemTextA(dialog, IDCANCEL, text->Close);
    SetDlgItemTextA(dialog, IDT_COMPANY_NAME, text->CompanyNameLabel);
    SetDlgItemTextA(dialog, IDT_COMPANY_LANGUAGE, text->Language);
    SetDlgItemTextA(dialog, IDT_COMPANY_COUNTRY, text->Country);
    QlUiComboFill(dialog, QlLanguageNameTable, IDC_COMPANY_LANGUAGE, QlLangIndex(QlMconf.language));
    QlUiComboFill(dialog, QlCountryNameTable, IDC_COMPANY_COUNTRY, QlMconf.country);
}

static void OnEditOk(HWND dialog)
{
    char name[40];
    memset(name, 0, sizeof name);
    GetDlgItemTextA(dialog, IDE_COMPANY_NAME, name, sizeof name);
    // A company needs a name (blanks alone are none): said over this dialog,
    // which stays open with the name field focused for one.
    QlTrimBlanks(name);
    if (!name[0]) {
        QlMsgBoxLarge(dialog, MgrText()->Error, MgrText()->CompanyNameEmpty, QL_COLOUR_WARNING);
        SendMessageA(dialog, WM_NEXTDLGCTL, (WPARAM)GetDlgItem(dialog, IDE_COMPANY_NAME), TRUE);
        return;
    }
    CopyName(gManager.newName, name);
    int language = (int)SendDlgItemMessageA(dialog, IDC_COMPANY_LANGUAGE, CB_GETCURSEL, 0, 0);
    int country = (int)SendDlgItemMessageA(dialog, IDC_COMPANY_COUNTRY, CB_GETCURSEL, 0, 0);
    if (language >= 0 && language < QL_LANG_COUNT) gManager.newLanguage = language;
    if (country >= 0 && country < QL_COUNTRY_COUNT) {
        gManager.newCountry = country;
        QlMconf.country = country;   // offered first next time
    }
    EndDialog(dialog, 1);
}

INT_PTR CALLBACK QlCompanyEditDlgProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_INITDIALOG:
        OnEditInit(dialog);
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:
            OnEditOk(dialog);
            return TRUE;
        case IDCANCEL:
            EndDialog(dialog, 0);
            return TRUE;
        }
        return FALSE;
    }
    return FALSE;
}

// ---------------------------------------------------------------------------
// Dialog 225: Multi-Company Manager

static HWND ListOf(HWND dialog)
{
    return GetDlgItem(dialog, IDL_COMPANY_LIST);
}

static void ShowError(HWND dialog, const char *message)
{
    QlMsgBoxLarge(dialog, MgrText()->Error, message, QL_COLOUR_WARNING);
}

void QlCompanyManagerRelabel(HWND dialog)
{
    const QlLangTextRec *text = MgrText();
    SetWindowTextA(dialog, text->MgrCaption);
    SetDlgItemTextA(dialog, IDT_COMPANY_HEADING, text->MgrCompanies);
    SetDlgItemTextA(dialog, IDT_COMPANY_NAME, text->MgrEditName);
    SetDlgItemTextA(dialog, IDB_COMPANY_NEW, text->New);
    SetDlgItemTextA(dialog, IDB_COMPANY_SAVE, text->Save);
    SetDlgItemTextA(dialog, IDB_COMPANY_DELETE, text->Delete);
    SetDlgItemTextA(dialog, IDB_COMPANY_LOAD, text->Load);
    LVCOLUMNA column;
    memset(&column, 0, sizeof column);
    column.mask = LVCF_TEXT;
    column.pszText = (char *)text->CompanyNameLabel;
    SendMessageA(ListOf(dialog), LVM_SETCOLUMNA, 1, (LPARAM)&column);
}

// A row was chosen: it becomes the company to open next time (in memory)
// and its name goes into the edit.
static void TakeRow(HWND dialog)
{
    char name[40];
    int row = -1;
    QlCompanySlot *slot = QlCompanyGetSelected(ListOf(dialog), name, &row);
    if (!slot) return;
    gManager.lastRow = row;
    QlMconf.company = slot->number;
    SetDlgItemTextA(dialog, IDE_COMPANY_NAME, name);
}

static void OnManagerInit(HWND dialog)
{
    QlUiCenterWindow(dialog);
    SendDlgItemMessageA(dialog, IDE_COMPANY_NAME, EM_LIMITTEXT, 39, 0);
    static const char *const titles[] = {"ID", "Company Name"};
    // The name column fills the list, with room for a vertical scroll bar:
    // no horizontal one.
    RECT client;
    GetClientRect(ListOf(dialog), &client);
    int nameWidth = client.right - 40 - GetSystemMetrics(SM_CXVSCROLL);
    if (nameWidth < 100) nameWidth = 100;
    const int widths[] = {40, nameWidth};
    QlListSetColumns(ListOf(dialog), titles, 2, widths, QL_COMPANY_MAX, NULL);
    QlUiComboFill(dialog, QlLanguageNameTable, IDC_COMPANY_LANGUAGE, QlLangIndex(QlMconf.language));
    QlCompanyManagerRelabel(dialog);

    int lastRow = gManager.lastRow;   // adding rows selects each in turn
    int openRow = -1;
    for (int i = 0; i < QL_COMPANY_MAX; i++) {
        QlCompanySlot *slot = &gManager.table->slots[i];
        if (!slot->present) continue;
        int row = QlCompanyListAddRow(ListOf(dialog), slot);
        if (slot->number == gManager.openCompany) openRow = row;
    }
    int count = (int)SendMessageA(ListOf(dialog), LVM_GETITEMCOUNT, 0, 0);
    int row = openRow >= 0 ? openRow : lastRow;
    if (row >= count) row = 0;
    if (count > 0) {
        SelectRow(ListOf(dialog), row);
        TakeRow(dialog);
    }
}

static void OnNew(HWND dialog)
{
    // All ten places taken: refused before anything is typed.
    QlCompanySlot *slot = NULL;
    for (int i = 0; i < QL_COMPANY_MAX && !slot; i++)
        if (!gManager.table->slots[i].present) slot = &gManager.table->slots[i];
    if (!slot) {
        char message[256];
        snprintf(message, sizeof message, MgrText()->CompanyLimit, (unsigned)QL_COMPANY_MAX);
        ShowError(dialog, message);
        return;
    }
    if (DialogBoxParamA(QlUiInstance(), MAKEINTRESOURCEA(IDD_COMPANY_CREATE), dialog, QlCompanyEditDlgProc, 0) != 1)
        return;
    SetDlgItemTextA(dialog, IDE_COMPANY_NAME, "");
    if (!gManager.newName[0]) return;   // the dialog does not end without a name
    CopyName(slot->name, gManager.newName);
    if (QlCompanyCreate(ListOf(dialog), slot)) TakeRow(dialog);
}

static void OnSave(HWND dialog)
{
    int row = -1;
    QlCompanySlot *slot = QlCompanyGetSelected(ListOf(dialog), NULL, &row);
    if (!slot) return;
    char name[40];
    memset(name, 0, sizeof name);
    GetDlgItemTextA(dialog, IDE_COMPANY_NAME, name, sizeof name);
    QlTrimBlanks(name);
    if (!name[0]) {
        ShowError(dialog, MgrText()->CompanyNameEmpty);
        return;
    }
    CopyName(slot->name, name);
    // The open company's name lives in its settings too, which are saved
    // again at exit: they take the new name, or the old one would return.
    if (QlCompanyRename(ListOf(dialog), slot, row) && slot->number == gManager.openCompany && gManager.openSettings)
        CopyName(gManager.openSettings->companyName, name);
}

static int Confirm(HWND dialog, const char *format, const char *name)
{
    char question[640];
    snprintf(question, sizeof question, format, name);
    return QlMsgAskOkCancel(dialog, MgrText()->ConfirmOperation, question, QL_COLOUR_WARNING);
}

static void OnDelete(HWND dialog)
{
    char name[40];
    int row = -1;
    QlCompanySlot *slot = QlCompanyGetSelected(ListOf(dialog), name, &row);
    if (!slot) return;
    if (slot->number == gManager.openCompany) {
        ShowError(dialog, MgrText()->DeleteOpenCompany);
        return;
    }
    const QlLangTextRec *text = MgrText();
    if (!Confirm(dialog, text->DeleteCompanyAsk, name) || !Confirm(dialog, text->DeleteCompanyWarn, name)) return;
    SetDlgItemTextA(dialog, IDE_COMPANY_NAME, "");
    if (QlMconf.company == slot->number) QlMconf.company = -1;
    QlCompanyDelete(ListOf(dialog), slot, row);
    if (SendMessageA(ListOf(dialog), LVM_GETITEMCOUNT, 0, 0) == 0) QlMconf.company = -1;
}

// The unreadable company's name for a message: its name, else its folder.
static void NameForMessage(const QlCompanySlot *slot, int number, char *out, size_t size)
{
    if (slot && slot->name[0]) snprintf(out, size, "%s", slot->name);
    else snprintf(out, size, QL_COMPANY_FOLDER_FORMAT, (unsigned)number);
}

static void TellUnreadable(HWND owner, const QlCompanySlot *slot, int number)
{
    char name[48], message[512];
    NameForMessage(slot, number, name, sizeof name);
    snprintf(message, sizeof message, MgrText()->CompanyCfgUnreadable, name);
    QlMsgBoxLarge(owner, MgrText()->Error, message, QL_COLOUR_WARNING);
}

static void OnLoad(HWND dialog)
{
    QlCompanySlot *slot = QlCompanyGetSelected(ListOf(dialog), NULL, NULL);
    if (!slot) return;
    int number = slot->number;
    // A company is opened only with its whole settings: with a part of them
    // the save at exit would spoil its settings file.
    if (number != gManager.openCompany && !QlCfgLoad(number, &gManager.loaded)) {
        TellUnreadable(dialog, slot, number);
        return;
    }
    QlMconf.company = number;
    if (!QlMconfSave()) {
        ShowError(dialog, MgrText()->ConfigSaveFailed);
        EndDialog(dialog, 0);
        return;
    }
    gManager.chosen = number;
    EndDialog(dialog, 1);
}

static void OnManagerCancel(HWND dialog)
{
    if (!QlMconfSave()) ShowError(dialog, MgrText()->ConfigSaveFailed);
    EndDialog(dialog, 0);
}

static void OnManagerCommand(HWND dialog, int id, int code)
{
    switch (id) {
    case IDB_COMPANY_NEW:
        OnNew(dialog);
        break;
    case IDB_COMPANY_SAVE:
        OnSave(dialog);
        break;
    case IDB_COMPANY_DELETE:
        OnDelete(dialog);
        break;
    case IDB_COMPANY_LOAD:
        OnLoad(dialog);
        break;
    case IDCANCEL:
        OnManagerCancel(dialog);
        break;
    case IDC_COMPANY_LANGUAGE:
        if (code == CBN_SELCHANGE) {
            int language = (int)SendDlgItemMessageA(dialog, IDC_COMPANY_LANGUAGE, CB_GETCURSEL, 0, 0);
            if (language >= 0 && language < QL_LANG_COUNT) QlMconf.language = language;
            QlCompanyManagerRelabel(dialog);
        }
        break;
    }
}

static void OnManagerNotify(HWND dialog, const NMHDR *header)
{
    if (header->idFrom != IDL_COMPANY_LIST) return;
    if (header->code == NM_CLICK) {
        TakeRow(dialog);
    } else if (header->code == LVN_ITEMCHANGED) {
        // The keyboard moves the selection too: the edit must always show
        // the selected company, or Save would give its name to another.
        const NMLISTVIEW *change = (const NMLISTVIEW *)header;
        if ((change->uChanged & LVIF_STATE) && (change->uNewState & LVIS_SELECTED) &&
            !(change->uOldState & LVIS_SELECTED))
            TakeRow(dialog);
    }
}

INT_PTR CALLBACK QlCompanyManagerDlgProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_INITDIALOG:
        OnManagerInit(dialog);
        return TRUE;
    case WM_COMMAND:
        OnManagerCommand(dialog, LOWORD(wParam), HIWORD(wParam));
        return TRUE;
    case WM_NOTIFY:
        OnManagerNotify(dialog, (const NMHDR *)lParam);
        return TRUE;
    case WM_CTLCOLORSTATIC:
        if ((HWND)lParam != GetDlgItem(dialog, IDT_COMPANY_HEADING)) return FALSE;
        SetBkColor((HDC)wParam, RGB(255, 255, 255));
        return (INT_PTR)(QlBrushWhite ? QlBrushWhite : (HBRUSH)GetStockObject(WHITE_BRUSH));
    }
    return FALSE;
}

// ---------------------------------------------------------------------------
// Entries

// Runs dialog 225; 1 when a company was loaded (gManager.chosen).
static int RunManager(HWND owner, QlCompanyTable *table, int openCompany, QlSettingsRec *openSettings)
{
    gManager.table = table;
    gManager.openCompany = openCompany;
    gManager.openSettings = openSettings;
    gManager.chosen = -1;
    INT_PTR result = DialogBoxParamA(QlUiInstance(), MAKEINTRESOURCEA(IDD_COMPANY_MANAGER), owner,
                                     QlCompanyManagerDlgProc, 0);
    gManager.openSettings = NULL;
    return result == 1 && gManager.chosen >= 0;
}

static void CloseModuleWindow(void)
{
    if (QlModuleWnd) QlUiClosePane(QlModuleWnd);
}

static void MakeCurrent(QlCompanyTable *table, int number, QlSettingsRec *settings, const QlSettingsRec *loaded)
{
    table->current = number;
    memcpy(settings, loaded, sizeof *settings);
    QlVatUpdateLabels();
    QlVatBuildRateList();
}

int QlCompanyManagerOpen(QlCompanyTable *table, QlSettingsRec *settings)
{
    CloseModuleWindow();
    if (!QlMconfLoad()) {
        char message[2 * MAX_PATH + 256];
        QlMconfFailureText(message, sizeof message);
        QlMsgBoxTall(QlMainWnd, MgrText()->Error, message, QL_COLOUR_WARNING);   // room for the path
        return 0;
    }
    int remembered = QlMconf.company;
    if (remembered != -1) {
        if (QlCfgLoad(remembered, &gManager.loaded)) {
            MakeCurrent(table, remembered, settings, &gManager.loaded);
            return 0;
        }
        const QlCompanySlot *slot = remembered >= 0 && remembered < QL_COMPANY_MAX ? &table->slots[remembered] : NULL;
        TellUnreadable(QlMainWnd, slot, remembered);
    }
    if (RunManager(QlMainWnd, table, -1, NULL)) MakeCurrent(table, gManager.chosen, settings, &gManager.loaded);
    return 0;
}

int QlCompanyManagerChoose(HWND owner, QlCompanyTable *table, QlSettingsRec *openSettings, int *company,
                           QlSettingsRec *loaded)
{
    CloseModuleWindow();
    if (!QlMconfLoad()) {
        char message[2 * MAX_PATH + 256];
        QlMconfFailureText(message, sizeof message);
        QlMsgBoxTall(owner, MgrText()->Error, message, QL_COLOUR_WARNING);   // room for the path
        return 0;
    }
    if (!RunManager(owner, table, table->current, openSettings)) return 0;
    *company = gManager.chosen;
    if (gManager.chosen != table->current) memcpy(loaded, &gManager.loaded, sizeof *loaded);
    return 1;
}
