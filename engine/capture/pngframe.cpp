// PNG files through libpng's simplified reader and writer.
#include "engine/capture/pngframe.h"

#include <errno.h>
#include <png.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

// bottomup: the rows are stored from the last, as GL reads them.
static int writepng(const char *path, const uint8_t *pixels, int width, int height, int channels, bool bottomup)
{
    if (channels != 1 && channels != 3 && channels != 4) {
        errno = EINVAL;
        return 0;
    }
    FILE *f = fopen(path, "wb");
    if (!f) return 0;
    png_image image;
    memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = (png_uint_32)width;
    image.height = (png_uint_32)height;
    image.format = channels == 1 ? PNG_FORMAT_GRAY : channels == 3 ? PNG_FORMAT_RGB : PNG_FORMAT_RGBA;
    // A negative stride (in bytes for 8-bit pixels) walks the rows from the
    // last: the picture upright.
    const png_int_32 stride = (bottomup ? -1 : 1) * (png_int_32)(width * channels);
    int ok = png_image_write_to_stdio(&image, f, 0, pixels, stride, nullptr) != 0;
    int err = ok ? 0 : (errno ? errno : EIO);
    png_image_free(&image);
    if (fclose(f) != 0 && ok) {
        ok = 0;
        err = errno;
    }
    if (!ok) {
        remove(path);
        errno = err;
    }
    return ok;
}

int pngframe_write(const char *path, const uint8_t *rgb, int width, int height)
{
    return writepng(path, rgb, width, height, 3, true);
}

int pngframe_writeimage(const char *path, const uint8_t *pixels, int width, int height, int channels)
{
    return writepng(path, pixels, width, height, channels, false);
}

uint8_t *pngframe_read(const char *path, int *width, int *height)
{
    png_image image;
    memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path)) return nullptr;
    image.format = PNG_FORMAT_RGB;
    uint8_t *rgb = (uint8_t *)malloc(PNG_IMAGE_SIZE(image));
    if (!rgb || !png_image_finish_read(&image, nullptr, rgb, 0, nullptr)) {
        png_image_free(&image);
        free(rgb);
        return nullptr;
    }
    *width = (int)image.width;
    *height = (int)image.height;
    return rgb;
}
