// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

namespace tunevane {

class Form;

// The tutorial page that explains `opener`, modal over it; closing the page returns there.
void showTutorial(Form& opener);

} // namespace tunevane
