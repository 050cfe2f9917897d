// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "TestSupport.h"

#include "app/App.h"
#include "app/Application.h"
#include "app/FocusStyle.h"
#include "app/Ui.h"
#include "start/Start.h"

#include <QDir>
#include <QFontMetricsF>
#include <QGroupBox>
#include <QLabel>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QStyleOptionButton>
#include <QStyleOptionGroupBox>
#include <QTemporaryDir>
#include <QTest>
#include <QToolTip>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <optional>

using namespace tunevane;

namespace {

// WCAG's contrast ratio, 1 to 21.
double contrast(const QColor& a, const QColor& b) {
    const auto luminance = [](const QColor& colour) {
        const auto linear = [](double c) {
            return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) +
               0.0722 * linear(colour.blueF());
    };
    const auto [dark, light] = std::minmax({luminance(a), luminance(b)});
    return (light + 0.05) / (dark + 0.05);
}

// A text as drawn: the rectangle it takes and the room it has there, in window coordinates
// (none for an entry field, which scrolls), and its colour and that of what it stands on.
struct Drawn {
    QRectF text, room;
    QColor ink, ground;
};

QRectF inWindow(const QWidget* widget, const QRectF& rect) {
    return rect.translated(widget->mapTo(widget->window(), QPoint()));
}

// The part of `widget` that neither it nor a parent cuts off.
QRectF visiblePart(const QWidget* widget) {
    QRectF visible = inWindow(widget, widget->rect());
    for (const QWidget* w = widget->parentWidget(); w; w = w->parentWidget())
        visible &= inWindow(w, w->rect());
    return visible;
}

// What a transparent control stands on: the first of it and its parents that fills its
// background, or the window.
QColor groundOf(const QWidget* widget) {
    while (!widget->isWindow() && !widget->autoFillBackground())
        widget = widget->parentWidget();
    return widget->palette().color(widget->backgroundRole());
}

std::optional<Drawn> drawn(const QWidget* widget) {
    const QFontMetricsF metrics(widget->font(), widget);
    const QPalette& palette = widget->palette();
    if (const auto* label = qobject_cast<const QLabel*>(widget);
        label && !label->text().isEmpty()) {
        const int flags = int(label->alignment()) | (label->wordWrap() ? Qt::TextWordWrap : 0);
        const QRectF text = metrics.boundingRect(label->contentsRect(), flags, label->text());
        return Drawn{inWindow(label, text), visiblePart(label),
                     palette.color(label->foregroundRole()), groundOf(label)};
    }
    if (const auto* button = qobject_cast<const QPushButton*>(widget);
        button && !button->text().isEmpty()) {
        QStyleOptionButton option; // as the button draws itself
        option.initFrom(button);
        option.features = button->autoDefault() ? QStyleOptionButton::AutoDefaultButton
                                                : QStyleOptionButton::None;
        option.text = button->text();
        option.icon = button->icon();
        option.iconSize = button->iconSize();
        // Fusion centres the icon and the text beside it in the contents.
        const QRectF room =
            button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
        QSizeF size = metrics.size(Qt::TextShowMnemonic, button->text());
        if (!button->icon().isNull())
            size = {size.width() + option.iconSize.width() + 4,
                    std::max<qreal>(size.height(), option.iconSize.height())};
        QRectF text({}, size);
        text.moveCenter(room.center());
        return Drawn{inWindow(button, text), inWindow(button, room) & visiblePart(button),
                     palette.color(QPalette::ButtonText), palette.color(QPalette::Button)};
    }
    if (const auto* frame = qobject_cast<const QGroupBox*>(widget);
        frame && !frame->title().isEmpty()) {
        QStyleOptionGroupBox option; // as the frame draws itself
        option.initFrom(frame);
        option.text = frame->title();
        option.textAlignment = frame->alignment();
        option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
        option.lineWidth = 1;
        const QRect caption = frame->style()->subControlRect(QStyle::CC_GroupBox, &option,
                                                             QStyle::SC_GroupBoxLabel, frame);
        const QRectF text(caption.topLeft(), metrics.size(Qt::TextShowMnemonic, frame->title()));
        // Fusion draws the caption in the window-text colour.
        return Drawn{inWindow(frame, text), visiblePart(frame), palette.color(QPalette::WindowText),
                     groundOf(frame)};
    }
    if (qobject_cast<const QLineEdit*>(widget))
        return Drawn{{}, {}, palette.color(QPalette::Text), palette.color(QPalette::Base)};
    return std::nullopt;
}

// Every text of `window` that is cut off, hard to read or not in its own font.
QStringList problemsOf(QWidget* window, std::span<const Control> table) {
    QStringList problems;
    const QFont defaultFont = classicFont(QStringLiteral("MS Sans Serif"), 8.25);
    if (window->font() != defaultFont)
        problems << window->objectName() + QStringLiteral(" is not in the program's default font");
    const std::vector<Placed> rows = expand(table);
    for (QWidget* widget : window->findChildren<QWidget*>()) {
        widget->ensurePolished();
        const std::optional<Drawn> shown = drawn(widget);
        if (!shown || !widget->isEnabled())
            continue;
        const QString name = window->objectName() + u' ' + widget->objectName();
        // Half a pixel over is no cut: Qt puts the lines of text on whole pixels.
        if (!shown->text.isNull() &&
            !shown->room.adjusted(-0.5, -0.5, 0.5, 0.5).contains(shown->text))
            problems << QStringLiteral(
                            "%1 is cut off: its text takes %2 × %3 from %4, it has %5 × %6 from %7")
                            .arg(name)
                            .arg(shown->text.width())
                            .arg(shown->text.height())
                            .arg(shown->text.left())
                            .arg(shown->room.width())
                            .arg(shown->room.height())
                            .arg(shown->room.left());
        const auto row = std::ranges::find(rows, widget->objectName(), &Placed::name);
        const Control* spec = row != rows.end() ? row->row : nullptr;
        // The fixed red and blue stand out at least as well as on the light face.
        const double needed =
            spec && spec->colour != paletteColour
                ? contrast(shown->ink, classicPalette().color(QPalette::Window)) - 0.01
                : 4.5;
        if (contrast(shown->ink, shown->ground) < needed)
            problems << QStringLiteral("%1 is hard to read: %2 on %3")
                            .arg(name, shown->ink.name(), shown->ground.name());
        // Its own font, or else its parent's: the default font in the end.
        const QFont font =
            spec && spec->font.family
                ? classicFont(QString::fromUtf8(spec->font.family), spec->font.points)
                : (spec ? defaultFont : widget->parentWidget()->font());
        if (widget->font().family() != font.family() ||
            widget->font().pointSizeF() != font.pointSizeF())
            problems << QStringLiteral("%1 is in %2 %3 pt")
                            .arg(name, widget->font().family())
                            .arg(widget->font().pointSizeF());
    }
    return problems;
}

// The child: every window kind under the desktop settings it was started with.
int checkEveryWindow(int argc, char** argv) {
    Application application(argc, argv);
    // A theme applies its settings once the events flow, as they do in the program, and may
    // apply them again later.
    QCoreApplication::processEvents();
    QApplication::setFont(QFont(QStringLiteral("DejaVu Sans"), 14));
    qApp->setStyleSheet(QStringLiteral("* { color: white; background: #202020; }"));
    QCoreApplication::processEvents();
    testsupport::prepare();
    QTemporaryDir folder;
    QDir::setCurrent(folder.path());
    App app(folder.path());
    QStringList problems;
    for (const Forms::Kind& kind : windowKinds()) {
        const std::unique_ptr<Form> window(kind.make(app));
        problems << problemsOf(window.get(), window->controlTable());
    }
    // Laid out as shown, but not on the screen: the checks need no window there.
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Title"),
                    QStringLiteral("A message of some length."), QMessageBox::Ok);
    box.setObjectName(QStringLiteral("MessageBox"));
    box.setAttribute(Qt::WA_DontShowOnScreen);
    box.show();
    problems << problemsOf(&box, {});
    for (const QPalette::ColorRole role : {QPalette::ToolTipText, QPalette::ToolTipBase})
        if (QToolTip::palette().color(role) != classicPalette().color(role) ||
            QToolTip::font() != QApplication::font())
            problems << QStringLiteral("tool tips are drawn otherwise");
    // Fusion under the focus frames, whatever style the desktop names.
    const auto* style = qobject_cast<const FocusStyle*>(QApplication::style());
    if (!style || style->baseStyle()->name() != QLatin1StringView("fusion"))
        problems << QStringLiteral("the style is ") + QApplication::style()->name();
    std::fputs(qPrintable(problems.join(u'\n')), stdout);
    return 0;
}

// A dark scheme in qt6ct's format: every colour role, the same in every state.
constexpr const char* darkScheme =
    "#ffffffff, #ff424245, #ff979797, #ff5e5c5b, #ff302f2e, #ff4a4947, #ffffffff, #ffffffff, "
    "#ffffffff, #ff3d3d3d, #ff222020, #ffe7e4e0, #ff12608a, #fff9f9f9, #ff0986d3, #ffa70b06, "
    "#ff5c5b5a, #ffffffff, #ff3f3f36, #ffffffff, #80ffffff";

} // namespace

// Every window kind the program registers, under the settings of many a Linux desktop: no
// text cut off, every text legible, every control in its own font.
class LookTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void everyWindowUnderEveryDesktop_data() {
        QTest::addColumn<QString>("qt6ct"); // qt6ct's settings; none: no qt6ct
        QTest::addColumn<QString>("kde");   // KDE's, which Qt's own theme reads under X
        QTest::addColumn<QString>("scale"); // QT_SCALE_FACTOR
        const QString dejaVu10 =
            QStringLiteral("[Fonts]\ngeneral=\"DejaVu Sans,10,-1,5,50,0,0,0,0,0\"\n");
        const QString dejaVu12 =
            QStringLiteral("[Fonts]\ngeneral=\"DejaVu Sans,12,-1,5,50,0,0,0,0,0\"\n");
        // A style of its own, a dark palette and a style sheet that paints everything dark.
        const QString dark =
            dejaVu12 + QStringLiteral("[Appearance]\nstyle=Windows\ncustom_palette=true\n"
                                      "color_scheme_path=SCHEME\n[Interface]\nstylesheets=SHEET\n");
        const QString kdeDark = QStringLiteral("[General]\nfont=DejaVu Sans,10,-1,5,50,0,0,0,0,0\n"
                                               "widgetStyle=Windows\n"
                                               "[Colors:Window]\nBackgroundNormal=35,38,41\n"
                                               "ForegroundNormal=239,240,241\n"
                                               "[Colors:View]\nBackgroundNormal=27,30,32\n"
                                               "ForegroundNormal=239,240,241\n"
                                               "[Colors:Button]\nBackgroundNormal=49,54,59\n"
                                               "ForegroundNormal=239,240,241\n");
        QTest::newRow("defaults") << QString() << QString() << QString();
        QTest::newRow("DejaVu Sans 10 pt") << dejaVu10 << QString() << QString();
        QTest::newRow("DejaVu Sans 12 pt") << dejaVu12 << QString() << QString();
        QTest::newRow("qt6ct dark") << dark << QString() << QString();
        QTest::newRow("KDE dark") << QString() << kdeDark << QString();
        QTest::newRow("scale 1.25") << QString() << QString() << QStringLiteral("1.25");
        QTest::newRow("scale 1.5") << QString() << QString() << QStringLiteral("1.5");
        QTest::newRow("scale 2") << QString() << QString() << QStringLiteral("2");
        QTest::newRow("qt6ct dark, scale 1.5") << dark << QString() << QStringLiteral("1.5");
    }

    void everyWindowUnderEveryDesktop() {
        QFETCH(QString, qt6ct);
        QFETCH(QString, kde);
        QFETCH(QString, scale);
        QTemporaryDir home;
        const auto write = [&](const QString& name, const QString& text) {
            QDir(home.path()).mkpath(QFileInfo(home.filePath(name)).path());
            QFile file(home.filePath(name));
            return file.open(QIODevice::WriteOnly) && file.write(text.toUtf8()) == text.size();
        };
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const QString& variable : {QStringLiteral("HOME"), QStringLiteral("XDG_CONFIG_HOME"),
                                        QStringLiteral("XDG_DATA_HOME")})
            environment.insert(variable, home.path());
        environment.remove(QStringLiteral("QT_QPA_PLATFORMTHEME"));
        if (!scale.isEmpty())
            environment.insert(QStringLiteral("QT_SCALE_FACTOR"), scale);
        if (!qt6ct.isEmpty()) {
            QVERIFY2(QFile::exists(QLibraryInfo::path(QLibraryInfo::PluginsPath) +
                                   QStringLiteral("/platformthemes/libqt6ct.so")),
                     "qt6ct is not installed (scripts/test installs it)");
            environment.insert(QStringLiteral("QT_QPA_PLATFORMTHEME"), QStringLiteral("qt6ct"));
            QVERIFY(write(QStringLiteral("scheme.conf"),
                          QStringLiteral("[ColorScheme]\nactive_colors=%1\ninactive_colors=%1\n"
                                         "disabled_colors=%1\n")
                              .arg(QLatin1StringView(darkScheme))));
            QVERIFY(write(QStringLiteral("sheet.qss"),
                          QStringLiteral("* { color: white; background: #202020; "
                                         "font: 14pt \"DejaVu Sans\"; padding: 6px; }\n")));
            QVERIFY(write(
                QStringLiteral("qt6ct/qt6ct.conf"),
                QString(qt6ct)
                    .replace(QStringLiteral("SCHEME"), home.filePath(QStringLiteral("scheme.conf")))
                    .replace(QStringLiteral("SHEET"), home.filePath(QStringLiteral("sheet.qss")))));
        }
        if (!kde.isEmpty()) {
            const QString display = qEnvironmentVariable("TUNEVANE_TEST_DISPLAY");
            if (display.isEmpty() && qEnvironmentVariableIntValue("TUNEVANE_REQUIRE_DISPLAY"))
                QFAIL("TUNEVANE_TEST_DISPLAY is not set");
            if (display.isEmpty())
                QSKIP("Qt reads KDE's settings only under X: TUNEVANE_TEST_DISPLAY is not set");
            // Nothing is put on the screen.
            environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
            environment.insert(QStringLiteral("DISPLAY"), display);
            environment.insert(QStringLiteral("QT_QPA_PLATFORMTHEME"), QStringLiteral("kde"));
            environment.insert(QStringLiteral("KDE_SESSION_VERSION"), QStringLiteral("5"));
            environment.insert(QStringLiteral("QT_LOGGING_RULES"),
                               QStringLiteral("qt.qpa.theme.dbus=false"));
            QVERIFY(write(QStringLiteral("kdeglobals"), kde));
        }

        QProcess child;
        child.setProcessEnvironment(environment);
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        child.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("--check-every-window")});
        QVERIFY(child.waitForFinished(120000));
        QCOMPARE(child.exitCode(), 0);
        const QStringList problems =
            QString::fromUtf8(child.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
        for (const QString& problem : problems)
            qWarning("%s", qPrintable(problem));
        QVERIFY2(problems.isEmpty(), "some texts are cut off, hard to read or in other fonts");
    }
};

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "--check-every-window") == 0)
        return checkEveryWindow(argc, argv);
    QCoreApplication application(argc, argv);
    LookTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "LookTest.moc"
