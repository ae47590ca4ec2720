#include "QlMoney.h"
#include "QlPlatform.h"

#include <limits.h>
#include <stdlib.h>
#include <string.h>

// ---------------------------------------------------------------------------
// Parsing and formatting

// Reads an integer as strtoll and atoi do (blanks, one sign, decimal digits
// up to the first other character or end; none at all is 0) into *value, and
// answers 1; 0, with *value 0, when its magnitude is above most.  However
// many digits the text carries, nothing wraps.
static int ReadInteger(const char *p, const char *end, uint64_t most, int64_t *value)
{
    *value = 0;
    while (p < end && (*p == ' ' || *p == '\t' || *p == '\n' || *p == '\r' || *p == '\f' || *p == '\v')) p++;
    const int negative = p < end && *p == '-';
    if (p < end && (*p == '-' || *p == '+')) p++;
    uint64_t magnitude = 0;
    for (; p < end && *p >= '0' && *p <= '9'; p++) {
        magnitude = magnitude * 10 + (uint64_t)(*p - '0');
        if (magnitude > most) return 0;   // checked at every digit, so the product never overflows
    }
    *value = negative ? -(int64_t)magnitude : (int64_t)magnitude;
    return 1;
}

// The most of a money text that is read: its first 63 bytes.
#define QL_MONEY_TEXT_MOST 63

// QlMoneyParse's reading, with its refusal: 0 (and 0, 0) for a text whose
// units or hundredths, or the amount they make in cents, do not fit the
// program's integers.  Read in place (no copy: lists parse an amount for
// every row they load).
static int ParseChecked(const char *text, int64_t *euro, int *cents)
{
    *euro = 0;
    *cents = 0;
    if (!text) return 1;
    const char *end = text + strnlen(text, QL_MONEY_TEXT_MOST);
    const char *dot = (const char *)memchr(text, '.', (size_t)(end - text));
    if (!dot) return 1;

    const char *p = text;
    while (*p == ' ' || *p == '\t') p++;
    int negative = p < dot && *p == '-';

    int64_t units, hundredths;
    if (!ReadInteger(text, dot, (uint64_t)INT64_MAX / 100, &units) ||
        !ReadInteger(dot + 1, end, INT_MAX, &hundredths))
        return 0;
    if (negative) hundredths = -hundredths;
    // units x 100 fits; the hundredths may still carry the amount past the end of 64 bits.
    const int64_t whole = units * 100;
    int64_t amount;
    if (__builtin_add_overflow(whole, hundredths, &amount)) return 0;
    *euro = units;
    *cents = (int)hundredths;
    return 1;
}

void QlMoneyParse(const char *text, int64_t *euro, int *cents)
{
    if (!ParseChecked(text, euro, cents)) *euro = 0, *cents = 0;
}

int64_t QlMoneyParseCents(const char *text)
{
    int64_t euro;
    int cents;
    QlMoneyParse(text, &euro, &cents);
    return euro * 100 + cents;
}

int QlMoneyToCentsText(const char *text, char *out)
{
    return snprintf(out, 21, QL_I64, QlMoneyParseCents(text));
}

int QlMoneyFormatCents(int64_t amountCents, char *out, size_t outSize)
{
    // Work on the magnitude as unsigned so that the smallest int64 is safe.
    uint64_t magnitude = amountCents < 0 ? 0 - (uint64_t)amountCents : (uint64_t)amountCents;
    return snprintf(out, outSize, "%s" QL_U64 ".%02u", amountCents < 0 ? "-" : "",
                    magnitude / 100, (unsigned)(magnitude % 100));
}

int64_t QlMoneySplitTextsToCents(const char *unitsText, const char *hundredthsText)
{
    const char *p = unitsText;
    while (*p == ' ' || *p == '\t') p++;
    int64_t whole, hundredths, amount;
    if (!ReadInteger(unitsText, unitsText + strlen(unitsText), (uint64_t)INT64_MAX / 100, &whole) ||
        !ReadInteger(hundredthsText, hundredthsText + strlen(hundredthsText), INT_MAX, &hundredths))
        return 0;
    whole *= 100;
    if (*p == '-' ? __builtin_sub_overflow(whole, hundredths, &amount) : __builtin_add_overflow(whole, hundredths, &amount))
        return 0;
    return amount;
}

void QlMoneySplitCents(int64_t amountCents, int64_t *euro, int *cents)
{
    *euro = amountCents / 100;
    *cents = (int)(amountCents % 100);
}

// ---------------------------------------------------------------------------
// Pair arithmetic and tax

void QlMoneySub(int64_t *euro, int *cents, int64_t subEuro, int subCents)
{
    QlMoneySplitCents((*euro * 100 + *cents) - (subEuro * 100 + subCents), euro, cents);
}

int QlMoneyGreaterEq(int64_t aEuro, int aCents, int64_t bEuro, int bCents)
{
    return aEuro * 100 + aCents > bEuro * 100 + bCents;
}

void QlMoneyMulCount(int units, int hundredths, int count, int64_t *euro, int *cents)
{
    int64_t amount = ((int64_t)units * 100 + hundredths) * (int64_t)count;
    QlMoneySplitCents(amount, euro, cents);
}

int64_t QlMoneyApplyRate(int64_t rate, int64_t amountCents)
{
    int64_t product = rate * amountCents;
    int64_t quotient = product / 10000;
    int64_t remainder = product % 10000;
    if (remainder >= 5000) quotient += 1;
    return quotient;
}

// ---------------------------------------------------------------------------
// Amount in words

static const char *const kOnes[10] = {"", "One ", "Two ", "Three ", "Four ", "Five ", "Six ", "Seven ",
                                      "Eight ", "Nine "};
static const char *const kTeens[10] = {"Ten ", "Eleven ", "Twelve ", "Thirteen ", "Fourteen ",
                                       "Fifteen ", "Sixteen ", "Seventeen ", "Eighteen ", "Nineteen "};
static const char *const kTens[10] = {"", "", "Twenty ", "Thirty ", "Forty ", "Fifty ", "Sixty ",
                                      "Seventy ", "Eighty ", "Ninety "};
// Scale word of a group followed by k further groups; 64-bit amounts have at
// most seven groups.
static const char *const kScales[7] = {"", "Thousand ", "Million ", "Billion ", "Trillion ",
                                       "Quadrillion ", "Quintillion "};

enum { kWordsSize = 512 };

const char *QlMoneyGroupDigits(uint64_t value, int *commasOut)
{
    static char grouped[32];
    char digits[24];
    int n = snprintf(digits, sizeof digits, QL_U64, value);
    int commas = (n - 1) / 3;
    int out = 0;
    for (int i = 0; i < n; i++) {
        if (i > 0 && (n - i) % 3 == 0) grouped[out++] = ',';
        grouped[out++] = digits[i];
    }
    grouped[out] = '\0';
    if (commasOut) *commasOut = commas;
    return grouped;
}

static int Append(char *buf, size_t *len, const char *word)
{
    size_t w = strlen(word);
    if (*len + w >= kWordsSize) return 0;
    memcpy(buf + *len, word, w + 1);
    *len += w;
    return 1;
}

const char *QlMoneyGroupsToWords(const char *groupedDigits, int commas)
{
    static char words[kWordsSize];
    size_t len = 0;
    words[0] = '\0';
    if (!groupedDigits || commas < 0 || commas >= (int)(sizeof kScales / sizeof kScales[0])) return NULL;

    const char *p = groupedDigits;
    for (int k = commas; k >= 0; k--) {
        int digits[3] = {0, 0, 0};
        int n = 0;
        int group[3];
        while (*p && *p != ',') {
            if (*p < '0' || *p > '9' || n == 3) return NULL;
            group[n++] = *p++ - '0';
        }
        if (n == 0) return NULL;
        if (*p == ',') p++;
        for (int i = 0; i < n; i++) digits[3 - n + i] = group[i];

        int h = digits[0], t = digits[1], u = digits[2];
        if (h == 0 && t == 0 && u == 0) continue;
        if (h && !(Append(words, &len, kOnes[h]) && Append(words, &len, "Hundred "))) return NULL;
        if (t == 1) {
            if (!Append(words, &len, kTeens[u])) return NULL;
        } else {
            if (t >= 2 && !Append(words, &len, kTens[t])) return NULL;
            if (u && !Append(words, &len, kOnes[u])) return NULL;
        }
        if (k > 0 && !Append(words, &len, kScales[k])) return NULL;
    }
    if (*p) return NULL;
    return words;
}

char *QlMoneyToWords(int64_t amount)
{
    uint64_t magnitude = amount < 0 ? 0 - (uint64_t)amount : (uint64_t)amount;
    int commas = 0;
    const char *grouped = QlMoneyGroupDigits(magnitude, &commas);
    const char *words = QlMoneyGroupsToWords(grouped, commas);
    if (!words) return NULL;
    char *result = (char *)malloc(kWordsSize + 8);
    if (!result) return NULL;
    snprintf(result, kWordsSize + 8, "%s %s", amount < 0 ? "minus" : "", words);
    return result;
}
