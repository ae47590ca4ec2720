// The picture library's own check of a file's bytes before the system loader
// reads them.
#pragma once

#include <stddef.h>

// 1 when data holds a whole bitmap, JPEG or GIF file: its headers and
// declared sizes fit the bytes given and its pixel data is all there.
// 0 for any other file, cut or inconsistent ones included.
int GlimmetPictureIsWhole(const unsigned char *data, size_t size);
