#include "selection/PreviewPlayer.h"

#include "audio/AudioOutput.h"
#include "audio/MidiSource.h"
#include "audio/WavSource.h"

#include <QHBoxLayout>
#include <QStyle>
#include <QToolButton>

namespace tunevane {

PreviewPlayer::PreviewPlayer(QWidget* parent) : QWidget(parent) {
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    // The style's own media icons: every desktop font lacks some of the transport glyphs.
    const auto addButton = [&](const QString& name, QStyle::StandardPixmap icon, auto action) {
        auto* button = new QToolButton(this);
        button->setObjectName(name);
        button->setIcon(style()->standardIcon(icon));
        button->setAccessibleName(name);
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        button->setFocusPolicy(Qt::NoFocus);
        row->addWidget(button);
        connect(button, &QToolButton::clicked, this, action);
        return button;
    };
    prev_ = addButton(QStringLiteral("Prev"), QStyle::SP_MediaSkipBackward, [this] { rewind(); });
    play_ = addButton(QStringLiteral("Play"), QStyle::SP_MediaPlay, [this] { play(); });
    pause_ = addButton(QStringLiteral("Pause"), QStyle::SP_MediaPause, [this] { pause(); });
    stop_ = addButton(QStringLiteral("Stop"), QStyle::SP_MediaStop, [this] { stop(); });

    output_ = new AudioOutput(this);
    connect(output_, &AudioOutput::finished, this, &PreviewPlayer::finished);
    connect(output_, &AudioOutput::failed, this, [this] {
        playedBefore_ += output_->processedUSecs();
        setState(State::Stopped);
    });
    updateButtons();
}

PreviewPlayer::~PreviewPlayer() {
    // The sink pulls from the source, so it goes first.
    output_->stop();
}

QSize PreviewPlayer::sizeHint() const {
    return {119, 25};
}

void PreviewPlayer::setDeviceType(const QString& value) {
    deviceType_ = value;
    Q_EMIT settingWritten(QStringLiteral("DeviceType"), value);
}

void PreviewPlayer::setFileName(const QString& value) {
    fileName_ = value;
    Q_EMIT settingWritten(QStringLiteral("FileName"), value);
}

void PreviewPlayer::setNotify(bool value) {
    notify_ = value;
    Q_EMIT settingWritten(QStringLiteral("Notify"), value);
}

void PreviewPlayer::setWait(bool value) {
    wait_ = value;
    Q_EMIT settingWritten(QStringLiteral("Wait"), value);
}

void PreviewPlayer::setShareable(bool value) {
    shareable_ = value;
    Q_EMIT settingWritten(QStringLiteral("Shareable"), value);
}

void PreviewPlayer::setCommand(const QString& value) {
    command_ = value;
    Q_EMIT settingWritten(QStringLiteral("Command"), value);
    const QString verb = value.trimmed().toLower();
    if (verb == u"open")
        open();
    else if (verb == u"close")
        close();
    else if (verb == u"play")
        play();
    else if (verb == u"pause")
        pause();
    else if (verb == u"stop")
        stop();
    else if (verb == u"prev")
        rewind();
}

QString PreviewPlayer::mode() const {
    switch (state_) {
    case State::NotOpen:
        return QStringLiteral("not open");
    case State::Stopped:
        return QStringLiteral("stopped");
    case State::Playing:
        return QStringLiteral("playing");
    case State::Paused:
        return QStringLiteral("paused");
    }
    return {};
}

qint64 PreviewPlayer::processedUSecs() const {
    return playedBefore_ + (output_->isActive() ? output_->processedUSecs() : 0);
}

void PreviewPlayer::open() {
    close();
    const QString kind = deviceType_.trimmed().toLower();
    // A failed open says nothing: the player just has no media until the next one.
    if (kind == u"waveaudio")
        source_ = WavSource::open(fileName_);
    else if (kind == u"sequencer")
        source_ = MidiSource::open(fileName_);
    if (source_)
        setState(State::Stopped);
}

void PreviewPlayer::close() {
    output_->stop();
    source_.reset();
    atEnd_ = false;
    playedBefore_ = 0;
    setState(State::NotOpen);
}

void PreviewPlayer::play() {
    if (state_ == State::Paused) {
        output_->resume();
        setState(State::Playing);
        return;
    }
    // At the end only a new Open rewinds: "to repeat a selection you must click on it again".
    if (state_ != State::Stopped || atEnd_)
        return;
    // No sound server: nothing to play on, and nothing to wait for.
    if (!AudioOutput::deviceAvailable() || !output_->start(source_.get()))
        return;
    setState(State::Playing);
}

void PreviewPlayer::pause() {
    if (state_ != State::Playing)
        return;
    output_->pause();
    setState(State::Paused);
}

void PreviewPlayer::stop() {
    if (state_ != State::Playing && state_ != State::Paused)
        return;
    playedBefore_ += output_->processedUSecs();
    output_->stop();
    setState(State::Stopped);
}

void PreviewPlayer::rewind() {
    if (state_ == State::NotOpen)
        return;
    const bool wasPlaying = state_ == State::Playing;
    output_->stop();
    playedBefore_ = 0;
    atEnd_ = false;
    if (!source_->rewind()) {
        close();
        return;
    }
    setState(State::Stopped);
    if (wasPlaying)
        play();
}

void PreviewPlayer::finished() {
    playedBefore_ += output_->processedUSecs();
    atEnd_ = true;
    setState(State::Stopped);
}

void PreviewPlayer::setState(State state) {
    const bool changed = state != state_;
    state_ = state;
    updateButtons();
    if (changed)
        Q_EMIT modeChanged(mode());
}

void PreviewPlayer::updateButtons() {
    const bool open = state_ != State::NotOpen;
    prev_->setEnabled(open);
    play_->setEnabled(open && !atEnd_ && state_ != State::Playing);
    pause_->setEnabled(state_ == State::Playing);
    stop_->setEnabled(state_ == State::Playing || state_ == State::Paused);
}

} // namespace tunevane
