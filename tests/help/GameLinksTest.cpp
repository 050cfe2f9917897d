// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "AppFixture.h"
#include "AppTestMain.h"

#include "app/App.h"
#include "app/Twips.h"
#include "app/Ui.h"
#include "help/FrmGameLinks.h"
#include "help/FrmWavGame.h"
#include "selection/FrmMidi.h"
#include "selection/FrmWavSelect.h"

#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <memory>

using namespace tunevane;
using testsupport::settle;
using testsupport::topLevel;

class GameLinksTest : public QObject, protected testsupport::AppFixture {
    Q_OBJECT

    // Opens the games window through its opener's "Games" button.
    Form* openGames(const QString& games) {
        const bool music = games == QLatin1String("FrmGameLinks");
        Form& opener = music ? static_cast<Form&>(m_app->forms().get<FrmMidi>())
                             : m_app->forms().get<FrmWavSelect>();
        opener.showModeless();
        QTest::mouseClick(opener.findChild<QPushButton*>(music ? QStringLiteral("CmdMidiGames")
                                                               : QStringLiteral("CmdWavGames")),
                          Qt::LeftButton);
        settle();
        return qobject_cast<Form*>(topLevel(games));
    }

    QLineEdit* addressBox(Form* window) {
        return window->findChild<QLineEdit*>(QString::fromUtf8(window->controlTable().back().name));
    }

    void click(Form* window, const char* button) {
        QTest::mouseClick(window->findChild<QPushButton*>(QString::fromUtf8(button)),
                          Qt::LeftButton);
    }

    static QString address(const char* window, const char* button) {
        return gameLinks(QString::fromUtf8(window)).value(QString::fromUtf8(button)).address;
    }

private Q_SLOTS:
    void initTestCase() { testsupport::prepare(); }

    void init() { makeApp(); }

    void cleanup() { dropApp(); }

    void opensEmptyModalAndClosesBack_data() {
        QTest::addColumn<QString>("games");
        QTest::addColumn<QString>("addressBox");
        QTest::addColumn<int>("heightTwips");
        QTest::newRow("music") << QStringLiteral("FrmGameLinks") << QStringLiteral("TxtUrl")
                               << 3660;
        QTest::newRow("effects") << QStringLiteral("FrmWavGame") << QStringLiteral("TxtUrl2")
                                 << 3690;
    }

    void opensEmptyModalAndClosesBack() {
        QFETCH(QString, games);
        QFETCH(QString, addressBox);
        QFETCH(int, heightTwips);
        Form* window = openGames(games);
        QVERIFY(window && window->isVisible());
        QCOMPARE(window->windowTitle(), QStringLiteral("URL Retrieval"));
        QCOMPARE(window->size(), twipsSize(4245, heightTwips));
        QCOMPARE(window->windowModality(), Qt::ApplicationModal);
        QCOMPARE(window->windowType(), Qt::Tool);
        QVERIFY(window->windowFlags().testFlag(Qt::WindowCloseButtonHint));
        auto* box = window->findChild<QLineEdit*>(addressBox);
        QVERIFY(box && !box->isReadOnly());
        QCOMPARE(box->text(), QString());

        const auto buttons = window->findChildren<QPushButton*>();
        QCOMPARE(buttons.size(), 9);
        for (const QPushButton* button : buttons) {
            QVERIFY(button->text().isEmpty());
            QVERIFY2(!button->icon().isNull(), qPrintable(button->objectName()));
            QCOMPARE(button->iconSize(), QSize(32, 32));
            QCOMPARE(button->cursor().shape(), Qt::PointingHandCursor);
        }

        // Whatever it held, closing forgets it: the next opening starts empty.
        QTest::keyClicks(box, QStringLiteral("my own text"));
        window->close();
        settle();
        QVERIFY(!topLevel(games));
        QVERIFY(topLevel(games == QLatin1String("FrmGameLinks") ? QStringLiteral("FrmMidi")
                                                                : QStringLiteral("FrmWavSelect"))
                    ->isVisible());
        window = openGames(games);
        QCOMPARE(window->findChild<QLineEdit*>(addressBox)->text(), QString());
    }

    void clickSetsWholeText_data() {
        QTest::addColumn<QString>("games");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QByteArrayList>("clicks");
        QTest::newRow("Bedtris then Gemstorm") << QStringLiteral("FrmGameLinks") << QString()
                                               << QByteArrayList{"CmdBedtris", "CmdGemstorm"};
        QTest::newRow("Noisy Poker then Wild 7 Slots")
            << QStringLiteral("FrmWavGame") << QString() << QByteArrayList{"CmdNoisy", "CmdWild7"};
        QTest::newRow("typed text, then Gemstorm")
            << QStringLiteral("FrmGameLinks") << QStringLiteral("www.")
            << QByteArrayList{"CmdGemstorm"};
        QTest::newRow("address edited, then Mr. Matt")
            << QStringLiteral("FrmWavGame") << QStringLiteral("/extra")
            << QByteArrayList{"CmdBalloons", "CmdMrMatt"};
    }

    void clickSetsWholeText() {
        QFETCH(QString, games);
        QFETCH(QString, typed);
        QFETCH(QByteArrayList, clicks);
        Form* window = openGames(games);
        QLineEdit* box = addressBox(window);
        QString previous;
        for (const QByteArray& button : clicks) {
            if (!typed.isEmpty()) {
                box->setFocus();
                QTest::keyClicks(box, typed);
                QVERIFY(box->text().endsWith(typed));
            }
            // The program moves neither focus nor selection itself.
            box->setFocus();
            const bool hadFocus = box->hasFocus();
            window->findChild<QPushButton*>(QString::fromUtf8(button))->click();
            QCOMPARE(box->hasFocus(), hadFocus);
            const QString expected = address(qPrintable(games), button.constData());
            QVERIFY(!expected.isEmpty());
            QCOMPARE(box->text(), expected);
            if (button == "CmdWild7")
                QCOMPARE(box->text(), previous);
            previous = box->text();
        }
        click(window, clicks.constLast().constData());
        QCOMPARE(box->text(), previous);
    }

    // The games data: every game of both windows has a web address and an icon of its own;
    // only Noisy Poker and Wild 7 Slots share an address.
    void everyGameHasAddressAndIcon() {
        QSet<QString> icons, addresses;
        int games = 0;
        for (const QString& name : {QStringLiteral("FrmGameLinks"), QStringLiteral("FrmWavGame")}) {
            Form* window = openGames(name);
            QVERIFY(window);
            const QHash<QString, GameLink>& links = gameLinks(name);
            int buttons = 0;
            for (const Control& row : window->controlTable()) {
                if (row.kind != Kind::Button)
                    continue;
                ++buttons;
                const GameLink link = links.value(QString::fromUtf8(row.name));
                const QUrl url(link.address, QUrl::StrictMode);
                QVERIFY2(url.isValid() && url.scheme() == QLatin1String("https") &&
                             !url.host().isEmpty(),
                         row.name);
                QVERIFY2(
                    QFile::exists(QStringLiteral(":/icons/") + link.icon + QStringLiteral(".svg")),
                    row.name);
                icons.insert(link.icon);
                addresses.insert(link.address);
            }
            QCOMPARE(buttons, 9);
            QCOMPARE(links.size(), buttons);
            games += buttons;
            window->close();
            settle();
        }
        QCOMPARE(icons.size(), games);
        QCOMPARE(addresses.size(), games - 1);
        QCOMPARE(address("FrmWavGame", "CmdNoisy"), address("FrmWavGame", "CmdWild7"));
    }
};

TUNEVANE_TEST_MAIN(GameLinksTest)
#include "GameLinksTest.moc"
