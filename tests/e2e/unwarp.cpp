// unwarp: the copier's own 320x200 pixels out of a picture of the window
// (a grab, or a frame of `floxa --capture`). Each copier point is read where
// the breathing camera and the CRT curve put it, between the four window
// pixels around it, so a box reads the same at any zoom and the e2e scripts
// can crop, count and compare it with ImageMagick.
//
//   unwarp CAMERA SHOT.png X0 Y0 X1 Y1 STEP OUT.png
//        the box X0..X1 x Y0..Y1 (inclusive) as a picture, one pixel per
//        STEP x STEP cell, read at the cell's centre; what the window does
//        not show there comes out magenta
//   unwarp CAMERA SHOT.png X Y
//        prints the window pixel nearest to where copier pixel X,Y shows
//        that the pointer map takes back to X,Y: a click there hits it
//
// CAMERA is `--frame N` for capture frame N, or `--fit COPIER.png` for a
// grab, whose frame nobody knows: the zoom under which the shot looks most
// like the copier picture (from the archive) places the screen.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "app/monitor/crtgeometry.h"
#include "engine/capture/pngframe.h"

namespace {

struct Picture {
    int width = 0, height = 0;
    uint8_t *rgb = nullptr;
    ~Picture() { free(rgb); }
    // Channel c of pixel (x, y), or with c = 3 the sum of all three; 0 off it.
    int at(int x, int y, int c) const
    {
        if (x < 0 || y < 0 || x >= width || y >= height) return 0;
        const uint8_t *p = rgb + ((size_t)y * width + x) * 3;
        return c < 3 ? p[c] : p[0] + p[1] + p[2];
    }
    // The same between the four pixels around window point (wx, wy).
    double between(double wx, double wy, int c) const
    {
        const int ix = (int)floor(wx), iy = (int)floor(wy);
        const double ax = wx - ix, ay = wy - iy;
        return (at(ix, iy, c) * (1 - ax) + at(ix + 1, iy, c) * ax) * (1 - ay) +
               (at(ix, iy + 1, c) * (1 - ax) + at(ix + 1, iy + 1, c) * ax) * ay;
    }
};

bool load(const char *name, Picture *p)
{
    p->rgb = pngframe_read(name, &p->width, &p->height);
    if (!p->rgb) fprintf(stderr, "unwarp: cannot read %s\n", name);
    return p->rgb != nullptr;
}

// The zoom under which the shot correlates best with the copier picture
// over the rows that stay as painted (the title area and the button row;
// the settings fields between them change). A copier pixel's place scales
// with the zoom from its place at zoom 1, so the curve is inverted once.
float fitzoom(const Picture &shot, const Picture &copier)
{
    struct Point {
        double mx, my;  // in output pixels from the camera's corner, at zoom 1
        double paint;   // its brightness on the copier picture
    };
    const s_camera unit = CameraForZoom(1.0f);
    std::vector<Point> points;
    for (int y = 1; y < 92; y++)
        for (int x = 1; x < FRAME_WIDTH - 1 && (y < 56 || y > 79); x++) {
            double ox, oy;
            FrameToWindow(x + 0.5, y + 0.5, OUTPUT_WIDTH, OUTPUT_HEIGHT, unit, &ox, &oy);
            points.push_back({ox + 0.5 - unit.x, oy + 0.5 - unit.y, (double)copier.at(x, y, 3)});
        }
    double sa = 0, saa = 0;
    for (const Point &p : points) sa += p.paint, saa += p.paint * p.paint;
    const double n = (double)points.size(), sx = (double)shot.width / OUTPUT_WIDTH,
                 sy = (double)shot.height / OUTPUT_HEIGHT;
    auto correlation = [&](float z) {
        const s_camera c = CameraForZoom(z);
        const double kx = (double)c.w / MONITOR_WIDTH, ky = (double)c.h / MONITOR_HEIGHT;
        double sb = 0, sbb = 0, sab = 0;
        for (const Point &p : points) {
            const double b = shot.between((c.x + p.mx * kx) * sx - 0.5, (c.y + p.my * ky) * sy - 0.5, 3);
            sb += b, sbb += b * b, sab += p.paint * b;
        }
        return (n * sab - sa * sb) / sqrt((n * saa - sa * sa) * (n * sbb - sb * sb) + 1e-9);
    };
    // The camera's whole range in coarse steps, then finely around the best.
    float best = 1.25f;
    for (int fine = 0; fine < 2; fine++) {
        const float from = fine ? best - 0.003f : 1.05f, to = fine ? best + 0.003f : 1.45f, step = fine ? 0.0001f : 0.001f;
        double top = -2;
        for (float z = from; z <= to + step / 2; z += step) {
            const double r = correlation(z);
            if (r > top) top = r, best = z;
        }
    }
    return best;
}

// Copier point (fx, fy) read off the shot; magenta where the window does
// not show it.
void sample(const Picture &shot, const s_camera &cam, double fx, double fy, uint8_t *out)
{
    double wx, wy;
    FrameToWindow(fx, fy, shot.width, shot.height, cam, &wx, &wy);
    const bool off = wx < 0 || wy < 0 || wx >= shot.width - 1 || wy >= shot.height - 1;
    for (int c = 0; c < 3; c++) out[c] = off ? (c == 1 ? 0 : 255) : (uint8_t)lround(shot.between(wx, wy, c));
}

int usage()
{
    fprintf(stderr, "usage: unwarp --frame N | --fit COPIER.png  SHOT.png X0 Y0 X1 Y1 STEP OUT.png | SHOT.png X Y\n");
    return 2;
}

}  // namespace

int main(int argc, char **argv)
{
    if (argc != 6 && argc != 10) return usage();
    Picture shot, copier;
    int n[5] = {0, 0, 0, 0, 1};
    for (int i = 4; i < argc && i < 9; i++) n[i - 4] = atoi(argv[i]);
    const int s = n[4], w = s > 0 ? (n[2] - n[0] + 1) / s : 0, h = s > 0 ? (n[3] - n[1] + 1) / s : 0;
    if (argc == 10 && (w < 1 || h < 1 || w * s != n[2] - n[0] + 1 || h * s != n[3] - n[1] + 1)) {
        fprintf(stderr, "unwarp: box %s %s %s %s does not hold whole %sx%s cells\n", argv[4], argv[5], argv[6],
                argv[7], argv[8], argv[8]);
        return 2;
    }
    if (!load(argv[3], &shot)) return 2;
    s_camera cam;
    if (!strcmp(argv[1], "--frame")) cam = CameraAt(atoi(argv[2]));
    else if (strcmp(argv[1], "--fit")) return usage();
    else if (load(argv[2], &copier)) cam = CameraForZoom(fitzoom(shot, copier));
    else return 2;

    if (argc == 6) {
        double wx, wy;
        FrameToWindow(n[0] + 0.5, n[1] + 0.5, shot.width, shot.height, cam, &wx, &wy);
        for (int r = 0; r <= 3; r++)
            for (int dy = -r; dy <= r; dy++)
                for (int dx = -r; dx <= r; dx++) {
                    const int x = (int)floor(wx) + dx, y = (int)floor(wy) + dy;
                    int bx, by;
                    WindowToFrame(x, y, shot.width, shot.height, cam, true, &bx, &by);
                    if (bx == n[0] && by == n[1]) {
                        printf("%d %d\n", x, y);
                        return 0;
                    }
                }
        fprintf(stderr, "unwarp: no window pixel of %s maps back to %d,%d\n", argv[3], n[0], n[1]);
        return 1;
    }
    std::vector<uint8_t> out((size_t)w * h * 3);
    for (int j = 0; j < h; j++)
        for (int i = 0; i < w; i++)
            sample(shot, cam, n[0] + i * s + s / 2.0, n[1] + j * s + s / 2.0, &out[((size_t)j * w + i) * 3]);
    if (pngframe_writeimage(argv[9], out.data(), w, h, 3)) return 0;
    fprintf(stderr, "unwarp: cannot write %s\n", argv[9]);
    return 2;
}
