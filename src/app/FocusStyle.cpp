// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/FocusStyle.h"

#include <QAbstractItemView>
#include <QPainter>
#include <QStyleOption>

namespace tunevane {

namespace {

// Alternate pixels, black or white against the colour under them, as the classic desktop
// marks the focus.
void drawDottedFrame(QPainter* painter, const QRect& rect, const QColor& under) {
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, false);
    QPen pen(under.lightness() >= 128 ? Qt::black : Qt::white, 0);
    pen.setDashPattern({1, 1});
    painter->setPen(pen);
    painter->setBrush(Qt::NoBrush);
    painter->drawRect(rect.adjusted(0, 0, -1, -1));
    painter->restore();
}

} // namespace

void FocusStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option,
                               QPainter* painter, const QWidget* widget) const {
    if (element == PE_FrameFocusRect) {
        const auto* focus = qstyleoption_cast<const QStyleOptionFocusRect*>(option);
        const bool known = focus && focus->backgroundColor.isValid();
        drawDottedFrame(painter, option->rect,
                        known ? focus->backgroundColor : option->palette.color(QPalette::Button));
        return;
    }
    QProxyStyle::drawPrimitive(element, option, painter, widget);
    // A focused list's frame is marked too: an empty list has no entry to carry the mark.
    if (element == PE_Frame && (option->state & State_HasFocus) &&
        qobject_cast<const QAbstractItemView*>(widget))
        drawDottedFrame(painter, option->rect, option->palette.color(QPalette::Base));
}

void FocusStyle::drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                             const QWidget* widget) const {
    QProxyStyle::drawControl(element, option, painter, widget);
    // Fusion leaves the frame out of a push button; it only tints the border.
    if (element == CE_PushButton && (option->state & State_HasFocus))
        drawDottedFrame(painter, subElementRect(SE_PushButtonFocusRect, option, widget),
                        option->palette.color(QPalette::Button));
}

void FocusStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                                    QPainter* painter, const QWidget* widget) const {
    QProxyStyle::drawComplexControl(control, option, painter, widget);
    const auto* combo = qstyleoption_cast<const QStyleOptionComboBox*>(option);
    if (control == CC_ComboBox && combo && !combo->editable && (option->state & State_HasFocus))
        drawDottedFrame(painter, subControlRect(control, option, SC_ComboBoxEditField, widget),
                        option->palette.color(QPalette::Button));
}

} // namespace tunevane
