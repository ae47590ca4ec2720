#include "QlPdf.h"
#include "QlPlatform.h"
#include "QlTempFile.h"

int QlPdfSaveFile(HPDF_Doc doc, const char *path)
{
    char temp[MAX_PATH], native[MAX_PATH * 4];
    if (!doc || !QlFileBegin(path, temp, sizeof temp)) return QL_FILE_FAILED;
    // libharu writes with the C library: the native name of the temp file,
    // which exists now.
    if (!QlPathToNative(temp, native, sizeof native) || HPDF_SaveToFile(doc, native) != HPDF_OK) {
        QlFileAbandon(temp);
        return QL_FILE_FAILED;
    }
    return QlFileCommit(temp, path);
}
