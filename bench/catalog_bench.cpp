// Catalogue lookups by hash table and by binary search against glibc's dgettext on the same file,
// and the load of a catalogue against a plain read of it. bench/ratios.py turns one run into
// ratios, the only figures worth comparing on a shared machine.

#include <nls/nlsLoadedDomain.h>

#include "benchCatalogue.h"

#include <benchmark/benchmark.h>
#include <clocale>
#include <cstdlib>
#include <fcntl.h>
#include <libintl.h>
#include <map>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// One generated catalogue of `n` messages per process, removed as the program ends.
const nlsbench::Catalogue& catalogue(int n) {
    static std::map<int, std::unique_ptr<nlsbench::Catalogue>> made;
    auto& slot = made[n];
    if (!slot) slot = nlsbench::Catalogue::generated(n);
    return *slot;
}

template <const char* (nlsLoadedDomain::*Lookup)(const char*) const>
void lookup(benchmark::State& state) {
    const nlsbench::Catalogue& c = catalogue(static_cast<int>(state.range(0)));
    unsigned int code = 0;
    nlsLoadedDomain domain(utString(c.path.c_str()), &code);
    if (code) state.SkipWithError("load failed");
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize((domain.*Lookup)(c.present_order[i]));
        if (++i == c.present_order.size()) i = 0;
    }
}

void BM_HashLookup(benchmark::State& state) {
    lookup<&nlsLoadedDomain::translate_by_hash_table>(state);
}
void BM_BinaryChop(benchmark::State& state) {
    lookup<&nlsLoadedDomain::translate_by_binary_chop>(state);
}

void BM_Dgettext(benchmark::State& state) {
    const nlsbench::Catalogue& c = catalogue(static_cast<int>(state.range(0)));
    ::unsetenv("LANGUAGE");
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8")) {
        state.SkipWithError("locale de_DE.UTF-8 is not installed (Debian package locales-all)");
        return;
    }
    ::bindtextdomain(c.domain.c_str(), c.root.c_str());
    ::bind_textdomain_codeset(c.domain.c_str(), "UTF-8");
    if (::dgettext(c.domain.c_str(), c.present_order[0]) == c.present_order[0]) {
        state.SkipWithError("dgettext did not find the catalogue");
        return;
    }
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(::dgettext(c.domain.c_str(), c.present_order[i]));
        if (++i == c.present_order.size()) i = 0;
    }
}

// The catalogue of 10,000 messages is about 1 MB.
void BM_Load(benchmark::State& state) {
    const nlsbench::Catalogue& c = catalogue(10000);
    for (auto _ : state) {
        unsigned int code = 0;
        nlsLoadedDomain domain(utString(c.path.c_str()), &code);
        benchmark::DoNotOptimize(domain.image);
    }
    state.counters["bytes"] = static_cast<double>(c.bytes);
}

void BM_PlainRead(benchmark::State& state) {
    const nlsbench::Catalogue& c = catalogue(10000);
    for (auto _ : state) {
        int fd = ::open(c.path.c_str(), O_RDONLY);
        struct stat status;
        ::fstat(fd, &status);
        void* block = std::malloc(status.st_size);
        for (ssize_t done = 0; done < status.st_size;) {
            ssize_t got = ::read(fd, static_cast<char*>(block) + done, status.st_size - done);
            if (got <= 0) break;
            done += got;
        }
        ::close(fd);
        benchmark::DoNotOptimize(block);
        std::free(block);
    }
    state.counters["bytes"] = static_cast<double>(c.bytes);
}

} // namespace

BENCHMARK(BM_HashLookup)->Arg(10000)->Arg(100000);
BENCHMARK(BM_BinaryChop)->Arg(10000)->Arg(100000);
BENCHMARK(BM_Dgettext)->Arg(10000)->Arg(100000);
BENCHMARK(BM_Load);
BENCHMARK(BM_PlainRead);

BENCHMARK_MAIN();
