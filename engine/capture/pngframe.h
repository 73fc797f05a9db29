// One captured frame as a PNG file.
#ifndef VXE_CAPTURE_PNGFRAME_H
#define VXE_CAPTURE_PNGFRAME_H

#include <stdint.h>

// Writes width x height RGB pixels, stored bottom row first as GL reads
// them, upright into path. 1, or 0 with errno set when the file could not
// be written.
int pngframe_write(const char *path, const uint8_t *rgb, int width, int height);

#endif
