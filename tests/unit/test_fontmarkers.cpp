// The font marker scan over pictures made in memory: each marker starts a
// glyph, a marker on glyph 0's own column is no edge, and more markers than
// the font has glyphs stay inside the picture.
#include <gtest/gtest.h>

#include <numeric>
#include <string>
#include <vector>

#include "engine/graphics/font.h"

// The widths found in a picture two rows high whose row 0 has an opaque pixel at every '|'.
static std::vector<int> Scan(const std::string &row)
{
    std::vector<unsigned char> pixels(row.size() * 2 * 4, 0);
    for (size_t x = 0; x < row.size(); x++) pixels[x * 4 + 3] = row[x] == '|' ? 255 : 0;
    s_bitmap picture{};
    picture.width = (int)row.size();
    picture.height = 2;
    picture.pixels = pixels.data();
    unsigned char widths[VXE_FONTGLYPHS];
    return std::vector<int>(widths, widths + VXE_ScanFontMarkers(picture, widths));
}

TEST(FontMarkers, EachMarkerStartsAGlyphThatRunsToTheNext)
{
    // Glyph 0 is column 0, the space runs from column 1 to the first marker.
    const struct { const char *row; std::vector<int> widths; } rows[] = {
        {"....|...|...", {1, 3, 4, 4}}, {".....", {1, 4}}, {".||", {1, 0, 1, 1}},
        // Read as an edge, a marker in column 0 gave the space 0 - 1 = 255
        // columns and shifted every later glyph by one.
        {"|..|..", {1, 2, 3}}, {"|", {1, 0}},
    };
    for (const auto &r : rows) EXPECT_EQ(Scan(r.row), r.widths) << r.row;

    // Glyphs past the last slot share it and stay inside the picture.
    const std::vector<int> crowded = Scan("." + std::string(99, '|'));
    ASSERT_EQ(crowded.size(), 96u);
    EXPECT_EQ(crowded[95], 1);
    EXPECT_LE(std::accumulate(crowded.begin(), crowded.end(), 0), 100);
}
