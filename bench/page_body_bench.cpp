// What reading a page's body costs on Linux, through the real transport: the
// page request (FetchPage) over libcurl (CurlInternet) against the tests' own
// HTTP server on a loopback port, for bodies of 1, 4, 16 and 64 MiB. The
// transport streams the body into the page request's 1024-byte reads and the
// page request appends each block (growing by half again), so the time should
// grow linearly with the body and the memory stay about twice the body at most.
//
// Figures per body size:
//   time, bytes_per_second  one whole exchange (connect, request, body), wall
//                           clock: the server sends from a thread of its own.
//   peak_rss_growth         how far the resident set rose above where it stood
//                           just before the call, at the call's worst moment,
//                           measured once in a fresh process (see below). It
//                           counts everything of the process: the body's
//                           buffers, libcurl's, the server thread's (which
//                           sends from an answer already resident). Resident
//                           means written to: capacity not yet filled is not
//                           in it.
//   peak_rss_per_body_byte  that growth divided by the body size;
//   capacity_per_length     the returned Bytes' capacity over its length;
//   faults_per_MiB          minor page faults per MiB of body in the timed loop.
//
// A second benchmark appends 1024-byte blocks with ConcatBytes alone (no
// network), the page request's inner loop, to show the append is linear.
// Both fit their times against O(n): a small RMS means the fit is good.

#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "net/curl/curl_internet.h"
#include "net/fetch_page.h"
#include "support/capture_server.h"
#include "text/operations.h"
#include "text/values.h"

extern char** environ;

namespace quorvel {
namespace {

constexpr std::int64_t kMiB = 1024 * 1024;
constexpr std::int32_t kBlockSize = 1024;  // the page request's read size
constexpr std::string_view kPeakChildFlag = "--peak-rss-child=";
constexpr std::int64_t kWarmUpLength = 16 * 1024;

// A 200 answer whose body is `length` bytes of a repeating pattern. The body
// is written straight into the answer, so no second copy of it is made and
// freed on the way (which would also move glibc's mmap threshold, changing
// how the measured call's allocations are served).
std::string BodyAnswer(std::int64_t length) {
    std::string answer = HttpResponse("HTTP/1.1 200 OK", {"Content-Type: application/octet-stream"},
                                      std::string_view(), length);
    const std::size_t head = answer.size();
    answer.resize(head + static_cast<std::size_t>(length));
    for (std::size_t i = head; i < answer.size(); ++i) {
        answer[i] = static_cast<char>('a' + i % 26);
    }
    return answer;
}

// The server's answers, each moved in: a braced list would copy every answer
// once more (its elements are const), and freeing a large copy moves glibc's
// mmap threshold up, so the measured call's buffers would come from the heap,
// whose freed memory stays resident.
std::vector<CannedAnswer> Answers(std::vector<std::int64_t> bodyLengths) {
    std::vector<CannedAnswer> answers;
    answers.reserve(bodyLengths.size());
    for (const std::int64_t length : bodyLengths) {
        answers.emplace_back();
        answers.back().bytes = BodyAnswer(length);
    }
    return answers;
}

Text UrlOf(const CaptureServer& server) {
    return Text(("http://" + server.Authority() + "/").c_str());
}

// ---- peak memory, measured in a fresh process -----------------------------
//
// The resident set's high-water mark (VmHWM of /proc/self/status) is reset to
// the current resident set by writing "5" to /proc/self/clear_refs just
// before the call and read again just after it; the difference is the call's
// peak growth. getrusage's ru_maxrss cannot be reset, so it would hide a
// call's peak below an earlier one (building a 64 MiB answer, for one).
//
// Each size is measured in a new process (this program started again with
// kPeakChildFlag) rather than in the benchmark's own: there the allocator
// keeps memory freed by earlier runs, which a later call reuses without the
// resident set growing, so the figure would depend on what ran before.

// A "Vm...:  N kB" figure of /proc/self/status, in bytes.
std::optional<std::int64_t> StatusBytes(std::string_view name) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.starts_with(name) && line.size() > name.size() && line[name.size()] == ':') {
            std::istringstream fields(line.substr(name.size() + 1));
            std::int64_t kib = 0;
            if (fields >> kib) {
                return kib * 1024;
            }
        }
    }
    return std::nullopt;
}

bool ResetPeak() {
    std::ofstream clearRefs("/proc/self/clear_refs");
    clearRefs << "5";
    clearRefs.flush();
    return static_cast<bool>(clearRefs);
}

// The child's part: one warm-up exchange (libcurl's first-use set-up is no
// part of a body's cost), then the measured one. Prints "growth length" on
// stdout; exit code 0 when it measured.
int MeasurePeakChild(std::int64_t length) {
    const CaptureServer server(Answers({kWarmUpLength, length}));
    CurlInternet internet;
    const Text url = UrlOf(server);
    if (BytesLength(FetchPage(internet, url)) != kWarmUpLength) {
        std::fputs("warm-up exchange failed\n", stderr);
        return 1;
    }
    if (!ResetPeak()) {
        std::fputs("cannot reset the peak: /proc/self/clear_refs not writable\n", stderr);
        return 1;
    }
    const std::optional<std::int64_t> before = StatusBytes("VmHWM");
    const Bytes body = FetchPage(internet, url);
    const std::optional<std::int64_t> peak = StatusBytes("VmHWM");
    if (!before || !peak) {
        std::fputs("no VmHWM in /proc/self/status\n", stderr);
        return 1;
    }
    if (BytesLength(body) != length) {
        std::fprintf(stderr, "got %d of %lld body bytes\n", BytesLength(body),
                     static_cast<long long>(length));
        return 1;
    }
    std::printf("%lld %d\n", static_cast<long long>(*peak - *before), BytesLength(body));
    return 0;
}

struct PeakFigures {
    std::int64_t growth = 0;
    std::int64_t length = 0;
};

// Starts this program again as a peak-measuring child for `length` and reads
// its answer; nothing when the child failed.
std::optional<PeakFigures> MeasurePeakInChild(std::int64_t length) {
    int out[2];
    if (pipe(out) != 0) {
        return std::nullopt;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    posix_spawn_file_actions_addclose(&actions, out[1]);
    std::string self = "/proc/self/exe";
    std::string flag = std::string(kPeakChildFlag) + std::to_string(length);
    std::vector<char*> argv = {self.data(), flag.data(), nullptr};
    pid_t child = 0;
    const int spawned = posix_spawn(&child, self.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);

    std::string answer;
    char buffer[256];
    ssize_t got = 0;
    while ((got = read(out[0], buffer, sizeof buffer)) > 0) {
        answer.append(buffer, static_cast<std::size_t>(got));
    }
    close(out[0]);
    if (spawned != 0) {
        return std::nullopt;
    }
    int status = 0;
    if (waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        return std::nullopt;
    }
    PeakFigures figures;
    std::istringstream fields(answer);
    if (!(fields >> figures.growth >> figures.length)) {
        return std::nullopt;
    }
    return figures;
}

// Google Benchmark runs a benchmark function several times while it settles
// the iteration count; each size's child runs once.
const std::optional<PeakFigures>& PeakFor(std::int64_t length) {
    static std::map<std::int64_t, std::optional<PeakFigures>> measured;
    auto found = measured.find(length);
    if (found == measured.end()) {
        found = measured.emplace(length, MeasurePeakInChild(length)).first;
    }
    return found->second;
}

// ---- the benchmarks --------------------------------------------------------

// Minor page faults of this process so far (every thread's): each one is a
// page the kernel handed over for the first time, zero-filled.
std::int64_t MinorFaults() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_minflt;
}

// Page faults per MiB of body over the timed loop. It tells apart the two
// regimes the times fall into: buffers the allocator serves again from memory
// it kept after the previous iteration (no faults), and buffers that get fresh
// pages from the kernel on every iteration, each page faulted in once. glibc
// maps blocks above its mmap threshold afresh and unmaps them when freed; the
// threshold rises with the blocks freed, up to 32 MiB, and the heap is given
// back above twice the threshold, so where a size lands depends on the
// allocation pattern around it, not on the size alone.
void CountFaults(benchmark::State& state, std::int64_t faults, std::int64_t length) {
    state.counters["faults_per_MiB"] =
        static_cast<double>(faults) /
        (static_cast<double>(state.iterations()) * static_cast<double>(length) / kMiB);
}

void BM_FetchPageBody(benchmark::State& state) {
    const std::int64_t length = state.range(0);
    const CaptureServer server(Answers({length}));
    CurlInternet internet;
    const Text url = UrlOf(server);

    std::size_t capacity = 0;
    const std::int64_t faults = MinorFaults();
    for (auto _ : state) {
        Bytes body = FetchPage(internet, url);
        if (BytesLength(body) != length) {
            state.SkipWithError("the exchange did not deliver the whole body");
            return;
        }
        capacity = body.Capacity();
        benchmark::DoNotOptimize(body.Data());
    }
    CountFaults(state, MinorFaults() - faults, length);
    state.SetBytesProcessed(state.iterations() * length);
    state.SetComplexityN(length);

    const std::optional<PeakFigures>& peak = PeakFor(length);
    if (!peak || peak->length != length) {
        state.SkipWithError("the peak-memory child process failed (see its output above)");
        return;
    }
    const auto n = static_cast<double>(length);
    state.counters["peak_rss_growth"] =
        benchmark::Counter(static_cast<double>(peak->growth), benchmark::Counter::kDefaults,
                           benchmark::Counter::kIs1024);
    state.counters["peak_rss_per_body_byte"] = static_cast<double>(peak->growth) / n;
    state.counters["capacity_per_length"] = static_cast<double>(capacity) / n;
}

void BM_AppendBlocks(benchmark::State& state) {
    const std::int64_t length = state.range(0);
    const std::int64_t blocks = length / kBlockSize;
    const Bytes block(std::string(kBlockSize, 'b'));

    std::size_t capacity = 0;
    const std::int64_t faults = MinorFaults();
    for (auto _ : state) {
        Bytes body;
        for (std::int64_t i = 0; i < blocks; ++i) {
            body = ConcatBytes(std::move(body), block);
        }
        capacity = body.Capacity();
        benchmark::DoNotOptimize(body.Data());
    }
    CountFaults(state, MinorFaults() - faults, length);
    state.SetBytesProcessed(state.iterations() * length);
    state.SetComplexityN(length);
    state.counters["capacity_per_length"] =
        static_cast<double>(capacity) / static_cast<double>(length);
}

BENCHMARK(BM_FetchPageBody)
    ->RangeMultiplier(4)
    ->Range(1 * kMiB, 64 * kMiB)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Complexity(benchmark::oN);

BENCHMARK(BM_AppendBlocks)
    ->RangeMultiplier(4)
    ->Range(1 * kMiB, 64 * kMiB)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

}  // namespace
}  // namespace quorvel

int main(int argc, char** argv) {
    if (argc == 2 && std::string_view(argv[1]).starts_with(quorvel::kPeakChildFlag)) {
        const std::string_view number =
            std::string_view(argv[1]).substr(quorvel::kPeakChildFlag.size());
        std::int64_t length = 0;
        const auto [end, error] =
            std::from_chars(number.data(), number.data() + number.size(), length);
        if (error != std::errc() || end != number.data() + number.size() || length <= 0) {
            std::fputs("bad body length\n", stderr);
            return 2;
        }
        return quorvel::MeasurePeakChild(length);
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
