// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "app/Form.h"

namespace tunevane {

// Replacement done; OK (or the frame's close box) hides and unloads it.
class FrmReplaceConfirm : public Form {
    Q_OBJECT
public:
    explicit FrmReplaceConfirm(App& app);
};

} // namespace tunevane
