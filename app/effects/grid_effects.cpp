// grid_effects: the twister bar, the line lattice, the matrix rain and the
// worms, each repainting the whole block grid once a frame.
#include "app/effects/grid_effects.h"

#include <math.h>
#include <stdlib.h>

#include "app/appstate.h"

float frame;
float phase;
float shift = 9.0f, scale = 6.3f;
float PhaseOneQuarter = 1.5707964f;
float PhaseTwoQuarter = 2 * PhaseOneQuarter;
float PhaseThreeQuarter = 3 * PhaseOneQuarter;
float PhaseFourQuarter = 4 * PhaseOneQuarter;
float xDroplet[amount], yDroplet[amount];

void ResetGridEffects()
{
    frame = phase = 0;
    shift = 9.0f;
    scale = 6.3f;
    for (int i = 0; i < amount; i++) xDroplet[i] = yDroplet[i] = 0;
}

namespace {

// A face shaded by its apparent height; the bar's own sizes keep it at 11
// or less, odd globals merely pick another colour of the grid.
unsigned char shade(int height)
{
    return (unsigned char)clip(RoundCell((double)((float)height / scale) * 7.5), 0, 47);
}

}  // namespace

void Twisterbar()
{
    FillBlock(0);
    frame = (float)(effectTimer * 0.001);
    const double wobble = 0.6f + 0.5 * (sin((double)(0.8f * frame)) + sin((double)(0.7f * frame + 1)));
    for (int x = 0; x < GRID_WIDTH; x++) {
        phase = (float)(frame + wobble * 0.02f * x);
        const int y1 = RoundCell(shift + scale * cos((double)(phase + PhaseOneQuarter)));
        const int y2 = RoundCell(shift + scale * cos((double)(phase + PhaseTwoQuarter)));
        const int y3 = RoundCell(shift + scale * cos((double)(phase + PhaseThreeQuarter)));
        const int y4 = RoundCell(shift + scale * cos((double)(phase + PhaseFourQuarter)));
        if (y1 < y2)
            DrawLineVertical(x, y1, y2 - y1, 15, BLEND_NORMAL);
        if (y2 < y3)
            DrawLineVertical(x, y2, y3 - y2, shade(y3 - y2), BLEND_NORMAL);
        if (y3 < y4)
            DrawLineVertical(x, y3, y4 - y3, 15, BLEND_NORMAL);
        if (y4 < y1)
            DrawLineVertical(x, y4, y1 - y4, shade(y1 - y4), BLEND_NORMAL);
    }
}

void SinusLines(e_blendMode mode)
{
    FillBlock(0);
    // Real divisions: whole seconds would make the lattice jump.
    const float a = (float)(4.7 + 3.2 * sin(effectTimer / 1000.0));
    const float b = (float)(2.5 + 1.7 * sin(effectTimer / 867.0));
    float p = a;
    for (int i = 0; i < 8; i++) {
        p = p + a;
        DrawLineVertical(RoundCell(p), 0, GRID_HEIGHT, 7, mode);
    }
    p = b;
    for (int i = 0; i < 6; i++) {
        p = p + b;
        DrawLineHorizontal(0, RoundCell(p), GRID_WIDTH, 7, mode);
    }
}

void initmatrixrain()
{
    for (int c = 0; c < amount; c++) {
        xDroplet[c] = (float)(rand() % 44);
        yDroplet[c] = (float)(rand() % 36 - 18);
    }
}

// No reseeding at t = 0 here: at speed 0 the timer stays 0 and the rain
// would restart every frame. The part table seeds it on the part's first
// frame instead.
void matrixrain(float t)
{
    (void)t;
    FillBlock(0);
    const float step = effectSpeed / 100;
    for (int c = 0; c < amount; c++)
        for (int k = 0; k < 15; k++) {
            const int colour = k < 2 ? 15 - 2 * k : k < 9 ? 8 : 15 - k;
            DrawPixel(TruncCell(xDroplet[c]), TruncCell(yDroplet[c] - k), (unsigned char)colour, BLEND_NORMAL);
            yDroplet[c] = yDroplet[c] + step;
            // Written so that a drop gone NaN restarts at the top as well.
            if (!(yDroplet[c] <= 36))
                yDroplet[c] = 0;
        }
}

void endlessworms(float t, e_blendMode mode)
{
    FillBlock(0);
    for (int i = 0; i < 32; i++) {
        const double u = (t - 64 * i) / 500, s = sin(u);
        DrawCircle((float)(18 * s + 21), (float)(10 * s * cos(u) + 8), 2, (unsigned char)(32 - i), mode);
    }
}
