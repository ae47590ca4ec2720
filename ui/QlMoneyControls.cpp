#include "QlMoneyControls.h"
#include "QlListView.h"
#include "core/QlPlatform.h"

#include <commctrl.h>
#include <limits.h>
#include <stdlib.h>
#include <string.h>

// ---------------------------------------------------------------------------
// Controls and list cells

int64_t QlUiGetCents(HWND dlg, int id)
{
    char buf[80];
    if (!GetDlgItemTextA(dlg, id, buf, sizeof buf)) buf[0] = '\0';
    return QlMoneyParseCents(buf);
}

int64_t QlListCellCents(HWND list, int column, int row)
{
    char buf[80];
    QlListGetCell(list, row, column, buf, sizeof buf);
    return QlMoneyParseCents(buf);
}

int64_t QlUiGetInt64(HWND dlg, int id)
{
    char buf[79];
    if (!GetDlgItemTextA(dlg, id, buf, sizeof buf)) return 0;
    return QlAtoI64(buf);
}

int64_t QlUiGetCentsSplit(HWND dlg, int idUnits, int idHundredths)
{
    char units[79], hundredthsText[79];
    if (!GetDlgItemTextA(dlg, idUnits, units, sizeof units)) units[0] = '\0';
    if (!GetDlgItemTextA(dlg, idHundredths, hundredthsText, sizeof hundredthsText)) hundredthsText[0] = '\0';
    return QlMoneySplitTextsToCents(units, hundredthsText);
}

void QlUiGetLong(HWND dlg, int id, long *out)
{
    char buf[256];
    if (GetDlgItemTextA(dlg, id, buf, sizeof buf) > 0 && buf[0]) *out = atol(buf);
}

void QlUiGetInt(HWND dlg, int id, int *out)
{
    char buf[256];
    if (GetDlgItemTextA(dlg, id, buf, sizeof buf) > 0 && buf[0]) *out = atoi(buf);
}

void QlListCellToMoneyEdits(HWND dlg, HWND list, int row, int column, int idUnits, int idHundredths)
{
    char buf[256];
    QlListGetCell(list, row, column, buf, 255);
    char *dot = strchr(buf, '.');
    if (dot) {
        *dot = '\0';
        SetDlgItemTextA(dlg, idUnits, buf);
        SetDlgItemTextA(dlg, idHundredths, dot + 1);
    } else {
        SetDlgItemTextA(dlg, idUnits, buf);
        SetDlgItemTextA(dlg, idHundredths, "");
    }
}

void QlUiSetMoney(HWND dlg, int id, int64_t euro, int cents)
{
    QlUiSetCents(dlg, id, euro * 100 + cents);
}

void QlUiSetCents(HWND dlg, int id, int64_t amountCents)
{
    char buf[40];
    QlMoneyFormatCents(amountCents, buf, sizeof buf);
    SetDlgItemTextA(dlg, id, buf);
}

// Units with the amount's sign and the hundredths without it ("-12" and "34"),
// the way QlUiGetCentsSplit reads them back.
static void SetSplit(HWND dlg, int idUnits, int idHundredths, int64_t amount, const char *hundredthsFormat)
{
    uint64_t magnitude = amount < 0 ? 0 - (uint64_t)amount : (uint64_t)amount;
    char units[40], hundredths[8];
    snprintf(units, sizeof units, "%s" QL_U64, amount < 0 ? "-" : "", magnitude / 100);
    snprintf(hundredths, sizeof hundredths, hundredthsFormat, (unsigned)(magnitude % 100));
    SetDlgItemTextA(dlg, idUnits, units);
    SetDlgItemTextA(dlg, idHundredths, hundredths);
}

void QlUiSetMoneySplit(HWND dlg, int idUnits, int idHundredths, int64_t euro, int cents)
{
    SetSplit(dlg, idUnits, idHundredths, euro * 100 + cents, "%u");
}

void QlUiSetCentsSplit(HWND dlg, int64_t amountCents, int idUnits, int idHundredths)
{
    SetSplit(dlg, idUnits, idHundredths, amountCents, "%02u");
}

void QlListSetMoney(HWND list, int row, int column, int units, int hundredths)
{
    char buf[128];
    QlMoneyFormatCents((int64_t)units * 100 + hundredths, buf, sizeof buf);
    QlListSetCell(list, row, column, buf);
}

// ---------------------------------------------------------------------------
// Column sums

// sum + amount, held at the end of 64 bits rather than wrapped past it.
static int64_t AddHeld(int64_t sum, int64_t amount)
{
    int64_t result;
    if (!__builtin_add_overflow(sum, amount, &result)) return result;
    return amount < 0 ? INT64_MIN : INT64_MAX;
}

int64_t QlListSumCents(HWND list, int column, int count)
{
    int64_t sum = 0;
    for (int row = 0; row < count; row++) sum = AddHeld(sum, QlListCellCents(list, column, row));
    return sum;
}

void QlListSumMoney(HWND list, int column, int count, int64_t *euro, int *cents)
{
    QlMoneySplitCents(QlListSumCents(list, column, count), euro, cents);
}

double QlListSumColumnFloat(HWND list, int column, int count)
{
    // Summed in double precision throughout: narrowing each cell to single
    // precision loses cents on amounts above about 100,000.
    double sum = 0.0;
    char buf[80];
    for (int row = 0; row < count; row++) {
        QlListGetCell(list, row, column, buf, sizeof buf);
        sum += atof(buf);
    }
    return sum;
}

void QlListSumMoneyPerKey(HWND list, int moneyColumn, int keyColumn, int count, int64_t *euro, int *cents)
{
    char lastKey[40] = "";
    char key[40];
    int64_t sum = 0;
    for (int row = 0; row < count; row++) {
        QlListGetCell(list, row, keyColumn, key, sizeof key);
        if (strcmp(key, lastKey) == 0) continue;
        memcpy(lastKey, key, sizeof key);
        sum = AddHeld(sum, QlListCellCents(list, moneyColumn, row));
    }
    QlMoneySplitCents(sum, euro, cents);
}
