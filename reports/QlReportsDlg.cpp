// The Reports dialog (193): the list of reports, the selected one's
// description, and Print and Export, which call the selected report's
// functions through two tables.  The tax report's entry in both opens its
// window in place of this dialog.  A report whose print or export is not
// part of the program has no function there, and its button is disabled.

#include "reports/QlCsvExports.h"
#include "reports/QlListReports.h"
#include "reports/QlRepTexts.h"
#include "reports/QlReportTables.h"
#include "reports/QlReportsOpen.h"
#include "reports/QlVatReport.h"

#include "ui/QlAppState.h"
#include "print/QlPicture.h"
#include "ui/QlWindow.h"
#include "resources/QlResReports.h"
#include "settings/QlLangTables.h"
#include "settings/QlSettings.h"

#include <stdio.h>
#include <string.h>

typedef int (*QlReportFn)(HWND owner);

static const QlReportFn QlReportPrintTable[QL_REPORT_COUNT] = {
    QlVatReportShow,       QlReportPrintCust,    QlReportPrintTransAll, QlReportPrintInvoices,
    QlReportPrintCredits,  QlReportPrintPayments, QlReportPrintProd,    QlReportPrintServ};
static const QlReportFn QlReportExportTable[QL_REPORT_COUNT] = {
    QlVatReportShow, QlCsvExportCust, QlCsvExportTrans, QlCsvExportInvoices, QlCsvExportCredits, QlCsvExportPayments,
    QlCsvExportProd, QlCsvExportServ};

// The report selected last, kept for the whole run.
static int gSelected;

void QlReportSetDescription(HWND dialog, int id, int index, const char **texts)
{
    SetDlgItemTextA(dialog, id, texts[index]);
}

// The tax report's name: the tax name and the word "Report", or the fixed
// French name.
static void BuildTaxName(void)
{
    memset(QlReportTaxName, 0, sizeof QlReportTaxName);
    if (QlSettings.cfg.language == QL_LANG_FRENCH) {
        strcpy(QlReportTaxName, "Rapport de TVA");
        return;
    }
    const char *tax = QlSettings.cfg.taxName;
    snprintf(QlReportTaxName, sizeof QlReportTaxName, "%.*s %s", (int)strnlen(tax, sizeof QlSettings.cfg.taxName), tax,
             QlRepText()->ReportWord);
}

static void ShowSelected(HWND dialog)
{
    QlReportSetDescription(dialog, IDT_REPORTS_DESC, gSelected, QlReportDescTable);
    EnableWindow(GetDlgItem(dialog, IDB_REPORTS_PRINT), QlReportPrintTable[gSelected] != NULL);
    EnableWindow(GetDlgItem(dialog, IDB_REPORTS_EXPORT), QlReportExportTable[gSelected] != NULL);
}

static INT_PTR OnInitDialog(HWND dialog)
{
    const QlRepTextRec *text = QlRepText();
    QlUiCenterWindow(dialog);
    SetWindowTextA(dialog, text->Caption);
    SetDlgItemTextA(dialog, IDB_REPORTS_PRINT, text->Print);
    SetDlgItemTextA(dialog, IDB_REPORTS_EXPORT, text->Export);
    SetDlgItemTextA(dialog, IDB_REPORTS_CLOSE, text->Close);
    BuildTaxName();
    QlUiListBoxFill(dialog, IDL_REPORTS_LIST, QlReportNameTable, gSelected);
    ShowSelected(dialog);
    return TRUE;
}

static void Run(HWND dialog, const QlReportFn *table)
{
    if (table[gSelected]) table[gSelected](dialog);
}

INT_PTR CALLBACK QlReportsDlgProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_INITDIALOG:
        return OnInitDialog(dialog);
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDL_REPORTS_LIST:
            if (HIWORD(wParam) == LBN_SELCHANGE) {
                LRESULT selected = SendDlgItemMessageA(dialog, IDL_REPORTS_LIST, LB_GETCURSEL, 0, 0);
                if (selected >= 0 && selected < QL_REPORT_COUNT) {
                    gSelected = (int)selected;
                    ShowSelected(dialog);
                }
            }
            return TRUE;
        case IDB_REPORTS_PRINT: Run(dialog, QlReportPrintTable); return TRUE;
        case IDB_REPORTS_EXPORT: Run(dialog, QlReportExportTable); return TRUE;
        case IDB_REPORTS_CLOSE:
        case IDCANCEL: EndDialog(dialog, 0); return TRUE;
        }
        return FALSE;
    case WM_CTLCOLORSTATIC:
        if ((HWND)lParam == GetDlgItem(dialog, IDT_REPORTS_DESC)) {
            SetTextColor((HDC)wParam, RGB(0, 0, 0));
            SetBkColor((HDC)wParam, RGB(255, 255, 255));
            return (INT_PTR)(QlBrushWhite ? QlBrushWhite : GetStockObject(WHITE_BRUSH));
        }
        return FALSE;
    }
    return FALSE;
}

INT_PTR QlReportsShow(HWND mainWindow)
{
    QlUiDestroyModule();
    return DialogBoxParamA(QlUiInstance(), MAKEINTRESOURCEA(IDD_REPORTS),
                           mainWindow, QlReportsDlgProc, 0);
}

void QlReportExportProd(HWND productsWindow)
{
    QlCsvExportProd(productsWindow);
}
