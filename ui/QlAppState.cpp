#include "QlAppState.h"

HINSTANCE QlAppInstance = NULL;
HWND QlMainWnd = NULL;
HWND QlModuleWnd = NULL;
char QlWorkDir[MAX_PATH] = "";

HBRUSH QlBrushModuleBack = NULL;
HBRUSH QlBrushWhite = NULL;
HBRUSH QlBrushGreen = NULL;
HPEN QlPenRed = NULL;
HFONT QlFontWide12 = NULL;
HFONT QlFontWide10 = NULL;
HFONT QlFontToolbar = NULL;
HFONT QlFontBold12 = NULL;

char *QlPercentTextTable[100];

int QlRestoreWorkDir(void)
{
    if (!QlWorkDir[0]) return 0;
    return SetCurrentDirectoryA(QlWorkDir) ? 1 : 0;
}
