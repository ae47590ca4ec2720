// Countries with their tax defaults, tax names and currencies: the lists of
// the language page and of new companies.  Country, tax-name and currency
// numbers are the ones stored in the settings file.
#pragma once

#include "settings/QlSettings.h"

#include <stdint.h>

struct QlCountryRec {
    int32_t number;                        // equal to its index
    char flagPath[40];                     // empty: the language's flag is shown
    int32_t taxNameIndex;                  // into QlTaxNameTable
    char rates[QL_RATE_COUNT][QL_RATE_TEXT_WIDTH];  // "17.50": two digits, '.', two digits
    int32_t currencyIndex;                 // into QlCurrencyTable
    char businessLabel[40];                // e.g. "ABN:", may be empty
};

extern const QlCountryRec QlCountryTable[QL_COUNTRY_COUNT];
// Null-ended lists for the combo boxes.
extern const char *QlCountryNameTable[QL_COUNTRY_COUNT + 1];
extern const char *QlTaxNameTable[QL_TAX_NAME_COUNT + 1];
#define QL_CURRENCY_COUNT 154
// "GBP (Pound Sterling)": the first three characters are the stored code.
extern const char *QlCurrencyTable[QL_CURRENCY_COUNT + 1];
