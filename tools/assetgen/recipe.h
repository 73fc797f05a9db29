// recipe: the small text formats of assets/: comments start with '#',
// words are separated by blanks, and pixel maps are rows of characters
// with a legend mapping each character to a colour.
#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "tools/assetgen/image.h"

// Lines of a file with comments and trailing blanks removed, empty lines
// kept out; each keeps its line number for messages. False when unreadable.
struct RecipeLine {
    int number;
    std::string text;
};
bool ReadRecipe(const std::string &path, std::vector<RecipeLine> *lines);

std::vector<std::string> SplitWords(const std::string &text);

// Named values of a recipe ("key value..."), later keys win.
typedef std::map<std::string, std::string> Settings;
bool ReadSettings(const std::string &path, Settings *settings);
// A colour setting, or a message and false.
bool SettingColour(const Settings &s, const std::string &key, uint32_t *out);
std::string SettingText(const Settings &s, const std::string &key);

// Pixel maps: "map NAME" / "key C #rrggbb|clear" ... / rows ... / "end".
struct PixelMap {
    std::string name;
    Image image;
};
bool ReadPixelMaps(const std::string &path, std::vector<PixelMap> *maps);
const Image *FindMap(const std::vector<PixelMap> &maps, const std::string &name);
