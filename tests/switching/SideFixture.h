// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "AppFixture.h"
#include "TestFiles.h"

#include "app/App.h"
#include "app/Ui.h"
#include "selection/SelectionWindow.h"
#include "start/Start.h"
#include "switching/SwitchWindow.h"

#include <QAbstractItemView>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTest>

// Drives one side (music or effects) of the real program through its windows, on a game
// folder and a replacement folder made for the test.
struct Side {
    bool effects;
    QString selection, switchWindow;
    QString chooseGame, chooseReplacement, remove, next; // "%1" is the slot number
    QString gameLabel, replacementLabel;                 // in the selection window
    QString switchGameName, switchGamePath, switchReplacementName, switchReplacementPath;
    QString switchButton, clear, close;
    QString extension;

    static Side music() {
        return Side(false, QStringLiteral("FrmMidi"), QStringLiteral("FrmCopyMidi"),
                    QStringLiteral("CmdChooseGame%1mid"), QStringLiteral("CmdReplaceMidi%1"),
                    QStringLiteral("CmdRemoveMidi%1"), QStringLiteral("CmdTunevane"),
                    QStringLiteral("LblGameMidi%1"), QStringLiteral("LblReplaceMidi%1"),
                    QStringLiteral("LblFileName%1b"), QStringLiteral("LblMidiGamePath%1"),
                    QStringLiteral("LblMidiFileName%1"), QStringLiteral("LblMidiReplacePath%1"),
                    QStringLiteral("CmdSwitch3"), QStringLiteral("CmdMidiRemove%1"),
                    QStringLiteral("CmdExitFrmCopyMidi"), QStringLiteral(".MID"));
    }

    static Side soundEffects() {
        return Side(true, QStringLiteral("FrmWavSelect"), QStringLiteral("FrmCopyWavs"),
                    QStringLiteral("CmdChooseGame%1"), QStringLiteral("CmdReplaceWav%1"),
                    QStringLiteral("CmdRemove%1"), QStringLiteral("CmdSwitch"),
                    QStringLiteral("LblGameWav%1"), QStringLiteral("LblReplaceWav%1"),
                    QStringLiteral("LblFileName%1"), QStringLiteral("LblGamePath%1"),
                    QStringLiteral("LblRepFile%1"), QStringLiteral("LblReplacePath%1"),
                    QStringLiteral("CmdSwitch2"), QStringLiteral("CmdClear%1"),
                    QStringLiteral("CmdExitFrmCopyWavs"), QStringLiteral(".WAV"));
    }
};

class SideFixture : protected testsupport::AppFixture {
public:
    using AppFixture::click;

    explicit SideFixture(Side side) : m_side(std::move(side)) {
        tunevane::BrowsingPane::setListingBound(std::chrono::minutes(1));
        makeApp(QStringLiteral("/program"));
        for (const char* folder : {"game", "replacements", "other"})
            QDir(root()).mkdir(QString::fromUtf8(folder));
        QDir::setCurrent(gameFolder());
        tunevane::start(*m_app);
        testsupport::settle();
        click(u"frmSplash", u"CmdEntermidi");
        if (m_side.effects)
            click(u"FrmMidi", u"CmdGotoWavSelect1");
    }

    ~SideFixture() {
        while (testsupport::messageBox())
            testsupport::dismissMessageBox();
        dropApp();
    }

    const Side& side() const { return m_side; }
    tunevane::App& app() { return *m_app; }
    QString root() const { return m_folder->path(); }
    QString programFolder() const { return root() + u"/program"; }
    QString gameFolder() const { return root() + u"/game"; }
    QString replacementFolder() const { return root() + u"/replacements"; }
    QString otherFolder() const { return root() + u"/other"; }

    // Writes a file whose bytes name it, so every copy can be traced.
    static QString write(const QString& folder, QStringView name, const QByteArray& bytes = {}) {
        const QString path = folder + u'/' + name;
        if (!testsupport::writeFile(
                path, bytes.isEmpty() ? QByteArray("content of " + path.toUtf8()) : bytes))
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }

    tunevane::SelectionWindow& selection() {
        return *qobject_cast<tunevane::SelectionWindow*>(testsupport::topLevel(m_side.selection));
    }

    tunevane::SwitchWindow* switchWindow() {
        return qobject_cast<tunevane::SwitchWindow*>(testsupport::topLevel(m_side.switchWindow));
    }

    void clickSelection(QStringView pattern, int slot = 0) {
        click(m_side.selection, slot ? pattern.toString().arg(slot) : pattern.toString());
    }

    void clickSwitch(QStringView pattern, int slot = 0) {
        click(m_side.switchWindow, slot ? pattern.toString().arg(slot) : pattern.toString());
    }

    // Opens `folder` in the pane and clicks the entry `name` (none when empty).
    static void pick(tunevane::BrowsingPane& pane, const QString& folder, QStringView name) {
        QVERIFY(pane.setFolder(folder));
        QAbstractItemView* list = pane.fileList();
        if (name.isEmpty())
            return;
        const QModelIndexList found = list->model()->match(
            list->model()->index(0, 0), Qt::DisplayRole, name.toString(), 1, Qt::MatchExactly);
        QVERIFY2(!found.isEmpty(), qPrintable(name.toString()));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualRect(found.first()).center());
        QCOMPARE(pane.selectedFileName(), name.toString());
    }

    void chooseGame(int slot, QStringView name, const QString& folder = {}) {
        pick(selection().gamePane(), folder.isEmpty() ? gameFolder() : folder, name);
        clickSelection(m_side.chooseGame, slot);
    }

    void chooseReplacement(int slot, QStringView name, const QString& folder = {}) {
        pick(selection().replacementPane(), folder.isEmpty() ? replacementFolder() : folder, name);
        clickSelection(m_side.chooseReplacement, slot);
    }

    void next() { clickSelection(m_side.next); }

    QString selectionLabel(const QString& pattern, int slot) {
        return selection().findChild<QLabel*>(pattern.arg(slot))->text();
    }

    QString switchLabel(const QString& pattern, int slot) {
        return switchWindow()->findChild<QLabel*>(pattern.arg(slot))->text();
    }

private:
    Side m_side;
};
