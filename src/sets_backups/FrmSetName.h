// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "app/SlotPair.h"
#include "sets_backups/NameDialog.h"

#include <span>

namespace tunevane {

// Names a new effects set.
class FrmSetName : public NameDialog {
    Q_OBJECT
public:
    explicit FrmSetName(App& app);

    // "Save Set": copies each slot's replacement into "TempDir" under its game file's name,
    // then asks for the set's name over `over`.
    static void saveSet(Form& over, std::span<const SlotPair> slots);

protected:
    Form& confirmation() override;
};

} // namespace tunevane
