// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "app/Forms.h"

#include <span>

namespace tunevane {

class App;

// Every window kind of the program. This layer is the one that sees them all, so the list is
// kept here, by hand; a debug build stops at the first load of a kind left out.
std::span<const Forms::Kind> windowKinds();

// Hands `app` the program's window kinds and shows the start-up window.
void start(App& app);

} // namespace tunevane
