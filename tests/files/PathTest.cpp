// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

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

        const auto row = [](const char* tag, const char* bytes, int strays, QStringView readable) {
            QTest::newRow(tag) << QByteArray(bytes) << strays << readable.toString();
        };
        row("ascii", "SOUND.WAV", 0, u"SOUND.WAV");
        row("utf-8 accent", "caf\xc3\xa9.wav", 0, u"café.wav");
        row("utf-8 outside the basic plane", "\xf0\x9f\x92\x80.mid", 0, u"\U0001F480.mid");
        row("windows-1252 accent", "caf\xe9.wav", 1, u"café.wav");
        row("windows-1252 quotes", "\x93quoted\x94.wav", 2, u"“quoted”.wav");
        // The real character's low half lies in the stray range too.
        row("stray after a surrogate pair", "\xf0\x9f\x92\x80\x80", 1, u"\U0001F480€");
        row("overlong slash",
            "a\xc0\xaf"
            "b",
            2, u"aÀ¯b");
        row("overlong three bytes", "\xe0\x80\xaf", 3, u"à€¯");
        row("truncated at the end", "x\xe2\x82", 2, u"xâ‚");
        row("truncated before ascii", "\xe2\x82x", 2, u"â‚x");
        row("encoded surrogate", "\xed\xa0\x80", 3, u"í\u00a0€");
        row("past the last code point", "\xf4\x90\x80\x80", 4, u"ô\ufffd€€");
        row("lone continuation", "\x80", 1, u"€");
        row("no character in the code page", "\x81\x8d", 2, u"\ufffd\ufffd");
        row("never in utf-8", "\xfe\xff", 2, u"þÿ");
        row("path with stray folder", "/games/M\xfcsik/caf\xe9 1.wav", 2,
            u"/games/Müsik/café 1.wav");
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
