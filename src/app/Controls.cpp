// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/Controls.h"

#include "app/ElidedLabel.h"
#include "app/Twips.h"
#include "app/Ui.h"

#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QIcon>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QResource>

#include <cmath>

namespace tunevane {

namespace {

QString text(const char* utf8, int number) {
    if (!utf8)
        return {};
    const QString value = QString::fromUtf8(utf8);
    return number > 0 && value.contains(u"%1") ? value.arg(number) : value;
}

QWidget* make(const Control& row, QWidget* parent, const QString& caption) {
    switch (row.kind) {
    case Kind::Label: {
        auto* label = row.elide == Qt::ElideNone ? new QLabel(caption, parent)
                                                 : new ElidedLabel(caption, row.elide, parent);
        label->setWordWrap(row.wrap);
        if (row.align)
            label->setAlignment(row.align);
        return label;
    }
    case Kind::Button: {
        auto* button = new QPushButton(caption, parent);
        button->setAutoDefault(false);
        button->setDefault(false);
        if (row.icon)
            button->setIcon(resourceIcon(QString::fromUtf8(row.icon)));
        return button;
    }
    case Kind::Frame:
        return new QGroupBox(caption, parent);
    case Kind::Panel: {
        auto* panel = new QFrame(parent);
        panel->setFrameShape(QFrame::Box);
        return panel;
    }
    case Kind::Picture: {
        auto* picture = new QLabel(parent);
        picture->setScaledContents(true);
        return picture;
    }
    case Kind::TextBox:
        return new QLineEdit(caption, parent);
    case Kind::ComboBox: {
        auto* combo = new QComboBox(parent);
        combo->setEditable(true);
        combo->setInsertPolicy(QComboBox::NoInsert);
        combo->setEditText(caption);
        return combo;
    }
    case Kind::Custom:
        Q_ASSERT(row.make);
        return row.make(parent);
    case Kind::External:
        return nullptr;
    }
    return nullptr;
}

} // namespace

std::vector<Placed> expand(std::span<const Control> table) {
    std::vector<Placed> placed;
    for (const Control& row : table) {
        const bool isFamily = row.family.count > 1 || row.family.first != 1 ||
                              QByteArrayView(row.name).contains("%1");
        for (int k = 0; k < row.family.count; ++k) {
            const int number = isFamily ? row.family.first + k : 0;
            const int columns = std::max(row.family.columns, 1);
            Box box = row.box;
            box.left += row.family.dx * (k % columns);
            if (row.family.tops.empty())
                box.top += row.family.dy * (k / columns);
            else
                box.top += row.family.tops[static_cast<size_t>(k)];
            placed.push_back({&row, number, text(row.name, number), text(row.caption, number),
                              text(row.tip, number), text(row.in, number), box});
        }
    }
    return placed;
}

Built buildControls(QWidget* window, std::span<const Control> table) {
    Built built;
    for (const Placed& control : expand(table)) {
        const Control& row = *control.row;
        QWidget* parent = control.in.isEmpty() ? window : built.find(control.in);
        Q_ASSERT_X(parent, "buildControls", qPrintable(control.in));
        QWidget* widget = make(row, parent, control.caption);
        if (!widget) {
            built.add(control, nullptr);
            continue;
        }
        widget->setObjectName(control.name);
        widget->setGeometry(pixelRect(control.box));
        if (!control.tip.isEmpty())
            widget->setToolTip(control.tip);
        if (row.font.family) {
            QFont font = classicFont(QString::fromUtf8(row.font.family), row.font.points,
                                     row.font.bold, row.font.italic);
            if (row.font.spacing != 100)
                font.setLetterSpacing(QFont::PercentageSpacing, row.font.spacing);
            widget->setFont(font);
        } else if (parent != window) {
            // A frame's caption font is its own; what it holds keeps the window's. Marked as
            // set in every property, or Qt would let the frame's font through again.
            QFont font = window->font();
            font.setResolveMask(QFont::AllPropertiesResolved);
            widget->setFont(font);
        }
        if (row.colour != paletteColour)
            setTextColour(widget, QColor(row.colour));
        if (row.kind == Kind::Picture && row.icon) {
            auto* picture = static_cast<QLabel*>(widget);
            picture->setPixmap(resourceIcon(QString::fromUtf8(row.icon)).pixmap(widget->size()));
        }
        if (!row.visible)
            widget->hide();
        built.add(control, widget);
    }
    return built;
}

const Placed& Built::placed(const QString& name) const {
    const auto found = m_placed.constFind(name);
    Q_ASSERT_X(found != m_placed.cend(), "Built::placed", qPrintable(name));
    return *found;
}

QRect Built::pixelBox(const char* name) const {
    return pixelRect(placed(QString::fromUtf8(name)).box);
}

void Built::add(const Placed& placed, QWidget* widget) {
    m_placed.insert(placed.name, placed);
    if (widget)
        m_byName.insert(placed.name, widget);
}

QRect pixelRect(const Box& box) {
    return twipsRect(box.left, box.top, box.width, box.height);
}

QString captionOf(const QWidget* widget) {
    if (const auto* label = qobject_cast<const QLabel*>(widget))
        return label->text();
    if (const auto* button = qobject_cast<const QPushButton*>(widget))
        return button->text();
    if (const auto* frame = qobject_cast<const QGroupBox*>(widget))
        return frame->title();
    if (const auto* line = qobject_cast<const QLineEdit*>(widget))
        return line->text();
    if (const auto* combo = qobject_cast<const QComboBox*>(widget))
        return combo->currentText();
    return {};
}

QIcon resourceIcon(const QString& name) {
    if (name.isEmpty())
        return {};
    // Raw square ARGB32 pixels: no image reader, so no image plugin is loaded for them.
    if (name.endsWith(u".argb")) {
        const QByteArray pixels = QResource(QStringLiteral(":/") + name).uncompressedData();
        const int side = static_cast<int>(std::sqrt(static_cast<double>(pixels.size() / 4)));
        const QImage image(reinterpret_cast<const uchar*>(pixels.constData()), side, side,
                           QImage::Format_ARGB32_Premultiplied);
        return QIcon(QPixmap::fromImage(image.copy()));
    }
    if (name.contains(u'/') || name.contains(u'.'))
        return QIcon(QStringLiteral(":/") + name);
    return QIcon(QStringLiteral(":/icons/") + name + QStringLiteral(".svg"));
}

} // namespace tunevane
