// Web Audio output. The page (web/page.js) made the audio context on the
// click that started the show, as browsers allow sound only after a
// gesture; each mixed block becomes an AudioBuffer scheduled right after
// the one before it, so the music plays from the first frame on.
#include "engine/sound/audiodriver_web.h"

#include <emscripten.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "engine/sound/audiodriver.h"
#include "engine/sound/audiodriver_sdl.h"

static int16_t *g_block; // one block copied out of the ring
static int g_frames, g_channels;

EM_JS(int, page_audioopen, (int rate, int channels), { return Module.floxaPage.audioOpen(rate, channels) ? 1 : 0; });
EM_JS(int, page_audiowants, (), { return Module.floxaPage.audioWants() ? 1 : 0; });
EM_JS(void, page_audioplay, (const int16_t *samples, int frames, int channels),
      { Module.floxaPage.audioPlay(HEAP16.subarray(samples >> 1, (samples >> 1) + frames * channels), frames, channels); });
EM_JS(void, page_audioclose, (), { Module.floxaPage.audioClose(); });

int audiodriver_sdl_open(int rate, int channels, int frames)
{
    if (!page_audioopen(rate, channels)) {
        puts("AUDIO: the page has no audio context");
        return 0;
    }
    g_block = (int16_t *)malloc((size_t)frames * (size_t)channels * sizeof *g_block);
    if (!g_block) {
        page_audioclose();
        return 0;
    }
    g_frames = frames;
    g_channels = channels;
    return 1;
}

void audiodriver_sdl_close()
{
    if (!g_block) return;
    page_audioclose();
    free(g_block);
    g_block = nullptr;
}

void audiodriver_web_pump()
{
    if (!g_block) return;
    const size_t bytes = (size_t)g_frames * (size_t)g_channels * sizeof *g_block;
    while (page_audiowants()) {
        audiodriver_lock();
        const uint8_t *block = fillnextbuffer();
        if (block) memcpy(g_block, block, bytes);
        audiodriver_unlock();
        if (!block) return;
        page_audioplay(g_block, g_frames, g_channels);
    }
}
