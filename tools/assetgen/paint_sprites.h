// paint_sprites: the block sheets and the digit strip.
#pragma once
#include <string>
#include <vector>

#include "tools/assetgen/image.h"
#include "tools/assetgen/recipe.h"

// A 128x8 sheet of sixteen 8x8 tiles from the ramp named sheet ("normal",
// "red" or "filled") of the blocks recipe.
bool PaintBlockSheet(const std::string &recipe, const std::string &sheet, Image *out);

// The 80x8 digit strip: maps digit0..digit9 (7x8) at an 8-pixel pitch.
bool PaintDigitStrip(const std::vector<PixelMap> &maps, Image *out);
