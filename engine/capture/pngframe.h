// The project's PNG files: captured frames, the tools' previews, and the
// reader the end-to-end tests look at captures with.
#ifndef VXE_CAPTURE_PNGFRAME_H
#define VXE_CAPTURE_PNGFRAME_H

#include <stdint.h>

// Writes width x height RGB pixels, stored bottom row first as GL reads
// them, upright into path. 1, or 0 with errno set when the file could not
// be written.
int pngframe_write(const char *path, const uint8_t *rgb, int width, int height);

// The same for pixels stored top row first, `channels` bytes each: 1 grey,
// 3 RGB, 4 RGBA.
int pngframe_writeimage(const char *path, const uint8_t *pixels, int width, int height, int channels);

// Reads any PNG as RGB bytes, top row first, into a buffer the caller
// frees with free(); null when the file cannot be read or decoded.
uint8_t *pngframe_read(const char *path, int *width, int *height);

#endif
