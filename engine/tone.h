// The Helicordia tone engine: sine oscillators played on channels, mixed and
// sent to the sound server through PulseAudio's own client library (which
// PipeWire answers too), or through RtAudio (ALSA, JACK) where no such server
// answers. Each way out is a module of its own, loaded when an output is
// first opened (see output.h).
//
// Every function returns a result code: TONE_OK (0) on success, otherwise one
// of the codes below, whose sentence Tone_ErrorString gives. Objects are
// addressed by 32-bit handles (0 is never a valid handle); an unknown or
// released handle gives an error code, never a crash.
#pragma once

#include <cstdint>

using ToneHandle = std::uint32_t;
using ToneResult = std::int32_t;

enum : ToneResult {
    TONE_OK = 0,
    TONE_ERR_INVALID_HANDLE = 1,
    TONE_ERR_INVALID_PARAM = 2,
    TONE_ERR_NOT_INITIALIZED = 3,
    TONE_ERR_ALREADY_INITIALIZED = 4,
    TONE_ERR_NO_OUTPUT_DEVICE = 5,
    TONE_ERR_OUTPUT_FAILED = 6,
    TONE_ERR_UNSUPPORTED = 7,
    TONE_ERR_NO_FREE_CHANNEL = 8,
    TONE_ERR_OUT_OF_HANDLES = 9,
    TONE_ERR_NO_SOUND_SERVER = 10,
    TONE_ERR_SERVER_NOT_ANSWERING = 11,
    TONE_ERR_SERVER_LOST = 12,
    TONE_ERR_MODULE_MISSING = 13,
};

constexpr std::uint32_t TONE_VERSION = 0x10000;
constexpr int TONE_DSP_TYPE_OSCILLATOR = 2;
constexpr int TONE_OSCILLATOR_PARAM_TYPE = 0; // waveform: 0 = sine
constexpr int TONE_OSCILLATOR_PARAM_RATE = 1; // Hz
// PlayDSP: play on the channel whose handle is passed in (on a free channel
// when that handle is not a live channel of the system).
constexpr int TONE_CHANNEL_REUSE = -2;
constexpr std::uint32_t TONE_INIT_NORMAL = 0;
// Init flag: open no sound device; the mix is produced only by
// Tone_System_Render (tests, benchmarks, offline rendering).
constexpr std::uint32_t TONE_INIT_NO_OUTPUT = 0x100;

constexpr int TONE_MAX_CHANNELS = 32;
constexpr int TONE_SAMPLE_RATE = 48000;    // mixing rate, Hz
constexpr int TONE_BUFFER_FRAMES = 480;    // RtAudio's callback buffer (10 ms; PulseAudio's requests vary)
constexpr int TONE_RAMP_FRAMES = 480;      // start/stop/pause/volume/pan ramps: at least 10 ms,
constexpr int TONE_RAMP_MAX_FRAMES = 2400; // a quarter period below 25 Hz, at most 50 ms

ToneResult Tone_System_Create(ToneHandle *system);
ToneResult Tone_System_GetVersion(ToneHandle system, std::uint32_t *version);
ToneResult Tone_System_Init(ToneHandle system, int maxChannels, std::uint32_t flags, void *extraDriverData);
ToneResult Tone_System_CreateDSPByType(ToneHandle system, int type, ToneHandle *dsp);
ToneResult Tone_DSP_SetParameter(ToneHandle dsp, int index, float value);
ToneResult Tone_System_PlayDSP(ToneHandle system, int channelIndex, ToneHandle dsp, int paused, ToneHandle *channel);
ToneResult Tone_Channel_SetFrequency(ToneHandle channel, float frequency);
ToneResult Tone_Channel_SetVolume(ToneHandle channel, float volume);
ToneResult Tone_Channel_SetPan(ToneHandle channel, float pan);
ToneResult Tone_Channel_SetPaused(ToneHandle channel, int paused);
ToneResult Tone_Channel_Stop(ToneHandle channel);
ToneResult Tone_Channel_GetPan(ToneHandle channel, float *pan);
ToneResult Tone_Channel_GetFrequency(ToneHandle channel, float *frequency);
ToneResult Tone_Channel_GetVolume(ToneHandle channel, float *volume);
ToneResult Tone_Channel_IsPlaying(ToneHandle channel, int *playing);
ToneResult Tone_System_Update(ToneHandle system);
ToneResult Tone_DSP_Release(ToneHandle dsp);
ToneResult Tone_System_Close(ToneHandle system);
ToneResult Tone_System_Release(ToneHandle system);
const char *Tone_ErrorString(ToneResult code);

// ---- additions beyond the player's calls ---------------------------------

// Writes `frames` frames of the mix (interleaved stereo float, TONE_SAMPLE_RATE)
// into `buffer`, exactly as the audio callback does. Only for a system
// initialised with TONE_INIT_NO_OUTPUT (TONE_ERR_UNSUPPORTED otherwise).
ToneResult Tone_System_Render(ToneHandle system, float *buffer, int frames);
// Non-zero while the channel's tone is still heard in what the engine has
// rendered: after Tone_Channel_Stop, until its fade-out has been rendered for
// the output (a stop and a play that reach the mixer together would carry the
// tone on without its fade).
ToneResult Tone_Channel_IsHeard(ToneHandle channel, int *heard);
// How many frames the ramps of a channel last at `frequency` (channel units,
// as Tone_Channel_SetFrequency takes them): a channel stopped while it sounds
// that frequency is silent from this many frames after the stop on. For a
// frequency that cannot be heard, the longest ramp (TONE_RAMP_MAX_FRAMES).
int Tone_RampFrames(float frequency);
// Underruns since Init: every one the sound output reports, and every request
// for audio that came so late that everything buffered had played.
ToneResult Tone_System_GetUnderruns(ToneHandle system, std::uint64_t *count);
// The same, by cause: reported by the sound output (the server ran dry
// although every callback came in time) and late callbacks (this program was
// not scheduled in time).
ToneResult Tone_System_GetUnderrunCauses(ToneHandle system, std::uint64_t *reported, std::uint64_t *late);
// Latency of the open output stream in seconds: the audio buffered ahead, as
// the sound server granted and reports it (0 without a stream).
ToneResult Tone_System_GetOutputLatency(ToneHandle system, double *seconds);
// Non-zero while the output stream runs; *reopens counts the times
// Tone_System_Update has reopened a failed stream.
ToneResult Tone_System_GetOutputState(ToneHandle system, int *running, std::uint32_t *reopens);
// Non-zero while the output stream is suspended because nothing sounds (it
// resumes by itself when a channel plays).
ToneResult Tone_System_GetOutputSuspended(ToneHandle system, int *suspended);
// For tests: marks the output stream as failed, as a lost sound server would,
// so that the next Tone_System_Update reopens it.
ToneResult Tone_System_SimulateOutputFailure(ToneHandle system);

// ---- the sound output: what can be heard, and where ----------------------
// Init never waits for the sound server: the output opens in the background,
// and a server that is missing, stops answering or goes away is a state of
// the output, not an error of any call. It is reopened by itself (at most
// two seconds per attempt) until it plays again.
enum : int {
    TONE_OUTPUT_OPENING = 0,     // the first attempt is still under way
    TONE_OUTPUT_READY = 1,       // plays what is sounded (or stands suspended, ready)
    TONE_OUTPUT_UNAVAILABLE = 2, // could not be opened yet; tried again and again
    TONE_OUTPUT_LOST = 3,        // was ready, then failed; being reopened
};
struct ToneOutputStatus {
    int state = TONE_OUTPUT_OPENING;
    ToneResult reason = TONE_OK;     // unavailable or lost: why (a code for Tone_ErrorString)
    char detail[512] = {};           // more about the reason, or empty
    std::uint32_t losses = 0;        // times a ready output was lost since Init
    std::uint32_t fallbacks = 0;     // times the chosen output was not there and the default played instead
    std::uint32_t outputsListed = 0; // times the server's list of outputs has been read
    char missingOutput[256] = {};    // the chosen output that was not there, at the last fallback
};
ToneResult Tone_System_GetOutputStatus(ToneHandle system, ToneOutputStatus *status);
// The server's outputs as last read (none before the server has answered).
// Names and descriptions are cut to fit and always end in a zero.
ToneResult Tone_System_GetOutputCount(ToneHandle system, int *count);
ToneResult Tone_System_GetOutputInfo(ToneHandle system, int index, char *name, int nameSize, char *description,
                                     int descriptionSize);
// Plays on the output so named from now on; null or "": the system's
// default output, followed when the user changes it. An output that is not
// there (or goes away) falls back to the default, counted in fallbacks.
ToneResult Tone_System_SetOutput(ToneHandle system, const char *name);
