#include "documents/QlDocStyle.h"

#include <string.h>

#include "settings/QlLangTables.h"
#include "settings/QlSettings.h"

// Copies a settings field, terminated within the destination.
template <size_t N, size_t M> static void Copy(char (&dst)[N], const char (&src)[M])
{
    size_t n = strnlen(src, M);
    if (n > N - 1) n = N - 1;
    memcpy(dst, src, n);
    dst[n] = '\0';
}

void QlDocPrintStyle(QlPrintStyleRec *style)
{
    const QlSettingsRec &cfg = QlSettings.cfg;
    memset(style, 0, sizeof *style);
    Copy(style->companyName, cfg.companyName);
    Copy(style->address[0], cfg.address1);
    Copy(style->address[1], cfg.address2);
    Copy(style->address[2], cfg.address3);
    Copy(style->taxNumber, cfg.taxNumber);
    Copy(style->telephone, cfg.telephone);
    Copy(style->email, cfg.email);
    Copy(style->webAddress, cfg.webAddress);
    Copy(style->businessLabel, cfg.businessLabel);
    Copy(style->businessNumber, cfg.businessNumber);
    QlLangTaxNoLabel(style->taxNoLabel, sizeof style->taxNoLabel);
    style->printTaxNumber = cfg.printTaxNumber != 0;
    style->printRegNumber = cfg.printRegNumber != 0;
    style->printGridLines = cfg.printGridLines != 0;
    style->printRateColumn = cfg.printRateColumn != 0;
    style->printDiscountColumn = cfg.printDiscountColumn != 0;
    style->cellMarginTop = cfg.cellMarginTop;
    style->cellMarginRight = cfg.cellMarginRight;
}
