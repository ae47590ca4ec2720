// What winelib and Windows do differently, in one place.  The program builds
// two ways from the same sources: with Wine's winelib (an ELF program over
// glibc and Debian's native libraries) and with mingw-w64 (a Windows program
// over msvcrt and the libraries' DLLs).  Code outside this header and its
// .cpp never asks which: where the two differ, the difference is a function
// or a macro here.
//
// Formatting: glibc's printf does not know "%I64d"; QL_I64 and QL_U64 give the
// same text on both platforms ("-12" for a signed 64-bit -12).
// Sizes: `long` is 8 bytes under winelib (LP64) and 4 on Windows (LLP64):
// values that must hold more than 32 bits are int64_t, records use
// fixed-width types.
// Paths: native libraries and the C runtime under Wine take Unix paths, while
// the program speaks in Windows paths ("COMP000\\quilry.db").  QlPathToNative
// turns one into the other; on Windows it copies the path unchanged.
// Native library headers: a file that calls a library whose headers would
// take their Windows paths against a Linux build of the library under
// winelib (OpenSSL) defines QL_NATIVE_LIBRARY_FILE and includes this header
// first; it then includes no Windows header itself.
#pragma once

#ifdef QL_NATIVE_LIBRARY_FILE

#ifdef __WINE__
// winelib's compiler defines the Windows macros; Debian's native libraries
// were built without them.
#undef _WIN32
#undef _WIN64
#undef WIN32
#undef __WIN32
#undef __WIN32__
#undef __WIN64
#undef __WIN64__
#endif

#else

#include <inttypes.h>
#include <stdint.h>
#include <stdio.h>
#include <stddef.h>

#define QL_I64 "%" PRId64
#define QL_U64 "%" PRIu64

// Signed 64-bit decimal text to integer: leading blanks, an optional sign,
// digits up to the first other character; no digits give 0.
int64_t QlAtoI64(const char *text);

// Writes the native form of a Windows path (relative paths are taken from the
// current directory) into out.  Returns 1, or 0 with out empty when the path
// cannot be converted or does not fit.
int QlPathToNative(const char *path, char *out, size_t outSize);

// The native path in UTF-8, for a library that takes its paths so (SQLite):
// under winelib the Unix path (UTF-8), on Windows the path converted from the
// program's ANSI code page.  Returns 1, or 0 with out empty.
int QlPathToNativeUtf8(const char *path, char *out, size_t outSize);

// fopen for a Windows path.
FILE *QlFileOpen(const char *path, const char *mode);

// Creates an empty file with a new name "<prefix><hex digits>.tmp" in folder
// (a Windows path) and writes the file's Windows path into out (at least
// MAX_PATH bytes).  On Windows GetTempFileNameA; under winelib the C
// library's exclusive create on the native path, without the Wine server's
// round trips.  1, or 0 when no file could be made there.
int QlFileMakeTemp(const char *folder, const char *prefix, char *out, size_t outSize);

// Moves the file at from (a Windows path) onto to in the same folder,
// replacing a file there.  On Windows MoveFileExA; under winelib the C
// library's rename of the native paths, which spares the several round trips
// to the Wine server that MoveFileExA makes (the caller has checked that no
// handle holds the file at to).  1 when moved; 0 with GetLastError set.
int QlFileReplace(const char *from, const char *to);

#endif

#include <stddef.h>

// Gives the memory the C library keeps after it was freed back to the
// system (a window that held a large book's rows calls it as it closes): the
// C library keeps freed blocks for the next ones, and its heap stays as large
// as it once grew.  Under winelib glibc's malloc_trim; on Windows _heapmin.
// A few milliseconds.
void QlPlatformReleaseFreedMemory(void);

// Whether the native TLS library may read files of its own: its
// configuration file and the trust store of its build-time folder (and
// SSL_CERT_FILE and SSL_CERT_DIR through them).  Under winelib 1: Debian's
// OpenSSL and /etc/ssl, which only root writes.  On Windows 0: the DLLs'
// folder is no folder of this machine's, so the program loads no OpenSSL
// configuration and trusts the ROOT store and, when the user sets it,
// the file SSL_CERT_FILE names.
int QlPlatformTlsReadsLibraryFiles(void);

// The trust anchors of the system's own certificate store that the native
// TLS library does not read itself: on Windows the certificates of the
// "ROOT" store, each handed to add (DER bytes); under winelib none (OpenSSL
// reads the Unix store).  Returns how many were handed over.
int QlPlatformEachRootCertificate(void (*add)(void *context, const unsigned char *der, size_t size),
                                  void *context);
