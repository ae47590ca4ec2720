#include "QlPdf.h"
#include "core/QlTempFile.h"

// Whether a failed write means that there is no room for the file.
static int NoSpace(DWORD error)
{
    return error == ERROR_DISK_FULL || error == ERROR_HANDLE_DISK_FULL || error == ERROR_FILE_TOO_LARGE;
}

// Writes the document's bytes from libharu's memory stream into the file at
// path (which exists), every call checked, and checks the file's size after
// it is closed.  QL_FILE_DONE, QL_FILE_NO_SPACE or QL_FILE_FAILED.
static int WriteStream(HPDF_Doc doc, const char *path)
{
    const HPDF_UINT32 total = HPDF_GetStreamSize(doc);
    if (total == 0) return QL_FILE_FAILED;
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, NULL, TRUNCATE_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) return QL_FILE_FAILED;
    int result = QL_FILE_DONE;
    HPDF_UINT32 written = 0;
    for (;;) {
        HPDF_BYTE buffer[16384];
        HPDF_UINT32 length = sizeof buffer;
        const HPDF_STATUS read = HPDF_ReadFromStream(doc, buffer, &length);
        if (read != HPDF_OK && read != HPDF_STREAM_EOF) {
            result = QL_FILE_FAILED;
            break;
        }
        // A write may take part of the bytes (the last room on the disk):
        // the rest is written again, and fails or takes nothing.  A file
        // that took bytes and then takes no more has run out of room,
        // whatever the system calls it (a file size limit, a quota).
        for (HPDF_UINT32 at = 0; at < length && result == QL_FILE_DONE;) {
            DWORD done = 0;
            if (!WriteFile(file, buffer + at, length - at, &done, NULL)) {
                result = NoSpace(GetLastError()) || written + at > 0 ? QL_FILE_NO_SPACE : QL_FILE_FAILED;
            } else if (done == 0) {
                result = QL_FILE_NO_SPACE;
            }
            at += done;
        }
        if (result != QL_FILE_DONE) break;
        written += length;
        if (read == HPDF_STREAM_EOF || length == 0) break;
    }
    if (result == QL_FILE_DONE && !FlushFileBuffers(file))
        result = NoSpace(GetLastError()) ? QL_FILE_NO_SPACE : QL_FILE_FAILED;
    if (!CloseHandle(file) && result == QL_FILE_DONE) result = QL_FILE_FAILED;
    if (result == QL_FILE_DONE) {
        WIN32_FILE_ATTRIBUTE_DATA data;
        if (written != total || !GetFileAttributesExA(path, GetFileExInfoStandard, &data) || data.nFileSizeHigh != 0 ||
            data.nFileSizeLow != total)
            result = QL_FILE_FAILED;
    }
    return result;
}

int QlPdfSaveFile(HPDF_Doc doc, const char *path)
{
    char temp[MAX_PATH];
    if (!doc || !QlFileBegin(path, temp, sizeof temp)) return QL_FILE_FAILED;
    // libharu's own file writer never checks that the file was closed whole
    // (on a full disk it answers success for an empty file): the document is
    // made in memory and its bytes written here.
    if (HPDF_SaveToStream(doc) != HPDF_OK) {
        HPDF_ResetError(doc);
        QlFileAbandon(temp);
        return QL_FILE_FAILED;
    }
    const int written = WriteStream(doc, temp);
    if (written != QL_FILE_DONE) {
        QlFileAbandon(temp);
        return written;
    }
    return QlFileCommit(temp, path);
}
