// png_preview: PNG files of the pictures for people to review.
#pragma once
#include <string>

#include "tools/assetgen/image.h"

// Writes an RGBA PNG; false with a message on failure.
bool WritePNG(const std::string &path, const Image &img);
