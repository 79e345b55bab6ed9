// Driver choice and the one OpenAL device and context (a real device or the loopback device), and
// the watch that notices a lost device and gets sound back once a device opens again. A try to
// open a device after a loss runs on a thread of its own: opening waits for the sound server's
// answer, and a server that accepts and never answers holds it for half a minute.

#include "platform/audio.h"

#include "platform/audio_device.h"
#include "platform/child_program_internal.h"
#include "platform/events_internal.h"
#include "platform/system.h"

#include <AL/alc.h>
#include <AL/alext.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <bit>
#include <chrono>
#include <cmath>
#include <functional>
#include <future>
#include <memory>
#include <mutex>
#include <numbers>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

namespace platform {

static_assert(std::endian::native == std::endian::little,
              "WAV and Ogg PCM is little-endian and is handed to OpenAL as it is");

namespace {

// How often the device is asked whether it is still there, and how long after one try to open a
// lost one has ended the next may start.
constexpr int WATCH_MS = 250;
constexpr int RETRY_MS = 3000;
// How long the program that asks whether a device would open may take: a little beyond the sound
// server library's own time-out of half a minute.
constexpr int PROBE_DEADLINE_MS = 40000;
const char* const PROBE_PROGRAM = "pelorin-audio-probe";

// One try to open a device after a loss, shared by the thread that makes it and the main thread,
// which takes its device once it is done. A try given up (the driver closed or changed meanwhile)
// closes what it opened itself.
struct TReopenTry {
    std::mutex mutex;
    bool done = false;
    bool abandoned = false;
    ALCdevice* device = nullptr;
    ALCcontext* context = nullptr;
    // What the sound libraries said while a failed try asked whether a device would open.
    std::string complaints;
    // The program asking, while it runs: a try given up ends it.
    detail::TChildProgram* asker = nullptr;
};

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
    // When the loss was noticed or the last try ended.
    int lastRetry = 0;
    std::shared_ptr<TReopenTry> reopen;
    // The sound libraries' complaints are shown for the first failed try of a loss only.
    bool complained = false;
    std::vector<audio_detail::TDeviceObject*> objects;
    std::function<bool()> connectedProbe;
    std::function<bool()> reopenProbe;
    std::function<void()> closingProbe;
    int probeDeadline = PROBE_DEADLINE_MS;
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

// At the end of the process. A device's close waits for the sound server's answer, and a server
// that has stopped answering (stopped, or hung while connected) holds it for half a minute: the
// close runs on a thread of its own, which the end waits for a second at most before it goes on
// without it. Everything the game must write is written before.
void CloseAudioBriefly() {
    auto closed = std::make_shared<std::promise<void>>();
    std::future<void> done = closed->get_future();
    try {
        std::thread([closed] {
            CloseAudio();
            closed->set_value();
        }).detach();
    } catch (const std::system_error&) {
        CloseAudio(); // no thread to spare: closed here
        return;
    }
    done.wait_for(std::chrono::seconds(1));
}

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
        AtEnd(CloseAudioBriefly);
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

// Whether the default device would open now, asked of a program of the layer's own beside the
// game (its answer says). What the sound libraries say while a server is away comes back in
// complaints instead of repeating on the game's standard error at every try, and the game's own
// standard error stays as it is however long a try waits. A program of its own, not a bare fork:
// the sound server's library refuses to work in a fork of a process that used it. Runs on the try's
// thread; a try given up kills the program, and so does the deadline: a library that waits for good
// must not hold every later try of the loss. Without the program, true: the open itself will tell.
bool DeviceWouldOpen(TReopenTry& t, int deadlineMs, std::string& complaints) {
    int ends[2];
    if (pipe2(ends, O_CLOEXEC) != 0) {
        return true;
    }
    detail::TChildProgram asker(PROBE_PROGRAM, {}, false, ends[1]);
    close(ends[1]);
    if (!asker.Started()) {
        close(ends[0]);
        return true;
    }
    fcntl(ends[0], F_SETFL, O_NONBLOCK);
    {
        std::lock_guard<std::mutex> lock(t.mutex);
        if (t.abandoned) {
            asker.Kill();
        }
        t.asker = &asker;
    }
    // Read as it comes, not to its end: a server that the libraries start would hold the pipe.
    constexpr size_t MOST_SAID = 4096;
    int said = ends[0];
    const auto readSaid = [&] {
        char buffer[512];
        ssize_t got;
        while ((got = read(said, buffer, sizeof buffer)) > 0) {
            complaints.append(buffer, std::min(size_t(got), MOST_SAID - complaints.size()));
        }
        if (got == 0) {
            said = -1; // nobody writes any more: nothing to wait for there
        }
    };
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(deadlineMs);
    bool ended = false;
    bool late = false;
    while (!ended && !late) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        late = left <= 0;
        if (late) {
            asker.Kill();
            asker.WaitForEnd(-1);
        } else {
            ended = asker.WaitForEnd(int(left), said);
        }
        if (said != -1) {
            readSaid();
        }
    }
    {
        std::lock_guard<std::mutex> lock(t.mutex);
        t.asker = nullptr;
    }
    close(ends[0]);
    if (late) {
        complaints += "audio: the sound system did not answer within " +
                      std::to_string(deadlineMs / 1000) + " s\n";
    }
    return ended && asker.Answer() == "1";
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
    s.complained = false;
    s.lastRetry = MilliSecs();
    Warn("audio", "the sound device was lost: the game plays on silently and looks for it every "
                  "few seconds");
}

// The body of a try's thread: a device of the lost one's kind with its context, or nothing.
void RunTry(const std::shared_ptr<TReopenTry>& t, bool loopback, int loopbackRate,
            const std::function<bool()>& mayOpen, int probeDeadline) {
    ALCdevice* device = nullptr;
    ALCcontext* context = nullptr;
    std::string complaints;
    if (!mayOpen || mayOpen()) {
        ALCint attributes[7] = {0};
        if (loopback) {
            device = OpenLoopbackDevice(loopbackRate, attributes);
        } else if (DeviceWouldOpen(*t, probeDeadline, complaints)) {
            device = alcOpenDevice(nullptr);
        }
        context = device ? alcCreateContext(device, loopback ? attributes : nullptr) : nullptr;
        if (!context && device) {
            alcCloseDevice(device);
            device = nullptr;
        }
    }
    std::lock_guard<std::mutex> lock(t->mutex);
    if (t->abandoned) {
        if (context) {
            alcDestroyContext(context);
            alcCloseDevice(device);
        }
        return;
    }
    t->device = device;
    t->context = context;
    t->complaints = std::move(complaints);
    t->done = true;
}

void StartTry() {
    AudioState& s = State();
    auto t = std::make_shared<TReopenTry>();
    try {
        // Detached: the orderly end of the game never waits for a try that hangs.
        std::thread(RunTry, t, s.loopback, s.loopbackRate, s.reopenProbe, s.probeDeadline).detach();
    } catch (const std::system_error&) {
        s.lastRetry = MilliSecs(); // no thread now: tried again later
        return;
    }
    s.reopen = std::move(t);
}

// Gives up the running try, if any: what it opens from now on is closed by its own thread.
void AbandonTry() {
    AudioState& s = State();
    if (!s.reopen) {
        return;
    }
    {
        std::lock_guard<std::mutex> lock(s.reopen->mutex);
        s.reopen->abandoned = true;
        if (s.reopen->asker) {
            s.reopen->asker->Kill();
        }
        if (s.reopen->context) {
            alcDestroyContext(s.reopen->context);
            alcCloseDevice(s.reopen->device);
        }
    }
    s.reopen.reset();
}

// Takes the result of a try that has ended; on a device, the layer's objects move onto it.
void EndTry() {
    AudioState& s = State();
    ALCdevice* device;
    ALCcontext* context;
    std::string complaints;
    {
        std::lock_guard<std::mutex> lock(s.reopen->mutex);
        if (!s.reopen->done) {
            return;
        }
        device = s.reopen->device;
        context = s.reopen->context;
        complaints = std::move(s.reopen->complaints);
    }
    s.reopen.reset();
    s.lastRetry = MilliSecs();
    if (!complaints.empty() && !s.complained) {
        s.complained = true;
        for (const std::string& line :
             BreakIntoLines(complaints, [](const std::string&) { return true; })) {
            if (!line.empty()) {
                PrintError(line);
            }
        }
    }
    if (!context) {
        return;
    }
    if (!alcMakeContextCurrent(context)) {
        alcDestroyContext(context);
        alcCloseDevice(device);
        return;
    }
    Install(device, context, s.loopback);
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

bool AudioDeviceSought() {
    return State().reopen != nullptr;
}

void CloseAudio() {
    AudioState& s = State();
    // Objects made so far stay with the device that is closed now: silent for good.
    s.objects.clear();
    s.lost = false;
    AbandonTry();
    if (!s.device) {
        return;
    }
    if (s.closingProbe) {
        s.closingProbe();
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

void SetAudioDeviceProbes(std::function<bool()> connected, std::function<bool()> reopen,
                          std::function<void()> closing) {
    AudioState& s = State();
    s.connectedProbe = std::move(connected);
    s.reopenProbe = std::move(reopen);
    s.closingProbe = std::move(closing);
}

void SetAudioProbeDeadline(int ms) {
    State().probeDeadline = ms > 0 ? ms : PROBE_DEADLINE_MS;
}

namespace detail {

void WatchAudioDevice() {
    AudioState& s = State();
    if (!s.context && !s.lost) {
        return;
    }
    const int now = MilliSecs();
    if (s.lost) {
        if (s.reopen) {
            EndTry();
        } else if (MilliSecsDiff(now, s.lastRetry) >= RETRY_MS) {
            StartTry();
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
