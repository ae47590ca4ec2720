// The CSV exports of the Reports dialog.
//
// Customers, transactions and the three document lists are written field by
// field without quotes, as spreadsheets and earlier exports expect; a text
// that holds a comma, a double quote or a line break is quoted (its double
// quotes doubled) so that it stays one field of its line.  The products list
// quotes every field.  Files are written in binary so that every line ends
// in CR LF whatever the C runtime does with "\n".  Success is reported only
// when the query ran and every byte reached the file; otherwise the user is
// told why and the unfinished file is removed.

#include "reports/QlCsvExports.h"
#include "reports/QlRepTexts.h"

#include "catalogue/QlServExport.h"
#include "ui/QlAppState.h"
#include "core/QlMoney.h"
#include "ui/QlMsgDialog.h"
#include "core/QlPlatform.h"
#include "ui/QlSaveDialog.h"
#include "ui/QlSeams.h"
#include "ui/QlUtil.h"
#include "datastore/QlDb.h"
#include "datastore/QlDbTables.h"
#include "docmodel/QlTransSums.h"

#include <commdlg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

namespace {

FILE *gStream;     // the file being written, NULL between exports
int gWriteFailed;  // a write to it failed
// The customers' balances while the customers are written (NULL otherwise):
// the figures the customers window shows.
QlCustBalanceRec *gBalances;
int gBalanceCount;

// The length of a text field of a record, which need not be terminated.
#define QL_FIELD(f) (int)strnlen((f), sizeof(f)), (f)

void Done(void)
{
    if (ferror(gStream)) gWriteFailed = 1;
}

// A text of an unquoted line: as it is, or quoted when it would break the line.
void PutText(int length, const char *text)
{
    int plain = 1;
    for (int i = 0; i < length && plain; i++) plain = !strchr(",\"\r\n", text[i]);
    if (plain) {
        fprintf(gStream, "%.*s", length, text);
        return;
    }
    fputc('"', gStream);
    for (int i = 0; i < length; i++) {
        if (text[i] == '"') fputc('"', gStream);
        fputc(text[i], gStream);
    }
    fputc('"', gStream);
}

// A quoted field of the products line and its comma.
void PutQuoted(int length, const char *text)
{
    char field[128];
    snprintf(field, sizeof field, "%.*s", length, text);
    QlCsvWriteField(gStream, field);
}

void ShowFileError(HWND owner, const char *format, const char *path)
{
    char message[400];
    snprintf(message, sizeof message, format, path);
    QlMsgBox(owner, QlRepText()->Error, message, QL_COLOUR_WARNING);
}

// Runs the table walk; the file's name from the save dialog.
typedef int (*WalkFn)(char *err);

struct Export {
    const char *defaultName;
    int titleProducts;  // the products export's own title
    WalkFn walk;
};

int Run(HWND owner, const Export &e)
{
    const QlRepTextRec *text = QlRepText();
    char path[MAX_PATH];
    snprintf(path, sizeof path, "%s", e.defaultName);
    if (!QlAskSavePath(owner, QL_SAVE_CSV, path, sizeof path, e.titleProducts ? text->ProdExportTitle : text->ExportTitle,
                       "CSV (*.csv)\0*.csv\0", "csv", NULL))
        return 0;

    FILE *stream = QlFileOpen(path, "wb");
    if (!stream) {
        ShowFileError(owner, text->FileOpenFailed, path);
        return 0;
    }
    gStream = stream;
    gWriteFailed = 0;
    char err[QL_DB_ERR_SIZE] = "";
    int queried = e.walk(err);
    int written = !gWriteFailed && fflush(stream) == 0 && !ferror(stream);
    if (fclose(stream) != 0) written = 0;
    gStream = NULL;
    gWriteFailed = 0;
    if (!queried || !written) DeleteFileA(path);

    if (!queried) {
        QlMsgBox(owner, text->Error, err, QL_COLOUR_WARNING);
        return 0;
    }
    if (!written) {
        ShowFileError(owner, text->FileWriteFailed, path);
        return 0;
    }
    QlStatusPostSaved(e.titleProducts ? text->ProdExported : text->ListExported, path);
    return 1;
}

int WalkCust(char *err)
{
    if (!QlTransSumAllCustBalances(&gBalances, &gBalanceCount, err)) return 0;
    int walked = QlCustEnum(QlCsvCustRowCb, err);
    free(gBalances);
    gBalances = NULL;
    gBalanceCount = 0;
    return walked;
}

int WalkTrans(char *err)
{
    return QlTransEnumSql(QlCsvTransRowCb, "select * from trans where enabled='yes'", err);
}

int WalkDocs(int type, char *err)
{
    char sql[128];
    snprintf(sql, sizeof sql, "select * from trans where enabled='yes' and type='%d'", type);
    return QlTransEnumSql(QlCsvDocRowCb, sql, err);
}

int WalkInvoices(char *err)
{
    return WalkDocs(1, err);
}

int WalkCredits(char *err)
{
    return WalkDocs(2, err);
}

int WalkPayments(char *err)
{
    return WalkDocs(3, err);
}

int WalkProd(char *err)
{
    return QlProdEnum(QlCsvProdRowCb, err);
}

}  // namespace

int QlCsvCustRowCb(const QlCustRec *rec)
{
    if (!gStream) return 0;
    const char *fields[] = {rec->acref, rec->contact, rec->worktel, rec->fax,  rec->wemail,
                            rec->mobtel, rec->addr1,  rec->addr2,   rec->addr3};
    const size_t sizes[] = {sizeof rec->acref,  sizeof rec->contact, sizeof rec->worktel,
                            sizeof rec->fax,    sizeof rec->wemail,  sizeof rec->mobtel,
                            sizeof rec->addr1,  sizeof rec->addr2,   sizeof rec->addr3};
    for (int i = 0; i < 9; i++) {
        PutText((int)strnlen(fields[i], sizes[i]), fields[i]);
        fputc(',', gStream);
    }
    // The balance is what the account's invoices still owe, as the customers
    // window sums it (the record's own balance fields are not kept).
    int64_t cents = 0;
    if (gBalances) {
        cents = QlTransFindCustBalance(gBalances, gBalanceCount, rec->iKey);
    } else {
        int64_t units = 0;
        int hundredths = 0;
        if (QlTransSumCustBalance(&units, &hundredths, rec)) cents = units * 100 + hundredths;
    }
    char balance[32];
    QlMoneyFormatCents(cents, balance, sizeof balance);
    fprintf(gStream, "%s\r\n", balance);
    Done();
    return 0;
}

int QlCsvTransRowCb(const QlTransRec *rec)
{
    if (!gStream) return 0;
    fprintf(gStream, QL_I64 "," QL_I64 ",%u,", rec->iKey, rec->doc_rowid, rec->sub_type);
    PutText(QL_FIELD(rec->date));
    fputc(',', gStream);
    PutText(QL_FIELD(rec->acref));
    fprintf(gStream, ",%u,%.*s,%.*s,%.*s,%.*s\r\n", rec->num_sub_items, QL_FIELD(rec->carriage), QL_FIELD(rec->vat),
            QL_FIELD(rec->gross), QL_FIELD(rec->gross_bal));
    Done();
    return 0;
}

int QlCsvDocRowCb(const QlTransRec *rec)
{
    if (!gStream) return 0;
    fprintf(gStream, QL_I64 ",", rec->iKey);
    PutText(QL_FIELD(rec->date));
    fputc(',', gStream);
    PutText(QL_FIELD(rec->acref));
    fputc(',', gStream);
    PutText(QL_FIELD(rec->desc));
    fprintf(gStream, ",%.*s\r\n", QL_FIELD(rec->gross));
    Done();
    return 0;
}

int QlCsvProdRowCb(const QlProdRec *rec)
{
    if (!gStream) return 0;
    fprintf(gStream, "\"" QL_I64 "\",\"%.*s\",", rec->iKey, QL_FIELD(rec->scode));
    PutQuoted(QL_FIELD(rec->barcode));
    PutQuoted(QL_FIELD(rec->supplier_code));
    PutQuoted(QL_FIELD(rec->name));
    fprintf(gStream, "\"%d.%02u\",\"%d.%02u\",\"%d\"\r\n", rec->unit_price_units, rec->unit_price_hundredths,
            rec->purchase_price_units, rec->purchase_price_hundredths, rec->stock_qty);
    Done();
    return 0;
}

int QlCsvExportCust(HWND owner)
{
    return Run(owner, {"cust.csv", 0, WalkCust});
}

int QlCsvExportTrans(HWND owner)
{
    return Run(owner, {"trans.csv", 0, WalkTrans});
}

int QlCsvExportInvoices(HWND owner)
{
    return Run(owner, {"invs.csv", 0, WalkInvoices});
}

int QlCsvExportCredits(HWND owner)
{
    return Run(owner, {"cred.csv", 0, WalkCredits});
}

int QlCsvExportPayments(HWND owner)
{
    return Run(owner, {"payments.csv", 0, WalkPayments});
}

int QlCsvExportProd(HWND owner)
{
    return Run(owner, {"prod.csv", 1, WalkProd});
}

int QlCsvExportServ(HWND owner)
{
    return QlServExportCsv(owner);
}
