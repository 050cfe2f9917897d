// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Where the tutorial pages' pointer lines run. Every input is fixed when the program is built
// (the page tables and the rendered pictures' control rectangles), so the picture tool routes
// the lines once then and the pages only draw them. Pure geometry: Qt Core only.

#include <QLine>
#include <QRect>
#include <vector>

namespace tunevane::routes {

// What a pointer line keeps clear of, in page pixels.
struct Surroundings {
    std::vector<QRect> obstacles = {}; // the picture's other controls, crossed where need be
    std::vector<QRect> walls = {};     // the page's other boxes and buttons, never crossed
    std::vector<QRect> borders = {};   // edges that a line may cross but never run along
    std::vector<QLine> lines = {};     // lines already drawn, never crossed
    QRect caption = {};                // the box's caption, where no line starts
};

struct Route {
    QLine line;
    int hindrances = 0; // what the line could not keep clear of; 0 on a clear route
};

// From an edge of `box` into the centre third of `target`: the shortest route clear of
// `around`, or where none is, the one that hides the least.
Route pointerLine(const QRect& box, const QRect& target, const Surroundings& around = {});

// One page as its lines see it, in page pixels.
struct Page {
    std::vector<QRect> controls = {}; // the page's own boxes, buttons and texts that are shown
    std::vector<QRect> pictures = {}; // the pictures' frames
    std::vector<QRect> shown = {};    // every control that the pictures show
    struct Pointer {
        size_t box = 0; // its box among `controls`
        QRect caption = {};
        QRect target = {}; // one of `shown`
    };
    std::vector<Pointer> pointers = {};
};

// A route for each pointer, in order, each clear of the others where the page allows.
std::vector<Route> routePage(const Page& page);

} // namespace tunevane::routes
