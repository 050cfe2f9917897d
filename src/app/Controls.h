// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

/// @file
/// @brief Each window's controls as a table in twips, and the builder that makes them on it.

#include <QHash>
#include <QRect>
#include <QRgb>
#include <QString>
#include <QWidget>
#include <span>
#include <vector>

namespace tunevane {

// A rectangle in twips, as the windows were drawn: left, top, width, height.
struct Box {
    int left = 0, top = 0, width = 0, height = 0;
};

enum class Kind {
    Label,    // QLabel; `caption` is its text
    Button,   // QPushButton, never a default button; `icon` may stand beside or for a caption
    Frame,    // QGroupBox captioned `caption`
    Panel,    // a frame without caption: a plain box
    Picture,  // QLabel showing `icon` stretched over its box
    TextBox,  // one-line QLineEdit
    ComboBox, // editable QComboBox whose list the program never fills
    Custom,   // made by `make`
    // Made by the window's own code after the build (the three lists of a browsing pane); the
    // row still gives its name, box and tool tip, so the table reads whole and checks find it.
    External,
};

// A classic face, drawn in its installed metric-compatible face (classicFont()). No family:
// the window's font.
struct Font {
    const char* family = nullptr;
    double points = 0;
    bool bold = false;
    bool italic = false;
    // Each letter's advance in percent: below 100 only where the metric-compatible face
    // cannot hold a control's text in its box at that control's face, size and weight.
    int spacing = 100;
};

// One row that stands for the members first … first + count - 1. "%1" in a family's name,
// caption, tool tip and `in` is the member's number. Member k (counted from 0) sits
// dx × (k mod columns) and dy × (k div columns) twips from the row's box, which is the first
// member's box. Rows of uneven height give `tops` instead of dy: member k's top is then
// tops[k] plus the box's top, which is an offset from its row's top.
struct Family {
    int count = 1;
    int first = 1;
    int columns = 1;
    int dx = 0;
    int dy = 0;
    std::span<const int> tops = {};
};

inline constexpr QRgb paletteColour = 0;

// One absolutely placed control, exactly as a window's table gives it.
struct Control {
    Kind kind = Kind::Label;
    const char* name = nullptr;
    Box box;
    const char* caption = nullptr;
    const char* tip = nullptr;
    // objectName of the frame or panel that holds it ("%1" resolved per member); none: the
    // window. Its box is then relative to that frame.
    const char* in = nullptr;
    Font font = {};
    QRgb colour = paletteColour; // text colour, e.g. qRgb(255, 0, 0)
    bool visible = true;
    Family family = {};
    Qt::Alignment align = {};
    bool wrap = false;
    // A label's one line, when too long for its box: drawn elided so, its text kept whole.
    Qt::TextElideMode elide = Qt::ElideNone;
    // A picture's image or a button's icon: a name under the resources' icons/ or pictures/
    // ("program", "pictures/midi-help.png"), see resourceIcon().
    const char* icon = nullptr;
    // Kind::Custom only: makes the widget; the builder names, places and styles it.
    QWidget* (*make)(QWidget* parent) = nullptr;
};

// One member of a row with its number resolved: what the builder makes and what a test checks.
struct Placed {
    const Control* row = nullptr;
    int number = 0; // the family member's number; 0 for a single control
    QString name, caption, tip, in;
    Box box;
};

std::vector<Placed> expand(std::span<const Control> table);

// The controls a table made, by objectName.
class Built {
public:
    QWidget* find(const QString& name) const { return m_byName.value(name); }
    template <class T> T* get(const QString& name) const {
        auto* widget = qobject_cast<T*>(find(name));
        Q_ASSERT_X(widget, "Built::get", qPrintable(name));
        return widget;
    }
    template <class T> T* get(const char* name) const { return get<T>(QString::fromUtf8(name)); }

    // Any row by objectName, External ones included: where the window's own code places them.
    const Placed& placed(const QString& name) const;
    QRect pixelBox(const char* name) const;

    void add(const Placed& placed, QWidget* widget);

private:
    QHash<QString, QWidget*> m_byName;
    QHash<QString, Placed> m_placed;
};

// Makes every control of `table` on `window`, in table order (later rows lie above earlier
// ones), with its name, box, caption, tool tip, font, colour and visibility.
Built buildControls(QWidget* window, std::span<const Control> table);

// Pixel rectangle of a twips box.
QRect pixelRect(const Box& box);

// The text a control shows for its caption: a label's or button's text, a frame's title.
QString captionOf(const QWidget* widget);

// An icon or picture from the resources by name: "program" is icons/program.svg; a name
// with a folder or an extension is taken as it stands under the resources' root.
QIcon resourceIcon(const QString& name);

} // namespace tunevane
