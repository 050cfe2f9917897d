// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

class QMessageBox;
class QWidget;

namespace testsupport {

// Test mode for QStandardPaths, a private home folder (HOME, XDG_DATA_HOME, XDG_CONFIG_HOME,
// WINEPREFIX) that is also the current folder, and a message handler that drops the offscreen
// platform's harmless complaints. Call from initTestCase(): the test library installs its own
// handler when it starts.
void prepare();

// A top-level window by objectName, shown or hidden; nullptr when there is none.
QWidget* topLevel(const QString& name);
// objectNames of the top-level windows that are on screen, sorted.
QStringList visibleWindows();

// The message box that is up now, or nullptr.
QMessageBox* messageBox();
// Presses OK on the message box that is up; returns "title|text" of what it said, or "".
QString dismissMessageBox();

// Clicks the push button `button` of the top-level window `window` with the mouse, then
// settles; false (nothing clicked) when either is missing.
bool click(const QString& window, const QString& button);

// Waits for deferred deletes and queued continuations.
void settle();

// A tmpfs over a folder for as long as the guard lives: a small disk to fill, or one to make
// read-only. Only root can mount; mount() says why it could not.
class Mount {
public:
    Mount() = default;
    Mount(const Mount&) = delete;
    Mount& operator=(const Mount&) = delete;
    ~Mount();
    // `options` as mount(8) takes them, e.g. "size=1m".
    bool mount(const QString& folder, const char* options, const char* source = "tmpfs");
    bool makeReadOnly();
    // Why the last step failed, for a skip or a failure.
    QByteArray why() const { return m_why; }

private:
    QByteArray m_point;
    QByteArray m_why;
};

} // namespace testsupport
