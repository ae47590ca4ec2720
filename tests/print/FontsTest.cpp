// The faces the program asks for, as Wine picks them in the test prefix:
// "Arial" and the devices' default face (the printed documents' body font)
// measure as Arial, "Courier New" as Courier New.  "MS Sans Serif" (the
// dialogs) is mapped to Liberation Sans as well: Debian's Wine does not find
// its own MS Sans Serif, and without the mapping the dialogs would take
// whatever face the machine happens to have first.
#include "QlGTest.h"

#include "QlTestPrint.h"

TEST(FontsTest, TheProgramsFacesMeasureAsTheFontsPagesAreLaidOutFor)
{
    struct Case {
        const char *face;
        QlTestMetrics metrics;
    } cases[] = {{"Arial", QlTestMetrics::Arial},
                 {"", QlTestMetrics::Arial},
                 {"MS Sans Serif", QlTestMetrics::Arial},
                 {"Courier New", QlTestMetrics::CourierNew}};
    for (const Case &c : cases) EXPECT_EQ("", QlTestFaceProblem(c.face, c.metrics)) << "face \"" << c.face << "\"";
}
