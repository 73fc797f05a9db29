// The font marker scan over pictures made in memory: glyph edges, a marker
// on glyph 0's own column, and more markers than the font has glyphs.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/graphics/font.h"

namespace {

// A picture two rows high whose row 0 has an opaque pixel at every '|'.
struct MarkerPicture {
    std::vector<unsigned char> pixels;
    s_bitmap bitmap{};
    explicit MarkerPicture(const std::string &row)
        : pixels(row.size() * 2 * 4, 0)
    {
        for (size_t x = 0; x < row.size(); x++)
            pixels[x * 4 + 3] = row[x] == '|' ? 255 : 0;
        bitmap.width = (int)row.size();
        bitmap.height = 2;
        bitmap.pixels = pixels.data();
    }
};

std::vector<int> Scan(const std::string &row)
{
    MarkerPicture picture(row);
    unsigned char widths[VXE_FONTGLYPHS];
    int glyphs = VXE_ScanFontMarkers(picture.bitmap, widths);
    return std::vector<int>(widths, widths + glyphs);
}

TEST(FontMarkers, EachMarkerStartsAGlyphThatRunsToTheNext)
{
    // Glyph 0 is column 0, the space runs from column 1 to the first marker.
    EXPECT_EQ(Scan("....|...|..."), (std::vector<int>{1, 3, 4, 4}));
    EXPECT_EQ(Scan("....."), (std::vector<int>{1, 4}));
    EXPECT_EQ(Scan(".||"), (std::vector<int>{1, 0, 1, 1})) << "a zero-width space";
}

TEST(FontMarkers, MarkerOnGlyphZerosColumnAddsNoEdge)
{
    // Read as an edge it gave the space 0 - 1 = 255 columns and shifted
    // every later glyph by one.
    EXPECT_EQ(Scan("|..|.."), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(Scan("|"), (std::vector<int>{1, 0}));
}

TEST(FontMarkers, GlyphsPastTheLastSlotShareItAndStayInsideThePicture)
{
    std::vector<int> widths = Scan("." + std::string(99, '|'));
    ASSERT_EQ(widths.size(), 96u);
    EXPECT_EQ(widths[95], 1);
    int columns = 0;
    for (int w : widths)
        columns += w;
    EXPECT_LE(columns, 100);
}

} // namespace
