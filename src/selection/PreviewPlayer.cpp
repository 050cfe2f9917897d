// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "selection/PreviewPlayer.h"

#include "app/Log.h"
#include "audio/Engine.h"
#include "files/TrustedCode.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLoggingCategory>
#include <QStyle>
#include <QToolButton>
#include <array>
#include <dlfcn.h>

namespace tunevane {

namespace {

using audio::Mode;

constexpr std::array<QStringView, 6> commandNames{u"Open",  u"Close", u"Play",
                                                  u"Pause", u"Stop",  u"Prev"};

// The audio layer, loaded on first use from beside the program, and only from there;
// nullptr when it cannot be, and then every open fails as if the file could not be played.
// It is loaded through the descriptor that was checked: QPluginLoader would look the file up
// by its name again.
audio::Engine* engine() {
    static audio::Engine* const loaded = []() -> audio::Engine* {
        const QString path =
            QCoreApplication::applicationDirPath() + u'/' + QStringLiteral(TUNEVANE_AUDIO_PLUGIN);
        const std::optional<files::Fd> file = files::openTrustedCode(path);
        if (!file)
            return nullptr;
        void* library =
            ::dlopen(files::descriptorPath(file->get()).constData(), RTLD_NOW | RTLD_LOCAL);
        using Instance = QObject* (*)();
        const auto instance =
            library ? reinterpret_cast<Instance>(::dlsym(library, "qt_plugin_instance")) : nullptr;
        if (auto* found = instance ? qobject_cast<audio::Engine*>(instance()) : nullptr)
            return found;
        qCWarning(lcUi).noquote() << "no audio layer at" << path << "-"
                                  << (library ? "not the audio layer" : ::dlerror());
        return nullptr;
    }();
    return loaded;
}

} // namespace

PreviewPlayer::PreviewPlayer(QWidget* parent) : QWidget(parent), m_mode(Mode::NotOpen) {
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    // The style's own media icons: every desktop font lacks some of the transport glyphs.
    const auto addButton = [&](const QString& name, QStyle::StandardPixmap icon,
                               PlayerCommand command) {
        auto* button = new QToolButton(this);
        button->setObjectName(name);
        button->setIcon(style()->standardIcon(icon));
        button->setAccessibleName(name);
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        // Reachable by Tab (Space presses it) without taking the focus from the lists on a click.
        button->setFocusPolicy(Qt::TabFocus);
        row->addWidget(button);
        connect(button, &QToolButton::clicked, this, [this, command] { carryOut(command); });
        return button;
    };
    m_prev = addButton(QStringLiteral("Prev"), QStyle::SP_MediaSkipBackward, PlayerCommand::Prev);
    m_play = addButton(QStringLiteral("Play"), QStyle::SP_MediaPlay, PlayerCommand::Play);
    m_pause = addButton(QStringLiteral("Pause"), QStyle::SP_MediaPause, PlayerCommand::Pause);
    m_stop = addButton(QStringLiteral("Stop"), QStyle::SP_MediaStop, PlayerCommand::Stop);
    sync();
}

PreviewPlayer::~PreviewPlayer() = default;

QSize PreviewPlayer::sizeHint() const {
    return {119, 25};
}

void PreviewPlayer::setDeviceType(const QString& value) {
    m_deviceType = value;
    Q_EMIT settingWritten(QStringLiteral("DeviceType"), value);
}

void PreviewPlayer::setFileName(const QString& value) {
    m_fileName = value;
    Q_EMIT settingWritten(QStringLiteral("FileName"), value);
}

void PreviewPlayer::setNotify(bool value) {
    m_notify = value;
    Q_EMIT settingWritten(QStringLiteral("Notify"), value);
}

void PreviewPlayer::setWait(bool value) {
    m_wait = value;
    Q_EMIT settingWritten(QStringLiteral("Wait"), value);
}

void PreviewPlayer::setShareable(bool value) {
    m_shareable = value;
    Q_EMIT settingWritten(QStringLiteral("Shareable"), value);
}

void PreviewPlayer::setCommand(const QString& value) {
    m_command = value;
    Q_EMIT settingWritten(QStringLiteral("Command"), value);
    const QString verb = value.trimmed();
    for (size_t i = 0; i < commandNames.size(); ++i) {
        if (verb.compare(commandNames[i], Qt::CaseInsensitive) == 0) {
            carryOut(PlayerCommand(i));
            return;
        }
    }
}

void PreviewPlayer::run(PlayerCommand command) {
    m_command = commandNames[size_t(command)].toString();
    Q_EMIT settingWritten(QStringLiteral("Command"), m_command);
    carryOut(command);
}

void PreviewPlayer::carryOut(PlayerCommand command) {
    switch (command) {
    case PlayerCommand::Open:
        open();
        break;
    case PlayerCommand::Close:
        if (m_playback)
            m_playback->close();
        break;
    case PlayerCommand::Play:
        if (m_playback)
            m_playback->play();
        break;
    case PlayerCommand::Pause:
        if (m_playback)
            m_playback->pause();
        break;
    case PlayerCommand::Stop:
        if (m_playback)
            m_playback->stop();
        break;
    case PlayerCommand::Prev:
        if (m_playback)
            m_playback->rewind();
        break;
    }
    sync();
}

void PreviewPlayer::open() {
    const QString kind = m_deviceType.trimmed();
    const bool wave = kind.compare(u"WaveAudio", Qt::CaseInsensitive) == 0;
    const bool sequencer = kind.compare(u"Sequencer", Qt::CaseInsensitive) == 0;
    // A failed open says nothing to the user: the player just has no media until the next.
    if (!wave && !sequencer) {
        if (m_playback)
            m_playback->close();
        qCWarning(lcUi).noquote() << "cannot open" << m_fileName << "- unknown device type"
                                  << m_deviceType;
        return;
    }
    audio::Engine* audio = engine();
    if (!audio)
        return;
    if (sequencer) {
        static bool warming = false;
        if (!std::exchange(warming, true))
            audio->warmUp();
    }
    if (!m_playback)
        m_playback = audio->newPlayback(this, [this] { sync(); });
    // Closes what was open first, on the audio thread.
    m_playback->open(wave ? audio::Device::Wave : audio::Device::Sequencer, m_fileName);
}

QString PreviewPlayer::mode() const {
    switch (m_mode) {
    case Mode::NotOpen:
        return QStringLiteral("not open");
    case Mode::Stopped:
        return QStringLiteral("stopped");
    case Mode::Playing:
        return QStringLiteral("playing");
    case Mode::Paused:
        return QStringLiteral("paused");
    }
    return {};
}

qint64 PreviewPlayer::processedUSecs() const {
    return m_playback ? m_playback->processedUSecs() : 0;
}

bool PreviewPlayer::atEnd() const {
    return m_playback && m_playback->atEnd();
}

bool PreviewPlayer::outputAvailable() {
    audio::Engine* audio = engine();
    return audio && audio->outputAvailable();
}

void PreviewPlayer::sync() {
    const Mode now = m_playback ? m_playback->mode() : Mode::NotOpen;
    const bool changed = now != m_mode;
    m_mode = now;
    const bool open = now != Mode::NotOpen;
    m_prev->setEnabled(open);
    m_play->setEnabled(open && !atEnd() && now != Mode::Playing);
    m_pause->setEnabled(now == Mode::Playing);
    m_stop->setEnabled(now == Mode::Playing || now == Mode::Paused);
    if (changed)
        Q_EMIT modeChanged(mode());
}

} // namespace tunevane
