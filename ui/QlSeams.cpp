#include "QlSeams.h"

#include <mmsystem.h>
#include <shellapi.h>

#include "QlMsgDialog.h"
#include "QlWideFileDialog.h"

QlMessageBoxFn QlSeamMessageBox = MessageBoxA;
QlFileDialogFn QlSeamGetOpenFileName = QlGetOpenFileNameWide;
QlFileDialogFn QlSeamGetSaveFileName = QlGetSaveFileNameWide;
QlBrowseFolderFn QlSeamBrowseForFolder = SHBrowseForFolderA;
QlShellExecuteFn QlSeamShellExecute = ShellExecuteA;
QlPrintDialogFn QlSeamPrintDialog = PrintDlgA;
QlPlaySoundFn QlSeamPlaySound = PlaySoundA;
QlMsgDialogFn QlSeamMsgDialog = QlMsgDialogRun;

void QlSeamsReset(void)
{
    QlSeamMessageBox = MessageBoxA;
    QlSeamGetOpenFileName = QlGetOpenFileNameWide;
    QlSeamGetSaveFileName = QlGetSaveFileNameWide;
    QlSeamBrowseForFolder = SHBrowseForFolderA;
    QlSeamShellExecute = ShellExecuteA;
    QlSeamPrintDialog = PrintDlgA;
    QlSeamPlaySound = PlaySoundA;
    QlSeamMsgDialog = QlMsgDialogRun;
}
