// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "AppTestMain.h"
#include "TestSupport.h"

#include "app/App.h"
#include "app/Twips.h"
#include "app/Ui.h"
#include "switching/FrmCopyWavs.h"
#include "switching/FrmFavorites.h"
#include "switching/FrmReplaceConfirm.h"

#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace tunevane;
using testsupport::settle;
using testsupport::topLevel;

class ConfirmDialogsTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_folder;

    template <class Dialog> Dialog& open(App& app) {
        Dialog& dialog = app.forms().get<Dialog>();
        dialog.showModeless();
        settle();
        return dialog;
    }

    template <class Dialog>
    void check(const QString& name, const QString& title, QSize size, const QString& button) {
        App app(m_folder.path());
        FrmCopyWavs& opener = app.forms().get<FrmCopyWavs>();
        opener.showModeless();
        Dialog& dialog = open<Dialog>(app);
        QCOMPARE(dialog.objectName(), name);
        QCOMPARE(dialog.windowTitle(), title);
        QCOMPARE(dialog.size(), size);
        QVERIFY(dialog.windowFlags().testFlag(Qt::WindowCloseButtonHint));
        QVERIFY(!dialog.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
        // Shown again while open: the same one, never a second.
        QCOMPARE(&open<Dialog>(app), &dialog);

        QTest::mouseClick(dialog.template findChild<QPushButton*>(button), Qt::LeftButton);
        settle();
        QVERIFY(!app.forms().isLoaded<Dialog>());
        QVERIFY(!topLevel(name));
        QVERIFY(opener.isVisible());

        // The frame's close box does what OK does.
        open<Dialog>(app).close();
        settle();
        QVERIFY(!app.forms().isLoaded<Dialog>());
        QVERIFY(opener.isVisible());
        QVERIFY(!app.hasEnded());
    }

private Q_SLOTS:
    void initTestCase() { testsupport::prepare(); }

    void replaceConfirm() {
        check<FrmReplaceConfirm>(QStringLiteral("FrmReplaceConfirm"),
                                 QStringLiteral("Replacement Confirmation"), twipsSize(3870, 2205),
                                 QStringLiteral("CmdReplaceConfirm"));
    }

    void favourites() {
        check<FrmFavorites>(QStringLiteral("FrmFavorites"), QStringLiteral("Add to Favorites"),
                            twipsSize(2490, 945), QStringLiteral("CmdFavorites"));
    }
};

TUNEVANE_TEST_MAIN(ConfirmDialogsTest)
#include "ConfirmDialogsTest.moc"
