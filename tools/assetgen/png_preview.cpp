// png_preview: the pictures as RGBA PNG files, through the project's writer.
#include "tools/assetgen/png_preview.h"

#include <cstdio>
#include <vector>

#include "engine/capture/pngframe.h"

bool WritePNG(const std::string &path, const Image &img)
{
    std::vector<uint8_t> rgba((size_t)img.w * img.h * 4);
    for (size_t i = 0; i < img.px.size(); i++) {
        const uint32_t c = img.px[i];
        rgba[i * 4 + 0] = (c >> 16) & 255;
        rgba[i * 4 + 1] = (c >> 8) & 255;
        rgba[i * 4 + 2] = c & 255;
        rgba[i * 4 + 3] = c >> 24;
    }
    if (pngframe_writeimage(path.c_str(), rgba.data(), img.w, img.h, 4)) return true;
    fprintf(stderr, "assetgen: cannot write %s\n", path.c_str());
    return false;
}
