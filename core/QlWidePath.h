// Paths that the program's ANSI calls can take whatever letters the folders
// have.  Windows gives a path through an ANSI call ("A") in the system's
// ANSI code page: a letter outside it comes back as "?" or as a look-alike
// ("C:\Users\?ukasz Dvor?k"), which names no folder.  These take the path
// through the wide call and give it in a form that converts both ways: as it
// is where it can, else in its short form ("C:\Users\_UKA~3FX"), whose names
// are plain ASCII.  The file dialogs that answer in this form:
// ui/QlWideFileDialog.h.
#pragma once

#include <windows.h>
#include <stddef.h>

// The ANSI form of a wide path that names the same file: the path itself
// when it converts both ways unchanged, else its short form (the path must
// exist), else, for a file that does not exist yet, the short form of its
// folder with the name (which must convert).  1, or 0 with out empty.
int QlAnsiPathFromWide(const WCHAR *path, char *out, size_t size);

// The current directory in the ANSI form of QlAnsiPathFromWide, made the
// current directory in that form, so that later ANSI calls see the same
// path.  1, or 0 with out empty.
int QlCurrentDirAnsi(char *out, size_t size);

// The temporary folder (GetTempPathA's, with its final backslash) in the
// ANSI form of QlAnsiPathFromWide.  1, or 0 with out empty.
int QlTempPathAnsi(char *out, size_t size);
