// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "TestSupport.h"
#include "app/App.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

namespace testsupport {

// A program over a program folder of its own, made anew for each test function: a suite
// derives from it after QObject, calls makeApp() from init() and dropApp() from cleanup().
class AppFixture {
protected:
    // `program` names the program folder inside m_folder; empty: m_folder itself.
    void makeApp(const QString& program = {}) {
        m_folder = std::make_unique<QTemporaryDir>();
        QDir().mkpath(m_folder->path() + program);
        m_app = std::make_unique<tunevane::App>(m_folder->path() + program);
    }
    // Names are views, so that a test can give them as u"" literals.
    static void click(QStringView window, QStringView button) {
        QVERIFY2(testsupport::click(window.toString(), button.toString()),
                 qPrintable(window + u' ' + button));
    }

    void dropApp() {
        m_app.reset();
        settle();
    }

    std::unique_ptr<QTemporaryDir> m_folder;
    std::unique_ptr<tunevane::App> m_app;
};

} // namespace testsupport
