// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Audio timings. Run through bench/audio.sh, which makes the media first:
//   AudioBench --make-media DIR       writes DIR/big.wav (10 MB), song.mid, other.mid,
//                                     dense.mid (1 MB, every note at tick 0) and song.wav
//   AudioBench --clicks DIR           player open times in one process: a 10 MB WAV, the
//                                     first MIDI click after the bank warmed up in the
//                                     background, later MIDI clicks (ms, one per line)
//   AudioBench --cold DIR             first load of the audio layer, then a MIDI open that
//                                     has to load the bank itself (ms, one per line)
//   AudioBench --render FILE.mid      renders a song to the end, for timing as a process
//   AudioBench --players A B          peak RSS (KiB) with two players holding files
//   AudioBench --players              the same process with no player, for reference
//   AudioBench --stall FILE.mid       plays FILE while pausing and resuming; prints the
//                                     longest the window thread went without an event and
//                                     the longest command (ms)
//   AudioBench --stall                the same loop with nothing playing, for reference
//   AudioBench --silent-server DIR    the same loop, then the player dropped, while the sound
//                                     server takes the connection and never answers; prints
//                                     the longest the window thread went without an event
//   AudioBench --stopped-server DIR PID
//                                     the same with a real server, PID, that stops (SIGSTOP)
//                                     while a sound plays; it goes on (SIGCONT) at the end
//   AudioBench --exit DIR PID DISPLAY the real program on X server DISPLAY plays DIR/song.mid
//                                     through the sound server PID, which stops (SIGSTOP)
//                                     before Pause and Play are clicked, then Exit Program;
//                                     prints the ms from that click to the program's end and
//                                     its exit status. With PID 0 the server goes on answering
//   AudioBench [benchmark flags]      source-level open times, with TUNEVANE_BENCH_MEDIA=DIR

#include "../tests/audio/TestMedia.h"
#include "../tests/support/RealProgram.h"
#include "BenchMain.h"
#include "StallWatch.h"
#include "app/App.h"
#include "audio/MidiSource.h"
#include "audio/WavSource.h"
#include "selection/FrmMidi.h"
#include "selection/PreviewPlayer.h"
#include "start/FrmSplash.h"
#include "start/Start.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <utility>

namespace {

using tunevane::PreviewPlayer;

QString media(const char* name) {
    return qEnvironmentVariable("TUNEVANE_BENCH_MEDIA") + u'/' + QString::fromLatin1(name);
}

// Four instruments and drums, busy enough to load the synthesiser.
QByteArray busySong(int bars) {
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
    // 16-bit stereo at 44.1 kHz: 10 MB (10^7 bytes) is about 57 s.
    const int frames = 10 * 1000 * 1000 / 4;
    const bool ok = testmedia::writeWav(dir + QStringLiteral("/big.wav"), SF_FORMAT_PCM_16, 44100,
                                        2, testmedia::sine(frames, 44100, 2)) &&
                    testsupport::writeFile(dir + QStringLiteral("/song.mid"), busySong(30)) &&
                    testsupport::writeFile(dir + QStringLiteral("/other.mid"), busySong(8)) &&
                    testsupport::writeFile(dir + QStringLiteral("/dense.mid"),
                                           testmedia::denseMidi(1024 * 1024)) &&
                    testmedia::writeWav(dir + QStringLiteral("/song.wav"), SF_FORMAT_PCM_16, 22050,
                                        1, testmedia::sine(22050, 22050, 1));
    return ok ? 0 : 1;
}

// What a file click does to a player, timed.
double clickMs(PreviewPlayer& player, const QString& type, const QString& path) {
    QElapsedTimer clock;
    clock.start();
    player.setProperty("Command", QStringLiteral("close"));
    player.setProperty("DeviceType", type);
    player.setProperty("FileName", path);
    player.setProperty("Command", QStringLiteral("open"));
    const double ms = double(clock.nsecsElapsed()) / 1e6;
    return player.property("Mode").toString() == u"stopped" ? ms : -1;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

int clicks(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString dir = QString::fromLocal8Bit(argv[2]);
    const QString wave = QStringLiteral("WaveAudio"), sequencer = QStringLiteral("Sequencer");
    // As a music window loads: the placeholder open loads the audio layer and starts the
    // bank loading in the background; the user's first click comes later.
    PreviewPlayer player;
    clickMs(player, sequencer, QStringLiteral("SelectedFile"));
    QElapsedTimer pause;
    pause.start();
    while (pause.elapsed() < 500)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    const double firstMidi = clickMs(player, sequencer, dir + QStringLiteral("/song.mid"));
    std::vector<double> wav, midi;
    for (int i = 0; i < 21; ++i) {
        wav.push_back(clickMs(player, wave, dir + QStringLiteral("/big.wav")));
        midi.push_back(clickMs(player, sequencer, dir + QStringLiteral("/song.mid")));
    }
    if (firstMidi < 0 || *std::min_element(wav.begin(), wav.end()) < 0 ||
        *std::min_element(midi.begin(), midi.end()) < 0)
        return 1;
    std::printf("%.3f\n%.3f\n%.3f\n", median(wav), firstMidi, median(midi));
    return 0;
}

int cold(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString dir = QString::fromLocal8Bit(argv[2]);
    PreviewPlayer player;
    // A WAV first: the audio layer loads, the bank does not.
    const double layer =
        clickMs(player, QStringLiteral("WaveAudio"), dir + QStringLiteral("/big.wav"));
    const double midi =
        clickMs(player, QStringLiteral("Sequencer"), dir + QStringLiteral("/song.mid"));
    if (layer < 0 || midi < 0)
        return 1;
    std::printf("%.3f\n%.3f\n", layer, midi);
    return 0;
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
    std::vector<std::unique_ptr<PreviewPlayer>> open;
    for (int i = 2; i < argc; ++i) {
        open.push_back(std::make_unique<PreviewPlayer>());
        if (clickMs(*open.back(), QStringLiteral("Sequencer"), QString::fromLocal8Bit(argv[i])) < 0)
            return 1;
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("%ld\n", usage.ru_maxrss);
    return 0;
}

int stall(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (!PreviewPlayer::outputAvailable()) {
        std::fprintf(stderr, "no sound output\n");
        return 1;
    }
    // With no file the same loop runs with nothing playing: the machine's own noise.
    const bool idle = argc < 3;
    PreviewPlayer player;
    if (!idle && clickMs(player, QStringLiteral("Sequencer"), QString::fromLocal8Bit(argv[2])) < 0)
        return 1;
    player.setProperty("Command", QStringLiteral("Play"));
    qint64 longestCommand = 0;
    StallWatch watch;
    // Commands cross to the audio thread and wait there: they are part of the stall.
    QTimer toggle;
    toggle.setInterval(250);
    QObject::connect(&toggle, &QTimer::timeout, [&] {
        const bool playing = player.property("Mode").toString() == u"playing";
        const qint64 before = watch.clock.nsecsElapsed();
        player.setProperty("Command", playing ? QStringLiteral("Pause") : QStringLiteral("Play"));
        longestCommand = std::max(longestCommand, watch.clock.nsecsElapsed() - before);
    });
    QTimer::singleShot(4000, &app, &QCoreApplication::quit);
    watch.tick.start();
    toggle.start();
    QApplication::exec();
    std::printf("%.3f\n%.3f\n", watch.longestMs(), double(longestCommand) / 1e6);
    return 0;
}

// Opens a WAV, runs `meanwhile`, clicks through the player's commands and then drops the
// player, as a closing window does; prints the longest the window thread went without an event.
int commandsThenClose(QApplication& app, const QString& dir,
                      const std::function<void(PreviewPlayer&)>& meanwhile) {
    auto player = std::make_unique<PreviewPlayer>();
    if (clickMs(*player, QStringLiteral("WaveAudio"), dir + QStringLiteral("/song.wav")) < 0)
        return 1;
    meanwhile(*player);
    StallWatch watch;
    const char* commands[] = {"Play", "Pause", "Play", "Stop", "Prev"};
    int next = 0;
    QTimer toggle;
    toggle.setInterval(100);
    QObject::connect(&toggle, &QTimer::timeout, [&] {
        if (player)
            player->setProperty("Command", QString::fromLatin1(commands[next++ % 5]));
    });
    QTimer::singleShot(1500, [&] { player.reset(); });
    QTimer::singleShot(2000, &app, &QCoreApplication::quit);
    watch.tick.start();
    toggle.start();
    QApplication::exec();
    std::printf("%.3f\n", watch.longestMs());
    return 0;
}

int silentServer(int argc, char** argv) {
    // A socket that takes connections and never answers them, named before the audio layer
    // first looks for a server.
    const QByteArray path = QFile::encodeName(QString::fromLocal8Bit(argv[2]) + u"/silent");
    const int server = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.constData(), sizeof address.sun_path - 1);
    if (server < 0 || ::bind(server, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(server, 16) != 0)
        return 1;
    qputenv("PULSE_SERVER", "unix:" + path);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    return commandsThenClose(app, QString::fromLocal8Bit(argv[2]), [](PreviewPlayer&) {});
}

int stoppedServer(int argc, char** argv) {
    // The server answered and a sound is playing when it stops, as under SIGSTOP or a
    // debugger; it goes on only after the figure is taken, so that the program can end.
    const pid_t server = static_cast<pid_t>(std::atoll(argv[3]));
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (!PreviewPlayer::outputAvailable())
        return 1;
    const int status =
        commandsThenClose(app, QString::fromLocal8Bit(argv[2]), [&](PreviewPlayer& player) {
            player.setProperty("Command", QStringLiteral("Play"));
            QEventLoop playing;
            QTimer::singleShot(300, &playing, &QEventLoop::quit);
            playing.exec();
            ::kill(server, SIGSTOP);
        });
    ::kill(server, SIGCONT);
    return status;
}

// Into the music window of `program`, whose first game file plays until `playing` says so;
// then `meanwhile` runs and Pause and Play are clicked. The controls are found where `twin`,
// the same program made in this process offscreen, has them. Returns the music window and its
// Exit Program button; "" on failure.
std::pair<QString, const QWidget*> playPauseAndPlay(testsupport::RealProgram& program,
                                                    tunevane::App& twin,
                                                    const std::function<bool()>& playing,
                                                    const std::function<void()>& meanwhile) {
    tunevane::start(twin);
    const QWidget* splash = twin.forms().find<tunevane::FrmSplash>();
    tunevane::FrmMidi& music = twin.forms().get<tunevane::FrmMidi>();
    music.show();
    program.click(program.window(splash->windowTitle()),
                  splash->findChild<QWidget*>(QStringLiteral("CmdEntermidi")));
    const QString shown = program.window(music.windowTitle());
    const auto* files = music.findChild<QAbstractItemView*>(QStringLiteral("FleMidi2"));
    const auto* player = music.findChild<QWidget*>(QStringLiteral("MMControlMidi2"));
    if (shown.isEmpty() || !files || !player)
        return {};
    // The file list fills off the window thread: click again until the sound runs.
    bool started = false;
    for (int attempt = 0; attempt < 10 && !started; ++attempt) {
        program.click(shown, files->viewport(),
                      {files->viewport()->width() / 2, files->fontMetrics().height() / 2});
        program.click(shown, player->findChild<QWidget*>(QStringLiteral("Play")));
        started = QTest::qWaitFor(playing, 5000);
    }
    if (!started)
        return {};
    meanwhile();
    program.click(shown, player->findChild<QWidget*>(QStringLiteral("Pause")));
    program.click(shown, player->findChild<QWidget*>(QStringLiteral("Play")));
    return {shown, music.findChild<QWidget*>(QStringLiteral("CmdExit1"))};
}

int exitTime(int argc, char** argv) {
    const pid_t server = static_cast<pid_t>(std::atoll(argv[3]));
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // The offscreen copies of the windows cannot be raised, and need not be.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString& message) {
        if (!message.startsWith(u"This plugin does not support"))
            std::fprintf(stderr, "%s\n", qPrintable(message));
    });
    // Its own folder, where the song is the only MIDI file and so the first.
    QTemporaryDir folder;
    if (!QFile::copy(QString::fromLocal8Bit(argv[2]) + QStringLiteral("/song.mid"),
                     folder.filePath(QStringLiteral("SONG.MID"))))
        return 1;
    // The sound tools get no X server: they would ask it for the sound server's address.
    QProcessEnvironment sound = QProcessEnvironment::systemEnvironment();
    sound.remove(QStringLiteral("DISPLAY"));
    QProcessEnvironment environment = sound;
    environment.insert(QStringLiteral("DISPLAY"), QString::fromLocal8Bit(argv[4]));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    environment.insert(QStringLiteral("HOME"), folder.path());
    environment.insert(QStringLiteral("XDG_DATA_HOME"), folder.filePath(QStringLiteral("data")));
    testsupport::RealProgram program(environment, folder.path());
    if (!program.start(QCoreApplication::applicationDirPath() + QStringLiteral("/../bin/tunevane")))
        return 1;
    // The server also carries a silent stream of its own: this one is the program's.
    const QString stream =
        u"application.process.id = \"" + QString::number(program.process().processId()) + u'"';
    const auto playing = [&] {
        return testsupport::toolOutput(QStringLiteral("pactl"),
                                       {QStringLiteral("list"), QStringLiteral("sink-inputs")},
                                       sound)
            .value_or(QString())
            .contains(stream);
    };
    QTemporaryDir twinFolder;
    tunevane::App twin(twinFolder.path());
    const auto [music, exitButton] = playPauseAndPlay(program, twin, playing, [&] {
        if (server > 0)
            ::kill(server, SIGSTOP);
    });
    if (music.isEmpty())
        return 1;
    QElapsedTimer clock;
    clock.start();
    program.click(music, exitButton);
    const bool ended = program.process().waitForFinished(30000);
    const double ms = double(clock.nsecsElapsed()) / 1e6;
    if (server > 0)
        ::kill(server, SIGCONT);
    std::printf("%.3f\n%d\n", ms,
                ended && program.process().exitStatus() == QProcess::NormalExit
                    ? program.process().exitCode()
                    : -1);
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

} // namespace

int main(int argc, char** argv) {
    const auto is = [&](const char* mode) { return argc >= 2 && std::strcmp(argv[1], mode) == 0; };
    if (is("--make-media") && argc == 3)
        return makeMedia(QString::fromLocal8Bit(argv[2]));
    if (is("--clicks") && argc == 3)
        return clicks(argc, argv);
    if (is("--cold") && argc == 3)
        return cold(argc, argv);
    if (is("--render") && argc == 3)
        return render(QString::fromLocal8Bit(argv[2]));
    if (is("--players"))
        return players(argc, argv);
    if (is("--stall") && argc <= 3)
        return stall(argc, argv);
    if (is("--silent-server") && argc == 3)
        return silentServer(argc, argv);
    if (is("--stopped-server") && argc == 4)
        return stoppedServer(argc, argv);
    if (is("--exit") && argc == 5)
        return exitTime(argc, argv);
    return runBenchmarks(argc, argv);
}
