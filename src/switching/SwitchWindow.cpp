// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "switching/SwitchWindow.h"

#include "app/App.h"
#include "app/Log.h"
#include "app/Outcome.h"
#include "files/FileOps.h"
#include "files/Path.h"
#include "switching/FrmReplaceConfirm.h"

#include <QLabel>
#include <QPushButton>

namespace tunevane {

namespace {

const Operation switching{QStringLiteral("Replacement Confirmation"), QStringLiteral("Replacement"),
                          QStringLiteral("replaced"), Copying::ReplacementsOverGameFiles};

} // namespace

SwitchWindow::SwitchWindow(App& app, const QString& name, const FormLook& look)
    : Form(app, name, look) {}

void SwitchWindow::bindSlots(const Built& built, const SwitchSlotNames& names) {
    for (int n = 1; n <= names.slotCount; ++n) {
        const auto label = [&](const char* pattern) {
            return built.get<QLabel>(QString::fromUtf8(pattern).arg(n));
        };
        m_labels.push_back({label(names.gameName), label(names.gamePath),
                            label(names.replacementName), label(names.replacementPath)});
        connect(built.get<QPushButton>(QString::fromUtf8(names.remove).arg(n)),
                &QPushButton::clicked, this, [this, n] { clearSlot(n); });
    }
}

void SwitchWindow::showReturningTo(std::function<QWidget*()> back) {
    m_back = std::move(back);
    showModeless();
}

void SwitchWindow::backToSelection() {
    const std::function<QWidget*()> back = std::exchange(m_back, {});
    const std::vector<QPointer<Form>> notices = noticesOver();
    hideAndUnload();
    QWidget* shown = back ? back() : nullptr;
    // A confirmation is closed only by its own OK; it must not end up behind the window.
    for (const QPointer<Form>& notice : notices) {
        if (notice && shown)
            notice->showModelessOver(*shown);
    }
}

void SwitchWindow::setGame(int slot, const QString& name, const QString& path) {
    SlotPair& pair = m_slots[static_cast<size_t>(slot - 1)];
    pair.gameName = name;
    pair.gamePath = path;
    showSlot(slot);
}

void SwitchWindow::setReplacement(int slot, const QString& name, const QString& path) {
    SlotPair& pair = m_slots[static_cast<size_t>(slot - 1)];
    pair.replacementName = name;
    pair.replacementPath = path;
    showSlot(slot);
}

void SwitchWindow::clearSlot(int slot) {
    m_slots[static_cast<size_t>(slot - 1)] = {};
    showSlot(slot);
}

void SwitchWindow::showSlot(int slot) {
    const SlotPair& pair = m_slots[static_cast<size_t>(slot - 1)];
    const SlotLabels& labels = m_labels[static_cast<size_t>(slot - 1)];
    labels.gameName->setText(files::readableName(pair.gameName));
    labels.gamePath->setText(pair.gamePath);
    labels.replacementName->setText(files::readableName(pair.replacementName));
    labels.replacementPath->setText(pair.replacementPath);
}

std::vector<SlotPair> SwitchWindow::sideSlots() const {
    return {m_slots.begin(), m_slots.begin() + slotCount()};
}

files::RunResult SwitchWindow::replaceGameFiles() const {
    const std::vector<SlotPair> slots = sideSlots();
    QList<files::CopyPair> pairs;
    for (const SlotPair& pair : slots)
        pairs.append({pair.replacementPath, pair.gamePath});
    const files::RunResult run = files::copyRun(pairs);
    // Where the window says nothing (a first copy that fails), the log still says why.
    if (run.copied < pairs.size()) {
        const SlotPair& stopped = slots[static_cast<size_t>(run.copied)];
        if (!stopped.replacementPath.isEmpty() || !stopped.gamePath.isEmpty())
            qCWarning(lcUi, "switch stopped at selection %lld, copy of %s over %s: %s",
                      static_cast<long long>(run.copied + 1),
                      qUtf8Printable(files::readableName(stopped.replacementPath)),
                      qUtf8Printable(files::readableName(stopped.gamePath)),
                      qUtf8Printable(stopReason(switching, run, stopped.replacementName)));
    }
    return run;
}

void SwitchWindow::confirmSwitch(const files::RunResult& run) {
    std::vector<SlotChoice> choices;
    for (const SlotPair& pair : sideSlots()) {
        choices.push_back({!pair.gamePath.isEmpty() || !pair.replacementPath.isEmpty(),
                           pair.gameName.isEmpty() ? pair.replacementName : pair.gameName,
                           pair.replacementName});
    }
    showConfirmation<FrmReplaceConfirm>(switching, choices, run);
}

} // namespace tunevane
