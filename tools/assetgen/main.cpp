// assetgen: writes every picture and sound of floxa.dat from the recipes
// and the score under assets/, and PNG previews of the pictures.
//
//   assetgen --src ASSETS_DIR --out STAGE_DIR
//   assetgen [--src ASSETS_DIR] --preview DIR
//
// Output depends only on the recipes: no clock, no unseeded randomness.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "tools/assetgen/image.h"
#include "tools/assetgen/music.h"
#include "tools/assetgen/paint_bezel.h"
#include "tools/assetgen/paint_copier.h"
#include "tools/assetgen/paint_sprites.h"
#include "tools/assetgen/pixfont.h"
#include "tools/assetgen/png_preview.h"
#include "tools/assetgen/recipe.h"
#include "tools/assetgen/score.h"
#include "tools/assetgen/sfx.h"
#include "tools/assetgen/tga_writer.h"
#include "tools/assetgen/wav_writer.h"

namespace {

struct Picture {
    std::string file;
    Image image;
    TgaFormat format;
};

bool WriteFile(const std::string &path, const std::vector<uint8_t> &bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write((const char *)bytes.data(), (std::streamsize)bytes.size());
    if (!out) {
        fprintf(stderr, "assetgen: cannot write %s\n", path.c_str());
        return false;
    }
    return true;
}

bool PaintAll(const std::string &src, std::vector<Picture> *pictures)
{
    const std::string dir = src + "/pictures/";
    PixFont font;
    std::vector<PixelMap> maps;
    std::vector<RecipeLine> lines;
    if (!LoadPixFont(dir + "font_small.txt", &font) || !ReadPixelMaps(dir + "sprites.txt", &maps) ||
        !ReadRecipe(dir + "pictures.txt", &lines))
        return false;
    for (const RecipeLine &l : lines) {
        std::vector<std::string> w = SplitWords(l.text);
        Picture pic;
        pic.file = w[0];
        bool ok = w.size() >= 4 && ParseTgaFormat(w[w.size() - 2], w.back(), &pic.format);
        if (ok) {
            const std::string &painter = w[1];
            const std::string arg = w.size() == 5 ? w[2] : "";
            if (painter == "copier")
                ok = PaintCopier(dir + "copier.txt", font, &pic.image);
            else if (painter == "blocks")
                ok = PaintBlockSheet(dir + "blocks.txt", arg, &pic.image);
            else if (painter == "digits")
                ok = PaintDigitStrip(maps, &pic.image);
            else if (painter == "bezel")
                ok = PaintBezel(dir + "bezel.txt", font, &pic.image);
            else if (painter == "map") {
                const Image *m = FindMap(maps, arg);
                ok = m != nullptr;
                if (ok)
                    pic.image = *m;
            } else
                ok = false;
        }
        if (!ok) {
            fprintf(stderr, "%spictures.txt:%d: cannot make %s\n", dir.c_str(), l.number, pic.file.c_str());
            return false;
        }
        pic.format.id = "KALDERO FLOXA";
        pictures->push_back(pic);
    }
    return true;
}

bool WritePictures(const std::vector<Picture> &pictures, const std::string &out)
{
    for (const Picture &p : pictures) {
        std::vector<uint8_t> bytes;
        std::string why;
        if (!EncodeTGA(p.image, p.format, &bytes, &why)) {
            fprintf(stderr, "assetgen: %s: %s\n", p.file.c_str(), why.c_str());
            return false;
        }
        if (!WriteFile(out + "/" + p.file, bytes))
            return false;
    }
    return true;
}

bool WriteSounds(const std::string &src, const std::string &out)
{
    const std::string dir = src + "/sounds/";
    std::vector<RecipeLine> lines;
    if (!ReadRecipe(dir + "sounds.txt", &lines))
        return false;
    for (const RecipeLine &l : lines) {
        std::vector<std::string> w = SplitWords(l.text);
        if (w.size() != 4) {
            fprintf(stderr, "%ssounds.txt:%d: expected file, recipe, bits, rate\n", dir.c_str(), l.number);
            return false;
        }
        const int bits = atoi(w[2].c_str()), rate = atoi(w[3].c_str());
        const std::string recipe = dir + w[1];
        std::vector<float> samples;
        std::string why;
        bool ok;
        if (recipe.size() > 6 && recipe.compare(recipe.size() - 6, 6, ".score") == 0) {
            Score score;
            ok = ParseScore(recipe, &score, &why) && RenderScore(score, rate, &samples, &why);
        } else {
            ok = RenderSfx(recipe, rate, &samples, &why);
        }
        std::vector<uint8_t> bytes;
        if (!ok || !EncodeWAV(samples, rate, bits, &bytes)) {
            fprintf(stderr, "assetgen: %s: %s\n", w[0].c_str(), why.empty() ? "bad format" : why.c_str());
            return false;
        }
        if (!WriteFile(out + "/" + w[0], bytes))
            return false;
    }
    return true;
}

// Every picture on one dark sheet: small ones enlarged, the bezel reduced.
Image ContactSheet(const std::vector<Picture> &pictures)
{
    std::vector<Image> tiles;
    for (const Picture &p : pictures) {
        if (p.image.w > 1024) {
            Image small = MakeImage(p.image.w / 4, p.image.h / 4, 0);
            for (int y = 0; y < small.h; y++)
                for (int x = 0; x < small.w; x++)
                    small.px[(size_t)y * small.w + x] = p.image.px[(size_t)(y * 4) * p.image.w + x * 4];
            tiles.push_back(small);
        } else {
            tiles.push_back(ScaleUp(p.image, p.image.w <= 128 ? 4 : 2));
        }
    }
    const int width = 1300, pad = 12;
    int x = pad, y = pad, row_h = 0;
    std::vector<std::pair<int, int>> at;
    for (const Image &t : tiles) {
        if (x + t.w + pad > width)
            x = pad, y += row_h + pad, row_h = 0;
        at.push_back({x, y});
        x += t.w + pad;
        row_h = t.h > row_h ? t.h : row_h;
    }
    Image sheet = MakeImage(width, y + row_h + pad, Rgb(40, 40, 48));
    for (size_t i = 0; i < tiles.size(); i++) {
        // A checker under each tile shows its transparent pixels.
        for (int j = 0; j < tiles[i].h; j++)
            for (int k = 0; k < tiles[i].w; k++)
                PutPx(sheet, at[i].first + k, at[i].second + j, ((j / 4 + k / 4) & 1) ? Rgb(90, 90, 100) : Rgb(60, 60, 70));
        Blit(sheet, tiles[i], at[i].first, at[i].second);
    }
    return sheet;
}

bool WritePreviews(const std::vector<Picture> &pictures, const std::string &dir)
{
    for (const Picture &p : pictures) {
        const std::string base = dir + "/" + p.file.substr(0, p.file.size() - 4);
        if (!WritePNG(base + ".png", p.image))
            return false;
        if (p.image.w == 320 && p.image.h == 200 && !WritePNG(base + "_x4.png", ScaleUp(p.image, 4)))
            return false;
    }
    return WritePNG(dir + "/contact_sheet.png", ContactSheet(pictures));
}

int Usage()
{
    fprintf(stderr, "usage: assetgen --src ASSETS_DIR --out STAGE_DIR\n"
                    "       assetgen [--src ASSETS_DIR] --preview DIR\n");
    return 2;
}

} // namespace

int main(int argc, char **argv)
{
    std::string src = FLOXA_ASSETS_DIR, out, preview;
    for (int i = 1; i < argc; i++) {
        if (i + 1 >= argc)
            return Usage();
        if (!strcmp(argv[i], "--src"))
            src = argv[++i];
        else if (!strcmp(argv[i], "--out"))
            out = argv[++i];
        else if (!strcmp(argv[i], "--preview"))
            preview = argv[++i];
        else
            return Usage();
    }
    if (out.empty() == preview.empty())
        return Usage();
    std::vector<Picture> pictures;
    if (!PaintAll(src, &pictures))
        return 1;
    if (!preview.empty())
        return WritePreviews(pictures, preview) ? 0 : 1;
    return WritePictures(pictures, out) && WriteSounds(src, out) ? 0 : 1;
}
