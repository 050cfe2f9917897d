// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/Application.h"

#include "app/FocusStyle.h"
#include "app/Ui.h"

#include <QStyleFactory>
#include <QToolTip>

namespace tunevane {

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {
    keepLook();
}

bool Application::event(QEvent* event) {
    // A theme may set its own font or palette once the events flow, and a style sheet right
    // after: qt6ct does so from a call it queued while the application was made, and again
    // whenever its settings are edited. The look is put back once it is done, before any
    // window is drawn. (Turning desktop settings off instead would leave qt6ct's other hints,
    // the double-click interval and the dialog buttons' order among them, undefined.)
    const bool changed = event->type() == QEvent::ApplicationFontChange ||
                         event->type() == QEvent::ApplicationPaletteChange;
    if (changed && !m_keepQueued) {
        m_keepQueued = true;
        QMetaObject::invokeMethod(
            this,
            [this] {
                m_keepQueued = false;
                keepLook();
            },
            Qt::QueuedConnection);
    }
    return QApplication::event(event);
}

void Application::keepLook() {
    // Qt's -stylesheet option and a theme's style sheet alike.
    if (!styleSheet().isEmpty())
        setStyleSheet(QString());
    // Fusion, whatever style the theme names: a theme's style brings its own colours and
    // margins, and only Fusion is sure to be there and to draw with the palette it is given.
    if (!qobject_cast<FocusStyle*>(style()))
        setStyle(new FocusStyle(QStyleFactory::create(QStringLiteral("Fusion"))));
    // Set for the whole application, they also drop the per-class palettes and fonts that Qt
    // took from the theme (menus, labels, message boxes, tool tips).
    const QPalette palette = classicPalette();
    if (QApplication::palette() != palette)
        setPalette(palette);
    if (QToolTip::palette() != palette)
        QToolTip::setPalette(palette);
    const QFont font = classicFont(QStringLiteral("MS Sans Serif"), 8.25);
    if (QApplication::font() != font)
        setFont(font);
}

} // namespace tunevane
