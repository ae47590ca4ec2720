// Quantities as typed or pasted: whole numbers of 1 to the largest, read
// from the text exactly as it stands.
#include "QlGTest.h"
#include "core/QlQuantity.h"

TEST(Quantity, OnlyWholeNumbersOfOneToTheLargestAreTaken)
{
    const struct {
        const char *text;
        int result;
        int64_t value;
    } cases[] = {
        {"3", QL_QTY_OK, 3},          {" 12 ", QL_QTY_OK, 12},        {"9999999", QL_QTY_OK, 9999999},
        {"007", QL_QTY_OK, 7},        {"3.5", QL_QTY_NOT_WHOLE, 0},   {"12,5", QL_QTY_NOT_WHOLE, 0},
        {"", QL_QTY_NOT_WHOLE, 0},    {"   ", QL_QTY_NOT_WHOLE, 0},   {"+3", QL_QTY_NOT_WHOLE, 0},
        {"3x", QL_QTY_NOT_WHOLE, 0},  {"1 2", QL_QTY_NOT_WHOLE, 0},   {"-", QL_QTY_NOT_WHOLE, 0},
        {"0", QL_QTY_ZERO, 0},        {"000", QL_QTY_ZERO, 0},        {"-0", QL_QTY_ZERO, 0},
        {"-4", QL_QTY_NEGATIVE, 0},   {"10000000", QL_QTY_TOO_LARGE, 0},
        {"99999999999999999999999", QL_QTY_TOO_LARGE, 0},
    };
    for (const auto &c : cases) {
        int64_t value = -1;
        EXPECT_EQ(c.result, QlQuantityParse(c.text, QL_QTY_MAX, &value)) << "'" << c.text << "'";
        EXPECT_EQ(c.result == QL_QTY_OK ? c.value : -1, value) << "'" << c.text << "'";
    }
    int64_t value = -1;
    EXPECT_EQ(QL_QTY_NOT_WHOLE, QlQuantityParse(nullptr, QL_QTY_MAX, &value));
    EXPECT_EQ(QL_QTY_TOO_LARGE, QlQuantityParse("11", 10, &value));
}
