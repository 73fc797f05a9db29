// Process entry. Reads the platform options, opens the message window, runs
// coremain on the application thread and pumps window events on this one
// until the application ends or the user closes the window.
#include "app/frameloop.h"
#include "app/monitor/crtgeometry.h"
#include "engine/capture/capture.h"
#include "engine/platform/inputscript.h"
#include "engine/platform/sdl_driver.h"

#include <atomic>
#include <chrono>
#include <errno.h>
#include <limits.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <thread>
#include <unistd.h>

static const char *s_archive = "floxa.dat";
// How long a closed window waits for the application to finish its frame.
// Loading does not look at the window, so after this the process ends where
// it stands.
static const int CLOSE_WAIT_MS = 3000;

// The boot (880 frames) and the first part of the show (7680 ms).
static const int DEFAULT_SECONDS = 21;
// The WAV's 32-bit lengths end at about six and a half hours.
static const int MAX_SECONDS = 6 * 3600;

static std::atomic<int> s_finished{0};
static int s_result = 0;

// A decimal number from low to high with nothing after it.
static bool readnumber(const char *text, double low, double high, double *out)
{
    char *end = nullptr;
    errno = 0;
    *out = strtod(text, &end);
    return end != text && *end == '\0' && errno == 0 && *out >= low && *out <= high;
}

static void usage(FILE *out)
{
    fprintf(out,
            "Usage: floxa [--windowed] [--script FILE] [--help]\n"
            "       floxa --capture DIR [--seconds S] [--png-every N] [--script FILE]\n"
            "  --windowed      stay in a window instead of switching to full screen\n"
            "  --script FILE   play the timed pointer and key events of FILE\n"
            "  --capture DIR   record the show into DIR/floxa.mp4 and DIR/audio.wav,\n"
            "                  frame by frame on a virtual clock (15 ms a frame)\n"
            "  --seconds S     length of the capture (default %d: the boot and the\n"
            "                  show's first part; at most %d)\n"
            "  --png-every N   also keep every Nth frame as DIR/frame-NNNNN.png\n"
            "  --help          show this text\n"
            "Escape quits. The data file %s is read from the working directory,\n"
            "or from the program's own folder when it is not there.\n",
            DEFAULT_SECONDS, MAX_SECONDS, s_archive);
}

// Started from elsewhere (a desktop icon, another folder), the program still
// finds the archive that sits beside it.
static void findarchive()
{
    if (access(s_archive, R_OK) == 0) return;
    char exe[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", exe, sizeof exe - 1);
    if (n <= 0) return;
    exe[n] = '\0';
    char *slash = strrchr(exe, '/');
    if (!slash) return;
    *slash = '\0';
    char beside[PATH_MAX];
    if (snprintf(beside, sizeof beside, "%s/%s", exe, s_archive) >= (int)sizeof beside) return;
    if (access(beside, R_OK) == 0 && chdir(exe) != 0)
        printf("[VXE] Cannot change to %s\n", exe);
}

// The system hands argv over already split; CommandLineToArgvA serves a
// command line that arrives as one text.
static void appthread(int argc, char **argv)
{
    s_result = coremain(argc, argv);
    s_finished = 1;
    vxe_postquit();
}

int main(int argc, char **argv)
{
    // Diagnostic lines reach a pipe as they are written, not at exit.
    setvbuf(stdout, nullptr, _IOLBF, 0);

    int windowed = 0;
    const char *script = nullptr;
    const char *seconds = nullptr, *pngevery = nullptr;
    s_captureoptions capture = {nullptr, DEFAULT_SECONDS, 0, nullptr};
    for (int i = 1; i < argc; i++) {
        const char *value = i + 1 < argc ? argv[i + 1] : nullptr;
        if (strcmp(argv[i], "--windowed") == 0) {
            windowed = 1;
        } else if (strcmp(argv[i], "--help") == 0 || strcmp(argv[i], "-h") == 0) {
            usage(stdout);
            return 0;
        } else if (value && strcmp(argv[i], "--script") == 0) {
            script = argv[++i];
        } else if (value && strcmp(argv[i], "--capture") == 0) {
            capture.dir = argv[++i];
        } else if (value && strcmp(argv[i], "--seconds") == 0) {
            seconds = argv[++i];
        } else if (value && strcmp(argv[i], "--png-every") == 0) {
            pngevery = argv[++i];
        } else {
            const bool wantsvalue = strcmp(argv[i], "--script") == 0 || strcmp(argv[i], "--capture") == 0 ||
                                    strcmp(argv[i], "--seconds") == 0 || strcmp(argv[i], "--png-every") == 0;
            fprintf(stderr, "floxa: %s '%s'\n", wantsvalue ? "a value is missing after" : "unknown option",
                    argv[i]);
            usage(stderr);
            return 2;
        }
    }
    if (!capture.dir && (seconds || pngevery)) {
        fprintf(stderr, "floxa: --seconds and --png-every go with --capture DIR\n");
        return 2;
    }
    if (seconds && !readnumber(seconds, 1e-3, MAX_SECONDS, &capture.seconds)) {
        fprintf(stderr, "floxa: --seconds wants a number of seconds from 0.001 to %d, not '%s'\n",
                MAX_SECONDS, seconds);
        return 2;
    }
    double every = 0;
    if (pngevery && (!readnumber(pngevery, 1, 1e9, &every) || every != (int)every)) {
        fprintf(stderr, "floxa: --png-every wants a whole number of frames from 1, not '%s'\n", pngevery);
        return 2;
    }
    capture.pngevery = (int)every;
    capture.script = script;

    // A script is read before the archive is looked for, which may change
    // the working folder; a malformed one stops everything before it starts.
    char error[512];
    int started = capture.dir ? vxe_startcapture(&capture, error, sizeof error)
                              : !script || vxe_startinputscript(script, error, sizeof error);
    if (!started) {
        fprintf(stderr, "floxa: %s\n", error);
        return 2;
    }
    if (const s_scriptevent *off = vxe_scriptoutside(FRAME_WIDTH, FRAME_HEIGHT))
        fprintf(stderr,
                "floxa: %s:%d: the pointer goes to (%d, %d), outside the %dx%d screen: the cursor "
                "stays at its edge and a press there hits no control\n",
                script, off->line, off->x, off->y, FRAME_WIDTH, FRAME_HEIGHT);
    findarchive();
    // A capture records the window's own size, never a full screen.
    vxe_setwindowed(windowed || capture.dir);
    if (!vxe_openmessagewindow()) {
        if (capture.dir) vxe_finishcapture();
        puts("floxa needs a display. Without one, scripts/run.sh records the show to video\n"
             "instead (floxa --capture DIR under xvfb-run).");
        return 1;
    }

    std::thread app(appthread, argc, argv);
    while (vxe_pumpmessages()) {
    }

    // The user closed the window: the frame loop sees it and finishes its
    // frame. Killing the thread mid-frame is not safe with a GL context and
    // an audio device in use, so wait for it, but not forever.
    for (int waited = 0; !s_finished && waited < CLOSE_WAIT_MS; waited += 5)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    const int lost = capture.dir ? vxe_finishcapture() : 0;
    if (!s_finished) {
        fflush(stdout);
        _exit(lost);
    }
    app.join();
    vxe_destroymessagewindow();
    return s_result ? s_result : lost;
}
