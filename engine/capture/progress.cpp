// Progress text of a capture.
#include "engine/capture/progress.h"

#include <stdio.h>

void capture_progressline(char *out, int size, long done, long total, double wallseconds)
{
    const double fps = wallseconds > 0 ? done / wallseconds : 0;
    // No estimate before the first frames have given a speed.
    if (fps <= 0) {
        snprintf(out, size, "frame %ld/%ld", done, total);
        return;
    }
    long left = (long)((total - done) / fps + 0.5);
    if (left < 0) left = 0;
    snprintf(out, size, "frame %ld/%ld  %.1f fps  %ld:%02ld left", done, total, fps, left / 60,
             left % 60);
}

void capture_formatlength(char *out, int size, long long milliseconds)
{
    snprintf(out, size, "%lld:%02lld.%03lld", milliseconds / 60000, milliseconds / 1000 % 60,
             milliseconds % 1000);
}
