// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <algorithm>

// The longest gap between the ticks of a 1 ms timer on the window thread, once `tick` runs.
struct StallWatch {
    StallWatch() {
        clock.start();
        last = clock.nsecsElapsed();
        tick.setTimerType(Qt::PreciseTimer);
        tick.setInterval(1);
        QObject::connect(&tick, &QTimer::timeout, [this] {
            const qint64 now = clock.nsecsElapsed();
            longest = std::max(longest, now - last);
            last = now;
        });
    }
    // The timer's own interval is not a stall.
    double longestMs() const { return double(longest) / 1e6 - 1.0; }

    QElapsedTimer clock;
    QTimer tick;
    qint64 last = 0, longest = 0;
};
