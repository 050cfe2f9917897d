#include "help/TutorialPage.h"

#include "app/App.h"
#include "app/Log.h"
#include "app/Ui.h"

#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QPainter>
#include <algorithm>

namespace tunevane {

namespace {

// Draws the page's pointer lines above the pictures and boxes; clicks go through it.
class LineLayer : public QWidget {
public:
    LineLayer(QWidget* page, const std::vector<TutorialPage::DrawnLine>& lines)
        : QWidget(page), m_lines(lines) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setGeometry(page->rect());
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setPen(QPen(palette().color(QPalette::WindowText), 1));
        for (const TutorialPage::DrawnLine& drawn : m_lines)
            painter.drawLine(drawn.line);
    }

private:
    const std::vector<TutorialPage::DrawnLine>& m_lines;
};

QPoint clampTo(const QRect& rect, const QPoint& point) {
    return {std::clamp(point.x(), rect.left(), rect.right()),
            std::clamp(point.y(), rect.top(), rect.bottom())};
}

QGroupBox* boxCaptioned(const QWidget* page, const QString& caption) {
    for (QGroupBox* box : page->findChildren<QGroupBox*>()) {
        if (box->title() == caption)
            return box;
    }
    return nullptr;
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

QLine pointerLine(const QRect& box, const QRect& target) {
    // End a few pixels inside the target, so the line visibly touches it.
    const int inset =
        std::max(0, std::min({3, (target.width() - 1) / 2, (target.height() - 1) / 2}));
    const QRect inner = target.adjusted(inset, inset, -inset, -inset);
    const QPoint end = clampTo(inner, clampTo(box, target.center()));
    // The box's point nearest to the end: the line meets the box there and nowhere else.
    return {clampTo(box, end), end};
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
    // Instructions are plain text, read from the top; their quotes and double blanks stay.
    for (QLabel* label : findChildren<QLabel*>()) {
        label->setTextFormat(Qt::PlainText);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    }
    showPictures();
    drawLines();
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
        const QPixmap pixmap(pictureFile(picture.file, "png"));
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
    std::vector<std::pair<const PagePicture*, PictureControls>> pictures;
    for (const PagePicture& picture : m_layout.pictures) {
        if (auto controls = readPictureControls(pictureFile(picture.file, "json")))
            pictures.emplace_back(&picture, std::move(*controls));
    }
    for (const PointerLine& pointer : m_layout.lines) {
        const QString caption = QString::fromUtf8(pointer.box);
        const QString target = QString::fromUtf8(pointer.target);
        const QGroupBox* box = boxCaptioned(this, caption);
        std::optional<QRect> rect;
        for (const auto& [picture, controls] : pictures) {
            if (controls.rects.contains(target)) {
                rect = controls.rects.value(target).translated(pictureOrigin(*picture));
                break;
            }
        }
        if (!box || !rect || box->geometry().intersects(*rect)) {
            qCWarning(lcUi) << "tutorial line not drawn:" << caption << "to" << target;
            continue;
        }
        m_lines.push_back({caption, target, pointerLine(box->geometry(), *rect)});
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
