// The services CSV export: every enabled service as one line of three quoted
// fields (code, description, price), in the order the table gives them.
//
// The file is written in binary so that every line ends in CR LF whatever
// the C runtime does with "\n".  Success is reported only when the query ran
// and every byte reached the file; otherwise the user sees why, and the
// unfinished file is removed rather than left looking like a whole list.

#include "catalogue/QlCatTexts.h"
#include "catalogue/QlServices.h"

#include "ui/QlAppState.h"
#include "ui/QlMsgDialog.h"
#include "core/QlPlatform.h"
#include "ui/QlSaveDialog.h"
#include "ui/QlSeams.h"
#include "ui/QlUtil.h"
#include "datastore/QlDb.h"
#include "datastore/QlDbTables.h"

#include <commdlg.h>
#include <stdio.h>
#include <string.h>

int QlServCsvRowCb(const QlServRec *rec)
{
    FILE *stream = QlServState.csv_stream;
    if (!stream) return 0;
    fprintf(stream, "\"" QL_I64 "\",", rec->iKey);
    QlCsvWriteField(stream, rec->descr);
    fprintf(stream, "\"%d.%02u\"\r\n", rec->price_units, rec->price_hundredths);
    if (ferror(stream)) QlServState.csv_failed = 1;
    return 0;
}

static void ShowFileError(HWND owner, const char *format, const char *path)
{
    char message[400];
    snprintf(message, sizeof message, format, path);
    QlMsgBox(owner, QlCatText()->Error, message, QL_COLOUR_WARNING);
}

int QlServExportCsv(HWND owner)
{
    const QlCatTextRec *text = QlCatText();
    char path[MAX_PATH] = "serv.csv";
    if (!QlAskSavePath(owner, QL_SAVE_CSV, path, sizeof path, text->ServExportTitle, "CSV (*.csv)\0*.csv\0", "csv", NULL))
        return 0;

    FILE *stream = QlFileOpen(path, "wb");
    if (!stream) {
        ShowFileError(owner, text->FileOpenFailed, path);
        return 0;
    }
    QlServState.csv_stream = stream;
    QlServState.csv_failed = 0;
    char err[QL_DB_ERR_SIZE] = "";
    int queried = QlServEnum(QlServCsvRowCb, err);
    int written = !QlServState.csv_failed && fflush(stream) == 0 && !ferror(stream);
    if (fclose(stream) != 0) written = 0;
    QlServState.csv_stream = NULL;
    QlServState.csv_failed = 0;
    if (!queried || !written) DeleteFileA(path);

    if (!queried) {
        QlMsgBox(owner, text->Error, err, QL_COLOUR_WARNING);
        return 0;
    }
    if (!written) {
        ShowFileError(owner, text->FileWriteFailed, path);
        return 0;
    }
    QlStatusPostSaved(text->ServExported, path);
    return 1;
}
