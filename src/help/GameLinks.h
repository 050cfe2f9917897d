// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "app/Form.h"

#include <QHash>
#include <QString>
#include <array>
#include <span>

class QLineEdit;

namespace tunevane {

// One game of a download-sites window: the box it sits in, the box's caption, its button and
// the button's tool tip. Its icon and address are program data (gameLink()).
struct Game {
    const char* box = nullptr;
    const char* caption = nullptr;
    const char* button = nullptr;
    const char* tip = nullptr;
};

inline constexpr int gamesPerWindow = 9;

// The grid both windows share: boxes in three columns and three rows, row by row, and the
// icon-only button inside each box.
namespace gameGrid {
inline constexpr Box firstBox = {0, 120, 1335, 1000};
inline constexpr int columns = 3;
inline constexpr int columnStep = 1440;
inline constexpr int rowStep = 1080;
inline constexpr Box button = {240, 240, 855, 660};
inline constexpr Box addressBox = {0, 3360, 4215, 285};
} // namespace gameGrid

// A window's control table: each game's box and the button in it, then the address box.
constexpr std::array<Control, 2 * gamesPerWindow + 1>
gameLinksTable(const std::array<Game, gamesPerWindow>& games, const char* addressBox) {
    using namespace gameGrid;
    std::array<Control, 2 * gamesPerWindow + 1> table{};
    for (int k = 0; k < gamesPerWindow; ++k) {
        const Game& game = games[static_cast<std::size_t>(k)];
        const Box box = {firstBox.left + columnStep * (k % columns),
                         firstBox.top + rowStep * (k / columns), firstBox.width, firstBox.height};
        table[static_cast<std::size_t>(2 * k)] = {
            .kind = Kind::Frame, .name = game.box, .box = box, .caption = game.caption};
        table[static_cast<std::size_t>(2 * k + 1)] = {.kind = Kind::Button,
                                                      .name = game.button,
                                                      .box = button,
                                                      .tip = game.tip,
                                                      .in = game.box};
    }
    table.back() = {.kind = Kind::TextBox, .name = addressBox, .box = gameGrid::addressBox};
    return table;
}

// A game's icon (a resourceIcon() name) and download address.
struct GameLink {
    QString icon;
    QString address;
};

// The links of one window's games by button name, read once from the program's games data
// (resources/games.json, where a packager puts the real addresses).
const QHash<QString, GameLink>& gameLinks(const QString& window);

// A download-sites window: a click on a game puts its address into the address box.
class GameLinksWindow : public Form {
    Q_OBJECT
public:
    // `table` is a gameLinksTable(): its last row is the address box.
    GameLinksWindow(App& app, const QString& name, int heightTwips, std::span<const Control> table);

private:
    void gameClick(const QString& address);

    QLineEdit* m_address = nullptr;
};

} // namespace tunevane
