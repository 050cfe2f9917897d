// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "app/Form.h"

namespace tunevane {

// "Successful backup of all selected files."; OK or the close box hides and unloads it.
class FrmBackupConfirm : public Form {
    Q_OBJECT
public:
    explicit FrmBackupConfirm(App& app);
};

} // namespace tunevane
