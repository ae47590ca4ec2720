// The companies of the working folder: up to ten folders "COMP000" ...
// "COMP009", each with its settings file and database; "mconf.bin", which
// remembers the company to open at start-up; and the Multi-Company Manager
// (dialog 225) with its Create Company dialog (285).
#pragma once

#include "settings/QlSettings.h"

#include <windows.h>
#include <stddef.h>
#include <stdint.h>

#define QL_MCONF_FILE "mconf.bin"
#define QL_COMPANY_FOLDER_FORMAT "COMP%03u"

#pragma pack(push, 1)
// The file "mconf.bin", 12 bytes.
struct QlMconfRec {
    int32_t language;   // the manager's own language (0-8)
    int32_t country;    // the country offered first for a new company (0-29)
    int32_t company;    // the company to open at start-up, -1 for none
};
#pragma pack(pop)
static_assert(sizeof(QlMconfRec) == 12, "mconf.bin holds 12 bytes");
static_assert(offsetof(QlMconfRec, company) == 8, "the company at offset 8");

extern QlMconfRec QlMconf;

// Fills the table from the company folders: a slot is present when its
// folder holds a settings file that gives at least one byte; its name is the
// file's first 40 bytes.  current becomes -1; *count (may be NULL) receives
// the number of companies found.  Returns the count.
int QlCompanyScan(QlCompanyTable *table, int *count);

// Reads "mconf.bin" into QlMconf, creating it (language 0, country 0, no
// company) when it does not exist.  1 on success; 0 when it cannot be read
// or created (a short file reads as 0, 0, -1); QlMconfFailure then says why.
int QlMconfLoad(void);
// Why the last QlMconfLoad failed: QL_MCONF_FOLDER_UNWRITABLE when the file
// could not be created or written in the working folder (a read-only folder,
// a full disk), QL_MCONF_FILE_UNUSABLE when the file there could not be
// opened for reading and writing (read-only, in use); 0 after a success.
enum { QL_MCONF_FOLDER_UNWRITABLE = 1, QL_MCONF_FILE_UNUSABLE = 2 };
int QlMconfFailure(void);
// The message for the last failed QlMconfLoad, naming the folder or the file
// with its full path (size bytes).
void QlMconfFailureText(char *text, size_t size);
// Writes QlMconf over the existing "mconf.bin"; 1 when all 12 bytes were written.
int QlMconfSave(void);

// Start-up: opens the company that mconf.bin remembers, or lets the user
// choose one in the manager.  A company is made current only with its
// settings loaded whole into *settings (and the tax labels and rates rebuilt
// from them); when the remembered company's settings cannot be read the
// user is told and chooses in the manager.  The caller looks at
// table->current (-1: no company).  Always answers 0.
int QlCompanyManagerOpen(QlCompanyTable *table, QlSettingsRec *settings);

// From the running program, with table->current open: runs the manager, in
// which the open company cannot be deleted and renaming it also renames
// *openSettings.  Returns 1 when the user loaded a company, with its number
// in *company and, when it is not the open one, its settings in *loaded; 0
// when the manager was closed without loading.  table->current is not
// changed: switching is the caller's work.
int QlCompanyManagerChoose(HWND owner, QlCompanyTable *table, QlSettingsRec *openSettings, int *company,
                           QlSettingsRec *loaded);

// The settings a new company starts with: the initial settings with the
// name, the language with its letters, the country with its tax name, rates,
// currency and business-number label.  Nothing of any open company.
void QlCompanyPrepareSettings(QlSettingsRec *rec, const char *name, int language, int country);

// Dialog procedures (225 and 285).
INT_PTR CALLBACK QlCompanyManagerDlgProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK QlCompanyEditDlgProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam);

// The manager's steps on its list view (list 1312 of dialog 225).
// Creates the slot's folder and settings file for the slot's name and the
// language and country chosen in dialog 285, and an empty data file beside
// it (one already there is kept); on success the slot is present and its row
// added (1).  A settings file that could not be written whole is removed.
int QlCompanyCreate(HWND list, QlCompanySlot *slot);
// Writes the slot's name over the first 40 bytes of its settings file and
// shows it in the row; 1 on success.
int QlCompanyRename(HWND list, QlCompanySlot *slot, int row);
// Removes the company's files and folder and its row; the slot is no longer present.
void QlCompanyDelete(HWND list, QlCompanySlot *slot, int row);
// The selected row's slot (NULL when none), its name (40 bytes) and row.
QlCompanySlot *QlCompanyGetSelected(HWND list, char *name, int *row);
// Appends, selects and focuses the slot's row ("%02u", name); the row index.
int QlCompanyListAddRow(HWND list, QlCompanySlot *slot);
// Sets the manager's texts again in the manager's language.
void QlCompanyManagerRelabel(HWND dialog);
