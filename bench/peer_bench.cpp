// This library's catalogue against glibc's dgettext and Boost.Locale's gettext catalogues, on a
// real catalogue from a Debian package and on a generated one of 100,000 messages: the load, a
// lookup of a present and of an absent message, and the memory each holds per catalogue.
// bench/peer_ratios.py turns one run into ratios, the only figures worth comparing on a shared
// machine.
//
// Names: <measure>/<library>/<catalogue>, measure one of load, present, absent; library one of
// nls, glibc, boost, boost_string; catalogue "real" or "generated". Times are CPU times, except
// glibc's loads, which are timed in child processes (manual time).

#include <nls/nlsLoadedDomain.h>

#include "benchCatalogue.h"

#include <benchmark/benchmark.h>
#include <boost/locale.hpp>
#include <clocale>
#include <cstdlib>
#include <exception>
#include <libintl.h>
#include <locale>
#include <memory>
#include <string>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#ifndef NLS_BENCH_REAL_CATALOGUE
#define NLS_BENCH_REAL_CATALOGUE "/usr/share/locale/de/LC_MESSAGES/gcc-12.mo"
#endif

namespace {

using nlsbench::Catalogue;

constexpr const char* kLocale = "de_DE.UTF-8";
constexpr int kGenerated = 100000;

std::string real_catalogue_path() {
    const char* chosen = std::getenv("NLS_BENCH_CATALOGUE");
    return chosen && *chosen ? chosen : NLS_BENCH_REAL_CATALOGUE;
}

// Made on first use and kept until the program ends, which removes their folders.
const Catalogue* catalogue(bool real) {
    static std::unique_ptr<Catalogue> made[2];
    static bool tried[2];
    if (!tried[real]) {
        tried[real] = true;
        made[real] =
            real ? Catalogue::linked(real_catalogue_path()) : Catalogue::generated(kGenerated);
    }
    return made[real].get();
}

// Skips the benchmark with a reason when its catalogue or locale is missing.
const Catalogue* need_catalogue(benchmark::State& state, bool real) {
    const Catalogue* c = catalogue(real);
    if (!c)
        state.SkipWithError(real ? ("no real catalogue at " + real_catalogue_path() +
                                    " (install the Debian package gcc-12-locales: scripts/deps.sh)")
                                       .c_str()
                                 : "the generated catalogue could not be written");
    return c;
}

bool german_locale(benchmark::State& state) {
    static const bool set = std::setlocale(LC_ALL, kLocale) != nullptr;
    if (!set)
        state.SkipWithError("locale de_DE.UTF-8 is not installed (Debian package locales-all)");
    return set;
}

bool found_all(benchmark::State& state, std::size_t found, std::size_t wanted) {
    if (found != wanted)
        state.SkipWithError(
            ("found " + std::to_string(found) + " of " + std::to_string(wanted)).c_str());
    return found == wanted;
}

// What one catalogue holds: `load()` loads it, translates one message and returns a lookup that
// owns the catalogue. Measured as it loads, and again after a lookup of every message, since a
// library may cache what it found. Returns false, the benchmark skipped, when a message is missed.
template <class Load>
bool report_memory(benchmark::State& state, const Catalogue& c, const Load& load) {
    std::size_t mapped_before = nlsbench::mapped_bytes(c.real_path);
    std::size_t heap_before = nlsbench::heap_in_use();
    auto lookup = load();
    std::size_t heap = nlsbench::heap_in_use() - heap_before;
    std::size_t mapped = nlsbench::mapped_bytes(c.real_path) - mapped_before;
    std::size_t found = 0;
    for (const char* msgid : c.present_order)
        found += lookup(msgid) != msgid;
    std::size_t heap_after = nlsbench::heap_in_use() - heap_before;
    if (!found_all(state, found, c.present_order.size())) return false;

    auto per_file_byte = [&](std::size_t bytes) { return static_cast<double>(bytes) / c.bytes; };
    state.counters["file_bytes"] = static_cast<double>(c.bytes);
    state.counters["heap_bytes"] = static_cast<double>(heap);
    state.counters["mapped_bytes"] = static_cast<double>(mapped);
    state.counters["held_per_file_byte"] = per_file_byte(heap + mapped);
    state.counters["held_after_lookups_per_file_byte"] = per_file_byte(heap_after + mapped);
    return true;
}

// A pass over every present message through `check`, which must find them all, warms whatever
// the library caches; then `timed` runs in the loop. Templates, so that a call costs each
// library what it costs its callers.
template <class Timed, class Check>
void run_lookups(benchmark::State& state, const Catalogue& c, bool present, const Timed& timed,
                 const Check& check) {
    std::size_t found = 0;
    for (const char* msgid : c.present_order)
        found += check(msgid) != msgid;
    if (!found_all(state, found, c.present_order.size())) return;
    const auto& order = present ? c.present_order : c.absent_order;
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(timed(order[i]));
        if (++i == order.size()) i = 0;
    }
}

template <class Lookup>
void run_lookups(benchmark::State& state, const Catalogue& c, bool present, const Lookup& lookup) {
    run_lookups(state, c, present, lookup, lookup);
}

// --- this library -------------------------------------------------------------------------

void nls_lookup(benchmark::State& state, bool real, bool present) {
    const Catalogue* c = need_catalogue(state, real);
    if (!c) return;
    unsigned int code = 0;
    nlsLoadedDomain domain(utString(c->path.c_str()), &code);
    if (code) {
        state.SkipWithError(("load failed with code " + std::to_string(code)).c_str());
        return;
    }
    run_lookups(state, *c, present, [&](const char* msgid) { return domain.translate(msgid); });
}

// A load is the catalogue's construction and first translation; its destruction is timed too,
// as Boost.Locale's is.
void nls_load(benchmark::State& state, bool real) {
    const Catalogue* c = need_catalogue(state, real);
    if (!c) return;
    const utString path(c->path.c_str());
    const char* first = c->present_order[0];
    bool measured = report_memory(state, *c, [&] {
        auto domain = std::make_shared<nlsLoadedDomain>(path, nullptr);
        benchmark::DoNotOptimize(domain->translate(first));
        return [domain](const char* msgid) { return domain->translate(msgid); };
    });
    if (!measured) return;
    for (auto _ : state) {
        nlsLoadedDomain domain(path, nullptr);
        benchmark::DoNotOptimize(domain.translate(first));
    }
}

// --- glibc ----------------------------------------------------------------------------------

void glibc_lookup(benchmark::State& state, bool real, bool present) {
    const Catalogue* c = need_catalogue(state, real);
    if (!c || !german_locale(state)) return;
    const char* domain = c->domain.c_str();
    ::bindtextdomain(domain, c->root.c_str());
    ::bind_textdomain_codeset(domain, "UTF-8");
    run_lookups(state, *c, present, [&](const char* msgid) { return ::dgettext(domain, msgid); });
}

// CPU time of `work` in this process, in seconds.
template <class Work> double cpu_seconds(const Work& work) {
    timespec start, end;
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &start);
    work();
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &end);
    return static_cast<double>(end.tv_sec - start.tv_sec) + (end.tv_nsec - start.tv_nsec) * 1e-9;
}

// glibc loads a catalogue at the first lookup in its domain and never unloads it, and every
// later load walks the lists of what it loaded before, so loads in one process grow slower one by
// one. Each timed load therefore runs in a child process, under a domain name not seen before
// (linked to the same file), and reports its CPU time as the iteration's time. The child loads
// once untimed first, which pays the copy-on-write faults of the pages that glibc writes.
void glibc_load(benchmark::State& state, bool real) {
    const Catalogue* c = need_catalogue(state, real);
    if (!c || !german_locale(state)) return;
    const char* first = c->present_order[0];
    auto load = [&](const std::string& domain) {
        ::bindtextdomain(domain.c_str(), c->root.c_str());
        ::bind_textdomain_codeset(domain.c_str(), "UTF-8");
        return ::dgettext(domain.c_str(), first);
    };
    std::string held = c->fresh_domain();
    bool measured = report_memory(state, *c, [&] {
        benchmark::DoNotOptimize(load(held));
        return [&held](const char* msgid) { return ::dgettext(held.c_str(), msgid); };
    });
    if (!measured) return;

    for (auto _ : state) {
        std::string warm = c->fresh_domain(), timed = c->fresh_domain();
        int channel[2];
        if (::pipe(channel) != 0) {
            state.SkipWithError("pipe failed");
            break;
        }
        pid_t child = ::fork();
        if (child == 0) {
            ::close(channel[0]);
            bool found = load(warm) != first;
            double seconds = cpu_seconds([&] { found = load(timed) != first && found; });
            if (!found) seconds = -1;
            ssize_t written = ::write(channel[1], &seconds, sizeof seconds);
            ::_exit(written == sizeof seconds ? 0 : 1);
        }
        ::close(channel[1]);
        double seconds = -1;
        if (child < 0 || ::read(channel[0], &seconds, sizeof seconds) != sizeof seconds)
            seconds = -1;
        ::close(channel[0]);
        if (child > 0) ::waitpid(child, nullptr, 0);
        if (seconds < 0) {
            state.SkipWithError("a child process could not load the catalogue with dgettext");
            break;
        }
        state.SetIterationTime(seconds);
    }
}

// --- Boost.Locale ---------------------------------------------------------------------------

// Only the message facet, for 8-bit characters: the least a program that wants its translations
// has to build, so the load is not charged with facets it does not need. The default backend is
// kept (ICU, as Debian builds it): it builds this locale faster than the posix and std ones.
void configure(boost::locale::generator& generator, const Catalogue& c) {
    generator.categories(boost::locale::message_facet);
    generator.characters(boost::locale::char_facet);
    generator.add_messages_path(c.root);
    generator.add_messages_domain(c.domain);
}

using MessageFacet = boost::locale::message_format<char>;

// The facet's get() is the fastest way in: a pointer into the catalogue, or null when absent.
struct BoostLookup {
    BoostLookup(const std::locale& l, const std::string& domain)
        : loc(l), facet(&std::use_facet<MessageFacet>(loc)), id(facet->domain(domain)) {}
    const char* operator()(const char* msgid) const {
        const char* text = facet->get(id, nullptr, msgid);
        return text ? text : msgid;
    }
    std::locale loc;
    const MessageFacet* facet;
    int id;
};

// `as_string` times the usual call instead, boost::locale::gettext(msgid, locale), which copies
// the translation into a std::string.
void boost_lookup(benchmark::State& state, bool real, bool present, bool as_string) try {
    const Catalogue* c = need_catalogue(state, real);
    if (!c) return;
    boost::locale::generator generator;
    configure(generator, *c);
    BoostLookup get(generator(kLocale), c->domain);
    if (!as_string) return run_lookups(state, *c, present, get);
    // A translation may equal its message, so the string cannot tell whether it was found.
    auto copy = [&](const char* msgid) {
        std::string text = boost::locale::gettext(msgid, get.loc);
        benchmark::DoNotOptimize(text.data());
        return msgid;
    };
    run_lookups(state, *c, present, copy, get);
} catch (const std::exception& e) {
    state.SkipWithError(e.what());
}

// A load is building the locale with the catalogue's domain and the first translation.
void boost_load(benchmark::State& state, bool real) try {
    const Catalogue* c = need_catalogue(state, real);
    if (!c) return;
    boost::locale::generator generator;
    configure(generator, *c);
    const char* first = c->present_order[0];
    bool measured = report_memory(state, *c, [&] {
        BoostLookup lookup(generator(kLocale), c->domain);
        benchmark::DoNotOptimize(lookup(first));
        return lookup;
    });
    if (!measured) return;
    for (auto _ : state) {
        BoostLookup lookup(generator(kLocale), c->domain);
        benchmark::DoNotOptimize(lookup(first));
    }
} catch (const std::exception& e) {
    state.SkipWithError(e.what());
}

void register_all() {
    const struct {
        const char* name;
        bool real;
    } catalogues[] = {{"real", true}, {"generated", false}};
    for (const auto& c : catalogues) {
        std::string tail = std::string("/") + c.name;
        bool real = c.real;
        for (bool present : {true, false}) {
            std::string measure = present ? "present" : "absent";
            benchmark::RegisterBenchmark((measure + "/nls" + tail).c_str(), nls_lookup, real,
                                         present);
            benchmark::RegisterBenchmark((measure + "/glibc" + tail).c_str(), glibc_lookup, real,
                                         present);
            benchmark::RegisterBenchmark((measure + "/boost" + tail).c_str(), boost_lookup, real,
                                         present, false);
            benchmark::RegisterBenchmark((measure + "/boost_string" + tail).c_str(), boost_lookup,
                                         real, present, true);
        }
        benchmark::RegisterBenchmark(("load/nls" + tail).c_str(), nls_load, real);
        benchmark::RegisterBenchmark(("load/boost" + tail).c_str(), boost_load, real);
        // Timed in child processes, each a fork of this one: a fixed count keeps them few.
        benchmark::RegisterBenchmark(("load/glibc" + tail).c_str(), glibc_load, real)
            ->UseManualTime()
            ->Iterations(50);
    }
}

} // namespace

int main(int argc, char** argv) {
    // dgettext would follow it before the locale.
    ::unsetenv("LANGUAGE");
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    register_all();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
}
