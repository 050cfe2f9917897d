// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "sets_backups/NameDialog.h"

namespace tunevane {

// Names a backup set; both backup windows share it and "BackDir".
class FrmSetName2 : public NameDialog {
    Q_OBJECT
public:
    explicit FrmSetName2(App& app);

protected:
    Form& confirmation() override;
};

} // namespace tunevane
