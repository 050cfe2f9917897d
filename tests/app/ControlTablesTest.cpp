// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "AppTestMain.h"
#include "TestSupport.h"

#include "app/App.h"
#include "app/Controls.h"
#include "app/Ui.h"
#include "start/Start.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

using namespace tunevane;

// Every window kind made from a table: each row of its table stands under the window as
// the row says.
class ControlTablesTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_folder;
    std::unique_ptr<App> m_app;
    std::vector<std::unique_ptr<Form>> m_windows;

    // Every kind the program knows, made without their load steps, so that they still show
    // the table's design-time captions.
    void makeEveryWindow(App& app) {
        for (const Forms::Kind& kind : windowKinds())
            m_windows.emplace_back(kind.make(app));
    }

    static QStringList tableWindows() {
        QStringList names;
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (const auto* form = qobject_cast<Form*>(widget);
                form && !form->controlTable().empty())
                names << form->objectName();
        }
        names.sort();
        return names;
    }

private Q_SLOTS:
    void initTestCase() {
        testsupport::prepare();
        QDir::setCurrent(m_folder.path());
        m_app = std::make_unique<App>(m_folder.path());
        makeEveryWindow(*m_app);
    }

    void cleanupTestCase() {
        m_windows.clear();
        m_app.reset();
        testsupport::settle();
    }

    void everyControlStandsAsItsRowSays_data() {
        QTest::addColumn<QString>("window");
        QTest::addColumn<int>("index");
        for (const QString& window : tableWindows()) {
            const auto* form = qobject_cast<Form*>(testsupport::topLevel(window));
            const std::vector<Placed> placed = expand(form->controlTable());
            for (size_t index = 0; index < placed.size(); ++index) {
                QTest::addRow("%s %s", qPrintable(window), qPrintable(placed[index].name))
                    << window << static_cast<int>(index);
            }
        }
    }

    void everyControlStandsAsItsRowSays() {
        QFETCH(QString, window);
        QFETCH(int, index);
        auto* form = qobject_cast<Form*>(testsupport::topLevel(window));
        QVERIFY(form);
        const Placed control = expand(form->controlTable())[static_cast<size_t>(index)];
        const Control& row = *control.row;

        const QList<QWidget*> found = form->findChildren<QWidget*>(control.name);
        QCOMPARE(found.size(), 1);
        QWidget* widget = found.first();
        QWidget* parent = control.in.isEmpty() ? form : form->findChild<QWidget*>(control.in);
        QVERIFY(parent);
        QCOMPARE(widget->parentWidget(), parent);
        QCOMPARE(widget->toolTip(), control.tip);
        QCOMPARE(widget->isHidden(), !row.visible);
        // Lists fill and players show their state; what they read is no caption.
        if (row.kind != Kind::External && row.kind != Kind::Custom)
            QCOMPARE(captionOf(widget), control.caption);
        if (row.colour != paletteColour)
            QCOMPARE(widget->palette().color(widget->foregroundRole()), QColor(row.colour));
        if (row.font.family) {
            const QFont expected = classicFont(QString::fromUtf8(row.font.family), row.font.points,
                                               row.font.bold, row.font.italic);
            QCOMPARE(widget->font().family(), expected.family());
            QCOMPARE(widget->font().pointSizeF(), expected.pointSizeF());
            QCOMPARE(widget->font().bold(), row.font.bold);
            QCOMPARE(widget->font().italic(), row.font.italic);
        } else if (!control.in.isEmpty()) {
            // Inside a frame, a control without a font of its own has the window's, not the
            // frame's caption font.
            QCOMPARE(widget->font().family(), form->font().family());
            QCOMPARE(widget->font().bold(), form->font().bold());
        }
    }

    // Worked out by hand from the tables' twips (15 to a pixel, rounded), not by the code
    // that places them: in the window, in a frame, a family member on its own row, and the
    // window itself.
    void controlsStandToThePixel_data() {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("control");
        QTest::addColumn<QRect>("pixels");
        QTest::newRow("a label") << QStringLiteral("FrmCopyWavs")
                                 << QStringLiteral("LblSelectionRed") << QRect(10, 4, 413, 14);
        QTest::newRow("third row's frame")
            << QStringLiteral("FrmCopyWavs") << QStringLiteral("FrmReplaceGame3")
            << QRect(5, 106, 172, 41);
        QTest::newRow("in that frame") << QStringLiteral("FrmCopyWavs")
                                       << QStringLiteral("LblFileName3") << QRect(8, 16, 153, 17);
        QTest::newRow("in a panel") << QStringLiteral("FrmReplaceConfirm")
                                    << QStringLiteral("CmdReplaceConfirm") << QRect(96, 88, 65, 25);
        QTest::newRow("a combo box") << QStringLiteral("FrmSetName") << QStringLiteral("CboSetName")
                                     << QRect(8, 79, 265, 21);
        QTest::newRow("full width")
            << QStringLiteral("FrmSetName") << QStringLiteral("CmdOk3") << QRect(0, 104, 281, 25);
        QTest::newRow("a tutorial page") << QStringLiteral("FrmWavHelp2")
                                         << QStringLiteral("FrmWavHelp2") << QRect(0, 0, 541, 365);
        QTest::newRow("its picture")
            << QStringLiteral("FrmMidiHelp") << QStringLiteral("ImgMidi") << QRect(8, 40, 419, 302);
        QTest::newRow("a captioned box") << QStringLiteral("FrmWavHelp2")
                                         << QStringLiteral("FramStep4") << QRect(352, 77, 185, 72);
        QTest::newRow("its instruction")
            << QStringLiteral("FrmWavHelp2") << QStringLiteral("LblStep4") << QRect(4, 18, 177, 52);
        QTest::newRow("a page's OK") << QStringLiteral("FrmWavHelp2")
                                     << QStringLiteral("CmdWavHelp2OK") << QRect(352, 328, 185, 33);
    }

    void controlsStandToThePixel() {
        QFETCH(QString, window);
        QFETCH(QString, control);
        QFETCH(QRect, pixels);
        QWidget* form = testsupport::topLevel(window);
        QVERIFY(form);
        // A window's own row is its client area.
        if (control == window) {
            QCOMPARE(form->rect(), pixels);
            return;
        }
        QWidget* widget = form->findChild<QWidget*>(control);
        QVERIFY(widget);
        QCOMPARE(widget->geometry(), pixels);
    }

    // The keyboard reaches every control a user can work, transport buttons included.
    void everyWorkableControlIsOnTheTabChain_data() {
        QTest::addColumn<QString>("window");
        for (const QString& window : tableWindows())
            QTest::newRow(qPrintable(window)) << window;
    }

    void everyWorkableControlIsOnTheTabChain() {
        QFETCH(QString, window);
        QWidget* form = testsupport::topLevel(window);
        QSet<QWidget*> chain;
        for (QWidget* widget = form->nextInFocusChain(); widget != form;
             widget = widget->nextInFocusChain()) {
            if (widget->focusPolicy() & Qt::TabFocus)
                chain.insert(widget);
        }
        for (QWidget* child : form->findChildren<QWidget*>()) {
            const bool workable = qobject_cast<QAbstractButton*>(child) ||
                                  qobject_cast<QAbstractItemView*>(child) ||
                                  qobject_cast<QComboBox*>(child) ||
                                  (qobject_cast<QLineEdit*>(child) &&
                                   !qobject_cast<QComboBox*>(child->parentWidget()));
            if (workable && child->isVisibleTo(form))
                QVERIFY2(chain.contains(child), qPrintable(child->objectName()));
        }
    }

    // Windows are found by name, so two kinds must never share one. A kind dropped from the
    // program's list changes the count; one never added to it stops a debug build when loaded.
    void everyWindowIsMadeFromATable() {
        QCOMPARE(m_windows.size(), size_t{23});
        QSet<QString> names;
        for (const std::unique_ptr<Form>& form : m_windows) {
            QVERIFY2(!form->controlTable().empty(), qPrintable(form->objectName()));
            QVERIFY2(!names.contains(form->objectName()), qPrintable(form->objectName()));
            names.insert(form->objectName());
        }
        QVERIFY(names.contains(QStringLiteral("frmSplash")) &&
                names.contains(QStringLiteral("frmAbout")));
    }
};

TUNEVANE_TEST_MAIN(ControlTablesTest)
#include "ControlTablesTest.moc"
