// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QVariant>
#include <QWidget>
#include <memory>

class QToolButton;

namespace tunevane {

namespace audio {
class Playback;
enum class Mode;
} // namespace audio

// What a player can be told to do; the Command property takes the same words as text.
enum class PlayerCommand { Open, Close, Play, Pause, Stop, Prev };

// The preview player under a browsing pane: transport buttons, and the settings of the
// multimedia control it stands in for as Qt properties. Writing Command carries it out.
// The sound itself is made by the audio layer on its own thread; the layer is loaded when
// the first player opens a file.
class PreviewPlayer : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QString DeviceType READ deviceType WRITE setDeviceType)
    Q_PROPERTY(QString FileName READ fileName WRITE setFileName)
    Q_PROPERTY(QString Command READ command WRITE setCommand)
    Q_PROPERTY(bool Notify READ notify WRITE setNotify)
    Q_PROPERTY(bool Wait READ wait WRITE setWait)
    Q_PROPERTY(bool Shareable READ shareable WRITE setShareable)
    Q_PROPERTY(QString Mode READ mode NOTIFY modeChanged)

public:
    explicit PreviewPlayer(QWidget* parent = nullptr);
    ~PreviewPlayer() override;
    Q_DISABLE_COPY_MOVE(PreviewPlayer)

    QString deviceType() const { return m_deviceType; }
    void setDeviceType(const QString& value);
    QString fileName() const { return m_fileName; }
    void setFileName(const QString& value);
    QString command() const { return m_command; }
    void setCommand(const QString& value);
    bool notify() const { return m_notify; }
    void setNotify(bool value);
    bool wait() const { return m_wait; }
    void setWait(bool value);
    bool shareable() const { return m_shareable; }
    void setShareable(bool value);

    // The typed form of writing Command, recorded the same way.
    void run(PlayerCommand command);

    QString mode() const;
    // Microseconds of sound the sink has played since the file was opened or rewound.
    qint64 processedUSecs() const;
    // Played through to the end; only a new Open makes it playable again.
    bool atEnd() const;

    // Whether a sound output exists; loads the audio layer.
    static bool outputAvailable();

    QSize sizeHint() const override;

Q_SIGNALS:
    void settingWritten(const QString& name, const QVariant& value);
    void modeChanged(const QString& mode);

private:
    void carryOut(PlayerCommand command);
    void open();
    void sync();

    QString m_deviceType;
    QString m_fileName;
    QString m_command;
    bool m_notify = false;
    bool m_wait = false;
    bool m_shareable = false;

    std::unique_ptr<audio::Playback> m_playback;
    audio::Mode m_mode;
    QToolButton* m_prev = nullptr;
    QToolButton* m_play = nullptr;
    QToolButton* m_pause = nullptr;
    QToolButton* m_stop = nullptr;
};

} // namespace tunevane
