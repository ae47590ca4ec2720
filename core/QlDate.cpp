#include "QlDate.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static const int kMonthDays[2][13] = {
    {0, 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31},
    {0, 31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31},
};

// Reads one to four decimal digits (nothing else) ending at a '/' or at the
// text's end; the position after them, or NULL.
static const char *ReadPart(const char *p, int *value)
{
    int digits = 0;
    *value = 0;
    for (; *p >= '0' && *p <= '9'; p++) {
        if (++digits > 4) return NULL;
        *value = *value * 10 + (*p - '0');
    }
    return digits ? p : NULL;
}

// Splits "a/b/c" into three numbers: exactly three runs of digits with one
// '/' between each, no signs, blanks or other characters.
static int ParseThree(const char *text, int *first, int *second, int *third)
{
    if (!text || strnlen(text, 80) >= 80) return 0;
    const char *p = ReadPart(text, first);
    if (!p || *p != '/') return 0;
    p = ReadPart(p + 1, second);
    if (!p || *p != '/') return 0;
    p = ReadPart(p + 1, third);
    return p && *p == '\0';
}

int QlDateIsReal(const QlDateRec *date)
{
    return date && date->year >= 1 && date->year <= 9999 && date->day >= 1 &&
           date->day <= QlDateDaysInMonth(date->month, date->year);
}

// Reads three numbers and stores them with the day at position dayPos (0 or
// 1); only a day that exists in the calendar is taken.
static int ParseDate(const char *text, int dayPos, QlDateRec *out)
{
    int first, second, year;
    QlDateRec date = {0, 0, 0};
    if (ParseThree(text, &first, &second, &year)) {
        date.day = dayPos == 0 ? first : second;
        date.month = dayPos == 0 ? second : first;
        date.year = year;
    }
    if (!QlDateIsReal(&date)) {
        out->day = out->month = out->year = 0;
        return 0;
    }
    *out = date;
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
    diff.day = diff.month = diff.year = 0;
    // Only real days have a difference: any other record could ask for
    // millions of steps below.  Between real days the loop runs at most twice.
    if (!QlDateIsReal(from) || !QlDateIsReal(to)) return &diff;
    int days = to->day - from->day;
    int months = to->month - from->month;
    int years = to->year - from->year;
    int m = to->month - 1;

    while (days < 0) {
        if (m <= 0) m = 12;
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
