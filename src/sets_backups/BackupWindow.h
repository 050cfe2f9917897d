// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "app/Form.h"
#include "app/SlotPair.h"

#include <span>
#include <vector>

class QLabel;

namespace tunevane {

// A backup window: it keeps its own copy of the game files' paths and names from the moment
// it opens, and backs exactly those up.
class BackupWindow : public Form {
    Q_OBJECT
public:
    // Takes the game side of each slot and shows the window modal over `opener`.
    void review(QWidget& opener, std::span<const SlotPair> slots);

protected:
    struct Wiring {
        std::span<const char*const> pathLabels, nameLabels; // slot by slot
        const char* backup;
        const char* cancel;
    };
    BackupWindow(App& app, const QString& name, const FormLook& look);

    void setUp(const Built& built, const Wiring& wiring);

private:
    void backup();

    std::vector<QLabel*> m_pathLabels, m_nameLabels;
    std::vector<SlotPair> m_slots;
};

} // namespace tunevane
