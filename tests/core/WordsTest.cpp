#include "QlGTest.h"
#include "core/QlMoney.h"

#include <limits.h>
#include <stdlib.h>

static std::string Words(int64_t amount)
{
    char *w = QlMoneyToWords(amount);
    std::string s = w ? w : "(null)";
    free(w);
    return s;
}

TEST(Words, AmountsInEnglish)
{
    struct Case {
        int64_t amount;
        const char *words;
    } cases[] = {
        {123456, " One Hundred Twenty Three Thousand Four Hundred Fifty Six "},
        {-15, "minus Fifteen "},
        {0, " "},
        {20000, " Twenty Thousand "},
        {120000, " One Hundred Twenty Thousand "},
        {1000001, " One Million One "},
        {200500, " Two Hundred Thousand Five Hundred "},
        {999999999, " Nine Hundred Ninety Nine Million Nine Hundred Ninety Nine Thousand Nine Hundred Ninety Nine "},
        {1000000000, " One Billion "},
        {2000000017, " Two Billion Seventeen "},
        {1000000000000LL, " One Trillion "},
        {INT64_MAX, " Nine Quintillion Two Hundred Twenty Three Quadrillion Three Hundred Seventy Two Trillion "
                    "Thirty Six Billion Eight Hundred Fifty Four Million Seven Hundred Seventy Five Thousand "
                    "Eight Hundred Seven "},
        {INT64_MIN, "minus Nine Quintillion Two Hundred Twenty Three Quadrillion Three Hundred Seventy Two Trillion "
                    "Thirty Six Billion Eight Hundred Fifty Four Million Seven Hundred Seventy Five Thousand "
                    "Eight Hundred Eight "},
    };
    for (const Case &c : cases) EXPECT_EQ(c.words, Words(c.amount)) << c.amount;
}

TEST(Words, LongestGroupsStayInsideTheBuffer)
{
    // Every group as long as words get: 777 in each of the seven places.
    std::string w = Words(7777777777777777777LL);
    EXPECT_EQ(0u, w.find(" Seven Quintillion Seven Hundred Seventy Seven Quadrillion"));
    EXPECT_LT(w.size(), 512u);
}

TEST(Words, GroupDigits)
{
    int commas = -1;
    EXPECT_STREQ("1,234,567", QlMoneyGroupDigits(1234567, &commas));
    EXPECT_EQ(2, commas);
    EXPECT_STREQ("999", QlMoneyGroupDigits(999, &commas));
    EXPECT_EQ(0, commas);
    EXPECT_STREQ("0", QlMoneyGroupDigits(0, &commas));
    EXPECT_EQ(0, commas);
    EXPECT_STREQ("1,000", QlMoneyGroupDigits(1000, &commas));
    EXPECT_EQ(1, commas);
    EXPECT_EQ(nullptr, QlMoneyGroupsToWords("1,2345", 1));
    EXPECT_EQ(nullptr, QlMoneyGroupsToWords("1,000", 9));
}
