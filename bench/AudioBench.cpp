// Audio engine timings. Run through bench/audio.sh, which makes the media first:
//   AudioBench --make-media DIR      writes DIR/big.wav (10 MB) and DIR/song.mid
//   AudioBench --render FILE.mid     renders a song to the end, for timing as a process
//   AudioBench --players A.mid B.mid peak RSS (KiB) with two players open on MIDI files
//   AudioBench --players             the same process with no player, for reference
//   AudioBench --rendered A.mid B.mid peak RSS (KiB) once both songs have been rendered
//   AudioBench [benchmark flags]     open times, with TUNEVANE_BENCH_MEDIA=DIR

#include "../tests/audio/TestMedia.h"
#include "audio/MidiSource.h"
#include "audio/WavSource.h"
#include "selection/PreviewPlayer.h"

#include <QApplication>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstring>
#include <sys/resource.h>

namespace {

QString media(const char* name) {
    return qEnvironmentVariable("TUNEVANE_BENCH_MEDIA") + u'/' + QString::fromLatin1(name);
}

// A minute of four instruments and drums, busy enough to load the synthesiser.
QByteArray busySong(int bars) {
    using testmedia::appendBe;
    using testmedia::appendDelta;
    QByteArray track;
    appendDelta(track, 0);
    track.append("\xff\x51\x03\x07\xa1\x20", 6);
    const int programs[] = {0, 33, 48, 73};
    for (int ch = 0; ch < 4; ++ch) {
        appendDelta(track, 0);
        track.append(char(0xc0 | ch));
        track.append(char(programs[ch]));
    }
    const int chord[] = {48, 52, 55, 60};
    for (int beat = 0; beat < bars * 4; ++beat) {
        const int root = (beat / 4) % 4 * 2;
        for (int ch = 0; ch < 4; ++ch) {
            appendDelta(track, 0);
            track.append(char(0x90 | ch));
            track.append(char(chord[ch] + root + 12 * (ch == 3)));
            track.append(char(90));
        }
        appendDelta(track, 0);
        track.append("\x99", 1);
        track.append(char(beat % 2 ? 38 : 36));
        track.append(char(110));
        appendDelta(track, 480);
        for (int ch = 0; ch < 4; ++ch) {
            track.append(char(0x80 | ch));
            track.append(char(chord[ch] + root + 12 * (ch == 3)));
            track.append(char(0));
            appendDelta(track, 0);
        }
        track.append("\x89", 1);
        track.append(char(beat % 2 ? 38 : 36));
        track.append(char(0));
    }
    return testmedia::standardMidiFile(track);
}

int makeMedia(const QString& dir) {
    // 16-bit stereo at 44.1 kHz: 10 MB is about 59 s.
    const int frames = 10 * 1000 * 1000 / 4;
    const bool ok = testmedia::writeWav(dir + QStringLiteral("/big.wav"), SF_FORMAT_PCM_16, 44100,
                                        2, testmedia::sine(frames, 44100, 2)) &&
                    testmedia::writeFile(dir + QStringLiteral("/song.mid"), busySong(30)) &&
                    testmedia::writeFile(dir + QStringLiteral("/other.mid"), busySong(8));
    return ok ? 0 : 1;
}

int render(const QString& path) {
    auto source = tunevane::MidiSource::open(path);
    if (!source)
        return 1;
    std::vector<qint16> block(2 * 4096);
    qint64 frames = 0;
    while (qint64 got = source->read(block.data(), 4096))
        frames += got;
    std::printf("%lld frames\n", static_cast<long long>(frames));
    return 0;
}

int players(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    std::vector<std::unique_ptr<tunevane::PreviewPlayer>> open;
    for (int i = 2; i < argc; ++i) {
        auto player = std::make_unique<tunevane::PreviewPlayer>();
        player->setProperty("DeviceType", QStringLiteral("Sequencer"));
        player->setProperty("FileName", QString::fromLocal8Bit(argv[i]));
        player->setProperty("Command", QStringLiteral("Open"));
        if (player->property("Mode").toString() != u"stopped")
            return 1;
        open.push_back(std::move(player));
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("%ld\n", usage.ru_maxrss);
    return 0;
}

// Sample data is loaded when an instrument is first played, so this is the worst case.
int rendered(int argc, char** argv) {
    std::vector<std::unique_ptr<tunevane::MidiSource>> sources;
    for (int i = 2; i < argc; ++i) {
        sources.push_back(tunevane::MidiSource::open(QString::fromLocal8Bit(argv[i])));
        if (!sources.back())
            return 1;
    }
    std::vector<qint16> block(2 * 4096);
    for (auto& source : sources) {
        while (source->read(block.data(), 4096) > 0) {
        }
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("%ld\n", usage.ru_maxrss);
    return 0;
}

void BM_WavOpen10MB(benchmark::State& state) {
    const QString path = media("big.wav");
    for (auto _ : state) {
        auto source = tunevane::WavSource::open(path);
        if (!source)
            state.SkipWithError("cannot open big.wav");
        benchmark::DoNotOptimize(source.get());
    }
}
BENCHMARK(BM_WavOpen10MB)->Unit(benchmark::kMillisecond);

// Reference: what opening would cost if it decoded the whole file.
void BM_WavDecodeWhole10MB(benchmark::State& state) {
    const QString path = media("big.wav");
    std::vector<qint16> block(2 * 8192);
    for (auto _ : state) {
        auto source = tunevane::WavSource::open(path);
        if (!source)
            state.SkipWithError("cannot open big.wav");
        while (source && source->read(block.data(), 8192) > 0) {
        }
        benchmark::DoNotOptimize(block.data());
    }
}
BENCHMARK(BM_WavDecodeWhole10MB)->Unit(benchmark::kMillisecond);

// Only meaningful as the first benchmark of a process: run it alone with a filter.
void BM_MidiOpenFirstLoad(benchmark::State& state) {
    const QString path = media("song.mid");
    for (auto _ : state) {
        auto source = tunevane::MidiSource::open(path);
        if (!source)
            state.SkipWithError("cannot open song.mid");
    }
}
BENCHMARK(BM_MidiOpenFirstLoad)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_MidiOpenLoaded(benchmark::State& state) {
    const QString path = media("song.mid");
    auto warm = tunevane::MidiSource::open(path);
    for (auto _ : state) {
        auto source = tunevane::MidiSource::open(path);
        if (!source)
            state.SkipWithError("cannot open song.mid");
    }
}
BENCHMARK(BM_MidiOpenLoaded)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--make-media") == 0)
        return makeMedia(QString::fromLocal8Bit(argv[2]));
    if (argc == 3 && std::strcmp(argv[1], "--render") == 0)
        return render(QString::fromLocal8Bit(argv[2]));
    if (argc >= 2 && std::strcmp(argv[1], "--players") == 0)
        return players(argc, argv);
    if (argc >= 2 && std::strcmp(argv[1], "--rendered") == 0)
        return rendered(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
