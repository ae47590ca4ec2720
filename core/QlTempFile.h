// Files written whole or not at all, and the program's own temporary folders.
//
// A writer creates its file under a temporary name in the folder of the
// final one (QlFileBegin), writes that file (natively too: it exists, so
// QlPathToNative finds it), and moves it into place only when it is complete
// (QlFileCommit).  The file of the final name is then the old one or the new
// one, never a part of either; a file that another handle holds without
// sharing (an attachment being sent, a document open in a viewer) is left as
// it is.
//
// Temporary folders: "<system temp>\Quillory\<process id>-<n>", one for each
// use (an e-mail's attachment, a converted picture) and removed after it,
// so that nothing the program needs only for a while lands among the user's
// files.  Making a folder also removes what processes that have ended left
// behind.
#pragma once

#include <stddef.h>

// QL_FILE_NO_SPACE: the file could not be written whole for want of room (a
// full disk or quota); nothing was replaced.
enum { QL_FILE_FAILED = 0, QL_FILE_DONE = 1, QL_FILE_IN_USE = 2, QL_FILE_NO_SPACE = 3 };

// Creates an empty file with a new name in the folder of path (a Windows
// path; a bare name means the current folder) and writes its name into temp.
// 1, or 0 when no file could be made there.
int QlFileBegin(const char *path, char *temp, size_t tempSize);
// Moves the finished temp file to path, replacing a file there.  QL_FILE_DONE;
// QL_FILE_IN_USE when the file at path is held by another handle without
// sharing; QL_FILE_FAILED otherwise.  The temp file is gone in every case.
int QlFileCommit(const char *temp, const char *path);
// Removes an unfinished temp file.
void QlFileAbandon(const char *temp);

// Makes a new, empty temporary folder of the program and writes its path
// (without a final backslash) into folder.  1, or 0 when none can be made.
int QlTempFolderMake(char *folder, size_t size);
// Removes a folder made by QlTempFolderMake with the files in it; a path
// outside the program's temporary folder is left alone.  1 when it is gone.
int QlTempFolderRemove(const char *folder);
// 1 with the folder written when path names a file directly inside one of
// the program's temporary folders; otherwise 0.
int QlTempFolderOf(const char *path, char *folder, size_t size);
