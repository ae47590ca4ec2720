// Rows of the HTML documents: the label-and-value rows of the information
// box and one row of the line table per line of the form's list 1161, and
// the template writer under every piece of the documents.
#include "documents/QlHtml.h"
#include "documents/QlDocOutput.h"

#include "ui/QlListView.h"
#include "resources/QlResTrans.h"
#include "settings/QlSettings.h"

#include <string.h>

// ---------------------------------------------------------------------------
// The template writer: the filled template goes out through a small buffer,
// so a long value is never cut and nothing is written past the buffer.

namespace {

struct HtmlSink {
    HANDLE file;
    int ok;
    int used;
    char buffer[1024];
};

void Flush(HtmlSink *sink)
{
    if (sink->used == 0) return;
    DWORD written = 0;
    if (!WriteFile(sink->file, sink->buffer, (DWORD)sink->used, &written, NULL) || written != (DWORD)sink->used)
        sink->ok = 0;
    sink->used = 0;
}

void PutChars(HtmlSink *sink, const char *text, size_t length)
{
    while (length > 0) {
        if (sink->used == (int)sizeof sink->buffer) Flush(sink);
        size_t room = sizeof sink->buffer - (size_t)sink->used;
        size_t n = length < room ? length : room;
        memcpy(sink->buffer + sink->used, text, n);
        sink->used += (int)n;
        text += n;
        length -= n;
    }
}

void PutEscaped(HtmlSink *sink, const char *text)
{
    for (; text && *text; text++) {
        switch (*text) {
        case '&':
            PutChars(sink, "&amp;", 5);
            break;
        case '<':
            PutChars(sink, "&lt;", 4);
            break;
        case '>':
            PutChars(sink, "&gt;", 4);
            break;
        case '"':
            PutChars(sink, "&quot;", 6);
            break;
        default:
            PutChars(sink, text, 1);
        }
    }
}

}  // namespace

int QlHtmlPut(HANDLE file, const char *format, const char *const *values, int count)
{
    HtmlSink sink;
    sink.file = file;
    sink.ok = 1;
    sink.used = 0;
    int next = 0;
    for (const char *p = format; *p;) {
        const char *mark = strchr(p, '%');
        if (!mark) {
            PutChars(&sink, p, strlen(p));
            break;
        }
        PutChars(&sink, p, (size_t)(mark - p));
        if (mark[1] == 's') {
            if (next < count) PutEscaped(&sink, values[next]);
            next++;
        } else if (mark[1] == 'c') {
            PutChars(&sink, "%", 1);
        } else {
            sink.ok = 0;   // no other conversion belongs in a template
            break;
        }
        p = mark + 2;
    }
    Flush(&sink);
    return sink.ok && next == count;
}

// ---------------------------------------------------------------------------
// Label and value

BOOL QlHtmlWriteTotalRow(HANDLE file, const char *label, const char *value)
{
    static const char kRow[] =
        "<tr>\r\n"
        "<td width=\"50%c\" align=\"right\" bordercolorlight=\"#FFFFFF\" bordercolordark=\"#FFFFFF\">\r\n\r\n"
        "<font face=\"Arial\" size=\"2\"><b>%s</b>&nbsp;&nbsp; </font></td>\r\n"
        "<td width=\"50%c\" bordercolor=\"#000000\"><font face=\"Arial\" size=\"2\">&nbsp; %s</font></td>\r\n"
        "</tr>\r\n";
    const char *values[] = {label, value};
    return QlHtmlPut(file, kRow, values, 2) ? TRUE : FALSE;
}

// ---------------------------------------------------------------------------
// Lines.  A product row is the service row of the same option with the
// description cell followed by a quantity cell; the cells after them are the
// same in both.

#define ROW_CELL(width, text, tail)                                                                            \
    "<td width=\"" width "%c\" bordercolor=\"#000000\" valign=\"top\" align=\"right\">\r\n"                    \
    "<font face=\"Arial\" size=\"2\">" text "</font></td>\r\n" tail
#define ROW_DESCR(width) "<td width=\"" width "%c\" bordercolor=\"#000000\"><font face=\"Arial\" size=\"2\">\r\n%s</font></td>\r\n"
#define ROW_SERV_FIRST ROW_DESCR("50")
#define ROW_PROD_FIRST ROW_DESCR("45") ROW_CELL("5", "%s", "")
#define ROW_REST_PLAIN ROW_CELL("18", "%s", "") ROW_CELL("16", "%s", "\r\n") ROW_CELL("16", "%s", "") "</tr>\r\n"
#define ROW_REST_DISCOUNT                                                                                      \
    ROW_CELL("12", "%s", "") ROW_CELL("12", "%s", "") ROW_CELL("12", "%s", "\r\n") ROW_CELL("14", "%s", "")   \
    "</tr>\r\n"

// [product][discount]
static const char *const kLineRows[2][2] = {
    {"<tr>\r\n" ROW_SERV_FIRST ROW_REST_PLAIN, "<tr>\r\n" ROW_SERV_FIRST ROW_REST_DISCOUNT},
    {"<tr>\r\n" ROW_PROD_FIRST ROW_REST_PLAIN, "<tr>\r\n" ROW_PROD_FIRST ROW_REST_DISCOUNT},
};

static const char kCreditRow[] = "<tr>\r\n" ROW_DESCR("50") ROW_CELL("25", "&nbsp", "") ROW_CELL("25", "%s", "\r\n")
    "</tr>\r\n";

// A cell of the form's line list, cut to size - 1 characters.
static void Cell(HWND list, int row, int column, char *text, int size)
{
    text[0] = '\0';
    if (list) QlListGetCell(list, row, column, text, size);
}

// The cells of a service or product row (description, [quantity,] price,
// discount, net, tax), written with or without the discount.
static int WriteItemRow(HWND lines, HANDLE file, int row, int product)
{
    // List columns of the two kinds: description, quantity, price, discount amount, net, tax.
    static const int kColumns[2][6] = {{0, -1, 3, 4, 5, 6}, {1, 2, 5, 6, 7, 8}};
    char descr[256], quantity[40], price[40], discount[60], net[40], tax[40];
    const int *c = kColumns[product];
    Cell(lines, row, c[0], descr, sizeof descr);
    quantity[0] = '\0';
    if (product) Cell(lines, row, c[1], quantity, sizeof quantity);
    Cell(lines, row, c[2], price, sizeof price);
    Cell(lines, row, c[4], net, sizeof net);
    Cell(lines, row, c[5], tax, sizeof tax);
    Cell(lines, row, c[3], discount, product ? 60 : 40);
    int withDiscount = QlSettings.cfg.printDiscountColumn != 0;
    const char *values[6];
    int count = 0;
    values[count++] = descr;
    if (product) values[count++] = quantity;
    values[count++] = price;
    if (withDiscount) values[count++] = discount;
    values[count++] = net;
    values[count++] = tax;
    return QlHtmlPut(file, kLineRows[product][withDiscount], values, count);
}

int QlHtmlWriteServRow(HWND lines, HANDLE file, int row)
{
    return WriteItemRow(lines, file, row, 0);
}

int QlHtmlWriteProdRow(HWND lines, HANDLE file, int row)
{
    return WriteItemRow(lines, file, row, 1);
}

int QlHtmlWriteCreditRow(HWND lines, HANDLE file, int row)
{
    char descr[256], amount[40];
    Cell(lines, row, 0, descr, sizeof descr);
    Cell(lines, row, 1, amount, sizeof amount);
    const char *values[] = {descr, amount};
    return QlHtmlPut(file, kCreditRow, values, 2);
}
