// Helpers shared by the account screens' printers and file writers.

#include "customers/QlCustOutput.h"

#include "ui/QlAppState.h"
#include "print/QlGrid.h"
#include "ui/QlSeams.h"

#include <string.h>

HFONT QlCustPrintFont(HDC dc, int points, int weight)
{
    LOGFONTA lf;
    memset(&lf, 0, sizeof lf);
    lf.lfHeight = -MulDiv(points, GetDeviceCaps(dc, LOGPIXELSY), 72);
    lf.lfWeight = weight;
    strcpy(lf.lfFaceName, "Arial");
    return CreateFontIndirectA(&lf);
}

int QlCustPrintLineHeight(HDC dc)
{
    SIZE size = {0, 0};
    GetTextExtentPoint32A(dc, "E", 1, &size);
    return size.cy;
}

int QlCustGridCellText(HDC dc, const QlGridRec *grid, const char *text, int row, int column, UINT format)
{
    RECT r;
    if (!text || !QlGridCellRect(grid, row, column, format, NULL, &r)) return 0;
    int insetX = MulDiv(10, GetDeviceCaps(dc, LOGPIXELSX), 600);
    int insetY = MulDiv(10, GetDeviceCaps(dc, LOGPIXELSY), 600);
    if (insetX < 2) insetX = 2;
    if (insetY < 2) insetY = 2;
    // QlGridCellRect insets by 10 pixels: move the edges to the device's own.
    r.left += insetX - 10;
    r.right -= insetX - 10;
    r.top += insetY - 10;
    // Whole: wrapped or set smaller, never cut.
    return QlPrintFitCellText(dc, text, r, format);
}

int QlCustAskSavePath(HWND owner, int kind, char *path, const char *title, const char *filter, const char *extension)
{
    // Without a working folder there is none to go back to.
    return QlAskSavePath(owner, kind, path, MAX_PATH, title, filter, extension,
                         QlWorkDir[0] ? "Cannot change directory" : NULL);
}
