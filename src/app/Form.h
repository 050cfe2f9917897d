// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

/// @file
/// @brief The base of every window: its look, its controls, how it shows, its keys and Tab order.

#include "app/Controls.h"

#include <QPointer>
#include <QString>
#include <QWidget>
#include <functional>
#include <span>
#include <vector>

class QPushButton;

namespace tunevane {

class App;

// How a window kind looks in the window system; sizes are client sizes in twips.
struct FormLook {
    QString title;
    int widthTwips = 0;
    int heightTwips = 0;
    const char* icon = nullptr; // resourceIcon() name
    bool centred = true;
    bool closeBox = true;
    bool minimisable = false;
    bool inTaskBar = true;
    bool titleBar = true;
};

// One window kind. Instances are made and destroyed only by the Forms registry.
class Form : public QWidget {
    Q_OBJECT
public:
    Form(App& app, const QString& name, const FormLook& look);

    App& app() const { return m_app; }

    // The table the window's controls were built from, for checks against it.
    std::span<const Control> controlTable() const { return m_table; }

    // Steps run by the registry right after construction and right before destruction.
    virtual void loadSteps() {}
    virtual void unloadSteps() {}

    void showModeless();
    // Modeless, but kept above `owner` by the window system: a notice about what `owner` did.
    void showModelessOver(QWidget& owner);
    // Application-modal over the window `opener` lies in, without a nested event loop: `then`
    // runs once the window has been hidden or unloaded, after the handler that did so has
    // returned.
    void showModal(QWidget& opener, std::function<void()> then = {});

    // Hide, then unload: what a window's own OK or close does.
    void hideAndUnload();

    // The notices shown over this window that are still on screen; when this window goes,
    // they move over the window shown in its place, so none is left behind another window.
    std::vector<QPointer<Form>> noticesOver() const;

protected:
    // Makes the window's controls from its table; call once, from the constructor.
    Built build(std::span<const Control> table);

    // The title-bar close; by default it unloads the window like its own OK would.
    virtual void titleBarClose();

    // Return and Esc press `ok`, as they do in any desktop dialog with one button.
    void answerKeysWith(QPushButton* ok);
    // What Return (or Enter) and Esc do when the focused control leaves them to the window;
    // an empty one does nothing.
    void answerKeys(std::function<void()> onReturn, std::function<void()> onEscape);
    // The control the window opens on, one that a stray Return or Space cannot harm with;
    // none: the window itself, where every control would change, close or end something.
    void opensOn(QWidget* control);
    // Tab reaches these first, in this order, each with its parts; then the rest of the
    // window row by row. Controls made after the table are ordered too: the chain is laid
    // when the window is first shown.
    void leadTabChainWith(std::vector<QWidget*> controls);
    void keyPressEvent(QKeyEvent* event) override;

    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    // The window system keeps this window above the window `opener` lies in.
    void keepAbove(QWidget& opener);
    void placeOver(const QWidget& owner);

    App& m_app;
    bool m_centred;
    bool m_placed = false;
    std::function<void()> m_afterModal;
    std::function<void()> m_onReturn, m_onEscape;
    std::span<const Control> m_table;
    std::vector<QPointer<QWidget>> m_tabLead;
    int m_shownAt = 0;
};

} // namespace tunevane
