// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/Form.h"

#include "app/App.h"
#include "app/TabOrder.h"
#include "app/Twips.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QWindow>

namespace tunevane {

namespace {

Qt::WindowFlags flagsFor(const FormLook& look) {
    if (!look.titleBar)
        return Qt::SplashScreen | Qt::FramelessWindowHint;
    Qt::WindowFlags flags = look.inTaskBar ? Qt::Window : Qt::Tool;
    flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    if (look.closeBox)
        flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (look.minimisable)
        flags |= Qt::WindowMinimizeButtonHint;
    return flags;
}

// Forms shown so far, to tell whether one was shown meanwhile.
int windowsShown = 0;

} // namespace

Form::Form(App& app, const QString& name, const FormLook& look)
    : QWidget(nullptr, flagsFor(look)), m_app(app), m_centred(look.centred) {
    setObjectName(name);
    setWindowTitle(look.title);
    if (look.icon)
        setWindowIcon(resourceIcon(QString::fromUtf8(look.icon)));
    setFixedSize(twipsSize(look.widthTwips, look.heightTwips));
}

Built Form::build(std::span<const Control> table) {
    m_table = table;
    return buildControls(this, table);
}

void Form::showModeless() {
    setWindowModality(Qt::NonModal);
    show();
    raise();
    activateWindow();
}

void Form::showModelessOver(QWidget& owner) {
    keepAbove(owner);
    showModeless();
}

void Form::showModal(QWidget& opener, std::function<void()> then) {
    m_afterModal = std::move(then);
    if (!isVisible()) {
        setWindowModality(Qt::ApplicationModal);
        keepAbove(opener);
        if (!m_centred)
            placeOver(*opener.window());
    }
    show();
    raise();
    activateWindow();
}

void Form::keepAbove(QWidget& opener) {
    QWidget* owner = opener.window();
    // X11 gives the transient hint to dialogs only; a dialog keeps its place in the task bar.
    if (windowType() == Qt::Window)
        setWindowFlags((windowFlags() & ~Qt::WindowType_Mask) | Qt::Dialog);
    // The transient hint needs both windows to exist in the window system.
    winId();
    owner->winId();
    windowHandle()->setTransientParent(owner->windowHandle());
}

void Form::hideAndUnload() {
    hide();
    m_app.forms().unload(*this);
}

std::vector<QPointer<Form>> Form::noticesOver() const {
    std::vector<QPointer<Form>> notices;
    const QWindow* mine = windowHandle();
    if (!mine)
        return notices;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        auto* form = qobject_cast<Form*>(widget);
        if (form && form != this && form->isVisible() && form->windowHandle() &&
            form->windowHandle()->transientParent() == mine)
            notices.emplace_back(form);
    }
    return notices;
}

void Form::titleBarClose() {
    hideAndUnload();
}

void Form::placeOver(const QWidget& owner) {
    // Window managers place only some kinds of dialog over their window: this one is placed
    // there itself, inside the screen.
    QRect frame = frameGeometry();
    frame.moveCenter(owner.frameGeometry().center());
    if (const QScreen* screen = owner.screen()) {
        const QRect room = screen->availableGeometry();
        frame.moveLeft(std::clamp(frame.left(), room.left(), room.right() - frame.width()));
        frame.moveTop(std::clamp(frame.top(), room.top(), room.bottom() - frame.height()));
    }
    move(frame.topLeft());
}

void Form::answerKeysWith(QPushButton* ok) {
    const auto press = [ok] { ok->click(); };
    answerKeys(press, press);
}

void Form::answerKeys(std::function<void()> onReturn, std::function<void()> onEscape) {
    m_onReturn = std::move(onReturn);
    m_onEscape = std::move(onEscape);
}

void Form::opensOn(QWidget* control) {
    // Before the first show, which would otherwise start on the first control in Tab order.
    (control ? control : static_cast<QWidget*>(this))->setFocus(Qt::OtherFocusReason);
}

void Form::leadTabChainWith(std::vector<QWidget*> controls) {
    m_tabLead.assign(controls.begin(), controls.end());
}

void Form::keyPressEvent(QKeyEvent* event) {
    // Here, once the focused control has passed the key on: a name box's line edit would
    // report Return twice.
    std::function<void()> answer;
    if ((event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
            answer = m_onReturn;
        else if (event->key() == Qt::Key_Escape)
            answer = m_onEscape;
    }
    if (answer) {
        answer();
        return;
    }
    QWidget::keyPressEvent(event);
}

void Form::closeEvent(QCloseEvent* event) {
    // The registry decides what a close means; Qt must not hide or delete on its own.
    event->ignore();
    if (!m_app.hasEnded())
        titleBarClose();
}

void Form::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    m_shownAt = ++windowsShown;
    if (!m_placed)
        orderTabChain(this, m_tabLead);
    if (m_centred && !m_placed) {
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            QRect frame = frameGeometry();
            frame.moveCenter(screen->availableGeometry().center());
            move(frame.topLeft());
        }
    }
    m_placed = true;
}

void Form::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    if (event->spontaneous())
        return;
    if (m_afterModal) {
        setWindowModality(Qt::NonModal);
        // The opener goes on after the handler that closed this window has returned.
        QTimer::singleShot(0, &m_app, [then = std::exchange(m_afterModal, {}), &app = m_app] {
            if (!app.hasEnded())
                then();
        });
    }
    // Left to itself, a desktop without a window manager gives the keys to no window at all
    // when the active one goes: the window shown last of those still up takes them back,
    // unless one shown since is about to.
    QTimer::singleShot(0, &m_app, [shown = windowsShown] {
        if (QApplication::activeWindow() || shown != windowsShown)
            return;
        Form* last = nullptr;
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            auto* form = qobject_cast<Form*>(widget);
            if (form && form->isVisible() && (!last || form->m_shownAt > last->m_shownAt))
                last = form;
        }
        if (last)
            last->activateWindow();
    });
}

} // namespace tunevane
