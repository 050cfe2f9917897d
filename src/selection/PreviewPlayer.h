#pragma once

#include <QString>
#include <QVariant>
#include <QWidget>
#include <memory>

class QToolButton;

namespace tunevane {

class AudioOutput;
class PcmSource;

// The preview player under a browsing pane: transport buttons, and the settings of the
// multimedia control it stands in for as Qt properties. Writing Command carries it out.
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

    QString deviceType() const { return deviceType_; }
    void setDeviceType(const QString& value);
    QString fileName() const { return fileName_; }
    void setFileName(const QString& value);
    QString command() const { return command_; }
    void setCommand(const QString& value);
    bool notify() const { return notify_; }
    void setNotify(bool value);
    bool wait() const { return wait_; }
    void setWait(bool value);
    bool shareable() const { return shareable_; }
    void setShareable(bool value);

    QString mode() const;
    // Microseconds of sound the sink has played since the file was opened or rewound.
    qint64 processedUSecs() const;
    // Played through to the end; only a new Open makes it playable again.
    bool atEnd() const { return atEnd_; }

    QSize sizeHint() const override;

Q_SIGNALS:
    void settingWritten(const QString& name, const QVariant& value);
    void modeChanged(const QString& mode);

private:
    enum class State { NotOpen, Stopped, Playing, Paused };

    void open();
    void close();
    void play();
    void pause();
    void stop();
    void rewind();
    void finished();
    void setState(State state);
    void updateButtons();

    QString deviceType_;
    QString fileName_;
    QString command_;
    bool notify_ = false;
    bool wait_ = false;
    bool shareable_ = false;

    State state_ = State::NotOpen;
    bool atEnd_ = false;
    qint64 playedBefore_ = 0;
    std::unique_ptr<PcmSource> source_;
    AudioOutput* output_ = nullptr;
    QToolButton* prev_ = nullptr;
    QToolButton* play_ = nullptr;
    QToolButton* pause_ = nullptr;
    QToolButton* stop_ = nullptr;
};

} // namespace tunevane
