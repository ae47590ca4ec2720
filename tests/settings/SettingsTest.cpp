#include "QlGTest.h"
#include "QlTestPlatform.h"
#include "core/QlPlatform.h"
#include "settings/QlSettings.h"

#include <windows.h>
#include <stdio.h>
#include <string.h>
#include <string>
#include <vector>

namespace {

int ThisYear()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    return now.wYear;
}

// A working folder of its own with the company folder COMP003; the
// program-wide settings and company table are put back afterwards.
class CfgFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        savedSettings_ = QlSettings;
        savedCompanies_ = QlCompanies;
        GetCurrentDirectoryA(sizeof oldDir_, oldDir_);
        char temp[MAX_PATH];
        GetTempPathA(sizeof temp, temp);
        std::string dir = std::string(temp) + "qlcfg" + std::to_string(GetCurrentProcessId());
        ASSERT_LT(dir.size(), sizeof dir_);
        strcpy(dir_, dir.c_str());
        ASSERT_TRUE(CreateDirectoryA(dir_, NULL));
        ASSERT_TRUE(SetCurrentDirectoryA(dir_));
        ASSERT_TRUE(CreateDirectoryA("COMP003", NULL));
        QlCfgSetInitial(&QlSettings.cfg);
        QlCompanies.current = 3;
    }

    void TearDown() override
    {
        DeleteFileA("COMP003\\cfg.dta");
        RemoveDirectoryA("COMP003\\cfg.dta");
        RemoveDirectoryA("COMP003");
        SetCurrentDirectoryA(oldDir_);
        RemoveDirectoryA(dir_);
        QlSettings = savedSettings_;
        QlCompanies = savedCompanies_;
    }

    static void PutCfgFile(const std::vector<unsigned char> &bytes)
    {
        FILE *f = QlFileOpen("COMP003\\cfg.dta", "wb");
        ASSERT_NE(nullptr, f);
        ASSERT_EQ(bytes.size(), fwrite(bytes.data(), 1, bytes.size(), f));
        fclose(f);
    }

    static std::vector<unsigned char> GetCfgFile()
    {
        std::vector<unsigned char> bytes;
        FILE *f = QlFileOpen("COMP003\\cfg.dta", "rb");
        if (!f) return bytes;
        int c;
        while ((c = fgetc(f)) != EOF) bytes.push_back((unsigned char)c);
        fclose(f);
        return bytes;
    }

    QlSettingsBlock savedSettings_;
    QlCompanyTable savedCompanies_;
    char oldDir_[MAX_PATH];
    char dir_[MAX_PATH];
};

}  // namespace

TEST_F(CfgFileTest, SaveAndLoadRoundTrip)
{
    QlSettingsRec &cfg = QlSettings.cfg;
    strcpy(cfg.companyName, "Harbour Tools Ltd");
    strcpy(cfg.address3, "Cork");
    strcpy(cfg.rateTexts[0], "A - 00.00%");
    strcpy(cfg.rateTexts[1], "B - 21.00%");
    strcpy(cfg.rateTexts[2], "C - 13.50%");
    strcpy(cfg.letters[3].body, "Pay now.\r\nThank you.");
    strcpy(cfg.dateFormat, "MM/dd/yyyy");
    cfg.language = 7;
    cfg.country = 27;
    cfg.smtpPort = 587;
    cfg.cellMarginRight = 4;
    cfg.saveYear = 1999;
    ASSERT_EQ(1, QlCfgSave());

    // The file is the record's image, with this year stamped at offset 292.
    std::vector<unsigned char> bytes = GetCfgFile();
    ASSERT_EQ((size_t)QL_CFG_FILE_SIZE, bytes.size());
    int32_t year;
    memcpy(&year, &bytes[292], sizeof year);
    EXPECT_EQ(ThisYear(), year);
    EXPECT_EQ(ThisYear(), cfg.saveYear);
    EXPECT_EQ(0, memcmp(bytes.data(), &cfg, QL_CFG_FILE_SIZE));

    QlSettingsRec loaded;
    memset(&loaded, 0x55, sizeof loaded);
    ASSERT_EQ(1, QlCfgLoad(3, &loaded));
    EXPECT_EQ(0, memcmp(&loaded, &cfg, sizeof loaded));

    // Saving again over the existing file keeps its size.
    strcpy(cfg.companyName, "Harbour");
    ASSERT_EQ(1, QlCfgSave());
    EXPECT_EQ((size_t)QL_CFG_FILE_SIZE, GetCfgFile().size());
}

TEST_F(CfgFileTest, NothingIsWrittenWithoutACurrentCompany)
{
    QlCompanies.current = -1;
    EXPECT_EQ(0, QlCfgSave());
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA("COMP003\\cfg.dta"));
    QlCompanies.current = 10;
    EXPECT_EQ(0, QlCfgSave());
}

TEST_F(CfgFileTest, AFileThatCannotBeWrittenIsNotTakenAsSaved)
{
    // The settings file's name is taken by a folder: the new file cannot
    // take its place, and does not stay behind.
    ASSERT_TRUE(CreateDirectoryA("COMP003\\cfg.dta", NULL));
    EXPECT_EQ(0, QlCfgSave());
    ASSERT_TRUE(RemoveDirectoryA("COMP003\\cfg.dta"));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA("COMP003\\cfg.dta.new"));

    // A saved file, then a save whose write fails (the new file lands on a
    // full device): the saved file stays whole and as it was.
    QlSettingsRec &cfg = QlSettings.cfg;
    strcpy(cfg.companyName, "Harbour Tools Ltd");
    ASSERT_EQ(1, QlCfgSave());
    std::vector<unsigned char> before = GetCfgFile();
    strcpy(cfg.companyName, "Changed");
    {
        QlTestFullFile full("COMP003\\cfg.dta.new");
        if (full.ok()) {
            EXPECT_EQ(0, QlCfgSave());
        }
    }
    EXPECT_EQ(before, GetCfgFile());
}

TEST_F(CfgFileTest, ShortOrMissingFileIsNotLoaded)
{
    QlSettingsRec rec;
    memset(&rec, 0x5A, sizeof rec);
    QlSettingsRec before = rec;

    EXPECT_EQ(0, QlCfgLoad(3, &rec));  // no file yet
    EXPECT_EQ(0, QlCfgLoad(-1, &rec));
    EXPECT_EQ(0, QlCfgLoad(10, &rec));

    std::vector<unsigned char> image(QL_CFG_FILE_SIZE - 1, 'x');
    PutCfgFile(image);
    EXPECT_EQ(0, QlCfgLoad(3, &rec));
    EXPECT_EQ(0, memcmp(&before, &rec, sizeof rec));  // nothing of the short file reached the record
}

TEST_F(CfgFileTest, GarbageInEveryFieldLoadsSafely)
{
    struct Pattern {
        const char *name;
        unsigned char (*byte)(size_t i);
    } patterns[] = {
        {"all 0xFF", [](size_t) -> unsigned char { return 0xFF; }},
        {"all 0x80", [](size_t) -> unsigned char { return 0x80; }},
        {"mixed", [](size_t i) -> unsigned char { return (unsigned char)(i * 131 + 7) | 1; }},
    };
    for (const Pattern &p : patterns) {
        SCOPED_TRACE(p.name);
        std::vector<unsigned char> image(QL_CFG_FILE_SIZE);
        for (size_t i = 0; i < image.size(); i++) image[i] = p.byte(i);
        PutCfgFile(image);

        QlSettingsRec rec;
        ASSERT_EQ(1, QlCfgLoad(3, &rec));
        const char *base = (const char *)&rec;
        for (int i = 0; i < QlCfgFieldCount; i++) {
            const QlCfgField &f = QlCfgFields[i];
            SCOPED_TRACE(f.name);
            const char *p = base + f.offset;
            int32_t v32;
            uint16_t v16;
            switch (f.kind) {
            case QL_CFG_TEXT:
                EXPECT_NE(nullptr, memchr(p, 0, f.width));
                break;
            case QL_CFG_RATE_TEXT:
                EXPECT_STREQ(QlDefaultRateTexts[f.fallback], p);
                break;
            case QL_CFG_INT:
                memcpy(&v32, p, sizeof v32);
                EXPECT_GE(v32, f.min);
                EXPECT_LE(v32, f.max);
                break;
            case QL_CFG_FLAG:
                memcpy(&v32, p, sizeof v32);
                EXPECT_EQ(1, v32);
                break;
            case QL_CFG_U16:
                memcpy(&v16, p, sizeof v16);
                EXPECT_GE(v16, f.min);
                EXPECT_LE(v16, f.max);
                break;
            }
        }
        EXPECT_EQ(7, rec.bottomPointSize);

        // The loaded record drives the tax state without harm.
        QlSettings.cfg = rec;
        QlVatBuildRateList();
        QlVatUpdateLabels();
        EXPECT_EQ(0, QlSettings.rates[0]);
        EXPECT_EQ(2300, QlSettings.rates[1]);
        EXPECT_EQ(1350, QlSettings.rates[2]);
        EXPECT_EQ(4u, strlen(QlTaxLabel) - 2);
    }
}

TEST(CfgRepair, BringsEachIndexIntoRangeAndKeepsValidValues)
{
    struct Case {
        const char *name;
        size_t offset;
        int32_t stored;
        int32_t expected;
    } cases[] = {
        {"language 8", offsetof(QlSettingsRec, language), 8, 8},
        {"language 9", offsetof(QlSettingsRec, language), 9, 0},
        {"language -1", offsetof(QlSettingsRec, language), -1, 0},
        {"country 29", offsetof(QlSettingsRec, country), 29, 29},
        {"country 30", offsetof(QlSettingsRec, country), 30, 0},
        {"rate 2", offsetof(QlSettingsRec, defaultRate), 2, 2},
        {"rate 3", offsetof(QlSettingsRec, defaultRate), 3, 0},
        {"tax name 17", offsetof(QlSettingsRec, taxNameIndex), 17, 17},
        {"tax name 18", offsetof(QlSettingsRec, taxNameIndex), 18, 0},
        {"invoice type 1", offsetof(QlSettingsRec, invoiceType), 1, 1},
        {"invoice type 2", offsetof(QlSettingsRec, invoiceType), 2, 0},
        {"point size 1", offsetof(QlSettingsRec, bottomPointSize), 1, 1},
        {"point size 16", offsetof(QlSettingsRec, bottomPointSize), 16, 16},
        {"point size 0", offsetof(QlSettingsRec, bottomPointSize), 0, 7},
        {"point size 17", offsetof(QlSettingsRec, bottomPointSize), 17, 7},
        {"grid lines 5", offsetof(QlSettingsRec, printGridLines), 5, 1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        QlSettingsRec rec;
        QlCfgSetInitial(&rec);
        memcpy((char *)&rec + c.offset, &c.stored, sizeof c.stored);
        QlCfgRepair(&rec);
        int32_t v;
        memcpy(&v, (char *)&rec + c.offset, sizeof v);
        EXPECT_EQ(c.expected, v);
    }

    QlSettingsRec rec;
    QlCfgSetInitial(&rec);
    strcpy(rec.rateTexts[0], "A - 05.00%");
    strcpy(rec.rateTexts[1], "B - 2x.00%");
    strcpy(rec.rateTexts[2], "A - 13.50%");  // wrong letter for its place
    rec.cellMarginTop = 10;
    rec.cellMarginRight = 11;
    rec.dateFormat[0] = '\0';
    QlCfgRepair(&rec);
    EXPECT_STREQ("A - 05.00%", rec.rateTexts[0]);
    EXPECT_STREQ("B - 23.00%", rec.rateTexts[1]);
    EXPECT_STREQ("C - 13.50%", rec.rateTexts[2]);
    EXPECT_EQ(10, rec.cellMarginTop);
    EXPECT_EQ(0, rec.cellMarginRight);
    EXPECT_STREQ("d/MM/yyyy", rec.dateFormat);
}

TEST(CfgFields, CoverTheWholeRecordOnce)
{
    // Every byte belongs to exactly one listed field, or to a reserved one.
    std::vector<int> owners(QL_CFG_FILE_SIZE, 0);
    for (int i = 0; i < QlCfgFieldCount; i++)
        for (size_t b = 0; b < QlCfgFields[i].width; b++) owners[QlCfgFields[i].offset + b]++;
    const struct {
        size_t offset, width;
    } reserved[] = {{225, 3}, {241, 3}, {286, 6}, {1049, 1}, {1133, 3}, {1343, 1}, {4057, 11}, {4140, 4}};
    for (const auto &r : reserved)
        for (size_t b = 0; b < r.width; b++) owners[r.offset + b]++;
    for (size_t b = 0; b < owners.size(); b++) EXPECT_EQ(1, owners[b]) << "byte " << b;
}

TEST(CfgInitial, HoldsTheValuesOfANewCompany)
{
    QlSettingsRec rec;
    QlCfgSetInitial(&rec);
    EXPECT_STREQ("", rec.companyName);
    EXPECT_EQ(1, rec.printGridLines);
    EXPECT_EQ(1, rec.printOrderNumber);
    EXPECT_EQ(1, rec.printRateColumn);
    EXPECT_EQ(0, rec.printDiscountColumn);
    EXPECT_EQ(1, rec.printTaxNumber);
    EXPECT_EQ(7, rec.bottomPointSize);
    EXPECT_EQ(25, rec.smtpPort);
    EXPECT_EQ(1, rec.backupOnExit);
    EXPECT_EQ(1, rec.reserved4064);
    EXPECT_STREQ("d/MM/yyyy", rec.dateFormat);
    EXPECT_STREQ("Address Change", rec.letters[0].title);
    EXPECT_STREQ("Our business address has recently changed. We would like to inform you of our new location:\r\n",
                 rec.letters[0].body);
    EXPECT_STREQ("Final Payment Reminder", rec.letters[3].title);
}

TEST(VatRates, RateTextsGiveRatesInHundredthsOfAPercent)
{
    const struct {
        const char *text;
        int64_t rate;
    } cases[] = {
        {"A - 00.00%", 0}, {"B - 23.00%", 2300}, {"C - 13.50%", 1350}, {"B - 17.05%", 1705},
        {"C - 99.99%", 9999}, {"", 0}, {"B - ", 0},
    };
    for (const auto &c : cases) EXPECT_EQ(c.rate, QlVatParseRate(c.text)) << c.text;
}

TEST(VatRates, BuildListAndSplitFromTheSettings)
{
    QlSettingsBlock saved = QlSettings;
    strcpy(QlSettings.cfg.rateTexts[0], "A - 00.00%");
    strcpy(QlSettings.cfg.rateTexts[1], "B - 17.50%");
    strcpy(QlSettings.cfg.rateTexts[2], "C - 05.00%");
    QlVatBuildRateList();
    EXPECT_STREQ("B - 17.50%", QlRateTextList[1]);
    EXPECT_STREQ("C - 05.00%", QlRateTextPtrs[2]);
    EXPECT_EQ(nullptr, QlRateTextPtrs[3]);
    EXPECT_EQ(0, QlSettings.rates[0]);
    EXPECT_EQ(1750, QlSettings.rates[1]);
    EXPECT_EQ(500, QlSettings.rates[2]);

    char whole[40], hundredths[40];
    EXPECT_EQ(1, QlVatSplitRate(1, whole, sizeof whole, hundredths, sizeof hundredths));
    EXPECT_STREQ("17", whole);
    EXPECT_STREQ("50", hundredths);
    EXPECT_EQ(0, QlVatSplitRate(3, whole, sizeof whole, hundredths, sizeof hundredths));
    EXPECT_STREQ("", whole);
    EXPECT_STREQ("", hundredths);
    char tiny[2];
    EXPECT_EQ(1, QlVatSplitRate(1, tiny, sizeof tiny, hundredths, sizeof hundredths));
    EXPECT_STREQ("1", tiny);  // cut to the caller's buffer

    QlSettings = saved;
    QlVatBuildRateList();
}

TEST(VatLabels, TaxNameGoesIntoTheHeadings)
{
    QlSettingsBlock saved = QlSettings;
    const struct {
        const char name[5];
        const char *rateHeading, *amountHeading, *label;
    } cases[] = {
        {"MOMS", "MOMS%", "MOMS", "MOMS %"},
        {"VAT", "VAT%", "VAT", "VAT %"},
        {{'A', 'B', 'C', 'D', 'E'}, "ABCD%", "ABCD", "ABCD %"},  // no terminator: four characters count
    };
    for (const auto &c : cases) {
        memcpy(QlSettings.cfg.taxName, c.name, sizeof QlSettings.cfg.taxName);
        QlVatUpdateLabels();
        EXPECT_STREQ(c.rateHeading, QlServLineHeadings[1]);
        EXPECT_STREQ(c.amountHeading, QlServLineHeadings[6]);
        EXPECT_STREQ(c.rateHeading, QlProdLineHeadings[3]);
        EXPECT_STREQ(c.amountHeading, QlProdLineHeadings[8]);
        EXPECT_STREQ(c.label, QlTaxLabel);
    }
    EXPECT_STREQ("Price", QlServLineHeadings[3]);  // other headings untouched
    QlSettings = saved;
    QlVatUpdateLabels();
}

TEST(CfgStartup, EmptyTaxSettingsTakeTheDefaults)
{
    QlSettingsBlock saved = QlSettings;
    memset(QlSettings.cfg.currency, 0, sizeof QlSettings.cfg.currency);
    memset(QlSettings.cfg.taxName, 0, sizeof QlSettings.cfg.taxName);
    memset(QlSettings.cfg.rateTexts, 0, sizeof QlSettings.cfg.rateTexts);
    strcpy(QlSettings.cfg.rateTexts[2], "C - 09.00%");
    QlCfgFillTaxDefaults();
    EXPECT_STREQ("Euro", QlSettings.cfg.currency);
    EXPECT_STREQ("VAT", QlSettings.cfg.taxName);
    EXPECT_STREQ("A - 00.00%", QlSettings.cfg.rateTexts[0]);
    EXPECT_STREQ("B - 23.00%", QlSettings.cfg.rateTexts[1]);
    EXPECT_STREQ("C - 09.00%", QlSettings.cfg.rateTexts[2]);
    EXPECT_EQ(2300, QlSettings.rates[1]);
    EXPECT_EQ(900, QlSettings.rates[2]);
    EXPECT_STREQ("VAT %", QlTaxLabel);
    QlSettings = saved;
    QlVatBuildRateList();
    QlVatUpdateLabels();
}
