// Visibility tests and camera matrices, in plain arithmetic so they can be
// checked without a GL context.
#include "engine/graphics/geometry.h"

#include <math.h>
#include <string.h>

bool vxe_quadvisible(float x, float y, float w, float h, int W, int H)
{
    return y > -h && y < H && x > -w && x < W;
}

bool vxe_linevisible(float x1, float y1, float x2, float y2, int W, int H)
{
    bool rows = (y1 >= 0 && y1 < H) || (y2 >= 0 && y2 < H);
    bool columns = (x1 >= 0 && x1 < W) || (x2 >= 0 && x2 < W);
    return rows && columns;
}

static void identity(double m[16])
{
    memset(m, 0, 16 * sizeof(double));
    m[0] = m[5] = m[10] = m[15] = 1.0;
}

// m = m * b (column-major), as glMultMatrixd composes.
static void multiply(double m[16], const double b[16])
{
    double r[16];
    for (int col = 0; col < 4; col++)
        for (int row = 0; row < 4; row++) {
            double sum = 0.0;
            for (int k = 0; k < 4; k++)
                sum += m[k * 4 + row] * b[col * 4 + k];
            r[col * 4 + row] = sum;
        }
    memcpy(m, r, sizeof(r));
}

static const double PI = 3.141592653589793;
static const double DEG = PI / 180.0;
static const double RADTODEG = 180.0 / PI;

static void rotatex(double m[16], double degrees)
{
    double r[16];
    identity(r);
    double c = cos(degrees * DEG), s = sin(degrees * DEG);
    r[5] = c;
    r[6] = s;
    r[9] = -s;
    r[10] = c;
    multiply(m, r);
}

static void rotatey(double m[16], double degrees)
{
    double r[16];
    identity(r);
    double c = cos(degrees * DEG), s = sin(degrees * DEG);
    r[0] = c;
    r[2] = -s;
    r[8] = s;
    r[10] = c;
    multiply(m, r);
}

static void translate(double m[16], double x, double y, double z)
{
    double t[16];
    identity(t);
    t[12] = x;
    t[13] = y;
    t[14] = z;
    multiply(m, t);
}

bool vxe_perspectivematrix(double m[16], double fov, double aspect, double znear, double zfar)
{
    double ymax = znear * tan(fov * PI / 360.0);
    double left = -ymax * aspect, right = ymax * aspect;
    double bottom = -ymax, top = ymax;
    // The frustums glFrustum refuses: empty, or a plane at or behind the eye.
    if (!(left != right && bottom != top && znear > 0.0 && zfar > 0.0 && znear != zfar))
        return false;
    memset(m, 0, 16 * sizeof(double));
    m[0] = 2.0 * znear / (right - left);
    m[5] = 2.0 * znear / (top - bottom);
    m[8] = (right + left) / (right - left);
    m[9] = (top + bottom) / (top - bottom);
    m[10] = -(zfar + znear) / (zfar - znear);
    m[11] = -1.0;
    m[14] = -2.0 * zfar * znear / (zfar - znear);
    return true;
}

static double clampunit(double v)
{
    return v < -1.0 ? -1.0 : (v > 1.0 ? 1.0 : v);
}

bool vxe_lookatmatrix(double m[16], double eyex, double eyey, double eyez,
                      double centerx, double centery, double centerz)
{
    double dx = eyex - centerx, dy = eyey - centery, dz = eyez - centerz;
    if (dx == 0.0 && dy == 0.0 && dz == 0.0)
        return false;
    identity(m);
    if (dx == 0.0 && dz == 0.0) {
        // Straight up or down: pitch only. Translating by the eye, as in the
        // general case, keeps the eye at the origin whatever the centre is.
        rotatex(m, dy < 0.0 ? -90.0 : 90.0);
    } else {
        double a = dx == 0.0 ? dz : hypot(dx, dz);
        double b = hypot(dy, a);
        double pitch = asin(clampunit(dy / b)) * RADTODEG;
        double yaw = asin(clampunit(dx / a)) * RADTODEG;
        rotatex(m, pitch);
        rotatey(m, dz < 0.0 ? yaw + 180.0 : 360.0 - yaw);
    }
    translate(m, -eyex, -eyey, -eyez);
    return true;
}
