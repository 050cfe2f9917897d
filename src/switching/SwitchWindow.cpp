#include "switching/SwitchWindow.h"

#include "app/App.h"
#include "app/Log.h"
#include "app/Outcome.h"
#include "files/FileOps.h"
#include "switching/FrmReplaceConfirm.h"

#include <QLabel>
#include <QPushButton>

namespace tunevane {

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

void SwitchWindow::showReturningTo(std::function<void()> back) {
    m_back = std::move(back);
    showModeless();
}

void SwitchWindow::backToSelection() {
    const std::function<void()> back = std::exchange(m_back, {});
    hideAndUnload();
    if (back)
        back();
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
    labels.gameName->setText(pair.gameName);
    labels.gamePath->setText(pair.gamePath);
    labels.replacementName->setText(pair.replacementName);
    labels.replacementPath->setText(pair.replacementPath);
}

std::vector<SlotPair> SwitchWindow::sideSlots() const {
    return {m_slots.begin(), m_slots.begin() + slotCount()};
}

qsizetype SwitchWindow::replaceGameFiles() const {
    QList<files::CopyPair> pairs;
    for (const SlotPair& pair : sideSlots())
        pairs.append({pair.replacementPath, pair.gamePath});
    const qsizetype copied = files::copyRun(pairs);
    // The run stops without a word to the user, so leave a trace of where it stopped.
    if (copied < pairs.size()) {
        const files::CopyPair& stopped = pairs[copied];
        if (!stopped.source.isEmpty() || !stopped.destination.isEmpty())
            qCWarning(lcUi, "switch stopped at selection %lld: copy of %s over %s failed",
                      static_cast<long long>(copied + 1), qUtf8Printable(stopped.source),
                      qUtf8Printable(stopped.destination));
    }
    return copied;
}

void SwitchWindow::confirmSwitch(qsizetype copied) {
    std::vector<SlotChoice> choices;
    for (const SlotPair& pair : sideSlots()) {
        choices.push_back({!pair.gamePath.isEmpty() || !pair.replacementPath.isEmpty(),
                           pair.gameName.isEmpty() ? pair.replacementName : pair.gameName});
    }
    showOutcome(this,
                {QStringLiteral("Replacement Confirmation"), QStringLiteral("Replacement"),
                 QStringLiteral("replaced")},
                choices, copied, [this] { app().forms().get<FrmReplaceConfirm>().showModeless(); });
}

} // namespace tunevane
