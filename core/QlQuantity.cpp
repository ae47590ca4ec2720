// Quantities the user types or pastes.

#include "core/QlQuantity.h"

static int IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

static int IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

int QlQuantityParse(const char *text, int64_t max, int64_t *out)
{
    if (!text) return QL_QTY_NOT_WHOLE;
    while (IsBlank(*text)) text++;
    int negative = *text == '-';
    if (negative) text++;
    if (!IsDigit(*text)) return QL_QTY_NOT_WHOLE;
    int64_t value = 0;
    int tooLarge = 0;
    for (; IsDigit(*text); text++) {
        if (value > (INT64_MAX - 9) / 10) tooLarge = 1;
        else value = value * 10 + (*text - '0');
    }
    while (IsBlank(*text)) text++;
    if (*text) return QL_QTY_NOT_WHOLE;
    if (value == 0 && !tooLarge) return QL_QTY_ZERO;
    if (negative) return QL_QTY_NEGATIVE;
    if (tooLarge || value > max) return QL_QTY_TOO_LARGE;
    *out = value;
    return QL_QTY_OK;
}
