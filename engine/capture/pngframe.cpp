// PNG output through libpng's simplified writer.
#include "engine/capture/pngframe.h"

#include <errno.h>
#include <png.h>
#include <stdio.h>
#include <string.h>

int pngframe_write(const char *path, const uint8_t *rgb, int width, int height)
{
    FILE *f = fopen(path, "wb");
    if (!f) return 0;
    png_image image;
    memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = (png_uint_32)width;
    image.height = (png_uint_32)height;
    image.format = PNG_FORMAT_RGB;
    // A negative stride walks the rows from the last: the picture upright.
    const png_int_32 stride = -(png_int_32)(width * 3);
    int ok = png_image_write_to_stdio(&image, f, 0, rgb, stride, nullptr) != 0;
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
