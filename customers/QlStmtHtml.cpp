// The statement as an HTML file: the company block with its tax number and
// the customer's address at the left, the title and the account's dates at
// the right, the statement lines as a table across both, and the total due.
// The frame is a fixed template; the texts that go into it are escaped.

#include "customers/QlStmt.h"

#include "customers/QlCustModule.h"
#include "customers/QlCustTexts.h"

#include "ui/QlListView.h"
#include "ui/QlMsgDialog.h"
#include "print/QlPrint.h"
#include "ui/QlSaveDialog.h"
#include "core/QlTempFile.h"
#include "ui/QlUtil.h"
#include "ui/QlWindow.h"
#include "datastore/QlDbTables.h"
#include "docmodel/QlReadError.h"
#include "documents/QlDocOutput.h"
#include "documents/QlHtml.h"
#include "resources/QlResIds.h"
#include "settings/QlLangTables.h"
#include "settings/QlSettings.h"

#include <commctrl.h>
#include <stdio.h>
#include <string.h>

namespace {

const char kHead[] =
    "<html>\r\n\r\n"
    "<head>\r\n"
    "<meta http-equiv=\"Content-Language\" content=\"en-gb\">\r\n"
    "<meta name=\"GENERATOR\" content=\"Microsoft FrontPage 5.0\">\r\n"
    "<meta name=\"ProgId\" content=\"FrontPage.Editor.Document\">\r\n"
    "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1252\">\r\n"
    "<title>%s %s - %s</title>\r\n"
    "</head>\r\n\r\n"
    "<body>\r\n\r\n";

// The outer table and its left cell: "From:", the company's name and
// address, its tax number, then "Bill To:" and the customer's address.
const char kLeftCell[] =
    "<table border=\"1\" cellpadding=\"0\" cellspacing=\"0\" width=\"70%c\" id=\"AutoNumber1\">\r\n"
    "<tr>\r\n"
    "<td width=\"50%c\">\r\n"
    "<table border=\"1\" cellpadding=\"0\" cellspacing=\"5\" width=\"100%c\" id=\"AutoNumber2\" "
    "bordercolorlight=\"#FFFFFF\" bordercolordark=\"#FFFFFF\">\r\n"
    "<tr>\r\n"
    "<td width=\"100%c\" colspan=\"2\" bordercolor=\"#000000\" height=\"16\">\r\n"
    "<p align=\"center\"><b><font face=\"Arial\" size=\"2\">%s</font></b></td>\r\n"
    "</tr>\r\n"
    "<tr>\r\n"
    "<td width=\"100%c\" colspan=\"2\" bordercolorlight=\"#FFFFFF\" bordercolordark=\"#FFFFFF\" height=\"64\" "
    "valign=\"top\">\r\n"
    "<font face=\"Arial\" size=\"2\">\r\n"
    "%s<BR>\r\n"
    "%s<BR>\r\n"
    "%s<BR>\r\n"
    "%s<BR>\r\n"
    "</font></td></tr>\r\n"
    "<tr>\r\n"
    "<td width=\"34%c\" height=\"19\" bordercolor=\"#000000\"><b><font face=\"Arial\" size=\"2\">%s</font></b> </td>\r\n"
    "<td width=\"66%c\" height=\"19\" bordercolor=\"#000000\">\r\n\r\n"
    "<p align=\"center\">\r\n"
    "<font face=\"Arial\" size=\"2\">%s</font></td>\r\n"
    "</tr>\r\n"
    "<tr>\r\n"
    "<td width=\"100%c\" colspan=\"2\" height=\"6\" bordercolorlight=\"#FFFFFF\" bordercolordark=\"#FFFFFF\"></td>\r\n"
    "</tr>\r\n"
    "<tr>\r\n"
    "<td width=\"100%c\" colspan=\"2\" bordercolor=\"#000000\" height=\"16\">\r\n"
    "<p align=\"center\"><b><font face=\"Arial\" size=\"2\">%s</font></b></td>\r\n"
    "</tr>\r\n"
    "<tr>\r\n"
    "<td width=\"100%c\" colspan=\"2\" bordercolorlight=\"#FFFFFF\" bordercolordark=\"#FFFFFF\" height=\"64\" "
    "valign=\"top\">\r\n"
    "<font face=\"Arial\" size=\"2\">%s<BR>%s<BR>%s<BR>%s</font></td>\r\n"
    "</tr>\r\n"
    "</table>\r\n"
    "</td>\r\n";

// The right cell: the title and an empty row; the label-and-value rows
// follow (QlHtmlWriteTotalRow), then the cell closes.
const char kRightCell[] =
    "<td width=\"50%c\" valign=\"top\">\r\n"
    "<table border=\"1\" cellpadding=\"3\" cellspacing=\"5\" width=\"100%c\" id=\"AutoNumber3\" "
    "bordercolorlight=\"#FFFFFF\" bordercolordark=\"#FFFFFF\">\r\n"
    "<tr>\r\n"
    "<td width=\"100%c\" colspan=\"2\" bordercolor=\"#000000\">\r\n"
    "<p align=\"center\"><b><font face=\"Arial\"><br>%s<br>&nbsp;</font></b></td>\r\n"
    "</tr>\r\n"
    "<tr>\r\n"
    "<td width=\"50%c\" align=\"right\" bordercolorlight=\"#FFFFFF\" bordercolordark=\"#FFFFFF\">\r\n"
    "&nbsp;</td>\r\n"
    "<td width=\"50%c\" bordercolor=\"#000000\" bordercolorlight=\"#FFFFFF\" bordercolordark=\"#FFFFFF\">&nbsp;</td>\r\n"
    "</tr>\r\n";
const char kCloseRightCell[] = "</table>\r\n</td>\r\n</tr>\r\n";

// The lines table: its title row, one row per line, and a closing row.
#define TITLE_CELL(width)                                                                                      \
    "<td width=\"" width "%c\" bordercolor=\"#000000\" align=\"center\"><b>\r\n"                              \
    "<font face=\"Arial\" size=\"2\">%s</font></b></td>\r\n"
const char kTitleRow[] =
    "<tr>\r\n"
    "<td width=\"100%c\" colspan=\"2\">\r\n"
    "<table border=\"1\" cellpadding=\"0\" cellspacing=\"0\" width=\"100%c\" id=\"AutoNumber4\">\r\n"
    "<tr>\r\n" TITLE_CELL("15") TITLE_CELL("15") TITLE_CELL("10") TITLE_CELL("20") TITLE_CELL("20")
        TITLE_CELL("20") "</tr>\r\n";

// The amounts stand at their cells' right, as on the printed statement.
#define LINE_CELL(width, align)                                                                                \
    "<td width=\"" width "%c\"" align " bordercolorlight=\"#FFFFFF\" bordercolordark=\"#FFFFFF\" "            \
    "bordercolor=\"#000000\"><font face=\"Arial\" size=\"2\">%s</font></td>\r\n"
const char kLineRow[] = "<tr>\r\n" LINE_CELL("15", "") LINE_CELL("15", "") LINE_CELL("10", "")
    LINE_CELL("20", " align=\"right\"") LINE_CELL("20", " align=\"right\"") LINE_CELL("20", " align=\"right\"") "</tr>\r\n";

#define EMPTY_CELL(width) "<td width=\"" width "%c\" bordercolorlight=\"#FFFFFF\" bordercolordark=\"#FFFFFF\">&nbsp;</td>\r\n"
const char kClosingRow[] =
    "<tr>\r\n" EMPTY_CELL("17") EMPTY_CELL("17") EMPTY_CELL("16") EMPTY_CELL("25") EMPTY_CELL("25") "</tr>\r\n";

const char kCloseTables[] = "</table>\r\n</td>\r\n</tr>\r\n</table>\r\n";
const char kTotal[] = "<BR>%s  %s\r\n";
const char kFoot[] = "</body>\r\n\r\n</html>\r\n";

struct HtmlFile {
    HANDLE file;
    int ok;
};

void Put(HtmlFile *out, const char *format, const char *const *values, int count)
{
    if (out->ok && !QlHtmlPut(out->file, format, values, count)) out->ok = 0;
}

void WriteLines(HtmlFile *out, HWND list)
{
    int rows = (int)SendMessageA(list, LVM_GETITEMCOUNT, 0, 0);
    for (int r = 0; r < rows && out->ok; r++) {
        char cells[QL_STMT_COLUMNS][256];
        const char *values[QL_STMT_COLUMNS];
        for (int c = 0; c < QL_STMT_COLUMNS; c++) {
            QlListGetCell(list, r, c, cells[c], sizeof cells[c]);
            values[c] = cells[c];
        }
        Put(out, kLineRow, values, QL_STMT_COLUMNS);
    }
}


void WriteBody(HtmlFile *out, HWND window, const QlCustRec *customer)
{
    const QlCustTextRec *text = QlCustText();
    const QlSettingsRec &cfg = QlSettings.cfg;
    HWND list = GetDlgItem(window, IDL_STMT_LINES);

    // The head's title names the statement and its account.
    char title[80];
    QlUiGetField(window, IDT_STMT_TITLE, title);
    const char *head[] = {title, customer->acref, customer->company};
    Put(out, kHead, head, 3);
    char company[4][41], taxNumber[16];
    snprintf(company[0], sizeof company[0], "%.39s", cfg.companyName);
    snprintf(company[1], sizeof company[1], "%.39s", cfg.address1);
    snprintf(company[2], sizeof company[2], "%.39s", cfg.address2);
    snprintf(company[3], sizeof company[3], "%.39s", cfg.address3);
    snprintf(taxNumber, sizeof taxNumber, "%.14s", cfg.taxNumber);
    char taxLabel[40];
    QlLangTaxNoLabel(taxLabel, sizeof taxLabel);
    const char *left[] = {text->FromLabel, company[0], company[1], company[2], company[3],
                          taxLabel, taxNumber, text->BillToLabel, customer->company,
                          customer->addr1, customer->addr2, customer->addr3};
    Put(out, kLeftCell, left, (int)ARRAYSIZE(left));

    const char *right[] = {title};
    Put(out, kRightCell, right, 1);
    char label[80], value[80];
    QlUiGetField(window, IDT_STMT_DATE_LABEL, label);
    QlCustPickerText(window, IDP_STMT_DATE, "d/MM/yyyy", value, sizeof value);
    if (out->ok && !QlHtmlWriteTotalRow(out->file, label, value)) out->ok = 0;
    QlUiGetField(window, IDT_STMT_ACREF_LABEL, label);
    if (out->ok && !QlHtmlWriteTotalRow(out->file, label, customer->acref)) out->ok = 0;
    QlUiGetField(window, IDG_STMT_FROM, label);
    QlCustPickerText(window, IDP_STMT_FROM, "d/MM/yyyy", value, sizeof value);
    if (out->ok && !QlHtmlWriteTotalRow(out->file, label, value)) out->ok = 0;
    Put(out, kCloseRightCell, NULL, 0);

    char titles[QL_STMT_COLUMNS][20];
    const char *titleValues[QL_STMT_COLUMNS];
    for (int c = 0; c < QL_STMT_COLUMNS; c++) {
        QlListGetColumnText(list, c, titles[c], sizeof titles[c]);
        titles[c][sizeof titles[c] - 1] = '\0';
        titleValues[c] = titles[c];
    }
    Put(out, kTitleRow, titleValues, QL_STMT_COLUMNS);
    WriteLines(out, list);
    Put(out, kClosingRow, NULL, 0);
    Put(out, kCloseTables, NULL, 0);

    char totalLabel[80], total[80];
    QlUiGetField(window, IDT_STMT_TOTAL_LABEL, totalLabel);
    QlUiGetField(window, IDT_STMT_TOTAL, total);
    const char *totals[] = {totalLabel, total};
    Put(out, kTotal, totals, 2);
    Put(out, kFoot, NULL, 0);
}

}  // namespace

int QlStmtWriteHtml(HWND window, char *path, const QlCustRec *customer)
{
    char title[80];
    QlUiGetField(window, IDT_STMT_TITLE, title);
    snprintf(path, 80, "%s.htm", QlStrLowerTail(title));
    // Written under a temporary name and moved into place when complete.
    char temp[MAX_PATH];
    if (!QlFileBegin(path, temp, sizeof temp)) return 0;
    HtmlFile out;
    out.file = CreateFileA(temp, GENERIC_READ | GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (out.file == INVALID_HANDLE_VALUE) {
        QlFileAbandon(temp);
        return 0;
    }
    out.ok = 1;
    WriteBody(&out, window, customer);
    if (!CloseHandle(out.file)) out.ok = 0;
    if (!out.ok) {
        QlFileAbandon(temp);
        return 0;
    }
    return QlFileCommit(temp, path);
}

void QlStmtSaveHtml(HWND window)
{
    const QlCustTextRec *text = QlCustText();
    char acref[80];
    QlUiGetField(window, IDT_STMT_ACREF, acref);
    char err[128];
    QlCustRec customer;
    if (!acref[0] || !QlCustGetByAcRef(acref, &customer, err)) {
        if (acref[0] && !QlDbNotFound()) {
            QlShowReadError(window, err);
            return;
        }
        QlMsgBox(window, text->MissingAccount, text->SelectAccountNumber, QL_COLOUR_WARNING);
        return;
    }
    char path[80], message[256];
    int written = QlStmtWriteHtml(window, path, &customer);
    if (written == QL_FILE_DONE) {
        QlStatusPostSaved(text->StatementSavedHtml, path);
    } else if (written == QL_FILE_IN_USE) {
        QlMsgBox(window, QlLangText()->Error, QlLangText()->FileInUseText, QL_COLOUR_WARNING);
    } else {
        snprintf(message, sizeof message, text->FileNotWritten, path);
        QlMsgBox(window, QlLangText()->Error, message, QL_COLOUR_WARNING);
    }
}
