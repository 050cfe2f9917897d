// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "BenchMain.h"
#include "selection/BrowsingPane.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QDir>
#include <QWidget>

#include <cstdio>

namespace {

QString benchFolder() {
    return QString::fromLocal8Bit(qgetenv("TUNEVANE_BENCH_DIR"));
}

// From pointing the pane at the folder to its file list holding the laid-out matches.
void openLargeFolder(benchmark::State& state) {
    const QString folder = benchFolder();
    QWidget window;
    tunevane::BrowsingPane pane(
        &window, tunevane::FilePattern::Wav,
        {QStringLiteral("DrvWav1"), QStringLiteral("DirWav1"), QStringLiteral("FleWav1")},
        {QRect(0, 16, 121, 21), QRect(0, 40, 121, 66), QRect(0, 108, 121, 149)}, {},
        QDir::tempPath());
    window.show();
    const int expected = int(state.range(0));
    for (auto _ : state) {
        if (!pane.setFolder(folder)) {
            state.SkipWithError("the folder cannot be read");
            break;
        }
        pane.fileList()->doItemsLayout();
        benchmark::DoNotOptimize(pane.fileList()->model()->rowCount());
    }
    if (pane.fileList()->model()->rowCount() != expected)
        state.SkipWithError("the file list does not hold the expected number of entries");
}

} // namespace

BENCHMARK(openLargeFolder)->Arg(5000)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    if (benchFolder().isEmpty()) {
        std::fputs("set TUNEVANE_BENCH_DIR to a folder of 10,000 files, 5,000 of them .wav\n",
                   stderr);
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    return runBenchmarks(argc, argv);
}
