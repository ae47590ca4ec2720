// Compiled to Windows-1252 (see CMakeLists.txt).
#include "settings/QlCountries.h"

const char *QlCountryNameTable[QL_COUNTRY_COUNT + 1] = {
    "United Kingdom", "United States", "Canada", "Ireland", "Australia", "New Zealand", "India",
    "British Virgin Islands", "Cayman Islands", "Isle of Man", "Singapore", "South Africa", "France",
    "Germany", "Austria", "Belgium", "Liechtenstein", "Luxembourg", "Switzerland", "Spain", "Andorra",
    "Mexico", "Argentina", "Chile", "Denmark", "Sweden", "Norway", "Finland", "Netherlands", "Other", NULL};

#define QL_FLAG(file) ".\\images\\" file

// Each country's own currency, and its tax rates as they stand now: rate A
// zero, B the standard rate, C the reduced rate (00.00 where the country has
// none).  A new company starts with rate B as its default rate.  Where there
// is no national rate (the United States, the British Virgin Islands, the
// Cayman Islands) all three are 0; "Other" keeps the program's own rates.
// clang-format off
const QlCountryRec QlCountryTable[QL_COUNTRY_COUNT] = {
    { 0, QL_FLAG("uk.bmp"),            0, {"00.00", "20.00", "05.00"},   0, ""},           // GBP
    { 1, QL_FLAG("us.bmp"),            6, {"00.00", "00.00", "00.00"},   1, ""},           // USD
    { 2, QL_FLAG("canada.bmp"),        1, {"00.00", "05.00", "00.00"},   7, "BN:"},        // CAD
    { 3, QL_FLAG("ireland.bmp"),       0, {"00.00", "23.00", "13.50"},   2, "CRO No:"},    // EUR
    { 4, QL_FLAG("australia.bmp"),     1, {"00.00", "10.00", "00.00"},   6, "ABN:"},       // AUD
    { 5, QL_FLAG("newzeland.bmp"),     1, {"00.00", "15.00", "00.00"}, 107, "IRD No:"},    // NZD
    { 6, QL_FLAG("india.bmp"),         1, {"00.00", "18.00", "05.00"},  63, ""},           // INR
    { 7, "",                           0, {"00.00", "00.00", "00.00"},   1, ""},           // USD
    { 8, QL_FLAG("ci.bmp"),            0, {"00.00", "00.00", "00.00"},  42, ""},           // KYD
    { 9, QL_FLAG("iom.bmp"),           0, {"00.00", "20.00", "05.00"},   0, ""},           // GBP
    {10, QL_FLAG("singapur.bmp"),      1, {"00.00", "09.00", "00.00"}, 126, ""},           // SGD
    {11, QL_FLAG("sa.bmp"),            0, {"00.00", "15.00", "00.00"}, 134, ""},           // ZAR
    {12, QL_FLAG("france.bmp"),        3, {"00.00", "20.00", "05.50"},   2, "N° SIREN:"},  // EUR
    {13, QL_FLAG("germany.bmp"),       2, {"00.00", "19.00", "07.00"},   2, ""},           // EUR
    {14, QL_FLAG("austria.bmp"),      12, {"00.00", "20.00", "10.00"},   2, ""},           // EUR
    {15, QL_FLAG("belgium.bmp"),       2, {"00.00", "21.00", "06.00"},   2, ""},           // EUR
    {16, QL_FLAG("Liechtenstein.bmp"), 2, {"00.00", "08.10", "02.60"},   3, ""},           // CHF
    {17, QL_FLAG("luxembourg.bmp"),    3, {"00.00", "17.00", "08.00"},   2, ""},           // EUR
    {18, QL_FLAG("switzerland.bmp"),   2, {"00.00", "08.10", "02.60"},   3, ""},           // CHF
    {19, QL_FLAG("spain.bmp"),        13, {"00.00", "21.00", "10.00"},   2, "CIF:"},       // EUR
    {20, QL_FLAG("andorra.bmp"),      13, {"00.00", "04.50", "01.00"},   2, "CIF:"},       // EUR
    {21, QL_FLAG("mexico.bmp"),       13, {"00.00", "16.00", "00.00"}, 102, "RFC:"},       // MXN
    {22, QL_FLAG("argentina.bmp"),    13, {"00.00", "21.00", "10.50"},  14, "CUIT:"},      // ARS
    {23, QL_FLAG("chile.bmp"),        13, {"00.00", "19.00", "00.00"},  34, "RUT:"},       // CLP
    {24, QL_FLAG("denmark.bmp"),      14, {"00.00", "25.00", "00.00"},   4, "Org. nr:"},   // DKK
    {25, QL_FLAG("sweden.bmp"),       14, {"00.00", "25.00", "12.00"},   5, "Org. nr:"},   // SEK
    {26, QL_FLAG("norway.bmp"),       15, {"00.00", "25.00", "15.00"}, 108, "Org. nr:"},   // NOK
    {27, QL_FLAG("finland.bmp"),      16, {"00.00", "25.50", "13.50"},   2, "Y-tunnus:"},  // EUR
    {28, QL_FLAG("netherland.bmp"),   17, {"00.00", "21.00", "09.00"},   2, "OB nr"},      // EUR
    {29, "",                           0, {"00.00", "23.00", "13.50"},   2, ""},           // EUR
};
// clang-format on

const char *QlTaxNameTable[QL_TAX_NAME_COUNT + 1] = {
    "VAT", "GST", "MWST", "TVA", "ISI", "HST", "ST", "TAX", "BT", "CT",
    "TT",  "SUT", "UST",  "IVA", "MOMS", "MVA", "ALV", "BTW", NULL};

const char *QlCurrencyTable[QL_CURRENCY_COUNT + 1] = {
    "GBP (Pound Sterling)",
    "USD (US Dollar)",
    "EUR (Euro)",
    "CHF (Swiss Franc)",
    "DKK (Danish Krone)",
    "SEK (Swedish Krona)",
    "AUD (Australian Dollar)",
    "CAD (Canadian Dollar)",
    "ADF (Andorran Franc)",
    "ADP (Andorran Peseta)",
    "AFN (Afghan Afghani)",
    "AED (UAE Dirham)",
    "ALL (Albanian Lek)",
    "AMD (Armenian Dram)",
    "ARS (Argentine Peso)",
    "AOA (Angolan Kwanza)",
    "AWG (Aruban Florin)",
    "AZN (Azerbaijani Manat)",
    "BAM (Convertible Mark)",
    "BBD (Barbados Dollar)",
    "BGN (Bulgarian Lev)",
    "BDT (Bangladeshi Taka)",
    "BHD (Bahraini Dinar)",
    "BIF (Burundi Franc)",
    "BND (Brunei Dollar)",
    "BMD (Bermudian Dollar)",
    "BOB (Boliviano)",
    "BRL (Brazilian Real)",
    "BSD (Bahamian Dollar)",
    "BTN (Bhutanese Ngultrum)",
    "BWP (Botswana Pula)",
    "BYR (Belarusian Ruble)",
    "BZD (Belize Dollar)",
    "CDF (Congolese Franc)",
    "CLP (Chilean Peso)",
    "CNY (Chinese Yuan)",
    "COP (Colombian Peso)",
    "CRC (Costa Rican Colon)",
    "CUC (Cuban Convertible Peso)",
    "CUP (Cuban Peso)",
    "CVE (Cape Verde Escudo)",
    "CYP (Cyprus Pound)",
    "KYD (Cayman Islands Dollar)",
    "CZK (Czech Koruna)",
    "DJF (Djibouti Franc)",
    "DOP (Dominican Peso)",
    "DZD (Algerian Dinar)",
    "EGP (Egyptian Pound)",
    "ETB (Ethiopian Birr)",
    "FJD (Fiji Dollar)",
    "FKP (Falkland Islands Pound)",
    "GEL (Georgian Lari)",
    "GHS (Ghana Cedi)",
    "GTQ (Guatemalan Quetzal)",
    "GIP (Gibraltar Pound)",
    "GMD (Gambian Dalasi)",
    "GNF (Guinean Franc)",
    "GYD (Guyana Dollar)",
    "HGT (Haitian Gourde)",
    "HKD (Hong Kong Dollar)",
    "HNL (Honduran Lempira)",
    "HRK (Croatian Kuna)",
    "HUF (Hungarian Forint)",
    "INR (Indian Rupee)",
    "IDR (Indonesian Rupiah)",
    "IQR (Iraqi Dinar)",
    "IRR (Iranian Rial)",
    "ISK (Iceland Krona)",
    "ILS (Israeli New Shekel)",
    "JMD (Jamaican Dollar)",
    "JOD (Jordanian Dinar)",
    "JPY (Japanese Yen)",
    "KES (Kenyan Shilling)",
    "KHR (Cambodian Riel)",
    "KMF (Comoro Franc)",
    "KPW (North Korean Won)",
    "KRW (South Korean Won)",
    "KGZ (Kyrgyzstani Som)",
    "KWD (Kuwaiti Dinar)",
    "KZT (Kazakhstani Tenge)",
    "LAK (Lao Kip)",
    "LBP (Lebanese Pound)",
    "LKR (Sri Lanka Rupee)",
    "LVL (Latvian Lats)",
    "LRD (Liberian Dollar)",
    "LTL (Lithuanian Litas)",
    "LYD (Libyan Dinar)",
    "LSL (Lesotho Loti)",
    "MAD (Moroccan Dirham)",
    "MDL (Moldovan Leu)",
    "MGA (Malagasy Ariary)",
    "MKD (Macedonian Denar)",
    "MNT (Mongolian Tugrik)",
    "MMK (Myanmar Kyat)",
    "MOP (Macanese Pataca)",
    "MWK (Malawian Kwacha)",
    "MRO (Mauritanian Ouguiya)",
    "MUR (Mauritius Rupee)",
    "MYR (Malaysian Ringgit)",
    "MVR (Maldivian Rufiyaa)",
    "MTL (Maltese Lira)",
    "MZN (Mozambican Metical)",
    "MXN (Mexican Peso)",
    "NAD (Namibian Dollar)",
    "NGN (Nigerian Naira)",
    "NIO (Nicaraguan Cordoba)",
    "NPR (Nepalese Rupee)",
    "NZD (New Zealand Dollar)",
    "NOK (Norwegian Krone)",
    "OMR (Omani Rial)",
    "PAB (Panamanian Balboa)",
    "PEN (Peruvian Sol)",
    "PGK (Papua New Guinean Kina)",
    "PHP (Philippine Peso)",
    "PLN (Polish Zloty)",
    "PKR (Pakistan Rupee)",
    "PYG (Paraguayan Guarani)",
    "QAR (Qatari Riyal)",
    "RON (Romanian Leu)",
    "RSD (Serbian Dinar)",
    "RUR (Russian Ruble)",
    "RWF (Rwanda Franc)",
    "SBD (Solomon Islands Dollar)",
    "SCR (Seychelles Rupee)",
    "SDG (Sudanese Pound)",
    "SAR (Saudi Riyal)",
    "SGD (Singapore Dollar)",
    "SHP (Saint Helena Pound)",
    "SLL (Sierra Leonean Leone)",
    "SOS (Somali Shilling)",
    "SRD (Surinamese Dollar)",
    "STD (Sao Tome Dobra)",
    "SYP (Syrian Pound)",
    "SZL (Swazi Lilangeni)",
    "ZAR (South African Rand)",
    "TWD (New Taiwan Dollar)",
    "THB (Thai Baht)",
    "TMT (Turkmenistan Manat)",
    "TND (Tunisian Dinar)",
    "TJS (Tajikistani Somoni)",
    "TRY (Turkish Lira)",
    "TZS (Tanzanian Shilling)",
    "UAH (Ukrainian Hryvnia)",
    "UGX (Uganda Shilling)",
    "UYU (Uruguayan Peso)",
    "UZS (Uzbekistan Som)",
    "VND (Vietnamese Dong)",
    "VEF (Venezuelan Bolivar)",
    "VUV (Vanuatu Vatu)",
    "WST (Samoan Tala)",
    "XCD (East Caribbean Dollar)",
    "YER (Yemeni Rial)",
    "ZWD (Zimbabwe Dollar)",
    "ZMK (Zambian Kwacha)",
    NULL};
