#include "QlWidePath.h"

#include <stdio.h>
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
