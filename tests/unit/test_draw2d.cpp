// The GL-free rules of 2D drawing: which quads and lines reach GL, the
// render-state and bind caches with their counters, and the camera
// matrices (checked by where they put points, not by their entries).
#include <gtest/gtest.h>

#include <math.h>

#include "engine/drawstate.h"
#include "engine/geometry.h"

namespace {

TEST(Draw2D, QuadVisibilityIsStrictOnEveryEdge)
{
    const int W = 320, H = 200;
    EXPECT_TRUE(vxe_quadvisible(0, 0, 10, 10, W, H));
    EXPECT_TRUE(vxe_quadvisible(-9.5f, 0, 10, 10, W, H));  // half-pixel sliver
    EXPECT_TRUE(vxe_quadvisible(319.9f, 199.9f, 10, 10, W, H));
    EXPECT_FALSE(vxe_quadvisible(-10, 0, 10, 10, W, H));   // right edge at 0
    EXPECT_FALSE(vxe_quadvisible(0, -10, 10, 10, W, H));   // bottom edge at 0
    EXPECT_FALSE(vxe_quadvisible(320, 0, 10, 10, W, H));   // left edge at W
    EXPECT_FALSE(vxe_quadvisible(0, 200, 10, 10, W, H));   // top edge at H
    EXPECT_FALSE(vxe_quadvisible(0, 0, 10, 10, 0, 0));     // empty target

    // Negative sizes: tested as given, so a quad that extends left of its
    // x passes only while x itself lies right of -w.
    EXPECT_TRUE(vxe_quadvisible(20, 20, -10, 10, W, H));
    EXPECT_TRUE(vxe_quadvisible(20, 20, -10, -10, W, H));
    EXPECT_FALSE(vxe_quadvisible(5, 20, -10, 10, W, H));   // 5 > 10 fails
}

TEST(Draw2D, LineVisibilityMayUseEitherEndPerAxis)
{
    const int W = 320, H = 200;
    EXPECT_TRUE(vxe_linevisible(-5, 5, 5, -5, W, H));    // rows from one end, columns from the other
    EXPECT_FALSE(vxe_linevisible(-5, -5, -1, -1, W, H));
    EXPECT_TRUE(vxe_linevisible(0, 0, 0, 0, W, H));
    EXPECT_FALSE(vxe_linevisible(320, 10, 400, 10, W, H));  // W itself is outside
    EXPECT_FALSE(vxe_linevisible(10, 200, 10, 300, W, H));
    // Crossing the whole target with both ends outside is not drawn.
    EXPECT_FALSE(vxe_linevisible(-10, -10, 400, 300, W, H));
}

TEST(Draw2D, RenderStateCacheSwitchesOnlyWhatChanges)
{
    VXE_renderstate = 0;
    VXE_stats_numstateswitches = 0;

    EXPECT_EQ(vxe_recordenable(VXE_STATE_BLEND), VXE_STATE_BLEND);
    EXPECT_EQ(vxe_recordenable(VXE_STATE_BLEND), 0);
    EXPECT_EQ(VXE_stats_numstateswitches, 1);

    // Naming a state already on makes the whole call void: depth stays off.
    EXPECT_EQ(vxe_recordenable(VXE_STATE_BLEND | VXE_STATE_DEPTHTEST), 0);
    EXPECT_EQ(VXE_renderstate, VXE_STATE_BLEND);
    EXPECT_EQ(VXE_stats_numstateswitches, 1);

    // One recorded state is enough to switch off every named one.
    EXPECT_EQ(vxe_recorddisable(VXE_STATE_ALPHATEST | VXE_STATE_BLEND),
              VXE_STATE_ALPHATEST | VXE_STATE_BLEND);
    EXPECT_EQ(VXE_renderstate, 0);
    EXPECT_EQ(vxe_recorddisable(VXE_STATE_BLEND), 0);
    EXPECT_EQ(VXE_stats_numstateswitches, 2);

    EXPECT_EQ(vxe_recordenable(VXE_STATE_DEPTHTEST | VXE_STATE_LIGHTING),
              VXE_STATE_DEPTHTEST | VXE_STATE_LIGHTING);
    EXPECT_EQ(vxe_recorddisable(VXE_STATE_DEPTHTEST), VXE_STATE_DEPTHTEST);
    EXPECT_EQ(VXE_renderstate, VXE_STATE_LIGHTING);
}

TEST(Draw2D, BindCacheAndFrameReset)
{
    vxe_resetframestate();
    EXPECT_TRUE(vxe_recordbind(7));
    EXPECT_FALSE(vxe_recordbind(7));
    EXPECT_TRUE(vxe_recordbind(8));
    EXPECT_EQ(VXE_stats_numtexturebinds, 2);

    vxe_forgetbind();
    EXPECT_TRUE(vxe_recordbind(8));  // something bound behind the cache

    VXE_stats_numtriangles = 12;
    VXE_stats_numstateswitches = 3;
    vxe_resetframestate();
    EXPECT_EQ(VXE_lasttextureid, -1);
    EXPECT_EQ(VXE_stats_numtriangles, 0);
    EXPECT_EQ(VXE_stats_numtexturebinds, 0);
    EXPECT_EQ(VXE_stats_numstateswitches, 0);
}

struct Point {
    double x, y, z, w;
};

Point transform(const double m[16], double x, double y, double z)
{
    return {m[0] * x + m[4] * y + m[8] * z + m[12], m[1] * x + m[5] * y + m[9] * z + m[13],
            m[2] * x + m[6] * y + m[10] * z + m[14], m[3] * x + m[7] * y + m[11] * z + m[15]};
}

TEST(Draw2D, LookAtPutsTheEyeAtTheOriginFacingTheCentre)
{
    const double cases[][6] = {
        {0, 0, 5, 0, 0, 0},   {5, 0, 0, 0, 0, 0},   {0, 5, 5, 0, 0, 0},  {0, 5, -5, 0, 0, 0},
        {3, 0, -4, 0, 0, 0},  {3, 4, 0, 0, 0, 0},   {-2, 3, 7, 1, -1, 2}, {4, -6, -1, -3, 2, 5},
        {0, 9, 0, 0, 0, 0},   {0, -9, 0, 0, 0, 0},
        {2, 9, 3, 2, 1, 3},   {2, -9, 3, 2, 1, 3},  // straight up/down, centre off the origin
    };
    for (const auto &c : cases) {
        double m[16];
        ASSERT_TRUE(vxe_lookatmatrix(m, c[0], c[1], c[2], c[3], c[4], c[5]));
        double distance = sqrt((c[0] - c[3]) * (c[0] - c[3]) + (c[1] - c[4]) * (c[1] - c[4]) +
                               (c[2] - c[5]) * (c[2] - c[5]));
        Point eye = transform(m, c[0], c[1], c[2]);
        Point centre = transform(m, c[3], c[4], c[5]);
        SCOPED_TRACE(testing::Message() << "eye " << c[0] << "," << c[1] << "," << c[2]
                                        << " centre " << c[3] << "," << c[4] << "," << c[5]);
        EXPECT_NEAR(eye.x, 0, 1e-9);
        EXPECT_NEAR(eye.y, 0, 1e-9);
        EXPECT_NEAR(eye.z, 0, 1e-9);
        EXPECT_NEAR(centre.x, 0, 1e-9);
        EXPECT_NEAR(centre.y, 0, 1e-9);
        EXPECT_NEAR(centre.z, -distance, 1e-9);
        EXPECT_EQ(centre.w, 1.0);
    }
    double m[16] = {42};
    EXPECT_FALSE(vxe_lookatmatrix(m, 1, 2, 3, 1, 2, 3));
    EXPECT_EQ(m[0], 42);
}

TEST(Draw2D, PerspectiveMapsTheFrustumOntoTheClipCube)
{
    double m[16];
    const double fov = 45, aspect = 16.0 / 9.0, znear = 0.01, zfar = 1000;
    ASSERT_TRUE(vxe_perspectivematrix(m, fov, aspect, znear, zfar));
    const double ymax = znear * tan(fov * M_PI / 360.0);

    Point nearcorner = transform(m, ymax * aspect, ymax, -znear);
    EXPECT_NEAR(nearcorner.x / nearcorner.w, 1, 1e-9);
    EXPECT_NEAR(nearcorner.y / nearcorner.w, 1, 1e-9);
    EXPECT_NEAR(nearcorner.z / nearcorner.w, -1, 1e-9);

    // Half the field of view up from the axis, far away: top edge, far plane.
    double slope = tan(fov * M_PI / 360.0);
    Point far = transform(m, 0, -zfar * slope, -zfar);
    EXPECT_NEAR(far.y / far.w, -1, 1e-6);
    EXPECT_NEAR(far.z / far.w, 1, 1e-6);

    double untouched[16] = {7};
    EXPECT_FALSE(vxe_perspectivematrix(untouched, 0, aspect, znear, zfar));  // empty
    EXPECT_FALSE(vxe_perspectivematrix(untouched, fov, 0, znear, zfar));
    EXPECT_FALSE(vxe_perspectivematrix(untouched, fov, aspect, 0, zfar));   // plane at the eye
    EXPECT_FALSE(vxe_perspectivematrix(untouched, fov, aspect, 1, 1));
    EXPECT_EQ(untouched[0], 7);
}

}  // namespace
