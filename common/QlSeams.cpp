#include "QlSeams.h"

#include <mmsystem.h>
#include <shellapi.h>

QlMessageBoxFn QlSeamMessageBox = MessageBoxA;
QlFileDialogFn QlSeamGetOpenFileName = GetOpenFileNameA;
QlFileDialogFn QlSeamGetSaveFileName = GetSaveFileNameA;
QlBrowseFolderFn QlSeamBrowseForFolder = SHBrowseForFolderA;
QlShellExecuteFn QlSeamShellExecute = ShellExecuteA;
QlPrintDialogFn QlSeamPrintDialog = PrintDlgA;
QlPlaySoundFn QlSeamPlaySound = PlaySoundA;

void QlSeamsReset(void)
{
    QlSeamMessageBox = MessageBoxA;
    QlSeamGetOpenFileName = GetOpenFileNameA;
    QlSeamGetSaveFileName = GetSaveFileNameA;
    QlSeamBrowseForFolder = SHBrowseForFolderA;
    QlSeamShellExecute = ShellExecuteA;
    QlSeamPrintDialog = PrintDlgA;
    QlSeamPlaySound = PlaySoundA;
}
