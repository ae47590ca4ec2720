#include "settings/QlSettings.h"

#include "core/QlPlatform.h"
#include "settings/QlLangTables.h"

#include <windows.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static const char kDefaultTaxName[] = "VAT";
static const char kDefaultCurrency[] = "Euro";
static const char kDefaultDateFormat[] = "d/MM/yyyy";
static const int32_t kDefaultPointSize = 7;

char QlDefaultRateTexts[QL_RATE_COUNT][QL_RATE_TEXT_WIDTH] = {"A - 00.00%", "B - 23.00%", "C - 13.50%"};
char QlRateTextList[QL_RATE_COUNT][QL_RATE_TEXT_WIDTH] = {"A - 00.00%", "B - 23.00%", "C - 13.50%"};
const char *QlRateTextPtrs[QL_RATE_COUNT + 1] = {QlRateTextList[0], QlRateTextList[1], QlRateTextList[2], NULL};

char QlServLineHeadings[QL_SERV_HEADING_COUNT][QL_HEADING_WIDTH] = {
    "Details", "VAT %", "Disc %", "Price", "Disc Amt", "Net", "VAT"};
char QlProdLineHeadings[QL_PROD_HEADING_COUNT][QL_HEADING_WIDTH] = {
    "Code", "Details", "QTY", "VAT %", "Disc %", "Unit Price", "Disc Amt", "Net", "VAT"};
char QlTaxLabel[20] = "VAT %";

QlCompanyTable QlCompanies = {-1, {}};

static QlSettingsBlock MakeInitialBlock(void)
{
    QlSettingsBlock block;
    memset(&block, 0, sizeof block);
    block.rates[0] = 0;
    block.rates[1] = 2300;
    block.rates[2] = 1350;
    block.className[0] = ' ';
    QlCfgSetInitial(&block.cfg);
    return block;
}

QlSettingsBlock QlSettings = MakeInitialBlock();

// Copies text into a field of width bytes, cut to fit, the rest zeroed.
static void SetField(char *field, size_t width, const char *text)
{
    memset(field, 0, width);
    memcpy(field, text, strnlen(text, width - 1));
}

void QlCfgSetInitial(QlSettingsRec *rec)
{
    memset(rec, 0, sizeof *rec);
    rec->printGridLines = 1;
    rec->printOrderNumber = 1;
    rec->printRateColumn = 1;
    rec->printTaxNumber = 1;
    rec->printRegNumber = 1;
    rec->bottomPointSize = kDefaultPointSize;
    rec->scanSounds = 1;
    rec->printBarcode = 1;
    rec->smtpPort = 25;
    rec->backupOnExit = 1;
    memcpy(rec->letters, QlLangTextTable[QL_LANG_ENGLISH].Letters, sizeof rec->letters);
    rec->reserved4064 = 1;
    SetField(rec->dateFormat, sizeof rec->dateFormat, kDefaultDateFormat);
}

void QlCfgFillTaxDefaults(void)
{
    QlSettingsRec *cfg = &QlSettings.cfg;
    if (!cfg->currency[0]) SetField(cfg->currency, sizeof cfg->currency, kDefaultCurrency);
    if (!cfg->taxName[0]) SetField(cfg->taxName, sizeof cfg->taxName, kDefaultTaxName);
    for (int i = 0; i < QL_RATE_COUNT; i++)
        if (!cfg->rateTexts[i][0]) memcpy(cfg->rateTexts[i], QlDefaultRateTexts[i], QL_RATE_TEXT_WIDTH);
    QlVatUpdateLabels();
    QlVatBuildRateList();
}

// ---------------------------------------------------------------------------
// The settings file

static int FormatCfgPath(int company, char *path, size_t size)
{
    if (company < 0 || company >= QL_COMPANY_MAX) return 0;
    int n = snprintf(path, size, QL_CFG_FILE_FORMAT, (unsigned)company);
    return n > 0 && (size_t)n < size;
}

int QlCfgSave(void)
{
    char path[MAX_PATH], fresh[MAX_PATH];
    if (!FormatCfgPath(QlCompanies.current, path, sizeof path)) return 0;
    // The record goes whole into a new file beside the old one, which then
    // takes the old one's place in one step: a failure or a crash on the way
    // leaves the old file as it was, never half a record.
    int n = snprintf(fresh, sizeof fresh, "%s.new", path);
    if (n <= 0 || (size_t)n >= sizeof fresh) return 0;
    HANDLE file = CreateFileA(fresh, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) return 0;

    SYSTEMTIME now;
    GetLocalTime(&now);
    QlSettings.cfg.saveYear = now.wYear;

    DWORD written = 0;
    int ok = WriteFile(file, &QlSettings.cfg, sizeof QlSettings.cfg, &written, NULL) && written == sizeof QlSettings.cfg;
    if (!FlushFileBuffers(file)) ok = 0;
    if (!CloseHandle(file)) ok = 0;
    if (ok) ok = MoveFileExA(fresh, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
    if (!ok) DeleteFileA(fresh);
    return ok;
}

int QlCfgLoad(int company, QlSettingsRec *rec)
{
    char path[MAX_PATH];
    if (!rec || !FormatCfgPath(company, path, sizeof path)) return 0;
    HANDLE file = CreateFileA(path, GENERIC_READ, 0, NULL, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) return 0;

    // Read into a scratch record, so that a short file changes nothing.
    QlSettingsRec scratch;
    DWORD total = 0;
    while (total < sizeof scratch) {
        DWORD got = 0;
        if (!ReadFile(file, (char *)&scratch + total, sizeof scratch - total, &got, NULL) || got == 0) break;
        total += got;
    }
    CloseHandle(file);
    if (total != sizeof scratch) return 0;

    QlCfgRepair(&scratch);
    memcpy(rec, &scratch, sizeof *rec);
    return 1;
}

// ---------------------------------------------------------------------------
// Field table and repair

#define QL_CFG_TXT(field) {#field, offsetof(QlSettingsRec, field), sizeof(QlSettingsRec::field), QL_CFG_TEXT, 0, 0, 0}
#define QL_CFG_TXT_AT(name, field, i)                                                                        \
    {name, (uint16_t)(offsetof(QlSettingsRec, field) + (i) * sizeof(QlSettingsRec::field[0])),             \
     sizeof(QlSettingsRec::field[0]), QL_CFG_TEXT, 0, 0, 0}
#define QL_CFG_RATE(i)                                                                                       \
    {"rateTexts[" #i "]", (uint16_t)(offsetof(QlSettingsRec, rateTexts) + (i) * QL_RATE_TEXT_WIDTH),         \
     QL_RATE_TEXT_WIDTH, QL_CFG_RATE_TEXT, 0, 0, (i)}
#define QL_CFG_LETTER(i)                                                                                     \
    {"letters[" #i "].title",                                                                               \
     (uint16_t)(offsetof(QlSettingsRec, letters) + (i) * sizeof(QlLetterTemplate) + offsetof(QlLetterTemplate, title)), \
     sizeof(QlLetterTemplate::title), QL_CFG_TEXT, 0, 0, 0},                                                 \
    {"letters[" #i "].body",                                                                                \
     (uint16_t)(offsetof(QlSettingsRec, letters) + (i) * sizeof(QlLetterTemplate) + offsetof(QlLetterTemplate, body)), \
     sizeof(QlLetterTemplate::body), QL_CFG_TEXT, 0, 0, 0}
#define QL_CFG_NUM(field, kind, lo, hi, fallback)                                                           \
    {#field, offsetof(QlSettingsRec, field), sizeof(QlSettingsRec::field), (kind), (lo), (hi), (fallback)}
#define QL_CFG_OPT(field) QL_CFG_NUM(field, QL_CFG_FLAG, 0, 1, 0)

const QlCfgField QlCfgFields[] = {
    QL_CFG_TXT(companyName),
    QL_CFG_TXT(address1),
    QL_CFG_TXT(address2),
    QL_CFG_TXT(address3),
    QL_CFG_TXT(taxNumber),
    QL_CFG_TXT(telephone),
    QL_CFG_TXT(fax),
    QL_CFG_NUM(invoiceType, QL_CFG_INT, 0, 1, 0),
    QL_CFG_NUM(defaultRate, QL_CFG_INT, 0, QL_RATE_COUNT - 1, 0),
    QL_CFG_TXT(taxName),
    QL_CFG_NUM(taxNameIndex, QL_CFG_INT, 0, QL_TAX_NAME_COUNT - 1, 0),
    QL_CFG_RATE(0),
    QL_CFG_RATE(1),
    QL_CFG_RATE(2),
    QL_CFG_TXT(currency),
    QL_CFG_NUM(saveYear, QL_CFG_ANY, 0, 0, 0),
    QL_CFG_OPT(printGridLines),
    QL_CFG_OPT(printOrderNumber),
    QL_CFG_OPT(printRateColumn),
    QL_CFG_OPT(printDiscountColumn),
    QL_CFG_OPT(printCarriage),
    QL_CFG_OPT(printTaxNumber),
    QL_CFG_OPT(printRegNumber),
    QL_CFG_OPT(printBottomLines),
    QL_CFG_TXT_AT("bottomLines[0]", bottomLines, 0),
    QL_CFG_TXT_AT("bottomLines[1]", bottomLines, 1),
    QL_CFG_TXT_AT("bottomLines[2]", bottomLines, 2),
    QL_CFG_TXT_AT("bottomLines[3]", bottomLines, 3),
    QL_CFG_TXT_AT("bottomLines[4]", bottomLines, 4),
    QL_CFG_TXT_AT("bottomLines[5]", bottomLines, 5),
    QL_CFG_TXT_AT("bottomLines[6]", bottomLines, 6),
    QL_CFG_TXT_AT("bottomLines[7]", bottomLines, 7),
    QL_CFG_TXT_AT("bottomLines[8]", bottomLines, 8),
    QL_CFG_OPT(printLogo),
    QL_CFG_TXT(logoPath),
    QL_CFG_NUM(cellMarginTop, QL_CFG_U16, 0, 10, 0),
    QL_CFG_NUM(cellMarginRight, QL_CFG_U16, 0, 10, 0),
    QL_CFG_NUM(bottomPointSize, QL_CFG_INT, 1, 16, kDefaultPointSize),
    QL_CFG_OPT(scanSounds),
    QL_CFG_OPT(printBarcode),
    QL_CFG_TXT(smtpServer),
    QL_CFG_NUM(smtpPort, QL_CFG_ANY, 0, 0, 0),
    QL_CFG_TXT(email),
    QL_CFG_OPT(smtpAuth),
    QL_CFG_TXT(smtpUser),
    QL_CFG_TXT(smtpPassword),
    QL_CFG_TXT(contactName),
    QL_CFG_OPT(backupOnExit),
    QL_CFG_LETTER(0),
    QL_CFG_LETTER(1),
    QL_CFG_LETTER(2),
    QL_CFG_LETTER(3),
    QL_CFG_NUM(language, QL_CFG_INT, 0, QL_LANG_COUNT - 1, 0),
    QL_CFG_NUM(country, QL_CFG_INT, 0, QL_COUNTRY_COUNT - 1, 0),
    QL_CFG_TXT(businessLabel),
    QL_CFG_TXT(businessNumber),
    QL_CFG_TXT(webAddress),
    QL_CFG_TXT(dateFormat),
    QL_CFG_OPT(printTotalInWords),
    QL_CFG_OPT(useSsl),
};
const int QlCfgFieldCount = (int)(sizeof QlCfgFields / sizeof QlCfgFields[0]);

// "X - 12.34%" with X the position's letter.
static int IsRateText(const char *text, int pos)
{
    static const char pattern[] = "X - 99.99%";
    for (int i = 0; i < QL_RATE_TEXT_WIDTH - 1; i++) {
        char c = text[i];
        if (pattern[i] == '9') {
            if (c < '0' || c > '9') return 0;
        } else if (pattern[i] == 'X') {
            if (c != 'A' + pos) return 0;
        } else if (c != pattern[i]) {
            return 0;
        }
    }
    return text[QL_RATE_TEXT_WIDTH - 1] == '\0';
}

void QlCfgRepair(QlSettingsRec *rec)
{
    char *base = (char *)rec;
    for (int i = 0; i < QlCfgFieldCount; i++) {
        const QlCfgField *f = &QlCfgFields[i];
        char *p = base + f->offset;
        switch (f->kind) {
        case QL_CFG_TEXT:
            p[f->width - 1] = '\0';
            break;
        case QL_CFG_RATE_TEXT:
            if (!IsRateText(p, f->fallback)) memcpy(p, QlDefaultRateTexts[f->fallback], QL_RATE_TEXT_WIDTH);
            break;
        case QL_CFG_INT: {
            int32_t v;
            memcpy(&v, p, sizeof v);
            if (v < f->min || v > f->max) v = f->fallback;
            memcpy(p, &v, sizeof v);
            break;
        }
        case QL_CFG_FLAG: {
            int32_t v;
            memcpy(&v, p, sizeof v);
            v = v != 0;
            memcpy(p, &v, sizeof v);
            break;
        }
        case QL_CFG_U16: {
            uint16_t v;
            memcpy(&v, p, sizeof v);
            if (v < f->min || v > f->max) v = (uint16_t)f->fallback;
            memcpy(p, &v, sizeof v);
            break;
        }
        default:
            break;
        }
    }
    if (!rec->dateFormat[0]) SetField(rec->dateFormat, sizeof rec->dateFormat, kDefaultDateFormat);
}

// ---------------------------------------------------------------------------
// Tax rates and labels

void QlVatUpdateLabels(void)
{
    char name[sizeof QlSettings.cfg.taxName];
    memcpy(name, QlSettings.cfg.taxName, sizeof name);
    name[sizeof name - 1] = '\0';
    snprintf(QlServLineHeadings[1], QL_HEADING_WIDTH, "%s%%", name);
    snprintf(QlServLineHeadings[6], QL_HEADING_WIDTH, "%s", name);
    snprintf(QlProdLineHeadings[3], QL_HEADING_WIDTH, "%s%%", name);
    snprintf(QlProdLineHeadings[8], QL_HEADING_WIDTH, "%s", name);
    memset(QlTaxLabel, 0, sizeof QlTaxLabel);
    snprintf(QlTaxLabel, sizeof QlTaxLabel, "%s %%", name);
}

// Copies the characters of text from index from up to (not including) the
// first stop character or the end.
static void CopyUpTo(const char *text, size_t from, char stop, char *out, size_t outSize)
{
    if (!out || outSize == 0) return;
    size_t len = strlen(text);
    size_t n = 0;
    for (size_t i = from; i < len && text[i] != stop && n + 1 < outSize; i++) out[n++] = text[i];
    out[n] = '\0';
}

static void SplitRateText(const char *rateText, char *whole, size_t wholeSize, char *hundredths, size_t hundredthsSize)
{
    char text[80];
    snprintf(text, sizeof text, "%.*s", QL_RATE_TEXT_WIDTH - 1, rateText);
    char *dot = strchr(text, '.');
    const char *after = "";
    if (dot) {
        *dot = '\0';
        after = dot + 1;
    }
    CopyUpTo(text, 4, '\0', whole, wholeSize);
    CopyUpTo(after, 0, '%', hundredths, hundredthsSize);
}

int QlVatSplitRate(int pos, char *whole, size_t wholeSize, char *hundredths, size_t hundredthsSize)
{
    if (whole && wholeSize) whole[0] = '\0';
    if (hundredths && hundredthsSize) hundredths[0] = '\0';
    if (pos < 0 || pos >= QL_RATE_COUNT) return 0;
    SplitRateText(QlRateTextList[pos], whole, wholeSize, hundredths, hundredthsSize);
    return 1;
}

int64_t QlVatParseRate(const char *rateText)
{
    char whole[40] = "", hundredths[40] = "";
    SplitRateText(rateText, whole, sizeof whole, hundredths, sizeof hundredths);
    return QlAtoI64(whole) * 100 + QlAtoI64(hundredths);
}

void QlVatBuildRateList(void)
{
    memcpy(QlRateTextList, QlSettings.cfg.rateTexts, sizeof QlRateTextList);
    for (int i = 0; i < QL_RATE_COUNT; i++) {
        QlRateTextList[i][QL_RATE_TEXT_WIDTH - 1] = '\0';
        QlSettings.rates[i] = QlVatParseRate(QlRateTextList[i]);
    }
}
