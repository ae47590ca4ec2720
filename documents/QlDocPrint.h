// The printers of invoices, credit notes, quotations, delivery notes and
// payments.  Each printer is a front (QlInvPrint and its twins in
// QlDocOutput.h: the checks and messages before the print dialog, the logo,
// the print dialog and the document) and one drawing core that draws the
// whole document from the open form onto a print target, so that every page
// can also be drawn into metafiles.
//
// Page model: positions in device units inside the margin rectangle (one
// inch from the paper's edges), the 10-point body font and its line height
// H (the height of "e"), ten lines a page (sixteen on the delivery note),
// "Page x of n" at the top and "* Continued on next page *" at the foot of
// every page but the last when there is more than one, the totals block
// under the last page's table.
#pragma once

#include <windows.h>

#include "print/QlPicture.h"
#include "print/QlPrint.h"
#include "documents/QlDocPage.h"

// One print: what the front found out before the print dialog, for the core.
struct QlDocPrintJob {
    int kind;                  // QlDocKind
    HWND form;
    int lineMode;              // 0 service lines, 1 product lines
    QlPrintStyleRec style;
    HBITMAP logo;              // the job's own copy, NULL for none
    QlPictureSizeRec logoSize;
    int barcode;               // "Print barcode on invoices (encoded invoice number)"
    int orderBox;              // the invoice's fourth header box
    int carriage;              // "Include carriage"
    int words;                 // the amount in words (English only)
    int footnotes;             // the bottom lines (invoices only)
    int footnoteSize;          // their point size, 1 to 16
    char acref[6];             // the payment's account
    char address[3][40];       // the payment's customer address
};

// Fills the job's options from the settings for a document of the kind
// (nothing is loaded).
void QlDocPrintJobInit(QlDocPrintJob *job, int kind, HWND form, int lineMode);

// The drawing core of every printed document: draws the job's document on
// the target from its first page.  1 when it was drawn whole, 0 when a page
// could not be started.  Every font and device context it makes is deleted
// before it returns.
int QlDocPrintDraw(QlPrintTarget *target, void *job);

// The print dialog, the document and the drawing core; the job's logo is
// deleted afterwards whatever happened.  1 when the document was printed.
int QlDocPrintRun(QlDocPrintJob *job);

// Loads the logo for a print as a bitmap of the print's own (deleted after
// it).  QlPictureLoadCopy; tests point it elsewhere.
extern HBITMAP (*QlDocLogoLoader)(const char *path, QlPictureSizeRec *size);
