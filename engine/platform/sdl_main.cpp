// Process entry. Reads the platform options, opens the message window, runs
// coremain on the application thread and pumps window events on this one
// until the application ends or the user closes the window.
#include "app/frameloop.h"
#include "engine/platform/inputscript.h"
#include "engine/platform/sdl_driver.h"

#include <atomic>
#include <chrono>
#include <limits.h>
#include <stdio.h>
#include <string.h>
#include <thread>
#include <unistd.h>

static const char *s_archive = "floxa.dat";
// How long a closed window waits for the application to finish its frame.
// Loading does not look at the window, so after this the process ends where
// it stands.
static const int CLOSE_WAIT_MS = 3000;

static std::atomic<int> s_finished{0};
static int s_result = 0;

static void usage(FILE *out)
{
    fprintf(out,
            "Usage: floxa [--windowed] [--script FILE] [--help]\n"
            "  --windowed     stay in a window instead of switching to full screen\n"
            "  --script FILE  play the timed pointer and key events of FILE\n"
            "  --help         show this text\n"
            "Escape quits. The data file %s is read from the working directory,\n"
            "or from the program's own folder when it is not there.\n",
            s_archive);
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
    for (int i = 1; i < argc; i++) {
        if (strcmp(argv[i], "--windowed") == 0) {
            windowed = 1;
        } else if (strcmp(argv[i], "--script") == 0 && i + 1 < argc) {
            script = argv[++i];
        } else if (strcmp(argv[i], "--help") == 0 || strcmp(argv[i], "-h") == 0) {
            usage(stdout);
            return 0;
        } else {
            fprintf(stderr, "floxa: unknown option '%s'\n", argv[i]);
            usage(stderr);
            return 2;
        }
    }

    // A script is read before the archive is looked for, which may change
    // the working folder; a malformed one stops everything before it starts.
    char error[512];
    if (script && !vxe_startinputscript(script, error, sizeof error)) {
        fprintf(stderr, "floxa: %s\n", error);
        return 2;
    }
    findarchive();
    vxe_setwindowed(windowed);
    if (!vxe_openmessagewindow()) return 1;

    std::thread app(appthread, argc, argv);
    while (vxe_pumpmessages()) {
    }

    // The user closed the window: the frame loop sees it and finishes its
    // frame. Killing the thread mid-frame is not safe with a GL context and
    // an audio device in use, so wait for it, but not forever.
    for (int waited = 0; !s_finished && waited < CLOSE_WAIT_MS; waited += 5)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    if (!s_finished) {
        fflush(stdout);
        _exit(0);
    }
    app.join();
    vxe_destroymessagewindow();
    return s_result;
}
