// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

/// @file
/// @brief Lets a one-line label show a text too long for its box cut short, keeping it whole.

#include <QLabel>

namespace tunevane {

// A one-line label that draws a text too long for it elided, while text() stays whole for
// the code that reads it.
class ElidedLabel : public QLabel {
    Q_OBJECT
public:
    ElidedLabel(const QString& text, Qt::TextElideMode mode, QWidget* parent);

    // What it draws of its text.
    QString shownText() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Qt::TextElideMode m_mode;
};

} // namespace tunevane
