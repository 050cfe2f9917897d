// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "AppFixture.h"
#include "AppTestMain.h"
#include "PointerRoutes.h"

#include "app/App.h"
#include "app/Controls.h"
#include "app/Ui.h"
#include "help/TutorialPage.h"
#include "selection/FrmMidi.h"
#include "selection/FrmWavSelect.h"
#include "switching/FrmCopyMidi.h"
#include "switching/FrmCopyWavs.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

using namespace tunevane;

Q_DECLARE_METATYPE(routes::Surroundings)
Q_DECLARE_METATYPE(routes::Page)
using testsupport::settle;
using testsupport::topLevel;
using testsupport::visibleWindows;

namespace {

const PageLayout& layoutNamed(const QString& name) {
    for (const PageLayout* layout : tutorialPages()) {
        if (name == QString::fromUtf8(layout->name))
            return *layout;
    }
    qFatal("no page %s", qPrintable(name));
}

QString okButtonOf(const PageLayout& layout) {
    for (const Control& row : layout.controls) {
        if (row.kind == Kind::Button && QByteArrayView(row.caption) == "OK")
            return QString::fromUtf8(row.name);
    }
    return {};
}

// The segment's pixels after its first one, one per step along its longer axis.
std::vector<QPoint> pixelsAfterStart(const QLine& line) {
    const int steps = std::max(std::abs(line.dx()), std::abs(line.dy()));
    std::vector<QPoint> pixels;
    for (int step = 2; step <= steps; ++step)
        pixels.push_back(line.p1() + (line.p2() - line.p1()) * step / steps);
    return pixels;
}

// Whether the segment leaves `box` at its start and never comes back into it.
bool staysOutside(const QLine& line, const QRect& box) {
    return std::ranges::none_of(pixelsAfterStart(line),
                                [&](const QPoint& p) { return box.contains(p); });
}

// A button under the whole box: these lines pass beneath it.
const QStringList underButton = {QStringLiteral("FrmMidiHelp2 Step 1"),
                                 QStringLiteral("FrmWavHelp2 Step 1")};

QStringList sorted(QStringList names) {
    names.sort();
    return names;
}

// Whether the line's colour shows at or right beside `point`.
bool drawnAt(const QImage& shot, const QPoint& point, const QColor& colour) {
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            if (shot.pixelColor(point + QPoint(dx, dy)) == colour)
                return true;
        }
    }
    return false;
}

} // namespace

class TutorialPagesTest : public QObject, protected testsupport::AppFixture {
    Q_OBJECT

    QWidget m_opener;

    TutorialPage* open(const QString& name) {
        TutorialPage* page = loadTutorialPage(*m_app, name);
        if (page)
            page->showModal(m_opener);
        settle();
        return page;
    }

    Form& showWindow(const QString& name) {
        Forms& forms = m_app->forms();
        Form* form = nullptr;
        if (name == u"FrmMidi")
            form = &forms.get<FrmMidi>();
        else if (name == u"FrmWavSelect")
            form = &forms.get<FrmWavSelect>();
        else if (name == u"FrmCopyMidi")
            form = &forms.get<FrmCopyMidi>();
        else
            form = &forms.get<FrmCopyWavs>();
        form->showModeless();
        settle();
        return *form;
    }

    static void click(const QString& window, const QString& button) {
        QVERIFY2(testsupport::click(window, button), qPrintable(window + u' ' + button));
    }

    static QString activeModal() {
        const QWidget* modal = QApplication::activeModalWidget();
        return modal ? modal->objectName() : QString();
    }

private Q_SLOTS:
    void initTestCase() { testsupport::prepare(); }

    void init() { makeApp(); }

    void cleanup() {
        dropApp();
        QCOMPARE(visibleWindows(), QStringList());
    }

    void pageShowsItsTable_data() {
        QTest::addColumn<QString>("page");
        for (const PageLayout* layout : tutorialPages())
            QTest::newRow(layout->name) << QString::fromUtf8(layout->name);
    }

    // Title, every control of the table under its frame with its text, the pictures at their
    // stated sizes, and every line from its box into its control.
    void pageShowsItsTable() {
        QFETCH(QString, page);
        const PageLayout& layout = layoutNamed(page);
        TutorialPage* window = open(page);
        QVERIFY(window);
        QCOMPARE(window->windowTitle(), QString::fromUtf8(layout.title));
        QVERIFY(!window->windowIcon().isNull());
        QCOMPARE(window->windowModality(), Qt::ApplicationModal);

        for (const Placed& placed : expand(layout.controls)) {
            QWidget* control = window->findChild<QWidget*>(placed.name);
            QVERIFY2(control, qPrintable(placed.name));
            QCOMPARE(control->parentWidget()->objectName(), placed.in.isEmpty() ? page : placed.in);
            QCOMPARE(captionOf(control), placed.caption);
            if (auto* frame = qobject_cast<QGroupBox*>(control)) {
                QCOMPARE(frame->font().family(),
                         classicFont(QStringLiteral("Times New Roman"), 9.75).family());
                QCOMPARE(frame->font().pointSizeF(), 9.75);
                QVERIFY(frame->font().bold());
            } else if (auto* button = qobject_cast<QPushButton*>(control)) {
                QVERIFY(!button->isDefault() && !button->autoDefault());
            } else if (auto* label = qobject_cast<QLabel*>(control);
                       label && !placed.caption.isEmpty()) {
                QCOMPARE(label->font(), pageFont());
                // The whole instruction fits its box.
                const int needed = label->wordWrap() ? label->heightForWidth(label->width())
                                                     : label->sizeHint().height();
                QVERIFY2(needed <= label->height(), qPrintable(placed.name));
                // Clear of the box's caption and borders.
                if (auto* box = qobject_cast<QGroupBox*>(label->parentWidget()))
                    QVERIFY2(box->contentsRect().contains(label->geometry()),
                             qPrintable(placed.name));
                if (!label->wordWrap())
                    QVERIFY(label->sizeHint().width() <= label->width());
            }
        }

        for (const PagePicture& picture : layout.pictures) {
            const QSize stated(picture.width, picture.height);
            auto* label = window->findChild<QLabel*>(QString::fromUtf8(picture.control));
            QCOMPARE(label->pixmap().deviceIndependentSize().toSize(), stated);
            QVERIFY(label->contentsRect().size().expandedTo(stated) ==
                    label->contentsRect().size());
            const auto controls = readPictureControls(pictureFile(picture.file, "json"));
            QVERIFY(controls);
            QCOMPARE(controls->size, stated);
        }

        QCOMPARE(window->lines().size(), layout.lines.size());
        const QImage shot = window->grab().toImage();
        for (size_t i = 0; i < layout.lines.size(); ++i) {
            const DrawnLine& drawn = window->lines()[i];
            QCOMPARE(drawn.box, QString::fromUtf8(layout.lines[i].box));
            QCOMPARE(drawn.target, QString::fromUtf8(layout.lines[i].target));
            const PagePicture& picture = layout.pictures.front();
            const QPoint origin = window->pictureOrigin(picture);
            const QRect target = readPictureControls(pictureFile(picture.file, "json"))
                                     ->rects.value(drawn.target)
                                     .translated(origin);
            const QRect centreThird = target.adjusted(target.width() / 3, target.height() / 3,
                                                      -target.width() / 3, -target.height() / 3);
            QVERIFY2(centreThird.contains(drawn.line.p2()), qPrintable(drawn.target));
            QVERIFY(QRect(origin, QSize(picture.width, picture.height)).contains(drawn.line.p2()));

            QGroupBox* box = nullptr;
            for (QGroupBox* frame : window->findChildren<QGroupBox*>())
                box = frame->title() == drawn.box ? frame : box;
            QVERIFY(box);
            const QRect edge = box->geometry();
            QVERIFY(edge.contains(drawn.line.p1()) &&
                    !edge.adjusted(1, 1, -1, -1).contains(drawn.line.p1()));
            QVERIFY2(staysOutside(drawn.line, edge), qPrintable(drawn.box));
            const QString line = page + u' ' + drawn.box;
            for (const QWidget* other :
                 window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
                if (other != box && other->width() < window->width() &&
                    other->objectName() != QLatin1String(picture.control) &&
                    !underButton.contains(line))
                    QVERIFY2(staysOutside(drawn.line, other->geometry()), qPrintable(line));
            }

            // Drawn, where no button lies over it.
            const QPoint middle = (drawn.line.p1() + drawn.line.p2()) / 2;
            bool covered = false;
            for (const QPushButton* button : window->findChildren<QPushButton*>())
                covered = covered || button->geometry().contains(middle);
            QVERIFY(covered ||
                    drawnAt(shot, middle, window->palette().color(QPalette::WindowText)));
        }
    }

    // Run by TutorialPagesSharp at twice the pixels.
    void sharpOnDoubleScreens() {
        if (qApp->devicePixelRatio() != 2)
            QSKIP("for a screen of twice the pixels");
        const PagePicture& picture = layoutNamed(QStringLiteral("FrmWavHelp2")).pictures.front();
        const QPixmap shown = open(QStringLiteral("FrmWavHelp2"))
                                  ->findChild<QLabel*>(QString::fromUtf8(picture.control))
                                  ->pixmap();
        QCOMPARE(shown.devicePixelRatio(), 2.0);
        QCOMPARE(shown.deviceIndependentSize().toSize(), QSize(picture.width, picture.height));
    }

    void openAndCloseLeaveNothing_data() {
        QTest::addColumn<QString>("page");
        QTest::addColumn<bool>("closeBox");
        for (const PageLayout* layout : tutorialPages()) {
            QTest::addRow("%s OK", layout->name) << QString::fromUtf8(layout->name) << false;
            QTest::addRow("%s close box", layout->name) << QString::fromUtf8(layout->name) << true;
        }
    }

    // Created when shown, gone when closed, and the same every time.
    void openAndCloseLeaveNothing() {
        QFETCH(QString, page);
        QFETCH(bool, closeBox);
        showWindow(QStringLiteral("FrmMidi"));
        QImage renders[2];
        for (QImage& render : renders) {
            TutorialPage* window = open(page);
            QVERIFY(window);
            QCOMPARE(visibleWindows(), sorted({QStringLiteral("FrmMidi"), page}));
            render = window->grab().toImage();
            if (closeBox)
                QVERIFY(!window->close());
            else
                click(page, okButtonOf(layoutNamed(page)));
            settle();
            QVERIFY(!topLevel(page));
            QCOMPARE(visibleWindows(), QStringList{QStringLiteral("FrmMidi")});
        }
        QVERIFY(renders[0] == renders[1]);
        QVERIFY(!m_app->hasEnded());
    }

    void helpOpensItsPage_data() {
        QTest::addColumn<QString>("opener");
        QTest::addColumn<QString>("help");
        QTest::addColumn<QString>("page");
        QTest::addColumn<bool>("mainWindow");
        QTest::newRow("music selection") << "FrmMidi"
                                         << "CmdHelpMidi"
                                         << "FrmMidiHelp" << true;
        QTest::newRow("effects selection") << "FrmWavSelect"
                                           << "CmdWavHelp1"
                                           << "FrmWavHelp1" << true;
        QTest::newRow("music switch") << "FrmCopyMidi"
                                      << "CmdMidiHelp2"
                                      << "FrmMidiHelp2" << false;
        QTest::newRow("effects switch") << "FrmCopyWavs"
                                        << "CmdWavHelp2"
                                        << "FrmWavHelp2" << false;
    }

    // Modal over the window whose "Help" opened it; closing it returns there, and a main
    // window's close box still ends the program afterwards.
    void helpOpensItsPage() {
        QFETCH(QString, opener);
        QFETCH(QString, help);
        QFETCH(QString, page);
        QFETCH(bool, mainWindow);
        Form& form = showWindow(opener);
        click(opener, help);
        QCOMPARE(visibleWindows(), sorted({opener, page}));
        QCOMPARE(activeModal(), page);

        click(page, okButtonOf(layoutNamed(page)));
        QVERIFY(!topLevel(page));
        QCOMPARE(activeModal(), QString());
        QCOMPARE(visibleWindows(), QStringList{opener});
        QCOMPARE(QApplication::activeWindow(), &form);
        if (mainWindow) {
            form.close();
            settle();
            QVERIFY(m_app->hasEnded());
        }
    }

    void topicsStackOnTheirPage_data() {
        QTest::addColumn<QString>("switchWindow");
        QTest::addColumn<QString>("help");
        QTest::addColumn<QString>("page");
        // Each topic: its button on the page, its window, how it is closed.
        QTest::addColumn<QStringList>("topics");
        QTest::newRow("sets, then backing up")
            << QStringLiteral("FrmCopyWavs") << QStringLiteral("CmdWavHelp2")
            << QStringLiteral("FrmWavHelp2")
            << QStringList{QStringLiteral("CmdSaveSetsInfo FrmSaveSetInfo ok"),
                           QStringLiteral("CmdAboutBackup2 FrmBackupHelpWav closebox")};
        QTest::newRow("backing up, then sets")
            << QStringLiteral("FrmCopyWavs") << QStringLiteral("CmdWavHelp2")
            << QStringLiteral("FrmWavHelp2")
            << QStringList{QStringLiteral("CmdAboutBackup2 FrmBackupHelpWav ok"),
                           QStringLiteral("CmdSaveSetsInfo FrmSaveSetInfo closebox"),
                           QStringLiteral("CmdAboutBackup2 FrmBackupHelpWav closebox")};
        QTest::newRow("music backing up")
            << QStringLiteral("FrmCopyMidi") << QStringLiteral("CmdMidiHelp2")
            << QStringLiteral("FrmMidiHelp2")
            << QStringList{QStringLiteral("CmdAboutBackup1 FrmBackupHelpMidi ok"),
                           QStringLiteral("CmdAboutBackup1 FrmBackupHelpMidi closebox")};
    }

    void topicsStackOnTheirPage() {
        QFETCH(QString, switchWindow);
        QFETCH(QString, help);
        QFETCH(QString, page);
        QFETCH(QStringList, topics);
        showWindow(switchWindow);
        click(switchWindow, help);
        for (const QString& topic : topics) {
            const QStringList parts = topic.split(u' ');
            click(page, parts[0]);
            QCOMPARE(activeModal(), parts[1]);
            QCOMPARE(visibleWindows().size(), 3);
            if (parts[2] == u"ok")
                click(parts[1], okButtonOf(layoutNamed(parts[1])));
            else
                topLevel(parts[1])->close();
            settle();
            QVERIFY(!topLevel(parts[1]));
            QCOMPARE(activeModal(), page);
            QCOMPARE(visibleWindows(), sorted({switchWindow, page}));
        }
        click(page, okButtonOf(layoutNamed(page)));
        QCOMPARE(activeModal(), QString());
        QCOMPARE(visibleWindows(), QStringList{switchWindow});
    }

    // Worked out by hand. The box is (100, 100)-(159, 139): a line leaves it 3 pixels in from
    // a corner, from a side that faces the target, and ends on the target's centre third.
    void pointerLine_data() {
        QTest::addColumn<QRect>("target");
        QTest::addColumn<routes::Surroundings>("around");
        QTest::addColumn<QLine>("expected");
        QTest::addColumn<int>("hindrances");
        // Centre third: x 210, 214, 219 and y 116, 119, 123.
        const QRect right(200, 110, 30, 20);
        const QRect pillar(180, 105, 10, 20); // (180, 105)-(189, 124)
        QTest::newRow("straight across")
            << right << routes::Surroundings{} << QLine(159, 116, 210, 116) << 0;
        // Only a line from the box's lowest start passes under it: to (210, 123) is shortest.
        QTest::newRow("round a control of the picture")
            << right << routes::Surroundings{.obstacles = {pillar}} << QLine(159, 136, 210, 123)
            << 0;
        // The way under the pillar is walled off: through the pillar, the shortest way.
        QTest::newRow("through a control rather than a box")
            << right << routes::Surroundings{.obstacles = {pillar}, .walls = {{180, 125, 10, 35}}}
            << QLine(159, 116, 210, 116) << 1;
        // Running along its top edge misleads; crossing it into the frame does not.
        QTest::newRow("across a border, not along it")
            << right << routes::Surroundings{.borders = {{165, 116, 30, 30}}}
            << QLine(159, 119, 210, 119) << 0;
        // y 116 and 119 cross the drawn line; y 123 passes 3 pixels below its end.
        QTest::newRow("clear of a line drawn before")
            << right << routes::Surroundings{.lines = {{180, 100, 180, 120}}}
            << QLine(159, 123, 210, 123) << 0;
        // Every way crosses the wide one; y 123 alone passes under the narrow one too.
        QTest::newRow("through as few controls as may be")
            << right << routes::Surroundings{.obstacles = {{170, 100, 5, 40}, {185, 105, 5, 15}}}
            << QLine(159, 123, 210, 123) << 1;
        // Centre third x 126, 129, 133, y 26, 29, 33; the top side is free from x 148 on.
        QTest::newRow("not out of the caption")
            << QRect(120, 20, 20, 20) << routes::Surroundings{.caption = {106, 94, 40, 14}}
            << QLine(148, 100, 133, 33) << 0;
    }

    void pointerLine() {
        QFETCH(QRect, target);
        QFETCH(routes::Surroundings, around);
        QFETCH(QLine, expected);
        QFETCH(int, hindrances);
        const routes::Route route = routes::pointerLine(QRect(100, 100, 60, 40), target, around);
        QCOMPARE(route.line, expected);
        QCOMPARE(route.hindrances, hindrances);
    }

    // A page's other boxes are walls, its own box is not; the picture's frame and the frames
    // around the target are crossed freely. One line from the first control to the first shown.
    void routePage_data() {
        QTest::addColumn<routes::Page>("page");
        QTest::addColumn<QLine>("expected");
        QTest::addColumn<int>("hindrances");
        const QRect box(100, 100, 60, 40), target(200, 110, 30, 20);
        const std::vector pointer{routes::Page::Pointer{.box = 0, .target = target}};
        QTest::newRow("round another box") << routes::Page{.controls = {box, {180, 105, 10, 20}},
                                                           .shown = {target},
                                                           .pointers = pointer}
                                           << QLine(159, 136, 210, 123) << 0;
        QTest::newRow("into the picture and the target's frame")
            << routes::Page{.controls = {box},
                            .pictures = {{170, 80, 120, 100}},
                            .shown = {target, {190, 100, 60, 40}},
                            .pointers = pointer}
            << QLine(159, 116, 210, 116) << 0;
    }

    void routePage() {
        QFETCH(routes::Page, page);
        QFETCH(QLine, expected);
        QFETCH(int, hindrances);
        const std::vector<routes::Route> found = routes::routePage(page);
        QCOMPARE(found.size(), size_t{1});
        QCOMPARE(found.front().line, expected);
        QCOMPARE(found.front().hindrances, hindrances);
    }
};

TUNEVANE_TEST_MAIN(TutorialPagesTest)
#include "TutorialPagesTest.moc"
