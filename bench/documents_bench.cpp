// Invoice PDF benchmark: a 20-page product invoice (200 lines) written by
// the invoice PDF writer from a filled invoice form (QlInvSavePdf, no
// dialog), against the same pages drawn with libharu directly: the same
// texts at the same places and the same lines and rectangles, from an array
// of the lines instead of the form.  Each side writes its file kRuns times;
// the best and the mean time of one document are printed with the ratio.
// Prints its figures; asserts nothing about speed.

#include "BenchSupport.h"
#include "core/QlPlatform.h"
#include "documents/QlDocOutput.h"
#include "resources/QlResTrans.h"
#include "settings/QlSettings.h"

#include <commctrl.h>
#include <hpdf.h>
#include <stdio.h>
#include <string.h>
#include <string>
#include <vector>

static const int kLines = 200;
static const int kRuns = 10;

struct Row {
    std::string cells[9];
};

static std::vector<Row> MakeRows()
{
    std::vector<Row> rows;
    for (int i = 0; i < kLines; i++) {
        char code[8], descr[64], price[16], net[16], tax[16];
        snprintf(code, sizeof code, "P%03d", i);
        snprintf(descr, sizeof descr, "Brass fitting number %d", i);
        snprintf(price, sizeof price, "%d.%02d", 1 + i / 10, i % 100);
        snprintf(net, sizeof net, "%d.%02d", 3 + i / 5, i % 100);
        snprintf(tax, sizeof tax, "%d.%02d", i / 20, i % 100);
        rows.push_back({{code, descr, "3", "23.00", "0", price, "0.00", net, tax}});
    }
    return rows;
}

static INT_PTR CALLBACK FormProc(HWND, UINT msg, WPARAM, LPARAM)
{
    return msg == WM_INITDIALOG;
}

static HWND MakeForm(HWND host, const std::vector<Row> &rows)
{
    HWND form = CreateDialogParamA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(IDD_TRANS_FORM), host, FormProc, 0);
    if (!form) return NULL;
    const char *texts[][2] = {{"1155", " Invoice No:"}, {"1156", " Invoice Date:"}, {"1157", " A/C Ref:"},
                              {"1184", "INVOICE"},      {"1158", "12"},             {"1159", "JO001"},
                              {"1173", "Joe's Plumbing"}, {"1028", "1 High Street"}, {"1163", "1234.00"},
                              {"1164", "283.82"},       {"1168", "Euro / Gross:"},   {"1170", "1517.82"}};
    for (auto &t : texts) SetDlgItemTextA(form, atoi(t[0]), t[1]);
    HWND list = GetDlgItem(form, IDL_DOC_LINES);
    for (int c = 0; c < 9; c++) {
        LVCOLUMNA column = {};
        column.mask = LVCF_WIDTH;
        column.cx = 50;
        SendMessageA(list, LVM_INSERTCOLUMNA, c, (LPARAM)&column);
    }
    for (size_t r = 0; r < rows.size(); r++) {
        LVITEMA item = {};
        item.mask = LVIF_TEXT;
        item.iItem = (int)r;
        item.pszText = (char *)rows[r].cells[0].c_str();
        SendMessageA(list, LVM_INSERTITEMA, 0, (LPARAM)&item);
        for (int c = 1; c < 9; c++) {
            LVITEMA sub = {};
            sub.iSubItem = c;
            sub.pszText = (char *)rows[r].cells[c].c_str();
            SendMessageA(list, LVM_SETITEMTEXTA, r, (LPARAM)&sub);
        }
    }
    return form;
}

// The same pages with libharu alone: header texts and boxes on page one,
// twenty pages of ten rows in a ruled table of the product columns with
// their titles, page numbers, the continuation line and the totals.
static int DirectPdf(const char *native, const std::vector<Row> &rows)
{
    HPDF_Doc doc = HPDF_New(NULL, NULL);
    if (!doc) return 0;
    HPDF_Font font = HPDF_GetFont(doc, "Helvetica", "WinAnsiEncoding");
    static const int percent[7] = {7, 41, 7, 15, 15, 15, 1};
    static const int listColumns[6] = {0, 1, 2, 5, 7, 8};
    static const char *titles[6] = {"Code", "Details", "QTY", "Unit Price", "Net", "VAT"};
    const int pages = (int)(rows.size() + 9) / 10;
    size_t next = 0;
    for (int p = 0; p < pages; p++) {
        HPDF_Page page = HPDF_AddPage(doc);
        HPDF_Page_SetSize(page, HPDF_PAGE_SIZE_A4, HPDF_PAGE_PORTRAIT);
        HPDF_Page_SetFontAndSize(page, font, p == 0 ? 9 : 10);
        const float W = HPDF_Page_GetWidth(page), H = HPDF_Page_GetHeight(page), u = H * 25.4f / 297;
        float top = H - u;
        if (p == 0) {
            HPDF_Page_BeginText(page);
            const char *company[] = {"Quillory Ltd", "1 Mill Lane", "Dublin 8", "", "Tel: 01 555 0199"};
            for (int i = 0; i < 5; i++) HPDF_Page_TextOut(page, u, H - u - 10 - 15 * i, company[i]);
            HPDF_Page_EndText(page);
            HPDF_Page_Rectangle(page, u, H - u - 155, (W - 2 * u) / 2, 70);
            HPDF_Page_Rectangle(page, W - u - 189.5f, H - u - 25, 189.5f, 25);
            for (int i = 0; i < 3; i++) HPDF_Page_Rectangle(page, W - u - 94.8f, H - u - 75 - 37.5f * i, 94.8f, 25);
            HPDF_Page_Stroke(page);
            HPDF_Page_BeginText(page);
            HPDF_Page_TextOut(page, W - u - 120, H - u - 18, "INVOICE");
            const char *values[] = {"12", "5/03/2025", "JO001"};
            for (int i = 0; i < 3; i++) {
                HPDF_Page_TextOut(page, W - u - 189.5f, H - u - 65 - 37.5f * i, " Invoice No:");
                HPDF_Page_TextOut(page, W - u - 89.8f, H - u - 70 - 37.5f * i, values[i]);
            }
            HPDF_Page_EndText(page);
            top = 589.89f;
        } else {
            char number[40];
            snprintf(number, sizeof number, "Page %d of %d", p + 1, pages);
            HPDF_Page_BeginText(page);
            HPDF_Page_TextOut(page, W - u - 60, H - 25, number);
            HPDF_Page_EndText(page);
        }
        const int n = (int)std::min<size_t>(10, rows.size() - next);
        float x[7];
        x[0] = u;
        for (int c = 1; c < 7; c++) x[c] = x[c - 1] + (int)((W - 2 * u) * percent[c - 1] / 100);
        x[6] = W - u;
        const float bottom = top - 26 * (n + 1);
        for (int r = 0; r <= n + 1; r++) {
            HPDF_Page_MoveTo(page, u, top - 26 * r);
            HPDF_Page_LineTo(page, W - u, top - 26 * r);
        }
        for (int c = 0; c < 7; c++) {
            HPDF_Page_MoveTo(page, x[c], top);
            HPDF_Page_LineTo(page, x[c], bottom);
        }
        HPDF_Page_Stroke(page);
        HPDF_Page_BeginText(page);
        for (int c = 0; c < 6; c++) HPDF_Page_TextOut(page, x[c] + 2, top - 10, titles[c]);
        for (int r = 0; r < n; r++, next++)
            for (int c = 0; c < 6; c++) {
                const char *text = rows[next].cells[listColumns[c]].c_str();
                const float y = top - 26 * (r + 1) - 10;
                if (c == 1 || c == 0)
                    HPDF_Page_TextOut(page, x[c] + 2, y, text);
                else
                    HPDF_Page_TextOut(page, x[c + 1] - 2 - HPDF_Page_TextWidth(page, text), y, text);
            }
        if (p < pages - 1) HPDF_Page_TextOut(page, W / 2 - 60, u - 12, "* Continued on next page *");
        HPDF_Page_EndText(page);
        if (p == pages - 1) {
            HPDF_Page_Rectangle(page, x[3], bottom - 57, W - u - x[3], 52);
            HPDF_Page_Stroke(page);
            HPDF_Page_BeginText(page);
            HPDF_Page_TextOut(page, x[3] + 2, bottom - 15, "Total");
            HPDF_Page_TextOut(page, x[5] + 2, bottom - 15, "1517.82");
            HPDF_Page_EndText(page);
        }
    }
    const int ok = HPDF_SaveToFile(doc, native) == HPDF_OK;
    HPDF_Free(doc);
    return ok;
}

struct Timing {
    double best = 1e9, total = 0;
    void add(double t)
    {
        if (t < best) best = t;
        total += t;
    }
};

int main()
{
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_LISTVIEW_CLASSES | ICC_DATE_CLASSES | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&icc);
    char folder[MAX_PATH];
    GetTempPathA(sizeof folder, folder);
    strcat(folder, "ql-documents-bench");
    CreateDirectoryA(folder, NULL);
    SetCurrentDirectoryA(folder);

    QlSettingsRec &cfg = QlSettings.cfg;
    memset(&cfg, 0, sizeof cfg);
    strcpy(cfg.companyName, "Quillory Ltd");
    strcpy(cfg.address1, "1 Mill Lane");
    strcpy(cfg.address2, "Dublin 8");
    strcpy(cfg.telephone, "01 555 0199");
    strcpy(cfg.taxName, "VAT");
    strcpy(cfg.currency, "Euro");

    const std::vector<Row> rows = MakeRows();
    HWND host = CreateWindowA("STATIC", "", WS_OVERLAPPEDWINDOW, 0, 0, 800, 600, NULL, NULL, NULL, NULL);
    HWND form = MakeForm(host, rows);
    if (!form) {
        printf("cannot make the invoice form\n");
        return 1;
    }
    char native[MAX_PATH * 4];
    if (!QlPathToNative("direct.pdf", native, sizeof native)) return 1;

    Timing writer, direct;
    for (int run = 0; run < kRuns; run++) {
        char path[QL_DOC_PATH_SIZE];
        int status;
        double t0 = BenchSeconds();
        if (!QlInvSavePdf(form, 1, path, 0, &status)) {
            printf("the invoice PDF writer failed (status %d)\n", status);
            return 1;
        }
        double t1 = BenchSeconds();
        if (!DirectPdf(native, rows)) {
            printf("libharu failed\n");
            return 1;
        }
        double t2 = BenchSeconds();
        writer.add(t1 - t0);
        direct.add(t2 - t1);
    }
    HANDLE file = CreateFileA("INVOICE12.pdf", GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    DWORD size = file != INVALID_HANDLE_VALUE ? GetFileSize(file, NULL) : 0;
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    printf("invoice PDF, %d product lines on %d pages, %lu bytes\n", kLines, (kLines + 9) / 10, (unsigned long)size);
    printf("invoice PDF writer (form, QlInvSavePdf): best %.2f ms, mean %.2f ms\n", writer.best * 1000,
           writer.total / kRuns * 1000);
    printf("libharu directly (same pages from an array): best %.2f ms, mean %.2f ms\n", direct.best * 1000,
           direct.total / kRuns * 1000);
    printf("ratio invoice PDF / libharu: %.2f (best), %.2f (mean)\n", writer.best / direct.best,
           writer.total / direct.total);
    DestroyWindow(host);
    DeleteFileA("INVOICE12.pdf");
    DeleteFileA("direct.pdf");
    SetCurrentDirectoryA("..");
    RemoveDirectoryA(folder);
    return 0;
}
