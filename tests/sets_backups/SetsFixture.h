#pragma once

#include "../switching/SideFixture.h"

#include "files/Path.h"

#include <QComboBox>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QRegularExpression>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

// Byte-exact looks at folders: names as readdir gives them, contents read through the same
// encoder the program uses.
namespace disk {

inline QStringList entries(const QString& folder) {
    QStringList names;
    DIR* dir = ::opendir(tunevane::files::encodePath(folder).constData());
    if (!dir)
        return names;
    while (const dirent* entry = ::readdir(dir)) {
        const QByteArray name(entry->d_name);
        if (name != "." && name != "..")
            names << tunevane::files::decodeName(name);
    }
    ::closedir(dir);
    names.sort();
    return names;
}

inline bool isFolder(const QString& path) {
    struct stat st;
    return ::lstat(tunevane::files::encodePath(path).constData(), &st) == 0 && S_ISDIR(st.st_mode);
}

inline QByteArray read(const QString& path) {
    QByteArray bytes;
    const int fd = ::open(tunevane::files::encodePath(path).constData(), O_RDONLY);
    if (fd < 0)
        return bytes;
    char buffer[4096];
    for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) > 0;)
        bytes.append(buffer, n);
    ::close(fd);
    return bytes;
}

inline void write(const QString& path, const QByteArray& bytes) {
    const int fd =
        ::open(tunevane::files::encodePath(path).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0 || ::write(fd, bytes.constData(), size_t(bytes.size())) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
    ::close(fd);
}

// Every entry under `folder`, as "sub/NAME=CONTENT" for files and "sub/" for folders, where
// CONTENT is the bytes with `strip` taken off their front.
inline QStringList tree(const QString& folder, const QByteArray& strip = {},
                        const QString& prefix = {}) {
    QStringList lines;
    for (const QString& name : entries(folder)) {
        const QString path = folder + u'/' + name;
        if (isFolder(path)) {
            lines << prefix + name + u'/';
            lines << tree(path, strip, prefix + name + u'/');
            continue;
        }
        QByteArray bytes = read(path);
        if (!strip.isEmpty() && bytes.startsWith(strip))
            bytes.remove(0, strip.size());
        lines << prefix + name + u'=' + QString::fromUtf8(bytes);
    }
    return lines;
}

} // namespace disk

// The sets and backups of one side, driven through the switch window and the dialogs.
class SetsFixture : public SideFixture {
public:
    explicit SetsFixture(Side side) : SideFixture(std::move(side)) {}

    QString root() const { return QFileInfo(programFolder()).path(); }
    // What SideFixture::write puts in a file, less the root: "replacements/R1.WAV".
    QByteArray contentPrefix() const { return "content of " + root().toUtf8() + '/'; }
    // What is set aside is dated; "*" stands for the date.
    QStringList programTree() const {
        static const QRegularExpression dated(QStringLiteral(
            "^(TempDir|BackDir) unfinished \\d{4}-\\d\\d-\\d\\d \\d\\d\\.\\d\\d\\.\\d\\d/"));
        return disk::tree(programFolder(), contentPrefix())
            .replaceInStrings(dated, QStringLiteral("\\1 unfinished */"));
    }
    // Everything around the program folder, which no set or backup may touch.
    QStringList outsideTree() const {
        QStringList lines = disk::tree(root(), contentPrefix());
        lines.removeIf([](const QString& line) { return line.startsWith(u"program/"); });
        return lines;
    }

    static QComboBox* nameBox(const QString& dialog) {
        QWidget* form = testsupport::topLevel(dialog);
        return form ? form->findChild<QComboBox*>(dialog == u"FrmSetName"
                                                      ? QStringLiteral("CboSetName")
                                                      : QStringLiteral("CboSetName2"))
                    : nullptr;
    }

    // Types `name` into the open name dialog and presses its OK; returns what a message box
    // then said ("title|text"), or "" when none came up.
    QString enterName(const QString& dialog, const QString& name) {
        QComboBox* box = nameBox(dialog);
        if (!box || !box->isVisible())
            return QStringLiteral("no dialog");
        box->setEditText(name);
        click(dialog,
              dialog == u"FrmSetName" ? QStringLiteral("CmdOk3") : QStringLiteral("CmdOK3"));
        return testsupport::dismissMessageBox();
    }

    void escape(const QString& dialog) {
        QComboBox* box = nameBox(dialog);
        QVERIFY(box && box->isVisible());
        QTest::keyClick(box->lineEdit(), Qt::Key_Escape);
        testsupport::settle();
    }

    // Presses OK on the confirmation that is up, if it is.
    bool confirm(const QString& dialog, const QString& button) {
        QWidget* form = testsupport::topLevel(dialog);
        if (!form || !form->isVisible() || !form->isModal())
            return false;
        click(dialog, button);
        return !testsupport::topLevel(dialog);
    }
};
