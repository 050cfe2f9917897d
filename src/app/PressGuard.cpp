// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/PressGuard.h"

#include <QApplication>
#include <QMouseEvent>
#include <QStyleHints>
#include <QWidget>

namespace tunevane {

PressGuard::PressGuard(QObject* parent) : QObject(parent) {}

bool PressGuard::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonDblClick &&
        type != QEvent::MouseButtonRelease)
        return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget)
        return false;
    const auto* mouse = static_cast<const QMouseEvent*>(event);
    if (type == QEvent::MouseButtonRelease) {
        if (!m_dropping)
            return false;
        m_dropping = false;
        return true;
    }
    QWidget* window = widget->window();
    const auto interval =
        static_cast<quint64>(QGuiApplication::styleHints()->mouseDoubleClickInterval());
    const bool secondClickElsewhere =
        m_lastWindow && m_lastWindow != window && mouse->timestamp() - m_lastTime < interval &&
        (mouse->globalPosition() - m_lastPosition).manhattanLength() <=
            QGuiApplication::styleHints()->startDragDistance();
    if (secondClickElsewhere) {
        m_dropping = true;
        return true;
    }
    if (type == QEvent::MouseButtonPress) {
        m_lastWindow = window;
        m_lastTime = mouse->timestamp();
        m_lastPosition = mouse->globalPosition();
    }
    m_dropping = false;
    return false;
}

} // namespace tunevane
