#include "audio/AudioOutput.h"

#include "audio/PcmSource.h"

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
    explicit Pull(PcmSource* source) : source_(source) {
        open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    }

    bool isSequential() const override { return true; }
    bool atEnd() const override { return dry_; }
    bool dry() const { return dry_; }
    qint64 deliveredFrames() const { return delivered_; }

protected:
    qint64 readData(char* data, qint64 maxSize) override {
        const int frameBytes = source_->bytesPerFrame();
        // A bounded slice per call, so that a command waiting for this thread never waits
        // for more than one slice of decoding or synthesis.
        const qint64 wanted = std::min(maxSize / frameBytes, maxFramesPerPull);
        if (dry_ || wanted <= 0)
            return 0;
        const qint64 got = source_->read(reinterpret_cast<qint16*>(data), wanted);
        if (got <= 0)
            dry_ = true;
        delivered_ += std::max<qint64>(got, 0);
        return std::max<qint64>(got, 0) * frameBytes;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    PcmSource* source_;
    qint64 delivered_ = 0;
    bool dry_ = false;
};

AudioOutput::AudioOutput(QObject* parent) : QObject(parent) {
    drainTimer_.setInterval(40);
    connect(&drainTimer_, &QTimer::timeout, this, &AudioOutput::checkDrained);
}

AudioOutput::~AudioOutput() {
    stop();
}

bool AudioOutput::deviceAvailable() {
    return !QMediaDevices::audioOutputs().isEmpty();
}

bool AudioOutput::start(PcmSource* source) {
    stop();
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (!source || device.isNull())
        return false;
    const QAudioFormat format = source->format();
    sink_ = std::make_unique<QAudioSink>(device, format);
    // Short enough that Pause and Stop are heard at once.
    sink_->setBufferSize(format.bytesForDuration(200000));
    pull_ = std::make_unique<Pull>(source);
    connect(sink_.get(), &QAudioSink::stateChanged, this, &AudioOutput::onStateChanged);
    paused_ = false;
    lastProcessed_ = 0;
    sink_->start(pull_.get());
    if (sink_->error() != QAudio::NoError || sink_->state() == QAudio::StoppedState) {
        stop();
        return false;
    }
    drainTimer_.start();
    return true;
}

void AudioOutput::pause() {
    if (!sink_ || paused_)
        return;
    paused_ = true;
    drainTimer_.stop();
    sink_->suspend();
}

void AudioOutput::resume() {
    if (!sink_ || !paused_)
        return;
    paused_ = false;
    sink_->resume();
    drainClock_.invalidate();
    drainTimer_.start();
}

void AudioOutput::stop() {
    drainTimer_.stop();
    drainClock_.invalidate();
    paused_ = false;
    if (!sink_)
        return;
    lastProcessed_ = sink_->processedUSecs();
    // Drop the sink before it can report its own stop back to us.
    auto sink = std::move(sink_);
    sink->disconnect(this);
    sink->stop();
    sink.reset();
    pull_.reset();
}

qint64 AudioOutput::processedUSecs() const {
    return sink_ ? sink_->processedUSecs() : lastProcessed_;
}

void AudioOutput::onStateChanged() {
    if (!sink_)
        return;
    const QAudio::Error error = sink_->error();
    if (sink_->state() == QAudio::StoppedState &&
        (error == QAudio::FatalError || error == QAudio::OpenError || error == QAudio::IOError)) {
        stop();
        Q_EMIT failed();
        return;
    }
    checkDrained();
}

void AudioOutput::checkDrained() {
    if (!sink_ || paused_ || !pull_->dry())
        return;
    // Going idle only says the sink's buffer ran low; the end is when the played time
    // reaches what was delivered, with a wall-clock backstop for a stalled server.
    const qint64 deliveredUSecs = sink_->format().durationForFrames(int(pull_->deliveredFrames()));
    if (!drainClock_.isValid())
        drainClock_.start();
    const bool played = sink_->processedUSecs() >= deliveredUSecs;
    const bool overdue = drainClock_.elapsed() > 1500;
    if (!played && !overdue)
        return;
    stop();
    Q_EMIT finished();
}

} // namespace tunevane
