// Money in controls and list cells: amounts read from edits and list cells
// and written to them in the text forms of QlMoney.h, and column sums.
#pragma once

#include <windows.h>
#include <stddef.h>
#include <stdint.h>

#include "core/QlMoney.h"

// Reading.
int64_t QlUiGetCents(HWND dlg, int id);
int64_t QlListCellCents(HWND list, int column, int row);
int64_t QlUiGetInt64(HWND dlg, int id);
// The units and hundredths edits as cents; 0 when they make no amount that
// fits 64 bits (nothing wraps).
int64_t QlUiGetCentsSplit(HWND dlg, int idUnits, int idHundredths);
void QlUiGetLong(HWND dlg, int id, long *out);
void QlUiGetInt(HWND dlg, int id, int *out);
void QlListCellToMoneyEdits(HWND dlg, HWND list, int row, int column, int idUnits, int idHundredths);

// Writing.
void QlUiSetMoney(HWND dlg, int id, int64_t euro, int cents);
void QlUiSetCents(HWND dlg, int id, int64_t amountCents);
void QlUiSetMoneySplit(HWND dlg, int idUnits, int idHundredths, int64_t euro, int cents);
void QlUiSetCentsSplit(HWND dlg, int64_t amountCents, int idUnits, int idHundredths);
void QlListSetMoney(HWND list, int row, int column, int units, int hundredths);

// Column sums over rows 0 .. count-1; a sum past the end of 64 bits is held
// there, never wrapped.
int64_t QlListSumCents(HWND list, int column, int count);
void QlListSumMoney(HWND list, int column, int count, int64_t *euro, int *cents);
double QlListSumColumnFloat(HWND list, int column, int count);
void QlListSumMoneyPerKey(HWND list, int moneyColumn, int keyColumn, int count, int64_t *euro, int *cents);
