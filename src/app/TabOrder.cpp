// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/TabOrder.h"

#include <algorithm>
#include <numeric>

namespace tunevane {

namespace {

bool takesTab(const QWidget* widget, const QWidget* window) {
    return widget->window() == window && !widget->focusProxy() &&
           (widget->focusPolicy() & Qt::TabFocus) == Qt::TabFocus;
}

} // namespace

std::vector<size_t> readingOrder(std::span<const QRect> boxes) {
    std::vector<size_t> order(boxes.size());
    std::iota(order.begin(), order.end(), size_t{0});
    std::ranges::stable_sort(order, {}, [&](size_t i) { return boxes[i].top(); });
    for (auto row = order.begin(); row != order.end();) {
        const int bottom = boxes[*row].bottom();
        const auto next =
            std::find_if(row, order.end(), [&](size_t i) { return boxes[i].top() > bottom; });
        std::stable_sort(row, next,
                         [&](size_t a, size_t b) { return boxes[a].left() < boxes[b].left(); });
        row = next;
    }
    return order;
}

void orderTabChain(QWidget* window, std::span<const QPointer<QWidget>> leads) {
    std::vector<QWidget*> chain;
    const auto add = [window, &chain](QWidget* top) {
        QList<QWidget*> candidates = top->findChildren<QWidget*>();
        candidates << top;
        std::vector<QWidget*> stops;
        std::vector<QRect> boxes;
        for (QWidget* widget : std::as_const(candidates)) {
            if (takesTab(widget, window) && std::ranges::find(chain, widget) == chain.end()) {
                stops.push_back(widget);
                boxes.emplace_back(widget->mapTo(window, QPoint()), widget->size());
            }
        }
        for (size_t i : readingOrder(boxes))
            chain.push_back(stops[i]);
    };
    for (QWidget* lead : leads)
        if (lead)
            add(lead);
    add(window);
    for (size_t i = 1; i < chain.size(); ++i)
        QWidget::setTabOrder(chain[i - 1], chain[i]);
    // The window would start at the first control made, wherever it lies.
    if (!chain.empty() && !window->focusWidget())
        chain.front()->setFocus(Qt::ActiveWindowFocusReason);
}

} // namespace tunevane
