// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/App.h"

#include "app/PressGuard.h"

#include <QCoreApplication>
#include <QTimer>

namespace tunevane {

App::App(const QString& programFolder, QObject* parent)
    : QObject(parent), m_programFolder(programFolder), m_forms(*this) {
    QCoreApplication::instance()->installEventFilter(new PressGuard(this));
}

App::~App() = default;

void App::endProgram() {
    if (m_ended)
        return;
    m_ended = true;
    m_forms.discardAll();
    Q_EMIT ended();
}

void App::endIfNoWindowLeft() {
    QTimer::singleShot(0, this, [this] {
        if (m_forms.empty())
            endProgram();
    });
}

} // namespace tunevane
