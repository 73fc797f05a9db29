// tga_writer: uncompressed and run-length packed TGA, 8/24/32 bits.
#include "tools/assetgen/tga_writer.h"

#include <map>

bool ParseTgaFormat(const std::string &encoding, const std::string &origin, TgaFormat *format)
{
    std::string base = encoding;
    format->rle = false;
    if (base.size() > 4 && base.compare(base.size() - 4, 4, "-rle") == 0) {
        format->rle = true;
        base.erase(base.size() - 4);
    }
    if (base == "cmap8")
        format->bpp = 8;
    else if (base == "rgb24")
        format->bpp = 24;
    else if (base == "rgba32")
        format->bpp = 32;
    else
        return false;
    if (origin != "top" && origin != "bottom")
        return false;
    format->topdown = origin == "top";
    return true;
}

// The loader's colour key: such a pixel always loads as transparent.
static bool IsKeyed(uint32_t c)
{
    return ((c >> 16) & 255) > 240 && ((c >> 8) & 255) < 16 && (c & 255) > 240;
}

static void Put16(std::vector<uint8_t> &v, int x)
{
    v.push_back((uint8_t)(x & 255));
    v.push_back((uint8_t)(x >> 8));
}

bool EncodeTGA(const Image &img, const TgaFormat &format, std::vector<uint8_t> *out, std::string *error)
{
    if (img.w <= 0 || img.h <= 0 || img.w > 65535 || img.h > 65535) {
        *error = "picture size out of range";
        return false;
    }
    for (uint32_t c : img.px)
        if ((c >> 24) == 255 && IsKeyed(c)) {
            *error = "an opaque pixel has the transparent key colour";
            return false;
        }

    // Colour map in order of first use, so the file depends only on the picture.
    std::vector<uint32_t> palette;
    std::map<uint32_t, int> index;
    const int pixel_bytes = format.bpp / 8;
    auto key = [&](uint32_t c) { return (c >> 24) ? (c | 0xFF000000u) : MAGENTA; };
    if (format.bpp == 8) {
        for (uint32_t c : img.px) {
            uint32_t k = key(c);
            if (!index.count(k)) {
                if (palette.size() == 256) {
                    *error = "more than 256 colours for a colour-mapped picture";
                    return false;
                }
                index[k] = (int)palette.size();
                palette.push_back(k);
            }
        }
    }
    auto pixel = [&](uint32_t c, uint8_t *b) {
        if (format.bpp == 8) {
            b[0] = (uint8_t)index[key(c)];
        } else if (format.bpp == 24) {
            uint32_t k = key(c);
            b[0] = k & 255, b[1] = (k >> 8) & 255, b[2] = (k >> 16) & 255;
        } else {
            b[0] = c & 255, b[1] = (c >> 8) & 255, b[2] = (c >> 16) & 255, b[3] = c >> 24;
        }
    };

    out->clear();
    out->push_back((uint8_t)format.id.size());
    out->push_back(format.bpp == 8 ? 1 : 0);
    out->push_back((uint8_t)((format.bpp == 8 ? 1 : 2) + (format.rle ? 8 : 0)));
    Put16(*out, 0);
    Put16(*out, format.bpp == 8 ? (int)palette.size() : 0);
    out->push_back(format.bpp == 8 ? 24 : 0);
    Put16(*out, 0);
    Put16(*out, 0);
    Put16(*out, img.w);
    Put16(*out, img.h);
    out->push_back((uint8_t)format.bpp);
    out->push_back((uint8_t)((format.topdown ? 0x20 : 0x00) | (format.bpp == 32 ? 8 : 0)));
    out->insert(out->end(), format.id.begin(), format.id.end());
    for (uint32_t c : palette) {
        out->push_back(c & 255);
        out->push_back((c >> 8) & 255);
        out->push_back((c >> 16) & 255);
    }

    for (int r = 0; r < img.h; r++) {
        const int y = format.topdown ? r : img.h - 1 - r;
        std::vector<uint8_t> row((size_t)img.w * pixel_bytes);
        for (int x = 0; x < img.w; x++)
            pixel(img.px[(size_t)y * img.w + x], &row[(size_t)x * pixel_bytes]);
        if (!format.rle) {
            out->insert(out->end(), row.begin(), row.end());
            continue;
        }
        // Packets stay within a row, which every reader accepts.
        auto same = [&](int a, int b) {
            for (int k = 0; k < pixel_bytes; k++)
                if (row[(size_t)a * pixel_bytes + k] != row[(size_t)b * pixel_bytes + k])
                    return false;
            return true;
        };
        int x = 0;
        while (x < img.w) {
            int run = 1;
            while (x + run < img.w && run < 128 && same(x, x + run))
                run++;
            if (run >= 2) {
                out->push_back((uint8_t)(0x80 | (run - 1)));
                out->insert(out->end(), row.begin() + (size_t)x * pixel_bytes, row.begin() + (size_t)(x + 1) * pixel_bytes);
                x += run;
                continue;
            }
            int raw = 1;
            while (x + raw < img.w && raw < 128 && !(x + raw + 1 < img.w && same(x + raw, x + raw + 1)))
                raw++;
            out->push_back((uint8_t)(raw - 1));
            out->insert(out->end(), row.begin() + (size_t)x * pixel_bytes, row.begin() + (size_t)(x + raw) * pixel_bytes);
            x += raw;
        }
    }
    return true;
}
