// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Copies every file of one folder into another as one copy run, the way a switch does, for
// bench/copy.sh to time against cp. Usage: CopyTiming SOURCE_FOLDER DESTINATION_FOLDER
// Prints the nanoseconds the run spent checking each copy against its source.

#include "files/FileOps.h"
#include "files/Path.h"

#include <QDir>
#include <QElapsedTimer>

#include <cstdio>

int main(int argc, char** argv) {
    using namespace tunevane::files;
    if (argc != 3) {
        std::fputs("usage: CopyTiming SOURCE_FOLDER DESTINATION_FOLDER\n", stderr);
        return 2;
    }
    const QString from = decodeName(QByteArray(argv[1]));
    const QString to = decodeName(QByteArray(argv[2]));
    QList<CopyPair> pairs;
    for (const QString& name : QDir(from).entryList(QDir::Files, QDir::Name))
        pairs << CopyPair{from + u'/' + name, to + u'/' + name};
    QElapsedTimer clock;
    qint64 checking = 0;
    qint64 started = 0;
    clock.start();
    setCopyHooks(
        {.afterRead = [&](const QString&) { started = clock.nsecsElapsed(); },
         .afterCheck = [&](const QString&) { checking += clock.nsecsElapsed() - started; }});
    const bool copied = !pairs.isEmpty() && copyRun(pairs).copied == pairs.size();
    std::printf("%lld\n", static_cast<long long>(checking));
    return copied ? 0 : 1;
}
