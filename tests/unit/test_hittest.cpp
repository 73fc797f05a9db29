// The copier screen's hit-test: controls answer on their edges and not one
// pixel beyond, at the places the copier screen's layout gives them.
#include <gtest/gtest.h>

#include "app/copier/copier_hittest.h"

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
