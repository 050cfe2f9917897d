// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The real program on an X server, driven as a user drives it, for the smoke test and the
// benchmarks. Header-only: the benchmarks do not link the test support.

#include <QProcess>
#include <QRegularExpression>
#include <QWidget>
#include <QtCore/qtestsupport_core.h>
#include <optional>

namespace testsupport {

// What `tool` printed; nothing when it failed. The X server here now and then drops a new
// connection: a tool that failed is run again, up to `attempts` times.
inline std::optional<QString> toolOutput(const QString& tool, const QStringList& arguments,
                                         const QProcessEnvironment& environment, int attempts = 1) {
    for (int attempt = 0; attempt < attempts; ++attempt) {
        QProcess process;
        process.setProcessEnvironment(environment);
        process.start(tool, arguments);
        if (process.waitForFinished(20000) && process.exitStatus() == QProcess::NormalExit &&
            process.exitCode() == 0)
            return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
    }
    return std::nullopt;
}

class RealProgram {
public:
    RealProgram(const QProcessEnvironment& environment, const QString& folder)
        : m_environment(environment) {
        m_process.setProcessEnvironment(environment);
        m_process.setWorkingDirectory(folder);
        m_process.setProcessChannelMode(QProcess::ForwardedChannels);
    }
    QProcess& process() { return m_process; }

    // False when it never showed a window. A program whose connection the X server dropped
    // ends at once, and is started again.
    bool start(const QString& binary) {
        for (int attempt = 0; attempt < 5; ++attempt) {
            m_process.start(binary, {});
            if (m_process.waitForStarted(20000) && !window().isEmpty())
                return true;
            if (m_process.state() != QProcess::NotRunning)
                return false;
        }
        return false;
    }

    // The program's first visible window of that title (any, without one) once it shows; ""
    // when it never does.
    QString window(const QString& title = {}) const {
        QStringList search{QStringLiteral("search"), QStringLiteral("--all"),
                           QStringLiteral("--onlyvisible"), QStringLiteral("--pid"),
                           QString::number(m_process.processId())};
        if (!title.isEmpty())
            search << QStringLiteral("--name") << u'^' + QRegularExpression::escape(title) + u'$';
        QString id;
        const auto found = [&] {
            id = tool(QStringLiteral("xdotool"), search).value_or(QString()).section(u'\n', 0, 0);
            return !id.isEmpty() || m_process.state() == QProcess::NotRunning;
        };
        return QTest::qWaitFor(found, 30000) ? id : QString();
    }

    // Clicks `at` (its middle by default) in `control` of a same-sized twin of `window`.
    void click(const QString& window, const QWidget* control, QPoint at = {-1, -1}) const {
        const QPoint point =
            control->mapTo(control->window(), at.x() < 0 ? control->rect().center() : at);
        tool(QStringLiteral("xdotool"),
             {QStringLiteral("mousemove"), QStringLiteral("--window"), window,
              QString::number(point.x()), QString::number(point.y()), QStringLiteral("click"),
              QStringLiteral("1")},
             5);
    }

    std::optional<QString> tool(const QString& name, const QStringList& arguments,
                                int attempts = 1) const {
        return toolOutput(name, arguments, m_environment, attempts);
    }

private:
    QProcessEnvironment m_environment;
    QProcess m_process;
};

} // namespace testsupport
