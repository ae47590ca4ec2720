// Whole-company data operations of the File and Modules menus.
#pragma once

#include <windows.h>

// Backs the current company's database and settings file up into a
// time-stamped folder the user picks; 1 when the backup was made.
int QlBackupCreate(HWND owner);
// Restores the current company's database and settings file from a backup
// the user picks and shows the outcome.
void QlBackupRestore(HWND owner);
// Clears every transaction of the current company, after asking whether to
// back up first: Yes backs up (and clears only when the backup was made), No
// clears without a backup, Cancel clears nothing.
void QlTransCleardown(HWND owner);
