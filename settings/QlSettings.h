// The current company's settings: the record kept in "COMP%03u\cfg.dta", the
// block around it, and the tax-rate state derived from it.
//
// Every module reads and writes QlSettings.cfg in place; there are no
// accessors.  Texts are zero-terminated Windows-1252 bytes in fixed fields.
#pragma once

#include "settings/QlLangGen.h"

#include <stddef.h>
#include <stdint.h>

#define QL_CFG_FILE_SIZE 4144
#define QL_CFG_FILE_FORMAT "COMP%03u\\cfg.dta"
#define QL_COMPANY_MAX 10
#define QL_COUNTRY_COUNT 30
#define QL_TAX_NAME_COUNT 18
#define QL_RATE_COUNT 3
#define QL_RATE_TEXT_WIDTH 11
#define QL_LETTER_COUNT 4
#define QL_BOTTOM_LINE_COUNT 9

#pragma pack(push, 1)
// The file image, byte for byte (little-endian).
struct QlSettingsRec {
    char companyName[40];          // also the company's name in the company manager
    char address1[40];
    char address2[40];
    char address3[40];
    char taxNumber[15];
    char telephone[25];
    char fax[25];
    char reserved225[3];
    int32_t invoiceType;           // default invoice type: 0 service lines, 1 product lines
    int32_t defaultRate;           // default tax rate 0-2 (A, B, C)
    char taxName[5];               // at most 4 characters
    char reserved241[3];
    int32_t taxNameIndex;          // into QlTaxNameTable
    char rateTexts[QL_RATE_COUNT][QL_RATE_TEXT_WIDTH];  // "A - 00.00%"
    char currency[5];              // at most 3 characters, or "Euro"
    char reserved286[2];
    int32_t reserved288;
    int32_t saveYear;              // stamped by QlCfgSave
    int32_t printGridLines;
    int32_t printOrderNumber;
    int32_t printRateColumn;
    int32_t printDiscountColumn;
    int32_t printCarriage;
    int32_t printTaxNumber;
    int32_t printRegNumber;
    int32_t printBottomLines;
    char bottomLines[QL_BOTTOM_LINE_COUNT][40];
    int32_t printLogo;
    char logoPath[260];
    uint16_t cellMarginTop;        // 0-10
    uint16_t cellMarginRight;      // 0-10
    int32_t bottomPointSize;       // 1-16
    int32_t scanSounds;
    int32_t printBarcode;
    char smtpServer[81];
    char reserved1049;
    uint16_t smtpPort;
    char email[81];
    char reserved1133[3];
    int32_t smtpAuth;
    char smtpUser[81];
    char smtpPassword[81];         // plain text
    char contactName[41];
    char reserved1343;
    int32_t backupOnExit;
    QlLetterTemplate letters[QL_LETTER_COUNT];
    int32_t language;              // 0-8, the order of QL_LANG_COUNT
    int32_t country;               // 0-29, into QlCountryTable
    char businessLabel[40];        // e.g. "ABN:"
    char businessNumber[21];
    char webAddress[80];
    char reserved4057[3];
    int32_t reserved4060;
    int32_t reserved4064;
    char dateFormat[64];           // "d/MM/yyyy" or "MM/dd/yyyy"
    int32_t printTotalInWords;
    int32_t useSsl;
    int32_t reserved4140;
};
#pragma pack(pop)

static_assert(sizeof(QlSettingsRec) == QL_CFG_FILE_SIZE, "settings file image");
static_assert(offsetof(QlSettingsRec, address1) == 40, "");
static_assert(offsetof(QlSettingsRec, address2) == 80, "");
static_assert(offsetof(QlSettingsRec, address3) == 120, "");
static_assert(offsetof(QlSettingsRec, taxNumber) == 160, "");
static_assert(offsetof(QlSettingsRec, telephone) == 175, "");
static_assert(offsetof(QlSettingsRec, fax) == 200, "");
static_assert(offsetof(QlSettingsRec, invoiceType) == 228, "");
static_assert(offsetof(QlSettingsRec, defaultRate) == 232, "");
static_assert(offsetof(QlSettingsRec, taxName) == 236, "");
static_assert(offsetof(QlSettingsRec, taxNameIndex) == 244, "");
static_assert(offsetof(QlSettingsRec, rateTexts) == 248, "");
static_assert(offsetof(QlSettingsRec, currency) == 281, "");
static_assert(offsetof(QlSettingsRec, reserved288) == 288, "");
static_assert(offsetof(QlSettingsRec, saveYear) == 292, "");
static_assert(offsetof(QlSettingsRec, printGridLines) == 296, "");
static_assert(offsetof(QlSettingsRec, printOrderNumber) == 300, "");
static_assert(offsetof(QlSettingsRec, printRateColumn) == 304, "");
static_assert(offsetof(QlSettingsRec, printDiscountColumn) == 308, "");
static_assert(offsetof(QlSettingsRec, printCarriage) == 312, "");
static_assert(offsetof(QlSettingsRec, printTaxNumber) == 316, "");
static_assert(offsetof(QlSettingsRec, printRegNumber) == 320, "");
static_assert(offsetof(QlSettingsRec, printBottomLines) == 324, "");
static_assert(offsetof(QlSettingsRec, bottomLines) == 328, "");
static_assert(offsetof(QlSettingsRec, printLogo) == 688, "");
static_assert(offsetof(QlSettingsRec, logoPath) == 692, "");
static_assert(offsetof(QlSettingsRec, cellMarginTop) == 952, "");
static_assert(offsetof(QlSettingsRec, cellMarginRight) == 954, "");
static_assert(offsetof(QlSettingsRec, bottomPointSize) == 956, "");
static_assert(offsetof(QlSettingsRec, scanSounds) == 960, "");
static_assert(offsetof(QlSettingsRec, printBarcode) == 964, "");
static_assert(offsetof(QlSettingsRec, smtpServer) == 968, "");
static_assert(offsetof(QlSettingsRec, smtpPort) == 1050, "");
static_assert(offsetof(QlSettingsRec, email) == 1052, "");
static_assert(offsetof(QlSettingsRec, smtpAuth) == 1136, "");
static_assert(offsetof(QlSettingsRec, smtpUser) == 1140, "");
static_assert(offsetof(QlSettingsRec, smtpPassword) == 1221, "");
static_assert(offsetof(QlSettingsRec, contactName) == 1302, "");
static_assert(offsetof(QlSettingsRec, backupOnExit) == 1344, "");
static_assert(offsetof(QlSettingsRec, letters) == 1348, "");
static_assert(sizeof(QlSettingsRec::letters) == 2560, "");
static_assert(offsetof(QlSettingsRec, language) == 3908, "");
static_assert(offsetof(QlSettingsRec, country) == 3912, "");
static_assert(offsetof(QlSettingsRec, businessLabel) == 3916, "");
static_assert(offsetof(QlSettingsRec, businessNumber) == 3956, "");
static_assert(offsetof(QlSettingsRec, webAddress) == 3977, "");
static_assert(offsetof(QlSettingsRec, reserved4060) == 4060, "");
static_assert(offsetof(QlSettingsRec, reserved4064) == 4064, "");
static_assert(offsetof(QlSettingsRec, dateFormat) == 4068, "");
static_assert(offsetof(QlSettingsRec, printTotalInWords) == 4132, "");
static_assert(offsetof(QlSettingsRec, useSsl) == 4136, "");
static_assert(offsetof(QlSettingsRec, reserved4140) == 4140, "");

// The program-wide settings block.
struct QlSettingsBlock {
    int32_t reserved;
    int64_t rates[QL_RATE_COUNT];  // A, B, C in hundredths of a percent, parsed from the rate texts
    char className[8];             // the main window class " "
    QlSettingsRec cfg;             // the current company's settings
};
extern QlSettingsBlock QlSettings;

// The companies of the working folder (filled by the company manager).
struct QlCompanySlot {
    int32_t number;                // equal to its index
    int32_t present;               // 1 when the folder holds a readable settings file
    char name[40];
};
struct QlCompanyTable {
    int32_t current;               // the current company, -1 when none
    QlCompanySlot slots[QL_COMPANY_MAX];
};
extern QlCompanyTable QlCompanies;

// The rate texts shown in the rate combos, and a null-ended pointer table to
// them for the combo filler.  QlVatBuildRateList refreshes them.
extern char QlRateTextList[QL_RATE_COUNT][QL_RATE_TEXT_WIDTH];
extern const char *QlRateTextPtrs[QL_RATE_COUNT + 1];
// "A - 00.00%", "B - 23.00%", "C - 13.50%": fill empty rate texts at start-up
// and are the rates a new company receives.
extern char QlDefaultRateTexts[QL_RATE_COUNT][QL_RATE_TEXT_WIDTH];

// Printed line-table headings (services 7, products 9 columns) and the tax
// label; the language sets them, QlVatUpdateLabels puts the tax name in.
#define QL_SERV_HEADING_COUNT 7
#define QL_PROD_HEADING_COUNT 9
#define QL_HEADING_WIDTH 14
extern char QlServLineHeadings[QL_SERV_HEADING_COUNT][QL_HEADING_WIDTH];
extern char QlProdLineHeadings[QL_PROD_HEADING_COUNT][QL_HEADING_WIDTH];
extern char QlTaxLabel[20];       // "VAT %"

// The settings before any file is loaded: English letters, print options on
// as a new company expects them, "d/MM/yyyy", point size 7, port 25.
void QlCfgSetInitial(QlSettingsRec *rec);

// Start-up: an empty currency becomes "Euro", an empty tax name "VAT", empty
// rate texts the defaults; then the labels and rates are rebuilt.
void QlCfgFillTaxDefaults(void);

// Writes QlSettings.cfg to the current company's file, with this year stamped
// into it, as one replace: a new file "cfg.dta.new" is written and flushed,
// then moved over the old one.  1 when all 4144 bytes reached the file; 0
// when no company is current or the file cannot be written or moved, and
// the old file is then as it was.
int QlCfgSave(void);

// Reads company number company's file.  Only when the whole 4144 bytes were
// read is the record replaced, and repaired (QlCfgRepair); answers 1 then,
// else 0 and the record is untouched.
int QlCfgLoad(int company, QlSettingsRec *rec);

// Makes a record read from a file safe to use: every text terminated within
// its field, every index and option within its range, malformed rate texts
// replaced by the defaults.
void QlCfgRepair(QlSettingsRec *rec);

// The record's fields as the repair sees them.
enum QlCfgFieldKind {
    QL_CFG_TEXT,        // zero-terminated text of width bytes
    QL_CFG_RATE_TEXT,   // a rate text; fallback is its position
    QL_CFG_INT,         // int32 within [min, max], else fallback
    QL_CFG_FLAG,        // int32 option, 0 or 1 (anything else means on)
    QL_CFG_U16,         // uint16 within [min, max], else fallback
    QL_CFG_ANY          // any value is valid
};
struct QlCfgField {
    const char *name;
    uint16_t offset;
    uint16_t width;
    uint8_t kind;
    int32_t min;
    int32_t max;
    int32_t fallback;
};
extern const QlCfgField QlCfgFields[];
extern const int QlCfgFieldCount;

// Rebuilds the tax headings and QlTaxLabel from the tax name.
void QlVatUpdateLabels(void);
// Copies the record's rate texts to QlRateTextList and parses the rates.
void QlVatBuildRateList(void);
// Splits rate text pos of QlRateTextList: "B - 23.00%" gives "23" and "00".
// Answers 0 (both empty) for a position outside 0-2.
int QlVatSplitRate(int pos, char *whole, size_t wholeSize, char *hundredths, size_t hundredthsSize);
// The rate of a rate text in hundredths of a percent (whole x 100 + hundredths).
int64_t QlVatParseRate(const char *rateText);
