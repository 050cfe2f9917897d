// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "games/KeyValues.h"

#include <QTest>

using namespace tunevane::games;

namespace {

// The value at `path` ("AppState/name"), keys matched as the readers match them.
QString valueAt(const KeyValue& top, const QString& path) {
    const KeyValue* entry = &top;
    for (const QString& key : path.split(u'/'))
        entry = entry ? entry->find(key) : nullptr;
    return entry ? entry->value : QString();
}

QString broken(int at) {
    return QStringLiteral("broken at byte %1").arg(at);
}

} // namespace

class KeyValuesTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // What the readers make of damaged and hostile bytes: the value asked for, or why not.
    void parse_data() {
        QTest::addColumn<bool>("binary");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("value"); // at `path` when read
        QTest::addColumn<QString>("why");   // empty when read
        const QStringView name = u"AppState/name";
        const auto nested = [](int depth) -> QByteArray {
            return QByteArray("\"a\" {").repeated(depth) + QByteArray("}").repeated(depth);
        };
        const auto row = [](const char* tag, bool binary, const QByteArray& bytes, QStringView path,
                            QStringView value, QStringView why) {
            QTest::newRow(tag) << binary << bytes << path.toString() << value.toString()
                               << why.toString();
        };
        row("escapes", false, "\"AppState\" { \"name\" \"say \\\"hi\\\"\\\\\\t\\n\\x\" }", name,
            u"say \"hi\"\\\t\n\\x", {});
        row("unquoted, comments, any case", false,
            "\xEF\xBB\xBF// top\nappstate{NAME Portal // note\n}", name, u"Portal", {});
        row("at the depth limit", false, nested(keyValuesMaxDepth), {}, {}, {});
        row("beyond the depth limit", false, nested(keyValuesMaxDepth + 1), {}, {}, broken(165));
        row("truncated string", false, "\"AppState\" { \"name\" \"Ha", {}, {}, broken(23));
        row("truncated escape", false, "\"a\\", {}, {}, broken(3));
        row("key without value", false, "\"AppState\" { \"name\"", {}, {}, broken(19));
        row("unclosed block", false, "\"AppState\" { \"a\" \"b\"", {}, {}, broken(20));
        row("stray brace", false, "\"AppState\" { } }", {}, {}, broken(16));
        row("block without key", false, "{ }", {}, {}, broken(1));
        row("binary", false, QByteArrayLiteral("\"AppState\" { \"n\" \"\0\x01\xff\" }"), {}, {},
            broken(18));
        row("too large", false, QByteArray(keyValuesMaxBytes + 1, ' '), {}, {},
            u"over 1048576 bytes");
        row("too many entries", false, QByteArray("k v ").repeated(keyValuesMaxEntries + 1), {}, {},
            broken(400001));
        // Binary: type 0x00 opens a map, 0x01 is text, 0x02 an int32, 0x07 a uint64; 0x08 closes.
        const QByteArray entry = QByteArrayLiteral("\0"
                                                   "0\0\x01"
                                                   "AppName\0A\0\x07t\0\1\0\0\0\0\0\0\0\x08");
        const QByteArray shortcuts = QByteArrayLiteral("\0shortcuts\0") + entry + '\x08';
        row("shortcuts", true, shortcuts + '\x08', u"shortcuts/0/AppName", u"A", {});
        row("top without its end", true, shortcuts, u"shortcuts/0/t", u"1", {});
        row("unclosed map", true, entry.chopped(1), {}, {}, broken(25));
        row("truncated number", true, QByteArrayLiteral("\x02n\0\1\0"), {}, {}, broken(3));
        row("key without NUL", true, "\x01key", {}, {}, broken(1));
        row("unknown type", true, QByteArrayLiteral("\x09k\0"), {}, {}, broken(3));
        const auto binaryNested = [](int depth) -> QByteArray {
            return QByteArrayLiteral("\0k\0").repeated(depth) + QByteArray(depth, '\x08');
        };
        row("binary at the depth limit", true, binaryNested(keyValuesMaxDepth), {}, {}, {});
        row("binary beyond the depth limit", true, binaryNested(keyValuesMaxDepth + 1), {}, {},
            broken(99));
        row("binary too large", true, QByteArray(keyValuesMaxBytes + 1, '\x08'), {}, {},
            u"over 1048576 bytes");
    }

    void parse() {
        QFETCH(bool, binary);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, path);
        QFETCH(QString, value);
        QFETCH(QString, why);
        const auto top = binary ? parseBinaryKeyValues(bytes) : parseKeyValues(bytes);
        QCOMPARE(top ? QString() : QString::fromUtf8(top.error().text()), why);
        if (top && !path.isEmpty())
            QCOMPARE(valueAt(*top, path), value);
    }
};

QTEST_APPLESS_MAIN(KeyValuesTest)
#include "KeyValuesTest.moc"
