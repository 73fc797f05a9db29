// ffmpeg as a child process, fed through a pipe.
#include "engine/capture/videopipe.h"

#include <errno.h>
#include <math.h>
#include <spawn.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

// The loudness video sites play at (-14 LUFS), the true peaks kept below
// -1 dBTP: loudnorm's limiter lets a few tenths of a dB past its ceiling
// and the AAC encoder adds about 1 dB more. The loudness range is left
// wide open, so the show's quiet moments stay quiet.
static const char LOUDNORM[] = "loudnorm=I=-14:TP=-3:LRA=50";

// Starts argv[0] from PATH with its standard input on stdin_fd and its
// standard error on stderr_fd (the parent's when -1). In a process group of
// its own: a Ctrl-C in the terminal stops the capture, which then closes the
// encoder properly, instead of killing the encoder mid-file.
static pid_t spawn(const char *const *argv, int stdin_fd, int stderr_fd, int close_fd)
{
    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attr;
    posix_spawn_file_actions_init(&actions);
    posix_spawnattr_init(&attr);
    if (stdin_fd >= 0) {
        posix_spawn_file_actions_adddup2(&actions, stdin_fd, 0);
        posix_spawn_file_actions_addclose(&actions, stdin_fd);
    }
    if (stderr_fd >= 0) {
        posix_spawn_file_actions_adddup2(&actions, stderr_fd, 2);
        posix_spawn_file_actions_addclose(&actions, stderr_fd);
    }
    if (close_fd >= 0) posix_spawn_file_actions_addclose(&actions, close_fd);
    posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETPGROUP);
    posix_spawnattr_setpgroup(&attr, 0);
    pid_t pid = 0;
    int err = posix_spawnp(&pid, argv[0], &actions, &attr, (char *const *)argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attr);
    if (err != 0) {
        errno = err;
        return 0;
    }
    return pid;
}

static int waitstatus(pid_t pid)
{
    int status = 0;
    while (waitpid(pid, &status, 0) < 0)
        if (errno != EINTR) return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

int videopipe_start(s_videopipe *video, const char *path, int width, int height, int rate_num,
                    int rate_den, char *error, int errorsize)
{
    *video = s_videopipe{0, -1};
    char size[32], rate[32];
    snprintf(size, sizeof size, "%dx%d", width, height);
    snprintf(rate, sizeof rate, "%d/%d", rate_num, rate_den);
    const char *argv[] = {"ffmpeg", "-nostdin", "-hide_banner", "-loglevel", "error", "-y",
                          "-f", "rawvideo", "-pix_fmt", "rgb24", "-s", size, "-framerate", rate,
                          "-i", "pipe:0", "-vf", "vflip", "-c:v", "libx264", "-preset", "veryfast",
                          "-crf", "18", "-pix_fmt", "yuv420p", "-movflags", "+faststart", path,
                          nullptr};
    int fds[2];
    if (pipe(fds) != 0) {
        snprintf(error, errorsize, "cannot make a pipe for ffmpeg: %s", strerror(errno));
        return 0;
    }
    video->pid = spawn(argv, fds[0], -1, fds[1]);
    int err = errno;
    close(fds[0]);
    if (!video->pid) {
        close(fds[1]);
        snprintf(error, errorsize, "cannot start ffmpeg: %s", strerror(err));
        return 0;
    }
    video->fd = fds[1];
    return 1;
}

int videopipe_write(s_videopipe *video, const void *frame, size_t bytes)
{
    if (video->fd < 0) return 0;
    const char *p = (const char *)frame;
    while (bytes > 0) {
        ssize_t n = write(video->fd, p, bytes);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            // The encoder has gone (EPIPE, with SIGPIPE ignored).
            close(video->fd);
            video->fd = -1;
            return 0;
        }
        p += n;
        bytes -= (size_t)n;
    }
    return 1;
}

int videopipe_finish(s_videopipe *video)
{
    if (video->fd >= 0) close(video->fd);
    video->fd = -1;
    if (!video->pid) return -1;
    int status = waitstatus(video->pid);
    video->pid = 0;
    return status;
}

// Runs ffmpeg with argv and keeps what it writes on its standard error in
// *text. Returns its exit status, or -1 when it could not run.
static int runreading(const char *const *argv, std::string *text)
{
    int fds[2];
    if (pipe(fds) != 0) return -1;
    const pid_t pid = spawn(argv, -1, fds[1], fds[0]);
    close(fds[1]);
    char buffer[4096];
    ssize_t n;
    while ((n = read(fds[0], buffer, sizeof buffer)) != 0) {
        if (n > 0) text->append(buffer, (size_t)n);
        else if (errno != EINTR) break;
    }
    close(fds[0]);
    return pid ? waitstatus(pid) : -1;
}

// The value of "name" : "number" in loudnorm's report, as text, when it is
// a finite number (silence measures "-inf").
static bool reportvalue(const std::string &report, const char *name, std::string *value)
{
    const std::string key = std::string("\"") + name + "\" : \"";
    const size_t at = report.find(key);
    if (at == std::string::npos) return false;
    const size_t from = at + key.size(), to = report.find('"', from);
    if (to == std::string::npos) return false;
    *value = report.substr(from, to - from);
    char *end = nullptr;
    const double number = strtod(value->c_str(), &end);
    return end != value->c_str() && *end == '\0' && isfinite(number);
}

// The second pass of loudnorm from the first pass's report; 0 when the
// report lacks a value.
static int loudnessfilter(const std::string &report, char *filter, int filtersize)
{
    static const char *const names[] = {"input_i", "input_tp", "input_lra", "input_thresh",
                                        "target_offset"};
    std::string v[5];
    for (int k = 0; k < 5; k++)
        if (!reportvalue(report, names[k], &v[k])) return 0;
    const int n = snprintf(filter, filtersize,
                           "%s:measured_I=%s:measured_TP=%s:measured_LRA=%s:measured_thresh=%s:"
                           "offset=%s",
                           LOUDNORM, v[0].c_str(), v[1].c_str(), v[2].c_str(), v[3].c_str(),
                           v[4].c_str());
    return n > 0 && n < filtersize;
}

// Measures the WAV's loudness and writes the filter that brings it to the
// target in a second pass; 0 when it cannot be measured (or is silent).
static int measureloudness(const char *wav, char *filter, int filtersize)
{
    const std::string measure = std::string(LOUDNORM) + ":print_format=json";
    const char *argv[] = {"ffmpeg", "-nostdin", "-hide_banner", "-nostats", "-i", wav,
                          "-af", measure.c_str(), "-f", "null", "-", nullptr};
    std::string report;
    return runreading(argv, &report) == 0 && loudnessfilter(report, filter, filtersize);
}

int videopipe_mux(const char *video, const char *wav, int rate, const char *out, int *normalized)
{
    char filter[512], ar[16];
    *normalized = measureloudness(wav, filter, sizeof filter);
    // loudnorm hands its sound on at 192 kHz: back to the WAV's own rate.
    snprintf(ar, sizeof ar, "%d", rate);
    const char *argv[] = {"ffmpeg", "-nostdin", "-hide_banner", "-loglevel", "error", "-y",
                          "-i", video, "-i", wav, "-map", "0:v", "-map", "1:a", "-c:v", "copy",
                          "-af", *normalized ? filter : "anull", "-ar", ar, "-c:a", "aac",
                          "-b:a", "192k", "-movflags", "+faststart", out, nullptr};
    pid_t pid = spawn(argv, -1, -1, -1);
    return pid ? waitstatus(pid) : -1;
}
