#include "QlWideFileDialog.h"
#include "core/QlWidePath.h"

#include <stdlib.h>
#include <string.h>

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
