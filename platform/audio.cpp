// Driver choice and the one OpenAL device and context (a real device or the loopback device), and
// the watch that notices a lost device and gets sound back once a device opens again.

#include "platform/audio.h"

#include "platform/audio_device.h"
#include "platform/events_internal.h"
#include "platform/system.h"

#include <AL/alc.h>
#include <AL/alext.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdio>
#include <functional>
#include <numbers>
#include <vector>

namespace platform {

static_assert(std::endian::native == std::endian::little,
              "WAV and Ogg PCM is little-endian and is handed to OpenAL as it is");

namespace {

// How often the device is asked whether it is still there, and how often a lost one is looked for.
constexpr int WATCH_MS = 250;
constexpr int RETRY_MS = 3000;

struct AudioState {
    ALCdevice* device = nullptr;
    ALCcontext* context = nullptr;
    bool loopback = false;
    int loopbackRate = 44100;
    int generation = 1;
    // The device went away (a sound server ended, a headset was unplugged): the driver stays, and
    // the objects below move onto the next device that opens.
    bool lost = false;
    bool canTellConnected = false;
    bool checkSoon = false;
    int lastWatch = 0;
    int lastRetry = 0;
    std::vector<audio_detail::TDeviceObject*> objects;
    std::function<bool()> connectedProbe;
    std::function<bool()> reopenProbe;
    std::string driver;
    AudioDriverKind kind = AudioDriverKind::None;
    bool saidSilent = false;
    bool atEndRegistered = false;
    // Set when EnableOpenALAudio failed to open a device, so that the driver choice that follows
    // does not try (and print the system's complaints) a second time.
    bool openJustFailed = false;
};

// Never destroyed: channels held by static objects may ask about it during the process's exit.
AudioState& State() {
    static AudioState* state = new AudioState;
    return *state;
}

// Closes the device when the process ends normally (before OpenAL's own clean-up runs).
struct TCloser {
    ~TCloser() { CloseAudio(); }
} closer;

const char* const OPENAL_DRIVER = "OpenAL";
const char* const OPENAL_SOFTWARE_DRIVER = "OpenAL Generic Software";
const char* const SOFTWARE_MIXER_DRIVER = "FreeAudio";

void Install(ALCdevice* device, ALCcontext* context, bool loopback) {
    AudioState& s = State();
    s.device = device;
    s.context = context;
    s.loopback = loopback;
    s.canTellConnected = alcIsExtensionPresent(device, "ALC_EXT_disconnect") == ALC_TRUE;
    s.lastWatch = MilliSecs();
    ++s.generation;
    if (!s.atEndRegistered) {
        s.atEndRegistered = true;
        AtEnd(CloseAudio);
    }
}

bool OpenContext(ALCdevice* device, const ALCint* attributes, bool loopback) {
    if (!device) {
        return false;
    }
    ALCcontext* context = alcCreateContext(device, attributes);
    if (!context || !alcMakeContextCurrent(context)) {
        if (context) {
            alcDestroyContext(context);
        }
        alcCloseDevice(device);
        return false;
    }
    Install(device, context, loopback);
    return true;
}

bool OpenDefaultDevice() {
    AudioState& s = State();
    if (s.device && !s.loopback) {
        return true;
    }
    CloseAudio();
    return OpenContext(alcOpenDevice(nullptr), nullptr, false);
}

ALCdevice* OpenLoopbackDevice(int rate, ALCint (&attributes)[7]) {
    if (!alcIsExtensionPresent(nullptr, "ALC_SOFT_loopback")) {
        return nullptr;
    }
    auto open = reinterpret_cast<LPALCLOOPBACKOPENDEVICESOFT>(
        alcGetProcAddress(nullptr, "alcLoopbackOpenDeviceSOFT"));
    if (!open) {
        return nullptr;
    }
    const ALCint list[] = {ALC_FORMAT_CHANNELS_SOFT,
                           ALC_STEREO_SOFT,
                           ALC_FORMAT_TYPE_SOFT,
                           ALC_SHORT_SOFT,
                           ALC_FREQUENCY,
                           rate,
                           0};
    std::copy(std::begin(list), std::end(list), std::begin(attributes));
    return open(nullptr);
}

// The default device opened with standard error silenced: while a sound server is away every try
// would repeat the system's complaints, a dozen lines every few seconds.
ALCdevice* OpenDefaultDeviceQuietly() {
    std::fflush(stderr);
    const int saved = fcntl(STDERR_FILENO, F_DUPFD_CLOEXEC, 0);
    const int null = open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (saved >= 0 && null >= 0) {
        dup2(null, STDERR_FILENO);
    }
    ALCdevice* device = alcOpenDevice(nullptr);
    if (saved >= 0) {
        std::fflush(stderr);
        dup2(saved, STDERR_FILENO);
        close(saved);
    }
    if (null >= 0) {
        close(null);
    }
    return device;
}

bool Connected() {
    AudioState& s = State();
    if (s.connectedProbe) {
        return s.connectedProbe();
    }
    if (!s.canTellConnected) {
        return true;
    }
    ALCint connected = ALC_TRUE;
    alcGetIntegerv(s.device, ALC_CONNECTED, 1, &connected);
    return connected != ALC_FALSE;
}

// The device has gone: its context and everything made on it go with it, and the layer's objects
// wait, silent, for the next device.
void LoseDevice() {
    AudioState& s = State();
    alcMakeContextCurrent(nullptr);
    alcDestroyContext(s.context);
    alcCloseDevice(s.device);
    s.device = nullptr;
    s.context = nullptr;
    ++s.generation;
    s.lost = true;
    s.lastRetry = MilliSecs();
    Warn("audio", "the sound device was lost: the game plays on silently and looks for it every "
                  "few seconds");
}

// One try to open a device of the lost one's kind; on success the layer's objects move onto it.
void TryReopen() {
    AudioState& s = State();
    if (s.reopenProbe && !s.reopenProbe()) {
        return;
    }
    ALCint attributes[7] = {0};
    ALCdevice* device =
        s.loopback ? OpenLoopbackDevice(s.loopbackRate, attributes) : OpenDefaultDeviceQuietly();
    if (!OpenContext(device, s.loopback ? attributes : nullptr, s.loopback)) {
        return;
    }
    s.lost = false;
    // A copy: an object that goes while another adopts must not be visited.
    const std::vector<audio_detail::TDeviceObject*> objects = s.objects;
    for (audio_detail::TDeviceObject* object : objects) {
        if (std::find(s.objects.begin(), s.objects.end(), object) != s.objects.end()) {
            object->Adopt();
        }
    }
    Warn("audio", "a sound device is open again: sound is back");
}

void SaySilent() {
    AudioState& s = State();
    if (!s.saidSilent) {
        s.saidSilent = true;
        Warn("audio", "no device could be opened: the game runs without sound");
    }
}

} // namespace

namespace audio_detail {

int Generation() {
    return State().generation;
}

bool Live(int generation) {
    const AudioState& s = State();
    return s.context && generation == s.generation;
}

bool DeviceLost() {
    return State().lost;
}

void CheckDeviceSoon() {
    State().checkSoon = true;
}

TDeviceObject::TDeviceObject() {
    State().objects.push_back(this);
}

TDeviceObject::~TDeviceObject() {
    std::erase(State().objects, this);
}

ALenum PcmFormat(int channels, int bits) {
    if (channels == 1) {
        return bits == 8 ? AL_FORMAT_MONO8 : bits == 16 ? AL_FORMAT_MONO16 : 0;
    }
    if (channels == 2) {
        return bits == 8 ? AL_FORMAT_STEREO8 : bits == 16 ? AL_FORMAT_STEREO16 : 0;
    }
    return 0;
}

void SetSourceVolume(ALuint source, float volume) {
    alSourcef(source, AL_GAIN, volume > 0.0f ? volume : 0.0f); // NaN fails the test too
}

void SetSourcePan(ALuint source, float pan) {
    if (std::isnan(pan)) {
        pan = 0.0f;
    }
    const double angle = double(std::fmax(-1.0f, std::fmin(1.0f, pan))) * std::numbers::pi / 2.0;
    alSource3f(source, AL_POSITION, float(std::sin(angle)), 0.0f, float(-std::cos(angle)));
}

void SetSourceRate(ALuint source, float rate) {
    constexpr float MIN_RATE = 0.01f;
    constexpr float MAX_RATE = 100.0f;
    if (std::isnan(rate)) {
        rate = 1.0f;
    }
    alSourcef(source, AL_PITCH, std::fmax(MIN_RATE, std::fmin(MAX_RATE, rate)));
}

ALuint NewSource() {
    alGetError();
    ALuint source = 0;
    alGenSources(1, &source);
    if (alGetError() != AL_NO_ERROR) {
        return 0; // out of sources
    }
    alSource3f(source, AL_POSITION, 0.0f, 0.0f, 0.0f);
    alSource3f(source, AL_VELOCITY, 0.0f, 0.0f, 0.0f);
    alSource3f(source, AL_DIRECTION, 0.0f, 0.0f, 0.0f);
    alSourcef(source, AL_ROLLOFF_FACTOR, 0.0f);
    alSourcei(source, AL_SOURCE_RELATIVE, AL_TRUE);
    return source;
}

ALint SourceState(ALuint source) {
    ALint state = AL_STOPPED;
    alGetSourcei(source, AL_SOURCE_STATE, &state);
    return state;
}

} // namespace audio_detail

bool EnableOpenALAudio() {
    AudioState& s = State();
    s.openJustFailed = !OpenDefaultDevice();
    return !s.openJustFailed;
}

std::vector<std::string> AudioDrivers() {
    return {OPENAL_DRIVER, OPENAL_SOFTWARE_DRIVER, SOFTWARE_MIXER_DRIVER};
}

bool SetAudioDriver(const std::string& name) {
    AudioState& s = State();
    const bool tried = s.openJustFailed;
    s.openJustFailed = false;
    if (name == OPENAL_DRIVER || name == OPENAL_SOFTWARE_DRIVER) {
        if (!(s.device && !s.loopback) && (tried || !OpenDefaultDevice())) {
            SaySilent();
        }
        s.kind = AudioDriverKind::OpenAL;
        s.driver = name;
        return true;
    }
    CloseAudio();
    if (name == SOFTWARE_MIXER_DRIVER) {
        s.kind = AudioDriverKind::SoftwareMixer;
        s.driver = name;
        return true;
    }
    s.kind = AudioDriverKind::None;
    s.driver.clear();
    return false;
}

std::string AudioDriver() {
    return State().driver;
}

AudioDriverKind CurrentAudioDriverKind() {
    return State().kind;
}

bool AudioDeviceOpen() {
    return State().context != nullptr;
}

void CloseAudio() {
    AudioState& s = State();
    // Objects made so far stay with the device that is closed now: silent for good.
    s.objects.clear();
    s.lost = false;
    if (!s.device) {
        return;
    }
    alcMakeContextCurrent(nullptr);
    if (s.context) {
        alcDestroyContext(s.context);
    }
    alcCloseDevice(s.device);
    s.device = nullptr;
    s.context = nullptr;
    s.loopback = false;
    ++s.generation;
}

bool OpenLoopbackAudio(int rate) {
    CloseAudio();
    AudioState& s = State();
    ALCint attributes[7] = {0};
    if (!OpenContext(OpenLoopbackDevice(rate, attributes), attributes, true)) {
        return false;
    }
    s.loopbackRate = rate;
    s.kind = AudioDriverKind::OpenAL;
    s.driver = "Loopback";
    return true;
}

void RenderAudio(int frames, int16_t* out) {
    if (frames <= 0) {
        return;
    }
    AudioState& s = State();
    static auto render = reinterpret_cast<LPALCRENDERSAMPLESSOFT>(
        alcGetProcAddress(nullptr, "alcRenderSamplesSOFT"));
    if (s.loopback && s.device && render) {
        render(s.device, out, frames);
        return;
    }
    std::fill(out, out + 2 * size_t(frames), int16_t(0));
}

void SetAudioDeviceProbes(std::function<bool()> connected, std::function<bool()> reopen) {
    AudioState& s = State();
    s.connectedProbe = std::move(connected);
    s.reopenProbe = std::move(reopen);
}

namespace detail {

void WatchAudioDevice() {
    AudioState& s = State();
    if (!s.context && !s.lost) {
        return;
    }
    const int now = MilliSecs();
    if (s.lost) {
        if (MilliSecsDiff(now, s.lastRetry) >= RETRY_MS) {
            s.lastRetry = now;
            TryReopen();
        }
        return;
    }
    if (!s.checkSoon && MilliSecsDiff(now, s.lastWatch) < WATCH_MS) {
        return;
    }
    s.checkSoon = false;
    s.lastWatch = now;
    if (!Connected()) {
        LoseDevice();
    }
}

} // namespace detail

} // namespace platform
