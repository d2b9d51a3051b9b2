// Speed of the generator's long runs, each measured against the plain
// operation it is judged by, in the same run on the same machine:
//  - streaming generation against a plain buffered write of the same bytes
//    (goal: at most 2x its time);
//  - the exact shuffle of 10,000 values x 1,000 copies (goal: at most 10 s)
//    and, at 100,000 items, against moving items in a plain array (goal: at
//    least 100x faster);
//  - file completion against copying the same file (goal: at least half of
//    the copy's throughput).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <numeric>
#include <vector>

#include "cli_window.h"
#include "numbrook/engine.h"

namespace {

using Clock = std::chrono::steady_clock;
using numbrook::DialogKind;
using numbrook::Engine;
namespace control = numbrook::control;

// Each measured write starts with no dirty pages left by the one before, so
// neither side pays for the other's writeback.
void settle() {
    sync();
}

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

QTemporaryDir& scratch() {
    static QTemporaryDir dir;
    return dir;
}

QString scratchFile(const char* name) {
    return scratch().filePath(QString::fromLatin1(name));
}

double runGeneration(const QString& out, const char* count, const char* copies, bool shuffle) {
    numbrook::cli::CliWindow window;
    window.setEditText(control::kStartBox, QStringLiteral("35693803000000"));
    window.setEditText(control::kCountBox, QString::fromLatin1(count));
    window.setEditText(control::kCopiesBox, QString::fromLatin1(copies));
    window.setChecked(control::kShuffleCheck, shuffle);
    window.setDialogAnswer(DialogKind::Save, out);
    Engine engine(window);
    const auto start = Clock::now();
    const auto outcome = engine.GenerateBatch();
    const double seconds = secondsSince(start);
    if (outcome != numbrook::Outcome::Completed) std::fprintf(stderr, "generation failed\n");
    return seconds;
}

// The same number of bytes as the generation writes, 17-byte records through
// a stdio buffer of the generator's size.
double runPlainWrite(const QString& out, std::size_t records) {
    const auto start = Clock::now();
    std::FILE* file = std::fopen(QFile::encodeName(out).constData(), "wb");
    static char buffer[1 << 20];
    std::setvbuf(file, buffer, _IOFBF, sizeof buffer);
    const char record[] = "356938030000000\r\n";
    for (std::size_t i = 0; i < records; ++i) std::fwrite(record, 1, 17, file);
    std::fclose(file);
    return secondsSince(start);
}

void BM_GenerationAgainstPlainWrite(benchmark::State& state) {
    constexpr std::size_t kItems = 10'000'000;
    double ours = 0, plain = 0;
    for (auto _ : state) {
        settle();
        plain += runPlainWrite(scratchFile("plain.txt"), kItems);
        settle();
        const double seconds = runGeneration(scratchFile("generated.txt"), "10000000", "1", false);
        ours += seconds;
        state.SetIterationTime(seconds);
    }
    state.counters["ours_s"] = ours / static_cast<double>(state.iterations());
    state.counters["plain_s"] = plain / static_cast<double>(state.iterations());
    state.counters["ratio_time"] = ours / plain;  // goal: <= 2
    QFile::remove(scratchFile("plain.txt"));
    QFile::remove(scratchFile("generated.txt"));
}
BENCHMARK(BM_GenerationAgainstPlainWrite)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->UseManualTime();

void BM_ShuffledRun10000x1000(benchmark::State& state) {
    double total = 0;
    for (auto _ : state) {
        const double seconds = runGeneration(scratchFile("shuffled.txt"), "10000", "1000", true);
        total += seconds;
        state.SetIterationTime(seconds);
    }
    state.counters["seconds"] = total / static_cast<double>(state.iterations());  // goal: <= 10
    QFile::remove(scratchFile("shuffled.txt"));
}
BENCHMARK(BM_ShuffledRun10000x1000)->Unit(benchmark::kMillisecond)->Iterations(1)->UseManualTime();

// Every move erases and inserts in one array, as a list held plainly would.
void shuffleInPlainArray(std::vector<std::uint32_t>& list, numbrook::ShuffleRng& rng) {
    const std::size_t n = list.size();
    const auto move = [&](std::size_t position) {
        const std::uint32_t item = list[position];
        list.erase(list.begin() + static_cast<std::ptrdiff_t>(position));
        const std::uint32_t r = rng.reseedAndDraw(static_cast<std::uint32_t>(n - 1));
        list.insert(list.begin() + (r - 1), item);
    };
    for (std::size_t i = 0; i < n; ++i) {
        move(0);
        move(1);
        move(n - 1);
        move(n - 2);
    }
}

void BM_ShuffleAgainstPlainArray(benchmark::State& state) {
    constexpr std::size_t kItems = 100'000;
    constexpr int kOurRepeats = 5;
    double ours = 0, plain = 0;
    for (auto _ : state) {
        std::vector<std::uint32_t> a(kItems);
        std::iota(a.begin(), a.end(), 0u);
        numbrook::ShuffleRng rngA([] { return 1u; });
        auto start = Clock::now();
        shuffleInPlainArray(a, rngA);
        plain += secondsSince(start);
        // Ours is short enough to be at the mercy of a busy machine: take
        // the median of a few runs.
        std::vector<double> runs;
        for (int r = 0; r < kOurRepeats; ++r) {
            std::vector<std::uint32_t> b(kItems);
            std::iota(b.begin(), b.end(), 0u);
            numbrook::ShuffleRng rngB([] { return 1u; });
            start = Clock::now();
            numbrook::ShuffleBatch(b, rngB);
            runs.push_back(secondsSince(start));
            if (a != b) state.SkipWithError("orders differ");
        }
        std::sort(runs.begin(), runs.end());
        ours += runs[kOurRepeats / 2];
        state.SetIterationTime(runs[kOurRepeats / 2]);
    }
    state.counters["ours_s"] = ours / static_cast<double>(state.iterations());
    state.counters["plain_s"] = plain / static_cast<double>(state.iterations());
    state.counters["speedup"] = plain / ours;  // goal: >= 100
}

BENCHMARK(BM_ShuffleAgainstPlainArray)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->UseManualTime();

void makeBodiesFile(const QString& path, std::size_t bytes) {
    std::FILE* file = std::fopen(QFile::encodeName(path).constData(), "wb");
    char line[32];
    for (std::size_t i = 0, written = 0; written < bytes; ++i) {
        const int n = std::snprintf(line, sizeof line, "%014zu\r\n", i);
        std::fwrite(line, 1, static_cast<std::size_t>(n), file);
        written += static_cast<std::size_t>(n);
    }
    std::fclose(file);
}

double runCopy(const QString& from, const QString& to) {
    const auto start = Clock::now();
    QFile in(from), out(to);
    in.open(QIODevice::ReadOnly);
    out.open(QIODevice::WriteOnly);
    std::vector<char> block(1 << 20);
    for (qint64 got; (got = in.read(block.data(), static_cast<qint64>(block.size()))) > 0;) {
        out.write(block.data(), got);
    }
    out.close();
    return secondsSince(start);
}

double runCompletion(const QString& from, const QString& to) {
    numbrook::cli::CliWindow window;
    window.setDialogAnswer(DialogKind::Open, from);
    window.setDialogAnswer(DialogKind::Save, to);
    Engine engine(window);
    const auto start = Clock::now();
    engine.CompleteTextFile();
    return secondsSince(start);
}

void BM_CompletionAgainstCopy(benchmark::State& state) {
    const QString input = scratchFile("bodies.txt");
    makeBodiesFile(input, 100'000'000);
    // Both read the input from the page cache.
    runCopy(input, scratchFile("copy.txt"));
    double ours = 0, copy = 0;
    for (auto _ : state) {
        settle();
        copy += runCopy(input, scratchFile("copy.txt"));
        settle();
        const double seconds = runCompletion(input, scratchFile("completed.txt"));
        ours += seconds;
        state.SetIterationTime(seconds);
    }
    state.counters["ours_s"] = ours / static_cast<double>(state.iterations());
    state.counters["copy_s"] = copy / static_cast<double>(state.iterations());
    state.counters["throughput_ratio"] = copy / ours;  // goal: >= 0.5
    for (const char* name : {"bodies.txt", "copy.txt", "completed.txt"})
        QFile::remove(scratchFile(name));
}
BENCHMARK(BM_CompletionAgainstCopy)->Unit(benchmark::kMillisecond)->Iterations(3)->UseManualTime();

}  // namespace

BENCHMARK_MAIN();
