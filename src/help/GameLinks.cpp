// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "help/GameLinks.h"

#include "app/Log.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QPushButton>

namespace tunevane {

namespace {

using LinksByWindow = QHash<QString, QHash<QString, GameLink>>;

LinksByWindow readGamesData() {
    LinksByWindow links;
    QFile file(QStringLiteral(":/games.json"));
    if (!file.open(QIODevice::ReadOnly)) {
        qCWarning(lcUi) << "games data missing:" << file.fileName();
        return links;
    }
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &error);
    if (error.error != QJsonParseError::NoError)
        qCWarning(lcUi) << "games data unreadable:" << error.errorString();
    const QJsonObject windows = document.object();
    for (auto window = windows.begin(); window != windows.end(); ++window) {
        const QJsonObject games = window->toObject();
        for (auto game = games.begin(); game != games.end(); ++game) {
            const QJsonObject entry = game->toObject();
            links[window.key()].insert(game.key(),
                                       {entry.value(QLatin1String("icon")).toString(),
                                        entry.value(QLatin1String("address")).toString()});
        }
    }
    return links;
}

} // namespace

const QHash<QString, GameLink>& gameLinks(const QString& window) {
    static const LinksByWindow links = readGamesData();
    static const QHash<QString, GameLink> none;
    const auto found = links.constFind(window);
    return found == links.constEnd() ? none : *found;
}

GameLinksWindow::GameLinksWindow(App& app, const QString& name, int heightTwips,
                                 std::span<const Control> table)
    : Form(app, name,
           {.title = QStringLiteral("URL Retrieval"),
            .widthTwips = 4245,
            .heightTwips = heightTwips,
            .icon = "grid",
            .inTaskBar = false}) {
    const Built built = build(table);
    m_address = built.get<QLineEdit>(table.back().name);
    const QHash<QString, GameLink>& links = gameLinks(name);
    for (const Control& row : table) {
        if (row.kind != Kind::Button)
            continue;
        auto* button = built.get<QPushButton>(row.name);
        const GameLink link = links.value(button->objectName());
        if (link.address.isEmpty())
            qCWarning(lcUi) << "no address in the games data for" << name << row.name;
        button->setIcon(resourceIcon(link.icon));
        button->setIconSize({32, 32});
        button->setCursor(Qt::PointingHandCursor);
        connect(button, &QPushButton::clicked, this,
                [this, address = link.address] { gameClick(address); });
    }
    // No button of its own to close it: Esc stands for the close box.
    answerKeys({}, [this] { close(); });
}

void GameLinksWindow::gameClick(const QString& address) {
    m_address->setText(address);
}

} // namespace tunevane
