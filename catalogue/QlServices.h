// The services screens: the services window (dialog 173 as a module window),
// the new-service and edit-service dialogs (178), deleting a service and the
// services CSV export.
//
// The window keeps the services in memory and shows them through its
// owner-data list: the dialogs and the delete command change one row at a
// time (QlServWindowAppend, ...Update, ...Remove) and read the service's code
// (its row id), description and price back from the list's cells.
#pragma once

#include "catalogue/QlServExport.h"
#include "datastore/QlDbRecords.h"

#include <windows.h>
#include <stdio.h>

// The window-wide values of the services screens; one instance.
struct QlServWindowState {
    HWND window;        // the services window while it is open
    HWND title_label;   // its caption static
    HWND toolbar;       // its tool bar, NULL when none exists
    int edit_row;       // the list row the Edit or Delete command took
    FILE *csv_stream;   // the CSV export's file while it is written
    int csv_failed;     // a line of the export could not be written
};
extern QlServWindowState QlServState;

// ---------------------------------------------------------------------------
// The services window

INT_PTR CALLBACK QlServDlgProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
// Lays the window out for the main window's current size.
void QlServLayout(HWND window, HWND titleLabel);
// The window's row function: the service as a row of its list.
int QlServListRowCb(const QlServRec *rec);
// A new service as the window's last row; its row, -1 when not listed.
int QlServWindowAppend(const QlServRec *rec);
// A row shown with the stored service, and a deleted service's row taken
// out; nothing without the window or for a row it does not have.
void QlServWindowUpdate(int row, const QlServRec *rec);
void QlServWindowRemove(int row);

// ---------------------------------------------------------------------------
// The service dialogs and the Delete command

void QlServAddCmd(HWND window);
void QlServEditCmd(HWND window);
INT_PTR CALLBACK QlServAddDlgProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK QlServEditDlgProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam);
// The new-service dialog's Save: 1 when the service was stored and listed,
// 0 after a message (the dialog stays open).
int QlServInsert(HWND dialog);
// The edit-service dialog's Save: 1 when the row and the list row were
// rewritten, 0 after a message.
int QlServEditSave(HWND dialog);
// The price fields of a service dialog: units and hundredths as typed (an
// empty field is 0; "5" hundredths is 0.05).  0, with the record unchanged,
// when a field holds anything but digits.
int QlServReadPrice(HWND dialog, QlServRec *rec);
// Asks, then soft-deletes the service of the focused row; the row leaves
// the list only when the table was changed.  1 when the service was deleted.
int QlServDelete(HWND window);

// ---------------------------------------------------------------------------
// The services CSV export: QlServExport.h.
