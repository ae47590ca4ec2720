// The select-customer dialog (182): a document form or the statement window
// lets the user pick one enabled account.  Run it with DialogBoxParamA and
// QlCustSelectDlgProc; 1 means an account was taken and QlCustSelected
// points to a copy of its record.
#pragma once

#include "datastore/QlDbRecords.h"

#include <windows.h>

// The taken account: a copy, and a pointer to it that is NULL while none
// has been taken since the dialog last opened.
extern QlCustRec QlCustSelectedRec;
extern QlCustRec *QlCustSelected;

INT_PTR CALLBACK QlCustSelectDlgProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam);
// Shows the open dialog's accounts (read once an opening) ordered by column
// (1 company, else A/C ref), no row selected.
void QlCustSelectLoad(int column, int ascending);
// Takes the selected row's account; 1 on success, 0 when no row is
// selected or the account cannot be read.
int QlCustSelectTake(void);
// Runs the dialog modally over owner (the forms' door, selectCustomer of
// docmodel/QlOpeners.h): its result, with *taken set to QlCustSelected.
INT_PTR QlCustSelectRun(HWND owner, const QlCustRec **taken);
