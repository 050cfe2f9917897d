// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Preloaded (LD_PRELOAD) into a Qt program, unchanged, so that a process timer measures
// start → first window drawn: the process ends as soon as its first window has been exposed
// and painted. The program and its reference get the same treatment.

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWindow>

#include <cstdio>
#include <unistd.h>

namespace {

class ExitWhenDrawn : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (!m_seen && event->type() == QEvent::Expose) {
            const auto* window = qobject_cast<QWindow*>(watched);
            if (window && window->isExposed()) {
                m_seen = true;
                // Widgets paint while handling the expose; the timer fires after that.
                QTimer::singleShot(0, [] {
                    std::fflush(nullptr);
                    ::_exit(0);
                });
            }
        }
        return false;
    }

private:
    bool m_seen = false;
};

void install() {
    QCoreApplication::instance()->installEventFilter(
        new ExitWhenDrawn(QCoreApplication::instance()));
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(install)
