// Saving a document: the form is read once into a snapshot (its header texts
// and the cells of every line), and the snapshot is posted to the database
// as one database transaction: the trans row, every line, every stock change
// and the transaction counter are stored together, or nothing is.
//
// Also the conversions of a form row and header into records, and the
// write-back of an edited line of a stored document.
#pragma once

#include "datastore/QlDbRecords.h"
#include "docmodel/QlTransLines.h"

#include <windows.h>
#include <stdint.h>

// Document types.
enum QlDocType {
    QL_DOC_INVOICE = 1,
    QL_DOC_CREDIT = 2,
    QL_DOC_PAYMENT = 3,
    QL_DOC_QUOTE = 4,
    QL_DOC_ORDER = 5,
    QL_DOC_PURCHASE = 6,
};

// The fixed English captions of the data store's failures.
#define QL_CAPTION_ADD_TRANS_FAILED "Add transaction failed"
#define QL_CAPTION_ADD_ITEM_FAILED "Add invoice item failed"
#define QL_CAPTION_TRANS_UPDATE_FAILED "Transaction update failed"
#define QL_CAPTION_PRODUCT_NOT_FOUND "Product not found"
#define QL_CAPTION_PRODUCT_UPDATE_FAILED "Product update failed"

// One line of the form, its cells as texts.
struct QlSnapshotRow {
    char cells[QL_PROD_COLUMNS][QL_LINE_CELL_SIZE];
};

// A document form as texts.
struct QlTransSnapshot {
    int lineMode;             // 0 service lines, 1 product lines: the sub_type
    int columns;              // cells read per row (7, 9, 3 or 5)
    char acref[6];            // 1159, the chosen account
    char gross[13];           // 1170
    char date[32];            // 1160, day first
    char orderNumber[11];     // 1207
    char tax[13];             // 1164
    char carriage[13];        // 1166
    char carriageTax[13];     // 1167
    char customNumber[80];    // 1419
    int rowCount;
    int rowCapacity;
    QlSnapshotRow *rows;      // heap
};

// The columns a document of the type and line mode has (7, 9, 3 or 5).
int QlTransColumnsOf(int type, int lineMode);
// Reads the form; 0 when memory for the rows ran out.  Free it after.
int QlTransSnapshotTake(HWND form, int type, int lineMode, QlTransSnapshot *snap);
void QlTransSnapshotFree(QlTransSnapshot *snap);
// An empty snapshot, and a row appended to it (cells beyond count stay
// empty); for callers that build a document without a form.  0 when memory
// ran out.
void QlTransSnapshotInit(QlTransSnapshot *snap, int type, int lineMode);
int QlTransSnapshotAddRow(QlTransSnapshot *snap, const char *const *cells, int count);

// Save on a new-document form: non-zero when the document was stored (and
// "Invoice 12 saved" is in the status panel); the caller closes the form
// then and keeps it open otherwise.
int QlTransSave(HWND form, int type, int lineMode);
// Posts "<document> <number> saved" for a stored document of type 1-6 to
// the main window's status panel.
void QlTransPostSavedStatus(int type, int64_t number);
// The same from a snapshot, with messages over owner (which may be NULL);
// *savedKey (when given) receives the new document's number.
int QlTransSaveSnapshot(HWND owner, const QlTransSnapshot *snap, int type, int64_t *savedKey);
// Posting by type, from a header record that QlTransSaveSnapshot prepared:
// sales documents (1, 4), credit notes (2), purchase invoices (6).  1 when
// stored; 0 after a message, with nothing stored.
int QlTransPostSales(HWND owner, const QlTransSnapshot *snap, QlTransRec *rec);
int QlTransPostCredit(HWND owner, const QlTransSnapshot *snap, QlTransRec *rec);
int QlTransPostPurchase(HWND owner, const QlTransSnapshot *snap, QlTransRec *rec);

// A row of the form's list 1161 as a stored line (by the open form's line
// mode): its key from QlItemRowKeyTable; for a product row the product found
// by code gives prod_rowid and scode.  0 (out cleared) when the row has no
// stored key.
int QlTransReadItemRow(HWND form, int listId, int row, QlItemRec *out);
// The form header as a trans record (document type 1, 2 or 4).  0 after its
// message ("Zero gross amount", "Customer account does not exist"), out
// untouched.
int QlTransFormToRecord(HWND form, int type, QlTransRec *out);

// Writes row row of the snapshot back to the stored line it shows and the
// header to the stored document transKey, in one database transaction: the
// line, the stock of its product (by the difference of the quantities), the
// totals and the balance (old balance + new gross - old gross, so that a
// paid part stays paid).  1 when stored; 0 after a message, nothing stored.
int QlTransWriteBackLine(HWND owner, const QlTransSnapshot *snap, int row, int type, int64_t transKey);
// Edit on a stored document's view: refuses a row without a stored key, runs
// the line dialog on the selected row and writes a changed line back.  1
// when a line was changed and stored; 0 when nothing changed (no row, a
// refused row, the dialog cancelled); -1 when the row changed on the form
// but was not stored (after the message).
int QlTransViewEditLine(HWND form, int type, int64_t transKey);
