// Saving a customer payment.
//
// The form is read once into a snapshot and every write of the payment is
// one database transaction: a refusal or a failure at any point rolls all of
// it back, so every invoice keeps its balance and Save can simply be pressed
// again.  Amounts are compared and subtracted in cents; an invoice is never
// driven below zero.

#include "transactions/QlPay.h"

#include "ui/QlListView.h"
#include "core/QlMoney.h"
#include "ui/QlMsgDialog.h"
#include "core/QlPlatform.h"
#include "ui/QlSeams.h"
#include "ui/QlUtil.h"
#include "datastore/QlDbTables.h"
#include "docmodel/QlTransTexts.h"
#include "resources/QlResTransPane.h"
#include "settings/QlLangTables.h"
#include "transactions/QlPaneTexts.h"
#include "transactions/QlTransForm.h"
#include "transactions/QlTransPost.h"

#include <commctrl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

// ---------------------------------------------------------------------------
// Snapshot

int QlPaySnapshotTake(HWND form, QlPaySnapshot *snap)
{
    memset(snap, 0, sizeof *snap);
    snap->listedAccount = QlPayListedAccount(form);
    SYSTEMTIME date;
    if (SendDlgItemMessageA(form, IDP_PAY_DATE, DTM_GETSYSTEMTIME, 0, (LPARAM)&date) == GDT_VALID)
        snprintf(snap->date, sizeof snap->date, "%d/%02d/%04d", date.wDay, date.wMonth, date.wYear);
    HWND list = GetDlgItem(form, IDL_PAY_DOCS);
    int rows = list ? (int)SendMessageA(list, LVM_GETITEMCOUNT, 0, 0) : 0;
    if (rows <= 0) return 1;
    snap->rows = (QlPayRow *)calloc((size_t)rows, sizeof *snap->rows);
    if (!snap->rows) return 0;
    for (int r = 0; r < rows; r++) {
        QlListGetCell(list, r, QL_PAY_COL_REF, snap->rows[r].ref, sizeof snap->rows[r].ref);
        QlListGetCell(list, r, QL_PAY_COL_PAID, snap->rows[r].paid, sizeof snap->rows[r].paid);
    }
    snap->rowCount = rows;
    return 1;
}

void QlPaySnapshotFree(QlPaySnapshot *snap)
{
    free(snap->rows);
    snap->rows = NULL;
    snap->rowCount = 0;
}

// ---------------------------------------------------------------------------
// Messages

static int Refuse(HWND owner, const char *text)
{
    QlMsgBox(owner, QlLangText()->Error, text, QL_COLOUR_WARNING);
    return 0;
}

// A refusal met inside the database transaction: undone first.
static int RefuseRow(HWND owner, const char *format, const char *ref)
{
    QlDbRollback();
    char text[200];
    snprintf(text, sizeof text, format, ref);
    return Refuse(owner, text);
}

static int Abandon(HWND owner, const char *caption, const char *err)
{
    QlDbRollback();
    QlSeamMessageBox(owner, err, caption, MB_OK);
    return 0;
}

// ---------------------------------------------------------------------------
// Reading the paid invoice

static QlTransRec sInvoice;
static int sInvoiceFound;

static int TakeInvoice(const QlTransRec *rec)
{
    sInvoice = *rec;
    sInvoiceFound = 1;
    return 0;
}

// The live sales invoice with the key: 1 found, 0 none, -1 the query failed.
static int ReadInvoice(int64_t key, char *err)
{
    char sql[QL_DB_SQL_QUERY];
    sInvoiceFound = 0;
    if (!QlDbFormatSql(sql, sizeof sql, err,
                       "select * from trans where iKey='" QL_I64 "' and enabled='yes' and type='1' limit 1;", key) ||
        !QlTransEnumSql(TakeInvoice, sql, err))
        return -1;
    return sInvoiceFound;
}

// The amount paid on a row in cents; rows that pay nothing or less count 0.
static int64_t PaidCents(const QlPayRow *row)
{
    int64_t paid = QlMoneyParseCents(row->paid);
    return paid > 0 ? paid : 0;
}

// ---------------------------------------------------------------------------
// Saving

// Lowers the invoice's balance by the amount, adds its payments row and, for
// the first paid invoice, points the payment at both.  0 after the message
// (rolled back).
static int PayInvoice(HWND owner, QlTransRec *payment, const QlCustRec *customer, const QlPayRow *row,
                      int64_t paid, int paidCount)
{
    const QlPaneTextRec *text = QlPaneText();
    char err[QL_DB_ERR_SIZE];
    int64_t key = QlAtoI64(row->ref);
    int found = key > 0 ? ReadInvoice(key, err) : 0;
    if (found < 0) return Abandon(owner, QL_CAPTION_TRANS_UPDATE_FAILED, err);
    if (!found) return RefuseRow(owner, text->InvoiceUnreadable, row->ref);
    if (sInvoice.cust_rowid != customer->iKey) return RefuseRow(owner, text->InvoiceOtherAccount, row->ref);
    int64_t balance = QlMoneyParseCents(sInvoice.gross_bal);
    if (balance < paid) return RefuseRow(owner, text->BalanceTooLow, row->ref);

    char money[32];
    QlMoneyFormatCents(balance - paid, money, sizeof money);
    if (!QlDbSetText("trans", "gross_bal", key, money, err) ||
        !QlDbSetInt64("trans", "gross_bal_cents", key, balance - paid, err))
        return Abandon(owner, QL_CAPTION_TRANS_UPDATE_FAILED, err);

    QlPayRec line = {};
    line.tx_rowid = payment->iKey;
    line.iv_rowid = key;
    QlMoneyFormatCents(paid, line.paid, sizeof line.paid);
    if (!QlPayAdd(&line, err)) return Abandon(owner, QL_CAPTION_INSERT_PAYMENT_FAILED, err);

    if (paidCount == 1 && (!QlDbSetInt64("trans", "doc_rowid", payment->iKey, line.iKey, err) ||
                           !QlDbSetText("trans", "desc", payment->iKey, sInvoice.desc, err)))
        return Abandon(owner, QL_CAPTION_TRANS_UPDATE_FAILED, err);
    return 1;
}

int QlPaySaveSnapshot(HWND owner, const QlPaySnapshot *snap, const QlCustRec *customer, int64_t *savedKey)
{
    const QlTransTextRec *trans = QlTransText();
    if (!customer) {
        QlMsgBox(owner, trans->MissingAccountCaption, trans->MissingAccountText, QL_COLOUR_WARNING);
        return 0;
    }
    // The invoices listed are those of the account loaded into the form: a
    // reference typed over it afterwards would pay them for another account.
    if (snap->rowCount > 0 && snap->listedAccount != customer->iKey) return Refuse(owner, QlPaneText()->AccountChanged);

    int64_t gross = 0;
    int paidRows = 0;
    for (int r = 0; r < snap->rowCount; r++) {
        int64_t paid = PaidCents(&snap->rows[r]);
        if (!paid) continue;
        gross += paid;
        paidRows++;
        if (gross > QL_MAX_GROSS_CENTS) return Refuse(owner, trans->MaxAmount);
    }
    if (gross == 0) return Refuse(owner, trans->ZeroGross);

    QlTransRec payment = {};
    payment.type = 3;
    payment.sub_type = 0;
    payment.cust_rowid = customer->iKey;
    snprintf(payment.acref, sizeof payment.acref, "%s", customer->acref);
    snprintf(payment.date, sizeof payment.date, "%s", snap->date);
    QlMoneyFormatCents(gross, payment.gross, sizeof payment.gross);
    snprintf(payment.gross_bal, sizeof payment.gross_bal, "%s", "0.00");
    snprintf(payment.vat, sizeof payment.vat, "%s", "0.00");
    payment.num_sub_items = (uint32_t)paidRows;

    char err[QL_DB_ERR_SIZE];
    if (!QlDbBegin(err)) {
        QlSeamMessageBox(owner, err, QL_CAPTION_ADD_TRANS_FAILED, MB_OK);
        return 0;
    }
    if (!QlTransAdd(&payment, err)) return Abandon(owner, QL_CAPTION_ADD_TRANS_FAILED, err);
    int paidCount = 0;
    for (int r = 0; r < snap->rowCount; r++) {
        int64_t paid = PaidCents(&snap->rows[r]);
        if (!paid) continue;
        if (!PayInvoice(owner, &payment, customer, &snap->rows[r], paid, ++paidCount)) return 0;
    }
    if (!QlDbCommit(err)) return Abandon(owner, QL_CAPTION_ADD_TRANS_FAILED, err);
    if (savedKey) *savedKey = payment.iKey;
    return 1;
}

int QlPaySave(HWND form, const QlCustRec *customer)
{
    QlPaySnapshot snap;
    int64_t key = 0;
    int ok = QlPaySnapshotTake(form, &snap);
    if (ok)
        ok = QlPaySaveSnapshot(form, &snap, customer, &key);
    else
        QlSeamMessageBox(form, "Out of memory", QL_CAPTION_ADD_TRANS_FAILED, MB_OK);
    QlPaySnapshotFree(&snap);
    if (ok) QlTransPostSavedStatus(QL_DOC_PAYMENT, key);
    return ok;
}
