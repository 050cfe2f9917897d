// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "files/TrustedCode.h"

#include "Snapshot.h"

#include <QTemporaryDir>
#include <QTest>

using namespace tunevane::files;
using namespace filetests;

class TrustedCodeTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void trustedCode_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("trusted");
        QTest::newRow("ours, closed") << QStringLiteral("plain") << true;
        QTest::newRow("through a link") << QStringLiteral("link") << true;
        QTest::newRow("under a sticky folder all may write") << QStringLiteral("root 1777") << true;
        QTest::newRow("missing") << QStringLiteral("missing") << false;
        QTest::newRow("writable by others") << QStringLiteral("file o+w") << false;
        QTest::newRow("writable by its group") << QStringLiteral("file g+w") << false;
        QTest::newRow("in a folder writable by others") << QStringLiteral("folder o+w") << false;
        QTest::newRow("in a folder writable by its group") << QStringLiteral("folder g+w") << false;
        QTest::newRow("under a folder all may write") << QStringLiteral("root 0777") << false;
        QTest::newRow("another user may write, by its list") << QStringLiteral("file acl") << false;
        QTest::newRow("another user's") << QStringLiteral("nobody's") << false;
        QTest::newRow("a folder") << QStringLiteral("folder") << false;
    }

    void trustedCode() {
        QFETCH(QString, how);
        QFETCH(bool, trusted);
        QTemporaryDir tmp;
        QVERIFY(tmp.isValid());
        const QString folder = tmp.filePath(QStringLiteral("plugins"));
        const QString plugin = folder + u"/tunevane-audio.so";
        QVERIFY(QDir().mkpath(folder) && setMode(folder, 0755) && setMode(tmp.path(), 0700));
        if (how == u"folder")
            QVERIFY(QDir().mkpath(plugin));
        else if (how != u"missing")
            QVERIFY(writeFile(plugin, "code", how == u"file o+w" ? 0757 : 0755));
        if (how.startsWith(u"folder ") || how == u"file g+w")
            QVERIFY(
                setMode(how == u"file g+w" ? plugin : folder, how.endsWith(u"o+w") ? 0757 : 0775));
        if (how.startsWith(u"root "))
            QVERIFY(setMode(tmp.path(), how.mid(5).toUInt(nullptr, 8)));
        if (how == u"nobody's" &&
            ::chown(QFile::encodeName(plugin).constData(), nobody, nobody) != 0)
            QSKIP("only root can give a file to another user");
        if (how == u"file acl") {
            // The mask keeps the entry from writing now; the owner's next chmod would not.
            const acl_t acl = ::acl_from_text("u::rwx,u:1001:rwx,g::r-x,m::r-x,o::r-x");
            const int set =
                ::acl_set_file(QFile::encodeName(plugin).constData(), ACL_TYPE_ACCESS, acl);
            ::acl_free(acl);
            if (set != 0)
                QSKIP("no access lists on this filesystem");
        }
        QString asked = plugin;
        if (how == u"link") {
            asked = tmp.filePath(QStringLiteral("link.so"));
            QVERIFY(makeLink(plugin, asked));
        }
        const std::optional<Fd> code = openTrustedCode(asked);
        QCOMPARE(code.has_value(), trusted);
        if (!trusted)
            return;
        // What is loaded is what was checked, even once another file takes its name.
        QVERIFY(writeFile(folder + u"/other.so", "swapped", 0755));
        QVERIFY(QFile::remove(plugin) && QFile::rename(folder + u"/other.so", plugin));
        QCOMPARE(readFile(QFile::decodeName(descriptorPath(code->get()))), "code");
    }
};

QTEST_GUILESS_MAIN(TrustedCodeTest)
#include "TrustedCodeTest.moc"
