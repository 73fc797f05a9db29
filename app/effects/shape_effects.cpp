// shape_effects: the balls circling in depth, the drifting shape field, the
// beating shape, the googly eyes and the flower-and-butterfly story.
#include "app/effects/shape_effects.h"

#include <cmath>
#include <cstdlib>

#include "app/appstate.h"
#include "app/effects/shapes.h"

vector3f balls[5], sortedBalls[5];
float xShapes[numShapes], yShapes[numShapes], zShapes[numShapes];
unsigned char colShapes[numShapes][2];
int dxl, dyl, dxr, dyr;

void ResetShapeEffects()
{
    for (int i = 0; i < 5; i++) balls[i] = sortedBalls[i] = vector3f{0, 0, 0};
    for (int i = 0; i < numShapes; i++) {
        xShapes[i] = yShapes[i] = zShapes[i] = 0;
        colShapes[i][0] = colShapes[i][1] = 0;
    }
    dxl = dyl = dxr = dyr = 0;
}

namespace {

const double PI = 3.14159265358979323846;
enum { STAGE_TICKS = 1280, STAGES = 6 };

// Where a non-finite result would strand a shape for good, it keeps the
// last good value instead (only reachable with an absurd speed).
float finiteor(float v, float fallback)
{
    if (std::isfinite(v))
        return v;
    return std::isfinite(fallback) ? fallback : 0.0f;
}

int pupiloffset(int v, int centre)
{
    return v < centre ? -2 : v > centre ? 2 : 0;
}

void butterflypair(float bx, float by, float size)
{
    DrawButterfly(bx, by, size, 30, 30, BLEND_NORMAL);
    DrawButterfly(bx, by, size - 1, 4, 30, BLEND_NORMAL);
}

void flower(float y, float size, float angle)
{
    DrawFlower(10, y, size, 30, 22, true, angle, BLEND_NORMAL);
}

}  // namespace

void SortVector3f(vector3f *in, vector3f *out, int n)
{
    if (!in || !out || n <= 0)
        return;
    for (int i = 0; i < n; i++)
        out[i] = in[i];
    // Strict comparison keeps equal depths in their input order.
    for (int i = 0; i < n; i++)
        for (int j = 0; j < n - i - 1; j++)
            if (out[j].z > out[j + 1].z) {
                const vector3f v = out[j];
                out[j] = out[j + 1];
                out[j + 1] = v;
            }
}

void balls3d(e_shapeType shape, e_blendMode mode)
{
    FillBlock(0);
    for (int i = 0; i < 5; i++) {
        const double a = effectTimer / 1000.0 + i * 2 * PI / 5;
        balls[i] = vector3f{(float)sin(a), 0.0f, (float)cos(a)};
    }
    // Farthest first, so nearer balls cover the ones behind them.
    SortVector3f(balls, sortedBalls, 5);
    for (const vector3f &b : sortedBalls) {
        const float X = 16 * b.x + 22, Y = b.y + 7, S = (float)(b.z + 1.1);
        const float outer = (float)(3.5 * S);
        const unsigned char c = (unsigned char)RoundCell(6.0 * b.z + 9);
        if (shape == SHAPE_BUTTERFLY) {
            DrawButterfly(X, Y, outer, 3, 15, mode);
            DrawButterfly(X, Y, (float)(3.5 * S - 0.8), c, 15, mode);
        } else if (shape == SHAPE_HEART) {
            const int h = RoundCell(6.0 * b.z + 9 + 15);
            DrawHeart(X, (float)(Y + 2.5), outer, (unsigned char)(h - 3), mode);
            DrawHeart(X, (float)(Y + 2.5), (float)(3.5 * S - 0.6), (unsigned char)h, mode);
        } else {
            DrawCircle(X, Y, outer, 3, mode);
            DrawCircle(X, Y, (float)(3.5 * S - 0.8), c, mode);
        }
    }
}

void initshapefield(bool colourful)
{
    for (int i = 0; i < numShapes; i++) {
        xShapes[i] = (float)(rand() % 90 - 10);
        yShapes[i] = (float)(rand() % 18);
        zShapes[i] = i < 8 ? 2.0f : i < 12 ? 3.0f : 4.0f;
        const int red = rand() % 2;
        int first;
        if (colourful) {
            do
                first = rand() % 32;
            while (!((first >= 4 && first <= 15) || (first >= 20 && first <= 31)));
        } else {
            first = (int)(3 * zShapes[i]) + 16 * red;
        }
        colShapes[i][0] = (unsigned char)first;
        colShapes[i][1] = (unsigned char)(16 * red + 15);
    }
}

// No reseeding here when t reads 0: at speed 0 the timer stays 0 and the
// field would be redrawn at random every frame. The part table seeds it on
// the part's first frame instead.
void shapefield(float t, e_shapeType shape, e_blendMode mode)
{
    (void)t;
    FillBlock(0);
    for (int i = 0; i < numShapes; i++) {
        const float z = zShapes[i];
        const float x = finiteor(fmodf(xShapes[i] + effectSpeed * z * 3 / 64, GRID_WIDTH), xShapes[i]);
        const float y = finiteor(yShapes[i] + z * effectSpeed * std::sin(x) / 8, yShapes[i]);
        xShapes[i] = x;
        yShapes[i] = y;
        const unsigned char first = colShapes[i][0], second = colShapes[i][1];
        switch (shape) {
        case SHAPE_HEART: DrawHeart(x, y, z, second, mode); break;
        case SHAPE_DISC: DrawCircle(x, y, z, second, mode); break;
        case SHAPE_BUTTERFLY: DrawButterfly(x, y, z, first, second, mode); break;
        case SHAPE_FLOWER: DrawFlower(x, y, z, first, second, false, (float)mode, BLEND_NORMAL); break;
        }
    }
}

// Drawn into the left half only; the part table mirrors it to the right.
void shapebeat(float t, unsigned char colour1, unsigned char colour2, e_shapeType shape, e_blendMode mode)
{
    SetClippingRegion(0, 0, GRID_HALF, GRID_HEIGHT);
    FillGrid(0, 0);
    const float s = 3 + 5 * std::fabs(std::sin(t / 200));
    switch (shape) {
    case SHAPE_HEART:
        DrawHeart(10, 9, s, colour2, mode);
        DrawHeart(10, 9, s - 1, colour1, mode);
        break;
    case SHAPE_DISC:
        DrawCircle(10, 9, s, colour2, mode);
        DrawCircle(10, 9, s - 1, colour2, mode);
        break;
    case SHAPE_BUTTERFLY: DrawButterfly(10, 9, s, colour1, colour2, mode); break;
    case SHAPE_FLOWER: DrawFlower(10, 9, s, colour1, colour2, false, (float)mode, BLEND_NORMAL); break;
    }
}

// The eye centres (10.5, 8.5) and (32.5, 8.5) show at frame positions
// (183, 145) and (269, 145); each pupil looks two cells toward the pointer.
void Eyes(e_blendMode mode)
{
    dxl = pupiloffset(mx, 183);
    dyl = pupiloffset(my, 145);
    dxr = pupiloffset(mx, 269);
    dyr = pupiloffset(my, 145);

    FillBlock(28);
    DrawCircle(10.5f, 8.5f, 7.5f, 0, mode);
    DrawCircle(32.5f, 8.5f, 7.5f, 0, mode);
    DrawCircle(10.5f, 9.0f, 6.5f, 24, mode);
    DrawCircle(32.5f, 9.0f, 6.5f, 24, mode);
    DrawCircle(10.5f, 8.5f, 6.5f, 15, mode);
    DrawCircle(32.5f, 8.5f, 6.5f, 15, mode);
    DrawCircle(dxl + 10.5f, dyl + 8.5f, 3, 5, mode);
    DrawCircle(dxr + 32.5f, dyr + 8.5f, 3, 5, mode);
    DrawCircle(dxl + 10.5f, dyl + 8.5f, 1.5f, 0, mode);
    DrawCircle(dxr + 32.5f, dyr + 8.5f, 1.5f, 0, mode);
}

void petaldance(float t)
{
    const double phase = fmod(t / (double)STAGE_TICKS, STAGES);
    const double u = fmod((double)t, STAGE_TICKS);
    const float angle = std::sin(fmodf(t / 200, (float)(2 * PI)));
    FillBlock(0);
    // A timer that is not a number (never the case in the show) leaves the
    // grid dark rather than converting NaN to a stage.
    if (!(phase > -STAGES && phase < STAGES))
        return;
    const int stage = (int)phase;
    const double k = u / STAGE_TICKS;
    switch (stage) {
    case 0: flower((float)(18 - 12 * k), 2, angle); break;
    case 1: flower(6, (float)(2 + 2 * k), angle); break;
    case 2: {
        flower(6, 4, angle);
        const float bx = (float)(44 - 30 * k);
        butterflypair(bx, 6 + 2 * effectSpeed * std::sin(bx), (float)(4 + 4 * k));
        break;
    }
    case 3:
        flower(6, 4, angle);
        butterflypair(10, 6, 6 + 2 * std::fabs(std::sin(t / 200)));
        break;
    case 4: {
        flower(6, (float)(4 - 2 * k), angle);
        const float bx = (float)(10 - 20 * k);
        butterflypair(bx, 6 + 2 * effectSpeed * std::sin(bx), 8);
        break;
    }
    case 5: flower((float)(6 + 12 * k), 2, angle); break;
    }
}
