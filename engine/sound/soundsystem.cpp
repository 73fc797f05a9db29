// Sound records, mix settings and the active table. Loading reads through
// the virtual file system; saving writes through it (directory mounts).
// Sample data lives on the plain heap.
#include "engine/sound/soundsystem.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "engine/corefile/corefile.h"
#include "engine/sound/audiodriver.h"
#include "engine/sound/wav.h"

s_soundsystem soundsystem;
s_sound *active_sounds[SOUNDSYSTEM_MAXACTIVE];

static int32_t *g_outputcopy; // what Soundsystem_GetOutputBuffer hands out

static uint8_t clampbyte(int value)
{
    return (uint8_t)(value < 0 ? 0 : value > 255 ? 255 : value);
}

// channels * (frequency * 256) / mixrate, in 64 bits so no rate overflows.
static uint32_t stepfor(const s_sound *sound, uint32_t frequency)
{
    if (soundsystem.mixrate == 0)
        return 0;
    uint64_t scaled = (uint64_t)sound->channels * ((uint64_t)frequency * 256);
    return (uint32_t)(scaled / soundsystem.mixrate);
}

static void setgains(s_sound *sound)
{
    sound->leftvolume = (uint8_t)((255 - sound->panning) * sound->volume >> 8);
    sound->rightvolume = (uint8_t)(sound->panning * sound->volume >> 8);
}

static void setdefaults(s_sound *sound)
{
    sound->position = 0;
    sound->step = stepfor(sound, sound->frequency);
    sound->volume = 255;
    sound->panning = 128;
    sound->leftvolume = 128;
    sound->rightvolume = 128;
    sound->playing = 0;
    sound->music = 0;
}

int Soundsystem_Init(int mixrate, int bits, int channels)
{
    if (soundsystem.outputbuffer)
        Soundsystem_CloseAudio();
    soundsystem.mixrate = mixrate > 0 ? (uint32_t)mixrate : 0;
    // The mixer knows mono and stereo; anything else mixes as mono.
    soundsystem.channels = channels == 2 ? 2 : 1;
    soundsystem.bits = (uint16_t)bits;
    soundsystem.numsounds = 0;
    soundsystem.numactive = 0;
    memset(active_sounds, 0, sizeof active_sounds);
    soundsystem.mastervolume = soundsystem.musicvolume = soundsystem.effectvolume = 255;
    soundsystem.bufferlength = AUDIODRIVER_FRAMES;

    // The device runs at the mix rate so that every step matches what it plays.
    audiodriver_init(mixrate, 16, AUDIODRIVER_FRAMES, channels == 2 ? AUDIODRIVER_STEREO : 0);
    printf("soundsystem bufferlength = %d\n", (int)soundsystem.bufferlength);

    uint32_t size = soundsystem.channels * soundsystem.bufferlength * 4;
    int32_t *buffer = (int32_t *)calloc(1, size);
    g_outputcopy = (int32_t *)calloc(1, size);
    if (!buffer || !g_outputcopy) {
        puts("soundsystem: out of memory for the mix buffer, running silent");
        free(buffer);
        free(g_outputcopy);
        buffer = g_outputcopy = nullptr;
        size = 0;
    }
    // The device may already be pulling blocks.
    audiodriver_lock();
    soundsystem.outputbuffersize = size;
    soundsystem.outputbuffer = buffer;
    audiodriver_unlock();
    return 1;
}

void Soundsystem_CloseAudio()
{
    audiodriver_close();
    // An offline mixer may still be running on a thread of the caller's.
    audiodriver_lock();
    int32_t *buffer = soundsystem.outputbuffer;
    soundsystem.outputbuffer = nullptr;
    soundsystem.outputbuffersize = 0;
    audiodriver_unlock();
    free(buffer);
    free(g_outputcopy);
    g_outputcopy = nullptr;
}

static void setmixvolume(uint16_t *setting, int volume)
{
    audiodriver_lock();
    *setting = clampbyte(volume);
    audiodriver_unlock();
}

void Soundsystem_SetMasterVolume(int volume)
{
    setmixvolume(&soundsystem.mastervolume, volume);
}

void Soundsystem_SetMusicVolume(int volume)
{
    setmixvolume(&soundsystem.musicvolume, volume);
}

void Soundsystem_SetEffectVolume(int volume)
{
    setmixvolume(&soundsystem.effectvolume, volume);
}

void Soundsystem_SetVolume(s_sound *sound, int volume)
{
    audiodriver_lock();
    sound->volume = clampbyte(volume);
    setgains(sound);
    audiodriver_unlock();
}

void Soundsystem_SetPanning(s_sound *sound, int panning)
{
    audiodriver_lock();
    sound->panning = clampbyte(panning);
    setgains(sound);
    audiodriver_unlock();
}

void Soundsystem_SetFrequency(s_sound *sound, int frequency)
{
    audiodriver_lock();
    sound->step = stepfor(sound, frequency > 0 ? (uint32_t)frequency : 0);
    audiodriver_unlock();
}

void Soundsystem_SetSoundOffset(s_sound *sound, uint64_t offset)
{
    audiodriver_lock();
    sound->position = offset;
    audiodriver_unlock();
}

uint64_t Soundsystem_GetSoundOffset(s_sound sound)
{
    return sound.position;
}

int32_t *Soundsystem_GetOutputBuffer()
{
    if (!g_outputcopy)
        return nullptr;
    audiodriver_lock();
    memcpy(g_outputcopy, soundsystem.outputbuffer, soundsystem.outputbuffersize);
    audiodriver_unlock();
    return g_outputcopy;
}

char *upcase_sound(char *string)
{
    for (char *c = string; *c; c++)
        if (*c >= 'a' && *c <= 'z')
            *c = (char)(*c - 'a' + 'A');
    return string;
}

void Soundsystem_PlaySound(s_sound *sound, int loop)
{
    audiodriver_lock();
    sound->playing = 1;
    sound->position = 0;
    if (loop)
        sound->loop = 1;
    int found = 0;
    for (int i = 0; i < soundsystem.numactive; i++)
        found |= active_sounds[i] == sound;
    if (!found && soundsystem.numactive < SOUNDSYSTEM_MAXACTIVE)
        active_sounds[soundsystem.numactive++] = sound;
    audiodriver_unlock();
}

void Soundsystem_PlayMusic(s_sound *sound, int loop)
{
    audiodriver_lock();
    sound->music = 1;
    Soundsystem_PlaySound(sound, loop);
    audiodriver_unlock();
}

// Also called by the mixer, under the mixer's lock, when a sound ends.
void Soundsystem_StopSound(s_sound *sound)
{
    audiodriver_lock();
    sound->position = 0;
    sound->playing = 0;
    for (int i = 0; i < soundsystem.numactive; i++) {
        if (active_sounds[i] != sound)
            continue;
        memmove(&active_sounds[i], &active_sounds[i + 1],
                (size_t)(soundsystem.numactive - 1 - i) * sizeof active_sounds[0]);
        active_sounds[--soundsystem.numactive] = nullptr;
        break;
    }
    audiodriver_unlock();
}

void Soundsystem_StopMusic(s_sound *sound)
{
    Soundsystem_StopSound(sound);
}

void Soundsystem_DeleteSound(s_sound *sound)
{
    Soundsystem_StopSound(sound); // out of the table, so the mixer no longer reads it
    free(sound->data);
    sound->data = nullptr;
    sound->size = 0;
    sound->length = 0;
    if (soundsystem.numsounds > 0)
        soundsystem.numsounds--;
}

void Soundsystem_LoadSound(const char *name, s_sound *sound)
{
    printf("Loading sound %s\n", name);
    // Reloading a playing record must not leave it in the table while cleared.
    Soundsystem_StopSound(sound);
    *sound = s_sound{};

    const char *dot = strrchr(name, '.');
    char extension[8];
    if (dot && dot != name && strlen(dot) < sizeof extension) {
        strcpy(extension, dot);
        if (strcmp(upcase_sound(extension), ".WAV") == 0)
            Soundsystem_LoadWAV(name, sound);
    }
    setdefaults(sound);
    soundsystem.numsounds++;
}

int Soundsystem_LoadWAV(const char *name, s_sound *sound)
{
    s_corefile file;
    if (!corefile_open(name, &file, 0))
        return 0;
    uint32_t filesize = file.size;
    uint8_t *bytes = (uint8_t *)malloc(filesize ? filesize : 1);
    if (!bytes) {
        printf("%s: out of memory for %u bytes\n", name, (unsigned)filesize);
        corefile_close(&file);
        return 0;
    }
    uint32_t got = corefile_read(bytes, 1, filesize, &file);
    corefile_close(&file);
    int ok = Soundsystem_LoadWAVBuffer(name, bytes, got, sound);
    free(bytes);
    return ok;
}

int Soundsystem_LoadWAVBuffer(const char *name, const uint8_t *file, size_t filesize,
                              s_sound *sound)
{
    s_wavinfo info;
    e_waverror error = wav_parse(file, filesize, &info);
    // The two classic refusals print without a line end. A marker missing
    // at its fixed offset (an extra chunk) is named too, rather than leaving
    // a silent sound nobody can explain.
    if (error == WAV_NOTWAV || error == WAV_NOTPCM) {
        fputs(wav_errortext(error), stdout);
        return 0;
    }
    if (error != WAV_OK) {
        printf("%s: %s\n", name, wav_errortext(error));
        return 0;
    }
    uint8_t *data = (uint8_t *)malloc(info.size ? info.size : 1);
    if (!data) {
        printf("%s: out of memory for %u bytes of samples\n", name, (unsigned)info.size);
        return 0;
    }
    memcpy(data, info.samples, info.size);
    sound->channels = info.channels;
    sound->bits = info.bits;
    sound->frequency = info.frequency;
    sound->size = info.size;
    sound->length = info.size / (info.bits / 8);
    sound->data = data;
    return 1;
}

int Soundsystem_SaveWAV(const char *name, s_sound *sound)
{
    // The header states length whole samples; never write more than data holds.
    uint64_t datasize = (uint64_t)sound->length * (sound->bits / 8);
    if (datasize > sound->size)
        datasize = sound->size;
    if (!sound->data)
        datasize = 0;
    if (datasize > UINT32_MAX - WAV_HEADERSIZE) {
        printf("%s: sound too large for a WAV file\n", name);
        return 0;
    }
    uint32_t total = (uint32_t)datasize + WAV_HEADERSIZE;
    uint8_t *buffer = (uint8_t *)malloc(total);
    if (!buffer) {
        printf("%s: out of memory for %u bytes\n", name, (unsigned)total);
        return 0;
    }
    wav_writeheader(buffer, sound->channels, sound->bits, sound->frequency, (uint32_t)datasize);
    if (datasize)
        memcpy(buffer + WAV_HEADERSIZE, sound->data, (size_t)datasize);
    int ok = corefile_savebuffer(name, buffer, total);
    free(buffer);
    return ok;
}

int Soundsystem_SaveSound(const char *name, s_sound *sound)
{
    return Soundsystem_SaveWAV(name, sound);
}

int Soundsystem_CreateSoundStream(s_sound *sound, s_soundcallback callback, int frequency,
                                  int bits, int channels, int length)
{
    Soundsystem_StopSound(sound);
    *sound = s_sound{};
    uint64_t size = (uint64_t)(bits / 8) * (uint64_t)(channels > 0 ? channels : 0) *
                    (uint64_t)(length > 0 ? length : 0);
    if ((bits != 8 && bits != 16) || (channels != 1 && channels != 2) || frequency <= 0 ||
        length <= 0 || size > UINT32_MAX) {
        printf("sound stream refused: %d Hz, %d bits, %d channels, %d frames\n", frequency, bits,
               channels, length);
        size = 0;
    }
    sound->data = size ? (uint8_t *)malloc((size_t)size) : nullptr;
    if (sound->data) {
        // Silence until the first refill: 128 for unsigned 8-bit samples.
        memset(sound->data, bits == 8 ? 128 : 0, (size_t)size);
        sound->channels = (uint16_t)channels;
        sound->bits = (uint16_t)bits;
        sound->frequency = (uint32_t)frequency;
        sound->size = (uint32_t)size;
        // Counted in samples like a loaded sound, so the whole buffer plays
        // before the refill, stereo included.
        sound->length = (uint32_t)length * (uint32_t)channels;
        sound->stream = 1;
        sound->streamlength = (uint32_t)length;
        sound->streamsize = (uint32_t)size;
        sound->callback = callback;
    }
    setdefaults(sound);
    sound->loop = 1;
    soundsystem.numsounds++;
    return soundsystem.numsounds;
}
