#include "QlWidePath.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

// Converts to the ANSI code page; 1 only when the text converts back
// unchanged (no letter lost or replaced by a look-alike).
static int ToAnsiExact(const WCHAR *wide, char *out, size_t size)
{
    if (size == 0) return 0;
    out[0] = '\0';
    int n = WideCharToMultiByte(CP_ACP, 0, wide, -1, out, (int)(size < 0x7fffffff ? size : 0x7fffffff), NULL, NULL);
    if (n <= 0) {
        out[0] = '\0';
        return 0;
    }
    WCHAR back[MAX_PATH * 2];
    int m = MultiByteToWideChar(CP_ACP, 0, out, -1, back, (int)(sizeof back / sizeof back[0]));
    if (m <= 0 || lstrcmpW(back, wide) != 0) {
        out[0] = '\0';
        return 0;
    }
    return 1;
}

int QlAnsiPathFromWide(const WCHAR *path, char *out, size_t size)
{
    if (!out || size == 0) return 0;
    out[0] = '\0';
    if (!path || !path[0]) return 0;
    if (ToAnsiExact(path, out, size)) return 1;
    WCHAR shortPath[MAX_PATH * 2];
    DWORD n = GetShortPathNameW(path, shortPath, (DWORD)(sizeof shortPath / sizeof shortPath[0]));
    if (n > 0 && n < sizeof shortPath / sizeof shortPath[0]) return ToAnsiExact(shortPath, out, size);
    // A file still to be made: its folder's short form and its own name.
    // (No wcs* calls: under winelib the C library's wide characters are not
    // WCHAR's.)
    const WCHAR *slash = NULL;
    for (const WCHAR *p = path; *p; p++)
        if (*p == L'\\') slash = p;
    if (!slash || !slash[1]) return 0;
    WCHAR folder[MAX_PATH * 2];
    size_t length = (size_t)(slash - path);
    if (length + 2 >= sizeof folder / sizeof folder[0]) return 0;
    memcpy(folder, path, length * sizeof(WCHAR));
    folder[length] = L'\0';
    if (length == 2 && folder[1] == L':') lstrcatW(folder, L"\\");
    char ansiFolder[MAX_PATH], ansiName[MAX_PATH];
    if (!QlAnsiPathFromWide(folder, ansiFolder, sizeof ansiFolder) || !ToAnsiExact(slash + 1, ansiName, sizeof ansiName))
        return 0;
    size_t folderLength = strlen(ansiFolder);
    const char *separator = folderLength && ansiFolder[folderLength - 1] == '\\' ? "" : "\\";
    int written = snprintf(out, size, "%s%s%s", ansiFolder, separator, ansiName);
    if (written < 0 || (size_t)written >= size) {
        out[0] = '\0';
        return 0;
    }
    return 1;
}

int QlCurrentDirAnsi(char *out, size_t size)
{
    if (!out || size == 0) return 0;
    out[0] = '\0';
    WCHAR wide[MAX_PATH * 2];
    DWORD n = GetCurrentDirectoryW((DWORD)(sizeof wide / sizeof wide[0]), wide);
    if (n == 0 || n >= sizeof wide / sizeof wide[0]) return 0;
    if (!QlAnsiPathFromWide(wide, out, size)) return 0;
    if (!SetCurrentDirectoryA(out)) {
        out[0] = '\0';
        return 0;
    }
    return 1;
}

int QlTempPathAnsi(char *out, size_t size)
{
    if (!out || size == 0) return 0;
    out[0] = '\0';
    WCHAR wide[MAX_PATH * 2];
    DWORD n = GetTempPathW((DWORD)(sizeof wide / sizeof wide[0]), wide);
    if (n == 0 || n >= sizeof wide / sizeof wide[0] - 1) return 0;
    // Without its final backslash for the short form, which wants a name.
    if (n > 3 && wide[n - 1] == L'\\') wide[--n] = L'\0';
    if (!QlAnsiPathFromWide(wide, out, size)) return 0;
    size_t length = strlen(out);
    if (length + 1 >= size) {
        out[0] = '\0';
        return 0;
    }
    if (length && out[length - 1] != '\\') strcat(out, "\\");
    return 1;
}

// ---------------------------------------------------------------------------
// The file dialogs

// A wide copy of an ANSI text (NULL stays NULL); freed by the caller.
static WCHAR *Widen(const char *text)
{
    if (!text) return NULL;
    int n = MultiByteToWideChar(CP_ACP, 0, text, -1, NULL, 0);
    if (n <= 0) return NULL;
    WCHAR *wide = (WCHAR *)calloc((size_t)n, sizeof(WCHAR));
    if (wide) MultiByteToWideChar(CP_ACP, 0, text, -1, wide, n);
    return wide;
}

// The filter's pairs end with an empty text: the whole list widened.
static WCHAR *WidenList(const char *list)
{
    if (!list) return NULL;
    size_t length = 0;
    while (list[length] || list[length + 1]) length++;
    length += 2;
    int n = MultiByteToWideChar(CP_ACP, 0, list, (int)length, NULL, 0);
    if (n <= 0) return NULL;
    WCHAR *wide = (WCHAR *)calloc((size_t)n, sizeof(WCHAR));
    if (wide) MultiByteToWideChar(CP_ACP, 0, list, (int)length, wide, n);
    return wide;
}

static BOOL RunWide(LPOPENFILENAMEA ofn, int save)
{
    if (!ofn || !ofn->lpstrFile || ofn->nMaxFile == 0) return FALSE;
    const DWORD capacity = ofn->nMaxFile < MAX_PATH * 2 ? MAX_PATH * 2 : ofn->nMaxFile;
    WCHAR *file = (WCHAR *)calloc(capacity, sizeof(WCHAR));
    WCHAR *filter = WidenList(ofn->lpstrFilter);
    WCHAR *folder = Widen(ofn->lpstrInitialDir);
    WCHAR *title = Widen(ofn->lpstrTitle);
    WCHAR *extension = Widen(ofn->lpstrDefExt);
    BOOL chosen = FALSE;
    if (file) {
        MultiByteToWideChar(CP_ACP, 0, ofn->lpstrFile, -1, file, (int)capacity);
        file[capacity - 1] = L'\0';
        OPENFILENAMEW wide;
        memset(&wide, 0, sizeof wide);
        wide.lStructSize = sizeof wide;
        wide.hwndOwner = ofn->hwndOwner;
        wide.hInstance = ofn->hInstance;
        wide.lpstrFilter = filter;
        wide.nFilterIndex = ofn->nFilterIndex;
        wide.lpstrFile = file;
        wide.nMaxFile = capacity;
        wide.lpstrInitialDir = folder;
        wide.lpstrTitle = title;
        wide.lpstrDefExt = extension;
        wide.Flags = ofn->Flags;
        chosen = save ? GetSaveFileNameW(&wide) : GetOpenFileNameW(&wide);
        if (chosen) {
            ofn->nFilterIndex = wide.nFilterIndex;
            ofn->Flags = wide.Flags;
            char path[MAX_PATH];
            if (QlAnsiPathFromWide(file, path, sizeof path) && strlen(path) < ofn->nMaxFile) {
                strcpy(ofn->lpstrFile, path);
                const char *slash = strrchr(path, '\\');
                const char *name = slash ? slash + 1 : path;
                const char *dot = strrchr(name, '.');
                ofn->nFileOffset = (WORD)(name - path);
                ofn->nFileExtension = (WORD)(dot ? dot + 1 - path : strlen(path));
            } else {
                chosen = FALSE;
            }
        }
    }
    free(file);
    free(filter);
    free(folder);
    free(title);
    free(extension);
    return chosen;
}

BOOL WINAPI QlGetSaveFileNameWide(LPOPENFILENAMEA ofn)
{
    return RunWide(ofn, 1);
}

BOOL WINAPI QlGetOpenFileNameWide(LPOPENFILENAMEA ofn)
{
    return RunWide(ofn, 0);
}
