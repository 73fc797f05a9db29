// SDL2 audio output. SDL's audio thread calls pull(), which takes the
// driver's lock; each call copies driver blocks into SDL's buffer. SDL audio is
// started here (the platform entry starts only video and joysticks), and any
// failure leaves the program silent rather than stopping it.
#include "engine/sound/audiodriver_sdl.h"

#include <SDL.h>

#include <cstdio>
#include <cstring>

#include "engine/sound/audiodriver.h"

static SDL_AudioDeviceID g_device;
static int g_blocksize; // bytes of one driver block

static void SDLCALL pull(void *, Uint8 *stream, int len)
{
    // Without format changes SDL asks for exactly one block per call.
    audiodriver_lock();
    int done = 0;
    while (done < len) {
        const uint8_t *block = fillnextbuffer();
        if (!block) {
            memset(stream + done, 0, (size_t)(len - done));
            break;
        }
        int n = len - done < g_blocksize ? len - done : g_blocksize;
        memcpy(stream + done, block, (size_t)n);
        done += n;
    }
    audiodriver_unlock();
}

int audiodriver_sdl_open(int rate, int channels, int frames)
{
    // SDL's own reason comes first: the driver's lines only say that the
    // device failed, not why.
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        printf("AUDIO: no audio driver: %s\n", SDL_GetError());
        return 0;
    }
    SDL_AudioSpec want, have;
    SDL_zero(want);
    want.freq = rate;
    want.format = AUDIO_S16SYS;
    want.channels = (Uint8)channels;
    want.samples = (Uint16)frames;
    want.callback = pull;
    // No allowed changes: SDL converts to whatever the hardware takes, so
    // every pull is one whole block in the mixer's own format.
    g_device = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    if (!g_device) {
        printf("AUDIO: cannot open the audio device: %s\n", SDL_GetError());
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return 0;
    }
    g_blocksize = channels * frames * 2;
    SDL_PauseAudioDevice(g_device, 0);
    return 1;
}

void audiodriver_sdl_close()
{
    if (!g_device)
        return;
    SDL_CloseAudioDevice(g_device);
    g_device = 0;
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}
