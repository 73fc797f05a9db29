// paint_copier: the copier screen background, 320x200.
#pragma once
#include <string>

#include "tools/assetgen/image.h"
#include "tools/assetgen/pixfont.h"

// Paints from the colour and text recipe; false with a message when the
// recipe is incomplete.
bool PaintCopier(const std::string &recipe, const PixFont &font, Image *out);
