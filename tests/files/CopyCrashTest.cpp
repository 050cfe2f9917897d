// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

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

#include "TestFiles.h"

#include <algorithm>
#include <limits>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

using namespace tunevane::files;

namespace {

// The binary re-runs itself with this switch to be the copy run that gets killed.
constexpr char childSwitch[] = "--copy-run-as-child";

// TUNEVANE_KILLS raises the count for a long soak.
constexpr int defaultKills = 20;
constexpr qsizetype newSize = 8 * 1024 * 1024;
constexpr qsizetype oldSize = 256 * 1024;
constexpr mode_t gameMode = 0640;
const QStringList gameNames = {QStringLiteral("JUMP.WAV"), QStringLiteral("land.wav"),
                               QStringLiteral("THEME.MID")};

QByteArray randomBytes(QRandomGenerator& random, qsizetype size) {
    QByteArray bytes(size, Qt::Uninitialized);
    random.fillRange(reinterpret_cast<quint32*>(bytes.data()), size / sizeof(quint32));
    return bytes;
}

std::unique_ptr<QProcess> startRun(const QList<CopyPair>& pairs) {
    QStringList arguments{QString::fromLatin1(childSwitch)};
    for (const CopyPair& pair : pairs)
        arguments << pair.source << pair.destination;
    auto child = std::make_unique<QProcess>();
    child->start(QCoreApplication::applicationFilePath(), arguments);
    return child;
}

struct GameFile {
    QString path;
    QByteArray oldBytes;
    QByteArray newBytes;
};

// Every game file wholly old or wholly new, the new ones a prefix of the run, modes kept.
QString checkGameFiles(const QList<GameFile>& files, int& newCount) {
    newCount = 0;
    for (qsizetype i = 0; i < files.size(); ++i) {
        const GameFile& file = files[i];
        struct stat st;
        if (::lstat(QFile::encodeName(file.path).constData(), &st) != 0 || !S_ISREG(st.st_mode))
            return file.path + u" is gone";
        if ((st.st_mode & 07777) != gameMode)
            return file.path + u" lost its mode";
        const QByteArray now = testsupport::readFile(file.path);
        if (now == file.newBytes) {
            if (newCount++ != i)
                return file.path + u" was copied out of order";
        } else if (now != file.oldBytes) {
            return QStringLiteral("%1 holds %2 mixed bytes").arg(file.path).arg(now.size());
        }
    }
    return {};
}

QStringList othersIn(const QString& folder) {
    QStringList names = QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                                               QDir::NoDotAndDotDot);
    names.removeIf([](const QString& name) { return gameNames.contains(name); });
    return names;
}

} // namespace

class CopyCrashTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void killedRunLeavesEachFileOldOrNew();
};

void CopyCrashTest::killedRunLeavesEachFileOldOrNew() {
    QTemporaryDir tmp;
    QVERIFY(tmp.isValid());
    const QString game = tmp.filePath(QStringLiteral("game"));
    QVERIFY(QDir().mkpath(game) && QDir().mkpath(tmp.filePath(QStringLiteral("new"))) &&
            QDir().mkpath(tmp.filePath(QStringLiteral("old"))));

    const quint32 seed = QRandomGenerator::system()->generate();
    qInfo("seed %u", seed);
    QRandomGenerator random(seed);
    QList<GameFile> files;
    QList<CopyPair> run;
    QList<CopyPair> restore;
    for (const QString& name : gameNames) {
        GameFile file{game + u'/' + name, randomBytes(random, oldSize),
                      randomBytes(random, newSize)};
        const QString newSource = tmp.filePath(u"new/" + name);
        const QString oldSource = tmp.filePath(u"old/" + name);
        QVERIFY(testsupport::writeFile(newSource, file.newBytes, gameMode) &&
                testsupport::writeFile(oldSource, file.oldBytes, gameMode) &&
                testsupport::writeFile(file.path, file.oldBytes, gameMode));
        run << CopyPair{newSource, file.path};
        restore << CopyPair{oldSource, file.path};
        files << file;
    }
    int newCount = 0;

    // Uninterrupted runs set the range the kills are spread over; the fastest one, because
    // the first runs meet a cold cache and the other jobs on the machine.
    qint64 runUs = std::numeric_limits<qint64>::max();
    for (int calibration = 0; calibration < 3; ++calibration) {
        const auto child = startRun(run);
        QVERIFY(child->waitForReadyRead(30'000));
        QElapsedTimer clock;
        clock.start();
        QByteArray said = child->readAll();
        while (!said.contains('d') && child->waitForReadyRead(60'000))
            said += child->readAll();
        QVERIFY(said.contains('d'));
        runUs = std::min(runUs, clock.nsecsElapsed() / 1000);
        QVERIFY(child->waitForFinished(60'000));
        QCOMPARE(child->exitCode(), 0);
        QCOMPARE(checkGameFiles(files, newCount), QString());
        QCOMPARE(newCount, files.size());
        QCOMPARE(copyRun(restore).copied, restore.size());
    }
    qInfo("one run of %lld files takes %lld ms", static_cast<long long>(run.size()), runUs / 1000);

    const int kills = qEnvironmentVariableIsSet("TUNEVANE_KILLS")
                          ? qEnvironmentVariableIntValue("TUNEVANE_KILLS")
                          : defaultKills;
    int leftTemporaries = 0;
    QList<int> newCounts(files.size() + 1, 0);
    for (int round = 0; round < kills; ++round) {
        const auto child = startRun(run);
        // Counting from the child's word skips its start-up, which varies far more than the
        // run itself (most of all under the sanitizers).
        QVERIFY(child->waitForReadyRead(30'000));
        QThread::usleep(random.bounded(runUs + runUs / 4));
        child->kill();
        QVERIFY(child->waitForFinished(30'000));

        const QString fault = checkGameFiles(files, newCount);
        QVERIFY2(fault.isEmpty(), qPrintable(QStringLiteral("round %1: %2").arg(round).arg(fault)));
        ++newCounts[newCount];
        for (const QString& name : othersIn(game)) {
            QVERIFY2(isTemporaryName(name), qPrintable(name));
            ++leftTemporaries;
        }

        // The next copy into the folder clears what the killed one left.
        QCOMPARE(copyRun(restore).copied, restore.size());
        const QStringList left = othersIn(game);
        QVERIFY2(left.isEmpty(),
                 qPrintable(QStringLiteral("round %1: %2").arg(round).arg(left.join(u' '))));
    }
    QStringList spread;
    for (int n = 0; n <= files.size(); ++n)
        spread << QStringLiteral("%1 new: %2").arg(n).arg(newCounts[n]);
    // Unnamed temporaries leave nothing; only a kill in the instant between naming one and
    // renaming it over the game file can.
    qInfo("%d kills (%s), %d temporaries left and cleared", kills, qPrintable(spread.join(u", ")),
          leftTemporaries);
    // Without this the kills could all have missed the run and proven nothing.
    QVERIFY2(kills == 0 || newCounts[files.size()] < kills, "no kill landed while the run copied");
}

int main(int argc, char** argv) {
    if (argc >= 2 && qstrcmp(argv[1], childSwitch) == 0) {
        QList<CopyPair> pairs;
        for (int i = 2; i + 1 < argc; i += 2)
            pairs << CopyPair{QFile::decodeName(argv[i]), QFile::decodeName(argv[i + 1])};
        // The parent times the run alone from these two bytes.
        if (::write(STDOUT_FILENO, "g", 1) != 1)
            return 2;
        const bool copied = copyRun(pairs).copied == pairs.size();
        return ::write(STDOUT_FILENO, "d", 1) == 1 && copied ? 0 : 1;
    }
    QCoreApplication app(argc, argv);
    CopyCrashTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "CopyCrashTest.moc"
