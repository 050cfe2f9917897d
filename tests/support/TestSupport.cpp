// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "TestSupport.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

#include <cerrno>
#include <cstring>
#include <sys/mount.h>

namespace testsupport {

namespace {

QtMessageHandler previousHandler = nullptr;

void filterMessages(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (message.startsWith(QLatin1String("This plugin does not support")))
        return;
    if (previousHandler)
        previousHandler(type, context, message);
}

} // namespace

void prepare() {
    QStandardPaths::setTestModeEnabled(true);
    previousHandler = qInstallMessageHandler(filterMessages);
    // The searches for games read the home folder: never the Steam and Wine folders of
    // whoever runs the tests. The folder lives as long as the process.
    static const QTemporaryDir home;
    const QByteArray path = QFile::encodeName(home.path());
    qputenv("HOME", path);
    qputenv("XDG_DATA_HOME", path + "/.local/share");
    qputenv("XDG_CONFIG_HOME", path + "/.config");
    qputenv("WINEPREFIX", path + "/.wine");
    // The panes open in the current folder: the private one, never the build tree.
    QDir::setCurrent(home.path());
}

QWidget* topLevel(const QString& name) {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == name)
            return widget;
    }
    return nullptr;
}

QStringList visibleWindows() {
    QStringList names;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->isVisible() && widget->isWindow() && !widget->inherits("QMenu") &&
            !widget->inherits("QComboBoxPrivateContainer") && widget->windowType() != Qt::ToolTip)
            names << widget->objectName();
    }
    names.sort();
    return names;
}

QMessageBox* messageBox() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* box = qobject_cast<QMessageBox*>(widget); box && box->isVisible())
            return box;
    }
    return nullptr;
}

QString dismissMessageBox() {
    QMessageBox* box = messageBox();
    if (!box)
        return {};
    const QString said = box->windowTitle() + QLatin1Char('|') + box->text();
    box->button(QMessageBox::Ok)->click();
    settle();
    return said;
}

bool click(const QString& window, const QString& button) {
    QWidget* form = topLevel(window);
    auto* control = form ? form->findChild<QPushButton*>(button) : nullptr;
    if (!control)
        return false;
    QTest::mouseClick(control, Qt::LeftButton);
    settle();
    return true;
}

void settle() {
    for (int round = 0; round < 3; ++round) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }
}

Mount::~Mount() {
    if (!m_point.isEmpty())
        ::umount2(m_point.constData(), MNT_DETACH);
}

bool Mount::mount(const QString& folder, const char* options, const char* source) {
    const QByteArray point = QFile::encodeName(folder);
    if (::mount(source, point.constData(), "tmpfs", 0, options) != 0) {
        m_why = "cannot mount a tmpfs: " + QByteArray(std::strerror(errno));
        return false;
    }
    m_point = point;
    return true;
}

bool Mount::makeReadOnly() {
    if (::mount(nullptr, m_point.constData(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) == 0)
        return true;
    m_why = "cannot make a tmpfs read-only: " + QByteArray(std::strerror(errno));
    return false;
}

} // namespace testsupport
