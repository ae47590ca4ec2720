#include "QlPlatform.h"

#include <stdlib.h>
#include <string.h>

int64_t QlAtoI64(const char *text)
{
    if (!text) return 0;
    return (int64_t)strtoll(text, NULL, 10);
}

int QlPathToNative(const char *path, char *out, size_t outSize)
{
    if (!out || outSize == 0) return 0;
    out[0] = '\0';
    if (!path) return 0;
#ifdef __WINE__
    WCHAR wide[MAX_PATH * 2];
    if (!MultiByteToWideChar(CP_ACP, 0, path, -1, wide, (int)ARRAYSIZE(wide))) return 0;
    char *unixPath = wine_get_unix_file_name(wide);
    if (!unixPath) return 0;
    size_t len = strlen(unixPath);
    int ok = len < outSize;
    if (ok) memcpy(out, unixPath, len + 1);
    HeapFree(GetProcessHeap(), 0, unixPath);
    return ok;
#else
    size_t len = strlen(path);
    if (len >= outSize) return 0;
    memcpy(out, path, len + 1);
    return 1;
#endif
}

FILE *QlFileOpen(const char *path, const char *mode)
{
    char native[MAX_PATH * 4];
    if (!QlPathToNative(path, native, sizeof native)) return NULL;
    return fopen(native, mode);
}
