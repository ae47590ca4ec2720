// Quantities the user types or pastes: whole numbers of units, read from the
// text exactly as it stands, so that "3.5" or "12,5" is refused rather than
// read as 3 or 125.
#pragma once

#include <stdint.h>

// The largest quantity a line or a stock movement takes: seven digits, the
// width of every quantity field.
#define QL_QTY_MAX 9999999

enum QlQuantityResult {
    QL_QTY_OK = 1,
    QL_QTY_NOT_WHOLE = 0,     // empty, or anything but digits (blanks around them allowed)
    QL_QTY_ZERO = -1,         // digits that make 0
    QL_QTY_NEGATIVE = -2,     // a minus sign before digits
    QL_QTY_TOO_LARGE = -3,    // more than the largest quantity given
};

// Reads a quantity of 1 to max; *out is set only when the result is QL_QTY_OK.
int QlQuantityParse(const char *text, int64_t max, int64_t *out);
