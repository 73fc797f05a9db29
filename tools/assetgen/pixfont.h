// pixfont: the small variable-width pixel font of the copier captions,
// read from a pixel-map recipe (one map per character).
#pragma once
#include <string>
#include <vector>

#include "tools/assetgen/image.h"
#include "tools/assetgen/recipe.h"

struct PixFont {
    std::vector<PixelMap> glyphs;
    int height = 0;
};

bool LoadPixFont(const std::string &path, PixFont *font);
// Width in pixels of text drawn with one blank column between glyphs.
int TextWidth(const PixFont &font, const std::string &text, int scale = 1);
// Draws the set pixels of each glyph in one colour; returns the end x.
int DrawPixText(Image &img, const PixFont &font, int x, int y, const std::string &text, uint32_t colour, int scale = 1);
