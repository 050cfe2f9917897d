// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

/// @file
/// @brief Keeps the second click of a double click off a window that just appeared under it.

#include <QObject>
#include <QPointF>

class QWidget;

namespace tunevane {

// A window that appears under the pointer between the two clicks of a double click must not
// take the second one: it would press whatever button of the new window lies there ("Exit
// Program" under a switch window's "Close"). Such a press, its double click and its release
// are dropped.
class PressGuard : public QObject {
    Q_OBJECT
public:
    explicit PressGuard(QObject* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Identity only: the window pressed last is often gone by the second press.
    const QWidget* m_lastWindow = nullptr;
    quint64 m_lastTime = 0;
    QPointF m_lastPosition;
    bool m_dropping = false;
};

} // namespace tunevane
