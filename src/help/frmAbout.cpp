// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "help/frmAbout.h"

#include "app/Ui.h"
#include "app/Version.h"
#include "help/ProjectInfo.h"

#include <QDesktopServices>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QUrl>

namespace tunevane {

namespace {

// The etched separators: a dark line over a white one of twice its width.
QWidget* etchLine(QWidget* parent, const QColor& colour) {
    auto* line = new QFrame(parent);
    line->setAutoFillBackground(true);
    QPalette palette = line->palette();
    palette.setColor(QPalette::Window, colour);
    line->setPalette(palette);
    return line;
}
QWidget* darkLine(QWidget* parent) {
    return etchLine(parent, QColor(128, 128, 128));
}
QWidget* whiteLine(QWidget* parent) {
    return etchLine(parent, Qt::white);
}

constexpr Control controls[] = {
    {.kind = Kind::Picture, .name = "picIcon", .box = {360, 240, 540, 540}, .icon = "program"},
    {.kind = Kind::Frame, .name = "Frame1", .box = {1080, 120, 3975, 1815}, .caption = "Tune-Vane"},
    {.kind = Kind::Label,
     .name = "lblVersion",
     .box = {360, 240, 1485, 225},
     .caption = "Version",
     .in = "Frame1"},
    {.kind = Kind::Label,
     .name = "LblWin95",
     .box = {1440, 240, 1215, 225},
     .caption = "for Linux",
     .in = "Frame1"},
    {.kind = Kind::Label,
     .name = "LblID",
     .box = {360, 480, 2295, 225},
     .caption = TUNEVANE_NOTICE,
     .in = "Frame1"},
    {.kind = Kind::Label,
     .name = "LblEMail",
     .box = {360, 720, 3015, 255},
     .caption = "EMail: " TUNEVANE_EMAIL,
     .in = "Frame1"},
    {.kind = Kind::Label,
     .name = "Lblinfo",
     .box = {360, 960, 3135, 255},
     .caption = "For more information about the program,",
     .in = "Frame1"},
    {.kind = Kind::Label,
     .name = "Lblinfo2",
     .box = {360, 1200, 3135, 255},
     .caption = "visit my website at:",
     .in = "Frame1"},
    {.kind = Kind::Label,
     .name = "Lblsite",
     .box = {360, 1440, 2805, 195},
     .caption = TUNEVANE_HOMEPAGE,
     .in = "Frame1",
     .colour = qRgb(0, 0, 255)},
    {.kind = Kind::Label,
     .name = "lblDescription",
     .box = {240, 2280, 5295, 1005},
     .caption = "Tune-Vane is an audio replacement utility which allows the user to select and "
                "change the sound effects and background music played by various games and "
                "applications. Tune-Vane also provides the options to backup original program "
                "files, add selected background music to a \"Favorite Midi\" directory, and "
                "create, save, and re-use sound effects sets.",
     .wrap = true},
    {.kind = Kind::Custom,
     .name = "LineDark%1",
     .box = {360, 2146, 5040, 15},
     .family = {.count = 2, .dy = 1200},
     .make = darkLine},
    {.kind = Kind::Custom,
     .name = "LineWhite%1",
     .box = {360, 2160, 5040, 30},
     .family = {.count = 2, .dy = 1200},
     .make = whiteLine},
    {.kind = Kind::Button, .name = "cmdOK", .box = {4200, 3480, 1260, 345}, .caption = "OK"},
};

} // namespace

frmAbout::frmAbout(App& app)
    : Form(app, QStringLiteral("frmAbout"),
           {.title = {},
            .widthTwips = 5775,
            .heightTwips = 3885,
            .icon = "program",
            .inTaskBar = false}) {
    const Built built = build(controls);
    m_lblVersion = built.get<QLabel>("lblVersion");
    m_lblsite = built.get<QLabel>("Lblsite");
    m_lblsite->setCursor(Qt::PointingHandCursor);
    m_lblsite->installEventFilter(this);

    // Both the default and the cancel button: Enter and Esc anywhere in the window press it.
    auto* ok = built.get<QPushButton>("cmdOK");
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &Form::hideAndUnload);
    answerKeysWith(ok);
}

void frmAbout::loadSteps() {
    setWindowTitle(QStringLiteral("About ") + QStringLiteral(TUNEVANE_TITLE));
    m_lblVersion->setText(versionText(version::major, version::minor, version::revision));
}

bool frmAbout::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_lblsite && event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton &&
            m_lblsite->rect().contains(mouse->position().toPoint()))
            lblsiteClick();
        return true;
    }
    return Form::eventFilter(watched, event);
}

void frmAbout::lblsiteClick() {
    if (!QDesktopServices::openUrl(QUrl(QStringLiteral(TUNEVANE_HOMEPAGE))))
        showMessage(this, QStringLiteral("Tune-Vane"),
                    QStringLiteral("Error executing command.\nPlease sign on and retry."));
}

} // namespace tunevane
