#include "QlTempFile.h"

#include "QlPlatform.h"
#include "QlWidePath.h"

#include <windows.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

// The program's own folder in the system's temporary folder.
static const char kRootName[] = "Quillory";

// "<system temp>\Quillory", made when missing; 1 when it is there.
static int Root(char *root, size_t size)
{
    char temp[MAX_PATH];
    if (!QlTempPathAnsi(temp, sizeof temp)) return 0;
    const size_t n = strlen(temp);
    int length = snprintf(root, size, "%s%s%s", temp, temp[n - 1] == '\\' ? "" : "\\", kRootName);
    if (length < 0 || (size_t)length >= size) return 0;
    if (!CreateDirectoryA(root, NULL) && GetLastError() != ERROR_ALREADY_EXISTS) return 0;
    DWORD attributes = GetFileAttributesA(root);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

static int SameStart(const char *a, const char *b, size_t length)
{
    for (size_t i = 0; i < length; i++) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = (char)(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = (char)(y - 'A' + 'a');
        if (x != y) return 0;
    }
    return 1;
}

// The name of a folder directly inside root, or NULL when path is not one.
static const char *NameInRoot(const char *path, const char *root)
{
    size_t length = strlen(root);
    if (strlen(path) <= length + 1 || !SameStart(path, root, length) || path[length] != '\\') return NULL;
    const char *name = path + length + 1;
    if (strchr(name, '\\') || strchr(name, '/') || strcmp(name, ".") == 0 || strcmp(name, "..") == 0) return NULL;
    return name;
}

static int RemoveTree(const char *folder)
{
    char pattern[MAX_PATH];
    if (snprintf(pattern, sizeof pattern, "%s\\*", folder) >= (int)sizeof pattern) return 0;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(pattern, &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if (strcmp(found.cFileName, ".") == 0 || strcmp(found.cFileName, "..") == 0) continue;
            char path[MAX_PATH];
            if (snprintf(path, sizeof path, "%s\\%s", folder, found.cFileName) >= (int)sizeof path) continue;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(path);
            } else {
                SetFileAttributesA(path, FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(path);
            }
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    return RemoveDirectoryA(folder) != 0;
}

// Removes the folders of processes that have ended.
static void SweepLeftovers(const char *root)
{
    char pattern[MAX_PATH];
    if (snprintf(pattern, sizeof pattern, "%s\\*", root) >= (int)sizeof pattern) return;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(pattern, &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) continue;
        char *end = NULL;
        unsigned long id = strtoul(found.cFileName, &end, 10);
        if (end == found.cFileName || *end != '-' || id == GetCurrentProcessId()) continue;
        HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, (DWORD)id);
        if (process) {
            DWORD state = WaitForSingleObject(process, 0);
            CloseHandle(process);
            if (state == WAIT_TIMEOUT) continue;   // still running
        }
        char path[MAX_PATH];
        if (snprintf(path, sizeof path, "%s\\%s", root, found.cFileName) < (int)sizeof path) RemoveTree(path);
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

int QlTempFolderMake(char *folder, size_t size)
{
    static LONG counter;
    if (!folder || size == 0) return 0;
    folder[0] = '\0';
    char root[MAX_PATH];
    if (!Root(root, sizeof root)) return 0;
    SweepLeftovers(root);
    for (int attempt = 0; attempt < 100; attempt++) {
        int length = snprintf(folder, size, "%s\\%lu-%ld", root, (unsigned long)GetCurrentProcessId(),
                              (long)InterlockedIncrement(&counter));
        if (length < 0 || (size_t)length >= size) break;
        if (CreateDirectoryA(folder, NULL)) return 1;
        if (GetLastError() != ERROR_ALREADY_EXISTS) break;
    }
    folder[0] = '\0';
    return 0;
}

int QlTempFolderRemove(const char *folder)
{
    char root[MAX_PATH];
    if (!folder || !folder[0] || !Root(root, sizeof root) || !NameInRoot(folder, root)) return 0;
    return RemoveTree(folder);
}

int QlTempFolderOf(const char *path, char *folder, size_t size)
{
    if (!path || !folder || size == 0) return 0;
    folder[0] = '\0';
    const char *slash = strrchr(path, '\\');
    if (!slash || !slash[1]) return 0;
    size_t length = (size_t)(slash - path);
    if (length >= size) return 0;
    memcpy(folder, path, length);
    folder[length] = '\0';
    char root[MAX_PATH];
    if (!Root(root, sizeof root) || !NameInRoot(folder, root)) {
        folder[0] = '\0';
        return 0;
    }
    return 1;
}

int QlFileBegin(const char *path, char *temp, size_t tempSize)
{
    if (!path || !path[0] || !temp || tempSize < MAX_PATH) return 0;
    temp[0] = '\0';
    char folder[MAX_PATH];
    const char *slash = strrchr(path, '\\');
    if (!slash) slash = strrchr(path, '/');
    if (slash) {
        size_t length = (size_t)(slash - path);
        if (length >= sizeof folder) return 0;
        memcpy(folder, path, length);
        folder[length] = '\0';
        // "C:\x.pdf": the folder is the drive's root.
        if (length == 2 && folder[1] == ':') strcat(folder, "\\");
        if (length == 0) strcpy(folder, "\\");
    } else {
        strcpy(folder, ".");
    }
    return QlFileMakeTemp(folder, "qlw", temp, tempSize);
}

void QlFileAbandon(const char *temp)
{
    if (temp && temp[0]) DeleteFileA(temp);
}

static int InUse(DWORD error)
{
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION;
}

int QlFileCommit(const char *temp, const char *path)
{
    if (!temp || !temp[0] || !path || !path[0]) return QL_FILE_FAILED;
    // Whether another handle holds the file without sharing it: such a file
    // is being read (or written) by somebody who relies on it staying.
    if (GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES) {
        HANDLE file = CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, NULL,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
        if (file == INVALID_HANDLE_VALUE && InUse(GetLastError())) {
            DeleteFileA(temp);
            return QL_FILE_IN_USE;
        }
        if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    }
    if (QlFileReplace(temp, path)) return QL_FILE_DONE;
    DWORD error = GetLastError();
    DeleteFileA(temp);
    return InUse(error) ? QL_FILE_IN_USE : QL_FILE_FAILED;
}
