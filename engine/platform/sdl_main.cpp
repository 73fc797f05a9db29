// The desktop's process entry. Reads the options, opens the message
// window, runs the program's coremain on the application thread and pumps
// window events on this one until the program ends or the user closes the
// window.
#include "engine/capture/capture.h"
#include "engine/platform/backend.h"
#include "engine/platform/entry.h"
#include "engine/platform/inputscript.h"
#include "engine/platform/options.h"

#include <atomic>
#include <chrono>
#include <limits.h>
#include <stdio.h>
#include <string.h>
#include <thread>
#include <unistd.h>

// How long a closed window waits for the application to finish its frame.
// Loading does not look at the window, so after this the process ends where
// it stands.
static const int CLOSE_WAIT_MS = 3000;

static std::atomic<int> g_finished{0};
static int g_result = 0;

// Started from elsewhere (a desktop icon, another folder), the program still
// finds the archive that sits beside it.
static void findarchive(const char *archive)
{
    if (access(archive, R_OK) == 0) return;
    char exe[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", exe, sizeof exe - 1);
    if (n <= 0) return;
    exe[n] = '\0';
    char *slash = strrchr(exe, '/');
    if (!slash) return;
    *slash = '\0';
    char beside[PATH_MAX];
    if (snprintf(beside, sizeof beside, "%s/%s", exe, archive) >= (int)sizeof beside) return;
    if (access(beside, R_OK) == 0 && chdir(exe) != 0)
        printf("[VXE] Cannot change to %s\n", exe);
}

// The system hands argv over already split; CommandLineToArgvA serves a
// command line that arrives as one text.
static void appthread(int argc, char **argv)
{
    g_result = coremain(argc, argv);
    g_finished = 1;
    vxe_postquit();
}

// Reads the script, or starts the capture that plays it; a malformed
// script stops everything before it starts.
static bool startinput(const s_options &options)
{
    char error[512];
    const s_captureoptions capture = {options.capture, options.seconds, options.pngevery, options.script,
                                      options.width, options.height};
    const int started = options.capture ? vxe_startcapture(&capture, error, sizeof error)
                                        : !options.script || vxe_startinputscript(options.script, error, sizeof error);
    if (!started) {
        fprintf(stderr, "%s: %s\n", vxe_program.name, error);
        return false;
    }
    const int w = vxe_program.framewidth, h = vxe_program.frameheight;
    if (const s_scriptevent *off = vxe_scriptoutside(w, h))
        fprintf(stderr,
                "%s: %s:%d: the pointer goes to (%d, %d), outside the %dx%d screen: the cursor "
                "stays at its edge and a press there hits no control\n",
                vxe_program.name, options.script, off->line, off->x, off->y, w, h);
    return true;
}

int main(int argc, char **argv)
{
    // Diagnostic lines reach a pipe as they are written, not at exit.
    setvbuf(stdout, nullptr, _IOLBF, 0);

    s_options options;
    const int status = vxe_readoptions(argc, argv, vxe_program, &options, stdout, stderr);
    if (status != OPTIONS_GO_ON) return status;
    // The script is read before the archive is looked for, which may change
    // the working folder.
    if (!startinput(options)) return 2;
    findarchive(vxe_program.archive);
    // A capture records the window's own size, never a full screen.
    vxe_setwindowed(options.windowed || options.capture);
    if (!vxe_openmessagewindow()) {
        if (options.capture) vxe_finishcapture();
        printf("%s needs a display. Without one, scripts/run.sh records the show to video\n"
               "instead (%s --capture DIR under xvfb-run).\n",
               vxe_program.name, vxe_program.name);
        return 1;
    }

    std::thread app(appthread, argc, argv);
    while (vxe_pumpmessages()) {
    }

    // The user closed the window: the frame loop sees it and finishes its
    // frame. Killing the thread mid-frame is not safe with a GL context and
    // an audio device in use, so wait for it, but not forever.
    for (int waited = 0; !g_finished && waited < CLOSE_WAIT_MS; waited += 5)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    const int lost = options.capture ? vxe_finishcapture() : 0;
    if (!g_finished) {
        fflush(stdout);
        _exit(lost);
    }
    app.join();
    vxe_destroymessagewindow();
    return g_result ? g_result : lost;
}
