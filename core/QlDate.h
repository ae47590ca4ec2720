// Dates carried as text ("d/MM/yyyy" or "MM/dd/yyyy") and compared as records.
#pragma once

#include <stddef.h>

struct QlDateRec {
    int day;
    int month;
    int year;
};

// Both parsers answer 1 when the text is three numbers of one to four digits
// separated by two '/' and nothing else, making a day that exists (month
// 1..12, the day within its month, leap years counted, year 1..9999); 0
// otherwise, with out zeroed.
int QlDateParseDmy(const char *text, QlDateRec *out);
int QlDateParseMdy(const char *text, QlDateRec *out);
// 1 when the record is such a day.
int QlDateIsReal(const QlDateRec *date);

// Writes text day-first into out (outSize bytes).  With the setting
// "MM/dd/yyyy" the text is read month-first and written "%d/%02d/%04d";
// otherwise it is copied unchanged.  Returns 1, or 0 when it was not a date
// in the month-first setting (out then holds the text unchanged).
int QlDateToDmyText(const char *text, char *out, size_t outSize, const char *formatSetting);

// Exact order by year, then month, then day.
int QlDateIsAfter(const QlDateRec *a, const QlDateRec *b);
int QlDateIsOnOrAfter(const QlDateRec *a, const QlDateRec *b);

// Calendar difference from one date to another as days, months, years, in a
// process-wide record valid until the next call; all 0 unless both records
// are real days (QlDateIsReal).
const QlDateRec *QlDateDiff(const QlDateRec *from, const QlDateRec *to);

int QlDateIsLeapYear(int year);
int QlDateDaysInMonth(int month, int year);
