// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

/// @file
/// @brief What every window shares: red and blue file colours, classic fonts and palette, messages.

#include <QColor>
#include <QFont>
#include <QPalette>
#include <QString>
#include <functional>

class QWidget;

namespace tunevane {

// Game files are always red and replacement files always blue, on every window.
inline const QColor gameRed{255, 0, 0};
inline const QColor replacementBlue{0, 0, 255};

// A classic Windows face ("MS Sans Serif", "Arial", "Times New Roman") at a control's size, in the
// installed face that fontconfig gives as metric-compatible with it. The program's default
// font, which Application sets, is "MS Sans Serif" 8.25 pt: the twips layouts were drawn for it.
QFont classicFont(const QString& family, qreal pointSize, bool bold = false, bool italic = false);

// The light palette every window, tool tip and message box is drawn with, whatever the
// desktop's theme: the fixed red and blue texts stand on its face.
QPalette classicPalette();

// A fixed message box: title, text, one OK button, no icon, application-modal. It never
// blocks: `then` runs once the user has dismissed it.
void showMessage(QWidget* parent, const QString& title, const QString& text,
                 std::function<void()> then = {});

void setTextColour(QWidget* widget, const QColor& colour);

// The menu-text colour of the palette that `widget`'s window is drawn with.
QColor menuTextColour(const QWidget* widget);

} // namespace tunevane
