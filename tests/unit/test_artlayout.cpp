// The copier screen put together as the program draws it: background,
// sprites at their draw positions and sample values, checked against the
// hit-test table, so labels, arrows and wells sit where clicks and text go.
#include <gtest/gtest.h>

#include "app/copier_hittest.h"
#include "tests/unit/asset_reader.h"

namespace {

struct Frame {
    DecodedPicture pic;
    void Draw(const DecodedPicture &s, int x, int y)
    {
        // Sprites draw with the alpha test on: transparent pixels leave the frame.
        for (int j = 0; j < s.height; j++)
            for (int i = 0; i < s.width; i++)
                if (s.alpha(i, j) && x + i >= 0 && x + i < 320 && y + j >= 0 && y + j < 200)
                    pic.rgba[(size_t)(y + j) * 320 + x + i] = s.at(i, j);
    }
};

DecodedPicture Cut(const DecodedPicture &sheet, int x, int y, int w, int h)
{
    DecodedPicture s;
    s.width = w, s.height = h, s.ok = true;
    for (int j = 0; j < h; j++)
        for (int i = 0; i < w; i++)
            s.rgba.push_back(sheet.at(x + i, y + j));
    return s;
}

class ArtLayout : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(MountArchive()) << FLOXA_DAT; }
    static void TearDownTestSuite() { corefile_closeimage(); }
    void SetUp() override
    {
        background = LoadPicture("floxa2019_empty.tga");
        ASSERT_TRUE(background.ok);
        ASSERT_EQ(320, background.width);
        ASSERT_EQ(200, background.height);
        frame.pic = background;
    }
    DecodedPicture background;
    Frame frame;
};

} // namespace

// Arrow glyphs fill their hot spots; buttons and menu titles are raised
// panels exactly the size of theirs, with a caption inside.
TEST_F(ArtLayout, ControlsSitOnTheirHotSpots)
{
    const DecodedPicture &b = background;
    for (int i = 0; i < uiHotspotCount; i++) {
        const s_uihotspot &h = uiHotspots[i];
        SCOPED_TRACE(h.code);
        const uint32_t around = b.at(h.x0 - 1, h.y0);
        if (h.y1 - h.y0 == 2) {
            int ink = 0;
            for (int y = h.y0; y <= h.y1; y++)
                for (int x = h.x0; x <= h.x1; x++)
                    ink += b.at(x, y) != around;
            EXPECT_GE(ink, 12) << "no arrow drawn on the hot spot";
            // The widest row of the arrow touches both ends of the hot spot.
            const int wide = h.y0 < 62 ? h.y1 : h.y0;
            EXPECT_NE(around, b.at(h.x0, wide));
            EXPECT_NE(around, b.at(h.x1, wide));
        } else if ((h.code >= 1 && h.code <= 7) || h.code == 29 || h.code == 30) {
            // Light top-left edge, dark bottom-right edge, caption between.
            EXPECT_GT(b.luma(h.x0 + 3, h.y0), b.luma(h.x0 + 3, h.y1) + 40);
            // (Below the toggle socket that covers a menu title's left edge.)
            EXPECT_GT(b.luma(h.x0, h.y1 - 1), b.luma(h.x1, h.y1 - 1) + 40);
            int caption = 0;
            for (int y = h.y0 + 1; y < h.y1; y++)
                for (int x = h.x0 + 1; x < h.x1; x++)
                    caption += b.luma(x, y) < 60;
            EXPECT_GE(caption, 10) << "no caption";
            EXPECT_NE(b.at(h.x0 + 3, h.y0), b.at(h.x0 - 1, h.y0)) << "panel runs past the hot spot";
        }
    }
}

// The program prints settings at y 62 with glyphs that paint their whole
// 8x8 cell black: the wells under them must be black so the text fits in.
TEST_F(ArtLayout, SettingWellsTakeThePrintedValues)
{
    const struct { int x, chars; } fields[] = {{9, 11}, {99, 2}, {123, 1}, {142, 2}, {166, 1}, {181, 5}, {228, 4}, {271, 5}};
    for (const auto &f : fields) {
        SCOPED_TRACE(f.x);
        for (int y = 62; y < 70; y++)
            for (int x = f.x; x < f.x + 8 * f.chars; x++)
                ASSERT_EQ(0xFF000000u, background.at(x, y)) << x << "," << y;
        EXPECT_NE(0xFF000000u, background.at(f.x - 2, 65)) << "well has no edge";
    }
    // The status line is plain black where the program scrolls its text.
    for (int y = 188; y < 196; y++)
        for (int x = 0; x < 320; x++)
            ASSERT_EQ(0xFF000000u, background.at(x, y));
}

// Sprites at the program's draw positions land on their sockets and wells.
TEST_F(ArtLayout, SpritesLandOnTheirPlaces)
{
    DecodedPicture toggle = LoadPicture("toggle_on.tga"), disk = LoadPicture("disk.tga");
    DecodedPicture lamp_on = LoadPicture("lamp_on.tga"), lamp_off = LoadPicture("lamp_off.tga");
    DecodedPicture numbers = LoadPicture("floxanumbers.tga");
    ASSERT_TRUE(toggle.ok && disk.ok && lamp_on.ok && lamp_off.ok && numbers.ok);

    // Toggles sit on dark sockets inside their panels, not on a caption.
    for (int x : {11, 48, 182, 228, 272})
        for (int j = 0; j < 6; j++)
            for (int i = 0; i < 6; i++)
                EXPECT_LT(background.luma(x + i, 46 + j), 40) << "toggle socket at " << x;

    for (int j = 0; j < 4; j++) {
        frame.Draw(disk, 8 + 31 * j, 126);
        DecodedPicture number = LoadPicture((std::to_string(j) + ".tga").c_str());
        ASSERT_TRUE(number.ok);
        // The number's own background is the bay's dark plate.
        for (int y = 0; y < number.height; y++)
            for (int x = 0; x < number.width; x++)
                EXPECT_LT(frame.pic.luma(18 + 31 * j + x, 136 + y), 60) << "drive " << j << " plate";
        frame.Draw(number, 18 + 31 * j, 136);
        // Lamps cover their sockets exactly.
        for (int y : {106, 155}) {
            for (int i = -1; i <= 6; i++) {
                EXPECT_NE(background.at(16 + 31 * j + i, y - 1), background.at(16 + 31 * j + 2, y + 1));
            }
            frame.Draw(j % 2 ? lamp_on : lamp_off, 16 + 31 * j, y);
        }
    }
    // Bays do not overlap the lamps or each other, and stay in the drive panel.
    EXPECT_LT(8 + 31 * 3 + disk.width, 135);
    EXPECT_LT(106 + lamp_on.height, 126);
    EXPECT_GT(155, 126 + disk.height);

    // Rulers and the clock: digits over the dark map wells, the TIME label
    // left of the clock untouched by it.
    for (int side = 0; side < 2; side++)
        for (int d = 0; d < 10; d++)
            frame.Draw(Cut(numbers, 8 * d, 0, 7, 8), (side ? 233 : 139) + 8 * d, 101);
    const char *clock = "0101";
    for (int i = 0; i < 4; i++)
        frame.Draw(Cut(numbers, 8 * (clock[i] - '0'), 0, 7, 8), (i < 2 ? 277 : 292) + 6 * (i % 2), 173);
    for (int x = 139; x < 219; x++)
        EXPECT_LT(background.luma(x, 100), 40) << "ruler outside the well at " << x;
    int label = 0;
    for (int y = 173; y < 181; y++)
        for (int x = 249; x < 277; x++)
            label += frame.pic.luma(x, y) > 120;
    EXPECT_GE(label, 20) << "no TIME label beside the clock";
    EXPECT_LT(background.luma(276, 176), 40);
}

// The block grid's cells show the background where they are out of the
// copy range: only dim sector slots and the dark well lie under the map.
TEST_F(ArtLayout, MapWellsAreQuietUnderTheGrid)
{
    for (int mx : {139, 233})
        for (int y = 109; y < 173; y++)
            for (int x = mx; x < mx + 80; x++)
                ASSERT_LT(background.luma(x, y), 40) << x << "," << y;
    // No control reaches into the grid.
    for (int i = 0; i < uiHotspotCount; i++)
        EXPECT_LT(uiHotspots[i].y1, 101);
}
