// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "help/TutorialPage.h"

#include <QString>
#include <map>
#include <vector>

// Every tutorial page's pointer lines, routed over the pictures the pages find now: per page
// name, in the order of the page's table. On failure, `why` says which line has no end. The
// pages are loaded by a program whose folder is made under `scratch`.
struct RoutedPages {
    std::map<QString, std::vector<tunevane::DrawnLine>> lines;
    QString why;
};
RoutedPages routeTutorialLines(const QString& scratch);
