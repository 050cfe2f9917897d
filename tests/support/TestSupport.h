#pragma once

#include <QString>
#include <QStringList>

class QMessageBox;
class QWidget;

namespace testsupport {

// Test mode for QStandardPaths and a message handler that drops the offscreen platform's
// harmless complaints. Call from initTestCase().
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

} // namespace testsupport
