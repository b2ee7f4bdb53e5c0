// Catalogue lookups by hash table and by binary search against glibc's dgettext on the same file,
// and the load of a catalogue against a plain read of it; on a real catalogue, a hit against the
// least a hash lookup can do, short messages against dgettext, and a miss of a message with bytes
// 0x80 to 0xFF against a miss of an ASCII one, hits given in a charset against plain ones; on one
// catalogue of the real one's messages, plural and context hits against plain ones; hits of
// system-dependent messages against plain ones in the same catalogue; hits through the domain
// manager, as applications look up, from one thread and from two, and through the C interface;
// and hits and misses through a chain of three catalogues against a database of one.
// bench/ratios.py turns one run into ratios, the only figures worth comparing on a shared machine.

#include <nls/nls.h>
#include <nls/nlsDataBase.h>
#include <nls/nlsDomainManager.h>
#include <nls/nlsLoadedDomain.h>

#include "benchCatalogue.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <cinttypes>
#include <filesystem>
#include <fstream>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <libintl.h>
#include <locale>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#ifndef NLS_BENCH_REAL_CATALOGUE
#define NLS_BENCH_REAL_CATALOGUE "/usr/share/locale/de/LC_MESSAGES/gcc-12.mo"
#endif

namespace {

// One generated catalogue of `n` messages per process, removed as the program ends.
const nlsbench::Catalogue& catalogue(int n) {
    static std::map<int, std::unique_ptr<nlsbench::Catalogue>> made;
    auto& slot = made[n];
    if (!slot) slot = nlsbench::Catalogue::generated(n);
    return *slot;
}

// Times `lookup` over `keys`, round and round.
template <class Lookup>
void run(benchmark::State& state, const std::vector<const char*>& keys, const Lookup& lookup) {
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(lookup(keys[i]));
        if (++i == keys.size()) i = 0;
    }
}

template <const char* (nlsLoadedDomain::*Lookup)(const char*) const>
void lookup(benchmark::State& state) {
    const nlsbench::Catalogue& c = catalogue(static_cast<int>(state.range(0)));
    unsigned int code = 0;
    nlsLoadedDomain domain(utString(c.path.c_str()), &code);
    if (code) state.SkipWithError("load failed");
    run(state, c.present_order, [&](const char* msgid) { return (domain.*Lookup)(msgid); });
}

void BM_HashLookup(benchmark::State& state) {
    lookup<&nlsLoadedDomain::translate_by_hash_table>(state);
}
void BM_BinaryChop(benchmark::State& state) {
    lookup<&nlsLoadedDomain::translate_by_binary_chop>(state);
}

// dgettext on the catalogue `c`, once the locale and the domain are set; false, the benchmark
// skipped, when that fails.
bool bind_dgettext(benchmark::State& state, const nlsbench::Catalogue& c) {
    ::unsetenv("LANGUAGE");
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8")) {
        state.SkipWithError("locale de_DE.UTF-8 is not installed (Debian package locales-all)");
        return false;
    }
    ::bindtextdomain(c.domain.c_str(), c.root.c_str());
    ::bind_textdomain_codeset(c.domain.c_str(), "UTF-8");
    if (::dgettext(c.domain.c_str(), c.present_order[0]) == c.present_order[0]) {
        state.SkipWithError("dgettext did not find the catalogue");
        return false;
    }
    return true;
}

void BM_Dgettext(benchmark::State& state) {
    const nlsbench::Catalogue& c = catalogue(static_cast<int>(state.range(0)));
    if (!bind_dgettext(state, c)) return;
    run(state, c.present_order,
        [&](const char* msgid) { return ::dgettext(c.domain.c_str(), msgid); });
}

// --- a real catalogue, as msgfmt wrote it ----------------------------------------------------

struct Real {
    std::unique_ptr<nlsbench::Catalogue> c;
    std::unique_ptr<nlsLoadedDomain> domain;
    std::vector<const char*> short_keys; ///< present messages of at most 16 bytes: labels
    /// Absent messages, ASCII ([0]) and with a byte 0x80 to 0xFF ([1]).
    std::vector<std::string> absent[2];
    std::vector<const char*> absent_order[2];
};

const Real* real(benchmark::State& state) {
    static Real made = [] {
        Real r;
        const char* chosen = std::getenv("NLS_BENCH_CATALOGUE");
        r.c = nlsbench::Catalogue::linked(chosen && *chosen ? chosen : NLS_BENCH_REAL_CATALOGUE);
        if (!r.c) return r;
        unsigned int code = 0;
        r.domain = std::make_unique<nlsLoadedDomain>(utString(r.c->path.c_str()), &code);
        if (code || r.domain->hash_size < 3) r.domain.reset();
        for (const char* key : r.c->present_order)
            if (std::strlen(key) <= 16) r.short_keys.push_back(key);
        // The absent messages end in " \x01(absent)": that \x01 becomes 0xE9 in the second set.
        // Both sets are copied alike, so that neither lies better in memory.
        for (const char* key : r.c->absent_order) {
            r.absent[0].push_back(key);
            r.absent[1].push_back(key);
            r.absent[1].back()[std::strlen(key) - 9] = '\xE9';
        }
        for (int high = 0; high < 2; ++high)
            for (const std::string& key : r.absent[high])
                r.absent_order[high].push_back(key.c_str());
        return r;
    }();
    if (!made.domain)
        state.SkipWithError("no real catalogue with a hash table at " NLS_BENCH_REAL_CATALOGUE
                            " (install the Debian package gcc-12-locales: scripts/deps.sh)");
    return made.domain ? &made : nullptr;
}

std::uint32_t host_word(const unsigned char* at) {
    std::uint32_t value;
    std::memcpy(&value, at, sizeof value);
    return value;
}

// The least a lookup through msgfmt's hash table can do, written in place: its hash, the walk and
// one comparison a probe, without bounds checks, other byte orders or a second hash.
const char* bare_probe(const nlsLoadedDomain& d, const char* msgid) {
    std::uint32_t h = 0;
    std::size_t length = 0;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(msgid); *p;
         ++p, ++length) {
        h = (h << 4) + *p;
        std::uint32_t g = h & 0xF0000000u;
        if (g != 0) h = h ^ (g >> 24) ^ g;
    }
    std::uint32_t index = h % d.hash_size, step = 1 + h % (d.hash_size - 2);
    for (;;) {
        std::uint32_t k = host_word(d.hash_table + 4 * std::size_t{index});
        if (k == 0) return msgid;
        const unsigned char* descriptor = d.messages + 8 * std::size_t{k - 1};
        const char* stored = reinterpret_cast<const char*>(d.image + host_word(descriptor + 4));
        if (host_word(descriptor) >= length && std::strcmp(stored, msgid) == 0)
            return reinterpret_cast<const char*>(
                d.image + host_word(d.translations + 8 * std::size_t{k - 1} + 4));
        index = index >= d.hash_size - step ? index - (d.hash_size - step) : index + step;
    }
}

void BM_RealHit(benchmark::State& state) {
    if (const Real* r = real(state))
        run(state, r->c->present_order,
            [&](const char* msgid) { return r->domain->translate(msgid); });
}
void BM_RealBareProbe(benchmark::State& state) {
    if (const Real* r = real(state))
        run(state, r->c->present_order,
            [&](const char* msgid) { return bare_probe(*r->domain, msgid); });
}
// Hits given in a charset: the process's own, which is the catalogue's (UTF-8), so only checked;
// and Latin-1, once every text has been converted.
void BM_RealCheckedHit(benchmark::State& state) {
    const Real* r = real(state);
    if (!r) return;
    if (!std::setlocale(LC_CTYPE, "de_DE.UTF-8")) {
        state.SkipWithError("locale de_DE.UTF-8 is not installed (Debian package locales-all)");
        return;
    }
    run(state, r->c->present_order, [&](const char* msgid) {
        return r->domain->converted(r->domain->translate(msgid), nullptr, msgid);
    });
}
void BM_RealConvertedHit(benchmark::State& state) {
    const Real* r = real(state);
    if (!r) return;
    auto lookup = [&](const char* msgid) {
        return r->domain->converted(r->domain->translate(msgid), "ISO-8859-1", msgid);
    };
    for (const char* msgid : r->c->present_order)
        lookup(msgid);
    run(state, r->c->present_order, lookup);
}
void BM_ShortHit(benchmark::State& state) {
    if (const Real* r = real(state))
        run(state, r->short_keys, [&](const char* msgid) { return r->domain->translate(msgid); });
}
void BM_ShortDgettext(benchmark::State& state) {
    const Real* r = real(state);
    if (!r || !bind_dgettext(state, *r->c)) return;
    const char* domain = r->c->domain.c_str();
    run(state, r->short_keys, [&](const char* msgid) { return ::dgettext(domain, msgid); });
}
void miss(benchmark::State& state, int high) {
    if (const Real* r = real(state))
        run(state, r->absent_order[high],
            [&](const char* msgid) { return r->domain->translate(msgid); });
}
void BM_MissAscii(benchmark::State& state) {
    miss(state, 0);
}
void BM_MissNonAscii(benchmark::State& state) {
    miss(state, 1);
}

// --- plural forms and contexts: the real catalogue's messages, every third one plain, with
// plural forms or in a context, in one catalogue under Russian's rule of three forms ---------

struct Forms {
    std::unique_ptr<nlsbench::Catalogue> c;
    std::unique_ptr<nlsLoadedDomain> domain;
    std::vector<const char*> keys[3]; ///< plain, counted, in the context "menu"
};

const Forms* forms(benchmark::State& state) {
    const Real* r = real(state);
    if (!r) return nullptr;
    static Forms made = [r] {
        Forms f;
        std::vector<nlstest::MoEntry> entries{
            {"", "Content-Type: text/plain; charset=UTF-8\n"
                 "Plural-Forms: nplurals=3; plural=(n%10==1 && n%100!=11 ? 0 : n%10>=2 && "
                 "n%10<=4 && (n%100<10 || n%100>=20) ? 1 : 2);\n"}};
        const std::vector<std::string>& ids = r->c->msgids;
        for (std::size_t i = 0; i < ids.size(); ++i) {
            const std::string& id = ids[i];
            const std::string kinds[3] = {id, id + '\0' + "plural", "menu\x04" + id};
            entries.push_back({kinds[i % 3], "form 0" + std::string(1, '\0') + "form 1" +
                                                 std::string(1, '\0') + "form 2"});
            f.keys[i % 3].push_back(id.c_str());
        }
        // The lookups in the real catalogue's shuffled order.
        for (auto& keys : f.keys)
            std::shuffle(keys.begin(), keys.end(), std::mt19937(42));
        f.c = nlsbench::Catalogue::written("nlsforms", entries);
        unsigned int code = 0;
        f.domain = std::make_unique<nlsLoadedDomain>(utString(f.c->path.c_str()), &code);
        return f;
    }();
    if (!made.domain->plural_forms.parsed()) state.SkipWithError("the plural rule did not parse");
    return &made;
}

void BM_FormsGettextHit(benchmark::State& state) {
    if (const Forms* f = forms(state))
        run(state, f->keys[0], [&](const char* msgid) { return f->domain->translate(msgid); });
}
void BM_FormsNgettextHit(benchmark::State& state) {
    unsigned long n = 0;
    if (const Forms* f = forms(state))
        run(state, f->keys[1],
            [&](const char* msgid) { return f->domain->ngettext(msgid, "plural", ++n % 100); });
}
void BM_FormsPgettextHit(benchmark::State& state) {
    if (const Forms* f = forms(state))
        run(state, f->keys[2],
            [&](const char* msgid) { return f->domain->pgettext("menu", msgid); });
}

// --- system-dependent messages: a catalogue that msgfmt writes with as many messages holding an
// <inttypes.h> conversion, expanded at load, as plain ones of the same shape ------------------

struct SystemDependent {
    std::unique_ptr<nlsLoadedDomain> domain;
    std::vector<std::string> keys[2];  ///< plain, system-dependent
    std::vector<const char*> order[2]; ///< each key once, shuffled
};

const SystemDependent* system_dependent(benchmark::State& state) {
    static SystemDependent made = [] {
        SystemDependent s;
#ifdef NLS_MSGFMT
        char dir[] = "/tmp/nls-bench-XXXXXX";
        if (!::mkdtemp(dir)) return s;
        const std::string po = std::string(dir) + "/system.po",
                          mo = std::string(dir) + "/system.mo";
        std::string text = "msgid \"\"\nmsgstr \"Content-Type: text/plain; charset=UTF-8\\n\"\n";
        for (int i = 0; i < 2000; ++i) {
            const bool system = i % 2 != 0;
            const std::string number = std::to_string(i);
            text += "\n#, c-format\nmsgid \"Message " + number +
                    " of the user interface: " + (system ? "%<PRIu64>" : "%d") +
                    " bytes\"\nmsgstr \"Meldung " + number + " der Benutzeroberfl\xC3\xA4" +
                    "che: " + (system ? "%<PRIu64>" : "%d") + " Bytes\"\n";
            s.keys[system].push_back("Message " + number + " of the user interface: " +
                                     (system ? "%" PRIu64 : "%d") + " bytes");
        }
        std::ofstream(po) << text;
        const std::string command = std::string(NLS_MSGFMT) + " -o " + mo + " " + po;
        unsigned int code = 1;
        if (std::system(command.c_str()) == 0)
            s.domain = std::make_unique<nlsLoadedDomain>(utString(mo.c_str()), &code);
        std::remove(po.c_str());
        std::remove(mo.c_str());
        ::rmdir(dir);
        for (int system = 0; system < 2; ++system) {
            for (const std::string& key : s.keys[system]) {
                s.order[system].push_back(key.c_str());
                // Every key a hit, or the benchmark would measure misses.
                if (code || s.domain->translate(key.c_str()) == key.c_str()) code = 1;
            }
            std::shuffle(s.order[system].begin(), s.order[system].end(), std::mt19937(42));
        }
        if (code) s.domain.reset();
#endif
        return s;
    }();
    if (!made.domain) state.SkipWithError("no catalogue of system-dependent messages (msgfmt)");
    return made.domain ? &made : nullptr;
}

void system_hit(benchmark::State& state, int system) {
    if (const SystemDependent* s = system_dependent(state))
        run(state, s->order[system],
            [&](const char* msgid) { return s->domain->translate(msgid); });
}
void BM_SystemPlainHit(benchmark::State& state) {
    system_hit(state, 0);
}
void BM_SystemDependentHit(benchmark::State& state) {
    system_hit(state, 1);
}

// --- through the domain manager: a database of the real catalogue's domain, selected ----------

const Real* managed(benchmark::State& state) {
    const Real* r = real(state);
    if (!r) return nullptr;
    static const bool selected = [r] {
        // As a Linux user would run: the tree's "de" folder serves German.
        for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANGUAGE"})
            ::unsetenv(variable);
        ::setenv("LANG", "de_DE.UTF-8", 1);
        static nlsDataBase database(r->c->root.c_str(), r->c->domain.c_str());
        // The benchmark's reports print numbers in the "C" conventions, as JSON wants them.
        nlsDomainManager::numeric_translation(0);
        std::locale::global(std::locale::classic());
        const char* path = nlsDomainManager::textdomain(r->c->domain.c_str());
        return path && *path;
    }();
    if (!selected) state.SkipWithError("the domain manager found no catalogue");
    return selected ? r : nullptr;
}

void BM_ManagerHit(benchmark::State& state) {
    if (const Real* r = managed(state))
        run(state, r->c->present_order,
            [](const char* msgid) { return nlsDomainManager::gettext(msgid); });
}
// The same from several threads at once; each starts at its own place in the keys.
void BM_ManagerHitThreads(benchmark::State& state) {
    const Real* r = managed(state);
    if (!r) return;
    const std::vector<const char*>& keys = r->c->present_order;
    std::size_t i = keys.size() / 2 * static_cast<std::size_t>(state.thread_index()) % keys.size();
    for (auto _ : state) {
        benchmark::DoNotOptimize(nlsDomainManager::gettext(keys[i]));
        if (++i == keys.size()) i = 0;
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
}

// --- through the C interface: the same hits against the C++ calls they wrap -----------------

// A C handle and a C++ database of the managed domain, sharing its catalogue.
struct Handles {
    explicit Handles(const nlsbench::Catalogue& c) : database(c.root.c_str(), c.domain.c_str()) {
        nls_database_create(c.root.c_str(), c.domain.c_str(), &handle);
    }
    ~Handles() { nls_database_destroy(handle); }
    nlsDataBase database;
    nls_database* handle = nullptr;
};

const Handles* handles(benchmark::State& state) {
    const Real* r = managed(state);
    if (!r) return nullptr;
    static const Handles made(*r->c);
    return &made;
}

void BM_DatabaseHit(benchmark::State& state) {
    if (const Handles* h = handles(state))
        run(state, real(state)->c->present_order,
            [h](const char* msgid) { return h->database.gettext(msgid); });
}
void BM_CDatabaseHit(benchmark::State& state) {
    if (const Handles* h = handles(state))
        run(state, real(state)->c->present_order,
            [h](const char* msgid) { return nls_gettext(h->handle, msgid); });
}
void BM_CManagerHit(benchmark::State& state) {
    if (const Real* r = managed(state))
        run(state, r->c->present_order,
            [](const char* msgid) { return nls_gettext(nullptr, msgid); });
}

// --- chains: one database whose regional catalogues (de_AT.UTF-8, de_AT) hold one message each,
// with the real catalogue behind them as de ---------------------------------------------------

struct Chains {
    std::unique_ptr<nlsDataBase> behind_two;
};

const Chains* chains(benchmark::State& state) {
    const Real* r = real(state);
    if (!r) return nullptr;
    static Chains made = [r] {
        Chains c;
        // The real catalogue's root holds de only; the chain's root links it as de too.
        const std::string root = r->c->root + "/chain", file = "/LC_MESSAGES/" + r->c->domain + ".mo";
        for (const char* folder : {"de_AT.UTF-8", "de_AT", "de"})
            std::filesystem::create_directories(root + "/" + folder + "/LC_MESSAGES");
        for (const char* regional : {"de_AT.UTF-8", "de_AT"})
            std::ofstream(root + "/" + regional + file, std::ios::binary)
                << nlstest::build_mo({{"only here", regional}});
        if (::symlink(r->c->real_path.c_str(), (root + "/de" + file).c_str()) != 0) return c;
        c.behind_two = std::make_unique<nlsDataBase>(root.c_str(), r->c->domain.c_str());
        c.behind_two->language(utString("de_AT.UTF-8"));
        nlsDomainManager::numeric_translation(0);
        std::locale::global(std::locale::classic());
        return c;
    }();
    if (!made.behind_two || std::strcmp(made.behind_two->gettext("only here"), "de_AT.UTF-8") ||
        made.behind_two->gettext(r->c->present_order[0]) == r->c->present_order[0])
        state.SkipWithError("the chain was not made");
    return &made;
}

void BM_ChainThirdHit(benchmark::State& state) {
    const Real* r = real(state);
    if (const Chains* c = chains(state))
        run(state, r->c->present_order,
            [&](const char* msgid) { return c->behind_two->gettext(msgid); });
}
void BM_ChainThirdMiss(benchmark::State& state) {
    const Real* r = real(state);
    if (const Chains* c = chains(state))
        run(state, r->absent_order[0],
            [&](const char* msgid) { return c->behind_two->gettext(msgid); });
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
BENCHMARK(BM_RealHit);
BENCHMARK(BM_RealBareProbe);
BENCHMARK(BM_RealCheckedHit);
BENCHMARK(BM_RealConvertedHit);
BENCHMARK(BM_ShortHit);
BENCHMARK(BM_ShortDgettext);
BENCHMARK(BM_MissAscii);
BENCHMARK(BM_MissNonAscii);
BENCHMARK(BM_FormsGettextHit);
BENCHMARK(BM_FormsNgettextHit);
BENCHMARK(BM_FormsPgettextHit);
BENCHMARK(BM_SystemPlainHit);
BENCHMARK(BM_SystemDependentHit);
BENCHMARK(BM_ManagerHit);
BENCHMARK(BM_ChainThirdHit);
BENCHMARK(BM_ChainThirdMiss);
BENCHMARK(BM_ManagerHitThreads)->Threads(1)->Threads(2)->UseRealTime();
BENCHMARK(BM_DatabaseHit);
BENCHMARK(BM_CDatabaseHit);
BENCHMARK(BM_CManagerHit);

BENCHMARK_MAIN();
