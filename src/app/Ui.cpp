// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/Ui.h"

#include <QApplication>
#include <QHash>
#include <QMessageBox>
#include <QPalette>

#include <fontconfig/fontconfig.h>

namespace tunevane {

namespace {

// The installed face that fontconfig's own rules give as metric-compatible with a classic one:
// Liberation Serif for "Times New Roman", Liberation Sans for "Arial". "MS Sans Serif", the
// classic dialog font, has no twin of its own; Arial's stands in for it. Each is asked once.
// Qt is then asked for a face that is there: a missing one costs it a search through every
// installed font for fallbacks, which was most of the start-up's own time.
QString installedFace(const QString& classic) {
    static QHash<QString, QString> faces;
    const QString asked = classic == u"MS Sans Serif" ? QStringLiteral("Arial") : classic;
    if (const auto known = faces.constFind(asked); known != faces.cend())
        return *known;
    QString face = asked;
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY,
                       reinterpret_cast<const FcChar8*>(asked.toUtf8().constData()));
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    if (FcPattern* match = FcFontMatch(nullptr, pattern, &result)) {
        FcChar8* family = nullptr;
        if (FcPatternGetString(match, FC_FAMILY, 0, &family) == FcResultMatch)
            face = QString::fromUtf8(reinterpret_cast<const char*>(family));
        FcPatternDestroy(match);
    }
    FcPatternDestroy(pattern);
    faces.insert(asked, face);
    return face;
}

} // namespace

QFont classicFont(const QString& family, qreal pointSize, bool bold, bool italic) {
    QFont font(installedFace(family));
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    font.setItalic(italic);
    return font;
}

QPalette classicPalette() {
    // Qt's own light palette, the one the windows were drawn with on a plain desktop: the
    // classic grey face, black text, white lists, pale yellow tool tips.
    struct Role {
        QPalette::ColorRole role;
        QRgb colour;
        QRgb disabled;
    };
    static constexpr Role roles[] = {
        {QPalette::WindowText, 0xff000000, 0xffbebebe},
        {QPalette::Button, 0xffefefef, 0xffefefef},
        {QPalette::Light, 0xffffffff, 0xffffffff},
        {QPalette::Midlight, 0xffcacaca, 0xffcacaca},
        {QPalette::Dark, 0xff9f9f9f, 0xffbebebe},
        {QPalette::Mid, 0xffb8b8b8, 0xffb8b8b8},
        {QPalette::Text, 0xff000000, 0xffbebebe},
        {QPalette::BrightText, 0xffffffff, 0xffffffff},
        {QPalette::ButtonText, 0xff000000, 0xffbebebe},
        {QPalette::Base, 0xffffffff, 0xffefefef},
        {QPalette::Window, 0xffefefef, 0xffefefef},
        {QPalette::Shadow, 0xff767676, 0xffb1b1b1},
        {QPalette::Highlight, 0xff308cc6, 0xff919191},
        {QPalette::HighlightedText, 0xffffffff, 0xffffffff},
        {QPalette::Link, 0xff0000ff, 0xff0000ff},
        {QPalette::LinkVisited, 0xffff00ff, 0xffff00ff},
        {QPalette::AlternateBase, 0xfff7f7f7, 0xfff7f7f7},
        {QPalette::ToolTipBase, 0xffffffdc, 0xffffffdc},
        {QPalette::ToolTipText, 0xff000000, 0xff000000},
        {QPalette::PlaceholderText, 0x80000000, 0x80000000},
    };
    QPalette palette;
    for (const Role& role : roles) {
        palette.setColor(QPalette::Active, role.role, QColor::fromRgba(role.colour));
        palette.setColor(QPalette::Inactive, role.role, QColor::fromRgba(role.colour));
        palette.setColor(QPalette::Disabled, role.role, QColor::fromRgba(role.disabled));
    }
    return palette;
}

void showMessage(QWidget* parent, const QString& title, const QString& text,
                 std::function<void()> then) {
    // The window manager keeps a box above the window it belongs to, which must be on screen.
    if (parent && !parent->window()->isVisible())
        parent = QApplication::activeWindow();
    auto* box = new QMessageBox(QMessageBox::NoIcon, title, text, QMessageBox::Ok, parent);
    box->setObjectName(QStringLiteral("MessageBox"));
    // A title and a close box only: minimise and maximise crowd out a short title.
    box->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                        Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    box->setWindowModality(Qt::ApplicationModal);
    box->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(box, &QMessageBox::finished, box, [then = std::move(then)](int) {
        if (then)
            then();
    });
    box->show();
}

void setTextColour(QWidget* widget, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    palette.setColor(QPalette::ButtonText, colour);
    palette.setColor(QPalette::Text, colour);
    widget->setPalette(palette);
}

QColor menuTextColour(const QWidget* widget) {
    // Qt's menus draw their items in the Text colour of their palette.
    return widget->window()->palette().color(QPalette::Active, QPalette::Text);
}

} // namespace tunevane
