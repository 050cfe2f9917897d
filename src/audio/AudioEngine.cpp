// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "audio/AudioEngine.h"

#include "audio/AudioOutput.h"
#include "audio/Log.h"
#include "audio/MidiSource.h"
#include "audio/SoundFont.h"
#include "audio/SoundServer.h"
#include "audio/WavSource.h"
#include "files/LiveTarget.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QThread>
#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <unistd.h>
#include <vector>

namespace tunevane::audio {

namespace {

using namespace std::chrono_literals;

// How long Play itself waits for the sound server's first answer, and how long a play
// asked before that answer may still start when it comes.
constexpr auto firstAnswerPatience = 30ms;
constexpr qint64 pendingPlayMs = 2000;
// How long exit waits for the audio thread once that thread waits on the sound server, and
// at most: the program must end within a second whatever the server does.
constexpr qint64 exitPatienceMs = 250;
constexpr qint64 exitBoundMs = 600;

qint64 nowMs() {
    // Never zero, which means "not waiting" below.
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
               .count() +
           1;
}

// Since when the audio thread has been waiting on the sound server; zero when it is not.
std::atomic<qint64> serverCallSince = 0;

// Marks a call on the audio thread that waits for the sound server to answer.
class ServerCall {
public:
    ServerCall() { serverCallSince = nowMs(); }
    ~ServerCall() { serverCallSince = 0; }
    Q_DISABLE_COPY_MOVE(ServerCall)
};

// Whether the audio thread has been waiting on the sound server for `patienceMs`, counted
// from `asked` at the earliest.
bool serverSilentFor(qint64 patienceMs, qint64 asked) {
    const qint64 since = serverCallSince.load();
    return since != 0 && nowMs() - std::max(since, asked) >= patienceMs;
}

void logServerSilent() {
    static std::atomic<bool> logged = false;
    if (!logged.exchange(true))
        qCWarning(lcAudio) << "sound server does not answer";
}

class PlayerCore;

// What a player's handle on the window thread and its core on the audio thread share.
struct Link {
    Link(QObject* context, std::function<void()> changed)
        : context(context), changed(std::move(changed)) {}

    // The notice crosses to the context's thread; once detached, none is sent.
    void notify() { context.post(changed); }
    void detach() { context.detach(); }

    std::atomic<Mode> mode = Mode::NotOpen;
    std::atomic<bool> atEnd = false;
    PlayerCore* core = nullptr; // touched on the audio thread only

private:
    files::LiveTarget context;
    std::function<void()> changed;
};

// Every core, on the audio thread only.
std::vector<PlayerCore*>& cores() {
    static std::vector<PlayerCore*> all;
    return all;
}

// One player's state, owned by the audio thread. The mode and the end flag are published
// through the link, and every change of mode is sent to the window as a notice.
class PlayerCore final : public QObject {
public:
    explicit PlayerCore(std::shared_ptr<Link> link)
        : m_link(std::move(link)), m_output(new AudioOutput(this)) {
        cores().push_back(this);
        connect(m_output, &AudioOutput::finished, this, [this] {
            m_playedBefore += m_output->processedUSecs();
            m_link->atEnd = true;
            setMode(Mode::Stopped);
        });
        connect(m_output, &AudioOutput::failed, this, [this] {
            m_playedBefore += m_output->processedUSecs();
            setMode(Mode::Stopped);
        });
    }
    ~PlayerCore() override {
        std::erase(cores(), this);
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
        m_pendingPlay = false;
        m_output->stop();
        m_source.reset();
        m_link->atEnd = false;
        m_playedBefore = 0;
        setMode(Mode::NotOpen);
    }

    void play() {
        m_pendingPlay = false;
        if (mode() == Mode::Paused) {
            {
                const ServerCall call;
                m_output->resume();
            }
            setMode(Mode::Playing);
            return;
        }
        // At the end only a new open or a rewind starts again.
        if (mode() != Mode::Stopped || m_link->atEnd)
            return;
        SoundServer::State server;
        {
            const ServerCall call;
            server = SoundServer::state(firstAnswerPatience);
        }
        if (server == SoundServer::State::Answered) {
            startOutput();
        } else if (server == SoundServer::State::Asking) {
            // Not yet: it starts if the server answers soon, through the usual notice.
            logServerSilent();
            m_pendingPlay = true;
            m_playAsked.start();
        }
        // With no sound server there is nothing to play on, and nothing to wait for.
    }

    void serverAnswered() {
        if (std::exchange(m_pendingPlay, false) && m_playAsked.elapsed() < pendingPlayMs &&
            mode() == Mode::Stopped && !m_link->atEnd)
            startOutput();
    }

    void pause() {
        m_pendingPlay = false;
        if (mode() != Mode::Playing)
            return;
        {
            const ServerCall call;
            m_output->pause();
        }
        setMode(Mode::Paused);
    }

    void stop() {
        m_pendingPlay = false;
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
        m_link->atEnd = false;
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

private:
    Mode mode() const { return m_link->mode.load(); }
    void setMode(Mode mode) {
        if (m_link->mode.exchange(mode) != mode)
            m_link->notify();
    }

    void startOutput() {
        const ServerCall call;
        if (AudioOutput::deviceAvailable() && m_output->start(m_source.get()))
            setMode(Mode::Playing);
    }

    std::shared_ptr<Link> m_link;
    AudioOutput* m_output;
    std::unique_ptr<PcmSource> m_source;
    qint64 m_playedBefore = 0;
    bool m_pendingPlay = false;
    QElapsedTimer m_playAsked;
};

// The window thread's handle on a PlayerCore. Neither making nor dropping one waits.
class ThreadedPlayback final : public Playback {
public:
    ThreadedPlayback(AudioEngine& engine, QObject* context, std::function<void()> changed)
        : m_engine(engine), m_link(std::make_shared<Link>(context, std::move(changed))) {
        m_engine.post([link = m_link] { link->core = new PlayerCore(link); });
    }
    ~ThreadedPlayback() override {
        m_link->detach();
        m_engine.post([link = m_link] { delete std::exchange(link->core, nullptr); });
    }
    Q_DISABLE_COPY_MOVE(ThreadedPlayback)

    bool open(Device device, const QString& path) override {
        // The bank loads on a thread of its own: only this open waits for it, never the
        // audio thread.
        if (device == Device::Sequencer)
            soundfont::ensureLoaded();
        auto opened = std::make_shared<std::atomic<bool>>(false);
        return command([=](PlayerCore& core) { *opened = core.open(device, path); }) && *opened;
    }
    void close() override {
        command([](PlayerCore& core) { core.close(); });
    }
    void play() override {
        command([](PlayerCore& core) { core.play(); });
    }
    void pause() override {
        command([](PlayerCore& core) { core.pause(); });
    }
    void stop() override {
        command([](PlayerCore& core) { core.stop(); });
    }
    void rewind() override {
        command([](PlayerCore& core) { core.rewind(); });
    }
    Mode mode() const override { return m_link->mode.load(); }
    bool atEnd() const override { return m_link->atEnd.load(); }
    qint64 processedUSecs() const override {
        auto played = std::make_shared<std::atomic<qint64>>(0);
        command([played](PlayerCore& core) { *played = core.processedUSecs(); });
        return played->load();
    }

private:
    bool command(std::function<void(PlayerCore&)> work) const {
        return m_engine.run([link = m_link, work = std::move(work)] {
            if (link->core)
                work(*link->core);
        });
    }

    AudioEngine& m_engine;
    std::shared_ptr<Link> m_link;
};

AudioEngine* theEngine = nullptr;

// The sound library's exit handler frees the lock that a thread stuck on the server still
// waits in, and aborts: end the process before it runs, with the status exit was given.
// Handlers run last registered first, so this one, registered after the library was in use,
// comes before the library's.
void endBeforeLibrariesExit() {
    ::on_exit(
        [](int status, void*) {
            std::fflush(nullptr);
            ::_exit(status);
        },
        nullptr);
}

} // namespace

AudioEngine::AudioEngine() : m_thread(new QThread), m_anchor(new QObject) {
    m_thread->setObjectName(QStringLiteral("audio"));
    m_anchor->moveToThread(m_thread);
    m_thread->start();
    // The thread must end while the application still exists.
    qAddPostRoutine(&AudioEngine::shutDown);
    SoundServer::start([this] {
        QMetaObject::invokeMethod(
            m_anchor, [this] { serverAnswered(); }, Qt::QueuedConnection);
    });
}

AudioEngine& AudioEngine::instance() {
    // Never deleted: players may outlive any owner we could give it.
    static AudioEngine* engine = theEngine = new AudioEngine;
    return *engine;
}

void AudioEngine::shutDown() {
    SoundServer::stop();
    if (!theEngine)
        return;
    QThread* thread = theEngine->m_thread;
    // Players dropped just before still go, with everything they own, before the thread ends.
    theEngine->post([thread] { thread->quit(); });
    const qint64 asked = nowMs();
    while (!thread->wait(QDeadlineTimer(5))) {
        const bool silent = serverSilentFor(exitPatienceMs, asked);
        if (silent || nowMs() - asked >= exitBoundMs) {
            qCWarning(lcAudio).noquote()
                << (silent ? "sound server did not answer" : "audio thread did not end")
                << "at exit; the audio thread is left to the end of the process";
            endBeforeLibrariesExit();
            return;
        }
    }
}

void AudioEngine::serverAnswered() {
    // The sound library makes its own connection at the first play, on this thread, where
    // its sinks live: opens never queue behind it.
    for (PlayerCore* core : std::vector(cores()))
        core->serverAnswered();
}

bool AudioEngine::run(std::function<void()> work, int serverPatienceMs) {
    if (QThread::currentThread() == m_thread || !m_thread->isRunning()) {
        work();
        return true;
    }
    struct Done {
        std::mutex lock;
        std::condition_variable cv;
        bool done = false;
    };
    auto done = std::make_shared<Done>();
    post([work = std::move(work), done] {
        work();
        const std::lock_guard guard(done->lock);
        done->done = true;
        done->cv.notify_all();
    });
    const qint64 asked = nowMs();
    std::unique_lock guard(done->lock);
    while (!done->cv.wait_for(guard, 5ms, [&] { return done->done; })) {
        if (serverSilentFor(serverPatienceMs, asked)) {
            logServerSilent();
            return false;
        }
    }
    return true;
}

void AudioEngine::post(std::function<void()> work) {
    if (!m_thread->isRunning()) {
        work();
        return;
    }
    QMetaObject::invokeMethod(m_anchor, std::move(work), Qt::QueuedConnection);
}

std::unique_ptr<Playback> AudioEngine::newPlayback(QObject* context,
                                                   std::function<void()> changed) {
    return std::make_unique<ThreadedPlayback>(*this, context, std::move(changed));
}

bool AudioEngine::outputAvailable() {
    if (SoundServer::state(2s) != SoundServer::State::Answered)
        return false;
    auto available = std::make_shared<std::atomic<bool>>(false);
    const auto ask = [available] {
        const ServerCall call;
        *available = AudioOutput::deviceAvailable();
    };
    return run(ask, 2000) && *available;
}

void AudioEngine::warmUp() {
    soundfont::warmUp();
}

} // namespace tunevane::audio
