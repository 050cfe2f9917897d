// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "../switching/SideFixture.h"

#include "files/Path.h"

#include <QComboBox>
#include <QLineEdit>
#include <QRegularExpression>
#include <dirent.h>
#include <sys/stat.h>

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
        QByteArray bytes = testsupport::readFile(path);
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

    static QComboBox* nameBox(QStringView dialog) {
        QWidget* form = testsupport::topLevel(dialog.toString());
        return form ? form->findChild<QComboBox*>(dialog == u"FrmSetName"
                                                      ? QStringLiteral("CboSetName")
                                                      : QStringLiteral("CboSetName2"))
                    : nullptr;
    }

    // Types `name` into the open name dialog and presses its OK; returns what a message box
    // then said ("title|text"), or "" when none came up.
    QString enterName(QStringView dialog, QStringView name) {
        QComboBox* box = nameBox(dialog);
        if (!box || !box->isVisible())
            return QStringLiteral("no dialog");
        box->setEditText(name.toString());
        click(dialog, dialog == u"FrmSetName" ? u"CmdOk3" : u"CmdOK3");
        return testsupport::dismissMessageBox();
    }

    // The two ways out of a name dialog that give no name.
    static void leavingRows() {
        QTest::addColumn<bool>("escape"); // else the window system's close
        QTest::newRow("Esc") << true;
        QTest::newRow("window-system close") << false;
    }

    // Types a name into the open name dialog, then leaves it the row's way; returns the
    // windows then on screen, or "message box" when one came up.
    static QStringList leave(QStringView dialog, bool escape) {
        QComboBox* box = nameBox(dialog);
        if (!box || !box->isVisible())
            return {QStringLiteral("no dialog")};
        box->setEditText(QStringLiteral("typed"));
        if (escape)
            QTest::keyClick(box->lineEdit(), Qt::Key_Escape);
        else
            testsupport::topLevel(dialog.toString())->close();
        testsupport::settle();
        return testsupport::messageBox() ? QStringList{QStringLiteral("message box")}
                                         : testsupport::visibleWindows();
    }

    // Presses OK on the confirmation that is up, if it is.
    bool confirm(QStringView dialog, QStringView button) {
        QWidget* form = testsupport::topLevel(dialog.toString());
        if (!form || !form->isVisible() || !form->isModal())
            return false;
        click(dialog, button);
        return !testsupport::topLevel(dialog.toString());
    }
};
