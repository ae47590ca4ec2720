// The account card: commands 11 (Print) and 12 (Export) of the customers
// module.  The printed card takes the texts the form shows, edited or not;
// the exported file takes the account as it is stored.

#include "customers/QlCustOutput.h"
#include "customers/QlCustOpeners.h"

#include "customers/QlCustTexts.h"

#include "ui/QlAppState.h"
#include "ui/QlMsgDialog.h"
#include "core/QlPlatform.h"
#include "ui/QlSeams.h"
#include "ui/QlWindow.h"
#include "datastore/QlDbTables.h"
#include "docmodel/QlReadError.h"
#include "resources/QlResIds.h"
#include "settings/QlLangTables.h"

#include <commctrl.h>
#include <stdarg.h>
#include <stdio.h>
#include <string.h>

// The module's overview list has no rows: neither command does anything.
static int NoAccounts(HWND module)
{
    return SendDlgItemMessageA(module, IDL_CUST_OVERVIEW, LVM_GETITEMCOUNT, 0, 0) <= 0;
}

// ---------------------------------------------------------------------------
// Print

int QlCustCardLines(HWND module, char lines[QL_CARD_LINES][QL_CARD_LINE_SIZE])
{
    const QlCustTextRec *text = QlCustText();
    char field[81];
    int n = 0;
    auto labelled = [&](const char *label, int id) {
        QlUiGetField(module, id, field);
        snprintf(lines[n++], QL_CARD_LINE_SIZE, "%s %s", label, field);
    };
    auto plain = [&](const char *line) { snprintf(lines[n++], QL_CARD_LINE_SIZE, "%s", line); };
    auto fieldLine = [&](int id) {
        QlUiGetField(module, id, field);
        plain(field);
    };
    labelled(text->CardAcRef, IDT_CUST_ACREF);
    plain(" ");
    plain(text->CardCompany);
    fieldLine(IDE_CUST_COMPANY);
    plain(" ");
    plain(text->CardAddress);
    fieldLine(IDE_CUST_ADDR1);
    fieldLine(IDE_CUST_ADDR2);
    fieldLine(IDE_CUST_ADDR3);
    plain(" ");
    labelled(text->CardContact, IDE_CUST_CONTACT);
    plain(" ");
    labelled(text->CardTelephone, IDE_CUST_TEL);
    labelled(text->CardFax, IDE_CUST_FAX);
    labelled(text->CardMobile, IDE_CUST_MOBILE);
    labelled(text->CardEmail, IDE_CUST_EMAIL);
    return n;
}

int QlCustCardDraw(QlPrintTarget *target, void *data)
{
    const char(*lines)[QL_CARD_LINE_SIZE] = (const char(*)[QL_CARD_LINE_SIZE])data;
    // Arial of 10 points rather than whatever the device offers first,
    // which need not even measure (a metafile's stock font does not).
    HFONT font = QlCustPrintFont(target->dc, 10, 0);
    if (!font) return 0;
    HGDIOBJ previous = SelectObject(target->dc, font);
    SIZE line = {0, QlCustPrintLineHeight(target->dc)};
    POINT pos = {target->page.left, target->page.top};
    for (int i = 0; i < QL_CARD_LINES; i++) QlPrintTextLine(target->dc, &pos, &line, lines[i]);
    SelectObject(target->dc, previous);
    DeleteObject(font);
    return 1;
}

void QlCustPrintList(HWND module)
{
    if (NoAccounts(module)) return;
    char lines[QL_CARD_LINES][QL_CARD_LINE_SIZE];
    QlCustCardLines(module, lines);
    QlPrintDocument(module, QlCustCardDraw, lines);
}

// ---------------------------------------------------------------------------
// Export

struct TextBuffer {
    char *out;
    size_t size;
    size_t length;
};

static void Append(TextBuffer *t, const char *format, ...)
{
    va_list args;
    va_start(args, format);
    size_t room = t->length < t->size ? t->size - t->length : 0;
    int n = vsnprintf(t->out + (room ? t->length : 0), room, format, args);
    va_end(args);
    if (n > 0) t->length += (size_t)n;
}

size_t QlCustExportText(const QlCustRec *rec, char *out, size_t size)
{
    const QlCustTextRec *text = QlCustText();
    TextBuffer t = {out, size, 0};
    if (size) out[0] = '\0';
    Append(&t, "%s %s\r\n", text->CardAcRef, rec->acref);
    Append(&t, "%s %s\r\n\r\n", text->CardCompany, rec->company);
    Append(&t, "%s\r\n", text->CardAddress);
    Append(&t, "%s\r\n%s\r\n%s\r\n\r\n", rec->addr1, rec->addr2, rec->addr3);
    Append(&t, "%s %s\r\n", text->CardContact, rec->contact);
    Append(&t, "%s %s %s %s\r\n", text->CardTelephone, rec->worktel, text->CardFax, rec->fax);
    Append(&t, "%s %s\r\n", text->CardMobile, rec->mobtel);
    Append(&t, "%s %s\r\n", text->CardEmail, rec->wemail);
    return t.length < size ? t.length : (size ? size - 1 : 0);
}

int QlCustExportWrite(const char *path, const QlCustRec *rec)
{
    char text[1024];
    size_t length = QlCustExportText(rec, text, sizeof text);
    FILE *file = QlFileOpen(path, "wb");
    if (!file) return 0;
    int ok = fwrite(text, 1, length, file) == length;
    if (fclose(file) != 0) ok = 0;
    if (!ok) DeleteFileA(path);
    return ok;
}

int QlCustExportList(HWND module)
{
    if (NoAccounts(module)) return 0;
    char acref[80];
    QlUiGetField(module, IDT_CUST_ACREF, acref);
    char err[QL_DB_ERR_SIZE];
    QlCustRec rec;
    if (!QlCustGetByAcRef(acref, &rec, err)) {
        if (!QlDbNotFound()) QlShowReadError(module, err);
        return 0;
    }
    char path[MAX_PATH] = "";
    if (!QlCustAskSavePath(module, QL_SAVE_TEXT, path, QlCustText()->ExportTitle, "(*.txt)\0*.txt\0", "txt")) return 0;
    if (QlCustExportWrite(path, &rec)) {
        QlStatusPostSaved(QlCustText()->CardSaved, path);
        return 1;
    }
    char message[MAX_PATH + 128];
    snprintf(message, sizeof message, QlCustText()->FileNotWritten, path);
    QlMsgBox(module, QlLangText()->Error, message, QL_COLOUR_WARNING);
    return 0;
}
