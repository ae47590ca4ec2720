#include "ui/QlSaveDialog.h"

#include "ui/QlAppState.h"
#include "ui/QlMsgDialog.h"
#include "ui/QlSeams.h"
#include "ui/QlUtil.h"

#include <commdlg.h>
#include <stdio.h>
#include <string.h>

static char sChosen[QL_SAVE_KIND_COUNT][MAX_PATH];

static void Copy(char *out, int size, const char *text)
{
    if (size <= 0) return;
    snprintf(out, (size_t)size, "%s", text ? text : "");
}

static void DropTrailingSlash(char *folder)
{
    size_t length = strlen(folder);
    // "C:\" keeps its backslash: without it the drive's current folder is meant.
    while (length > 3 && (folder[length - 1] == '\\' || folder[length - 1] == '/')) folder[--length] = '\0';
}

static int IsFolder(const char *path)
{
    DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

int QlIsBackupFolder(const char *folder)
{
    if (!folder || !folder[0]) return 0;
    char pattern[MAX_PATH + 8];
    int length = snprintf(pattern, sizeof pattern, "%s\\*.bak", folder);
    if (length < 0 || length >= (int)sizeof pattern) return 0;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(pattern, &found);
    if (search == INVALID_HANDLE_VALUE) return 0;
    int marker = 0;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) marker = 1;
    } while (!marker && FindNextFileA(search, &found));
    FindClose(search);
    return marker;
}

static void WorkFolder(char *folder, int size)
{
    if (QlWorkDir[0]) Copy(folder, size, QlWorkDir);
    else if (!GetCurrentDirectoryA((DWORD)size, folder)) Copy(folder, size, ".");
    DropTrailingSlash(folder);
}

void QlSaveFolder(int kind, char *folder, int size)
{
    if (!folder || size <= 0) return;
    if (kind >= 0 && kind < QL_SAVE_KIND_COUNT && sChosen[kind][0] && IsFolder(sChosen[kind]) &&
        !QlIsBackupFolder(sChosen[kind])) {
        Copy(folder, size, sChosen[kind]);
        return;
    }
    WorkFolder(folder, size);
}

void QlSaveFoldersForget(void)
{
    memset(sChosen, 0, sizeof sChosen);
}

void QlFullPath(const char *path, char *out, int size)
{
    if (!out || size <= 0) return;
    if (!path) path = "";
    char full[MAX_PATH];
    char *name = NULL;
    DWORD length = 0;
    // Relative to the working folder, whatever folder is current.
    const int relative = path[0] && !(path[0] == '\\' || path[0] == '/' || (path[0] && path[1] == ':'));
    if (relative && QlWorkDir[0]) {
        char joined[2 * MAX_PATH];
        char work[MAX_PATH];
        Copy(work, sizeof work, QlWorkDir);
        DropTrailingSlash(work);
        snprintf(joined, sizeof joined, "%s\\%s", work, path);
        length = GetFullPathNameA(joined, sizeof full, full, &name);
    } else if (path[0]) {
        length = GetFullPathNameA(path, sizeof full, full, &name);
    }
    Copy(out, size, length > 0 && length < sizeof full ? full : path);
}

int QlAskSavePath(HWND owner, int kind, char *path, int size, const char *title, const char *filter,
                  const char *extension, const char *chdirFailed)
{
    if (!path || size <= 0) return 0;
    char folder[MAX_PATH];
    QlSaveFolder(kind, folder, sizeof folder);
    OPENFILENAMEA ofn;
    memset(&ofn, 0, sizeof ofn);
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = filter;
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = path;
    ofn.nMaxFile = (DWORD)size;
    ofn.lpstrInitialDir = folder;
    ofn.lpstrTitle = title;
    ofn.lpstrDefExt = extension;
    ofn.Flags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_PATHMUSTEXIST;
    const BOOL chosen = QlSeamGetSaveFileName(&ofn);
    path[size - 1] = '\0';
    if (!QlRestoreWorkDir() && chdirFailed) QlSeamMessageBox(NULL, chdirFailed, NULL, MB_OK);
    if (!chosen || !path[0]) return 0;

    char full[MAX_PATH];
    QlFullPath(path, full, sizeof full);
    Copy(path, size, full);
    if (kind >= 0 && kind < QL_SAVE_KIND_COUNT) {
        char chosenFolder[MAX_PATH];
        Copy(chosenFolder, sizeof chosenFolder, full);
        char *slash = strrchr(chosenFolder, '\\');
        if (slash) {
            *slash = '\0';
            if (strlen(chosenFolder) == 2 && chosenFolder[1] == ':') strcat(chosenFolder, "\\");
            if (!QlIsBackupFolder(chosenFolder)) Copy(sChosen[kind], MAX_PATH, chosenFolder);
        }
    }
    return 1;
}

void QlStatusPostSaved(const char *format, const char *path)
{
    if (!format) return;
    char full[MAX_PATH];
    QlFullPath(path, full, sizeof full);
    char message[MAX_PATH + 256];
    snprintf(message, sizeof message, format, full);
    QlStatusPost(message, QL_COLOUR_DONE);
}
