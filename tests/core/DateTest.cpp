#include "QlGTest.h"
#include "core/QlDate.h"

#include <string.h>

TEST(Date, ParsesBothOrders)
{
    QlDateRec d;
    ASSERT_EQ(1, QlDateParseDmy("5/11/2023", &d));
    EXPECT_EQ(5, d.day);
    EXPECT_EQ(11, d.month);
    EXPECT_EQ(2023, d.year);
    ASSERT_EQ(1, QlDateParseMdy("5/11/2023", &d));
    EXPECT_EQ(11, d.day);
    EXPECT_EQ(5, d.month);
    EXPECT_EQ(2023, d.year);
}

TEST(Date, RefusesTextsThatAreNotDates)
{
    // Three numbers of one to four digits and two '/', nothing else, making a
    // day of the calendar.
    const char *bad[] = {"", "2023-11-05", "5/11", NULL, "//", "a/b/c", "5//2023", "/11/2023", "5/11/",
                         "5/11/2023/", "5/11/2023x", " 5/11/2023", "-5/11/2023", "+5/11/2023", "5/ 11/2023",
                         "0/11/2023", "5/0/2023", "13/13/2023", "5/11/0", "31/4/2024", "30/2/2024",
                         "29/2/2023", "29/2/1900", "5/11/10000", "2147483647/11/2023", "4294967301/1/2023",
                         "00005/11/2023"};
    for (const char *text : bad) {
        QlDateRec d = {9, 9, 9};
        EXPECT_EQ(0, QlDateParseDmy(text, &d)) << (text ? text : "(null)");
        EXPECT_EQ(0, d.day);
        EXPECT_EQ(0, QlDateParseMdy(text, &d));
    }
    // Leap days, month ends and leading zeros that do make a day.
    const struct {
        const char *text;
        int day, month, year;
    } good[] = {{"29/2/2024", 29, 2, 2024}, {"29/2/2000", 29, 2, 2000}, {"31/12/9999", 31, 12, 9999},
                {"1/1/1", 1, 1, 1}, {"05/03/2024", 5, 3, 2024}, {"30/04/2024", 30, 4, 2024}};
    for (const auto &g : good) {
        QlDateRec d = {};
        EXPECT_EQ(1, QlDateParseDmy(g.text, &d)) << g.text;
        EXPECT_EQ(g.day, d.day);
        EXPECT_EQ(g.month, d.month);
        EXPECT_EQ(g.year, d.year);
    }
    QlDateRec mdy;
    EXPECT_EQ(1, QlDateParseMdy("2/29/2024", &mdy));
    EXPECT_EQ(0, QlDateParseMdy("29/2/2024", &mdy));
    char longText[200];
    memset(longText, '1', sizeof longText - 1);
    longText[sizeof longText - 1] = '\0';
    longText[2] = '/';
    longText[5] = '/';
    QlDateRec d;
    EXPECT_EQ(0, QlDateParseDmy(longText, &d));
}

TEST(Date, RewritesMonthFirstTextDayFirst)
{
    char out[32];
    EXPECT_EQ(1, QlDateToDmyText("12/3/2024", out, sizeof out, "MM/dd/yyyy"));
    EXPECT_STREQ("3/12/2024", out);
    EXPECT_EQ(1, QlDateToDmyText("12/3/2024", out, sizeof out, "d/MM/yyyy"));
    EXPECT_STREQ("12/3/2024", out);
    EXPECT_EQ(0, QlDateToDmyText("none", out, sizeof out, "MM/dd/yyyy"));
    EXPECT_STREQ("none", out);
}

TEST(Date, OrdersByYearMonthDay)
{
    struct Case {
        QlDateRec a, b;
        int after, onOrAfter;
    } cases[] = {
        {{1, 2, 2024}, {31, 1, 2024}, 1, 1},    // month end: 1 Feb is after 31 Jan
        {{31, 1, 2024}, {1, 2, 2024}, 0, 0},
        {{2, 2, 2024}, {31, 1, 2024}, 1, 1},
        {{1, 1, 2025}, {31, 12, 2024}, 1, 1},   // across the year end
        {{31, 12, 2024}, {1, 1, 2025}, 0, 0},
        {{1, 3, 2024}, {30, 2, 2024}, 1, 1},
        {{15, 6, 2024}, {15, 6, 2024}, 0, 1},   // the same day
        {{1, 1, 2024}, {31, 12, 2023}, 1, 1},
        {{30, 12, 2023}, {1, 1, 2024}, 0, 0},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(c.after, QlDateIsAfter(&c.a, &c.b)) << c.a.day << "/" << c.a.month << "/" << c.a.year;
        EXPECT_EQ(c.onOrAfter, QlDateIsOnOrAfter(&c.a, &c.b)) << c.a.day << "/" << c.a.month << "/" << c.a.year;
    }
}

TEST(Date, CalendarDifference)
{
    struct Case {
        QlDateRec from, to, diff;
    } cases[] = {
        {{15, 1, 2024}, {10, 3, 2024}, {24, 1, 0}},   // February 2024 has 29 days
        {{31, 1, 2024}, {1, 3, 2024}, {30, 0, 0}},
        {{15, 1, 2023}, {10, 3, 2023}, {23, 1, 0}},
        {{20, 11, 2023}, {5, 1, 2024}, {16, 1, 0}},
        {{1, 1, 2020}, {1, 1, 2024}, {0, 0, 4}},
        // Records that are no day have no difference, and take no time to say so.
        {{10, 5, 2024}, {1, 13, 2024}, {0, 0, 0}},
        {{2147483647, 1, 2024}, {1, 1, 2024}, {0, 0, 0}},
        {{1, 1, 2024}, {-2147483647 - 1, 1, 2024}, {0, 0, 0}},
        {{31, 1, 2024}, {30, 2, 2024}, {0, 0, 0}},
    };
    for (const Case &c : cases) {
        const QlDateRec *d = QlDateDiff(&c.from, &c.to);
        EXPECT_EQ(c.diff.day, d->day);
        EXPECT_EQ(c.diff.month, d->month);
        EXPECT_EQ(c.diff.year, d->year);
    }
}
