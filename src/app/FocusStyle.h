// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

/// @file
/// @brief Keeps a dotted frame on the focused control, so the keyboard user always sees it.

#include <QProxyStyle>

namespace tunevane {

// The application's style (over Fusion, see Application) with a dotted focus frame that is
// always drawn on the control that has the focus. Fusion draws its faint one only after Tab
// was pressed in that window, and none at all around a list or a closed drop-down list.
class FocusStyle : public QProxyStyle {
    Q_OBJECT
public:
    using QProxyStyle::QProxyStyle;

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget = nullptr) const override;
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget = nullptr) const override;
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                            QPainter* painter, const QWidget* widget = nullptr) const override;
};

} // namespace tunevane
