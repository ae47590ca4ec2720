// The HTML documents: invoices and quotations with service or product lines,
// and credit notes.  A document is a fixed frame of tables (the company and
// customer box on the left, the information box on the right, the line table
// across both) filled from the form, the customer record and the settings,
// piece by piece in document order.
#include "documents/QlHtml.h"
#include "documents/QlDocOutput.h"
#include "documents/QlDocPage.h"
#include "documents/QlDocTexts.h"

#include "core/QlTempFile.h"
#include "ui/QlWindow.h"
#include "resources/QlResTrans.h"
#include "settings/QlLangTables.h"
#include "settings/QlSettings.h"

#include <commctrl.h>
#include <stdio.h>
#include <string.h>

namespace {

enum DocKind { KIND_SERVICE, KIND_PRODUCT, KIND_CREDIT };

const char kHeader[] =
    "<html>\r\n\r\n"
    "<head>\r\n"
    "<meta http-equiv=\"Content-Language\" content=\"en-gb\">\r\n"
    "<meta name=\"GENERATOR\" content=\"Microsoft FrontPage 5.0\">\r\n"
    "<meta name=\"ProgId\" content=\"FrontPage.Editor.Document\">\r\n"
    "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1252\">\r\n"
    "<title>FROM</title>\r\n"
    "</head>\r\n\r\n"
    "<body>\r\n\r\n";
static_assert(sizeof kHeader - 1 == 307, "the document's head");

const char kFooter[] = "</body>\r\n\r\n</html>\r\n";

// The outer table, its first row and its left cell, and the company box's
// title row ("Company name:" / "From:").
const char kOpenCompanyBox[] =
    "<table border=\"1\" cellpadding=\"0\" cellspacing=\"0\" width=\"70%c\" id=\"AutoNumber1\">\r\n"
    "<tr>\r\n"
    "<td width=\"50%c\">\r\n"
    "<table border=\"1\" cellpadding=\"0\" cellspacing=\"5\" width=\"100%c\" id=\"AutoNumber2\" "
    "bordercolorlight=\"#FFFFFF\" bordercolordark=\"#FFFFFF\">\r\n"
    "<tr>\r\n"
    "<td width=\"100%c\" colspan=\"2\" bordercolor=\"#000000\" height=\"16\">\r\n"
    "<p align=\"center\"><b><font face=\"Arial\" size=\"2\">%s</font></b></td>\r\n"
    "</tr>\r\n";

const char kOpenCompanyLines[] =
    "<tr>\r\n"
    "<td width=\"100%c\" colspan=\"2\" bordercolorlight=\"#FFFFFF\" bordercolordark=\"#FFFFFF\" height=\"64\" "
    "valign=\"top\">\r\n"
    "<font face=\"Arial\" size=\"2\">\r\n";
const char kLine[] = "%s<BR>\r\n";
const char kCloseCompanyLines[] = "</font></td></tr>\r\n";

// The tax-number label ("VAT No:") and the company's tax number.
const char kTaxRow[] =
    "<tr>\r\n"
    "<td width=\"34%c\" height=\"19\" bordercolor=\"#000000\"><b><font face=\"Arial\" size=\"2\">%s</font></b> </td>\r\n"
    "<td width=\"66%c\" height=\"19\" bordercolor=\"#000000\">\r\n\r\n"
    "<p align=\"center\">\r\n"
    "<font face=\"Arial\" size=\"2\">%s</font></td>\r\n"
    "</tr>\r\n";

// A spacer, the heading over the customer, the customer's name and address,
// and the end of the left cell.
const char kCustomerBox[] =
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

// The right cell: the information box with the document's title and an
// empty row.
const char kInfoBox[] =
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
const char kCloseInfoBox[] = "</table>\r\n\r\r</td>\r\n</tr>\r\n";

// The line table's headings.  A product table is the service table of the
// same option with a quantity column after the description.
#define HEAD_OPEN                                                                                              \
    "<tr>\r\n"                                                                                                 \
    "<td width=\"100%c\" colspan=\"2\">\r\n"                                                                  \
    "<table border=\"1\" cellpadding=\"0\" cellspacing=\"0\" width=\"100%c\" id=\"AutoNumber4\">\r\n"         \
    "<tr>\r\n"
#define HEAD_CELL(width, text, tail)                                                                           \
    "<td width=\"" width "%c\" bordercolor=\"#000000\" align=\"center\"><b>\r\n"                              \
    "<font face=\"Arial\" size=\"2\">" text "</font></b></td>\r\n" tail
#define HEAD_SERV_FIRST HEAD_CELL("50", "%s", "\r\n")
#define HEAD_PROD_FIRST HEAD_CELL("45", "%s", "\r\n") HEAD_CELL("5", "%s", "\r\n")
#define HEAD_REST_PLAIN HEAD_CELL("18", "%s", "") HEAD_CELL("16", "%s", "") HEAD_CELL("16", "%s", "") "</tr>\r\n"
#define HEAD_REST_DISCOUNT                                                                                     \
    HEAD_CELL("12", "%s", "") HEAD_CELL("12", "%s", "") HEAD_CELL("12", "%s", "") HEAD_CELL("14", "%s", "")   \
    "</tr>\r\n"

// [kind][discount]
const char *const kHeadings[3][2] = {
    {HEAD_OPEN HEAD_SERV_FIRST HEAD_REST_PLAIN, HEAD_OPEN HEAD_SERV_FIRST HEAD_REST_DISCOUNT},
    {HEAD_OPEN HEAD_PROD_FIRST HEAD_REST_PLAIN, HEAD_OPEN HEAD_PROD_FIRST HEAD_REST_DISCOUNT},
    {HEAD_OPEN HEAD_CELL("50", "%s", "\r\n") HEAD_CELL("25", "&nbsp;", "\r\n") HEAD_CELL("25", "%s", "") "</tr>\r\n",
     HEAD_OPEN HEAD_CELL("50", "%s", "\r\n") HEAD_CELL("25", "&nbsp;", "\r\n") HEAD_CELL("25", "%s", "") "</tr>\r\n"},
};

// Totals rows: the empty description cell (and quantity cell), the label,
// then the values under their columns.
#define TOTAL_BLANK(width) \
    "<td width=\"" width "%c\" bordercolorlight=\"#FFFFFF\" bordercolordark=\"#FFFFFF\" bordercolor=\"#000000\">&nbsp;</td>\r\n"
#define TOTAL_LABEL(width) \
    "<td width=\"" width "%c\" bordercolor=\"#000000\"><font face=\"Arial\" size=\"2\"><b>%s</b><br>&nbsp;</font></td>\r\n"
#define TOTAL_OPEN(width, tail) "<td width=\"" width "%c\" bordercolor=\"#000000\" align=\"right\" valign=\"top\">" tail
#define TOTAL_VALUE "<font face=\"Arial\" size=\"2\">%s</font></td>\r\n"

const char *const kTotalFirst[2] = {"<tr>\r\n" TOTAL_BLANK("50"), "<tr>\r\n" TOTAL_BLANK("45") TOTAL_BLANK("5")};

// [row][discount]: Total, Carriage, gross.
enum { ROW_TOTAL, ROW_CARRIAGE, ROW_GROSS };
const char *const kTotalRest[3][2] = {
    {TOTAL_LABEL("18") TOTAL_OPEN("16", "\r\n") TOTAL_VALUE TOTAL_OPEN("16", "\r\n\r\n") TOTAL_VALUE "</tr>\r\n",
     TOTAL_LABEL("12") TOTAL_OPEN("12", "\r\n") TOTAL_VALUE TOTAL_OPEN("12", "\r\n") TOTAL_VALUE
         TOTAL_OPEN("14", "\r\n\r\n") TOTAL_VALUE "</tr>\r\n"},
    {TOTAL_LABEL("18") TOTAL_OPEN("16", "%s</td>\r\n\r\n") TOTAL_OPEN("16", "\r\n") TOTAL_VALUE "</tr>\r\n",
     TOTAL_LABEL("12") TOTAL_OPEN("12", "&nbsp;</td>\r\n\r\n") TOTAL_OPEN("12", "%s</td>\r\n\r\n")
         TOTAL_OPEN("14", "\r\n") TOTAL_VALUE "</tr>\r\n"},
    {TOTAL_LABEL("18") TOTAL_OPEN("16", "&nbsp;</td>\r\n\r\n") TOTAL_OPEN("16", "\r\n") TOTAL_VALUE "</tr>\r\n",
     TOTAL_LABEL("12") TOTAL_OPEN("12", "&nbsp;</td>\r\n\r\n") TOTAL_OPEN("12", "&nbsp;</td>\r\n\r\n")
         TOTAL_OPEN("14", "\r\n") TOTAL_VALUE "</tr>\r\n"},
};

const char kCreditTotal[] =
    "<tr>\r\n" TOTAL_BLANK("50")
    "<td width=\"25%c\" bordercolor=\"#000000\"><font face=\"Arial\" size=\"2\"><b>%s</b><br>&nbsp;</font></td>\r\n"
    "<td width=\"25%c\" bordercolor=\"#000000\"><font face=\"Arial\" size=\"2\"><b>%s</b><br>&nbsp;</font></td>\r\n"
    "</tr>\r\n";

const char kCloseTables[] = "</table>\r\n</td>\r\n</tr>\r\n</table>\r\n";
const char kBottomRule[] = "-------------------<BR>\r\n";

// Characters that a file name written in the working directory must not hold.
const char kNotInFileName[] = "\\/:*?\"<>|";

struct HtmlDoc {
    HWND form;
    HWND lines;   // the form's line list, looked up once
    HANDLE file;
    int ok;
};

void Put(HtmlDoc *doc, const char *format, const char *const *values, int count)
{
    if (doc->ok && !QlHtmlPut(doc->file, format, values, count)) doc->ok = 0;
}

void PutFixed(HtmlDoc *doc, const char *text)
{
    Put(doc, text, NULL, 0);
}

void PutOne(HtmlDoc *doc, const char *format, const char *value)
{
    Put(doc, format, &value, 1);
}

void Field(HtmlDoc *doc, int id, char *text, int size)
{
    QlUiGetField(doc->form, id, text, size);
}

void WriteCompanyBox(HtmlDoc *doc, int kind, const QlCustRec *customer)
{
    const QlDocTextRec *t = QlDocText();
    const QlSettingsRec &cfg = QlSettings.cfg;
    PutOne(doc, kOpenCompanyBox, kind == KIND_CREDIT ? t->FromLabel : t->CompanyNameLabel);
    PutFixed(doc, kOpenCompanyLines);
    const char *lines[] = {cfg.companyName, cfg.address1, cfg.address2, cfg.address3};
    for (const char *line : lines) PutOne(doc, kLine, line);
    PutFixed(doc, kCloseCompanyLines);
    char taxLabel[40];
    QlLangTaxNoLabel(taxLabel, sizeof taxLabel);
    const char *tax[] = {taxLabel, cfg.taxNumber};
    Put(doc, kTaxRow, tax, 2);
    char heading[80];
    if (kind == KIND_CREDIT) snprintf(heading, sizeof heading, "%s", t->BillToLabel);
    else Field(doc, IDT_DOC_TO_LABEL, heading, sizeof heading);
    const char *box[] = {heading, customer->company, customer->addr1, customer->addr2, customer->addr3};
    Put(doc, kCustomerBox, box, 5);
}

void WriteInfoBox(HtmlDoc *doc, int kind, const char *number, const QlCustRec *customer, int quote)
{
    char title[80], label[80], date[80];
    Field(doc, IDT_DOC_TITLE, title, sizeof title);
    PutOne(doc, kInfoBox, title);
    Field(doc, IDT_DOC_NUMBER_LABEL, label, sizeof label);
    if (doc->ok && !QlHtmlWriteTotalRow(doc->file, label, number)) doc->ok = 0;
    Field(doc, IDT_DOC_DATE_LABEL, label, sizeof label);
    QlDocReadDate(doc->form, date, sizeof date);
    if (doc->ok && !QlHtmlWriteTotalRow(doc->file, label, date)) doc->ok = 0;
    Field(doc, IDT_DOC_ACREF_LABEL, label, sizeof label);
    if (doc->ok && !QlHtmlWriteTotalRow(doc->file, label, customer->acref)) doc->ok = 0;
    if (kind != KIND_CREDIT && !quote) {
        char order[80] = "";
        if (QlSettings.cfg.printOrderNumber) Field(doc, IDE_DOC_ORDER, order, sizeof order);
        if (doc->ok && !QlHtmlWriteTotalRow(doc->file, QlDocText()->OrderNumberLabel, order)) doc->ok = 0;
    }
    PutFixed(doc, kCloseInfoBox);
}

void WriteHeading(HtmlDoc *doc, int kind, int discount)
{
    const QlDocTextRec *t = QlDocText();
    const char *values[6];
    int count = 0;
    values[count++] = t->DetailsTitle;
    if (kind == KIND_CREDIT) {
        values[count++] = t->AmountTitle;
    } else {
        if (kind == KIND_PRODUCT) values[count++] = t->QtyTitle;
        values[count++] = kind == KIND_PRODUCT ? t->UnitPriceTitle : t->PriceTitle;
        if (discount) values[count++] = t->DiscAmtTitle;
        values[count++] = t->NetTitle;
        values[count++] = QlSettings.cfg.taxName;
    }
    Put(doc, kHeadings[kind][discount], values, count);
}

void WriteLines(HtmlDoc *doc, int kind, int count)
{
    for (int row = 0; row < count && doc->ok; row++) {
        int ok = kind == KIND_SERVICE   ? QlHtmlWriteServRow(doc->lines, doc->file, row)
                 : kind == KIND_PRODUCT ? QlHtmlWriteProdRow(doc->lines, doc->file, row)
                                        : QlHtmlWriteCreditRow(doc->lines, doc->file, row);
        if (!ok) doc->ok = 0;
    }
}

void WriteTotalRow(HtmlDoc *doc, int kind, int row, int discount, const char *const *values, int count)
{
    PutFixed(doc, kTotalFirst[kind == KIND_PRODUCT]);
    Put(doc, kTotalRest[row][discount], values, count);
}

void WriteTotals(HtmlDoc *doc, int kind, int discount)
{
    char grossLabel[80], gross[80];
    Field(doc, IDT_DOC_GROSS_LABEL, grossLabel, sizeof grossLabel);
    if (kind == KIND_CREDIT) {
        Field(doc, IDT_DOC_GROSS, gross, sizeof gross);
        const char *values[] = {grossLabel, gross};
        Put(doc, kCreditTotal, values, 2);
        return;
    }
    const QlDocTextRec *t = QlDocText();
    char net[80], tax[80], discountTotal[20], carriage[20], carriageTax[20];
    Field(doc, IDT_DOC_NET, net, sizeof net);
    Field(doc, IDT_DOC_TAX, tax, sizeof tax);
    Field(doc, IDT_DOC_DISCOUNT, discountTotal, sizeof discountTotal);
    Field(doc, IDT_DOC_GROSS, gross, 20);
    Field(doc, IDT_DOC_CARRIAGE, carriage, sizeof carriage);
    Field(doc, IDT_DOC_CARRIAGE_TAX, carriageTax, sizeof carriageTax);
    const char *total[] = {t->TotalTitle, discount ? discountTotal : net, discount ? net : tax, tax};
    WriteTotalRow(doc, kind, ROW_TOTAL, discount, total, discount ? 4 : 3);
    if (QlSettings.cfg.printCarriage) {
        const char *values[] = {t->CarriageLabel, carriage, carriageTax};
        WriteTotalRow(doc, kind, ROW_CARRIAGE, discount, values, 3);
    }
    const char *values[] = {grossLabel, gross};
    WriteTotalRow(doc, kind, ROW_GROSS, discount, values, 2);
}

void WriteBottomLines(HtmlDoc *doc)
{
    PutFixed(doc, kBottomRule);
    for (int i = 0; i < QL_BOTTOM_LINE_COUNT; i++) PutOne(doc, kLine, QlSettings.cfg.bottomLines[i]);
}

int WriteDocument(HWND form, int kind, const char *folder, char *path, const char *number, const QlCustRec *customer,
                  int quote)
{
    if (!path) return 0;
    path[0] = '\0';
    if (!form || !number || !customer) return 0;
    HWND list = QlUiControl(form, IDL_DOC_LINES);
    int count = list ? (int)SendMessageA(list, LVM_GETITEMCOUNT, 0, 0) : 0;
    char title[80], name[QL_DOC_PATH_SIZE];
    QlUiGetField(form, IDT_DOC_TITLE, title, sizeof title);
    int length = snprintf(name, sizeof name, "%s%s.htm", title, number);
    // The file goes into the folder given and nowhere else.
    if (length < 0 || length >= (int)sizeof name || strpbrk(name, kNotInFileName)) return 0;
    length = folder && folder[0] ? snprintf(path, QL_DOC_PATH_SIZE, "%s\\%s", folder, name)
                                  : snprintf(path, QL_DOC_PATH_SIZE, "%s", name);
    if (length < 0 || length >= QL_DOC_PATH_SIZE) {
        path[0] = '\0';
        return 0;
    }
    // Written under a temporary name and moved into place when complete.
    char temp[MAX_PATH];
    if (!QlFileBegin(path, temp, sizeof temp)) return 0;
    HtmlDoc doc;
    doc.form = form;
    doc.lines = list;
    doc.ok = 1;
    doc.file = CreateFileA(temp, GENERIC_READ | GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    if (doc.file == INVALID_HANDLE_VALUE) {
        QlFileAbandon(temp);
        return 0;
    }
    int discount = kind != KIND_CREDIT && QlSettings.cfg.printDiscountColumn != 0;

    PutFixed(&doc, kHeader);
    WriteCompanyBox(&doc, kind, customer);
    WriteInfoBox(&doc, kind, number, customer, quote);
    WriteHeading(&doc, kind, discount);
    WriteLines(&doc, kind, count);
    WriteTotals(&doc, kind, discount);
    PutFixed(&doc, kCloseTables);
    if (kind != KIND_CREDIT && !quote && QlSettings.cfg.printBottomLines) WriteBottomLines(&doc);
    PutFixed(&doc, kFooter);

    if (!CloseHandle(doc.file)) doc.ok = 0;
    if (!doc.ok) {
        QlFileAbandon(temp);
        return 0;
    }
    return QlFileCommit(temp, path) == QL_FILE_DONE;
}

}  // namespace

int QlInvWriteHtmlServ(HWND form, const char *folder, char *path, const char *number, const QlCustRec *customer,
                       int quote)
{
    return WriteDocument(form, KIND_SERVICE, folder, path, number, customer, quote);
}

int QlInvWriteHtmlProd(HWND form, const char *folder, char *path, const char *number, const QlCustRec *customer,
                       int quote)
{
    return WriteDocument(form, KIND_PRODUCT, folder, path, number, customer, quote);
}

int QlInvWriteHtml(HWND form, int lineMode, const char *folder, char *path, const char *number,
                   const QlCustRec *customer, int quote)
{
    if (lineMode == 0) return QlInvWriteHtmlServ(form, folder, path, number, customer, quote);
    if (lineMode == 1) return QlInvWriteHtmlProd(form, folder, path, number, customer, quote);
    return 0;
}

int QlCreditWriteHtml(HWND form, const char *folder, char *path, const char *number, const QlCustRec *customer)
{
    return WriteDocument(form, KIND_CREDIT, folder, path, number, customer, 0);
}
