// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

/// @file
/// @brief Plays decoded audio through Qt's sink, and does nothing without a sound server.

#include <QElapsedTimer>
#include <QIODevice>
#include <QObject>
#include <QTimer>
#include <memory>

class QAudioSink;

namespace tunevane {

class PcmSource;

// Pulls a source into QAudioSink. Without a sound server nothing starts and nothing waits.
class AudioOutput : public QObject {
    Q_OBJECT
public:
    explicit AudioOutput(QObject* parent = nullptr);
    ~AudioOutput() override;

    static bool deviceAvailable();

    // Plays `source` from where it stands; false when no device takes it.
    bool start(PcmSource* source);
    void pause();
    void resume();
    void stop();

    bool isActive() const { return m_sink != nullptr; }
    bool isPaused() const { return m_paused; }
    // Microseconds the sink has consumed since start().
    qint64 processedUSecs() const;

Q_SIGNALS:
    // The source ran dry and what it gave has been played.
    void finished();
    // The sound server went away or refused the stream.
    void failed();

private:
    void onStateChanged();
    void checkDrained();

    class Pull;
    std::unique_ptr<QAudioSink> m_sink;
    std::unique_ptr<Pull> m_pull;
    QTimer m_drainTimer;
    QElapsedTimer m_drainClock;
    qint64 m_lastProcessed = 0;
    bool m_paused = false;
};

} // namespace tunevane
