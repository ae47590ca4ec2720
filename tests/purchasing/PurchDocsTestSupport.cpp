#include "QlGTest.h"
#include "PurchDocsTestSupport.h"
#include "QlTestPlatform.h"

#include "QlTestFiles.h"
#include "QlTestPrint.h"
#include "QlTestWindows.h"

#include "ui/QlAppState.h"
#include "core/QlPlatform.h"
#include "datastore/QlDbTables.h"
#include "purchasing/QlSuppCurrent.h"

#include <commctrl.h>
#include <stdio.h>
#include <string.h>
#include <vector>

void PurchTest::SetUp()
{
    FormTest::SetUp();
    char dir[MAX_PATH] = "";
    GetCurrentDirectoryA(sizeof dir, dir);
    savedDir = dir;
    SetCurrentDirectoryA(folder.c_str());
    savedWorkDir = QlWorkDir;
    snprintf(QlWorkDir, sizeof QlWorkDir, "%s", folder.c_str());
    memset(&QlSuppCurrent, 0, sizeof QlSuppCurrent);
    supplier = AddSupplier("SU001", "Pipes & Co");
    suppliers = QlTestHostWindow();
    QlTestAddList(suppliers, 1397, 3, 0);
}

void PurchTest::TearDown()
{
    QlSuppWnd = NULL;
    if (suppliers) DestroyWindow(suppliers);
    SetCurrentDirectoryA(savedDir.c_str());
    snprintf(QlWorkDir, sizeof QlWorkDir, "%s", savedWorkDir.c_str());
    FormTest::TearDown();
}

int64_t PurchTest::AddSupplier(const char *acref, const char *company, const char *email)
{
    QlSuppRec rec = {};
    DbTestSet(rec.acref, acref);
    DbTestSet(rec.company, company);
    DbTestSet(rec.addr1, "4 Mill Lane");
    DbTestSet(rec.addr2, "Brassington");
    DbTestSet(rec.addr3, "BR4 9XY");
    DbTestSet(rec.wemail, email);
    EXPECT_EQ(1, QlSuppAdd(&rec, err)) << err;
    return rec.iKey;
}

void PurchTest::FocusSupplier(int64_t key)
{
    HWND list = GetDlgItem(suppliers, 1397);
    SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
    LVITEMA item = {};
    item.mask = LVIF_TEXT;
    item.pszText = (char *)"SU001";
    SendMessageA(list, LVM_INSERTITEMA, 0, (LPARAM)&item);
    QlTestSetCell(list, 0, 2, std::to_string(key).c_str());
    if (key) {
        LVITEMA state = {};
        state.stateMask = LVIS_FOCUSED | LVIS_SELECTED;
        state.state = LVIS_FOCUSED | LVIS_SELECTED;
        SendMessageA(list, LVM_SETITEMSTATE, 0, (LPARAM)&state);
    }
    QlSuppWnd = suppliers;
}

int64_t PurchTest::AddStock(const char *code, const char *supplierCode, const char *name, int units, int hundredths,
                            const char *barcode)
{
    QlProdRec rec = {};
    DbTestSet(rec.scode, code);
    DbTestSet(rec.supplier_code, supplierCode);
    DbTestSet(rec.name, name);
    DbTestSet(rec.barcode, barcode);
    rec.purchase_price_units = units;
    rec.purchase_price_hundredths = (uint32_t)hundredths;
    rec.unit_price_units = units * 2;
    rec.stock_qty = 5;
    EXPECT_EQ(1, QlProdAddRec(&rec, err)) << err;
    return rec.iKey;
}

std::vector<std::string> PurchTest::Row(int row) const
{
    std::vector<std::string> cells;
    HWND header = (HWND)SendMessageA(Lines(), LVM_GETHEADER, 0, 0);
    int columns = (int)SendMessageA(header, HDM_GETITEMCOUNT, 0, 0);
    for (int c = 0; c < columns; c++) cells.push_back(QlTestGetCell(Lines(), row, c));
    return cells;
}

void PurchTest::FocusRow(int row)
{
    LVITEMA item = {};
    item.stateMask = LVIS_FOCUSED | LVIS_SELECTED;
    item.state = LVIS_FOCUSED | LVIS_SELECTED;
    SendMessageA(Lines(), LVM_SETITEMSTATE, row, (LPARAM)&item);
}

// Whether the picture's part under the child window holds more than one
// colour (bits: 24-bit rows, bottom-up, of the window's whole rectangle).
static bool ChildPainted(HWND window, HWND child, const std::vector<BYTE> &bits, int width, int height, int stride)
{
    RECT outer, r;
    GetWindowRect(window, &outer);
    if (!child || !GetWindowRect(child, &r)) return false;
    OffsetRect(&r, -outer.left, -outer.top);
    RECT whole = {0, 0, width, height};
    if (!IntersectRect(&r, &r, &whole)) return false;
    const BYTE *first = &bits[(size_t)(height - 1 - r.top) * stride + (size_t)r.left * 3];
    for (int y = r.top; y < r.bottom; y++) {
        const BYTE *row = &bits[(size_t)(height - 1 - y) * stride];
        for (int x = r.left; x < r.right; x++)
            if (memcmp(row + (size_t)x * 3, first, 3) != 0) return true;
    }
    return false;
}

bool SaveWindowPng(HWND window, const std::string &name, const std::vector<HWND> &painted)
{
    std::string dir = QlTestArtifactDir();
    if (dir.empty()) return false;
    // Everything painted now, read from the window's own surface (which
    // holds what it painted even before the screen shows it).
    RedrawWindow(window, NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    GdiFlush();
    RECT r;
    GetWindowRect(window, &r);
    const int width = r.right - r.left, height = r.bottom - r.top;
    if (width <= 0 || height <= 0) return false;
    HDC source = GetWindowDC(window);
    HDC memory = CreateCompatibleDC(source);
    HBITMAP bitmap = CreateCompatibleBitmap(source, width, height);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, source, 0, 0, SRCCOPY);
    SelectObject(memory, previous);
    ReleaseDC(window, source);

    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    const int stride = (width * 3 + 3) & ~3;
    std::vector<BYTE> bits((size_t)stride * height);
    bool ok = GetDIBits(memory, bitmap, 0, height, bits.data(), &info, DIB_RGB_COLORS) != 0;
    DeleteObject(bitmap);
    DeleteDC(memory);

    // A window drawn black, or a part of it left unpainted, is no picture
    // of what the user sees.
    size_t black = 0;
    for (int y = 0; y < height; y++)
        for (int x = 0; x < width; x++) {
            const BYTE *p = &bits[(size_t)y * stride + (size_t)x * 3];
            black += p[0] == 0 && p[1] == 0 && p[2] == 0;
        }
    if (ok && black * 2 > (size_t)width * height) {
        ADD_FAILURE() << name << ": mostly black";
        ok = false;
    }
    for (HWND child : painted) {
        if (ok && !ChildPainted(window, child, bits, width, height, stride)) {
            ADD_FAILURE() << name << ": control " << GetDlgCtrlID(child) << " shows one flat colour";
            ok = false;
        }
    }

    std::string png = dir + "/" + name, bmp = png + ".bmp";
    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info.bmiHeader;
    file.bfSize = file.bfOffBits + (DWORD)bits.size();
    FILE *out = fopen(bmp.c_str(), "wb");
    if (!out) return false;
    bool written = fwrite(&file, sizeof file, 1, out) == 1 && fwrite(&info.bmiHeader, sizeof info.bmiHeader, 1, out) == 1 &&
                   fwrite(bits.data(), bits.size(), 1, out) == 1;
    written = fclose(out) == 0 && written;
    if (!written) {
        remove(bmp.c_str());
        return false;
    }
    return QlTestBmpToPng(bmp, png) && ok;
}
