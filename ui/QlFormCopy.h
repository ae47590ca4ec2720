// A process-wide buffer holding a copy of a document form (two header texts,
// an amount and the cells of its line list) that can be put back into a form.
// The block is allocated on first use; the shell frees it at exit.
#pragma once

#include <windows.h>
#include <stddef.h>
#include <stdint.h>

#define QL_FORM_COPY_ROWS 1000
#define QL_FORM_COPY_CELLS 15
#define QL_FORM_COPY_CELL_CHARS 128

struct QlFormCopyRec {
    int32_t rowCount;
    char firstText[16];
    char secondText[32];
    int64_t amountCents;
    char cells[QL_FORM_COPY_ROWS][QL_FORM_COPY_CELLS][QL_FORM_COPY_CELL_CHARS];   // row r, cell c
};
static_assert(offsetof(QlFormCopyRec, firstText) == 4, "first text at 4");
static_assert(offsetof(QlFormCopyRec, secondText) == 20, "second text at 20");
static_assert(offsetof(QlFormCopyRec, amountCents) == 56, "amount at 56");
static_assert(offsetof(QlFormCopyRec, cells) == 64, "cells from byte 64");
static_assert(sizeof(QlFormCopyRec) == 1920064, "one block of 1,920,064 bytes");

// The controls of the form the copy is taken from or put into.
struct QlFormCopyControls {
    int firstTextId;
    int secondTextId;
    int unitsId;        // the amount as whole units ...
    int hundredthsId;   // ... and hundredths
    int listId;         // report-mode list view of the lines
};

// Copies the form into the buffer (after clearing it): the two texts (15 and
// 31 characters at most), the amount, the number of rows and the texts of up
// to 15 columns (127 characters each).  0, with the buffer as it was, when the
// block cannot be allocated or the list holds more than 1000 rows.
int QlFormCopyFill(HWND form, const QlFormCopyControls *controls);
// Puts the copy back: the texts, the amount, and the cells of the list rows
// that exist in both.  0 when there is no copy.
int QlFormCopyShow(HWND form, const QlFormCopyControls *controls);
// The copy, NULL before the first fill and after QlFormCopyFree.
const QlFormCopyRec *QlFormCopyCurrent(void);
// Frees the buffer; harmless when there is none.
void QlFormCopyFree(void);
