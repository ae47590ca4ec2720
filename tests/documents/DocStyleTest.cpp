#include "QlGTest.h"
#include "documents/QlDocStyle.h"
#include "settings/QlLangTables.h"
#include "settings/QlSettings.h"

#include <string.h>

TEST(DocStyle, CompanyDetailsAndOptionsOfTheSettingsInTheCurrentLanguage)
{
    const QlSettingsRec saved = QlSettings.cfg;
    QlSettingsRec &cfg = QlSettings.cfg;
    memset(&cfg, 0, sizeof cfg);
    strcpy(cfg.companyName, "Acme GmbH");
    strcpy(cfg.address1, "Hauptstr. 1");
    strcpy(cfg.address2, "Berlin");
    strcpy(cfg.address3, "10115");
    strcpy(cfg.taxNumber, "DE123");
    strcpy(cfg.telephone, "030 1234");
    strcpy(cfg.email, "info@acme.test");
    strcpy(cfg.webAddress, "www.acme.test");
    strcpy(cfg.businessLabel, "HRB:");
    strcpy(cfg.businessNumber, "4711");
    memset(cfg.fax, 'x', sizeof cfg.fax);   // not printed: an unterminated neighbour changes nothing
    cfg.printTaxNumber = 1;
    cfg.printRegNumber = 0;
    cfg.printGridLines = 7;                  // any non-zero value is on
    cfg.printRateColumn = 1;
    cfg.printDiscountColumn = 0;
    cfg.cellMarginTop = 4;
    cfg.cellMarginRight = 9;
    cfg.language = QL_LANG_GERMAN;
    strcpy(cfg.taxName, "UST");

    QlPrintStyleRec style;
    memset(&style, 0x55, sizeof style);
    QlDocPrintStyle(&style);
    EXPECT_STREQ("Acme GmbH", style.companyName);
    EXPECT_STREQ("Hauptstr. 1", style.address[0]);
    EXPECT_STREQ("Berlin", style.address[1]);
    EXPECT_STREQ("10115", style.address[2]);
    EXPECT_STREQ("DE123", style.taxNumber);
    EXPECT_STREQ("030 1234", style.telephone);
    EXPECT_STREQ("info@acme.test", style.email);
    EXPECT_STREQ("www.acme.test", style.webAddress);
    EXPECT_STREQ("HRB:", style.businessLabel);
    EXPECT_STREQ("4711", style.businessNumber);
    EXPECT_STREQ("UST-Nr.:", style.taxNoLabel);
    EXPECT_EQ(1, style.printTaxNumber);
    EXPECT_EQ(0, style.printRegNumber);
    EXPECT_EQ(1, style.printGridLines);
    EXPECT_EQ(1, style.printRateColumn);
    EXPECT_EQ(0, style.printDiscountColumn);
    EXPECT_EQ(4, style.cellMarginTop);
    EXPECT_EQ(9, style.cellMarginRight);

    // The label names the settings' tax name in every language.
    const struct {
        int language;
        const char *taxName, *label;
    } labels[] = {{QL_LANG_ENGLISH, "VAT", "VAT No:"}, {QL_LANG_ENGLISH, "GST", "GST No:"},
                  {QL_LANG_ENGLISH, "", "TAX No:"},    {QL_LANG_FRENCH, "TVA", "N\xb0 TVA :"},
                  {QL_LANG_DUTCH, "BTW", "BTW-nr.:"}};
    for (const auto &l : labels) {
        cfg.language = l.language;
        strcpy(cfg.taxName, l.taxName);
        QlDocPrintStyle(&style);
        EXPECT_STREQ(l.label, style.taxNoLabel) << l.taxName;
    }

    // A field filled to its end is cut, never read past.
    memset(cfg.companyName, 'A', sizeof cfg.companyName);
    QlDocPrintStyle(&style);
    EXPECT_EQ(sizeof style.companyName - 1, strlen(style.companyName));

    cfg = saved;
}
