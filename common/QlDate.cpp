#include "QlDate.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static const int kMonthDays[2][13] = {
    {0, 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31},
    {0, 31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31},
};

// Splits "a/b/c" into three integers.
static int ParseThree(const char *text, int *first, int *second, int *third)
{
    char work[80];
    if (!text) return 0;
    size_t len = strlen(text);
    if (len >= sizeof work) return 0;
    memcpy(work, text, len + 1);

    char *slash1 = strchr(work, '/');
    if (!slash1) return 0;
    char *slash2 = strchr(slash1 + 1, '/');
    if (!slash2) return 0;
    *slash1 = '\0';
    *slash2 = '\0';
    *first = atoi(work);
    *second = atoi(slash1 + 1);
    *third = atoi(slash2 + 1);
    return 1;
}

// Reads three numbers and stores them with the day at position dayPos (0 or 1).
static int ParseDate(const char *text, int dayPos, QlDateRec *out)
{
    int first, second, year;
    if (!ParseThree(text, &first, &second, &year)) {
        out->day = out->month = out->year = 0;
        return 0;
    }
    out->day = dayPos == 0 ? first : second;
    out->month = dayPos == 0 ? second : first;
    out->year = year;
    return 1;
}

int QlDateParseDmy(const char *text, QlDateRec *out)
{
    return ParseDate(text, 0, out);
}

int QlDateParseMdy(const char *text, QlDateRec *out)
{
    return ParseDate(text, 1, out);
}

int QlDateToDmyText(const char *text, char *out, size_t outSize, const char *formatSetting)
{
    if (!out || outSize == 0) return 0;
    if (!text) text = "";
    if (formatSetting && strcmp(formatSetting, "MM/dd/yyyy") == 0) {
        QlDateRec date;
        if (QlDateParseMdy(text, &date)) {
            snprintf(out, outSize, "%d/%02d/%04d", date.day, date.month, date.year);
            return 1;
        }
        snprintf(out, outSize, "%s", text);
        return 0;
    }
    snprintf(out, outSize, "%s", text);
    return 1;
}

int QlDateIsAfter(const QlDateRec *a, const QlDateRec *b)
{
    if (a->year != b->year) return a->year > b->year;
    if (a->month != b->month) return a->month > b->month;
    return a->day > b->day;
}

int QlDateIsOnOrAfter(const QlDateRec *a, const QlDateRec *b)
{
    if (a->day == b->day && a->month == b->month && a->year == b->year) return 1;
    return QlDateIsAfter(a, b);
}

int QlDateIsLeapYear(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int QlDateDaysInMonth(int month, int year)
{
    if (month < 1 || month > 12) return 0;
    return kMonthDays[QlDateIsLeapYear(year)][month];
}

const QlDateRec *QlDateDiff(const QlDateRec *from, const QlDateRec *to)
{
    static QlDateRec diff;
    int days = to->day - from->day;
    int months = to->month - from->month;
    int years = to->year - from->year;
    int m = to->month - 1;

    while (days < 0) {
        if (m <= 0 || m > 12) m = 12;   // a month outside 1..12 must not loop forever
        months -= 1;
        days += QlDateDaysInMonth(m, to->year);
        m -= 1;
    }
    if (months < 0) {
        months += 12;
        years -= 1;
    }
    diff.day = days;
    diff.month = months;
    diff.year = years;
    return &diff;
}
