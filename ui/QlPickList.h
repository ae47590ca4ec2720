// The rows of an owner-data pick list of accounts (the select-customer and
// select-supplier dialogs): each account's A/C ref and company, held in
// memory and shown through the list's LVN_GETDISPINFO, sorted in place.
#pragma once

#include <windows.h>
#include <commctrl.h>

struct QlPickRow {
    char acref[6];
    char company[40];
    int place;   // the order it was read in: equal ones keep it
};

struct QlPickList {
    QlPickRow *rows;
    int count, capacity;
};

// Appends an account (texts cut to their fields); 0 when memory ran out.
int QlPickListAppend(QlPickList *list, const char *acref, const char *company);
// Orders the rows by A/C ref (column 0) or company (1), strcmp, ascending or
// descending; equal ones in the order they were read.
void QlPickListSort(QlPickList *list, int column, int ascending);
void QlPickListFree(QlPickList *list);
// The list view shows the rows: their count, nothing selected, drawn again.
void QlPickListShow(const QlPickList *list, HWND view);
// Answers LVN_GETDISPINFOA for the rows: column 0 the A/C ref, 1 the company.
void QlPickListCell(const QlPickList *list, NMLVDISPINFOA *info);
// Answers the dialog's list notifications for the rows: LVN_GETDISPINFOA and
// the owner-data find by A/C ref (its answer in DWLP_MSGRESULT).  1 when it
// answered, 0 for any other notification.
int QlPickListNotify(const QlPickList *list, HWND dialog, const NMHDR *header);
