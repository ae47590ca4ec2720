// Backup, restore and cleardown are not part of the program yet: nothing is
// copied or cleared, and no backup counts as made.
#include "shell/QlBackup.h"

int QlBackupCreate(HWND owner)
{
    return 0;
}

void QlBackupRestore(HWND owner)
{
}

void QlTransCleardown(HWND owner)
{
}
