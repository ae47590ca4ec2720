// The CSV exports of the Reports dialog: one line for each enabled row of a
// table, no header line, every line ending in CR LF.  Each export asks for
// the file with the save dialog; each returns 1 when the file was written
// whole, 0 when the user cancelled or anything failed (the user is told why
// and no partial file is left behind).
#pragma once

#include "datastore/QlDbRecords.h"

#include <windows.h>

int QlCsvExportCust(HWND owner);      // "cust.csv"
int QlCsvExportTrans(HWND owner);     // "trans.csv", every transaction
int QlCsvExportInvoices(HWND owner);  // "invs.csv"
int QlCsvExportCredits(HWND owner);   // "cred.csv"
int QlCsvExportPayments(HWND owner);  // "payments.csv"
int QlCsvExportProd(HWND owner);      // "prod.csv", with its status message
int QlCsvExportServ(HWND owner);      // the services window's export

// The row writers, one line each to the export stream.
int QlCsvCustRowCb(const QlCustRec *rec);
int QlCsvTransRowCb(const QlTransRec *rec);
int QlCsvDocRowCb(const QlTransRec *rec);
int QlCsvProdRowCb(const QlProdRec *rec);
