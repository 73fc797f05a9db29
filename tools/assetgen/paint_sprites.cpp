// paint_sprites: sheets cut by the program into block and digit sprites.
#include "tools/assetgen/paint_sprites.h"

#include <cstdio>

bool PaintBlockSheet(const std::string &recipe, const std::string &sheet, Image *out)
{
    std::vector<RecipeLine> lines;
    if (!ReadRecipe(recipe, &lines))
        return false;
    std::vector<uint32_t> ramp;
    uint32_t gap = 0;
    bool have_gap = false;
    for (const RecipeLine &l : lines) {
        std::vector<std::string> w = SplitWords(l.text);
        if (w[0] == "gap" && w.size() == 2)
            have_gap = ParseColour(w[1].c_str(), &gap);
        if (w[0] != sheet)
            continue;
        for (size_t i = 1; i < w.size(); i++) {
            uint32_t c;
            if (!ParseColour(w[i].c_str(), &c)) {
                fprintf(stderr, "%s:%d: bad colour %s\n", recipe.c_str(), l.number, w[i].c_str());
                return false;
            }
            ramp.push_back(c);
        }
    }
    if (ramp.size() != 16 || !have_gap) {
        fprintf(stderr, "%s: ramp '%s' needs 16 colours and a gap colour\n", recipe.c_str(), sheet.c_str());
        return false;
    }
    Image img = MakeImage(128, 8, gap);
    const bool solid = sheet == "filled";
    for (int t = 0; t < 16; t++) {
        const uint32_t base = ramp[t];
        if (solid) {
            FillRect(img, 8 * t, 0, 8, 8, base);
            continue;
        }
        // A 7x7 block with its gap at right and bottom: lit top-left edge,
        // shaded bottom-right edge and a one-pixel shine.
        FillRect(img, 8 * t, 0, 7, 7, base);
        FillRect(img, 8 * t, 0, 7, 1, Mix(base, 0xFFFFFFFFu, 0.35));
        FillRect(img, 8 * t, 0, 1, 7, Mix(base, 0xFFFFFFFFu, 0.25));
        FillRect(img, 8 * t, 6, 7, 1, Shade(base, 0.6));
        FillRect(img, 8 * t + 6, 1, 1, 6, Shade(base, 0.7));
        PutPx(img, 8 * t + 1, 1, Mix(base, 0xFFFFFFFFu, 0.6));
    }
    *out = img;
    return true;
}

bool PaintDigitStrip(const std::vector<PixelMap> &maps, Image *out)
{
    Image img = MakeImage(80, 8, CLEAR);
    for (int d = 0; d < 10; d++) {
        const Image *g = FindMap(maps, "digit" + std::to_string(d));
        if (!g)
            return false;
        if (g->w != 7 || g->h != 8) {
            fprintf(stderr, "assetgen: digit%d must be 7x8, not %dx%d\n", d, g->w, g->h);
            return false;
        }
        Blit(img, *g, 8 * d, 0);
    }
    *out = img;
    return true;
}
