// The browser's process entry. The page calls main once the user has
// clicked to start, with the archive (and a script, when asked for) already
// in the file system. There are no threads: coremain runs here, and the
// backend hands control back to the browser once a frame (built with
// ASYNCIFY, so the program's own loop stays as it is on the desktop).
#include "engine/corefile/corefile.h"
#include "engine/platform/backend.h"
#include "engine/platform/clock.h"
#include "engine/platform/entry.h"
#include "engine/platform/inputscript.h"
#include "engine/platform/options.h"
#include "engine/platform/web_driver.h"
#include "engine/graphics/video.h"

#include <stdio.h>
#include <string.h>

// The step of the frame clock, the slot of a capture.
static const uint32_t FRAME_MS = 15;

static int fail(const char *text, int status)
{
    vxe_web_fail(text);
    return status;
}

// A damaged archive leaves every picture and sound empty on the desktop,
// which says so in its output; in a page that would be a blank canvas, so
// the archive is checked before anything starts.
static bool archiveready(const char *archive)
{
    if (!corefile_mountimage(archive, 0)) return false;
    corefile_closeimage();
    return true;
}

int main(int argc, char **argv)
{
    s_options options;
    char error[768];
    const int status = vxe_readoptions(argc, argv, vxe_program, &options, stdout, stderr);
    if (status != OPTIONS_GO_ON) return status;
    if (options.capture) return fail("Capture to video is a feature of the desktop program.", 2);
    // The script's millisecond times count on the clock the show runs on.
    if (vxe_web_frameclock()) vxe_setframeclock(FRAME_MS);
    if (options.script && !vxe_startinputscript(options.script, error, sizeof error)) {
        char text[900];
        snprintf(text, sizeof text, "The input script was refused: %s", error);
        return fail(text, 2);
    }
    if (!archiveready(vxe_program.archive)) {
        snprintf(error, sizeof error,
                 "The show's data file %s is damaged or cut short, so there is nothing to show. "
                 "Put the complete %s beside index.html again.",
                 vxe_program.archive, vxe_program.archive);
        return fail(error, 1);
    }
    int width = 0, height = 0;
    vxe_web_canvassize(&width, &height);
    vxe_forcewindowsize(width, height);
    vxe_openmessagewindow();

    const int result = coremain(argc, argv);
    vxe_destroymessagewindow();
    vxe_web_ended(result);
    return result;
}
