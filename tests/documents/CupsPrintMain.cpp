// Prints an invoice as the program does (QlInvPrint on a filled invoice
// form) on a real printer: the printer device context of the queue named on
// the command line, as Wine's printer driver makes it for a CUPS queue.
// Only the print dialog is answered here; everything after it (StartDoc,
// the pages, EndDoc and the job handed to CUPS) is Wine's and CUPS's own.
// The smoke test (DocCupsTest.cpp) runs it with CUPS_SERVER pointing at a
// cupsd of its own: Wine's spooler reads the CUPS queues when winspool is
// loaded, so the variable must be set before this process starts.
//
// Prints "PRINTED <result> <device caps>" and ends with 0 when QlInvPrint
// printed the document.
#include <windows.h>
#include <commctrl.h>
#include <winspool.h>
#include <stdio.h>
#include <string.h>
#include <string>

#include "ui/QlSeams.h"
#include "documents/QlDocOutput.h"
#include "resources/QlResTrans.h"
#include "settings/QlSettings.h"

static const char *sQueue = "QLPDF";
static int sDialogs;

static BOOL WINAPI PrinterOfTheQueue(LPPRINTDLGA pd)
{
    sDialogs++;
    // As the print dialog does: the spooler lists the printers (Wine's reads
    // the CUPS queues then), and the chosen one gives its device context.
    HANDLE printer = NULL;
    if (!OpenPrinterA((char *)sQueue, &printer, NULL)) {
        printf("NO-PRINTER %s (error %lu)\n", sQueue, (unsigned long)GetLastError());
        return FALSE;
    }
    ClosePrinter(printer);
    pd->hDC = CreateDCA(NULL, sQueue, NULL, NULL);
    if (!pd->hDC) printf("NO-DC %s (error %lu)\n", sQueue, (unsigned long)GetLastError());
    return pd->hDC != NULL;
}

static INT_PTR CALLBACK FormProc(HWND, UINT msg, WPARAM, LPARAM)
{
    return msg == WM_INITDIALOG;
}

static void Cell(HWND list, int row, int column, const char *text)
{
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = (char *)text;
    if (column == 0) {
        item.mask = LVIF_TEXT;
        item.iItem = row;
        SendMessageA(list, LVM_INSERTITEMA, 0, (LPARAM)&item);
    } else {
        SendMessageA(list, LVM_SETITEMTEXTA, row, (LPARAM)&item);
    }
}

int main(int argc, char **argv)
{
    if (argc > 1) sQueue = argv[1];
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_LISTVIEW_CLASSES | ICC_DATE_CLASSES | ICC_PROGRESS_CLASS | ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);

    QlSettingsRec &cfg = QlSettings.cfg;
    memset(&cfg, 0, sizeof cfg);
    strcpy(cfg.companyName, "Quillory Ltd");
    strcpy(cfg.address1, "1 Mill Lane");
    strcpy(cfg.address2, "Dublin 8");
    strcpy(cfg.telephone, "01 555 0199");
    strcpy(cfg.taxName, "VAT");
    strcpy(cfg.currency, "Euro");
    strcpy(cfg.dateFormat, "d/MM/yyyy");
    strcpy(cfg.bottomLines[0], "Payment within 30 days");
    cfg.printBottomLines = 1;
    cfg.printTotalInWords = 1;
    cfg.bottomPointSize = 7;

    // The form is a child window, as in the program's main window.
    HWND host = CreateWindowA("STATIC", "", WS_OVERLAPPEDWINDOW, 0, 0, 800, 600, NULL, NULL, NULL, NULL);
    HWND form = CreateDialogParamA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(IDD_TRANS_FORM), host, FormProc, 0);
    if (!form) {
        printf("NO-FORM (error %lu)\n", (unsigned long)GetLastError());
        return 1;
    }
    const char *texts[][2] = {{"1155", " Invoice No:"}, {"1156", " Invoice Date:"}, {"1157", " A/C Ref:"},
                              {"1184", "INVOICE"},      {"1158", "4711"},           {"1159", "JO001"},
                              {"1173", "Joe's Plumbing"}, {"1028", "1 High Street"}, {"1029", "Cork"},
                              {"1162", "Total"},        {"1163", "170.00"},         {"1164", "39.10"},
                              {"1168", "Euro / Gross:"}, {"1170", "209.10"}};
    for (auto &t : texts) SetDlgItemTextA(form, atoi(t[0]), t[1]);
    HWND list = GetDlgItem(form, IDL_DOC_LINES);
    for (int c = 0; c < 7; c++) {
        LVCOLUMNA column = {};
        column.mask = LVCF_WIDTH;
        column.cx = 60;
        SendMessageA(list, LVM_INSERTCOLUMNA, c, (LPARAM)&column);
    }
    const char *rows[2][7] = {{"Consulting", "23.00", "10", "100.00", "10.00", "90.00", "20.70"},
                              {"Travel", "23.00", "0", "80.00", "0.00", "80.00", "18.40"}};
    for (int r = 0; r < 2; r++)
        for (int c = 0; c < 7; c++) Cell(list, r, c, rows[r][c]);

    QlSeamPrintDialog = PrinterOfTheQueue;
    const int printed = QlInvPrint(form, 0, 0);
    printf("PRINTED %d dialogs %d\n", printed, sDialogs);
    fflush(stdout);
    DestroyWindow(host);
    return printed == 1 ? 0 : 1;
}
