// The copier screen put together as the program draws it: background,
// sprites at their draw positions and sample values, checked against the
// hit-test table, so labels, arrows and wells sit where clicks and text go;
// and the hit-test itself: controls answer on their edges and not one
// pixel beyond.
#include <gtest/gtest.h>

#include "app/copier/copier_hittest.h"
#include "tests/unit/asset_reader.h"

class ArtLayout : public ArchiveTest {
protected:
    void SetUp() override
    {
        bg = LoadPicture("floxa2019_empty.tga");
        ASSERT_TRUE(bg.width == 320 && bg.height == 200);
    }
    DecodedPicture bg;
};

// Arrow glyphs fill their hot spots; buttons and menu titles are raised
// panels exactly the size of theirs, with a caption inside.
TEST_F(ArtLayout, ControlsSitOnTheirHotSpots)
{
    for (int i = 0; i < uiHotspotCount; i++) {
        const s_uihotspot &h = uiHotspots[i];
        SCOPED_TRACE(h.code);
        const uint32_t around = bg.at(h.x0 - 1, h.y0);
        if (h.y1 - h.y0 == 2) {
            int ink = 0;
            for (int y = h.y0; y <= h.y1; y++)
                for (int x = h.x0; x <= h.x1; x++)
                    ink += bg.at(x, y) != around;
            EXPECT_GE(ink, 12) << "no arrow drawn on the hot spot";
            // The arrow's widest row touches both ends of the hot spot.
            const int wide = h.y0 < 62 ? h.y1 : h.y0;
            EXPECT_TRUE(bg.at(h.x0, wide) != around && bg.at(h.x1, wide) != around);
        } else if (h.code <= 7 || h.code >= 29) {
            // Light top-left and dark bottom-right edges (the left one above
            // the toggle socket that covers a menu title's corner).
            EXPECT_GT(bg.luma(h.x0 + 3, h.y0), bg.luma(h.x0 + 3, h.y1) + 400);
            EXPECT_GT(bg.luma(h.x0, h.y1 - 1), bg.luma(h.x1, h.y1 - 1) + 400);
            EXPECT_NE(bg.at(h.x0 + 3, h.y0), around) << "panel runs past the hot spot";
            const int w = h.x1 - h.x0 - 1, ht = h.y1 - h.y0 - 1;
            EXPECT_GE(w * ht - bg.lit(h.x0 + 1, h.y0 + 1, w, ht, 600), 10) << "no caption";
        }
    }
}

// Where the program prints or draws over the background the wells are dark:
// settings at y 62 and the status line at y 188 in black (its glyphs paint
// whole 8x8 cells), toggle sockets, the maps with their rulers, the clock.
TEST_F(ArtLayout, TextAndSpritesLandInTheirPlaces)
{
    const struct { int x, y, w, h, level; } wells[] = {
        {9, 62, 88, 8, 1}, {99, 62, 16, 8, 1}, {123, 62, 8, 8, 1}, {142, 62, 16, 8, 1}, {166, 62, 8, 8, 1},
        {181, 62, 40, 8, 1}, {228, 62, 32, 8, 1}, {271, 62, 40, 8, 1}, {0, 188, 320, 8, 1},
        {11, 46, 6, 6, 400}, {48, 46, 6, 6, 400}, {182, 46, 6, 6, 400}, {228, 46, 6, 6, 400}, {272, 46, 6, 6, 400},
        {139, 100, 80, 73, 400}, {233, 100, 80, 73, 400}, {277, 173, 13, 8, 400}, {292, 173, 13, 8, 400},
    };
    for (const auto &w : wells)
        EXPECT_EQ(0, bg.lit(w.x, w.y, w.w, w.h, w.level)) << "well at " << w.x << "," << w.y;
    EXPECT_GE(bg.lit(249, 173, 28, 8, 1200), 20) << "no TIME label beside the clock";

    // Bays drawn at x 8 + 31j show their dark plate under the drive number,
    // and the lamps above and below them cover their sockets exactly.
    const DecodedPicture disk = LoadPicture("disk.tga");
    ASSERT_FALSE(disk.rgba.empty());
    DecodedPicture frame = bg;
    for (int j = 0; j < 4; j++) {
        // With the alpha test on, as the program draws.
        for (int y = 0; y < disk.height; y++)
            for (int x = 0; x < disk.width; x++)
                if (disk.alpha(x, y))
                    frame.rgba[(size_t)(126 + y) * 320 + 8 + 31 * j + x] = disk.at(x, y);
        EXPECT_EQ(0, frame.lit(18 + 31 * j, 136, 5, 7, 600)) << "drive number " << j << " off its plate";
        for (int y : {106, 155})
            for (int i = -1; i <= 6; i++)
                EXPECT_NE(bg.at(16 + 31 * j + i, y - 1), bg.at(16 + 31 * j + 2, y + 1)) << "lamp " << j << " socket";
    }
}

TEST(HitTest, ControlsAnswerOnTheirRectanglesOnly)
{
    const struct { int x, y, code; } points[] = {
        {9, 45, 29}, {47, 53, 29}, {48, 45, 0}, {49, 53, 30}, {9, 44, 0},        // menu titles
        {230, 57, 21}, {259, 59, 24}, {236, 58, 0}, {254, 74, 28}, {254, 75, 0}, // speed arrows
        {126, 58, 13}, {126, 73, 0}, {10, 63, 8}, {97, 72, 0}, {-1, -1, 0},      // side toggles up only
        {12, 82, 1}, {50, 89, 1}, {51, 89, 0}, {141, 82, 4}, {308, 89, 7}, {309, 89, 0}, // buttons, 43 apart
    };
    for (const auto &p : points)
        EXPECT_EQ(p.code, MouseCoordsToUIFunction(p.x, p.y)) << p.x << "," << p.y;
}
