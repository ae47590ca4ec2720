#include "QlSeams.h"

#include <mmsystem.h>
#include <shellapi.h>

#include "QlMsgDialog.h"

QlMessageBoxFn QlSeamMessageBox = MessageBoxA;
QlFileDialogFn QlSeamGetOpenFileName = GetOpenFileNameA;
QlFileDialogFn QlSeamGetSaveFileName = GetSaveFileNameA;
QlBrowseFolderFn QlSeamBrowseForFolder = SHBrowseForFolderA;
QlShellExecuteFn QlSeamShellExecute = ShellExecuteA;
QlPrintDialogFn QlSeamPrintDialog = PrintDlgA;
QlPlaySoundFn QlSeamPlaySound = PlaySoundA;
QlMsgDialogFn QlSeamMsgDialog = QlMsgDialogRun;

void QlSeamsReset(void)
{
    QlSeamMessageBox = MessageBoxA;
    QlSeamGetOpenFileName = GetOpenFileNameA;
    QlSeamGetSaveFileName = GetSaveFileNameA;
    QlSeamBrowseForFolder = SHBrowseForFolderA;
    QlSeamShellExecute = ShellExecuteA;
    QlSeamPrintDialog = PrintDlgA;
    QlSeamPlaySound = PlaySoundA;
    QlSeamMsgDialog = QlMsgDialogRun;
}
