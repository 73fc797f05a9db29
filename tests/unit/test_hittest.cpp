// The copier screen's hit-test: every control answers at its corners and
// not one pixel beyond, and the controls never overlap.
#include <gtest/gtest.h>

#include <set>

#include "app/copier_hittest.h"

TEST(HitTest, MenuTitlesAndTheGapBetweenThem)
{
    EXPECT_EQ(29, MouseCoordsToUIFunction(9, 45));
    EXPECT_EQ(0, MouseCoordsToUIFunction(48, 45));
    EXPECT_EQ(30, MouseCoordsToUIFunction(49, 53));
    EXPECT_EQ(0, MouseCoordsToUIFunction(-1, -1));
    EXPECT_EQ(0, MouseCoordsToUIFunction(1000, 1000));
}

TEST(HitTest, EveryControlAnswersExactlyOnItsRectangle)
{
    std::set<int> codes;
    for (int i = 0; i < uiHotspotCount; i++) {
        const s_uihotspot &h = uiHotspots[i];
        SCOPED_TRACE(h.code);
        codes.insert(h.code);
        for (int x : {h.x0, h.x1})
            for (int y : {h.y0, h.y1})
                EXPECT_EQ(h.code, MouseCoordsToUIFunction(x, y));
        EXPECT_NE(h.code, MouseCoordsToUIFunction(h.x0 - 1, h.y0));
        EXPECT_NE(h.code, MouseCoordsToUIFunction(h.x1 + 1, h.y1));
        EXPECT_NE(h.code, MouseCoordsToUIFunction(h.x0, h.y0 - 1));
        EXPECT_NE(h.code, MouseCoordsToUIFunction(h.x1, h.y1 + 1));
    }
    EXPECT_EQ(30u, codes.size());
    EXPECT_EQ(1, *codes.begin());
    EXPECT_EQ(30, *codes.rbegin());

    // No pixel of the frame belongs to two controls.
    for (int y = 0; y < 200; y++)
        for (int x = 0; x < 320; x++) {
            int owners = 0;
            for (int i = 0; i < uiHotspotCount; i++) {
                const s_uihotspot &h = uiHotspots[i];
                owners += x >= h.x0 && x <= h.x1 && y >= h.y0 && y <= h.y1;
            }
            ASSERT_LE(owners, 1) << x << "," << y;
        }
}

TEST(HitTest, ButtonsAndArrowsKeepTheirPitch)
{
    for (int k = 0; k < 7; k++) {
        EXPECT_EQ(k + 1, MouseCoordsToUIFunction(12 + 43 * k, 82));
        EXPECT_EQ(k + 1, MouseCoordsToUIFunction(12 + 43 * k + 38, 89));
        EXPECT_EQ(0, MouseCoordsToUIFunction(12 + 43 * k + 39, 85));
    }
    // Speed arrows: four digits 8 pixels apart, up above and down below.
    for (int d = 0; d < 4; d++) {
        EXPECT_EQ(21 + d, MouseCoordsToUIFunction(230 + 8 * d, 58));
        EXPECT_EQ(25 + d, MouseCoordsToUIFunction(235 + 8 * d, 73));
    }
    // The side fields toggle from above only.
    EXPECT_EQ(13, MouseCoordsToUIFunction(126, 58));
    EXPECT_EQ(0, MouseCoordsToUIFunction(126, 73));
}
