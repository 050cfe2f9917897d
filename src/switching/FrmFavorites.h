// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "app/Form.h"

namespace tunevane {

// Added to favourites; OK (or the frame's close box) hides and unloads it.
class FrmFavorites : public Form {
    Q_OBJECT
public:
    explicit FrmFavorites(App& app);
};

} // namespace tunevane
