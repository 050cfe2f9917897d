#include "audio/AudioEngine.h"

#include "audio/AudioOutput.h"
#include "audio/Log.h"
#include "audio/MidiSource.h"
#include "audio/SoundFont.h"
#include "audio/WavSource.h"

#include <QCoreApplication>
#include <QThread>
#include <atomic>

namespace tunevane::audio {

namespace {

// One player's state, owned by the audio thread. The mode and the end flag are also
// published for the window thread, which reads them without waiting.
class PlayerCore final : public QObject {
public:
    explicit PlayerCore(std::function<void()> changed)
        : m_changed(std::move(changed)), m_output(new AudioOutput(this)) {
        connect(m_output, &AudioOutput::finished, this, [this] {
            m_playedBefore += m_output->processedUSecs();
            m_atEnd = true;
            setMode(Mode::Stopped);
            m_changed();
        });
        connect(m_output, &AudioOutput::failed, this, [this] {
            m_playedBefore += m_output->processedUSecs();
            setMode(Mode::Stopped);
            m_changed();
        });
    }
    ~PlayerCore() override {
        // The sink pulls from the source, so it goes first.
        m_output->stop();
    }
    Q_DISABLE_COPY_MOVE(PlayerCore)

    bool open(Device device, const QString& path) {
        close();
        QString why;
        if (device == Device::Wave)
            m_source = WavSource::open(path, &why);
        else
            m_source = MidiSource::open(path, &why);
        if (!m_source) {
            qCWarning(lcAudio).noquote() << "cannot open" << path << "-" << why;
            return false;
        }
        setMode(Mode::Stopped);
        return true;
    }

    void close() {
        m_output->stop();
        m_source.reset();
        m_atEnd = false;
        m_playedBefore = 0;
        setMode(Mode::NotOpen);
    }

    void play() {
        if (mode() == Mode::Paused) {
            m_output->resume();
            setMode(Mode::Playing);
            return;
        }
        // At the end only a new open or a rewind starts again.
        if (mode() != Mode::Stopped || m_atEnd)
            return;
        // No sound server: nothing to play on, and nothing to wait for.
        if (!AudioOutput::deviceAvailable() || !m_output->start(m_source.get()))
            return;
        setMode(Mode::Playing);
    }

    void pause() {
        if (mode() != Mode::Playing)
            return;
        m_output->pause();
        setMode(Mode::Paused);
    }

    void stop() {
        if (mode() != Mode::Playing && mode() != Mode::Paused)
            return;
        m_playedBefore += m_output->processedUSecs();
        m_output->stop();
        setMode(Mode::Stopped);
    }

    void rewind() {
        if (mode() == Mode::NotOpen)
            return;
        const bool wasPlaying = mode() == Mode::Playing;
        m_output->stop();
        m_playedBefore = 0;
        m_atEnd = false;
        if (!m_source->rewind()) {
            close();
            return;
        }
        setMode(Mode::Stopped);
        if (wasPlaying)
            play();
    }

    qint64 processedUSecs() const {
        return m_playedBefore + (m_output->isActive() ? m_output->processedUSecs() : 0);
    }

    Mode mode() const { return m_mode.load(); }
    bool atEnd() const { return m_atEnd.load(); }

private:
    void setMode(Mode mode) { m_mode = mode; }

    std::function<void()> m_changed;
    AudioOutput* m_output;
    std::unique_ptr<PcmSource> m_source;
    qint64 m_playedBefore = 0;
    std::atomic<Mode> m_mode = Mode::NotOpen;
    std::atomic<bool> m_atEnd = false;
};

// The window thread's handle on a PlayerCore.
class ThreadedPlayback final : public Playback {
public:
    ThreadedPlayback(AudioEngine& engine, QObject* context, std::function<void()> changed)
        : m_engine(engine) {
        // The notice crosses to the caller's thread and is dropped if `context` is gone.
        auto post = [context, changed = std::move(changed)] {
            QMetaObject::invokeMethod(context, changed, Qt::QueuedConnection);
        };
        m_engine.run([&] { m_core = new PlayerCore(post); });
    }
    ~ThreadedPlayback() override {
        m_engine.run([this] { delete m_core; });
    }
    Q_DISABLE_COPY_MOVE(ThreadedPlayback)

    bool open(Device device, const QString& path) override {
        bool opened = false;
        m_engine.run([&] { opened = m_core->open(device, path); });
        return opened;
    }
    void close() override {
        m_engine.run([this] { m_core->close(); });
    }
    void play() override {
        m_engine.run([this] { m_core->play(); });
    }
    void pause() override {
        m_engine.run([this] { m_core->pause(); });
    }
    void stop() override {
        m_engine.run([this] { m_core->stop(); });
    }
    void rewind() override {
        m_engine.run([this] { m_core->rewind(); });
    }
    Mode mode() const override { return m_core->mode(); }
    bool atEnd() const override { return m_core->atEnd(); }
    qint64 processedUSecs() const override {
        qint64 played = 0;
        m_engine.run([&] { played = m_core->processedUSecs(); });
        return played;
    }

private:
    AudioEngine& m_engine;
    PlayerCore* m_core = nullptr;
};

AudioEngine* theEngine = nullptr;

} // namespace

AudioEngine::AudioEngine() : m_thread(new QThread), m_anchor(new QObject) {
    m_thread->setObjectName(QStringLiteral("audio"));
    m_anchor->moveToThread(m_thread);
    m_thread->start();
    // The thread must end while the application still exists.
    qAddPostRoutine(&AudioEngine::shutDown);
}

AudioEngine& AudioEngine::instance() {
    // Never deleted: players may outlive any owner we could give it.
    static AudioEngine* engine = theEngine = new AudioEngine;
    return *engine;
}

void AudioEngine::shutDown() {
    if (!theEngine)
        return;
    theEngine->m_thread->quit();
    theEngine->m_thread->wait();
}

void AudioEngine::run(const std::function<void()>& work) {
    if (QThread::currentThread() == m_thread || !m_thread->isRunning()) {
        work();
        return;
    }
    QMetaObject::invokeMethod(m_anchor, work, Qt::BlockingQueuedConnection);
}

std::unique_ptr<Playback> AudioEngine::newPlayback(QObject* context,
                                                   std::function<void()> changed) {
    return std::make_unique<ThreadedPlayback>(*this, context, std::move(changed));
}

bool AudioEngine::outputAvailable() {
    bool available = false;
    run([&] { available = AudioOutput::deviceAvailable(); });
    return available;
}

void AudioEngine::warmUp() {
    soundfont::warmUp();
}

} // namespace tunevane::audio
