// The camera that places the monitor in the output, and the pointer's way
// from a window pixel back through the camera, the screen opening and the
// CRT curvature into the 320x200 frame.
#include <gtest/gtest.h>

#include <cmath>

#include "app/monitor/crtgeometry.h"

TEST(Camera, BreathesBetweenItsWorkedPositions)
{
    const struct { int frame; float zoom; int x, y, w, h; } rows[] = {
        {0, 1.25f, -316, -111, 2560, 1440}, {1200, 1.45f, -530, -219, 2969, 1670},
        {3600, 1.05f, -101, -2, 2150, 1209},
        {4800, 1.25f, -316, -111, 2560, 1440},  // one period later
    };
    for (const auto &r : rows) {
        const s_camera c = CameraAt(r.frame);
        EXPECT_NEAR(r.zoom, c.zoom, 1e-5) << r.frame;
        EXPECT_TRUE(c.x == r.x && c.y == r.y && c.w == r.w && c.h == r.h)
            << r.frame << ": " << c.x << "," << c.y << " " << c.w << "x" << c.h;
        // Always larger than the output buffer, which it covers.
        EXPECT_TRUE(c.x <= 0 && c.y <= 0 && c.x + c.w >= OUTPUT_WIDTH && c.y + c.h >= OUTPUT_HEIGHT);
    }
}

// There and back: a frame pixel's centre is found on the window through
// the inverted curve, and the pointer there reads that same pixel.
TEST(PointerMap, PutsTheDrawnCursorUnderTheHandAtEveryZoom)
{
    const int points[][2] = {{160, 100}, {0, 0}, {319, 0}, {319, 199}, {53, 67}};
    for (int frame : {0, 1200, 3600}) {  // the middle, largest and smallest zoom
        for (const auto &p : points) {
            double wx, wy;
            FrameToWindow(p[0] + 0.5, p[1] + 0.5, 1280, 720, CameraAt(frame), &wx, &wy);
            ASSERT_TRUE(wx >= 0 && wx < 1280 && wy >= 0 && wy < 720) << "frame pixel off the window";
            int fx, fy;
            WindowToFrame((int)lround(wx), (int)lround(wy), 1280, 720, CameraAt(frame), true, &fx, &fy);
            // A window pixel is about a third of a frame pixel.
            EXPECT_TRUE(std::abs(fx - p[0]) <= 1 && std::abs(fy - p[1]) <= 1)
                << "frame " << frame << " point " << p[0] << "," << p[1] << " read as " << fx << "," << fy;
        }
        // The window's own corners lie outside the curved screen.
        int fx, fy;
        WindowToFrame(0, 0, 1280, 720, CameraAt(frame), true, &fx, &fy);
        EXPECT_TRUE(fx < 0 && fy < 0);
        WindowToFrame(1279, 719, 1280, 720, CameraAt(frame), true, &fx, &fy);
        EXPECT_TRUE(fx >= 320 && fy >= 200);
    }
}

TEST(PointerMap, FollowsTheWindowSizeAndRefusesAnEmptyOne)
{
    // The same spot of a full-HD window and of the 1280x720 one.
    int ax, ay, bx, by;
    WindowToFrame(640, 360, 1280, 720, CameraAt(0), true, &ax, &ay);
    WindowToFrame(960, 540, 1920, 1080, CameraAt(0), true, &bx, &by);
    EXPECT_TRUE(std::abs(ax - bx) <= 1 && std::abs(ay - by) <= 1);
    WindowToFrame(10, 10, 0, 0, CameraAt(0), true, &ax, &ay);
    EXPECT_TRUE(ax == 0 && ay == 0);
    // Without the CRT shader the frame lies flat in the opening: its
    // corner pixels sit right at the opening's corners.
    const s_camera c = CameraAt(0);
    const int left = (int)((c.x + (OPENING_X + 1) * 1.25) * 2 / 3), top = (int)((c.y + (OPENING_Y + 1) * 1.25) * 2 / 3);
    WindowToFrame(left, top, 1280, 720, c, false, &ax, &ay);
    EXPECT_TRUE(ax == 0 && ay == 0) << ax << "," << ay;
    WindowToFrame(left, top, 1280, 720, c, true, &ax, &ay);
    EXPECT_TRUE(ax < 0 && ay < 0) << "the curve bends the corner out of the frame";
}
