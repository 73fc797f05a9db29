// The process's command line: what the platform's entry reads before the
// program starts. The program's own arguments are not read here; coremain
// gets argv unchanged.
#ifndef VXE_PLATFORM_OPTIONS_H
#define VXE_PLATFORM_OPTIONS_H

#include <stdio.h>

struct s_program;

enum { OPTIONS_GO_ON = -1 };

struct s_options {
    int windowed;          // --windowed: no full screen
    const char *script;    // --script FILE, or null
    const char *capture;   // --capture DIR, or null: no capture
    double seconds;        // --seconds S (a capture's length)
    int pngevery;          // --png-every N, 0: no PNGs
    int width, height;     // --size WxH (a capture's picture)
};

// Capture picture sizes: the window's own, and the output buffer's at 1:1.
enum { CAPTURE_SIZES = 2 };
extern const int vxe_capturesizes[CAPTURE_SIZES][2];
// A capture's length is at most this: the WAV's 32-bit lengths end at about
// six and a half hours.
enum { MAX_CAPTURE_SECONDS = 6 * 3600 };

// Fills options from argv. OPTIONS_GO_ON to start, or the exit status: 0
// after --help (usage on out), 2 after a refusal (the reason and the usage
// on err).
int vxe_readoptions(int argc, char **argv, const s_program &program, s_options *options, FILE *out,
                    FILE *err);

#endif
