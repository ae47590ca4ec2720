// Pictures through the picture library (Glimmet.dll, loaded by name), the
// logo dialog, fitting a picture into a box and printing the logo.
#pragma once

#include <windows.h>
#include <stddef.h>

#include "picture/GlimmetCheck.h"

struct QlPictureSizeRec {
    int reserved;
    int width;
    int height;
};

// The picture library's one export, "LoadPictureFile": stdcall, one argument,
// the bitmap as a full pointer-sized handle (never cut to 32 bits), NULL on
// any failure.
typedef HBITMAP(WINAPI *QlLoadPictureFileFn)(const char *path);

// Loads "Glimmet.dll" and binds its export; 1 on success (also when already
// bound), 0 when the library or its export is missing (nothing stays loaded).
int QlPictureLibLoad(void);
// Unloads the library, which releases the last picture it handed out.
void QlPictureLibFree(void);

// The bitmap belongs to the picture library and is valid only until the next
// load: use it at once (draw it, StretchBlt it) and never keep it.  NULL when
// the file cannot be read (size is then left as it was); size may be NULL.
HBITMAP QlPictureLoad(const char *path, QlPictureSizeRec *size);
// A caller-owned copy of the picture, for anything kept past the next load
// (button images, the flag, previews); delete it with DeleteObject.
HBITMAP QlPictureLoadCopy(const char *path, QlPictureSizeRec *size);

// The bytes of a picture file that passes the picture library's own check (a
// whole BMP, JPEG, GIF or PNG file within its ceiling, GlimmetCheck.h), read once
// so that what a decoder sees is exactly what was checked.  A heap block to
// free with free(), its size in *size and what the check found in *info
// (either may be NULL); NULL for a missing, unreadable or larger file and for
// any other.
unsigned char *QlPictureReadChecked(const char *path, size_t *size, GlimmetPictureInfo *info);
// 1 when the file passes that check.
int QlPictureFileChecks(const char *path);

// The logo file dialog's filter: its name, then its patterns, each ended by a
// NUL, and the list by a second one.
extern const char QlPictureLogoFilter[];
// The logo file dialog.  1 with the chosen file's full path in path (at least
// MAX_PATH bytes); 0 on cancel, path unchanged.  The working folder is
// restored either way.
int QlPictureChooseLogo(HWND owner, char *path);
// Shrinks the {width, height} pair in size[0], size[1] in steps, keeping its
// proportions, until it fits maxWidth x maxHeight; a pair that fits stays.
void QlPictureFitScale(int *size, float maxWidth, float maxHeight);
// Draws the bitmap at the top left of the page, fitted into half the page
// width plus one line by 18 mm.  *memOut receives the memory device context
// used, which the caller deletes when the document ends; the bitmap is no
// longer selected into it.
void QlPicturePrintLogo(HDC *memOut, HDC printer, HBITMAP bitmap, const RECT *page, const SIZE *line,
                        const QlPictureSizeRec *size, int pxPerMmX, int pxPerMmY);
// Adds the texts of the NULL-ended array to a list box in order, then selects
// the entry at selected.
void QlUiListBoxFill(HWND dlg, int id, const char **items, int selected);
