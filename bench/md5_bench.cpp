// Throughput of the Md5 library against OpenSSL's MD5() on 1 MiB buffers and
// on 64-byte messages, measured in the same run. After the usual benchmark
// table it prints, per size, the ratio of our throughput to OpenSSL's.
//
// By default every case runs 9 times, interleaved in random order so that a
// slow phase of a noisy machine does not fall on one side only; the ratios
// use the medians. Benchmark flags given on the command line win.
#define OPENSSL_SUPPRESS_DEPRECATED  // MD5() is the reference being measured
#include <benchmark/benchmark.h>
#include <openssl/md5.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "md5/md5.h"

namespace {

constexpr std::size_t kLargeBuffer = std::size_t{1} << 20;
constexpr std::size_t kShortMessage = 64;

struct Size {
    const char* label;
    std::size_t bytes;
    double goal;
};

constexpr Size kSizes[] = {
    {"1MiB", kLargeBuffer, 1.03},
    {"64B", kShortMessage, 1.05},
};

const std::vector<unsigned char>& input() {
    static const std::vector<unsigned char> bytes = [] {
        std::vector<unsigned char> b(kLargeBuffer);
        std::uint32_t x = 12345;
        for (auto& byte : b) {
            x = x * 1664525 + 1013904223;
            byte = static_cast<unsigned char>(x >> 24);
        }
        return b;
    }();
    return bytes;
}

void oursDigest(const unsigned char* data, std::size_t length, unsigned char* digest) {
    Md5Context context;
    MD5Init(&context);
    MD5Update(&context, data, static_cast<std::uint32_t>(length));
    MD5Final(digest, &context);
}

void opensslDigest(const unsigned char* data, std::size_t length, unsigned char* digest) {
    MD5(data, length, digest);
}

using DigestFunction = void (*)(const unsigned char*, std::size_t, unsigned char*);

void runDigest(benchmark::State& state, DigestFunction digestFunction, std::size_t length) {
    const unsigned char* data = input().data();
    unsigned char digest[16];
    for (auto _ : state) {
        digestFunction(data, length, digest);
        benchmark::DoNotOptimize(digest);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * length));
}

std::string caseName(const char* implementation, const Size& size) {
    return std::string("md5/") + implementation + "/" + size.label;
}

// Keeps the CPU time per iteration of every run next to the normal console
// output. CPU time, like the bytes_per_second column: on a shared virtual
// machine the wall clock also counts time the guest did not get to run.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    using ConsoleReporter::ConsoleReporter;

    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.error_occurred) {
                continue;
            }
            const std::string& name = run.run_name.function_name;
            if (run.run_type == Run::RT_Iteration) {
                samples_[name].push_back(run.GetAdjustedCPUTime());
            } else if (run.aggregate_name == "median") {
                medians_[name] = run.GetAdjustedCPUTime();
            }
        }
    }

    // Median CPU time per iteration, or a negative value when the case did not run.
    double medianTime(const std::string& name) const {
        if (auto found = medians_.find(name); found != medians_.end()) {
            return found->second;
        }
        auto found = samples_.find(name);
        if (found == samples_.end() || found->second.empty()) {
            return -1.0;
        }
        std::vector<double> times = found->second;
        std::sort(times.begin(), times.end());
        const std::size_t middle = times.size() / 2;
        return times.size() % 2 ? times[middle] : (times[middle - 1] + times[middle]) / 2;
    }

private:
    std::map<std::string, std::vector<double>> samples_;
    std::map<std::string, double> medians_;
};

}  // namespace

int main(int argc, char** argv) {
    // Defaults first, so that the same flags given by the user override them.
    std::vector<char*> arguments{argv[0]};
    std::string defaults[] = {"--benchmark_repetitions=9",
                              "--benchmark_enable_random_interleaving=true",
                              "--benchmark_display_aggregates_only=true"};
    for (std::string& flag : defaults) {
        arguments.push_back(flag.data());
    }
    arguments.insert(arguments.end(), argv + 1, argv + argc);
    int argumentCount = static_cast<int>(arguments.size());
    arguments.push_back(nullptr);

    for (const Size& size : kSizes) {
        benchmark::RegisterBenchmark(caseName("ours", size).c_str(), runDigest, oursDigest,
                                     size.bytes);
        benchmark::RegisterBenchmark(caseName("openssl", size).c_str(), runDigest, opensslDigest,
                                     size.bytes);
    }

    benchmark::Initialize(&argumentCount, arguments.data());
    if (benchmark::ReportUnrecognizedArguments(argumentCount, arguments.data())) {
        return 1;
    }
    RatioReporter reporter(isatty(fileno(stdout)) ? benchmark::ConsoleReporter::OO_Color
                                                  : benchmark::ConsoleReporter::OO_None);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    std::printf(
        "\nMD5 throughput of this library relative to OpenSSL MD5() (median CPU time, same "
        "run):\n");
    for (const Size& size : kSizes) {
        const double ours = reporter.medianTime(caseName("ours", size));
        const double openssl = reporter.medianTime(caseName("openssl", size));
        if (ours <= 0 || openssl <= 0) {
            std::printf("  %-5s  not measured\n", size.label);
            continue;
        }
        // Both times are per iteration over the same number of bytes.
        const double ratio = openssl / ours;
        std::printf("  %-5s  ratio %.3f  (goal >= %.2f: %s)\n", size.label, ratio, size.goal,
                    ratio >= size.goal ? "met" : "NOT met");
    }
    return 0;
}
