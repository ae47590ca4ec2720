// Saving a document and writing an edited line back.
//
// Both work on a snapshot of the form, so that nothing they do depends on a
// window, and both write inside one database transaction: a failure at any
// statement rolls everything back, so a failed save leaves no trace and the
// user can save again without storing the document twice.

#include "transactions/QlTransPost.h"

#include "ui/QlListView.h"
#include "core/QlMoney.h"
#include "ui/QlMsgDialog.h"
#include "core/QlPlatform.h"
#include "ui/QlSeams.h"
#include "ui/QlUtil.h"
#include "ui/QlWindow.h"
#include "datastore/QlDbTables.h"
#include "docmodel/QlReadError.h"
#include "docmodel/QlTransTexts.h"
#include "resources/QlResTrans.h"
#include "settings/QlLangTables.h"
#include "transactions/QlItemDialogs.h"
#include "transactions/QlTransForm.h"

#include <commctrl.h>
#include <stddef.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

// How the cells of a row fill a stored line.
enum RowKind { ROWS_SERVICE, ROWS_PRODUCT, ROWS_CREDIT, ROWS_PURCHASE };

static RowKind KindOf(int type, int lineMode)
{
    if (type == QL_DOC_CREDIT) return ROWS_CREDIT;
    if (type == QL_DOC_PURCHASE) return ROWS_PURCHASE;
    return lineMode == 1 ? ROWS_PRODUCT : ROWS_SERVICE;
}

int QlTransColumnsOf(int type, int lineMode)
{
    switch (KindOf(type, lineMode)) {
    case ROWS_PRODUCT: return QL_PROD_COLUMNS;
    case ROWS_CREDIT: return QL_CREDIT_COLUMNS;
    case ROWS_PURCHASE: return 5;
    default: return QL_SERV_COLUMNS;
    }
}

// Copies text into a field, cut to fit.
template <size_t N> static void Put(char (&field)[N], const char *text)
{
    size_t length = strnlen(text, N - 1);
    memcpy(field, text, length);
    field[length] = '\0';
}

// ---------------------------------------------------------------------------
// Snapshot

void QlTransSnapshotInit(QlTransSnapshot *snap, int type, int lineMode)
{
    memset(snap, 0, sizeof *snap);
    snap->lineMode = lineMode;
    snap->columns = QlTransColumnsOf(type, lineMode);
}

static int Reserve(QlTransSnapshot *snap, int rows)
{
    if (rows <= snap->rowCapacity) return 1;
    int capacity = snap->rowCapacity ? snap->rowCapacity : 16;
    while (capacity < rows) capacity *= 2;
    QlSnapshotRow *grown = (QlSnapshotRow *)realloc(snap->rows, (size_t)capacity * sizeof *grown);
    if (!grown) return 0;
    snap->rows = grown;
    snap->rowCapacity = capacity;
    return 1;
}

int QlTransSnapshotAddRow(QlTransSnapshot *snap, const char *const *cells, int count)
{
    if (!Reserve(snap, snap->rowCount + 1)) return 0;
    QlSnapshotRow *row = &snap->rows[snap->rowCount++];
    memset(row, 0, sizeof *row);
    for (int c = 0; c < count && c < QL_PROD_COLUMNS; c++) Put(row->cells[c], cells[c] ? cells[c] : "");
    return 1;
}

void QlTransSnapshotFree(QlTransSnapshot *snap)
{
    free(snap->rows);
    snap->rows = NULL;
    snap->rowCount = snap->rowCapacity = 0;
}

// The date picker's date, day first ("d/MM/yyyy"); empty without a picker.
static void ReadDate(HWND form, char *out, size_t size)
{
    out[0] = '\0';
    HWND picker = GetDlgItem(form, IDP_DOC_DATE);
    SYSTEMTIME date;
    if (picker && SendMessageA(picker, DTM_GETSYSTEMTIME, 0, (LPARAM)&date) == GDT_VALID)
        snprintf(out, size, "%d/%02d/%04d", date.wDay, date.wMonth, date.wYear);
}

int QlTransSnapshotTake(HWND form, int type, int lineMode, QlTransSnapshot *snap)
{
    QlTransSnapshotInit(snap, type, lineMode);
    QlUiGetField(form, IDT_DOC_ACREF, snap->acref);
    QlUiGetField(form, IDT_DOC_GROSS, snap->gross);
    ReadDate(form, snap->date, sizeof snap->date);
    QlUiGetField(form, IDE_DOC_ORDER, snap->orderNumber);
    QlUiGetField(form, IDT_DOC_TAX, snap->tax);
    QlUiGetField(form, IDT_DOC_CARRIAGE, snap->carriage);
    QlUiGetField(form, IDT_DOC_CARRIAGE_TAX, snap->carriageTax);
    QlUiGetField(form, IDE_DOC_CUSTOM, snap->customNumber);

    HWND list = GetDlgItem(form, IDL_DOC_LINES);
    int rows = list ? (int)SendMessageA(list, LVM_GETITEMCOUNT, 0, 0) : 0;
    if (!Reserve(snap, rows)) return 0;
    for (int r = 0; r < rows; r++) {
        QlSnapshotRow *row = &snap->rows[r];
        memset(row, 0, sizeof *row);
        for (int c = 0; c < snap->columns; c++) QlListGetCell(list, r, c, row->cells[c], QL_LINE_CELL_SIZE);
    }
    snap->rowCount = rows;
    return 1;
}

// ---------------------------------------------------------------------------
// Rows as stored lines

// Which column of a row fills which text of a stored line, by row kind.
struct CellField {
    size_t offset;
    size_t width;
    int column;
};
#define QL_FIELD(name, column) {offsetof(QlItemRec, name), sizeof(QlItemRec::name), column}
static const CellField kProductCells[] = {QL_FIELD(scode, 0), QL_FIELD(descr, 1),    QL_FIELD(qty, 2),
                                          QL_FIELD(vatr_str, 3), QL_FIELD(discr, 4), QL_FIELD(subtotal, 5),
                                          QL_FIELD(disca, 6), QL_FIELD(net, 7),      QL_FIELD(vat, 8)};
static const CellField kServiceCells[] = {QL_FIELD(descr, 0), QL_FIELD(vatr_str, 1), QL_FIELD(discr, 2),
                                          QL_FIELD(subtotal, 3), QL_FIELD(disca, 4), QL_FIELD(net, 5),
                                          QL_FIELD(vat, 6)};
static const CellField kCreditCells[] = {QL_FIELD(descr, 0), QL_FIELD(net, 1), QL_FIELD(vat, 2)};
static const CellField kPurchaseCells[] = {QL_FIELD(descr, 0), QL_FIELD(vatr_str, 1), QL_FIELD(subtotal, 2),
                                           QL_FIELD(net, 3), QL_FIELD(vat, 4)};
#undef QL_FIELD

// Fills the line's texts from the cells (the record cleared first), each
// cut to its field.
static void FillItem(const QlSnapshotRow *row, RowKind kind, QlItemRec *out)
{
    static const struct {
        const CellField *fields;
        size_t count;
    } kKinds[] = {{kServiceCells, ARRAYSIZE(kServiceCells)},
                  {kProductCells, ARRAYSIZE(kProductCells)},
                  {kCreditCells, ARRAYSIZE(kCreditCells)},
                  {kPurchaseCells, ARRAYSIZE(kPurchaseCells)}};
    memset(out, 0, sizeof *out);
    for (size_t i = 0; i < kKinds[kind].count; i++) {
        const CellField &f = kKinds[kind].fields[i];
        char *field = (char *)out + f.offset;
        size_t length = strnlen(row->cells[f.column], f.width - 1);
        memcpy(field, row->cells[f.column], length);
        field[length] = '\0';
    }
}

int QlTransReadItemRow(HWND form, int listId, int row, QlItemRec *out)
{
    memset(out, 0, sizeof *out);
    int64_t key = QlItemRowKey(row);
    if (!key) return 0;
    HWND list = GetDlgItem(form, listId);
    QlSnapshotRow cells = {};
    RowKind kind = QlTransLineMode == 1 ? ROWS_PRODUCT : ROWS_SERVICE;
    for (int c = 0; c < QL_PROD_COLUMNS; c++) QlListGetCell(list, row, c, cells.cells[c], QL_LINE_CELL_SIZE);
    FillItem(&cells, kind, out);
    out->iKey = key;
    if (kind == ROWS_PRODUCT) {
        QlProdRec product;
        char err[QL_DB_ERR_SIZE];
        if (QlProdFind("scode", out->scode, &product, err)) {
            out->prod_rowid = product.iKey;
            Put(out->scode, product.scode);
        }
    }
    return 1;
}

// ---------------------------------------------------------------------------
// Messages

static void ShowStoreError(HWND owner, const char *caption, const char *err)
{
    QlSeamMessageBox(owner, err, caption, MB_OK);
}

static int Refuse(HWND owner, const char *caption, const char *text)
{
    QlMsgBox(owner, caption, text, QL_COLOUR_WARNING);
    return 0;
}

// The caption over a product look-up that failed: not found, or not read.
static const char *NoProductCaption(void)
{
    return QlDbNotFound() ? QL_CAPTION_PRODUCT_NOT_FOUND : QlLangText()->DbReadFailed;
}

// The document's account could not be looked up: "does not exist" only when
// it is not there; a read that failed shows the store's text.
static int NoAccount(HWND owner, const char *notFound, const char *err)
{
    if (!QlDbNotFound()) {
        QlShowReadError(owner, err);
        return 0;
    }
    return Refuse(owner, QlLangText()->Error, notFound);
}

// A failure inside the database transaction: everything since QlDbBegin is
// undone before the user is told.
static int Abandon(HWND owner, const char *caption, const char *err)
{
    QlDbRollback();
    ShowStoreError(owner, caption, err);
    return 0;
}

// ---------------------------------------------------------------------------
// Header record

static int IsZeroGross(const QlTransSnapshot *snap)
{
    return snap->rowCount == 0 || !strchr(snap->gross, '.') || QlMoneyParseCents(snap->gross) == 0;
}

// QlTransFormToRecord on a snapshot.
static int SnapshotToRecord(HWND owner, const QlTransSnapshot *snap, int type, QlTransRec *out)
{
    const QlTransTextRec *text = QlTransText();
    if (IsZeroGross(snap)) return Refuse(owner, QlLangText()->Error, text->ZeroGross);
    QlCustRec customer;
    char err[QL_DB_ERR_SIZE];
    if (!QlCustGetByAcRef(snap->acref, &customer, err)) return NoAccount(owner, text->NoCustomer, err);
    QlTransRec rec = {};
    Put(rec.gross, snap->gross);
    rec.cust_rowid = customer.iKey;
    Put(rec.acref, customer.acref);
    Put(rec.vat, "0.00");
    if (type == QL_DOC_CREDIT) {
        Put(rec.vat, snap->carriageTax);
        Put(rec.carriage, "0.00");
        Put(rec.carriage_vat, "0.00");
    } else {
        Put(rec.order_number, snap->orderNumber);
        Put(rec.vat, snap->tax);
        Put(rec.carriage_vat, snap->carriageTax);
        Put(rec.carriage, snap->carriage);
    }
    Put(rec.gross_bal, rec.gross);
    Put(rec.date, snap->date);
    *out = rec;
    return 1;
}

int QlTransFormToRecord(HWND form, int type, QlTransRec *out)
{
    QlTransSnapshot snap;
    if (!QlTransSnapshotTake(form, type, QlTransLineMode, &snap)) {
        QlTransSnapshotFree(&snap);
        return 0;
    }
    int ok = SnapshotToRecord(form, &snap, type, out);
    QlTransSnapshotFree(&snap);
    return ok;
}

// ---------------------------------------------------------------------------
// Posting

// Lowers the stock of the line's product by its quantity and puts the
// product's row id and code on the line.  0 after the message (the
// transaction rolled back).
static int TakeStock(HWND owner, QlItemRec *line)
{
    QlProdRec product;
    char err[QL_DB_ERR_SIZE];
    if (!QlProdFind("scode", line->scode, &product, err)) return Abandon(NULL, NoProductCaption(), err);
    product.stock_qty -= atoi(line->qty);
    if (!QlProdUpdate(&product, err)) return Abandon(NULL, QL_CAPTION_PRODUCT_UPDATE_FAILED, err);
    line->prod_rowid = product.iKey;
    Put(line->scode, product.scode);
    return 1;
}

// Stores the header and every line in one database transaction.
static int StoreDocument(HWND owner, const QlTransSnapshot *snap, QlTransRec *rec, RowKind kind, int takeStock)
{
    char err[QL_DB_ERR_SIZE];
    if (!QlDbBegin(err)) {
        ShowStoreError(owner, QL_CAPTION_ADD_TRANS_FAILED, err);
        return 0;
    }
    if (!QlTransAdd(rec, err)) return Abandon(owner, QL_CAPTION_ADD_TRANS_FAILED, err);
    for (int i = 0; i < (int)rec->num_sub_items && i < snap->rowCount; i++) {
        QlItemRec line;
        FillItem(&snap->rows[i], kind, &line);
        if (kind == ROWS_PRODUCT && takeStock && !TakeStock(owner, &line)) return 0;
        line.sub_type = (uint8_t)rec->sub_type;
        line.tx_rowid = rec->iKey;
        if (!QlItemAdd(&line, err)) return Abandon(owner, QL_CAPTION_ADD_ITEM_FAILED, err);
        if (i == 0 && (!QlDbSetInt64("trans", "doc_rowid", rec->iKey, line.iKey, err) ||
                       !QlDbSetText("trans", "desc", rec->iKey, line.descr, err)))
            return Abandon(owner, QL_CAPTION_TRANS_UPDATE_FAILED, err);
        if (i == 0) {
            rec->doc_rowid = line.iKey;
            Put(rec->desc, line.descr);
        }
    }
    if (!QlDbCommit(err)) return Abandon(owner, QL_CAPTION_ADD_TRANS_FAILED, err);
    return 1;
}

// The snapshot's customer and custom number on the header; 0 after the
// message when the account does not exist.
static int TakeCustomer(HWND owner, const QlTransSnapshot *snap, QlTransRec *rec)
{
    QlCustRec customer;
    char err[QL_DB_ERR_SIZE];
    if (!QlCustGetByAcRef(snap->acref, &customer, err)) return NoAccount(owner, QlTransText()->NoCustomer, err);
    rec->cust_rowid = customer.iKey;
    Put(rec->acref, customer.acref);
    rec->iKey = snap->customNumber[0] ? QlAtoI64(snap->customNumber) : 0;
    if (rec->iKey < 0) rec->iKey = 0;
    return 1;
}

int QlTransPostSales(HWND owner, const QlTransSnapshot *snap, QlTransRec *rec)
{
    if (!TakeCustomer(owner, snap, rec)) return 0;
    Put(rec->order_number, snap->orderNumber);
    Put(rec->vat, snap->tax);
    Put(rec->carriage_vat, snap->carriageTax);
    Put(rec->carriage, snap->carriage);
    return StoreDocument(owner, snap, rec, KindOf(rec->type, (int)rec->sub_type), 1);
}

int QlTransPostCredit(HWND owner, const QlTransSnapshot *snap, QlTransRec *rec)
{
    if (!TakeCustomer(owner, snap, rec)) return 0;
    Put(rec->vat, snap->carriageTax);
    Put(rec->carriage, "0.00");
    return StoreDocument(owner, snap, rec, ROWS_CREDIT, 0);
}

int QlTransPostPurchase(HWND owner, const QlTransSnapshot *snap, QlTransRec *rec)
{
    QlSuppRec supplier;
    char err[QL_DB_ERR_SIZE];
    if (!QlSuppGetByAcRef(snap->acref, &supplier, err)) return NoAccount(owner, QlTransText()->NoSupplier, err);
    rec->supp_rowid = supplier.iKey;
    Put(rec->acref, supplier.acref);
    Put(rec->vat, snap->tax);
    rec->iKey = 0;
    rec->sub_type = 0;
    return StoreDocument(owner, snap, rec, ROWS_PURCHASE, 0);
}

int QlTransSaveSnapshot(HWND owner, const QlTransSnapshot *snap, int type, int64_t *savedKey)
{
    const QlTransTextRec *text = QlTransText();
    if (!snap->acref[0]) return Refuse(owner, text->MissingAccountCaption, text->MissingAccountText);
    if (IsZeroGross(snap)) return Refuse(owner, QlLangText()->Error, text->ZeroGross);
    QlTransRec rec = {};
    Put(rec.gross, snap->gross);
    Put(rec.gross_bal, snap->gross);
    Put(rec.vat, "0.00");
    Put(rec.carriage, "0.00");
    rec.type = (uint32_t)type;
    rec.sub_type = (uint32_t)snap->lineMode;
    Put(rec.date, snap->date);
    rec.num_sub_items = (uint32_t)snap->rowCount;
    int ok;
    switch (type) {
    case QL_DOC_INVOICE:
    case QL_DOC_QUOTE: ok = QlTransPostSales(owner, snap, &rec); break;
    case QL_DOC_CREDIT: ok = QlTransPostCredit(owner, snap, &rec); break;
    case QL_DOC_PURCHASE: ok = QlTransPostPurchase(owner, snap, &rec); break;
    default: return 0;
    }
    if (ok && savedKey) *savedKey = rec.iKey;
    return ok;
}

void QlTransPostSavedStatus(int type, int64_t number)
{
    if (type < 1 || type > 6) return;
    char key[24], message[96];
    snprintf(key, sizeof key, QL_I64, number);
    snprintf(message, sizeof message, QlTransText()->DocSaved[type - 1], key);
    QlStatusPost(message, QL_COLOUR_DONE);
}

int QlTransSave(HWND form, int type, int lineMode)
{
    QlTransSnapshot snap;
    int64_t key = 0;
    int ok = QlTransSnapshotTake(form, type, lineMode, &snap);
    if (ok)
        ok = QlTransSaveSnapshot(form, &snap, type, &key);
    else
        ShowStoreError(form, QL_CAPTION_ADD_TRANS_FAILED, "Out of memory");
    QlTransSnapshotFree(&snap);
    if (ok) QlTransPostSavedStatus(type, key);
    return ok;
}

// ---------------------------------------------------------------------------
// Write-back of an edited line

// Moves stock from the stored line's quantity to the edited one's: by the
// difference on the same product, or back to the old product and from the
// new one when the line now names another.
static int AdjustStock(const QlItemRec *stored, const QlItemRec *edited, char *err)
{
    int oldQty = atoi(stored->qty);
    int newQty = atoi(edited->qty);
    QlProdRec product;
    if (stored->prod_rowid == edited->prod_rowid) {
        if (newQty == oldQty) return 1;
        if (!QlProdGetByRowId(edited->prod_rowid, &product, err)) return 0;
        product.stock_qty -= newQty - oldQty;
        return QlProdUpdate(&product, err);
    }
    // The old product gets its stock back when it is still there; a read
    // that failed stops the write-back.
    if (stored->prod_rowid && oldQty) {
        if (QlProdGetByRowId(stored->prod_rowid, &product, err)) {
            product.stock_qty += oldQty;
            if (!QlProdUpdate(&product, err)) return 0;
        } else if (!QlDbNotFound()) {
            return 0;
        }
    }
    if (!QlProdGetByRowId(edited->prod_rowid, &product, err)) return 0;
    product.stock_qty -= newQty;
    return QlProdUpdate(&product, err);
}

static int UpdateLine(const QlItemRec *line, int type, char *err)
{
    char descr[160], rate[12], subtotal[26], net[26], vat[26], disca[26], discr[12], qty[20], scode[10];
    char sql[QL_DB_SQL_WRITE];
    if (!QlDbQuoteField(line->descr, sizeof line->descr, descr, sizeof descr, err) ||
        !QlDbQuoteField(line->net, sizeof line->net, net, sizeof net, err) ||
        !QlDbQuoteField(line->vat, sizeof line->vat, vat, sizeof vat, err))
        return 0;
    if (type == QL_DOC_CREDIT)
        return QlDbFormatSql(sql, sizeof sql, err,
                             "update invoices set descr='%s',net='%s',vat='%s' where iKey='" QL_I64 "';", descr, net,
                             vat, line->iKey) &&
               QlDbExec(sql, err);
    return QlDbQuoteField(line->vatr_str, sizeof line->vatr_str, rate, sizeof rate, err) &&
           QlDbQuoteField(line->subtotal, sizeof line->subtotal, subtotal, sizeof subtotal, err) &&
           QlDbQuoteField(line->disca, sizeof line->disca, disca, sizeof disca, err) &&
           QlDbQuoteField(line->discr, sizeof line->discr, discr, sizeof discr, err) &&
           QlDbQuoteField(line->qty, sizeof line->qty, qty, sizeof qty, err) &&
           QlDbQuoteField(line->scode, sizeof line->scode, scode, sizeof scode, err) &&
           QlDbFormatSql(sql, sizeof sql, err,
                         "update invoices set descr='%s',vatr_str='%s',subtotal='%s',net='%s',vat='%s',disca='%s',"
                         "discr='%s',qty='%s',prod_rowid='" QL_I64 "',scode='%s' where iKey='" QL_I64 "';",
                         descr, rate, subtotal, net, vat, disca, discr, qty, line->prod_rowid, scode, line->iKey) &&
           QlDbExec(sql, err);
}

static int UpdateHeader(const QlTransRec *header, const QlTransRec *stored, char *err)
{
    int64_t gross = QlMoneyParseCents(header->gross);
    int64_t balance = QlMoneyParseCents(stored->gross_bal) + gross - QlMoneyParseCents(stored->gross);
    char balanceText[32];
    QlMoneyFormatCents(balance, balanceText, sizeof balanceText);
    char carriage[26], grossText[26], balanceQuoted[64], vat[26], order[22];
    char sql[QL_DB_SQL_WRITE];
    return QlDbQuoteField(header->carriage, sizeof header->carriage, carriage, sizeof carriage, err) &&
           QlDbQuoteField(header->gross, sizeof header->gross, grossText, sizeof grossText, err) &&
           QlSqlQuote(balanceText, balanceQuoted, sizeof balanceQuoted) &&
           QlDbQuoteField(header->vat, sizeof header->vat, vat, sizeof vat, err) &&
           QlDbQuoteField(header->order_number, sizeof header->order_number, order, sizeof order, err) &&
           QlDbFormatSql(sql, sizeof sql, err,
                         "update trans set carriage='%s',gross='%s',gross_bal='%s',vat='%s',order_number='%s',"
                         "gross_cents='" QL_I64 "',gross_bal_cents='" QL_I64 "' where iKey='" QL_I64 "';",
                         carriage, grossText, balanceQuoted, vat, order, gross, balance, stored->iKey) &&
           QlDbExec(sql, err);
}

int QlTransWriteBackLine(HWND owner, const QlTransSnapshot *snap, int row, int type, int64_t transKey)
{
    int64_t key = QlItemRowKey(row);
    if (!key || row < 0 || row >= snap->rowCount)
        return Refuse(owner, QlLangText()->Error, QlTransText()->LineNotStored);
    QlTransRec header;
    if (!SnapshotToRecord(owner, snap, type, &header)) return 0;
    RowKind kind = KindOf(type, snap->lineMode);
    QlItemRec line;
    FillItem(&snap->rows[row], kind, &line);
    line.iKey = key;
    char err[QL_DB_ERR_SIZE];
    if (kind == ROWS_PRODUCT) {
        QlProdRec product;
        if (!QlProdFind("scode", line.scode, &product, err)) {
            ShowStoreError(NULL, NoProductCaption(), err);
            return 0;
        }
        line.prod_rowid = product.iKey;
        Put(line.scode, product.scode);
    }

    if (!QlDbBegin(err)) {
        ShowStoreError(owner, QL_CAPTION_TRANS_UPDATE_FAILED, err);
        return 0;
    }
    QlItemRec stored;
    QlTransRec storedHeader;
    if (!QlItemGetByRowId(key, &stored, err) || !QlTransGetByRowId(transKey, &storedHeader, err) ||
        !UpdateLine(&line, type, err))
        return Abandon(owner, QL_CAPTION_TRANS_UPDATE_FAILED, err);
    if (kind == ROWS_PRODUCT && type != QL_DOC_CREDIT && !AdjustStock(&stored, &line, err))
        return Abandon(NULL, QL_CAPTION_PRODUCT_UPDATE_FAILED, err);
    if (!UpdateHeader(&header, &storedHeader, err) ||
        (row == 0 && !QlDbSetText("trans", "desc", transKey, line.descr, err)) || !QlDbCommit(err))
        return Abandon(owner, QL_CAPTION_TRANS_UPDATE_FAILED, err);
    return 1;
}

int QlTransViewEditLine(HWND form, int type, int64_t transKey)
{
    int row = (int)SendDlgItemMessageA(form, IDL_DOC_LINES, LVM_GETNEXTITEM, (WPARAM)-1, LVNI_SELECTED);
    if (row < 0) return 0;
    // A row past the key table shows a line that cannot be found again.
    if (!QlItemRowKey(row)) return Refuse(form, QlLangText()->Error, QlTransText()->LineNotStored);
    if (type == QL_DOC_CREDIT) {
        if (!QlCreditEditItem(form)) return 0;
        QlTransFormSumCredit(form);
    } else {
        if (!QlTransEditItem(form)) return 0;
        QlTransFormSumItems(form, QlTransLineMode == 1 ? QL_LAYOUT_PRODUCT : QL_LAYOUT_SERVICE);
        QlTransFormUpdateGross(form);
    }
    QlTransSnapshot snap;
    int ok = QlTransSnapshotTake(form, type, QlTransLineMode, &snap);
    if (ok)
        ok = QlTransWriteBackLine(form, &snap, row, type, transKey);
    else
        ShowStoreError(form, QL_CAPTION_TRANS_UPDATE_FAILED, "Out of memory");
    QlTransSnapshotFree(&snap);
    return ok ? 1 : -1;
}
