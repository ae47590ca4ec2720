// What the customers module puts on paper and into files for one account:
// the account card (printed from the form, exported from the stored
// record), the letter of dialog 221 and the address label of dialog 199.
// The openers are in QlCustOpeners.h; here are the pieces they are made of.
#pragma once

#include "print/QlPrint.h"
#include "ui/QlSaveDialog.h"
#include "datastore/QlDbRecords.h"

#include <windows.h>
#include <stddef.h>

// ---------------------------------------------------------------------------
// The account card

#define QL_CARD_LINES 16
#define QL_CARD_LINE_SIZE 160

// The card's lines from the module's form: "A/C Ref: <ref>", a blank,
// "Company name:", the company, a blank, "Company Address:", the three
// address lines, a blank, the contact, a blank, telephone, fax, mobile and
// e-mail.  Returns QL_CARD_LINES.
int QlCustCardLines(HWND module, char lines[QL_CARD_LINES][QL_CARD_LINE_SIZE]);
// The drawing core: the lines from the margin's top-left corner in Arial of
// 10 points, one line height and a pixel apart.
int QlCustCardDraw(QlPrintTarget *target, void *lines);

// The export file's text for the stored account, lines ending in CR LF;
// its length (out holds at least size bytes and is always terminated).
size_t QlCustExportText(const QlCustRec *rec, char *out, size_t size);
// Writes the export text to a file (a Windows path); 1 when every byte was
// written and the file closed.  A file that could not be written whole is
// removed.
int QlCustExportWrite(const char *path, const QlCustRec *rec);

// ---------------------------------------------------------------------------
// Letters and labels

// The letter dialog's texts, as the user left them.
struct QlLetterRec {
    char address[4][40];      // company and address lines
    char date[40];
    char acrefLabel[40];
    char acref[6];
    char opening[81];         // "Dear"
    char addressee[40];       // the contact, or the word for customer
    char subject[128];
    char body[512];
    char closing[40];
    char signature[41];
};
// Reads the letter from dialog 221.
void QlLetterRead(HWND dialog, QlLetterRec *letter);
// The letter as the text of an e-mail message: "<opening> <addressee>,", the
// body, the closing and the signature, lines ending in CR LF.  Its length.
size_t QlLetterMessage(const QlLetterRec *letter, char *out, size_t size);

struct QlLetterJob {
    QlLetterRec letter;
    QlPrintStyleRec style;
};
// The drawing core of a letter: the company at the top right, the
// recipient's address, the date and account, the subject, the greeting, the
// body wrapped to the margins, the closing and the signature.
int QlLetterDraw(QlPrintTarget *target, void *job);

// Dialog 199's label: its position (0-13: two columns, seven rows, read
// across) and its four lines.
#define QL_LABEL_POSITIONS 14
struct QlLabelJob {
    int position;
    char lines[4][40];
};
// The label's rectangle on an A4 sheet of 14 labels of 99.1 x 38.1 mm, in
// the target's device units.
RECT QlLabelRect(const QlPrintTarget *target, int position);
// The drawing core: the four lines inside the label of the position.
int QlLabelDraw(QlPrintTarget *target, void *job);

// The position remembered between uses of dialog 199 (0 at the start).
extern int QlCustLabelPosition;
// The letter chosen last in dialog 220 (0-4; 4 is the blank letter) and
// the account the letter is for.
extern int QlCustLetterChoice;
extern char QlCustLetterAcRef[6];
// (Their dialog procedures: QlCustOpeners.h.)

// ---------------------------------------------------------------------------
// Printing helpers of the account screens

// "Arial" of the point size (and weight, 0 for normal) for the device
// context; the caller deletes it.  NULL when it cannot be made.
HFONT QlCustPrintFont(HDC dc, int points, int weight);
// The height of the letter "E" in the selected font: the line height.
int QlCustPrintLineHeight(HDC dc);
// A cell text of a printed grid (QlGrid.h), inset from its cell's left or
// right line (DT_LEFT / DT_RIGHT in format) and from its top line by 10
// pixels on a 600 dpi printer and in proportion on others (2 at the least),
// so that a narrow column keeps its text on a coarse device too.
// DrawText's result; 0 when the cell is not in the grid.
struct QlGridRec;
int QlCustGridCellText(HDC dc, const QlGridRec *grid, const char *text, int row, int column, UINT format);

// The save-file dialog of the kind (QlAskSavePath, ui/QlSaveDialog.h) over
// path, MAX_PATH bytes holding the suggested name: it opens in the folder
// last chosen for the kind or the working folder, asks before overwriting,
// adds the extension when the user types none.  The working folder is
// restored afterwards ("Cannot change directory" when it cannot be).  1 with
// the chosen file's full path in path.
int QlCustAskSavePath(HWND owner, int kind, char *path, const char *title, const char *filter, const char *extension);
