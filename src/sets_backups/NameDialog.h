// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "app/Form.h"
#include "app/Outcome.h"
#include "sets_backups/Staging.h"

#include <QPointer>
#include <functional>

class QComboBox;
class QPushButton;

namespace tunevane {

// Whether a typed name can become a folder directly under the program folder, apart from
// being taken already: never a staging folder, a path, or text the file system would
// change or refuse.
bool isUsableSetName(const QString& name);

// The dialog that names a filled staging folder. It is hidden, not unloaded, between uses.
class NameDialog : public Form {
    Q_OBJECT
public:
    // Shows the dialog modal over `over`; `whenDone` runs once the action has ended: after
    // the final word was dismissed, or when the dialog was left without a name. A staging
    // folder that could not be made ready gets its message instead of the dialog.
    void ask(QWidget& over, Staged staged, std::function<void()> whenDone = {});

protected:
    struct Naming {
        QString staging;
        Operation operation;
    };
    NameDialog(App& app, const QString& name, const FormLook& look, Naming naming);

    void setUp(QComboBox* box, QPushButton* ok);
    // The success confirmation, shown modal over the window the dialog was asked from.
    virtual Form& confirmation() = 0;

    // No close box, but a window-system close or Esc still leaves it: the action ends and
    // the staging folder keeps its copies for the next time.
    void titleBarClose() override;

private:
    void ok();
    void abandon();

    const Naming m_naming;
    QComboBox* m_box = nullptr;
    QPointer<QWidget> m_over;
    Staged m_staged;
    std::function<void()> m_whenDone;
};

} // namespace tunevane
