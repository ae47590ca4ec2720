// Integer money: amounts in cents (int64), pairs of whole units and
// hundredths, their text forms, and tax.  The same in controls and list
// cells: ui/QlMoneyControls.h.
//
// A money text is units, ".", hundredths: "1234.05".  Negative amounts are
// written with one leading sign ("-12.34", "-0.05") and read back the same;
// amounts of zero and above keep the plain forms.
#pragma once

#include <stddef.h>
#include <stdint.h>

// Parsing and conversion.
// The units are the part before the first ".", the hundredths the whole
// integer after it ("1.5" is 1 and 5).  A text without "." is 0 and 0.
// When the units part carries a minus sign the hundredths come back negative
// as well, so that euro * 100 + cents is the amount ("-1.50" is -1 and -50).
// Nothing wraps: a text whose units, hundredths or amount in cents do not fit
// the program's integers ("99999999999999999999.00", "-1.2147483648") is no
// amount and reads as 0 and 0, like a text with no digits.  The ceilings on
// what a user may enter are the fields' own and the posting's
// (99,999,999,999 cents a document); balances, being sums, may go past them.
void QlMoneyParse(const char *text, int64_t *euro, int *cents);
int64_t QlMoneyParseCents(const char *text);
// Writes the cents of a money text as one integer ("1234.05" -> "123405");
// returns the characters written (out at least 21 bytes).
int QlMoneyToCentsText(const char *text, char *out);
// Writes an amount in cents as a money text ("-12.34"); returns the length.
int QlMoneyFormatCents(int64_t amountCents, char *out, size_t outSize);
// Units and hundredths typed apart ("-12" and "34") as cents, the units' sign
// the amount's; 0 when they make no amount that fits 64 bits (nothing wraps).
int64_t QlMoneySplitTextsToCents(const char *unitsText, const char *hundredthsText);

// Pair arithmetic.
void QlMoneySplitCents(int64_t amountCents, int64_t *euro, int *cents);
void QlMoneySub(int64_t *euro, int *cents, int64_t subEuro, int subCents);
// 1 when amount a is strictly greater than amount b.
int QlMoneyGreaterEq(int64_t aEuro, int aCents, int64_t bEuro, int bCents);
void QlMoneyMulCount(int units, int hundredths, int count, int64_t *euro, int *cents);

// Tax in cents: rate in hundredths of a percent times the amount, / 10000,
// a remainder of 5000 or more rounds a positive result up; a negative
// product is truncated toward zero.
int64_t QlMoneyApplyRate(int64_t rate, int64_t amountCents);

// Amount in English words.  QlMoneyToWords returns a heap block (free it)
// holding the sign word ("minus" or empty), a blank and the words; NULL when
// memory runs out.
char *QlMoneyToWords(int64_t amount);
const char *QlMoneyGroupDigits(uint64_t value, int *commasOut);
// Words of a grouped digit text in a static buffer; NULL when the text is not
// one QlMoneyGroupDigits writes.
const char *QlMoneyGroupsToWords(const char *groupedDigits, int commas);
