// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "help/TutorialPage.h"

#include "app/App.h"
#include "app/Log.h"
#include "app/Ui.h"

#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QIcon>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QPainter>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QStyleOptionGroupBox>
#include <algorithm>
#include <qdrawutil.h>

namespace tunevane {

namespace {

// Draws the page's pointer lines above the pictures and boxes; clicks go through it.
class LineLayer : public QWidget {
public:
    LineLayer(QWidget* page, const std::vector<DrawnLine>& lines) : QWidget(page), m_lines(lines) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setGeometry(page->rect());
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setPen(QPen(palette().color(QPalette::WindowText), 1));
        for (const DrawnLine& drawn : m_lines)
            painter.drawLine(drawn.line);
    }

private:
    const std::vector<DrawnLine>& m_lines;
};

// Classic frames: the caption sits on the top border, which leaves the texts inside the room
// that the page tables give them.
class BoxStyle : public QProxyStyle {
public:
    // Over Fusion as the application's style is: left without a base, Qt would put the
    // desktop's style under it.
    BoxStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {}

    QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option, SubControl part,
                         const QWidget* widget) const override {
        const QRect rect = QProxyStyle::subControlRect(control, option, part, widget);
        if (control != CC_GroupBox)
            return rect;
        if (part == SC_GroupBoxLabel)
            return rect.translated(captionIndent, 0);
        if (part == SC_GroupBoxContents) // inside the etched border, under the caption
            return option->rect.adjusted(2, captionOf(option, widget).bottom() + 1, -2, -2);
        return rect;
    }

    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                            QPainter* painter, const QWidget* widget) const override {
        const auto* box = qstyleoption_cast<const QStyleOptionGroupBox*>(option);
        if (control != CC_GroupBox || !box)
            return QProxyStyle::drawComplexControl(control, option, painter, widget);
        const QRect caption = captionOf(option, widget);
        painter->save();
        painter->setClipRegion(QRegion(box->rect) - caption.adjusted(-2, 0, 2, 0));
        qDrawShadeRect(painter, box->rect.adjusted(0, caption.center().y(), 0, 0), box->palette,
                       true, 1, 0);
        painter->restore();
        QStyleOptionGroupBox label = *box;
        label.subControls = SC_GroupBoxLabel;
        QProxyStyle::drawComplexControl(control, &label, painter, widget);
    }

private:
    static constexpr int captionIndent = 6;
    QRect captionOf(const QStyleOptionComplex* option, const QWidget* widget) const {
        return subControlRect(CC_GroupBox, option, SC_GroupBoxLabel, widget);
    }
};

QJsonArray pointJson(const QPoint& point) {
    return {point.x(), point.y()};
}

QPoint jsonPoint(const QJsonValue& value) {
    const QJsonArray xy = value.toArray();
    return {xy.at(0).toInt(), xy.at(1).toInt()};
}

} // namespace

QFont pageFont() {
    return classicFont(QStringLiteral("MS Sans Serif"), 8.25);
}

QString pictureFile(const char* file, const char* extension) {
    const QString prefix = QString::fromLatin1(pictureSearchPath);
    if (QDir::searchPaths(prefix).isEmpty())
        QDir::setSearchPaths(prefix, {QStringLiteral(":/pictures")});
    return prefix + u':' + QString::fromUtf8(file) + u'.' + QString::fromLatin1(extension);
}

std::optional<PictureControls> readPictureControls(const QString& jsonPath) {
    QFile file(jsonPath);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QJsonObject root = QJsonDocument::fromJson(file.readAll()).object();
    if (root.isEmpty())
        return std::nullopt;
    PictureControls controls;
    controls.window = root.value(u"window").toString();
    controls.size = {root.value(u"width").toInt(), root.value(u"height").toInt()};
    const QJsonObject rects = root.value(u"controls").toObject();
    for (auto it = rects.begin(); it != rects.end(); ++it) {
        const QJsonArray r = it.value().toArray();
        controls.rects.insert(
            it.key(), QRect(r.at(0).toInt(), r.at(1).toInt(), r.at(2).toInt(), r.at(3).toInt()));
    }
    return controls;
}

QByteArray routedLinesJson(const std::map<QString, std::vector<DrawnLine>>& pages) {
    QJsonObject root;
    for (const auto& [page, lines] : pages) {
        QJsonArray list;
        for (const DrawnLine& drawn : lines) {
            list.append(QJsonObject{{QStringLiteral("box"), drawn.box},
                                    {QStringLiteral("target"), drawn.target},
                                    {QStringLiteral("from"), pointJson(drawn.line.p1())},
                                    {QStringLiteral("to"), pointJson(drawn.line.p2())}});
        }
        root.insert(page, list);
    }
    return QJsonDocument(root).toJson();
}

std::vector<DrawnLine> readRoutedLines(const QString& jsonPath, const QString& page) {
    QFile file(jsonPath);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    std::vector<DrawnLine> lines;
    const QJsonArray list = QJsonDocument::fromJson(file.readAll()).object().value(page).toArray();
    for (const QJsonValue& value : list) {
        const QJsonObject line = value.toObject();
        lines.push_back({line.value(u"box").toString(), line.value(u"target").toString(),
                         QLine(jsonPoint(line.value(u"from")), jsonPoint(line.value(u"to")))});
    }
    return lines;
}

TutorialPage::TutorialPage(App& app, const PageLayout& layout)
    : Form(app, QString::fromUtf8(layout.name),
           {.title = QString::fromUtf8(layout.title),
            .widthTwips = layout.widthTwips,
            .heightTwips = layout.heightTwips,
            .icon = layout.icon,
            .inTaskBar = layout.inTaskBar}),
      m_layout(layout) {
    // Set explicitly, so that the texts inside the boxes take it rather than the captions'.
    setFont(pageFont());
    m_built = build(layout.controls);
    auto* boxStyle = new BoxStyle;
    boxStyle->setParent(this);
    for (QGroupBox* box : findChildren<QGroupBox*>())
        box->setStyle(boxStyle);
    // Instructions are plain text, read from the top; their quotes and double blanks stay.
    for (QLabel* label : findChildren<QLabel*>()) {
        label->setTextFormat(Qt::PlainText);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    }
    showPictures();
    drawLines();
    // A page is read, not worked: a stray key closes nothing.
    opensOn(nullptr);
}

QPoint TutorialPage::pictureOrigin(const PagePicture& picture) const {
    const QWidget* label = m_built.find(QString::fromUtf8(picture.control));
    if (!label)
        return {};
    const QSize spare = label->size() - QSize(picture.width, picture.height);
    return label->pos() + QPoint(spare.width() / 2, spare.height() / 2);
}

void TutorialPage::showPictures() {
    for (const PagePicture& picture : m_layout.pictures) {
        auto* label = m_built.get<QLabel>(picture.control);
        // A sharper rendering beside the picture, name@2x.png, serves screens of more pixels.
        const QPixmap pixmap =
            QIcon(pictureFile(picture.file, "png"))
                .pixmap(QSize(picture.width, picture.height), label->devicePixelRatioF());
        if (pixmap.isNull())
            qCWarning(lcUi) << "tutorial picture missing:" << picture.file;
        label->setScaledContents(false);
        label->setAlignment(Qt::AlignCenter);
        // A box larger than its picture is the picture's sunken border.
        const int border =
            std::min(label->width() - picture.width, label->height() - picture.height) / 2;
        if (border > 0) {
            label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
            label->setLineWidth(border);
        }
        label->setPixmap(pixmap);
    }
}

void TutorialPage::drawLines() {
    const std::vector<DrawnLine> routed =
        readRoutedLines(pictureFile(routedLinesFile, "json"), objectName());
    for (size_t i = 0; i < m_layout.lines.size(); ++i) {
        const PointerLine& pointer = m_layout.lines[i];
        // Lines routed for another table would point at the wrong controls.
        if (i >= routed.size() || routed[i].box != QString::fromUtf8(pointer.box) ||
            routed[i].target != QString::fromUtf8(pointer.target)) {
            qCWarning(lcUi) << "tutorial line not drawn:" << pointer.box << "to" << pointer.target;
            continue;
        }
        m_lines.push_back(routed[i]);
    }
    auto* layer = new LineLayer(this, m_lines);
    layer->raise();
    // Lines pass under the buttons.
    for (QPushButton* button : findChildren<QPushButton*>())
        button->raise();
}

void TutorialPage::closeOn(const char* button) {
    connect(m_built.get<QPushButton>(button), &QPushButton::clicked, this, &Form::hideAndUnload);
}

std::function<void()> TutorialPage::returnTo(Form& opener) {
    return [back = QPointer<Form>(&opener)] {
        if (back && back->isVisible()) {
            back->raise();
            back->activateWindow();
        }
    };
}

} // namespace tunevane
