// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

/// @file
/// @brief The running program: its folder, its windows, and its end once the last window is gone.

#include "app/Forms.h"
#include "files/ProgramFolder.h"

#include <QObject>

namespace tunevane {

class App : public QObject {
    Q_OBJECT
public:
    explicit App(const QString& programFolder, QObject* parent = nullptr);
    ~App() override;

    Forms& forms() { return m_forms; }
    const files::ProgramFolder& programFolder() const { return m_programFolder; }

    // Ends at once: no window's unload steps run.
    void endProgram();
    bool hasEnded() const { return m_ended; }

    // Called by the registry when a window is unloaded; ends the program once no window is
    // left and the handler that unloaded it has returned.
    void endIfNoWindowLeft();

Q_SIGNALS:
    void ended();

private:
    files::ProgramFolder m_programFolder;
    Forms m_forms;
    bool m_ended = false;
};

} // namespace tunevane
