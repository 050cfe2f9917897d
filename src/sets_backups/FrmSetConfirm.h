// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "app/Form.h"

namespace tunevane {

// "Your set has been saved."; OK or the close box hides and unloads it.
class FrmSetConfirm : public Form {
    Q_OBJECT
public:
    explicit FrmSetConfirm(App& app);
};

} // namespace tunevane
