// The tax report window and what it prints and exports.
//
// A load lists the enabled invoices and credit notes that carry tax, keeping
// those whose date lies in the range (both ends included, dates compared as
// dates), and sums the net and tax columns into the two totals.  A
// document's tax is its lines' tax and its carriage's tax, its net what its
// gross holds besides; a credit note's amounts are listed negative, so that
// it lowers the totals.  The rows are kept in memory in the order the
// database gives them (document numbers) and the list shows them as an
// owner-data list; Print and Export read everything back from the list, so
// they always show what the window shows.

#include "reports/QlVatReport.h"

#include "reports/QlListReports.h"
#include "reports/QlRepTexts.h"
#include "reports/QlReportTables.h"

#include "ui/QlAppState.h"
#include "print/QlGrid.h"
#include "ui/QlListView.h"
#include "ui/QlMoneyControls.h"
#include "ui/QlMsgDialog.h"
#include "core/QlPlatform.h"
#include "ui/QlSaveDialog.h"
#include "ui/QlSeams.h"
#include "ui/QlToolbar.h"
#include "ui/QlWindow.h"
#include "datastore/QlDb.h"
#include "datastore/QlDbTables.h"
#include "resources/QlResIds.h"
#include "settings/QlSettings.h"

#include <commctrl.h>
#include <commdlg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

QlVatReportRangeRec QlVatReportRange;

enum { CMD_PRINT, CMD_EXPORT, CMD_CLOSE, CMD_COUNT };

// clang-format off
static QlToolbarItem sToolbarItems[CMD_COUNT] = {
    {IDBMP_PRINT, CMD_PRINT, NULL, "Print"},
    {IDBMP_EXPORT, CMD_EXPORT, NULL, "Export"},
    {IDBMP_CLOSE, CMD_CLOSE, NULL, "Close"},
};
// clang-format on
static HWND sToolbar;

static const int kColumnWidths[QL_VAT_COLUMNS] = {80, 75, 75, 210, 90, 90};
static const int kColumnFormats[QL_VAT_COLUMNS] = {LVCFMT_LEFT, LVCFMT_LEFT, LVCFMT_LEFT,
                                                   LVCFMT_LEFT, LVCFMT_RIGHT, LVCFMT_RIGHT};
#define COL_DATE 1
#define COL_NET 4
#define COL_TAX 5

// The printed grid: column widths in percent, then the two closing entries.
static const int kPrintPercent[] = {15, 15, 15, 25, 15, 15, 1, 1};

#define FIELD(f) (int)strnlen((f), sizeof(f)), (f)

// The tax name of the settings ("VAT").
static void TaxName(char *out, size_t size)
{
    snprintf(out, size, "%.*s", FIELD(QlSettings.cfg.taxName));
}

// The six column titles; the sixth is the tax name (tax, at least 8 bytes).
static void ColumnTitles(const char *titles[QL_VAT_COLUMNS], char *tax, size_t taxSize)
{
    TaxName(tax, taxSize);
    for (int c = 0; c < QL_VAT_COLUMNS - 1; c++) titles[c] = QlRepText()->VatColumns[c];
    titles[QL_VAT_COLUMNS - 1] = tax;
}

// ---------------------------------------------------------------------------
// Loading

static int InRange(const QlDateRec *date)
{
    const QlVatReportRangeRec *r = &QlVatReportRange;
    if (r->mode == 0) return 1;
    if (r->mode != 1) return 0;
    return QlDateIsOnOrAfter(date, &r->from) && QlDateIsOnOrAfter(&r->to, date);
}

// A record's field (not always ended within its width) as a text.
static void CopyField(char *out, size_t size, const char *field, size_t width)
{
    size_t length = strnlen(field, width);
    if (length >= size) length = size - 1;
    memcpy(out, field, length);
    out[length] = '\0';
}

int QlVatReportAmounts(const QlTransRec *rec, int64_t *net, int64_t *tax)
{
    char text[sizeof rec->gross + 1];
    CopyField(text, sizeof text, rec->vat, sizeof rec->vat);
    int64_t lineTax = QlMoneyParseCents(text);
    CopyField(text, sizeof text, rec->carriage_vat, sizeof rec->carriage_vat);
    int64_t carriageTax = QlMoneyParseCents(text);
    CopyField(text, sizeof text, rec->gross, sizeof rec->gross);
    int64_t gross = QlMoneyParseCents(text);
    *tax = lineTax + carriageTax;
    *net = gross - *tax;
    if (rec->type == 2) {
        *tax = -*tax;
        *net = -*net;
    }
    return *tax != 0;
}

// The rows of the last load, in the order the query gave them; the list is
// owner-data and shows them through LVN_GETDISPINFO, so that what it shows,
// prints and exports is read from here.
struct VatRow {
    int64_t key;
    int64_t net, tax;   // cents
    char date[sizeof QlTransRec::date];
    char acref[sizeof QlTransRec::acref];
    char desc[sizeof QlTransRec::desc];
    int credit;   // a credit note: its details say so
};
static VatRow *sRows;
static int sRowCount, sRowCapacity;
static int sOutOfMemory;

static void FreeRows(void)
{
    free(sRows);
    sRows = NULL;
    sRowCount = sRowCapacity = 0;
}

int QlVatReportRowCb(const QlTransRec *rec)
{
    int64_t net, tax;
    if (!QlVatReportAmounts(rec, &net, &tax)) return 0;
    char text[sizeof rec->date + 1];
    CopyField(text, sizeof text, rec->date, sizeof rec->date);
    QlDateRec date;
    QlDateParseDmy(text, &date);
    if (!InRange(&date)) return 0;
    if (!QlVatReportRange.list || sOutOfMemory) return 0;

    if (sRowCount == sRowCapacity) {
        int capacity = sRowCapacity ? sRowCapacity * 2 : 1024;
        VatRow *grown = (VatRow *)realloc(sRows, (size_t)capacity * sizeof *grown);
        if (!grown) {
            sOutOfMemory = 1;
            return 0;
        }
        sRows = grown;
        sRowCapacity = capacity;
    }
    VatRow *row = &sRows[sRowCount++];
    row->key = rec->iKey;
    row->net = net;
    row->tax = tax;
    CopyField(row->date, sizeof row->date, rec->date, sizeof rec->date);
    CopyField(row->acref, sizeof row->acref, rec->acref, sizeof rec->acref);
    CopyField(row->desc, sizeof row->desc, rec->desc, sizeof rec->desc);
    row->credit = rec->type == 2;
    return 0;
}

// A cell of the list as the row shows it.
static void CellText(int index, int column, char *text, size_t size)
{
    text[0] = '\0';
    if (index < 0 || index >= sRowCount || size == 0) return;
    const VatRow *row = &sRows[index];
    switch (column) {
    case 0: snprintf(text, size, QL_I64, row->key); break;
    case COL_DATE: snprintf(text, size, "%s", row->date); break;
    case 2: snprintf(text, size, "%s", row->acref); break;
    case 3:
        // A credit note says so in its details: its amounts lower the totals.
        if (row->credit)
            snprintf(text, size, "%s: %s", QlRepText()->TransTypeNames[2], row->desc);
        else
            snprintf(text, size, "%s", row->desc);
        break;
    case COL_NET: QlMoneyFormatCents(row->net, text, size); break;
    case COL_TAX: QlMoneyFormatCents(row->tax, text, size); break;
    }
}

static void OnGetDispInfo(NMLVDISPINFOA *info)
{
    if (!(info->item.mask & LVIF_TEXT) || !info->item.pszText || info->item.cchTextMax <= 0) return;
    CellText(info->item.iItem, info->item.iSubItem, info->item.pszText, (size_t)info->item.cchTextMax);
}

// The enabled invoices and credit notes through the row function, read row
// by row (the fast way to read many): the columns the report shows, parsed
// by the row parser.  1 when the query ran to its end.
static int ReadDocuments(char *err)
{
    static const char *const kColumns[] = {"iKey", "type", "date", "acref", "desc", "gross", "vat", "carriage_vat"};
    const int count = (int)(sizeof kColumns / sizeof kColumns[0]);
    QlDbQuery query;
    if (!QlDbQueryOpen("select iKey,type,date,acref,\"desc\",gross,vat,carriage_vat from trans where enabled='yes' and "
                       "(type='1' or type='2')",
                       &query, err))
        return 0;
    int step;
    while ((step = QlDbQueryNext(&query, err)) == 1) {
        char *values[sizeof kColumns / sizeof kColumns[0]];
        for (int c = 0; c < count; c++) values[c] = (char *)QlDbQueryText(&query, c);
        QlTransRec rec = {};
        if (QlTransParseRow(count, values, (char **)kColumns, &rec)) QlVatReportRowCb(&rec);
    }
    QlDbQueryClose(&query);
    return step == 0;
}

static void SetTotals(HWND window)
{
    int64_t net = 0, tax = 0;
    for (int i = 0; i < sRowCount; i++) {
        net += sRows[i].net;
        tax += sRows[i].tax;
    }
    QlUiSetCents(window, IDT_VAT_NET, net);
    QlUiSetCents(window, IDT_VAT_TAX, tax);
}

int QlVatReportLoad(HWND window, int listId, int mode, const QlDateRec *from, const QlDateRec *to)
{
    HWND list = GetDlgItem(window, listId);
    QlVatReportRange.list = list;
    // The rows are read anew into the room of the last load; the list asks
    // for none of them before it is given their count at the end.
    sRowCount = 0;
    sOutOfMemory = 0;
    if (from && to) {
        QlVatReportRange.from = *from;
        QlVatReportRange.to = *to;
    }
    QlVatReportRange.mode = mode;

    char err[QL_DB_ERR_SIZE] = "";
    int ok = ReadDocuments(err);
    if (ok && sOutOfMemory) {
        QlDbSetError(err, "Out of memory");
        ok = 0;
    }
    // A failed query shows no list: the rows before the failure are not all
    // the invoices, and totals of them would mislead.
    if (!ok) FreeRows();
    QlListSetRowCount(list, sRowCount);
    SetTotals(window);
    if (!ok) QlSeamMessageBox(NULL, err, QlRepText()->QueryFailed, MB_OK);
    return ok;
}

// ---------------------------------------------------------------------------
// Printing

int QlVatReportJobFrom(HWND window, QlVatReportJob *job)
{
    memset(job, 0, sizeof *job);
    job->list = GetDlgItem(window, IDL_VAT_LIST);
    job->rows = job->list ? (int)SendMessageA(job->list, LVM_GETITEMCOUNT, 0, 0) : 0;
    QlUiGetField(window, IDT_VAT_NET, job->net);
    QlUiGetField(window, IDT_VAT_TAX, job->tax);
    return job->rows;
}

// The dates of the list's first and last rows (20 bytes each).
static void HeaderDates(HWND list, int rows, char *first, char *last)
{
    QlListGetCell(list, 0, COL_DATE, first, 20);
    QlListGetCell(list, rows - 1, COL_DATE, last, 20);
}

// Distances given in units of a 600 dpi printer, kept in proportion on others.
static int Units(HDC dc, int n)
{
    int dpi = GetDeviceCaps(dc, LOGPIXELSY);
    return dpi > 0 ? MulDiv(n, dpi, 600) : n;
}

static void DrawPageHeader(HDC dc, const RECT *p, int h, const char *first, const char *last, int page, int pages)
{
    const QlRepTextRec *text = QlRepText();
    char tax[8], header[200];
    TaxName(tax, sizeof tax);
    snprintf(header, sizeof header, "%s %s %s %s %s (%s %d %s %d)", tax, text->ReportWord, first, text->ToWord, last,
             text->PageWord, page, text->OfWord, pages);
    QlDrawFrame(dc, p->left, p->top, p->right, p->top + 2 * h, 5);
    RECT box = {p->left, p->top, p->right, p->top + 2 * h};
    DrawTextA(dc, header, -1, &box, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

static void DrawRows(HDC dc, const RECT *p, int h, const QlVatReportJob *job, int firstRow)
{
    QlGridRec grid;
    QlGridLayout(&grid, p->left, p->top + 4 * h, p->right, 0, QL_VAT_ROWS_PER_PAGE + 2, QL_VAT_COLUMNS + 1, h + h / 3,
                 kPrintPercent);
    QlGridDrawLines(dc, &grid);
    const char *titles[QL_VAT_COLUMNS];
    char tax[8];
    ColumnTitles(titles, tax, sizeof tax);
    QlReportDrawTitles(dc, &grid, titles, QL_VAT_COLUMNS);
    for (int r = 0; r < QL_VAT_ROWS_PER_PAGE && firstRow + r < job->rows; r++) {
        for (int c = 0; c < QL_VAT_COLUMNS; c++) {
            char cell[256];
            QlListGetCell(job->list, firstRow + r, c, cell, sizeof cell);
            QlReportDrawCell(dc, &grid, cell, r + 1, c, c == COL_NET || c == COL_TAX ? DT_RIGHT : DT_LEFT);
        }
    }
}

static void DrawTotals(HDC dc, const RECT *p, int h, const QlVatReportJob *job)
{
    const QlRepTextRec *text = QlRepText();
    char tax[8], line[160];
    TaxName(tax, sizeof tax);
    const int u50 = Units(dc, 50);
    snprintf(line, sizeof line, "%s (%s): %.39s", text->TotalNet, text->ExclusiveOfTax, job->net);
    RECT r = {p->left, p->top + 2 * h + u50, p->right, p->top + 4 * h + u50};
    DrawTextA(dc, line, -1, &r, DT_LEFT | DT_NOPREFIX | DT_NOCLIP);
    snprintf(line, sizeof line, "%s %s: %.39s", text->TotalWord, tax, job->tax);
    r.top = p->top + 6 * h + u50;
    r.bottom = p->top + 8 * h + u50;
    DrawTextA(dc, line, -1, &r, DT_LEFT | DT_NOPREFIX | DT_NOCLIP);
}

int QlVatReportDraw(QlPrintTarget *target, void *data)
{
    const QlVatReportJob *job = (const QlVatReportJob *)data;
    if (job->rows <= 0) return 0;
    SetBkMode(target->dc, TRANSPARENT);
    QlReportDrawTitleBlock(target->dc, &target->page, QlReportTaxName);
    SIZE line;
    HGDIOBJ previous = NULL;
    HFONT body = QlReportSelectBodyFont(target->dc, &line, &previous);
    if (!body) return 0;
    const int h = line.cy;

    char first[20], last[20];
    HeaderDates(job->list, job->rows, first, last);
    const int rowPages = job->rows / QL_VAT_ROWS_PER_PAGE + (job->rows % QL_VAT_ROWS_PER_PAGE ? 1 : 0);
    const int pages = rowPages + 1;
    int ok = 1;
    for (int page = 1; page <= pages && ok; page++) {
        if (page > 1) ok = QlPrintNextPage(target);
        if (!ok) break;
        DrawPageHeader(target->dc, &target->page, h, first, last, page, pages);
        if (page <= rowPages)
            DrawRows(target->dc, &target->page, h, job, (page - 1) * QL_VAT_ROWS_PER_PAGE);
        else
            DrawTotals(target->dc, &target->page, h, job);
    }
    SelectObject(target->dc, previous);
    DeleteObject(body);
    return ok;
}

static int RefuseEmpty(HWND window, const QlVatReportJob *job)
{
    if (job->rows > 0) return 0;
    QlMsgBox(window, QlRepText()->ListEmptyCaption, QlRepText()->NothingToPrint, QL_COLOUR_WARNING);
    return 1;
}

int QlVatReportPrint(HWND window)
{
    QlVatReportJob job;
    QlVatReportJobFrom(window, &job);
    if (RefuseEmpty(window, &job)) return 0;
    return QlPrintDocument(window, QlVatReportDraw, &job);
}

// ---------------------------------------------------------------------------
// The CSV file

// A field as it is, or quoted (its double quotes doubled) when it holds a
// comma, a double quote or a line break, so that it stays one field.
static void PutField(FILE *stream, const char *text)
{
    if (!strpbrk(text, ",\"\r\n")) {
        fputs(text, stream);
        return;
    }
    fputc('"', stream);
    for (const char *c = text; *c; c++) {
        if (*c == '"') fputc('"', stream);
        fputc(*c, stream);
    }
    fputc('"', stream);
}

static void WriteCsv(FILE *stream, const QlVatReportJob *job)
{
    const QlRepTextRec *text = QlRepText();
    char first[20], last[20], tax[8];
    HeaderDates(job->list, job->rows, first, last);
    TaxName(tax, sizeof tax);
    fprintf(stream, "%s %s ", tax, text->ReportWord);
    PutField(stream, first);
    fprintf(stream, " %s ", text->ToWord);
    PutField(stream, last);
    fputs("\r\n\r\n", stream);

    const char *titles[QL_VAT_COLUMNS];
    ColumnTitles(titles, tax, sizeof tax);
    for (int c = 0; c < QL_VAT_COLUMNS; c++) {
        if (c) fputc(',', stream);
        PutField(stream, titles[c]);
    }
    fputs("\r\n", stream);
    for (int r = 0; r < job->rows; r++) {
        for (int c = 0; c < QL_VAT_COLUMNS; c++) {
            char cell[80];
            QlListGetCell(job->list, r, c, cell, sizeof cell);
            if (c) fputc(',', stream);
            PutField(stream, cell);
        }
        fputs("\r\n", stream);
    }
    fputs(",,,,,\r\n", stream);
    fprintf(stream, ",,,%s,%.39s,%.39s\r\n", text->TotalWord, job->net, job->tax);
}

// The default file name: the tax name and ".csv", any character that a file
// name cannot hold replaced by "_".
static void DefaultFileName(char *path, size_t size)
{
    char tax[8];
    TaxName(tax, sizeof tax);
    for (char *c = tax; *c; c++)
        if (strchr("\\/:*?\"<>|", *c)) *c = '_';
    snprintf(path, size, "%s.csv", tax);
}

int QlVatReportExportCsv(HWND window)
{
    const QlRepTextRec *text = QlRepText();
    QlVatReportJob job;
    QlVatReportJobFrom(window, &job);
    if (RefuseEmpty(window, &job)) return 0;

    char path[MAX_PATH];
    DefaultFileName(path, sizeof path);
    // The dialog leaves the working folder current (a message when it cannot).
    int chosen = QlAskSavePath(window, QL_SAVE_CSV, path, sizeof path, text->ExportTitle, "CSV (*.csv)\0*.csv\0", "csv",
                               text->CannotChangeDir);
    int ok = 0, opened = 0;
    if (chosen) {
        FILE *stream = QlFileOpen(path, "wb");
        if (stream) {
            opened = 1;
            WriteCsv(stream, &job);
            ok = fflush(stream) == 0 && !ferror(stream);
            if (fclose(stream) != 0) ok = 0;
            if (!ok) DeleteFileA(path);
        }
    }
    if (!chosen) return 0;
    if (!ok) {
        char message[400];
        snprintf(message, sizeof message, opened ? text->FileWriteFailed : text->FileOpenFailed, path);
        QlMsgBox(window, text->Error, message, QL_COLOUR_WARNING);
        return 0;
    }
    QlStatusPostSaved(text->VatExported, path);
    return 1;
}

// ---------------------------------------------------------------------------
// The window

static void FollowDateChoice(HWND window)
{
    LRESULT choice = SendDlgItemMessageA(window, IDC_VAT_DATES, CB_GETCURSEL, 0, 0);
    if (choice == CB_ERR) return;
    EnableWindow(GetDlgItem(window, IDP_VAT_FROM), choice != 0);
    EnableWindow(GetDlgItem(window, IDP_VAT_TO), choice != 0);
}

static void Reload(HWND window)
{
    LRESULT choice = SendDlgItemMessageA(window, IDC_VAT_DATES, CB_GETCURSEL, 0, 0);
    if (choice == CB_ERR) return;
    if (choice == 0) {
        QlVatReportLoad(window, IDL_VAT_LIST, 0, NULL, NULL);
        return;
    }
    QlDateRec from, to;
    QlUiGetDate(window, IDP_VAT_FROM, &from);
    QlUiGetDate(window, IDP_VAT_TO, &to);
    if (QlDateIsAfter(&from, &to)) {
        QlMsgBox(window, QlRepText()->Error, QlRepText()->InvalidDateRange, QL_COLOUR_WARNING);
        return;
    }
    QlVatReportLoad(window, IDL_VAT_LIST, 1, &from, &to);
}

// The six columns; the details column gives up what the list's client area
// lacks, so that no column needs scrolling to, and the two totals stand
// under the amount columns they add up.
static void SetUpColumns(HWND window, char *tax, size_t taxSize)
{
    HWND list = GetDlgItem(window, IDL_VAT_LIST);
    const char *titles[QL_VAT_COLUMNS];
    ColumnTitles(titles, tax, taxSize);
    int widths[QL_VAT_COLUMNS];
    memcpy(widths, kColumnWidths, sizeof widths);
    RECT client;
    GetClientRect(list, &client);
    int sum = 0;
    for (int c = 0; c < QL_VAT_COLUMNS; c++) sum += widths[c];
    int spare = client.right - GetSystemMetrics(SM_CXVSCROLL) - sum;
    if (spare < 0 && widths[3] + spare >= 60) widths[3] += spare;
    QlListSetColumns(list, titles, QL_VAT_COLUMNS, widths, 10, kColumnFormats);

    POINT origin = {0, 0};
    MapWindowPoints(list, window, &origin, 1);
    int x = origin.x;
    for (int c = 0; c < COL_NET; c++) x += widths[c];
    // The label ends a little before the first total.
    const int ids[] = {IDT_VAT_TOTAL_LABEL, IDT_VAT_NET, IDT_VAT_TAX};
    for (int i = 0; i < 3; i++) {
        HWND control = GetDlgItem(window, ids[i]);
        RECT r;
        GetWindowRect(control, &r);
        MapWindowPoints(NULL, window, (POINT *)&r, 2);
        const int width = i == 0 ? r.right - r.left : widths[COL_NET + i - 1];
        MoveWindow(control, i == 0 ? x - width - 6 : x, r.top, width, r.bottom - r.top, FALSE);
        if (i > 0) x += width;
    }
}

static BOOL OnInitDialog(HWND window)
{
    const QlRepTextRec *text = QlRepText();
    QlUiCenterWindow(window);
    snprintf(sToolbarItems[CMD_PRINT].text, sizeof sToolbarItems[0].text, "%s", text->Print);
    snprintf(sToolbarItems[CMD_EXPORT].text, sizeof sToolbarItems[0].text, "%s", text->Export);
    snprintf(sToolbarItems[CMD_CLOSE].text, sizeof sToolbarItems[0].text, "%s", text->Close);
    sToolbar = QlToolbarCreate(QlUiInstance(), window, sToolbarItems, CMD_COUNT, 1, 0);
    if (!sToolbar) return TRUE;

    SetDlgItemTextA(window, IDG_VAT_RANGE, text->TransRange);
    SetDlgItemTextA(window, IDT_VAT_FROM_LABEL, text->FromDate);
    SetDlgItemTextA(window, IDT_VAT_TO_LABEL, text->ToDate);
    SetDlgItemTextA(window, IDB_VAT_RELOAD, text->Reload);
    SetDlgItemTextA(window, IDT_VAT_TOTAL_LABEL, text->TotalWord);
    SendDlgItemMessageA(window, IDP_VAT_FROM, DTM_SETFORMATA, 0, (LPARAM) "d/MM/yyyy");
    SendDlgItemMessageA(window, IDP_VAT_TO, DTM_SETFORMATA, 0, (LPARAM) "d/MM/yyyy");

    char tax[8], caption[80];
    TaxName(tax, sizeof tax);
    snprintf(caption, sizeof caption, "%s %s", tax, text->VatCaption);
    SetWindowTextA(window, caption);

    const char *choices[] = {text->DateChoices[0], text->DateChoices[1], NULL};
    QlUiComboFill(window, choices, IDC_VAT_DATES, 0);

    SetUpColumns(window, tax, sizeof tax);
    QlVatReportLoad(window, IDL_VAT_LIST, 0, NULL, NULL);
    return TRUE;
}

static void OnCommand(HWND window, int id, int code, HWND sender)
{
    // Enter arrives as IDOK (1) and Escape as IDCANCEL (2), the tool bar's
    // Export and Close: only the tool bar's own commands are its.
    if (sender && sender == sToolbar) {
        switch (id) {
        case CMD_PRINT: QlVatReportPrint(window); return;
        case CMD_EXPORT: QlVatReportExportCsv(window); return;
        case CMD_CLOSE: EndDialog(window, 0); return;
        }
        return;
    }
    switch (id) {
    case IDCANCEL: EndDialog(window, 0); return;
    case IDB_VAT_RELOAD: Reload(window); return;
    case IDC_VAT_DATES:
        if (code == CBN_SELCHANGE) FollowDateChoice(window);
        return;
    }
}

INT_PTR CALLBACK QlVatReportDlgProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_INITDIALOG: return OnInitDialog(window);
    case WM_COMMAND: OnCommand(window, LOWORD(wParam), HIWORD(wParam), (HWND)lParam); return TRUE;
    case WM_CTLCOLORSTATIC:
        if ((HWND)lParam == GetDlgItem(window, IDT_VAT_NET) || (HWND)lParam == GetDlgItem(window, IDT_VAT_TAX)) {
            SetTextColor((HDC)wParam, RGB(0, 0, 0));
            SetBkColor((HDC)wParam, RGB(255, 255, 255));
            return (INT_PTR)(QlBrushWhite ? QlBrushWhite : GetStockObject(WHITE_BRUSH));
        }
        return FALSE;
    case WM_NOTIFY:
        if (((const NMHDR *)lParam)->idFrom == IDL_VAT_LIST && ((const NMHDR *)lParam)->code == LVN_GETDISPINFOA) {
            OnGetDispInfo((NMLVDISPINFOA *)lParam);
            return TRUE;
        }
        return FALSE;
    case WM_DESTROY:
        QlToolbarDestroy(sToolbar, sToolbarItems, CMD_COUNT);
        sToolbar = NULL;
        QlVatReportRange.list = NULL;
        FreeRows();
        return TRUE;
    }
    return FALSE;
}

int QlVatReportShow(HWND owner)
{
    EndDialog(owner, 0);
    HWND main = QlMainWnd ? QlMainWnd : GetWindow(owner, GW_OWNER);
    return (int)DialogBoxParamA(QlUiInstance(), MAKEINTRESOURCEA(IDD_VAT_REPORT), main, QlVatReportDlgProc, 0);
}
