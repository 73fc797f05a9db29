// paint_bezel: the 2048x1152 monitor around the screen.
#pragma once
#include <string>

#include "tools/assetgen/image.h"
#include "tools/assetgen/pixfont.h"

bool PaintBezel(const std::string &recipe, const PixFont &font, Image *out);
