// Start-up as a user of a command-line program pays it: whole processes of the probe program
// (startup_probe.cpp) that translate three messages and end, on this library, on glibc's gettext
// and on neither, paired within each iteration so that the machine's load falls on all three
// alike. And the memory of ten such processes holding the same large catalogue at once: what they
// share and what each holds privately.
//
// Names: start/<catalogue> and memory/<library>, catalogue "small" (about 1 KB, written here) or
// "largest" (the largest catalogue under /usr/share/locale, or NLS_BENCH_CATALOGUE). The counters
// are the figures to read; times are CPU times (user and system) of the child processes.

#include "benchCatalogue.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <memory>
#include <signal.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;
using nlsbench::Catalogue;

enum Library { kNls, kGlibc, kEmpty };
constexpr const char* kProbes[] = {NLS_STARTUP_PROBE, NLS_STARTUP_PROBE_GLIBC,
                                   NLS_STARTUP_PROBE_EMPTY};
constexpr const char* kLibraryNames[] = {"nls", "glibc", "empty"};
constexpr int kRuns = 25;
constexpr int kHolders = 10;

std::string largest_catalogue() {
    if (const char* chosen = std::getenv("NLS_BENCH_CATALOGUE"); chosen && *chosen) return chosen;
    std::string best;
    std::uintmax_t best_size = 0;
    std::error_code error;
    for (const auto& language : fs::directory_iterator("/usr/share/locale", error)) {
        for (const auto& file : fs::directory_iterator(language.path() / "LC_MESSAGES", error)) {
            std::uintmax_t size = file.is_regular_file(error) ? file.file_size(error) : 0;
            if (file.path().extension() == ".mo" && size > best_size) {
                best = file.path().string();
                best_size = size;
            }
        }
    }
    return best;
}

// Made on first use and kept until the program ends, which removes their folders.
const Catalogue* catalogue(bool large) {
    static std::unique_ptr<Catalogue> made[2];
    static bool tried[2];
    if (!tried[large]) {
        tried[large] = true;
        if (large) {
            made[large] = Catalogue::linked(largest_catalogue());
        } else {
            // About 1 KB, as a small program's catalogue is.
            std::vector<nlstest::MoEntry> entries{
                {"", "Content-Type: text/plain; charset=UTF-8\n"
                     "Plural-Forms: nplurals=2; plural=(n != 1);\n"}};
            for (int i = 0; i < 16; ++i)
                entries.push_back({"Message number " + std::to_string(i),
                                   "Meldung Nummer " + std::to_string(i)});
            made[large] = Catalogue::written("small", entries);
        }
    }
    return made[large].get();
}

// Three messages spread over the file, the translations a program asks for first.
std::vector<std::string> messages(const Catalogue& c) {
    const auto& ids = c.msgids;
    return {ids[ids.size() / 4], ids[ids.size() / 2], ids[ids.size() * 3 / 4]};
}

/// One child process running a probe: its standard output is read to the end, its standard input
/// stays open until finish().
class Child {
public:
    Child(Library library, const Catalogue& c, bool hold) {
        int out[2], in[2];
        // Close-on-exec, so that no other child holds this one's input open.
        if (::pipe2(out, O_CLOEXEC) != 0 || ::pipe2(in, O_CLOEXEC) != 0) std::abort();
        std::vector<std::string> args{kProbes[library], c.root, c.domain};
        if (hold) args.push_back("--hold");
        for (const std::string& message : messages(c))
            args.push_back(message);
        std::vector<char*> argv;
        for (std::string& arg : args)
            argv.push_back(arg.data());
        argv.push_back(nullptr);
        // The same environment for every probe: German, and a settings store that is not there;
        // LD_LIBRARY_PATH passes on, so that another build of the library can be measured.
        std::string home = "HOME=" + c.root;
        std::string store = "NLS_REGISTRY=" + c.root + "/registry.db";
        const char* libraries = std::getenv("LD_LIBRARY_PATH");
        std::string library_path = std::string("LD_LIBRARY_PATH=") + (libraries ? libraries : "");
        char* envp[] = {const_cast<char*>("LANG=de_DE.UTF-8"), home.data(), store.data(),
                        library_path.data(), nullptr};
        m_pid = ::fork();
        if (m_pid == 0) {
            ::dup2(in[0], 0);
            ::dup2(out[1], 1);
            ::close(in[0]);
            ::close(in[1]);
            ::close(out[0]);
            ::close(out[1]);
            ::execve(argv[0], argv.data(), envp);
            ::_exit(127);
        }
        ::close(in[0]);
        ::close(out[1]);
        m_input = in[1];
        char buffer[4096];
        for (ssize_t got; (got = ::read(out[0], buffer, sizeof buffer)) > 0;)
            output.append(buffer, static_cast<std::size_t>(got));
        ::close(out[0]);
    }
    ~Child() { finish(); }
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;

    /// Ends the child; its CPU time in seconds, or a negative number when it failed.
    double finish() {
        if (m_pid <= 0) return m_seconds;
        ::close(m_input);
        int status = 0;
        struct rusage usage {};
        ::wait4(m_pid, &status, 0, &usage);
        m_pid = 0;
        m_seconds = WIFEXITED(status) && WEXITSTATUS(status) == 0
                        ? usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
                              (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) * 1e-6
                        : -1;
        return m_seconds;
    }

    /// A field of /proc/PID/smaps_rollup, in bytes.
    std::size_t rollup(const std::string& field) const {
        std::ifstream in("/proc/" + std::to_string(m_pid) + "/smaps_rollup");
        for (std::string line; std::getline(in, line);)
            if (line.compare(0, field.size() + 1, field + ":") == 0)
                return std::strtoull(line.c_str() + field.size() + 1, nullptr, 10) * 1024;
        return 0;
    }

    std::string output;

private:
    pid_t m_pid = 0;
    int m_input = -1;
    double m_seconds = -1;
};

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Whole processes of the three probes in turn, each order as often; the figures are medians.
void BM_Start(benchmark::State& state, bool large) {
    const Catalogue* c = catalogue(large);
    if (!c) {
        state.SkipWithError("no catalogue (set NLS_BENCH_CATALOGUE)");
        return;
    }
    {
        Child nls(kNls, *c, false), glibc(kGlibc, *c, false), empty(kEmpty, *c, false);
        if (nls.output != glibc.output || nls.output == empty.output) {
            state.SkipWithError("nls and glibc translate differently, or not at all");
            return;
        }
    }
    std::vector<double> seconds[3];
    int round = 0;
    for (auto _ : state) {
        double nls_seconds = 0;
        for (int i = 0; i < 3; ++i) {
            Library library = static_cast<Library>((round + i) % 3);
            double used = Child(library, *c, false).finish();
            if (used < 0) {
                state.SkipWithError((std::string(kLibraryNames[library]) + " probe failed").c_str());
                return;
            }
            seconds[library].push_back(used);
            if (library == kNls) nls_seconds = used;
        }
        state.SetIterationTime(nls_seconds);
        ++round;
    }
    for (int library : {kNls, kGlibc, kEmpty})
        state.counters[std::string(kLibraryNames[library]) + "_ms"] =
            median(seconds[library]) * 1e3;
    state.counters["nls/glibc"] = median(seconds[kNls]) / median(seconds[kGlibc]);
    state.counters["KB"] = static_cast<double>(c->bytes) / 1024;
}

// Ten processes on the large catalogue at once, against ten on the small one: what the catalogue
// adds to their proportional share of memory (shared pages counted once among their sharers),
// counted in copies of the file, and what it adds to the pages each holds privately.
void BM_Memory(benchmark::State& state, Library library) {
    const Catalogue* large = catalogue(true);
    const Catalogue* small = catalogue(false);
    if (!large || !small) {
        state.SkipWithError("no catalogue (set NLS_BENCH_CATALOGUE)");
        return;
    }
    struct Use {
        double pss = 0, shared = 0, privately = 0;
    };
    auto held = [&](const Catalogue& c) {
        std::vector<std::unique_ptr<Child>> children;
        for (int i = 0; i < kHolders; ++i)
            children.push_back(std::make_unique<Child>(library, c, true));
        Use use;
        for (const auto& child : children) {
            use.pss += static_cast<double>(child->rollup("Pss"));
            use.shared += static_cast<double>(child->rollup("Shared_Clean") +
                                              child->rollup("Shared_Dirty"));
            use.privately += static_cast<double>(child->rollup("Private_Clean") +
                                                 child->rollup("Private_Dirty"));
        }
        return use;
    };
    Use with_large, with_small;
    for (auto _ : state) {
        with_large = held(*large);
        with_small = held(*small);
    }
    const double file = static_cast<double>(large->bytes);
    state.counters["copies"] = (with_large.pss - with_small.pss) / file;
    state.counters["private/file"] = (with_large.privately - with_small.privately) / kHolders / file;
    state.counters["pss_MB"] = with_large.pss / 1e6;
    state.counters["private_MB"] = with_large.privately / 1e6;
    state.counters["shared_MB"] = with_large.shared / 1e6;
}

BENCHMARK_CAPTURE(BM_Start, small, false)->Iterations(kRuns)->UseManualTime()->Unit(
    benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Start, largest, true)->Iterations(kRuns)->UseManualTime()->Unit(
    benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Memory, nls, kNls)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Memory, glibc, kGlibc)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
