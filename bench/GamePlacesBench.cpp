// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "BenchMain.h"
#include "games/GamePlaces.h"

#include <QString>

#include <cstdio>

namespace {

QString benchHome() {
    return QString::fromLocal8Bit(qgetenv("TUNEVANE_BENCH_HOME"));
}

// What each opening of a drive list costs its search thread: every library list and
// manifest read, every game folder resolved.
void findGamePlaces(benchmark::State& state) {
    const QString home = benchHome();
    qsizetype found = 0;
    for (auto _ : state) {
        found = tunevane::games::findGamePlaces(home, {}).size();
        benchmark::DoNotOptimize(found);
    }
    if (found != state.range(0))
        state.SkipWithError("the search did not find every game");
}

} // namespace

BENCHMARK(findGamePlaces)->Arg(500)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    if (benchHome().isEmpty()) {
        std::fputs("set TUNEVANE_BENCH_HOME to a home holding games of the launchers\n", stderr);
        return 2;
    }
    return runBenchmarks(argc, argv);
}
