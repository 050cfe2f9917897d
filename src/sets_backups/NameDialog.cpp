// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "sets_backups/NameDialog.h"

#include "app/App.h"
#include "app/Ui.h"
#include "files/Path.h"

#include <QComboBox>
#include <QPushButton>

namespace tunevane {

namespace {

const QString messageTitle = QStringLiteral("Set Name Select");
// The longest name a Linux file system takes, in bytes.
constexpr qsizetype longestName = 255;

} // namespace

bool isUsableSetName(const QString& name) {
    if (name.isEmpty() || name == u"." || name == u".." || name.contains(u'/') ||
        name == setStaging || name == backupStaging)
        return false;
    for (qsizetype i = 0; i < name.size(); ++i) {
        const QChar c = name[i];
        if (c.category() == QChar::Other_Control)
            return false;
        // Typed text has no stray bytes: a lone surrogate would be written as one.
        if (c.isHighSurrogate() && (i + 1 == name.size() || !name[i + 1].isLowSurrogate()))
            return false;
        if (c.isLowSurrogate() && (i == 0 || !name[i - 1].isHighSurrogate()))
            return false;
    }
    return files::encodePath(name).size() <= longestName;
}

NameDialog::NameDialog(App& app, const QString& name, const FormLook& look, Naming naming)
    : Form(app, name, look), m_naming(std::move(naming)) {}

void NameDialog::setUp(QComboBox* box, QPushButton* ok) {
    m_box = box;
    connect(ok, &QPushButton::clicked, this, &NameDialog::ok);
    answerKeys([this] { this->ok(); }, [this] { abandon(); });
}

void NameDialog::ask(QWidget& over, Staged staged, std::function<void()> whenDone) {
    // Naming the staging folder now would name what the abandoned save left in it.
    if (!staged.ready) {
        showNothingDone(&over, m_naming.operation, staged.run.failure, std::move(whenDone));
        return;
    }
    m_over = &over;
    m_staged = std::move(staged);
    m_whenDone = std::move(whenDone);
    showModal(over);
}

void NameDialog::ok() {
    const QString name = m_box->currentText();
    if (name.isEmpty()) {
        showMessage(this, messageTitle, QStringLiteral("Please Enter a Set Name"));
        return;
    }
    if (!isUsableSetName(name) || !app().programFolder().renameSubfolder(m_naming.staging, name)) {
        showMessage(this, messageTitle,
                    QStringLiteral("Please select a set name not already in use"));
        return;
    }
    m_box->clear();
    m_box->clearEditText();
    hide();
    std::function<void()> done = std::exchange(m_whenDone, {});
    const Staged staged = std::exchange(m_staged, {});
    showOutcome(
        m_over, m_naming.operation, staged.choices, staged.run,
        [this, done] { confirmation().showModal(*m_over, done); }, done);
}

void NameDialog::abandon() {
    std::function<void()> done = std::exchange(m_whenDone, {});
    m_staged = {};
    hideAndUnload();
    if (done)
        done();
}

void NameDialog::titleBarClose() {
    abandon();
}

} // namespace tunevane
