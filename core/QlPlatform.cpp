#include "QlPlatform.h"

#include <windows.h>
#include <errno.h>
#include <stdlib.h>
#include <string.h>
#include <malloc.h>
#ifndef __WINE__
#include <wincrypt.h>
#endif

int64_t QlAtoI64(const char *text)
{
    if (!text) return 0;
    return (int64_t)strtoll(text, NULL, 10);
}

static int CopyPath(const char *path, char *out, size_t outSize)
{
    size_t len = strlen(path);
    if (len >= outSize) return 0;
    memcpy(out, path, len + 1);
    return 1;
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
    int ok = CopyPath(unixPath, out, outSize);
    HeapFree(GetProcessHeap(), 0, unixPath);
    return ok;
#else
    return CopyPath(path, out, outSize);
#endif
}

int QlPathToNativeUtf8(const char *path, char *out, size_t outSize)
{
#ifdef __WINE__
    return QlPathToNative(path, out, outSize);
#else
    if (!out || outSize == 0) return 0;
    out[0] = '\0';
    if (!path) return 0;
    WCHAR wide[MAX_PATH * 2];
    if (!MultiByteToWideChar(CP_ACP, 0, path, -1, wide, (int)ARRAYSIZE(wide))) return 0;
    if (!WideCharToMultiByte(CP_UTF8, 0, wide, -1, out, (int)(outSize < 0x7fffffff ? outSize : 0x7fffffff), NULL,
                             NULL)) {
        out[0] = '\0';
        return 0;
    }
    return 1;
#endif
}

FILE *QlFileOpen(const char *path, const char *mode)
{
    char native[MAX_PATH * 4];
    if (!QlPathToNative(path, native, sizeof native)) return NULL;
    return fopen(native, mode);
}

int QlFileMakeTemp(const char *folder, const char *prefix, char *out, size_t outSize)
{
    if (!folder || !prefix || !out || outSize < MAX_PATH) return 0;
    out[0] = '\0';
#ifdef __WINE__
    const size_t length = strlen(folder);
    const char *separator = length && (folder[length - 1] == '\\' || folder[length - 1] == '/') ? "" : "\\";
    static LONG counter;
    const unsigned seed = (unsigned)GetTickCount() ^ ((unsigned)GetCurrentProcessId() << 8);
    for (int attempt = 0; attempt < 100; attempt++) {
        const unsigned number = (seed + (unsigned)InterlockedIncrement(&counter)) & 0xffff;
        const int n = snprintf(out, outSize, "%s%s%s%x.tmp", folder, separator, prefix, number ? number : 1);
        char native[MAX_PATH * 4];
        if (n < 0 || (size_t)n >= outSize || !QlPathToNative(out, native, sizeof native)) break;
        // "x": the name is taken only if no file has it yet.
        FILE *file = fopen(native, "wx");
        if (file) {
            fclose(file);
            return 1;
        }
        if (errno != EEXIST) break;
    }
    out[0] = '\0';
    return 0;
#else
    return GetTempFileNameA(folder, prefix, 0, out) != 0;
#endif
}

int QlFileReplace(const char *from, const char *to)
{
#ifdef __WINE__
    char nativeFrom[MAX_PATH * 4], nativeTo[MAX_PATH * 4];
    if (!QlPathToNative(from, nativeFrom, sizeof nativeFrom) || !QlPathToNative(to, nativeTo, sizeof nativeTo)) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return 0;
    }
    if (rename(nativeFrom, nativeTo) == 0) return 1;
    SetLastError(ERROR_ACCESS_DENIED);
    return 0;
#else
    return MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING) != 0;
#endif
}

void QlPlatformReleaseFreedMemory(void)
{
#ifdef __WINE__
    malloc_trim(0);
#else
    _heapmin();
#endif
}

int QlPlatformTlsReadsLibraryFiles(void)
{
#ifdef __WINE__
    return 1;
#else
    return 0;
#endif
}

int QlPlatformEachRootCertificate(void (*add)(void *context, const unsigned char *der, size_t size), void *context)
{
#ifdef __WINE__
    return 0;
#else
    HCERTSTORE store = CertOpenSystemStoreA(0, "ROOT");
    if (!store) return 0;
    int count = 0;
    for (PCCERT_CONTEXT cert = CertEnumCertificatesInStore(store, NULL); cert;
         cert = CertEnumCertificatesInStore(store, cert)) {
        add(context, cert->pbCertEncoded, cert->cbCertEncoded);
        count++;
    }
    CertCloseStore(store, 0);
    return count;
#endif
}
