// The GL-free rules of 2D drawing: visibility, the render-state and bind
// caches with their counters, and the camera matrices (checked by where
// they put points, not by their entries).
#include <gtest/gtest.h>

#include <cmath>

#include "engine/graphics/drawstate.h"
#include "engine/graphics/geometry.h"

namespace {

TEST(Draw2D, VisibilityIsStrictOnEveryEdge)
{
    // {x, y, w, h, visible} on a 320x200 target; negative sizes are taken as given.
    const float quads[][5] = {
        {-9.5, 0, 10, 10, 1}, {319.9, 199.9, 10, 10, 1}, {-10, 0, 10, 10, 0}, {0, -10, 10, 10, 0},
        {320, 0, 10, 10, 0}, {0, 200, 10, 10, 0}, {20, 20, -10, -10, 1}, {5, 20, -10, 10, 0}};
    for (const auto &q : quads)
        EXPECT_EQ(vxe_quadvisible(q[0], q[1], q[2], q[3], 320, 200), q[4] != 0) << &q - quads;
    // {x1, y1, x2, y2, visible}: rows and columns may come from different ends.
    const float lines[][5] = {{-5, 5, 5, -5, 1},     {-5, -5, -1, -1, 0}, {320, 10, 400, 10, 0},
                              {10, 200, 10, 300, 0}, {-10, -10, 400, 300, 0}};
    for (const auto &l : lines)
        EXPECT_EQ(vxe_linevisible(l[0], l[1], l[2], l[3], 320, 200), l[4] != 0) << &l - lines;
}

TEST(Draw2D, CachesSwitchOnlyWhatChangesAndCountIt)
{
    vxe_resetframestate();
    VXE_renderstate = 0;
    EXPECT_EQ(vxe_recordenable(VXE_STATE_BLEND), VXE_STATE_BLEND);
    // Naming a state already on makes the whole call void: depth stays off.
    EXPECT_EQ(vxe_recordenable(VXE_STATE_BLEND | VXE_STATE_DEPTHTEST), 0);
    // One recorded state is enough to switch off every named one.
    EXPECT_EQ(vxe_recorddisable(VXE_STATE_ALPHATEST | VXE_STATE_BLEND), VXE_STATE_ALPHATEST | VXE_STATE_BLEND);
    EXPECT_EQ(vxe_recorddisable(VXE_STATE_BLEND), 0);
    vxe_recordenable(VXE_STATE_DEPTHTEST | VXE_STATE_LIGHTING);
    EXPECT_EQ(vxe_recorddisable(VXE_STATE_DEPTHTEST), VXE_STATE_DEPTHTEST);
    EXPECT_EQ(VXE_renderstate, VXE_STATE_LIGHTING);
    EXPECT_TRUE(vxe_recordbind(7));
    EXPECT_FALSE(vxe_recordbind(7));
    EXPECT_EQ(std::make_pair(VXE_stats_numstateswitches, VXE_stats_numtexturebinds), std::make_pair(4, 1));
    vxe_resetframestate();  // a new frame: cache empty, counters at 0
    EXPECT_TRUE(vxe_recordbind(7));
    EXPECT_EQ(VXE_stats_numtexturebinds + VXE_stats_numstateswitches, 1);
}

// Where column-major m puts point p, divided by w.
void place(const double m[16], const double p[3], double out[3])
{
    double clip[4];
    for (int row = 0; row < 4; row++)
        clip[row] = m[row] * p[0] + m[4 + row] * p[1] + m[8 + row] * p[2] + m[12 + row];
    for (int i = 0; i < 3; i++) out[i] = clip[i] / clip[3];
}

// The camera matrices, checked by where they put points: {matrix, point,
// where it lands}. A look-at puts the eye at the origin and the centre down
// -z, also looking straight up and down; the frustum puts its corners on
// the clip cube. Cameras glFrustum or a look-at could not build leave the
// matrix alone.
TEST(Draw2D, CameraMatricesPlacePointsAndRefuseDegenerateCameras)
{
    const double looks[][6] = {{0, 0, 5, 0, 0, 0}, {5, 0, 0, 0, 0, 0}, {-2, 3, 7, 1, -1, 2},
                               {2, 9, 3, 2, 1, 3}, {2, -9, 3, 2, 1, 3}};
    const double aspect = 16.0 / 9.0, slope = tan(45 * M_PI / 360.0), n = 0.01, f = 1000;
    double m[16], at[3], untouched[16] = {7};
    auto expect = [&](const double p[3], const double want[3], double tolerance) {
        place(m, p, at);
        for (int i = 0; i < 3; i++) EXPECT_NEAR(at[i], want[i], tolerance) << p[0] << "," << p[1] << "," << p[2];
    };
    for (const auto &c : looks) {
        ASSERT_TRUE(vxe_lookatmatrix(m, c[0], c[1], c[2], c[3], c[4], c[5]));
        const double origin[3] = {0, 0, 0}, ahead[3] = {0, 0, -std::hypot(c[0] - c[3], c[1] - c[4], c[2] - c[5])};
        expect(c, origin, 1e-9);
        expect(c + 3, ahead, 1e-9);
    }
    ASSERT_TRUE(vxe_perspectivematrix(m, 45, aspect, n, f));
    const double corners[][6] = {{n * slope * aspect, n * slope, -n, 1, 1, -1}, {f * slope * aspect, -f * slope, -f, 1, -1, 1}};
    for (const auto &p : corners) expect(p, p + 3, 1e-6);
    EXPECT_FALSE(vxe_lookatmatrix(untouched, 1, 2, 3, 1, 2, 3));
    const double refused[][4] = {{0, aspect, 1, 9}, {45, aspect, -1, f}, {45, aspect, 1, 1}};
    for (const auto &r : refused) EXPECT_FALSE(vxe_perspectivematrix(untouched, r[0], r[1], r[2], r[3])) << &r - refused;
    EXPECT_EQ(untouched[0], 7);
}

}  // namespace
