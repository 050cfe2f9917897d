// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "audio/AudioOutput.h"

#include "audio/PcmSource.h"
#include "audio/SoundServer.h"

#include <QAudioDevice>
#include <QAudioSink>
#include <QMediaDevices>
#include <algorithm>

namespace tunevane {

namespace {
constexpr qint64 maxFramesPerPull = 1024;
}

class AudioOutput::Pull final : public QIODevice {
public:
    explicit Pull(PcmSource* source) : m_source(source) {
        open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    }

    bool isSequential() const override { return true; }
    // Never told: at the end the sink asks the server to drain and keeps no hold on that
    // request, whose answer may then come after the sink was deleted. The end is found by
    // checkDrained() instead.
    bool atEnd() const override { return false; }
    bool dry() const { return m_dry; }
    qint64 deliveredFrames() const { return m_delivered; }

protected:
    qint64 readData(char* data, qint64 maxSize) override {
        const int frameBytes = m_source->bytesPerFrame();
        // A bounded slice per call, so that a command waiting for this thread never waits
        // for more than one slice of decoding or synthesis.
        const qint64 wanted = std::min(maxSize / frameBytes, maxFramesPerPull);
        if (m_dry || wanted <= 0)
            return 0;
        const qint64 got = m_source->read(reinterpret_cast<qint16*>(data), wanted);
        if (got <= 0)
            m_dry = true;
        m_delivered += std::max<qint64>(got, 0);
        return std::max<qint64>(got, 0) * frameBytes;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    PcmSource* m_source;
    qint64 m_delivered = 0;
    bool m_dry = false;
};

AudioOutput::AudioOutput(QObject* parent) : QObject(parent) {
    m_drainTimer.setInterval(40);
    connect(&m_drainTimer, &QTimer::timeout, this, &AudioOutput::checkDrained);
}

AudioOutput::~AudioOutput() {
    stop();
}

bool AudioOutput::deviceAvailable() {
    audio::SoundServer::nameProgram();
    return !QMediaDevices::audioOutputs().isEmpty();
}

bool AudioOutput::start(PcmSource* source) {
    stop();
    audio::SoundServer::nameProgram();
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (!source || device.isNull())
        return false;
    const QAudioFormat format = source->format();
    m_sink = std::make_unique<QAudioSink>(device, format);
    // Short enough that Pause and Stop are heard at once.
    m_sink->setBufferSize(format.bytesForDuration(200000));
    m_pull = std::make_unique<Pull>(source);
    connect(m_sink.get(), &QAudioSink::stateChanged, this, &AudioOutput::onStateChanged);
    m_paused = false;
    m_lastProcessed = 0;
    m_sink->start(m_pull.get());
    // A refused stream may have reported, and been stopped, inside start().
    if (!m_sink)
        return false;
    if (m_sink->error() != QAudio::NoError || m_sink->state() == QAudio::StoppedState) {
        stop();
        return false;
    }
    m_drainTimer.start();
    return true;
}

void AudioOutput::pause() {
    if (!m_sink || m_paused)
        return;
    m_paused = true;
    m_drainTimer.stop();
    m_sink->suspend();
}

void AudioOutput::resume() {
    if (!m_sink || !m_paused)
        return;
    m_paused = false;
    m_sink->resume();
    m_drainClock.invalidate();
    m_drainTimer.start();
}

void AudioOutput::stop() {
    m_drainTimer.stop();
    m_drainClock.invalidate();
    m_paused = false;
    if (!m_sink)
        return;
    m_lastProcessed = m_sink->processedUSecs();
    // Drop the sink before it can report its own stop back to us.
    auto sink = std::move(m_sink);
    auto pull = std::move(m_pull);
    sink->disconnect(this);
    sink->stop();
    // Never deleted here: a sink's destructor runs this thread's pending events, which may
    // be the sink's own signal still running, or a queued command that deletes our owner.
    sink.release()->deleteLater();
    pull.release()->deleteLater();
}

qint64 AudioOutput::processedUSecs() const {
    return m_sink ? m_sink->processedUSecs() : m_lastProcessed;
}

void AudioOutput::onStateChanged() {
    if (!m_sink)
        return;
    const QAudio::Error error = m_sink->error();
    if (m_sink->state() == QAudio::StoppedState &&
        (error == QAudio::FatalError || error == QAudio::OpenError || error == QAudio::IOError)) {
        stop();
        Q_EMIT failed();
        return;
    }
    checkDrained();
}

void AudioOutput::checkDrained() {
    if (!m_sink || m_paused || !m_pull->dry())
        return;
    // Going idle only says the sink's buffer ran low; the end is when the played time
    // reaches what was delivered, with a wall-clock backstop for a stalled server.
    const qint64 deliveredUSecs =
        m_sink->format().durationForFrames(int(m_pull->deliveredFrames()));
    if (!m_drainClock.isValid())
        m_drainClock.start();
    const bool played = m_sink->processedUSecs() >= deliveredUSecs;
    const bool overdue = m_drainClock.elapsed() > 1500;
    if (!played && !overdue)
        return;
    stop();
    Q_EMIT finished();
}

} // namespace tunevane
