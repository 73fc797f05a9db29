// recipe: reading the text recipes of assets/.
#include "tools/assetgen/recipe.h"

#include <cctype>
#include <cstdio>
#include <fstream>
#include <sstream>

static void TrimEnd(std::string &line)
{
    while (!line.empty() && (line.back() == ' ' || line.back() == '\t' || line.back() == '\r'))
        line.pop_back();
}

// Every line of a file, numbered from 1, without trailing blanks.
static bool ReadLines(const std::string &path, std::vector<RecipeLine> *lines)
{
    std::ifstream in(path);
    if (!in) {
        fprintf(stderr, "assetgen: cannot read %s\n", path.c_str());
        return false;
    }
    std::string line;
    for (int number = 1; std::getline(in, line); number++) {
        TrimEnd(line);
        lines->push_back({number, line});
    }
    return true;
}

bool ReadRecipe(const std::string &path, std::vector<RecipeLine> *lines)
{
    std::vector<RecipeLine> all;
    if (!ReadLines(path, &all))
        return false;
    for (RecipeLine &l : all) {
        std::string &line = l.text;
        // A comment is a '#' that starts a word and is not a "#rrggbb" colour.
        for (size_t i = 0; i < line.size(); i++) {
            bool starts_word = i == 0 || line[i - 1] == ' ' || line[i - 1] == '\t';
            bool colour = i + 1 < line.size() && isxdigit((unsigned char)line[i + 1]);
            if (line[i] == '#' && starts_word && !colour) {
                line.erase(i);
                break;
            }
        }
        TrimEnd(line);
        if (!line.empty())
            lines->push_back(l);
    }
    return true;
}

std::vector<std::string> SplitWords(const std::string &text)
{
    std::vector<std::string> words;
    std::istringstream in(text);
    std::string w;
    while (in >> w)
        words.push_back(w);
    return words;
}

bool ReadSettings(const std::string &path, Settings *settings)
{
    std::vector<RecipeLine> lines;
    if (!ReadRecipe(path, &lines))
        return false;
    for (const RecipeLine &l : lines) {
        size_t start = l.text.find_first_not_of(" \t");
        size_t gap = l.text.find_first_of(" \t", start);
        if (gap == std::string::npos) {
            fprintf(stderr, "%s:%d: a setting needs a value\n", path.c_str(), l.number);
            return false;
        }
        size_t value = l.text.find_first_not_of(" \t", gap);
        (*settings)[l.text.substr(start, gap - start)] = l.text.substr(value);
    }
    return true;
}

bool SettingColour(const Settings &s, const std::string &key, uint32_t *out)
{
    auto it = s.find(key);
    if (it == s.end() || !ParseColour(it->second.c_str(), out)) {
        fprintf(stderr, "assetgen: colour '%s' missing or not #rrggbb\n", key.c_str());
        return false;
    }
    return true;
}

std::string SettingText(const Settings &s, const std::string &key)
{
    auto it = s.find(key);
    return it == s.end() ? std::string() : it->second;
}

bool ReadPixelMaps(const std::string &path, std::vector<PixelMap> *maps)
{
    // Not ReadRecipe: '#' is a pixel inside a map, so only whole lines are comments.
    std::vector<RecipeLine> all;
    if (!ReadLines(path, &all))
        return false;
    PixelMap current;
    std::map<char, uint32_t> legend;
    std::vector<std::string> rows;
    bool open = false;
    for (const RecipeLine &l : all) {
        const std::string &line = l.text;
        const int number = l.number;
        if (line.empty() || line[0] == '#')
            continue;
        std::vector<std::string> words = SplitWords(line);
        if (words[0] == "map" && words.size() == 2) {
            open = true;
            current = PixelMap();
            current.name = words[1];
            legend.clear();
            rows.clear();
        } else if (open && words[0] == "key" && words.size() == 3 && words[1].size() == 1) {
            uint32_t c = CLEAR;
            if (words[2] != "clear" && !ParseColour(words[2].c_str(), &c)) {
                fprintf(stderr, "%s:%d: bad colour %s\n", path.c_str(), number, words[2].c_str());
                return false;
            }
            legend[words[1][0]] = c;
        } else if (open && words[0] == "end") {
            size_t w = 0;
            for (const std::string &r : rows)
                w = r.size() > w ? r.size() : w;
            current.image = MakeImage((int)w, (int)rows.size(), CLEAR);
            for (size_t y = 0; y < rows.size(); y++)
                for (size_t x = 0; x < rows[y].size(); x++) {
                    auto it = legend.find(rows[y][x]);
                    if (it == legend.end()) {
                        fprintf(stderr, "%s: map %s uses '%c' without a key\n", path.c_str(), current.name.c_str(), rows[y][x]);
                        return false;
                    }
                    current.image.px[y * w + x] = it->second;
                }
            maps->push_back(current);
            open = false;
        } else if (open) {
            rows.push_back(line);
        } else {
            fprintf(stderr, "%s:%d: not part of a map\n", path.c_str(), number);
            return false;
        }
    }
    if (open) {
        fprintf(stderr, "%s: map %s has no end\n", path.c_str(), current.name.c_str());
        return false;
    }
    return true;
}

const Image *FindMap(const std::vector<PixelMap> &maps, const std::string &name)
{
    for (const PixelMap &m : maps)
        if (m.name == name)
            return &m.image;
    fprintf(stderr, "assetgen: no pixel map named %s\n", name.c_str());
    return nullptr;
}
