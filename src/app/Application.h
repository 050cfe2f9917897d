// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

/// @file
/// @brief The program's one QApplication: classic palette, Fusion and classic fonts on any desktop.

#include <QApplication>

namespace tunevane {

// The program's application object, which gives every window the same look on every desktop:
// the Fusion style under the focus frames, the classic light palette (tool tips and message
// boxes too) and the classic fonts at the windows' own sizes. The desktop's theme keeps none of its
// fonts, palette, style or style sheet on the program, not even those it sets once the events
// flow; larger text comes only from Qt scaling the whole window (QT_SCALE_FACTOR,
// QT_SCREEN_SCALE_FACTORS, the screen's own scale). The program, its tools and every test
// make theirs with this class, so the tests see what a user sees.
class Application : public QApplication {
    Q_OBJECT
public:
    Application(int& argc, char** argv);

protected:
    bool event(QEvent* event) override;

private:
    // Puts back whatever of the look was changed.
    void keepLook();

    bool m_keepQueued = false;
};

} // namespace tunevane
