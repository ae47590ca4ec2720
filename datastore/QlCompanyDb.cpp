// Opening and closing the current company's database.

#include "datastore/QlDb.h"
#include "datastore/QlDbImport.h"

#include "common/QlSeams.h"

#include <stdio.h>

static int NoCompany(void)
{
    return -1;
}

QlDbCompanyNumberFn QlDbCurrentCompany = NoCompany;

// Set once a company database has been opened; a later close needs it.
static int gCompanyDbOpened;

// The old record files of the company folder ("COMP%03u\customers.dta",
// "prod.dta", then "trans.dta" with "invs.dta" and "paym.dta") are copied
// into the tables here, once per company (QlDbImport.h).  An import that
// stopped has told the user and runs again at the next open; the database
// opens all the same.
static void ImportOldRecords(unsigned company)
{
    QlLegacyImportAll(company);
}

int QlCompanyDbOpen(HWND owner)
{
    int company = QlDbCurrentCompany ? QlDbCurrentCompany() : -1;
    char path[MAX_PATH];
    char err[256];
    if (company < 0 || snprintf(path, sizeof path, "COMP%03u\\quilry.db", (unsigned)company) >= (int)sizeof path ||
        !QlDbOpen(path, err)) {
        QlSeamMessageBox(owner, "Failed to open database file", NULL, MB_OK);
        PostQuitMessage(0);
        return 0;
    }
    ImportOldRecords((unsigned)company);
    gCompanyDbOpened = 1;
    return 1;
}

void QlCompanyDbClose(void)
{
    if (gCompanyDbOpened) QlDbClose();
}
