// Capture mode: the present hook grabs each frame, feeds the encoder and the
// PNG writer, and mixes the sound up to the frame's virtual time.
#include "engine/capture/capture.h"

#include "engine/capture/pngframe.h"
#include "engine/capture/progress.h"
#include "engine/capture/videopipe.h"
#include "engine/capture/wavstream.h"
#include "engine/graphics/video.h"
#include "engine/platform/backend.h"
#include "engine/platform/clock.h"
#include "engine/platform/inputscript.h"
#include "engine/sound/audiodriver.h"
#include "engine/sound/soundsystem.h"
#include "engine/system/memory.h"

#include <GL/glew.h>
#include <algorithm>
#include <errno.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <string>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>
#include <vector>

namespace {

enum e_videostate { VIDEO_NOTSTARTED, VIDEO_RUNNING, VIDEO_OFF };

struct s_capture {
    std::string dir;
    long total = 0;       // frames to record
    long frames = 0;      // frames recorded
    int pngevery = 0;
    long pngs = 0;
    int lost = 0;         // something was not written
    int width = 0, height = 0;
    std::vector<uint8_t> pixels;  // one frame, RGB, bottom row first
    e_videostate video = VIDEO_NOTSTARTED;
    s_videopipe encoder{0, -1};
    s_wavstream wav{};
    uint64_t mixed = 0;            // sample frames mixed so far
    std::vector<int16_t> pending;  // mixed, not yet written to the WAV
    int warnedformat = 0;
    double started = 0;     // wall clock at the start, seconds
    double lastshown = -1;  // wall clock of the last progress report
    long shownframes = -1;  // frames it gave
    int tty = 0;
};

s_capture s_cap;
int s_active = 0;

double wallseconds()
{
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return ts.tv_sec + ts.tv_nsec * 1e-9;
}

std::string inside(const char *name)
{
    return s_cap.dir + "/" + name;
}

// Stops the recording at this frame; the show ends as if the window closed.
void stopcapture(const char *what, const std::string &file)
{
    fprintf(stderr, "\ncapture: %s %s: %s; the capture ends at frame %ld\n", what, file.c_str(),
            strerror(errno), s_cap.frames);
    s_cap.lost = 1;
    s_cap.total = s_cap.frames;
    vxe_requestclose();
}

void startvideo()
{
    char error[256];
    std::string path = inside("floxa-video.mp4");
    if (videopipe_start(&s_cap.encoder, path.c_str(), s_cap.width, s_cap.height, 1000,
                        CAPTURE_FRAME_MS, error, sizeof error)) {
        s_cap.video = VIDEO_RUNNING;
        return;
    }
    fprintf(stderr, "capture: %s; the video is skipped, the WAV%s still written\n", error,
            s_cap.pngevery ? " and the PNG frames are" : " is");
    s_cap.video = VIDEO_OFF;
}

// Reads the finished frame. A window smaller than the first frame leaves the
// rest of the picture black rather than changing the video's size.
void grabframe(int w, int h)
{
    if (w != s_cap.width || h != s_cap.height) std::fill(s_cap.pixels.begin(), s_cap.pixels.end(), 0);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glPixelStorei(GL_PACK_ROW_LENGTH, s_cap.width);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, std::min(w, s_cap.width), std::min(h, s_cap.height), GL_RGB, GL_UNSIGNED_BYTE,
                 s_cap.pixels.data());
    glPixelStorei(GL_PACK_ROW_LENGTH, 0);
}

int mixerready()
{
    if (!soundsystem.outputbuffer) return 0;
    if (soundsystem.channels == 2 && soundsystem.mixrate == CAPTURE_RATE) return 1;
    if (!s_cap.warnedformat)
        fprintf(stderr, "capture: the sound runs at %u Hz with %u channels, not %d Hz stereo; the WAV stays silent\n",
                soundsystem.mixrate, soundsystem.channels, CAPTURE_RATE);
    s_cap.warnedformat = 1;
    return 0;
}

// Mixes whole blocks until sample frame `need` is mixed. Before the sound
// system runs, time passes in silence.
void mixupto(uint64_t need)
{
    while (s_cap.mixed < need) {
        const size_t at = s_cap.pending.size();
        uint64_t frames = need - s_cap.mixed;
        if (mixerready()) {
            frames = soundsystem.bufferlength;
            s_cap.pending.resize(at + 2 * frames);
            audiodriver_mixbuffers(&s_cap.pending[at], (int)(frames * 4), 0);
        } else {
            s_cap.pending.resize(at + 2 * frames, 0);
        }
        s_cap.mixed += frames;
    }
}

// After `frames` frames the WAV holds exactly their time. The block holding
// the next frame's first sample is mixed already, so the lamps of that frame
// read what sounds while it is shown.
void recordsound(long frames)
{
    const uint64_t due = (uint64_t)frames * CAPTURE_FRAME_MS * CAPTURE_RATE / 1000;
    mixupto(due + 1);
    const uint64_t written = s_cap.mixed - s_cap.pending.size() / 2;
    const uint32_t count = (uint32_t)(due - written);
    if (!wavstream_write(&s_cap.wav, s_cap.pending.data(), count)) {
        stopcapture("cannot write", inside("audio.wav"));
        return;
    }
    s_cap.pending.erase(s_cap.pending.begin(), s_cap.pending.begin() + 2 * count);
}

void showprogress(int last)
{
    const double now = wallseconds();
    // Four times a second on a terminal; a line per tenth of the work into a log.
    if (last ? !s_cap.tty && s_cap.frames == s_cap.shownframes
             : s_cap.tty ? now - s_cap.lastshown < 0.25 : s_cap.frames % std::max(1L, s_cap.total / 10) != 0)
        return;
    s_cap.lastshown = now;
    s_cap.shownframes = s_cap.frames;
    char line[128];
    capture_progressline(line, sizeof line, s_cap.frames, s_cap.total, now - s_cap.started);
    fprintf(stderr, s_cap.tty ? "\r%-60s" : "%s\n", line);
    if (last && s_cap.tty) fputc('\n', stderr);
}

// Resident size of this process in kB, from /proc; 0 when unreadable.
long residentkb()
{
    long pages = 0, resident = 0;
    FILE *f = fopen("/proc/self/statm", "r");
    if (!f) return 0;
    if (fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = 0;
    fclose(f);
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

// Once a virtual minute: the memory a long capture (a soak) should see
// level off after its first minute.
void showmemory()
{
    const long perminute = 60000 / CAPTURE_FRAME_MS;
    if (s_cap.frames % perminute != 0) return;
    fprintf(stderr, "%scapture: minute %ld: %u bytes held by the engine, %ld kB resident\n",
            s_cap.tty ? "\n" : "", s_cap.frames / perminute, g_mem_in_use, residentkb());
}

void onpresent(int w, int h)
{
    if (s_cap.frames >= s_cap.total) return;
    if (!s_cap.width) {
        s_cap.width = w;
        s_cap.height = h;
        s_cap.pixels.assign((size_t)w * h * 3, 0);
        startvideo();
    }
    grabframe(w, h);
    const size_t bytes = s_cap.pixels.size();
    if (s_cap.video == VIDEO_RUNNING && !videopipe_write(&s_cap.encoder, s_cap.pixels.data(), bytes)) {
        fprintf(stderr, "\ncapture: ffmpeg stopped at frame %ld: the video ends there\n", s_cap.frames);
        s_cap.video = VIDEO_OFF;
        s_cap.lost = 1;
    }
    if (s_cap.pngevery && s_cap.frames % s_cap.pngevery == 0) {
        char name[32];
        snprintf(name, sizeof name, "frame-%05ld.png", s_cap.frames);
        if (!pngframe_write(inside(name).c_str(), s_cap.pixels.data(), s_cap.width, s_cap.height)) {
            stopcapture("cannot write", inside(name));
            return;
        }
        s_cap.pngs++;
    }
    s_cap.frames++;
    recordsound(s_cap.frames);
    showprogress(0);
    showmemory();
    if (s_cap.frames == s_cap.total) vxe_requestclose();
}

// The folder is made when missing; an existing file of that name, a
// missing parent or no right to write stops the capture before it starts.
int preparefolder(const char *dir, char *error, int errorsize)
{
    struct stat st;
    if (stat(dir, &st) != 0 && mkdir(dir, 0777) != 0) {
        snprintf(error, errorsize, "cannot make the folder %s: %s", dir, strerror(errno));
        return 0;
    }
    if (stat(dir, &st) != 0 || !S_ISDIR(st.st_mode)) {
        snprintf(error, errorsize, "%s is not a folder", dir);
        return 0;
    }
    return 1;
}

}  // namespace

int vxe_startcapture(const s_captureoptions *options, char *error, int errorsize)
{
    // The script's times count on the frame clock from its first frame.
    vxe_setframeclock(CAPTURE_FRAME_MS);
    const int scripted = options->script ? vxe_startinputscript(options->script, error, errorsize)
                                         : vxe_startinputscripttext("", "(no script)", error, errorsize);
    if (!scripted || !preparefolder(options->dir, error, errorsize)) {
        vxe_setframeclock(0);
        return 0;
    }
    s_cap = s_capture{};
    // Absolute, as the program may change its working folder to find the archive.
    char *full = realpath(options->dir, nullptr);
    s_cap.dir = full ? full : options->dir;
    free(full);
    s_cap.total = (long)(options->seconds * 1000.0 / CAPTURE_FRAME_MS + 0.5);
    if (s_cap.total < 1) s_cap.total = 1;
    s_cap.pngevery = options->pngevery;
    if (!wavstream_open(&s_cap.wav, inside("audio.wav").c_str(), CAPTURE_RATE, 2)) {
        snprintf(error, errorsize, "cannot write %s: %s", inside("audio.wav").c_str(), strerror(errno));
        vxe_setframeclock(0);
        return 0;
    }

    // A stopped encoder or a file grown past its limit must come back as a
    // failed write that says so, not end the process.
    signal(SIGPIPE, SIG_IGN);
    signal(SIGXFSZ, SIG_IGN);
    audiodriver_setoffline(1);
    vxe_driver_ignoreinput(1);
    vxe_forcewindowsize(options->width, options->height);
    vxe_setpresenthook(onpresent);
    s_cap.tty = isatty(2);
    s_cap.started = wallseconds();
    s_active = 1;
    printf("Capturing %.1f s of the show (%ld frames) into %s/\n", s_cap.total * CAPTURE_FRAME_MS / 1000.0,
           s_cap.total, s_cap.dir.c_str());
    return 1;
}

int vxe_finishcapture()
{
    if (!s_active) return 0;
    s_active = 0;
    vxe_setpresenthook(nullptr);
    showprogress(1);
    const double wall = wallseconds() - s_cap.started;
    int button = 0;
    const int keys = vxe_scriptheld(&button);
    if (keys)
        fprintf(stderr, "capture: the script held %d key%s%s down to the end\n", keys, keys == 1 ? "" : "s",
                button ? " and the button" : "");
    else if (button)
        fprintf(stderr, "capture: the script held the button down to the end\n");

    const std::string wavpath = inside("audio.wav");
    if (!wavstream_close(&s_cap.wav)) {
        fprintf(stderr, "capture: cannot finish %s: %s\n", wavpath.c_str(), strerror(errno));
        s_cap.lost = 1;
    }

    const std::string video = inside("floxa-video.mp4"), out = inside("floxa.mp4");
    const char *videonote = s_cap.video == VIDEO_NOTSTARTED ? "not written: no frame was shown"
                                                             : "not written: ffmpeg could not run";
    if (s_cap.encoder.pid) {
        const int status = videopipe_finish(&s_cap.encoder);
        int normalized = 0;
        if (status != 0) {
            fprintf(stderr, "capture: ffmpeg ended with status %d\n", status);
            s_cap.lost = 1;
            videonote = "not finished by ffmpeg (see its message above)";
            rename(video.c_str(), out.c_str());
        } else if (videopipe_mux(video.c_str(), wavpath.c_str(), CAPTURE_RATE, out.c_str(), &normalized) == 0) {
            unlink(video.c_str());
            videonote = "video with sound";
            if (!normalized)
                fprintf(stderr, "capture: the sound could not be measured for loudness (silence, or an ffmpeg "
                                "without loudnorm); the video has it at its own level\n");
        } else {
            fprintf(stderr, "capture: the sound could not be put into the video\n");
            s_cap.lost = 1;
            videonote = "video without sound";
            rename(video.c_str(), out.c_str());
        }
    }

    char length[32];
    capture_formatlength(length, sizeof length, (long long)s_cap.frames * CAPTURE_FRAME_MS);
    printf("Capture %s: %ld frames, %s of the show in %.1f s (%.1f frames a second)\n",
           s_cap.lost ? "incomplete" : "done", s_cap.frames, length, wall,
           wall > 0 ? s_cap.frames / wall : 0.0);
    printf("  %s  %s\n", out.c_str(), videonote);
    printf("  %s  %s, %d Hz stereo\n", wavpath.c_str(), length, CAPTURE_RATE);
    if (s_cap.pngs)
        printf("  %s/frame-NNNNN.png  %ld frames, one in every %d\n", s_cap.dir.c_str(), s_cap.pngs,
               s_cap.pngevery);
    return s_cap.lost;
}
