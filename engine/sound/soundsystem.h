// Sound system: caller-owned sound records, the mix settings and the table
// of sounds being mixed. Sounds load from the virtual file system as WAV.
//
// Threads: every Soundsystem_ call belongs to the application thread. The
// audio device's thread mixes the active table (audiodriver.h); table and
// record changes made here take the mixer's lock, so a start, stop or
// volume change never meets a half-finished mix pass. The two fields the
// mixer changes on its own, playing and position, are atomic, so the
// application reads them without the lock.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>

// Most sounds mixed at once; a sound started beyond this stays silent.
enum { SOUNDSYSTEM_MAXACTIVE = 16 };

// Stream refill: called on the audio thread, under the mixer's lock, with the
// stream's data and its size in bytes whenever the mixer has played it all.
typedef void (*s_soundcallback)(void *data, uint32_t size);

// A record field the mixer's thread writes while the application reads it
// unlocked. Every access is one relaxed atomic load or store; copying reads
// it the same way, so records stay copyable (Soundsystem_GetSoundOffset
// takes one by value) and start at 0 when value-initialised.
template <typename T> struct s_mixerfield {
    std::atomic<T> value;
    s_mixerfield(T v = 0) : value(v) {}
    s_mixerfield(const s_mixerfield &other) : value((T)other) {}
    s_mixerfield &operator=(const s_mixerfield &other) { return *this = (T)other; }
    s_mixerfield &operator=(T v)
    {
        value.store(v, std::memory_order_relaxed);
        return *this;
    }
    operator T() const { return value.load(std::memory_order_relaxed); }
};

struct s_sound {
    s_mixerfield<uint16_t> playing; // 1 while started and not stopped; the application reads it
    uint16_t channels;        // 1 or 2
    uint16_t bits;            // 8 (unsigned) or 16 (signed little-endian)
    uint32_t size;            // bytes in data
    uint32_t length;          // samples in data, all channels counted
    uint32_t frequency;       // Hz
    s_mixerfield<uint64_t> position; // read position in samples, 8 fraction bits
    uint32_t step;            // position increment per output frame
    uint32_t loop;            // restart at the end instead of stopping
    uint32_t music;           // mixed with the music volume, else the effect volume
    uint8_t volume;           // 0..255
    uint8_t leftvolume;       // (255 - panning) * volume >> 8
    uint8_t rightvolume;      // panning * volume >> 8
    uint8_t panning;          // 0 left .. 255 right
    uint32_t stream;          // 1 for a stream
    uint32_t streamlength;    // stream length in frames
    uint32_t streamsize;      // stream buffer size in bytes
    uint32_t streamposition;
    s_soundcallback callback; // stream refill, null for loaded sounds
    uint8_t *data;            // owned samples, channels interleaved
};

struct s_soundsystem {
    uint32_t mixrate;          // output rate in Hz, used for every step
    uint16_t channels;         // output channels, 1 or 2
    uint16_t bits;             // output bits
    uint32_t bufferlength;     // frames per mix pass (2048)
    uint32_t outputbuffersize; // bytes of outputbuffer
    uint16_t mastervolume, musicvolume, effectvolume; // 0..255
    int32_t *outputbuffer;     // accumulation buffer of the last pass, channels interleaved
    int numsounds;             // loaded and created sounds (bookkeeping)
    int numactive;             // entries in active_sounds
};

extern s_soundsystem soundsystem;
extern s_sound *active_sounds[SOUNDSYSTEM_MAXACTIVE];

// --- Start-up and shut-down -------------------------------------------------
int Soundsystem_Init(int mixrate, int bits, int channels);   // opens the driver; always 1
void Soundsystem_CloseAudio();                               // closes the driver, frees the buffers

// --- Mix settings (clamped to 0..255) ---------------------------------------
void Soundsystem_SetMasterVolume(int volume);
void Soundsystem_SetMusicVolume(int volume);
void Soundsystem_SetEffectVolume(int volume);

// --- Per-sound settings -----------------------------------------------------
void Soundsystem_SetVolume(s_sound *sound, int volume);       // also recomputes left/right
void Soundsystem_SetPanning(s_sound *sound, int panning);     // also recomputes left/right
void Soundsystem_SetFrequency(s_sound *sound, int frequency); // changes step only
void Soundsystem_SetSoundOffset(s_sound *sound, uint64_t offset); // samples * 256
uint64_t Soundsystem_GetSoundOffset(s_sound sound);

// --- Loading, saving, streams -----------------------------------------------
void Soundsystem_LoadSound(const char *name, s_sound *sound); // by extension; .wav only
int Soundsystem_LoadWAV(const char *name, s_sound *sound);    // 1 loaded, 0 refused
// The same for a file already in memory; name is only for the messages.
int Soundsystem_LoadWAVBuffer(const char *name, const uint8_t *file, size_t filesize,
                              s_sound *sound);
int Soundsystem_SaveSound(const char *name, s_sound *sound);  // as WAV, directory mounts only
int Soundsystem_SaveWAV(const char *name, s_sound *sound);
int Soundsystem_CreateSoundStream(s_sound *sound, s_soundcallback callback, int frequency,
                                  int bits, int channels, int length); // new numsounds
void Soundsystem_DeleteSound(s_sound *sound);                 // stops it and frees its data

// --- Playing ----------------------------------------------------------------
void Soundsystem_PlaySound(s_sound *sound, int loop);         // restarts a playing sound
void Soundsystem_PlayMusic(s_sound *sound, int loop);         // the same, mixed as music
void Soundsystem_StopSound(s_sound *sound);
void Soundsystem_StopMusic(s_sound *sound);

// A copy of the accumulation buffer of the last mix pass (bufferlength
// frames of soundsystem.channels 32-bit sums), taken under the mixer's lock
// so it never holds half of one pass and half of the next. Valid until the
// next call; null before Soundsystem_Init.
int32_t *Soundsystem_GetOutputBuffer();

// Upper-cases a..z in place; returns the string.
char *upcase_sound(char *string);
