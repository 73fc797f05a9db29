// Reads the process's options into one struct; every refusal says why.
#include "engine/platform/options.h"

#include "engine/platform/entry.h"

#include <errno.h>
#include <stdlib.h>
#include <string.h>

const int vxe_capturesizes[CAPTURE_SIZES][2] = {{1280, 720}, {1920, 1080}};

// A decimal number from low to high with nothing after it.
static bool readnumber(const char *text, double low, double high, double *out)
{
    char *end = nullptr;
    errno = 0;
    *out = strtod(text, &end);
    return end != text && *end == '\0' && errno == 0 && *out >= low && *out <= high;
}

static bool readsize(const char *text, int *width, int *height)
{
    for (const auto &size : vxe_capturesizes) {
        char name[24];
        snprintf(name, sizeof name, "%dx%d", size[0], size[1]);
        if (strcmp(text, name) != 0) continue;
        *width = size[0];
        *height = size[1];
        return true;
    }
    return false;
}

static void usage(const s_program &program, FILE *out)
{
    fprintf(out,
            "Usage: %s [--windowed] [--script FILE] [--help]\n"
            "       %s --capture DIR [--seconds S] [--size WxH] [--png-every N] [--script FILE]\n"
            "  --windowed      stay in a window instead of switching to full screen\n"
            "  --script FILE   play the timed pointer and key events of FILE\n"
            "  --capture DIR   record the show into DIR/floxa.mp4 and DIR/audio.wav,\n"
            "                  frame by frame on a virtual clock (15 ms a frame)\n"
            "  --seconds S     length of the capture (default %g: %s;\n"
            "                  at most %d)\n"
            "  --size WxH      picture size of the capture: 1280x720 (default) or\n"
            "                  1920x1080\n"
            "  --png-every N   also keep every Nth frame as DIR/frame-NNNNN.png\n"
            "  --help          show this text\n"
            "Escape quits. The data file %s is read from the working directory,\n"
            "or from the program's own folder when it is not there.\n",
            program.name, program.name, program.captureseconds, program.capturewhat, MAX_CAPTURE_SECONDS,
            program.archive);
}

int vxe_readoptions(int argc, char **argv, const s_program &program, s_options *options, FILE *out,
                    FILE *err)
{
    *options = s_options{0, nullptr, nullptr, program.captureseconds, 0, vxe_capturesizes[0][0],
                         vxe_capturesizes[0][1]};
    static const char *const valued[] = {"--script", "--capture", "--seconds", "--png-every", "--size"};
    const char *value[5] = {};
    for (int i = 1; i < argc; i++) {
        if (strcmp(argv[i], "--windowed") == 0) {
            options->windowed = 1;
            continue;
        }
        if (strcmp(argv[i], "--help") == 0 || strcmp(argv[i], "-h") == 0) {
            usage(program, out);
            return 0;
        }
        int known = -1;
        for (int k = 0; k < 5; k++)
            if (strcmp(argv[i], valued[k]) == 0) known = k;
        if (known < 0 || i + 1 >= argc) {
            fprintf(err, "%s: %s '%s'\n", program.name, known < 0 ? "unknown option" : "a value is missing after",
                    argv[i]);
            usage(program, err);
            return 2;
        }
        value[known] = argv[++i];
    }
    options->script = value[0];
    options->capture = value[1];
    const char *seconds = value[2], *pngevery = value[3], *size = value[4];

    if (!options->capture && (seconds || pngevery || size)) {
        fprintf(err, "%s: --seconds and --png-every go with --capture DIR, and so does --size\n", program.name);
        return 2;
    }
    if (seconds && !readnumber(seconds, 1e-3, MAX_CAPTURE_SECONDS, &options->seconds)) {
        fprintf(err, "%s: --seconds wants a number of seconds from 0.001 to %d, not '%s'\n", program.name,
                MAX_CAPTURE_SECONDS, seconds);
        return 2;
    }
    double every = 0;
    if (pngevery && (!readnumber(pngevery, 1, 1e9, &every) || every != (int)every)) {
        fprintf(err, "%s: --png-every wants a whole number of frames from 1, not '%s'\n", program.name,
                pngevery);
        return 2;
    }
    options->pngevery = (int)every;
    if (size && !readsize(size, &options->width, &options->height)) {
        fprintf(err, "%s: --size is 1280x720 or 1920x1080, not '%s'\n", program.name, size);
        return 2;
    }
    return OPTIONS_GO_ON;
}
