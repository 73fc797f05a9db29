// ffmpeg as a child process, fed through a pipe.
#include "engine/capture/videopipe.h"

#include <errno.h>
#include <spawn.h>
#include <stdio.h>
#include <string.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

// Starts argv[0] from PATH with its standard input on stdin_fd (or the
// parent's when -1). In a process group of its own: a Ctrl-C in the terminal
// stops the capture, which then closes the encoder properly, instead of
// killing the encoder mid-file.
static pid_t spawn(const char *const *argv, int stdin_fd, int close_fd)
{
    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attr;
    posix_spawn_file_actions_init(&actions);
    posix_spawnattr_init(&attr);
    if (stdin_fd >= 0) {
        posix_spawn_file_actions_adddup2(&actions, stdin_fd, 0);
        posix_spawn_file_actions_addclose(&actions, stdin_fd);
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
    video->pid = spawn(argv, fds[0], fds[1]);
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

int videopipe_mux(const char *video, const char *wav, const char *out)
{
    const char *argv[] = {"ffmpeg", "-nostdin", "-hide_banner", "-loglevel", "error", "-y",
                          "-i", video, "-i", wav, "-map", "0:v", "-map", "1:a", "-c:v", "copy",
                          "-c:a", "aac", "-b:a", "192k", "-movflags", "+faststart", out, nullptr};
    pid_t pid = spawn(argv, -1, -1);
    return pid ? waitstatus(pid) : -1;
}
