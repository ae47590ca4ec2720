// Picture files turned into JPEG files through FreeImage, for the PDF logo.
// FreeImage.h clashes with windows.h, so FreeImage is used only in
// QlImageJpeg.cpp and reached through these two functions.  Paths are
// native (QlPathToNative).
#pragma once

enum QlImageKind { QL_IMAGE_UNKNOWN = 0, QL_IMAGE_JPEG = 1, QL_IMAGE_OTHER = 2 };

// What the file's contents say it is (not its name); QL_IMAGE_UNKNOWN for a
// missing file or one FreeImage does not recognise.
int QlImageKindOf(const char *nativePath);
// 1 when the JPEG file decodes from its start to its end without a fault: a
// file cut short or damaged gives 0.
int QlImageJpegIsWhole(const char *nativePath);
// Loads the picture and saves it as a JPEG file at nativeOut (quality flag
// 128).  Pictures JPEG cannot hold as they are (palettised, 32-bit, 16-bit)
// are converted to 24-bit first.  1 when the file was written.
int QlImageSaveAsJpeg(const char *nativePath, const char *nativeOut);
