// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "start/FrmSplash.h"

#include "app/App.h"
#include "app/Version.h"
#include "selection/FrmMidi.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

namespace tunevane {

namespace {

constexpr Control controls[] = {
    {.kind = Kind::Panel, .name = "Frame1", .box = {120, 0, 7440, 4290}},
    {.kind = Kind::Label,
     .name = "OLE1",
     .box = {240, 240, 6960, 1680},
     .caption = "TUNE-VANE",
     .in = "Frame1",
     .font = {"Times New Roman", 54, true, true},
     .colour = qRgb(192, 16, 26),
     .align = Qt::AlignCenter},
    {.kind = Kind::Picture,
     .name = "imgLogo",
     .box = {600, 2280, 1575, 1425},
     .in = "Frame1",
     .icon = "icons/program.argb"},
    {.kind = Kind::Label,
     .name = "lblVersion",
     .box = {4920, 2160, 2280, 315},
     .caption = "Version",
     .in = "Frame1",
     .font = {"Arial", 12, true}},
    {.kind = Kind::Label,
     .name = "Lblrights",
     .box = {2400, 3360, 4920, 255},
     .caption = "Back up your game files before you switch them.",
     .in = "Frame1",
     .align = Qt::AlignRight | Qt::AlignVCenter},
    {.kind = Kind::Button,
     .name = "CmdEntermidi",
     .box = {3720, 3840, 3615, 375},
     .caption = "Enter",
     .tip = "Launch Tune-Vane",
     .in = "Frame1"},
};

} // namespace

FrmSplash::FrmSplash(App& app)
    : Form(app, QStringLiteral("frmSplash"),
           {.title = {},
            .widthTwips = 7665,
            .heightTwips = 4395,
            .icon = nullptr,
            .inTaskBar = false,
            .titleBar = false}) {
    const Built built = build(controls);
    m_lblVersion = built.get<QLabel>("lblVersion");
    connect(built.get<QPushButton>("CmdEntermidi"), &QPushButton::clicked, this,
            &FrmSplash::cmdEntermidiClick);
    // The window sees every key before its controls do, so Space or Enter never press "Enter".
    qApp->installEventFilter(this);
}

FrmSplash::~FrmSplash() {
    qApp->removeEventFilter(this);
}

void FrmSplash::loadSteps() {
    m_lblVersion->setText(versionText(version::major, version::minor, version::revision));
}

bool FrmSplash::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::ShortcutOverride)
        return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != this || !isVisible())
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    const bool typesCharacter = !key->text().isEmpty() || key->key() == Qt::Key_Return ||
                                key->key() == Qt::Key_Enter || key->key() == Qt::Key_Escape ||
                                key->key() == Qt::Key_Backspace;
    if (!typesCharacter)
        return false;
    if (event->type() == QEvent::KeyPress)
        keyPressed();
    event->accept();
    return true;
}

void FrmSplash::cmdEntermidiClick() {
    app().forms().moveOn<FrmMidi>(*this);
}

void FrmSplash::keyPressed() {
    // Nothing else is loaded, so unloading the last window ends the program.
    app().forms().unload(*this);
}

} // namespace tunevane
