#include "files/FileOps.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <algorithm>
#include <limits>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

using namespace tunevane::files;
using namespace Qt::StringLiterals;

namespace {

// The binary re-runs itself with this switch to be the copy that gets killed.
constexpr char childSwitch[] = "--copy-as-child";

constexpr int kills = 50;
constexpr qsizetype newSize = 32 * 1024 * 1024;
constexpr qsizetype oldSize = 256 * 1024;
constexpr mode_t gameMode = 0640;

QByteArray randomBytes(QRandomGenerator& random, qsizetype size) {
    QByteArray bytes(size, Qt::Uninitialized);
    random.fillRange(reinterpret_cast<quint32*>(bytes.data()), size / sizeof(quint32));
    return bytes;
}

bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size() &&
           file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                               QFileDevice::ReadGroup);
}

std::unique_ptr<QProcess> startCopy(const QString& source, const QString& destination) {
    auto child = std::make_unique<QProcess>();
    child->start(QCoreApplication::applicationFilePath(),
                 {QString::fromLatin1(childSwitch), source, destination});
    return child;
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class CopyCrashTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void killedCopyLeavesOldOrNewFile();
};

void CopyCrashTest::killedCopyLeavesOldOrNewFile() {
    QTemporaryDir tmp;
    QVERIFY(tmp.isValid());
    QVERIFY(QDir(tmp.path()).mkdir(u"game"_s));
    const QString game = tmp.filePath(u"game"_s);
    const QString destination = game + u"/JUMP.WAV"_s;
    const QString source = tmp.filePath(u"new.wav"_s);

    const quint32 seed = QRandomGenerator::system()->generate();
    qInfo("seed %u", seed);
    QRandomGenerator random(seed);
    const QByteArray oldBytes = randomBytes(random, oldSize);
    const QByteArray newBytes = randomBytes(random, newSize);
    QVERIFY(writeFile(source, newBytes));
    QVERIFY(writeFile(destination, oldBytes));

    // Uninterrupted copies set the range the kills are spread over; the fastest one, because
    // the first runs meet a cold cache and the other jobs on the machine.
    qint64 copyUs = std::numeric_limits<qint64>::max();
    for (int run = 0; run < 3; ++run) {
        const auto calibration = startCopy(source, destination);
        QVERIFY(calibration->waitForReadyRead(30'000));
        QElapsedTimer clock;
        clock.start();
        QByteArray said = calibration->readAll();
        while (!said.contains('d') && calibration->waitForReadyRead(60'000))
            said += calibration->readAll();
        QVERIFY(said.contains('d'));
        copyUs = std::min(copyUs, clock.nsecsElapsed() / 1000);
        QVERIFY(calibration->waitForFinished(60'000));
        QCOMPARE(calibration->exitCode(), 0);
        QVERIFY(readFile(destination) == newBytes);
        QVERIFY(writeFile(destination, oldBytes));
    }
    qInfo("one copy takes %lld ms", copyUs / 1000);

    int killedMidCopy = 0;
    int sawOld = 0;
    int sawNew = 0;
    for (int round = 0; round < kills; ++round) {
        const auto child = startCopy(source, destination);
        // Counting from the child's word skips its start-up, which varies far more than the
        // copy itself (most of all under the sanitizers).
        QVERIFY(child->waitForReadyRead(30'000));
        QThread::usleep(random.bounded(copyUs + copyUs / 2));
        child->kill();
        QVERIFY(child->waitForFinished(30'000));

        struct stat st;
        QVERIFY(::lstat(QFile::encodeName(destination).constData(), &st) == 0);
        QVERIFY(S_ISREG(st.st_mode));
        QCOMPARE(st.st_mode & 07777, gameMode);
        const QByteArray now = readFile(destination);
        const bool isOld = now == oldBytes;
        const bool isNew = !isOld && now == newBytes;
        QVERIFY2(
            isOld || isNew,
            qPrintable(u"round %1: destination holds %2 mixed bytes"_s.arg(round).arg(now.size())));
        isOld ? ++sawOld : ++sawNew;

        const QStringList names = QDir(game).entryList(QDir::AllEntries | QDir::Hidden |
                                                       QDir::System | QDir::NoDotAndDotDot);
        for (const QString& name : names) {
            if (name == u"JUMP.WAV")
                continue;
            QVERIFY2(isTemporaryName(name), qPrintable(name));
            QVERIFY2(!name.endsWith(u".wav", Qt::CaseInsensitive) &&
                         !name.endsWith(u".mid", Qt::CaseInsensitive),
                     qPrintable(name));
            ++killedMidCopy;
            QVERIFY(QFile::remove(game + u'/' + name));
        }
        if (isNew)
            QVERIFY(writeFile(destination, oldBytes));
    }
    qInfo("%d kills: %d left the old file, %d the new one, %d a temporary", kills, sawOld, sawNew,
          killedMidCopy);
    // Without this the kills could all have missed the copy and proven nothing.
    QVERIFY2(killedMidCopy > 0, "no kill landed while the copy was writing");
}

int main(int argc, char** argv) {
    if (argc == 4 && qstrcmp(argv[1], childSwitch) == 0) {
        const QString source = QFile::decodeName(argv[2]);
        const QString destination = QFile::decodeName(argv[3]);
        // The parent times the copy alone from these two bytes.
        if (::write(STDOUT_FILENO, "g", 1) != 1)
            return 2;
        const bool copied = copyFileTo(source, destination);
        return ::write(STDOUT_FILENO, "d", 1) == 1 && copied ? 0 : 1;
    }
    QCoreApplication app(argc, argv);
    CopyCrashTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "CopyCrashTest.moc"
