// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "sets_backups/BackupWindow.h"

#include "app/App.h"
#include "files/Path.h"
#include "sets_backups/FrmSetName2.h"
#include "sets_backups/Staging.h"

#include <QLabel>
#include <QPointer>
#include <QPushButton>

namespace tunevane {

BackupWindow::BackupWindow(App& app, const QString& name, const FormLook& look)
    : Form(app, name, look) {}

void BackupWindow::setUp(const Built& built, const Wiring& wiring) {
    for (const char* name : wiring.pathLabels)
        m_pathLabels.push_back(built.get<QLabel>(name));
    for (const char* name : wiring.nameLabels)
        m_nameLabels.push_back(built.get<QLabel>(name));
    m_slots.resize(m_pathLabels.size());
    connect(built.get<QPushButton>(wiring.backup), &QPushButton::clicked, this,
            &BackupWindow::backup);
    auto* cancel = built.get<QPushButton>(wiring.cancel);
    connect(cancel, &QPushButton::clicked, this, &Form::hideAndUnload);
    answerKeys({}, [cancel] { cancel->click(); });
    // "Backup" copies and "Cancel" closes: no control is safe to start on.
    opensOn(nullptr);
}

void BackupWindow::review(QWidget& opener, std::span<const SlotPair> slots) {
    for (size_t n = 0; n < m_slots.size(); ++n) {
        const SlotPair pair = n < slots.size() ? slots[n] : SlotPair{};
        m_slots[n] = {pair.gameName, pair.gamePath, {}, {}};
        m_pathLabels[n]->setText(files::readableName(pair.gamePath));
        m_nameLabels[n]->setText(files::readableName(pair.gameName));
    }
    showModal(opener);
}

void BackupWindow::backup() {
    std::vector<StagedCopy> copies;
    for (const SlotPair& slot : m_slots) {
        const QString& told = slot.gameName.isEmpty() ? slot.gamePath : slot.gameName;
        copies.push_back({slot.gamePath,
                          slot.gameName,
                          {!slot.gamePath.isEmpty(), files::readableName(told), slot.gameName}});
    }
    // Two game files of one name from two folders: the second must not replace the first,
    // which may be the only copy of that original once the game is switched.
    Staged staged = stage(app().programFolder(), backupStaging, copies, files::Existing::Keep);
    app().forms().get<FrmSetName2>().ask(*this, std::move(staged), [self = QPointer(this)] {
        if (self)
            self->hideAndUnload();
    });
}

} // namespace tunevane
