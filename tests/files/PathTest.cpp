#include "files/Path.h"

#include <QStringDecoder>
#include <QTest>

using namespace tunevane::files;

class PathTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void namesRoundTripByteForByte_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("strays");
        QTest::addColumn<QString>("readable");

        QTest::newRow("ascii") << QByteArray("SOUND.WAV") << 0 << QStringLiteral("SOUND.WAV");
        QTest::newRow("utf-8 accent")
            << QByteArray("caf\xc3\xa9.wav") << 0 << QStringLiteral("café.wav");
        QTest::newRow("utf-8 outside the basic plane")
            << QByteArray("\xf0\x9f\x92\x80.mid") << 0 << QStringLiteral("\U0001F480.mid");
        QTest::newRow("windows-1252 accent")
            << QByteArray("caf\xe9.wav") << 1 << QStringLiteral("café.wav");
        QTest::newRow("windows-1252 quotes")
            << QByteArray("\x93quoted\x94.wav") << 2 << QStringLiteral("“quoted”.wav");
        // The real character's low half lies in the stray range too.
        QTest::newRow("stray after a surrogate pair")
            << QByteArray("\xf0\x9f\x92\x80\x80") << 1 << QStringLiteral("\U0001F480€");
        QTest::newRow("overlong slash") << QByteArray("a\xc0\xaf"
                                                      "b")
                                        << 2 << QStringLiteral("aÀ¯b");
        QTest::newRow("overlong three bytes")
            << QByteArray("\xe0\x80\xaf") << 3 << QStringLiteral("à€¯");
        QTest::newRow("truncated at the end")
            << QByteArray("x\xe2\x82") << 2 << QStringLiteral("xâ‚");
        QTest::newRow("truncated before ascii")
            << QByteArray("\xe2\x82x") << 2 << QStringLiteral("â‚x");
        QTest::newRow("encoded surrogate")
            << QByteArray("\xed\xa0\x80") << 3 << QStringLiteral("í\u00a0€");
        QTest::newRow("past the last code point")
            << QByteArray("\xf4\x90\x80\x80") << 4 << QStringLiteral("ô\ufffd€€");
        QTest::newRow("lone continuation") << QByteArray("\x80") << 1 << QStringLiteral("€");
        QTest::newRow("no character in the code page")
            << QByteArray("\x81\x8d") << 2 << QStringLiteral("\ufffd\ufffd");
        QTest::newRow("never in utf-8") << QByteArray("\xfe\xff") << 2 << QStringLiteral("þÿ");
        QTest::newRow("path with stray folder") << QByteArray("/games/M\xfcsik/caf\xe9 1.wav") << 2
                                                << QStringLiteral("/games/Müsik/café 1.wav");
    }

    void namesRoundTripByteForByte() {
        QFETCH(QByteArray, bytes);
        QFETCH(int, strays);
        QFETCH(QString, readable);

        const QString name = decodeName(bytes);
        QCOMPARE(encodePath(name), bytes);
        QCOMPARE(readableName(name), readable);

        int lone = 0;
        for (qsizetype i = 0; i < name.size(); ++i) {
            const QChar unit = name.at(i);
            if (unit.isLowSurrogate() && !(i > 0 && name.at(i - 1).isHighSurrogate())) {
                QVERIFY(unit.unicode() >= 0xDC80 && unit.unicode() <= 0xDCFF);
                ++lone;
            }
        }
        QCOMPARE(lone, strays);

        // Valid UTF-8 reads exactly as any other program reads it.
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString decoded = utf8(bytes);
        if (!utf8.hasError())
            QCOMPARE(name, decoded);
        else
            QVERIFY(strays > 0);
    }
};

QTEST_APPLESS_MAIN(PathTest)
#include "PathTest.moc"
