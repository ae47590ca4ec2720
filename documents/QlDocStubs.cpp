// The document writers still to come: each answers "no document" and shows
// nothing.  The printers and PDF writers replace these.
#include "documents/QlDocOutput.h"

int QlInvPrint(HWND, int, int) { return 0; }

static int NoPdf(char *path, int *status)
{
    if (status) *status = QL_PDF_STATUS_OK;
    if (path) path[0] = '\0';
    return 0;
}

int QlInvSavePdf(HWND, int, char *path, int, int *status) { return NoPdf(path, status); }
int QlDeliveryNotePrint(HWND) { return 0; }
int QlCreditPrint(HWND) { return 0; }
int QlCreditSavePdf(HWND, char *path, int, int *status) { return NoPdf(path, status); }
void QlCreditSavePdfFromView(HWND) {}
int QlQuotePrint(HWND, int) { return 0; }
int QlQuoteSavePdf(HWND, int, char *path, int, int *status) { return NoPdf(path, status); }
int QlPayPrint(HWND) { return 0; }
