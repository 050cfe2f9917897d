// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "app/Application.h"

#include <QTest>

// QTEST_MAIN with the program's own application object, so that a test's windows have the
// look the program's have on any desktop.
#define TUNEVANE_TEST_MAIN(TestObject)                                                             \
    int main(int argc, char** argv) {                                                              \
        tunevane::Application application(argc, argv);                                             \
        TestObject test;                                                                           \
        QTEST_SET_MAIN_SOURCE_PATH                                                                 \
        return QTest::qExec(&test, argc, argv);                                                    \
    }
