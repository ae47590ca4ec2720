// Picture bytes turned into JPEG files through FreeImage, for the PDF logo.
// FreeImage.h clashes with windows.h, so FreeImage is used only in
// QlImageJpeg.cpp and reached through these functions.
//
// Both take the bytes of a file that has passed the picture library's check
// (QlPictureReadChecked) with the kind that check found: FreeImage never
// guesses a format and never reads a file the check has not seen.  Paths are
// native (QlPathToNative).
#pragma once

#include <stddef.h>

// 1 when the JPEG bytes decode from their start to their end without a
// fault: a file cut short or damaged gives 0.
int QlImageJpegIsWhole(const unsigned char *data, size_t size);
// Decodes the picture (kind GLIMMET_BMP, GLIMMET_GIF or GLIMMET_PNG) and
// saves it as a JPEG file at nativeOut (quality flag 128).  Pictures JPEG
// cannot hold as they are (palettised, 32-bit, 16-bit samples) are converted
// to 24-bit first; transparent parts become white, the paper they are printed
// on.  1 when the file was written.
int QlImageSaveAsJpeg(const unsigned char *data, size_t size, int kind, const char *nativeOut);
// Saves 24-bit rows (blue, green, red; each row pitch bytes, the bottom row
// first, as a bottom-up device-independent bitmap holds them) of a width x
// height picture as a JPEG file at nativeOut: pictures that another decoder
// has read.  1 when the file was written.
int QlImageSaveRowsAsJpeg(const unsigned char *rows, int width, int height, int pitch, const char *nativeOut);
