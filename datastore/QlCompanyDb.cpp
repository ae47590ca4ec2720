// Opening and closing the current company's database.

#include "datastore/QlDb.h"
#include "datastore/QlDbImport.h"


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

int QlCompanyDbPath(char *path, size_t size)
{
    int company = QlDbCurrentCompany ? QlDbCurrentCompany() : -1;
    if (company < 0) return 0;
    int n = snprintf(path, size, "COMP%03u\\quilry.db", (unsigned)company);
    return n > 0 && (size_t)n < size;
}

int QlCompanyDbOpen(char *err)
{
    char path[MAX_PATH];
    if (!QlCompanyDbPath(path, sizeof path)) {
        QlDbSetError(err, "no company chosen");
        return 0;
    }
    if (!QlDbOpen(path, err)) return 0;
    ImportOldRecords((unsigned)QlDbCurrentCompany());
    gCompanyDbOpened = 1;
    return 1;
}

void QlCompanyDbClose(void)
{
    if (gCompanyDbOpened) QlDbClose();
}
