// pngcompare: looks at the PNG frames of `floxa --capture` in the copier's
// own 320x200 pixels. Each copier pixel is read where the breathing camera
// and the CRT curve put it on that frame, so a box reads the same at any
// zoom, and frames far apart can be compared with each other.
//
//   pngcompare crop FRAME.png X0 Y0 X1 Y1 OUT.png
//        writes the box X0..X1 x Y0..Y1 (inclusive) as a picture; what the
//        window does not show there comes out magenta
//   pngcompare check FRAME.png X0 Y0 X1 Y1 REF.png [DIFF.png]
//        the box must match REF
//   pngcompare same A.png B.png X0 Y0 X1 Y1 [DIFF.png]
//        the box must read the same on both frames
//   pngcompare changed A.png B.png X0 Y0 X1 Y1 IX0 IY0 IX1 IY1 [DIFF.png]
//        from A to B the box changed inside IX0..IX1 x IY0..IY1 and nowhere
//        else (an inner box equal to the box: it changed at all)
//
// Options, before the command:
//   --step N       read one pixel per N x N cell, at the cell's centre,
//                  for boxes too large to keep whole (default 1)
//   --tolerance N  largest per-channel difference that still matches (48)
//   --share P      per cent of the pixels allowed off (0.25)
//   --least N      pixels that must change inside the inner box (4)
//
// The capture frame a picture shows is the last number in its name
// (frame-01020.png is frame 1020). Each command prints one line saying
// what it compared and how far off it was. Exit status 0 when the check
// holds, 1 when it does not (with the difference picture written, if one
// was named: both sides and the pixels off in red, enlarged), 2 on a usage
// or file error.
#include <png.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/monitor/crtgeometry.h"

namespace {

struct Image {
    int width = 0, height = 0;
    std::vector<unsigned char> rgb;
    unsigned char *at(int x, int y) { return &rgb[((size_t)y * width + x) * 3]; }
    const unsigned char *at(int x, int y) const { return &rgb[((size_t)y * width + x) * 3]; }
};

struct Box {
    int x0, y0, x1, y1;
    bool inside(double x, double y) const { return x >= x0 && x < x1 + 1 && y >= y0 && y < y1 + 1; }
};

struct Options {
    int step = 1;
    int tolerance = 48;
    double share = 0.25;
    int least = 4;
};

Options opt;

// The copier point read for sample (i, j) of a box: the centre of its cell.
double samplex(const Box &b, int i) { return b.x0 + i * opt.step + opt.step / 2.0; }
double sampley(const Box &b, int j) { return b.y0 + j * opt.step + opt.step / 2.0; }

bool readpng(const std::string &name, Image *img)
{
    png_image p;
    memset(&p, 0, sizeof p);
    p.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&p, name.c_str())) {
        fprintf(stderr, "pngcompare: cannot read %s: %s\n", name.c_str(), p.message);
        return false;
    }
    p.format = PNG_FORMAT_RGB;
    img->width = (int)p.width;
    img->height = (int)p.height;
    img->rgb.resize(PNG_IMAGE_SIZE(p));
    if (!png_image_finish_read(&p, nullptr, img->rgb.data(), 0, nullptr)) {
        fprintf(stderr, "pngcompare: cannot decode %s: %s\n", name.c_str(), p.message);
        return false;
    }
    return true;
}

bool writepng(const std::string &name, const Image &img)
{
    png_image p;
    memset(&p, 0, sizeof p);
    p.version = PNG_IMAGE_VERSION;
    p.width = (png_uint_32)img.width;
    p.height = (png_uint_32)img.height;
    p.format = PNG_FORMAT_RGB;
    if (!png_image_write_to_file(&p, name.c_str(), 0, img.rgb.data(), 0, nullptr)) {
        fprintf(stderr, "pngcompare: cannot write %s: %s\n", name.c_str(), p.message);
        return false;
    }
    return true;
}

std::string base(const std::string &name)
{
    const size_t slash = name.find_last_of('/');
    return slash == std::string::npos ? name : name.substr(slash + 1);
}

// The capture frame a picture shows: the last number in its file name.
bool frameof(const std::string &name, int *frame)
{
    const std::string b = base(name);
    int found = -1;
    for (size_t i = 0; i < b.size();) {
        if (!isdigit((unsigned char)b[i])) {
            i++;
            continue;
        }
        found = 0;
        for (; i < b.size() && isdigit((unsigned char)b[i]); i++) found = found * 10 + (b[i] - '0');
    }
    if (found < 0) {
        fprintf(stderr, "pngcompare: %s names no frame number\n", name.c_str());
        return false;
    }
    *frame = found;
    return true;
}

// The box read off a captured window picture: each sample's copier point
// taken where that frame's camera shows it, between the four window pixels
// around it. Points the window does not show fail the read unless
// `outside` lets them through (painted magenta).
bool sample(const std::string &name, const Box &box, Image *out, bool outside = false)
{
    Image shot;
    int frame;
    if (!frameof(name, &frame) || !readpng(name, &shot)) return false;
    const s_camera cam = CameraAt(frame);
    out->width = (box.x1 - box.x0 + 1) / opt.step;
    out->height = (box.y1 - box.y0 + 1) / opt.step;
    out->rgb.assign((size_t)out->width * out->height * 3, 0);
    for (int j = 0; j < out->height; j++)
        for (int i = 0; i < out->width; i++) {
            double wx, wy;
            FrameToWindow(samplex(box, i), sampley(box, j), shot.width, shot.height, cam, &wx, &wy);
            const int ix = (int)floor(wx), iy = (int)floor(wy);
            unsigned char *q = out->at(i, j);
            if (ix < 0 || iy < 0 || ix + 1 >= shot.width || iy + 1 >= shot.height) {
                if (outside) {
                    q[0] = q[2] = 255;
                    continue;
                }
                fprintf(stderr, "pngcompare: copier point %.1f,%.1f lies outside %s\n", samplex(box, i),
                        sampley(box, j), name.c_str());
                return false;
            }
            const double fx = wx - ix, fy = wy - iy;
            for (int c = 0; c < 3; c++) {
                const double top = shot.at(ix, iy)[c] * (1 - fx) + shot.at(ix + 1, iy)[c] * fx;
                const double bottom = shot.at(ix, iy + 1)[c] * (1 - fx) + shot.at(ix + 1, iy + 1)[c] * fx;
                q[c] = (unsigned char)lround(top * (1 - fy) + bottom * fy);
            }
        }
    return true;
}

int pixeldiff(const unsigned char *a, const unsigned char *b)
{
    int d = 0;
    for (int c = 0; c < 3; c++) d = std::max(d, abs(a[c] - b[c]));
    return d;
}

struct Tally {
    long pixels = 0, off = 0;            // outside the inner box (all of it without one)
    long innerpixels = 0, inneroff = 0;  // inside it
    int largest = 0;                     // outside it
};

bool ininner(const Box *inner, const Box &box, int i, int j)
{
    return inner && inner->inside(samplex(box, i), sampley(box, j));
}

Tally tally(const Image &a, const Image &b, const Box *inner, const Box &box)
{
    Tally t;
    for (int j = 0; j < a.height; j++)
        for (int i = 0; i < a.width; i++) {
            const int d = pixeldiff(a.at(i, j), b.at(i, j));
            if (ininner(inner, box, i, j)) {
                t.innerpixels++;
                t.inneroff += d > opt.tolerance;
            } else {
                t.pixels++;
                t.off += d > opt.tolerance;
                t.largest = std::max(t.largest, d);
            }
        }
    return t;
}

// Three panels one above the other, enlarged: A (or the reference), B (or
// the frame), and B dimmed with every pixel off in red; the inner box of
// `changed` is drawn in yellow where nothing is off.
bool writediff(const std::string &name, const Image &a, const Image &b, const Box *inner, const Box &box)
{
    const int scale = 4 * opt.step, gap = 2;
    Image out;
    out.width = a.width * scale;
    out.height = 3 * a.height * scale + 2 * gap;
    out.rgb.assign((size_t)out.width * out.height * 3, 40);
    for (int j = 0; j < a.height; j++)
        for (int i = 0; i < a.width; i++) {
            const unsigned char *p = b.at(i, j);
            const unsigned char grey = (unsigned char)((p[0] + p[1] + p[2]) / 9);
            unsigned char marked[3] = {grey, grey, grey};
            if (pixeldiff(a.at(i, j), p) > opt.tolerance) marked[0] = 255, marked[1] = marked[2] = 0;
            else if (ininner(inner, box, i, j)) marked[0] = marked[1] = 120;
            const unsigned char *panels[3] = {a.at(i, j), p, marked};
            for (int k = 0; k < 3; k++)
                for (int dy = 0; dy < scale; dy++)
                    for (int dx = 0; dx < scale; dx++)
                        memcpy(out.at(i * scale + dx, k * (a.height * scale + gap) + j * scale + dy), panels[k], 3);
        }
    return writepng(name, out);
}

bool number(const char *text, int *value)
{
    char *end;
    const long v = strtol(text, &end, 10);
    if (*end || end == text || v < -1000000 || v > 1000000) return false;
    *value = (int)v;
    return true;
}

bool share(const char *text, double *value)
{
    char *end;
    *value = strtod(text, &end);
    return !*end && end != text && *value >= 0 && *value <= 100;
}

// A box within the copier screen whose sides hold whole cells.
bool parsebox(char **argv, Box *box)
{
    if (!number(argv[0], &box->x0) || !number(argv[1], &box->y0) || !number(argv[2], &box->x1) ||
        !number(argv[3], &box->y1))
        return false;
    if (box->x1 < box->x0 || box->y1 < box->y0 || box->x0 < 0 || box->y0 < 0 || box->x1 >= FRAME_WIDTH ||
        box->y1 >= FRAME_HEIGHT) {
        fprintf(stderr, "pngcompare: box %s %s %s %s is not within the copier's 320x200\n", argv[0], argv[1],
                argv[2], argv[3]);
        return false;
    }
    if ((box->x1 - box->x0 + 1) % opt.step || (box->y1 - box->y0 + 1) % opt.step) {
        fprintf(stderr, "pngcompare: box %s %s %s %s does not hold whole %dx%d cells\n", argv[0], argv[1],
                argv[2], argv[3], opt.step, opt.step);
        return false;
    }
    return true;
}

std::string describe(const Box &b)
{
    char text[80];
    snprintf(text, sizeof text, "%d,%d-%d,%d", b.x0, b.y0, b.x1, b.y1);
    if (opt.step > 1) snprintf(text + strlen(text), sizeof text - strlen(text), " (step %d)", opt.step);
    return text;
}

int usage()
{
    fprintf(stderr,
            "usage: pngcompare [--step N] [--tolerance N] [--share P] [--least N] COMMAND ...\n"
            "  crop FRAME.png X0 Y0 X1 Y1 OUT.png\n"
            "  check FRAME.png X0 Y0 X1 Y1 REF.png [DIFF.png]\n"
            "  same A.png B.png X0 Y0 X1 Y1 [DIFF.png]\n"
            "  changed A.png B.png X0 Y0 X1 Y1 IX0 IY0 IX1 IY1 [DIFF.png]\n");
    return 2;
}

// Prints the outcome line; writes the difference picture when it failed.
int report(const std::string &what, bool ok, const Tally &t, const std::string &extra, const char *diff,
           const Image &a, const Image &b, const Box *inner, const Box &box)
{
    printf("%s: %ld of %ld pixels off by more than %d (%.2f%%, %.2f%% allowed), largest difference %d%s: %s\n",
           what.c_str(), t.off, t.pixels, opt.tolerance, t.pixels ? 100.0 * t.off / t.pixels : 0.0, opt.share,
           t.largest, extra.c_str(), ok ? "ok" : "FAILED");
    if (!ok && diff && writediff(diff, a, b, inner, box)) printf("  difference picture: %s\n", diff);
    return ok ? 0 : 1;
}

bool within(const Tally &t) { return t.off <= t.pixels * opt.share / 100.0; }

}  // namespace

int main(int argc, char **argv)
{
    int i = 1;
    for (; i + 1 < argc && !strncmp(argv[i], "--", 2); i += 2) {
        const char *v = argv[i + 1];
        const bool ok = !strcmp(argv[i], "--step")        ? number(v, &opt.step) && opt.step >= 1
                        : !strcmp(argv[i], "--tolerance") ? number(v, &opt.tolerance) && opt.tolerance >= 0
                        : !strcmp(argv[i], "--least")     ? number(v, &opt.least) && opt.least >= 0
                        : !strcmp(argv[i], "--share")     ? share(v, &opt.share)
                                                          : false;
        if (!ok) return usage();
    }
    if (i >= argc) return usage();
    const std::string cmd = argv[i];
    char **arg = argv + i + 1;
    const int n = argc - i - 1;
    Box box, inner;

    if (cmd == "crop" && n == 6) {
        Image img;
        if (!parsebox(arg + 1, &box) || !sample(arg[0], box, &img, true) || !writepng(arg[5], img)) return 2;
        printf("crop %s box %s -> %s\n", base(arg[0]).c_str(), describe(box).c_str(), arg[5]);
        return 0;
    }
    if (cmd == "check" && (n == 6 || n == 7)) {
        Image ref, got;
        if (!parsebox(arg + 1, &box) || !readpng(arg[5], &ref) || !sample(arg[0], box, &got)) return 2;
        if (ref.width != got.width || ref.height != got.height) {
            fprintf(stderr, "pngcompare: %s is %dx%d, the box %s reads %dx%d\n", arg[5], ref.width, ref.height,
                    describe(box).c_str(), got.width, got.height);
            return 2;
        }
        const Tally t = tally(ref, got, nullptr, box);
        return report("check " + base(arg[0]) + " box " + describe(box) + " against " + base(arg[5]), within(t),
                      t, "", n == 7 ? arg[6] : nullptr, ref, got, nullptr, box);
    }
    if (cmd == "same" && (n == 6 || n == 7)) {
        Image a, b;
        if (!parsebox(arg + 2, &box) || !sample(arg[0], box, &a) || !sample(arg[1], box, &b)) return 2;
        const Tally t = tally(a, b, nullptr, box);
        return report("same " + base(arg[0]) + " and " + base(arg[1]) + " box " + describe(box), within(t), t,
                      "", n == 7 ? arg[6] : nullptr, a, b, nullptr, box);
    }
    if (cmd == "changed" && (n == 10 || n == 11)) {
        Image a, b;
        if (!parsebox(arg + 2, &box) || !parsebox(arg + 6, &inner) || !sample(arg[0], box, &a) ||
            !sample(arg[1], box, &b))
            return 2;
        const Tally t = tally(a, b, &inner, box);
        char extra[128];
        snprintf(extra, sizeof extra, "; inside %d,%d-%d,%d %ld of %ld changed (%d needed)", inner.x0, inner.y0,
                 inner.x1, inner.y1, t.inneroff, t.innerpixels, opt.least);
        return report("changed " + base(arg[0]) + " to " + base(arg[1]) + " box " + describe(box),
                      within(t) && t.inneroff >= opt.least, t, extra, n == 11 ? arg[10] : nullptr, a, b, &inner,
                      box);
    }
    return usage();
}
