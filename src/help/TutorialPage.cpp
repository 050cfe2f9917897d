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
#include <QStyleOptionGroupBox>
#include <algorithm>
#include <numeric>
#include <qdrawutil.h>

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

// Classic frames: the caption sits on the top border, which leaves the texts inside the room
// that the page tables give them.
class BoxStyle : public QProxyStyle {
public:
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

QRect captionRect(const QGroupBox* box) {
    QStyleOptionGroupBox option;
    option.initFrom(box);
    option.text = box->title();
    option.textAlignment = box->alignment();
    option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
    return box->style()
        ->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, box)
        .translated(box->pos());
}

// A line may cross a border, but steeply: no more than this many pixels of it lie within
// borderBand of any one edge.
constexpr int borderBand = 2;
constexpr double alongLimit = 6;

QRectF closedRect(const QRect& rect) {
    return {QPointF(rect.topLeft()), QPointF(rect.bottomRight())};
}

// The stretch of the segment that lies in `area`, in the segment's longer axis' pixels.
double lengthIn(const QLineF& line, const QRectF& area) {
    double from = 0, to = 1;
    const auto bound = [&](double p, double q) { // the part where p * t <= q
        if (p == 0)
            to = q < 0 ? -1 : to;
        else if (p < 0)
            from = std::max(from, q / p);
        else
            to = std::min(to, q / p);
    };
    bound(-line.dx(), line.x1() - area.left());
    bound(line.dx(), area.right() - line.x1());
    bound(-line.dy(), line.y1() - area.top());
    bound(line.dy(), area.bottom() - line.y1());
    return from > to ? -1 : (to - from) * std::max(std::abs(line.dx()), std::abs(line.dy()));
}

bool runsAlong(const QLineF& line, const QRect& rect) {
    const QRectF r = closedRect(rect).adjusted(-borderBand, -borderBand, borderBand, borderBand);
    const double band = 2 * borderBand;
    const QRectF edges[] = {{r.left(), r.top(), r.width(), band},
                            {r.left(), r.bottom() - band, r.width(), band},
                            {r.left(), r.top(), band, r.height()},
                            {r.right() - band, r.top(), band, r.height()}};
    return std::ranges::any_of(edges,
                               [&](const QRectF& e) { return lengthIn(line, e) > alongLimit; });
}

double distance(const QLineF& line, const QPointF& point) {
    const QPointF d = line.p2() - line.p1();
    const double t = std::clamp(QPointF::dotProduct(point - line.p1(), d) /
                                    std::max(QPointF::dotProduct(d, d), 1e-9),
                                0.0, 1.0);
    return QLineF(line.p1() + t * d, point).length();
}

bool near(const QLineF& a, const QLineF& b) {
    if (a.intersects(b) == QLineF::BoundedIntersection)
        return true;
    return std::min({distance(a, b.p1()), distance(a, b.p2()), distance(b, a.p1()),
                     distance(b, a.p2())}) <= borderBand;
}

// Crossing a control hides a little of it; a line along a border or across another line
// misleads, so any number of crossings is better than one of those; and one of those is
// better than a line through another box's text.
constexpr int misleading = 100;

int hindrances(const QLine& line, const QRect& box, const QRect& target,
               const LineSurroundings& around) {
    const QLineF segment(line);
    int count = misleading * (runsAlong(segment, box) + runsAlong(segment, target));
    for (const QRect& obstacle : around.obstacles) {
        count += runsAlong(segment, obstacle) ? misleading
                                              : int(lengthIn(segment, closedRect(obstacle)) >= 0);
    }
    for (const QRect& wall : around.walls)
        count += lengthIn(segment, closedRect(wall)) >= 0 ? 10 * misleading
                                                          : misleading * runsAlong(segment, wall);
    for (const QRect& border : around.borders)
        count += misleading * runsAlong(segment, border);
    for (const QLine& other : around.lines)
        count += misleading * near(segment, QLineF(other));
    return count;
}

// Where a line may leave `box`: off its corners, and off the caption.
std::vector<QPoint> starts(const QRect& box, const QPoint& end, const QRect& caption) {
    const int inset = borderBand + 1;
    std::vector<QPoint> points;
    const auto along = [&](QPoint from, QPoint to, bool outward) {
        if (!outward)
            return;
        const QLine side(from, to);
        const bool horizontal = side.dy() == 0;
        const int lo = horizontal ? from.x() : from.y(), hi = horizontal ? to.x() : to.y();
        if (hi < lo)
            return;
        const int nearest = std::clamp(horizontal ? end.x() : end.y(), lo, hi);
        for (int at : {nearest, lo, hi, (lo + hi) / 2})
            points.push_back(horizontal ? QPoint(at, from.y()) : QPoint(from.x(), at));
    };
    const QRect inner = box.adjusted(inset, inset, -inset, -inset);
    const bool captionOnTop = caption.isValid() && caption.intersects(box);
    const int captionLeft = captionOnTop ? caption.left() - inset : inner.right() + 1;
    const int captionRight = captionOnTop ? caption.right() + inset : inner.right();
    along({inner.left(), box.top()}, {std::min(captionLeft, inner.right()), box.top()},
          end.y() < box.top());
    along({captionRight, box.top()}, {inner.right(), box.top()}, end.y() < box.top());
    along({inner.left(), box.bottom()}, {inner.right(), box.bottom()}, end.y() > box.bottom());
    along({box.left(), inner.top()}, {box.left(), inner.bottom()}, end.x() < box.left());
    along({box.right(), inner.top()}, {box.right(), inner.bottom()}, end.x() > box.right());
    return points;
}

// The centre third of `target`: its corners, edge midpoints and middle.
std::vector<QPoint> ends(const QRect& target) {
    const int x0 = target.left() + target.width() / 3, x2 = target.right() - target.width() / 3;
    const int y0 = target.top() + target.height() / 3, y2 = target.bottom() - target.height() / 3;
    std::vector<QPoint> points;
    for (int x : {x0, (x0 + x2) / 2, x2}) {
        for (int y : {y0, (y0 + y2) / 2, y2})
            points.emplace_back(x, y);
    }
    return points;
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

PointerRoute pointerLine(const QRect& box, const QRect& target, const LineSurroundings& around) {
    std::optional<PointerRoute> best;
    for (const QPoint& end : ends(target)) {
        for (const QPoint& start : starts(box, end, around.caption)) {
            const PointerRoute route{{start, end}, hindrances({start, end}, box, target, around)};
            const auto rank = [](const PointerRoute& r) {
                return std::pair(r.hindrances, QLineF(r.line).length());
            };
            if (!best || rank(route) < rank(*best))
                best = route;
        }
    }
    // A box that the target surrounds or touches has no outward side: straight to the middle.
    return best.value_or(PointerRoute{{box.center(), target.center()}, 1});
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
    std::vector<QRect> controls; // every control of the pictures, in page pixels
    QHash<QString, QRect> targets;
    for (const PagePicture& picture : m_layout.pictures) {
        const auto read = readPictureControls(pictureFile(picture.file, "json"));
        if (!read)
            continue;
        for (auto it = read->rects.begin(); it != read->rects.end(); ++it) {
            controls.push_back(it.value().translated(pictureOrigin(picture)));
            targets.insert(it.key(), controls.back());
        }
    }
    std::vector<std::pair<const QGroupBox*, QRect>> lines;
    for (const PointerLine& pointer : m_layout.lines) {
        const QGroupBox* box = boxCaptioned(this, QString::fromUtf8(pointer.box));
        const auto target = targets.constFind(QString::fromUtf8(pointer.target));
        if (!box || target == targets.cend() || box->geometry().intersects(*target)) {
            qCWarning(lcUi) << "tutorial line not drawn:" << pointer.box << "to" << pointer.target;
            continue;
        }
        m_lines.push_back({box->title(), target.key(), {}});
        lines.emplace_back(box, *target);
    }
    route(lines, controls);
    auto* layer = new LineLayer(this, m_lines);
    layer->raise();
    // Lines pass under the buttons.
    for (QPushButton* button : findChildren<QPushButton*>())
        button->raise();
}

// Each line keeps clear of the lines routed before it. One that finds no clear route is routed
// first in the next attempt; the attempt with the fewest hindrances wins.
void TutorialPage::route(const std::vector<std::pair<const QGroupBox*, QRect>>& lines,
                         const std::vector<QRect>& controls) {
    std::vector<size_t> order(lines.size());
    std::iota(order.begin(), order.end(), size_t{0});
    std::vector<PointerRoute> best;
    const auto total = [](const std::vector<PointerRoute>& routes) {
        int sum = 0;
        for (const PointerRoute& route : routes)
            sum += route.hindrances;
        return sum;
    };
    // What each line must keep clear of, but the other lines, is the same in every attempt.
    std::vector<bool> holdsAnother(controls.size());
    for (size_t i = 0; i < controls.size(); ++i) {
        holdsAnother[i] = std::ranges::any_of(controls, [&](const QRect& other) {
            return other != controls[i] && controls[i].contains(other);
        });
    }
    std::vector<LineSurroundings> surroundings(lines.size());
    for (size_t index = 0; index < lines.size(); ++index) {
        const auto& [box, target] = lines[index];
        LineSurroundings& around = surroundings[index];
        for (size_t i = 0; i < controls.size(); ++i) {
            // Frames are crossed to reach what they hold, and the target's parts on the way
            // in; only their borders are kept clear of.
            const QRect& control = controls[i];
            const bool frame =
                holdsAnother[i] || control.contains(target) || target.contains(control);
            (frame ? around.borders : around.obstacles).push_back(control);
        }
        for (const QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (child == box || child->isHidden())
                continue;
            const bool picture = std::ranges::any_of(m_layout.pictures, [&](const auto& p) {
                return child->objectName() == QLatin1String(p.control);
            });
            (picture ? around.borders : around.walls).push_back(child->geometry());
        }
        around.caption = captionRect(box);
    }
    for (size_t attempt = 0; attempt <= lines.size() && (best.empty() || total(best) >= misleading);
         ++attempt) {
        std::vector<PointerRoute> routes(lines.size());
        std::vector<QLine> drawn;
        for (size_t index : order) {
            LineSurroundings around = surroundings[index];
            around.lines = drawn;
            routes[index] =
                pointerLine(lines[index].first->geometry(), lines[index].second, around);
            drawn.push_back(routes[index].line);
        }
        if (best.empty() || total(routes) < total(best))
            best = routes;
        const auto hindered = std::ranges::find_if(
            order, [&](size_t index) { return routes[index].hindrances >= misleading; });
        if (hindered != order.end())
            std::rotate(order.begin(), hindered, hindered + 1);
    }
    for (size_t i = 0; i < best.size(); ++i) {
        m_lines[i].line = best[i].line;
        if (best[i].hindrances > 0)
            qCInfo(lcUi) << "tutorial line without a clear route:" << m_lines[i].box;
    }
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
