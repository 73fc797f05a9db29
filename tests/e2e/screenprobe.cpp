// screenprobe: the end-to-end tests' eyes on the real floxa window.
//
//   screenprobe shot WINDOW OUT.png          grabs the window's picture
//   screenprobe green SHOT.png               pixels of the boot's green text
//   screenprobe bright SHOT.png              mean brightness (0-765)
//   screenprobe locate SHOT.png ARCHIVE FX FY
//        window point showing frame pixel (FX, FY) of the copier screen
//   screenprobe region SHOT.png ARCHIVE FX0 FY0 FX1 FY1
//        mean brightness and counts of green and red pixels showing the
//        frame's box FX0..FX1 x FY0..FY1
//   screenprobe changed A.png B.png X0 Y0 X1 Y1
//        pixels of the box that differ clearly between two shots
//
// `locate` finds the breathing camera's zoom in the shot itself: the copier
// picture's strongly dark and bright spots are looked up in the shot for
// every zoom the camera can take, and the zoom under which they match best
// places the frame.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <png.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/monitor/crtgeometry.h"
#include "engine/corefile/corefile.h"
#include "engine/graphics/tga.h"

namespace {

struct Image {
    int width = 0, height = 0;
    std::vector<unsigned char> rgb;
    int sum(int x, int y) const
    {
        if (x < 0 || y < 0 || x >= width || y >= height) return 0;
        const unsigned char *p = &rgb[((size_t)y * width + x) * 3];
        return p[0] + p[1] + p[2];
    }
};

int fail(const char *what)
{
    fprintf(stderr, "screenprobe: %s\n", what);
    return 1;
}

// Xlib's default handler ends the program on an error; a failed grab is
// reported by grab() instead.
int s_xerror = 0;
int onxerror(Display *, XErrorEvent *e)
{
    s_xerror = e->error_code;
    return 0;
}

// The window's picture as the screen shows it: taken from the root window,
// so a window partly off the screen still gives its visible part (the rest
// stays black) instead of an error.
bool grab(unsigned long window, Image *img)
{
    Display *d = XOpenDisplay(nullptr);
    if (!d) return false;
    XSetErrorHandler(onxerror);
    XWindowAttributes a, r;
    Window child;
    int wx = 0, wy = 0;
    const Window root = DefaultRootWindow(d);
    bool ok = XGetWindowAttributes(d, window, &a) && XGetWindowAttributes(d, root, &r) &&
              XTranslateCoordinates(d, window, root, 0, 0, &wx, &wy, &child);
    XSync(d, False);
    ok = ok && !s_xerror && a.map_state == IsViewable;
    const int x0 = wx < 0 ? 0 : wx, y0 = wy < 0 ? 0 : wy;
    const int x1 = wx + a.width > r.width ? r.width : wx + a.width;
    const int y1 = wy + a.height > r.height ? r.height : wy + a.height;
    XImage *x = ok && x1 > x0 && y1 > y0 ? XGetImage(d, root, x0, y0, x1 - x0, y1 - y0, AllPlanes, ZPixmap) : nullptr;
    if (x) {
        img->width = a.width;
        img->height = a.height;
        img->rgb.assign((size_t)a.width * a.height * 3, 0);
        for (int y = y0; y < y1; y++)
            for (int i = x0; i < x1; i++) {
                const unsigned long p = XGetPixel(x, i - x0, y - y0);
                unsigned char *q = &img->rgb[((size_t)(y - wy) * a.width + (i - wx)) * 3];
                q[0] = (p >> 16) & 255;
                q[1] = (p >> 8) & 255;
                q[2] = p & 255;
            }
        XDestroyImage(x);
    } else {
        fprintf(stderr, "screenprobe: window 0x%lx %s\n", window,
                s_xerror ? "is gone" : ok ? "lies off the screen" : "is not shown");
    }
    XCloseDisplay(d);
    return x != nullptr;
}

bool writepng(const char *name, const Image &img)
{
    FILE *f = fopen(name, "wb");
    if (!f) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        fclose(f);
        return false;
    }
    png_init_io(png, f);
    png_set_IHDR(png, info, img.width, img.height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < img.height; y++) png_write_row(png, &img.rgb[(size_t)y * img.width * 3]);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    fclose(f);
    return true;
}

bool readpng(const char *name, Image *img)
{
    png_image p;
    memset(&p, 0, sizeof p);
    p.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&p, name)) return false;
    p.format = PNG_FORMAT_RGB;
    img->width = (int)p.width;
    img->height = (int)p.height;
    img->rgb.resize(PNG_IMAGE_SIZE(p));
    return png_image_finish_read(&p, nullptr, img->rgb.data(), 0, nullptr) != 0;
}

// The copier picture from the archive, as R, G, B bytes.
bool background(const char *archive, Image *img)
{
    if (!corefile_mountimage(archive, COREFILE_KIND_ARCHIVE)) return false;
    s_corefile f = {};
    if (!corefile_open("floxa2019_empty.tga", &f, 0)) return false;
    std::vector<unsigned char> file(f.size);
    const bool read = corefile_read(file.data(), 1, f.size, &f) == f.size;
    corefile_close(&f);
    s_tgaimage tga = {};
    if (!read || !VXE_DecodeTGA(file.data(), file.size(), &tga)) return false;
    img->width = tga.width;
    img->height = tga.height;
    img->rgb.resize((size_t)tga.width * tga.height * 3);
    for (int i = 0; i < tga.width * tga.height; i++) memcpy(&img->rgb[(size_t)i * 3], &tga.pixels[(size_t)i * 4], 3);
    VXE_FreeTGA(&tga);
    return true;
}

struct Landmark {
    double mx, my;  // where it lies on the monitor picture
    int sign;       // +1 bright, -1 dark
};

// Spots of the picture that stay as painted while the copier runs (the
// title area and the button row), dark or bright with all their neighbours.
std::vector<Landmark> landmarks(const Image &bg)
{
    const s_camera unit = CameraForZoom(1.0f);
    std::vector<Landmark> marks;
    for (int y = 1; y < 92; y += 2) {
        if (y > 55 && y < 80) continue;  // the settings fields change
        for (int x = 1; x < bg.width - 1; x += 2) {
            int lo = 765, hi = 0;
            for (int dy = -1; dy <= 1; dy++)
                for (int dx = -1; dx <= 1; dx++) {
                    const int s = bg.sum(x + dx, y + dy);
                    lo = s < lo ? s : lo;
                    hi = s > hi ? s : hi;
                }
            const int sign = hi < 120 ? -1 : lo > 450 ? 1 : 0;
            if (!sign) continue;
            // Output pixels at zoom 1 relative to that camera: the monitor's own.
            double ox, oy;
            FrameToWindow(x + 0.5, y + 0.5, OUTPUT_WIDTH, OUTPUT_HEIGHT, unit, &ox, &oy);
            marks.push_back({ox + 0.5 - unit.x, oy + 0.5 - unit.y, sign});
        }
    }
    return marks;
}

// The camera zoom under which the copier picture's landmarks match the shot.
float fitzoom(const Image &shot, const std::vector<Landmark> &marks)
{
    const double sx = (double)shot.width / OUTPUT_WIDTH, sy = (double)shot.height / OUTPUT_HEIGHT;
    double best = -1e30;
    float bestzoom = 1.25f;
    for (float z = 1.04f; z <= 1.46f; z += 0.0002f) {
        const s_camera c = CameraForZoom(z);
        const double kx = (double)c.w / MONITOR_WIDTH, ky = (double)c.h / MONITOR_HEIGHT;
        double score = 0;
        for (const Landmark &m : marks)
            score += m.sign * shot.sum((int)((c.x + m.mx * kx) * sx), (int)((c.y + m.my * ky) * sy));
        if (score > best) best = score, bestzoom = z;
    }
    fprintf(stderr, "screenprobe: zoom %.4f\n", bestzoom);
    return bestzoom;
}

int locate(const Image &shot, const s_camera &cam, double fx, double fy)
{
    double wx, wy;
    FrameToWindow(fx + 0.5, fy + 0.5, shot.width, shot.height, cam, &wx, &wy);
    printf("%d %d\n", (int)(wx + 0.5), (int)(wy + 0.5));
    return 0;
}

int region(const Image &shot, const s_camera &cam, int fx0, int fy0, int fx1, int fy1)
{
    long long sum = 0, n = 0, green = 0, red = 0;
    for (int y = 0; y < shot.height; y++)
        for (int x = 0; x < shot.width; x++) {
            int fx, fy;
            WindowToFrame(x, y, shot.width, shot.height, cam, true, &fx, &fy);
            if (fx < fx0 || fx > fx1 || fy < fy0 || fy > fy1) continue;
            const unsigned char *p = &shot.rgb[((size_t)y * shot.width + x) * 3];
            sum += p[0] + p[1] + p[2];
            green += p[1] > 100 && p[0] < p[1] / 2 && p[2] < p[1] / 2;
            red += p[0] > 100 && p[1] < p[0] / 2 && p[2] < p[0] / 2;
            n++;
        }
    printf("%lld %lld %lld\n", n ? sum / n : 0, green, red);
    return 0;
}

}  // namespace

int main(int argc, char **argv)
{
    const std::string cmd = argc > 1 ? argv[1] : "";
    Image a, b;
    if (cmd == "shot" && argc == 4) {
        if (!grab(strtoul(argv[2], nullptr, 0), &a)) return fail("cannot grab the window");
        return writepng(argv[3], a) ? 0 : fail("cannot write the picture");
    }
    if ((cmd == "green" || cmd == "bright") && argc == 3) {
        if (!readpng(argv[2], &a)) return fail("cannot read the shot");
        long long n = 0;
        for (size_t i = 0; i < a.rgb.size(); i += 3) {
            const int r = a.rgb[i], g = a.rgb[i + 1], bl = a.rgb[i + 2];
            n += cmd == "green" ? (g > 120 && r < g / 3 && bl < g / 3) : r + g + bl;
        }
        printf("%lld\n", cmd == "green" ? n : n / (long long)(a.rgb.size() / 3));
        return 0;
    }
    if ((cmd == "locate" && argc == 6) || (cmd == "region" && argc == 8)) {
        if (!readpng(argv[2], &a)) return fail("cannot read the shot");
        if (!background(argv[3], &b)) return fail("cannot read the copier picture from the archive");
        const std::vector<Landmark> marks = landmarks(b);
        if (marks.size() < 100) return fail("the copier picture has too few landmarks");
        const s_camera cam = CameraForZoom(fitzoom(a, marks));
        if (cmd == "locate") return locate(a, cam, atof(argv[4]), atof(argv[5]));
        return region(a, cam, atoi(argv[4]), atoi(argv[5]), atoi(argv[6]), atoi(argv[7]));
    }
    if (cmd == "changed" && argc == 8) {
        if (!readpng(argv[2], &a) || !readpng(argv[3], &b) || a.width != b.width || a.height != b.height)
            return fail("cannot read two shots of one size");
        const int x0 = atoi(argv[4]), y0 = atoi(argv[5]), x1 = atoi(argv[6]), y1 = atoi(argv[7]);
        int n = 0;
        for (int y = y0; y <= y1; y++)
            for (int x = x0; x <= x1; x++) n += abs(a.sum(x, y) - b.sum(x, y)) > 120;
        printf("%d\n", n);
        return 0;
    }
    fprintf(stderr,
            "usage: screenprobe shot WINDOW OUT.png | green SHOT | bright SHOT |\n"
            "       locate SHOT ARCHIVE FX FY | region SHOT ARCHIVE FX0 FY0 FX1 FY1 |\n"
            "       changed A B X0 Y0 X1 Y1\n");
    return 2;
}
