// Catalogue lookups by hash table and by binary search against glibc's dgettext on the same file,
// and the load of a catalogue against a plain read of it. bench/ratios.py turns one run into
// ratios, the only figures worth comparing on a shared machine.

#include <nls/nlsLoadedDomain.h>

#include "moWriter.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <libintl.h>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

// One generated catalogue of `n` messages, written once per process in glibc's layout:
// <root>/de/LC_MESSAGES/<domain>.mo
struct Catalogue {
    std::string root, domain, path;
    std::vector<std::string> msgids;
    std::vector<const char*> order; // lookup order: shuffled, every message once
    std::size_t bytes = 0;
};

const Catalogue& catalogue(int n) {
    static std::map<int, std::unique_ptr<Catalogue>> made;
    auto& slot = made[n];
    if (slot) return *slot;
    slot = std::make_unique<Catalogue>();
    Catalogue& c = *slot;
    char pattern[] = "/tmp/nls-bench-XXXXXX";
    c.root = ::mkdtemp(pattern);
    c.domain = "nlsbench" + std::to_string(n);
    ::mkdir((c.root + "/de").c_str(), 0755);
    ::mkdir((c.root + "/de/LC_MESSAGES").c_str(), 0755);
    c.path = c.root + "/de/LC_MESSAGES/" + c.domain + ".mo";

    std::vector<nlstest::MoEntry> entries;
    for (int i = 0; i < n; ++i) {
        std::string id = "Message " + std::to_string(i * 7919 % n) + " of the user interface";
        entries.push_back({id, "Meldung " + std::to_string(i) +
                                   " der Benutzeroberfl\xC3\xA4"
                                   "che"});
        c.msgids.push_back(id);
    }
    std::string image = nlstest::build_mo(entries);
    std::ofstream(c.path, std::ios::binary).write(image.data(), image.size());
    c.bytes = image.size();
    for (const std::string& id : c.msgids)
        c.order.push_back(id.c_str());
    std::shuffle(c.order.begin(), c.order.end(), std::mt19937(42));
    return c;
}

template <const char* (nlsLoadedDomain::*Lookup)(const char*) const>
void lookup(benchmark::State& state) {
    const Catalogue& c = catalogue(static_cast<int>(state.range(0)));
    unsigned int code = 0;
    nlsLoadedDomain domain(utString(c.path.c_str()), &code);
    if (code) state.SkipWithError("load failed");
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize((domain.*Lookup)(c.order[i]));
        if (++i == c.order.size()) i = 0;
    }
}

void BM_HashLookup(benchmark::State& state) {
    lookup<&nlsLoadedDomain::translate_by_hash_table>(state);
}
void BM_BinaryChop(benchmark::State& state) {
    lookup<&nlsLoadedDomain::translate_by_binary_chop>(state);
}

void BM_Dgettext(benchmark::State& state) {
    const Catalogue& c = catalogue(static_cast<int>(state.range(0)));
    ::unsetenv("LANGUAGE");
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8")) {
        state.SkipWithError("locale de_DE.UTF-8 is not installed (Debian package locales-all)");
        return;
    }
    ::bindtextdomain(c.domain.c_str(), c.root.c_str());
    ::bind_textdomain_codeset(c.domain.c_str(), "UTF-8");
    if (::dgettext(c.domain.c_str(), c.order[0]) == c.order[0]) {
        state.SkipWithError("dgettext did not find the catalogue");
        return;
    }
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(::dgettext(c.domain.c_str(), c.order[i]));
        if (++i == c.order.size()) i = 0;
    }
}

// The catalogue of 10,000 messages is about 1 MB.
void BM_Load(benchmark::State& state) {
    const Catalogue& c = catalogue(10000);
    for (auto _ : state) {
        unsigned int code = 0;
        nlsLoadedDomain domain(utString(c.path.c_str()), &code);
        benchmark::DoNotOptimize(domain.image);
    }
    state.counters["bytes"] = static_cast<double>(c.bytes);
}

void BM_PlainRead(benchmark::State& state) {
    const Catalogue& c = catalogue(10000);
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
