// paint_bezel: moulded plastic lit from above, a recessed slope down to
// rounded dark glass, a brand badge and a power lamp.
#include "tools/assetgen/paint_bezel.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "tools/assetgen/recipe.h"
#include "tools/assetgen/rng.h"

namespace {

struct Rgbf {
    double r, g, b;
};

Rgbf F(uint32_t c)
{
    return {(double)((c >> 16) & 255), (double)((c >> 8) & 255), (double)(c & 255)};
}

Rgbf Lerp(Rgbf a, Rgbf b, double t)
{
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

Rgbf Scale(Rgbf a, double f)
{
    return {a.r * f, a.g * f, a.b * f};
}

uint32_t Pack(Rgbf c)
{
    return Rgb((int)lround(c.r), (int)lround(c.g), (int)lround(c.b));
}

double Clamp01(double v)
{
    return v < 0 ? 0 : v > 1 ? 1 : v;
}

double Smooth(double t)
{
    t = Clamp01(t);
    return t * t * (3 - 2 * t);
}

// Signed distance to a rounded rectangle (negative inside).
double RoundRect(double x, double y, double cx, double cy, double hw, double hh, double r)
{
    double qx = fabs(x - cx) - (hw - r), qy = fabs(y - cy) - (hh - r);
    double ox = qx > 0 ? qx : 0, oy = qy > 0 ? qy : 0;
    double inside = qx > qy ? qx : qy;
    return sqrt(ox * ox + oy * oy) + (inside < 0 ? inside : 0) - r;
}

// Smooth value noise on a 24-pixel lattice, in [-1, 1].
double ValueNoise(int x, int y, uint32_t seed)
{
    const int cell = 24;
    int gx = x / cell, gy = y / cell;
    double fx = Smooth((x % cell) / (double)cell), fy = Smooth((y % cell) / (double)cell);
    auto v = [&](int i, int j) { return (HashPoint(gx + i, gy + j, seed) & 0xFFFF) / 32767.5 - 1.0; };
    double top = v(0, 0) + (v(1, 0) - v(0, 0)) * fx;
    double bottom = v(0, 1) + (v(1, 1) - v(0, 1)) * fx;
    return top + (bottom - top) * fy;
}

bool Numbers(const Settings &s, const char *key, int count, int *out)
{
    std::vector<std::string> w = SplitWords(SettingText(s, key));
    if ((int)w.size() != count) {
        fprintf(stderr, "assetgen: bezel setting '%s' needs %d numbers\n", key, count);
        return false;
    }
    for (int i = 0; i < count; i++)
        out[i] = atoi(w[i].c_str());
    return true;
}

} // namespace

bool PaintBezel(const std::string &recipe, const PixFont &font, Image *out)
{
    Settings s;
    uint32_t plastic, light, dark, glass, glass_light, badge, badge_text, badge_red, lamp;
    int screen[4], margin, radius, bevel, grain, seed;
    if (!ReadSettings(recipe, &s) || !SettingColour(s, "plastic", &plastic) ||
        !SettingColour(s, "plastic_light", &light) || !SettingColour(s, "plastic_dark", &dark) ||
        !SettingColour(s, "glass", &glass) || !SettingColour(s, "glass_light", &glass_light) ||
        !SettingColour(s, "badge", &badge) || !SettingColour(s, "badge_text", &badge_text) ||
        !SettingColour(s, "badge_red", &badge_red) || !SettingColour(s, "lamp", &lamp) ||
        !Numbers(s, "screen", 4, screen) || !Numbers(s, "glass_margin", 1, &margin) ||
        !Numbers(s, "glass_radius", 1, &radius) || !Numbers(s, "bevel_width", 1, &bevel) ||
        !Numbers(s, "grain", 1, &grain) || !Numbers(s, "seed", 1, &seed))
        return false;

    const int W = 2048, H = 1152;
    Image img = MakeImage(W, H, 0xFF000000u);
    const double cx = screen[0] + screen[2] / 2.0, cy = screen[1] + screen[3] / 2.0;
    const double hw = screen[2] / 2.0 + margin, hh = screen[3] / 2.0 + margin;
    const Rgbf P = F(plastic), L = F(light), D = F(dark), G = F(glass), GL = F(glass_light);
    Rng rng = {(uint64_t)seed * 0x9E3779B97F4A7C15ULL + 1};

    for (int y = 0; y < H; y++)
        for (int x = 0; x < W; x++) {
            const double d = RoundRect(x + 0.5, y + 0.5, cx, cy, hw, hh, radius);
            Rgbf c;
            if (d < 0) {
                // Glass: a faint sheen towards the top left.
                double t = Clamp01(1.0 - ((x - screen[0]) + (y - screen[1])) / 900.0);
                c = Lerp(G, GL, 0.6 * t * t);
            } else {
                // Face: light from above, darker towards the outer edges.
                double shade = 1.08 - 0.22 * (y / (double)H);
                double ex = fabs(x - W / 2.0) / (W / 2.0), ey = fabs(y - H / 2.0) / (H / 2.0);
                shade -= 0.10 * pow(ex, 6) + 0.12 * pow(ey, 6);
                c = Scale(P, shade);
                if (d < bevel) {
                    // The slope down to the glass: the upper part faces the
                    // light less, so it is darker; a bright lip at its top.
                    double t = d / bevel;
                    double above = (cy - y) / hh;
                    double slope = 0.55 + 0.35 * t - 0.12 * above;
                    c = Lerp(Scale(D, 0.8), Scale(P, shade), Smooth(slope * t + (1 - t) * 0.15));
                    if (d > bevel - 3)
                        c = Lerp(c, L, 0.55 * (1 - fabs(d - (bevel - 1.5)) / 1.5));
                }
                if (d < 1.5)
                    c = Lerp(c, G, Clamp01(1.5 - d) * 0.7);  // soft edge onto the glass
                double n = ValueNoise(x, y, (uint32_t)seed) * grain * 0.6;
                // Sparse speckle: fine grain without turning every pixel over.
                if ((HashPoint(x, y, seed + 7) & 15) == 0)
                    n += RngSigned(rng) * grain;
                c = {c.r + n, c.g + n, c.b + n * 0.9};
            }
            img.px[(size_t)y * W + x] = Pack(c);
        }

    // Brand badge centred under the screen, power lamp to the right.
    const int by = screen[1] + screen[3] + margin + 44;
    const std::string brand = SettingText(s, "brand"), model = SettingText(s, "model");
    const int scale = 6, bw = TextWidth(font, brand, scale) + 60, bh = font.height * scale + 24;
    const int bx = (int)cx - bw / 2;
    FillRect(img, bx - 2, by - 2, bw + 4, bh + 4, Pack(Scale(P, 0.7)));
    FillRect(img, bx, by, bw, bh, badge);
    FillRect(img, bx, by, bw, 2, Mix(badge, badge_text, 0.35));
    DrawPixText(img, font, bx + 30, by + 12, brand, badge_text, scale);
    FillRect(img, bx + 12, by + 12, 8, font.height * scale, badge_red);
    DrawPixText(img, font, bx + bw + 40, by + 4 + (bh - font.height * 3) / 2, model, Pack(Scale(P, 0.55)), 3);

    const double lx = screen[0] + screen[2] - 60, ly = by + bh / 2.0;
    const Rgbf LAMP = F(lamp);
    for (int y = (int)ly - 40; y <= (int)ly + 40; y++)
        for (int x = (int)lx - 40; x <= (int)lx + 40; x++) {
            double r = hypot(x + 0.5 - lx, y + 0.5 - ly);
            Rgbf base = F(img.px[(size_t)y * W + x]);
            Rgbf c = base;
            if (r < 14)
                c = Lerp(base, Scale(P, 0.45), Clamp01(14 - r));  // socket
            if (r < 9)
                c = Lerp(c, Lerp(LAMP, F(0xFFFFFFFFu), Clamp01(1 - r / 4.0) * 0.6), Clamp01(9 - r));
            else
                c = Lerp(c, LAMP, 0.25 * exp(-(r - 9) / 8.0));  // glow on the plastic
            img.px[(size_t)y * W + x] = Pack(c);
        }
    *out = img;
    return true;
}
