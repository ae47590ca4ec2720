// The import of the company's old record files into the database.
//
// Before the database, a company's data lived in five files of fixed-size
// records in its folder: customers.dta, prod.dta, trans.dta with the
// documents' lines in invs.dta and the payments' allocations in paym.dta.
// When a company database is opened their records are copied into the
// tables, once per company: a finished import leaves the marker file
// "import.done" in the company folder, and the files themselves are only
// read.  The whole import runs in one database transaction, so that an
// import that stops on a failure leaves nothing behind and runs again at the
// next open.
#pragma once

#include "core/QlDList.h"

#include <stddef.h>
#include <stdint.h>

#define QL_LEGACY_CUSTOMERS "customers.dta"
#define QL_LEGACY_PRODUCTS "prod.dta"
#define QL_LEGACY_TRANS "trans.dta"
#define QL_LEGACY_LINES "invs.dta"
#define QL_LEGACY_PAYMENTS "paym.dta"
#define QL_LEGACY_MARKER "import.done"

// Record sizes of the five files.
#define QL_LEGACY_CUST_SIZE 400
#define QL_LEGACY_PROD_SIZE 156
#define QL_LEGACY_TRANS_SIZE 108
#define QL_LEGACY_LINE_SIZE 168
#define QL_LEGACY_PAY_SIZE 44

// Bit 15 of a document's type marks a record not in use.
#define QL_LEGACY_NOT_IN_USE 0x8000u

// Each imports one file (a missing file imports nothing); the paths are
// Windows paths.  Records whose add fails are passed over.  Answer 1.
int QlLegacyImportCust(const char *path);
int QlLegacyImportProd(const char *path);
// Documents with their lines and payments.  Nothing is imported when the
// lines file is missing, and no document when the payments file is missing
// either.  1 when the import ran to its end (or a file was missing), 0 when
// it stopped on a failed document, line or key update, after telling the
// user in a system message box.
int QlLegacyImportTrans(const char *transPath, const char *linesPath, const char *paymentsPath);

// The first node of the list whose data begins with the 32-bit key (the
// records of invs.dta and paym.dta begin with their document's key); 1 with
// its data copied into found (at least the record's size), else 0.
int QlLegacyFindByKey(QlDListRec *list, uint32_t key, void *found, size_t size);

// The whole import of the company folder "COMP%03u", run by QlCompanyDbOpen
// on the open database: nothing when the folder holds the marker or none of
// the five files.  1 when the import finished (or there was nothing to do).
int QlLegacyImportAll(unsigned company);
