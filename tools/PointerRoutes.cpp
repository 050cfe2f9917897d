// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "PointerRoutes.h"

#include <QLineF>
#include <QRectF>
#include <algorithm>
#include <cmath>
#include <numeric>
#include <optional>

namespace tunevane::routes {

namespace {

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
               const Surroundings& around) {
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

} // namespace

Route pointerLine(const QRect& box, const QRect& target, const Surroundings& around) {
    std::optional<Route> best;
    for (const QPoint& end : ends(target)) {
        for (const QPoint& start : starts(box, end, around.caption)) {
            const Route route{{start, end}, hindrances({start, end}, box, target, around)};
            const auto rank = [](const Route& r) {
                return std::pair(r.hindrances, QLineF(r.line).length());
            };
            if (!best || rank(route) < rank(*best))
                best = route;
        }
    }
    // A box that the target surrounds or touches has no outward side: straight to the middle.
    return best.value_or(Route{{box.center(), target.center()}, 1});
}

// Each line keeps clear of the lines routed before it. One that finds no clear route is routed
// first in the next attempt; the attempt with the fewest hindrances wins.
std::vector<Route> routePage(const Page& page) {
    const std::vector<QRect>& shown = page.shown;
    std::vector<size_t> order(page.pointers.size());
    std::iota(order.begin(), order.end(), size_t{0});
    std::vector<Route> best;
    const auto total = [](const std::vector<Route>& routes) {
        int sum = 0;
        for (const Route& route : routes)
            sum += route.hindrances;
        return sum;
    };
    // What each line must keep clear of, but the other lines, is the same in every attempt.
    std::vector<bool> holdsAnother(shown.size());
    for (size_t i = 0; i < shown.size(); ++i) {
        holdsAnother[i] = std::ranges::any_of(shown, [&](const QRect& other) {
            return other != shown[i] && shown[i].contains(other);
        });
    }
    std::vector<Surroundings> surroundings(page.pointers.size());
    for (size_t index = 0; index < page.pointers.size(); ++index) {
        const Page::Pointer& pointer = page.pointers[index];
        Surroundings& around = surroundings[index];
        for (size_t i = 0; i < shown.size(); ++i) {
            // Frames are crossed to reach what they hold, and the target's parts on the way
            // in; only their borders are kept clear of.
            const QRect& control = shown[i];
            const bool frame = holdsAnother[i] || control.contains(pointer.target) ||
                               pointer.target.contains(control);
            (frame ? around.borders : around.obstacles).push_back(control);
        }
        for (size_t i = 0; i < page.controls.size(); ++i) {
            if (i != pointer.box)
                around.walls.push_back(page.controls[i]);
        }
        around.borders.insert(around.borders.end(), page.pictures.begin(), page.pictures.end());
        around.caption = pointer.caption;
    }
    for (size_t attempt = 0;
         attempt <= page.pointers.size() && (best.empty() || total(best) >= misleading);
         ++attempt) {
        std::vector<Route> routes(page.pointers.size());
        std::vector<QLine> drawn;
        for (size_t index : order) {
            Surroundings around = surroundings[index];
            around.lines = drawn;
            const Page::Pointer& pointer = page.pointers[index];
            routes[index] = pointerLine(page.controls[pointer.box], pointer.target, around);
            drawn.push_back(routes[index].line);
        }
        if (best.empty() || total(routes) < total(best))
            best = routes;
        const auto hindered = std::ranges::find_if(
            order, [&](size_t index) { return routes[index].hindrances >= misleading; });
        if (hindered != order.end())
            std::rotate(order.begin(), hindered, hindered + 1);
    }
    return best;
}

} // namespace tunevane::routes
