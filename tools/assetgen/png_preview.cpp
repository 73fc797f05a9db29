// png_preview: libpng writer.
#include "tools/assetgen/png_preview.h"

#include <png.h>

#include <cstdio>
#include <vector>

bool WritePNG(const std::string &path, const Image &img)
{
    FILE *f = fopen(path.c_str(), "wb");
    if (!f) {
        fprintf(stderr, "assetgen: cannot write %s\n", path.c_str());
        return false;
    }
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, info ? &info : nullptr);
        fclose(f);
        fprintf(stderr, "assetgen: PNG encoding failed for %s\n", path.c_str());
        return false;
    }
    png_init_io(png, f);
    png_set_IHDR(png, info, img.w, img.h, 8, PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    std::vector<png_byte> row((size_t)img.w * 4);
    for (int y = 0; y < img.h; y++) {
        for (int x = 0; x < img.w; x++) {
            uint32_t c = img.px[(size_t)y * img.w + x];
            row[x * 4 + 0] = (c >> 16) & 255;
            row[x * 4 + 1] = (c >> 8) & 255;
            row[x * 4 + 2] = c & 255;
            row[x * 4 + 3] = c >> 24;
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return fclose(f) == 0;
}
