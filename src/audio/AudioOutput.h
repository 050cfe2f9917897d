#pragma once

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

    bool isActive() const { return sink_ != nullptr; }
    bool isPaused() const { return paused_; }
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
    std::unique_ptr<QAudioSink> sink_;
    std::unique_ptr<Pull> pull_;
    QTimer drainTimer_;
    QElapsedTimer drainClock_;
    qint64 lastProcessed_ = 0;
    bool paused_ = false;
};

} // namespace tunevane
