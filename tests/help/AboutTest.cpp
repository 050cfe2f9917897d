// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "AppFixture.h"
#include "AppTestMain.h"

#include "app/App.h"
#include "app/Twips.h"
#include "app/Ui.h"
#include "help/ProjectInfo.h"
#include "help/frmAbout.h"
#include "selection/FrmMidi.h"

#include <QDesktopServices>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <memory>

using namespace tunevane;
using testsupport::settle;
using testsupport::topLevel;

// Stands in for the desktop's browser.
class Browser : public QObject {
    Q_OBJECT
public:
    QList<QUrl> opened;
public Q_SLOTS:
    void open(const QUrl& url) { opened << url; }
};

class AboutTest : public QObject, protected testsupport::AppFixture {
    Q_OBJECT

    QWidget* openAbout() {
        FrmMidi& music = m_app->forms().get<FrmMidi>();
        music.showModeless();
        QTest::mouseClick(music.findChild<QPushButton*>(QStringLiteral("CmdAbout")),
                          Qt::LeftButton);
        settle();
        QWidget* about = topLevel(QStringLiteral("frmAbout"));
        if (about) {
            QApplication::setActiveWindow(about);
            about->setFocus();
        }
        return about;
    }

private Q_SLOTS:
    void initTestCase() { testsupport::prepare(); }

    void init() { makeApp(); }

    void cleanup() { dropApp(); }

    void showsNameVersionAndSite() {
        QWidget* about = openAbout();
        QVERIFY(about && about->isVisible());
        QCOMPARE(about->windowTitle(), QStringLiteral("About Tunevane"));
        QCOMPARE(about->findChild<QLabel*>(QStringLiteral("lblVersion"))->text(),
                 QStringLiteral("Version 1.3.0"));
        QCOMPARE(about->size(), twipsSize(5775, 3885));
        QCOMPARE(about->windowModality(), Qt::ApplicationModal);
        QCOMPARE(about->windowType(), Qt::Tool);
        auto* site = about->findChild<QLabel*>(QStringLiteral("Lblsite"));
        QCOMPARE(site->text(), QStringLiteral(TUNEVANE_HOMEPAGE));
        QCOMPARE(site->palette().color(QPalette::WindowText), replacementBlue);
        QCOMPARE(site->cursor().shape(), Qt::PointingHandCursor);
        QCOMPARE(about->findChild<QLabel*>(QStringLiteral("LblEMail"))->text(),
                 QStringLiteral("EMail: " TUNEVANE_EMAIL));
        QVERIFY(about->findChild<QPushButton*>(QStringLiteral("cmdOK"))->isDefault());
    }

    void okEnterEscAndCloseBoxClose_data() {
        QTest::addColumn<int>("key"); // 0: the OK button; -1: the title bar's close box
        QTest::newRow("OK") << 0;
        QTest::newRow("close box") << -1;
        QTest::newRow("Return") << int(Qt::Key_Return);
        QTest::newRow("Enter") << int(Qt::Key_Enter);
        QTest::newRow("Esc") << int(Qt::Key_Escape);
    }

    void okEnterEscAndCloseBoxClose() {
        QFETCH(int, key);
        QWidget* about = openAbout();
        QVERIFY(about);
        auto* ok = about->findChild<QPushButton*>(QStringLiteral("cmdOK"));
        if (key == 0)
            QTest::mouseClick(ok, Qt::LeftButton);
        else if (key < 0)
            about->close();
        else
            QTest::keyClick(about, Qt::Key(key));
        settle();
        QVERIFY(!m_app->forms().isLoaded<frmAbout>());
        QVERIFY(!topLevel(QStringLiteral("frmAbout")));
        QVERIFY(m_app->forms().get<FrmMidi>().isVisible());
        QVERIFY(!m_app->hasEnded());
    }

    void siteLink_data() {
        QTest::addColumn<bool>("browser");
        QTest::newRow("no way to open addresses") << false;
        QTest::newRow("a browser") << true;
    }

    void siteLink() {
        QFETCH(bool, browser);
        Browser stand;
        const QString scheme = QUrl(QStringLiteral(TUNEVANE_HOMEPAGE)).scheme();
        if (browser)
            QDesktopServices::setUrlHandler(scheme, &stand, "open");
        QWidget* about = openAbout();
        QVERIFY(about);
        auto* site = about->findChild<QLabel*>(QStringLiteral("Lblsite"));
        for (int attempt = 0; attempt < 2; ++attempt) {
            QTest::mouseClick(site, Qt::LeftButton);
            settle();
            if (browser) {
                QVERIFY(!testsupport::messageBox());
                QCOMPARE(stand.opened.size(), attempt + 1);
                QCOMPARE(stand.opened.constLast(), QUrl(QStringLiteral(TUNEVANE_HOMEPAGE)));
            } else {
                QMessageBox* box = testsupport::messageBox();
                QVERIFY(box);
                QCOMPARE(box->icon(), QMessageBox::NoIcon);
                QCOMPARE(box->buttons().size(), 1);
                QCOMPARE(testsupport::dismissMessageBox(),
                         QStringLiteral("Tune-Vane|Error executing command.\n"
                                        "Please sign on and retry."));
            }
            QVERIFY(about->isVisible());
            QVERIFY(m_app->forms().isLoaded<frmAbout>());
        }
        if (browser)
            QDesktopServices::unsetUrlHandler(scheme);
    }
};

TUNEVANE_TEST_MAIN(AboutTest)
#include "AboutTest.moc"
