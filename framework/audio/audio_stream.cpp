#include "framework/audio/audio_stream.h"

#include "platform/system.h"

platform::TimerPtr TAudioStream::Timer;

namespace {

constexpr float UPDATE_HERTZ = 120.0f;

} // namespace

TAudioStream::~TAudioStream() = default;

std::shared_ptr<TAudioStream> TAudioStream::Create(const TMusicSource& source, int loop, int flag,
                                                   std::string* error) {
    TMusicPtr music = LoadMusic(source, error);
    if (!music) {
        return nullptr;
    }
    if (error) {
        error->clear(); // from here on a failure is not the file's fault
    }
    music->Seti(MUSIC_LOOP, loop);
    return Attach(ForDriver(music, flag), music, 0);
}

std::shared_ptr<TAudioStream> TAudioStream::Create(const TMusicPtr& music, int loop, int flag,
                                                   std::string* error) {
    if (error) {
        error->clear();
    }
    if (!music) {
        return nullptr;
    }
    music->Seti(MUSIC_LOOP, loop);
    return Attach(ForDriver(music, flag), music, 1);
}

// The stream type of the current driver; none for no driver, or OpenAL without a device.
std::shared_ptr<TAudioStream> TAudioStream::ForDriver(const TMusicPtr& music, int flag) {
    switch (platform::CurrentAudioDriverKind()) {
    case platform::AudioDriverKind::OpenAL:
        return TOpenALAudioStream::Build(music, flag);
    case platform::AudioDriverKind::SoftwareMixer:
        return std::make_shared<TFreeAudioAudioStream>();
    case platform::AudioDriverKind::None:
        break;
    }
    return nullptr;
}

std::shared_ptr<TAudioStream> TAudioStream::Attach(std::shared_ptr<TAudioStream> stream,
                                                   const TMusicPtr& music, int keep) {
    if (!stream) {
        return nullptr;
    }
    if (!Timer) {
        Timer = platform::CreateTimer(UPDATE_HERTZ);
    }
    stream->Music = music;
    stream->KeepMusic = keep;
    // The hook entry holds the stream: it lives until Stop, whoever else lets it go.
    stream->hook_ =
        platform::AddHook([stream](const platform::TEvent& event) { eventhook(event, stream); });
    return stream;
}

void TAudioStream::eventhook(const platform::TEvent& event,
                             const std::shared_ptr<TAudioStream>& context) {
    if (context && Timer && event.id == platform::EVENT_TIMERTICK &&
        event.source == static_cast<void*>(Timer.get())) {
        // Update may stop the stream, which removes the hook entry that holds it.
        const std::shared_ptr<TAudioStream> keep = context;
        keep->Update();
    }
}

void TAudioStream::Stop() {
    if (!Live()) {
        return;
    }
    const std::shared_ptr<TAudioStream> keep = shared_from_this();
    const int hook = hook_;
    hook_ = 0;
    Release();
    platform::RemoveHook(hook);
    if (Music && !KeepMusic) {
        Music->Free();
    }
    Music.reset();
}

// ---- OpenAL ------------------------------------------------------------------------------------

std::shared_ptr<TOpenALAudioStream> TOpenALAudioStream::Build(const TMusicPtr& music, int flag) {
    (void)flag;
    auto stream = std::make_shared<TOpenALAudioStream>();
    stream->_source = platform::CreateStreamChannel(stream->_buffercount);
    if (!stream->_source) {
        return nullptr;
    }
    stream->_bufferbanks.assign(size_t(stream->_buffercount),
                                std::vector<unsigned char>(size_t(stream->_buffersize)));
    stream->Music = music;
    music->PlayStatus = 1;
    // A short music that does not loop fills only the buffers it needs.
    for (int i = 0; i < stream->_buffercount && music->PlayStatus != 0; ++i) {
        stream->FillBuffer(i);
    }
    stream->_source->Play();
    return stream;
}

int TOpenALAudioStream::FillBuffer(int index) {
    if (!_source || !Music || index < 0 || index >= _buffercount) {
        return 0;
    }
    std::vector<unsigned char>& block = _bufferbanks[size_t(index)];
    Music->FillBuffer(block.data(), _buffersize);
    samplerate = Music->SAMPLE_RATE;
    _source->Queue(index, block.data(), _buffersize, Music->Channels(), Music->Bits(), samplerate);
    return 0;
}

int TOpenALAudioStream::Update() {
    if (!_source || !Music) {
        return 0;
    }
    // A paused stream is never ended here: pausing keeps its queue as it is.
    if (Music->PlayStatus == 0 && !paused && !_source->Playing()) {
        Stop();
        return 0;
    }
    for (int n = _source->Processed(); n > 0; --n) {
        const int index = _source->Unqueue();
        if (index < 0) {
            break;
        }
        if (Music->PlayStatus != 0) {
            FillBuffer(index);
        }
    }
    // Ran dry: start again on what has been queued since.
    if (!paused && !_source->Playing() && _source->Queued() > 0) {
        _source->Play();
    }
    return 0;
}

void TOpenALAudioStream::Release() {
    _source->Stop();
    _source.reset();
    _bufferbanks.clear();
}

void TOpenALAudioStream::SetPaused(bool pause) {
    if (!_source) {
        return;
    }
    if (pause && !paused) {
        paused = 1;
        _source->SetPaused(true);
    } else if (!pause && paused) {
        paused = 0;
        // A song that has ended (its decoder already rewound) only plays out what is queued: the
        // play status stays as the decoder left it, or the refills would start the song again.
        _source->SetPaused(false);
    }
}

void TOpenALAudioStream::SetVolume(float volume) {
    if (_source) {
        _source->SetVolume(volume);
    }
}

void TOpenALAudioStream::SetPan(float pan) {
    if (_source) {
        _source->SetPan(pan);
    }
}

void TOpenALAudioStream::SetDepth(float depth) {
    (void)depth;
}

void TOpenALAudioStream::SetRate(float rate) {
    if (_source) {
        _source->SetRate(rate);
    }
}

bool TOpenALAudioStream::Playing() {
    return _source && _source->Playing();
}

TAudioStreamPtr CreateAudioStream(const TMusicSource& source, int loop, int flag) {
    std::string error;
    TAudioStreamPtr stream = TAudioStream::Create(source, loop, flag, &error);
    if (!stream && !error.empty())
        platform::Warn("music", error);
    return stream;
}

TAudioStreamPtr CreateAudioStream(const TMusicPtr& music, int loop, int flag) {
    return TAudioStream::Create(music, loop, flag);
}
