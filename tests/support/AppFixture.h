#pragma once

#include "TestSupport.h"
#include "app/App.h"

#include <QTemporaryDir>
#include <memory>

namespace testsupport {

// A program over a program folder of its own, made anew for each test function: a suite
// derives from it after QObject, calls makeApp() from init() and dropApp() from cleanup().
class AppFixture {
protected:
    void makeApp() {
        m_folder = std::make_unique<QTemporaryDir>();
        m_app = std::make_unique<tunevane::App>(m_folder->path());
    }
    void dropApp() {
        m_app.reset();
        settle();
    }

    std::unique_ptr<QTemporaryDir> m_folder;
    std::unique_ptr<tunevane::App> m_app;
};

} // namespace testsupport
