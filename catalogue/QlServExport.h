// The services CSV export ("serv.csv"): one line per enabled service, every
// field in double quotes, lines ending in CR LF.
#pragma once

#include "datastore/QlDbRecords.h"

#include <windows.h>

// Asks for the file and writes it; the owner is the services window or the
// reports dialog.  1 when the file was written whole (the status panel says
// so); 0 when cancelled or after a message.
int QlServExportCsv(HWND owner);
// Writes one line into csv_stream; nothing when no export is running.
int QlServCsvRowCb(const QlServRec *rec);
