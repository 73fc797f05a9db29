// Software mixer and the device-independent half of the audio driver: the
// ring of four output blocks, the push interface and start/close. The
// device itself is audiodriver_sdl.cpp.
//
// Locking: one recursive lock, ours rather than the device's, so that the
// mixer is just as safe when a thread of the caller's runs it offline. The
// device pulls blocks with it held, each mix pass holds it, and every change
// made from the application thread to the ring, the active table or a
// playing record takes it.
#include "engine/sound/audiodriver.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>

#include "engine/sound/audiodriver_sdl.h"
#include "engine/sound/soundsystem.h"

static uint8_t *g_audio_buffer; // AUDIODRIVER_NUMBUFFERS blocks back to back
static int g_buffer_size;       // bytes per block
static int g_cur_buf;           // block handed out next by audiodriver_getbuffer
static int g_play_buf;          // oldest pushed block not yet played
static int g_queued;            // pushed blocks waiting for the device
static int g_buffer_waiting;    // 1 between getbuffer and submitbuffer
static int g_device_open;
static int g_closing;           // pulls during close get silence
static int g_offline;

void audiodriver_setoffline(int offline)
{
    g_offline = offline;
}

// Built on first use, so that no start-up order can find it unmade.
static std::recursive_mutex &mixlock()
{
    static std::recursive_mutex lock;
    return lock;
}

void audiodriver_lock()
{
    mixlock().lock();
}

void audiodriver_unlock()
{
    mixlock().unlock();
}

int audiodriver_init(int rate, int bits, int frames, int flags)
{
    (void)frames; // the block size is fixed
    if (rate <= 0 || g_offline)
        return 1;
    int channels = (flags & AUDIODRIVER_STEREO) ? 2 : 1;
    soundsystem.bits = (uint16_t)bits;
    soundsystem.channels = (uint16_t)channels;
    if (bits != 8 && bits != 16)
        return 0;
    if (g_audio_buffer || g_device_open)
        audiodriver_close();

    // The mixer always writes 16-bit samples, so the device plays 16-bit
    // whatever bits were asked for; sizing for 8-bit would halve each block.
    int sample_size = 2 * channels;
    g_buffer_size = sample_size * AUDIODRIVER_FRAMES;
    printf("sample size: %d\nbuffer size: %d\n", sample_size, g_buffer_size);

    g_audio_buffer = (uint8_t *)calloc(AUDIODRIVER_NUMBUFFERS, (size_t)g_buffer_size);
    if (!g_audio_buffer) {
        puts("AUDIO: out of memory for the audio buffers");
        audiodriver_close();
        return 0;
    }
    g_cur_buf = g_play_buf = g_queued = 0;
    g_buffer_waiting = 0;
    g_closing = 0;
    soundsystem.bufferlength = AUDIODRIVER_FRAMES;

    // The ring is ready before the device starts pulling from it.
    // A refused device shows as the buffer error after "open wav-buffers".
    puts("open waveout");
    int opened = audiodriver_sdl_open(rate, channels, AUDIODRIVER_FRAMES);
    if (opened)
        puts("AUDIO: opening audio device succesful!");
    puts("open wav-buffers");
    if (!opened) {
        puts("AUDIO: error opening audio buffer");
        audiodriver_close();
        return 0;
    }
    g_device_open = 1;
    puts("audiodriver inited");
    return 1;
}

void audiodriver_close()
{
    if (g_device_open) {
        audiodriver_lock();
        g_closing = 1;
        audiodriver_unlock();
        audiodriver_sdl_close(); // returns once the device thread has stopped
        g_device_open = 0;
    }
    free(g_audio_buffer);
    g_audio_buffer = nullptr;
    g_cur_buf = g_play_buf = g_queued = 0;
    g_buffer_waiting = 0;
    g_closing = 0;
}

int audiodriver_getbuffer(void **data, int *length)
{
    audiodriver_lock();
    int ok = g_audio_buffer && g_queued < AUDIODRIVER_NUMBUFFERS;
    if (ok) {
        if (data)
            *data = g_audio_buffer + g_cur_buf * g_buffer_size;
        if (length)
            *length = g_buffer_size;
        g_buffer_waiting = 1;
    }
    audiodriver_unlock();
    return ok;
}

void audiodriver_submitbuffer()
{
    audiodriver_lock();
    if (g_buffer_waiting) {
        g_queued++;
        g_cur_buf = (g_cur_buf + 1) % AUDIODRIVER_NUMBUFFERS;
        g_buffer_waiting = 0;
    }
    audiodriver_unlock();
}

const uint8_t *fillnextbuffer()
{
    if (g_closing || !g_audio_buffer)
        return nullptr;
    if (g_queued > 0) {
        const uint8_t *block = g_audio_buffer + g_play_buf * g_buffer_size;
        g_play_buf = (g_play_buf + 1) % AUDIODRIVER_NUMBUFFERS;
        g_queued--;
        return block;
    }
    // Nothing pushed: mix, into a block the application is not filling.
    // With nothing queued the play and push positions coincide.
    uint8_t *block = g_audio_buffer +
                     ((g_cur_buf + g_buffer_waiting) % AUDIODRIVER_NUMBUFFERS) * g_buffer_size;
    audiodriver_mixbuffers(block, g_buffer_size, 0);
    return block;
}

// Handles the position reaching the end; returns 0 when the sound has ended.
static int wrapsound(s_sound *s, uint64_t *position, uint64_t limit)
{
    if (s->callback) {
        s->callback(s->data, s->size);
        *position %= limit;
    } else if (s->loop) {
        *position %= limit; // keeps the fraction past the loop point
    } else {
        return 0;
    }
    return 1;
}

// One sound into the accumulation buffer; returns 0 when it ended.
template <int BYTES, int STEREO>
static int mixsound(s_sound *s, int32_t *acc, uint32_t frames, int32_t gl, int32_t gr)
{
    const uint8_t *data = s->data;
    uint64_t limit = (uint64_t)s->length << 8; // 64-bit: long music must not wrap
    uint64_t position = s->position;
    uint32_t step = s->step;
    if (position >= limit && !wrapsound(s, &position, limit))
        return 0;
    for (uint32_t f = 0; f < frames; f++) {
        uint64_t index = position >> 8;
        int32_t v;
        if (BYTES == 1)
            v = ((int32_t)data[index] - 128) * 256;
        else
            v = (int16_t)(data[2 * index] | data[2 * index + 1] << 8);
        if (STEREO) {
            acc[2 * f] += v * gl;
            acc[2 * f + 1] += v * gr;
        } else {
            acc[f] += v * gl;
        }
        position += step;
        if (position >= limit && !wrapsound(s, &position, limit))
            return 0;
    }
    s->position = position;
    return 1;
}

void audiodriver_mixbuffers(void *out, int bytes, int unused)
{
    (void)unused;
    if (!out || bytes <= 0)
        return;
    std::lock_guard<std::recursive_mutex> hold(mixlock());
    int16_t *dst = (int16_t *)out;
    uint32_t samples = (uint32_t)bytes / 2;
    int32_t *acc = soundsystem.outputbuffer;
    if (!acc) {
        memset(out, 0, (size_t)bytes);
        return;
    }
    uint32_t outch = soundsystem.channels == 2 ? 2 : 1;
    uint32_t frames = samples / outch;
    uint32_t room = soundsystem.outputbuffersize / (4 * outch);
    if (frames > room)
        frames = room;
    memset(acc, 0, soundsystem.outputbuffersize);

    for (int i = 0; i < soundsystem.numactive;) {
        s_sound *s = active_sounds[i];
        if (!s->playing) {
            i++;
            continue;
        }
        // Records are caller-owned: refuse any whose samples do not fit its data.
        uint32_t srcbytes = s->bits == 8 ? 1 : 2;
        if (s->length == 0 || !s->data || (uint64_t)s->length * srcbytes > s->size) {
            Soundsystem_StopSound(s); // the next sound moves into slot i
            continue;
        }
        uint32_t g = (uint32_t)soundsystem.mastervolume *
                     (s->music ? soundsystem.musicvolume : soundsystem.effectvolume);
        int32_t mono = (int32_t)(s->volume * g >> 16);
        int32_t left = (int32_t)(s->leftvolume * g >> 16);
        int32_t right = (int32_t)(s->rightvolume * g >> 16);
        int playing;
        if (outch == 2)
            playing = srcbytes == 1 ? mixsound<1, 1>(s, acc, frames, left, right)
                                    : mixsound<2, 1>(s, acc, frames, left, right);
        else
            playing = srcbytes == 1 ? mixsound<1, 0>(s, acc, frames, mono, 0)
                                    : mixsound<2, 0>(s, acc, frames, mono, 0);
        if (playing)
            i++;
        else
            Soundsystem_StopSound(s);
    }

    uint32_t mixed = frames * outch;
    for (uint32_t i = 0; i < samples; i++) {
        int32_t v = i < mixed ? acc[i] >> 8 : 0;
        if (v > 32767)
            v = 32767;
        else if (v < -32767)
            v = -32767;
        dst[i] = (int16_t)v;
    }
}
