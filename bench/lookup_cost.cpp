// Lookups of one kind, a given number of times, for counting instructions with callgrind
// (bench/instructions.py): the real catalogue's messages through the catalogue itself, its
// charset check and conversion, a database, the domain manager, a chain of three catalogues and
// the C interface. Instructions do not depend on what else the machine does.
//
// usage: nls_lookup_cost KIND COUNT

#include <nls/nls.h>
#include <nls/nlsDataBase.h>
#include <nls/nlsDomainManager.h>
#include <nls/nlsLoadedDomain.h>

#include "benchCatalogue.h"

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <string>
#include <unistd.h>

#ifndef NLS_BENCH_REAL_CATALOGUE
#define NLS_BENCH_REAL_CATALOGUE "/usr/share/locale/de/LC_MESSAGES/gcc-12.mo"
#endif

int main(int argc, char** argv) {
    if (argc != 3) return 2;
    const char* chosen = std::getenv("NLS_BENCH_CATALOGUE");
    auto c = nlsbench::Catalogue::linked(chosen && *chosen ? chosen : NLS_BENCH_REAL_CATALOGUE);
    if (!c) return 1;
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANGUAGE"})
        ::unsetenv(variable);
    ::setenv("LANG", "de_DE.UTF-8", 1);
    unsigned int code = 0;
    nlsLoadedDomain catalogue(utString(c->path.c_str()), &code);
    nlsDataBase database(c->root.c_str(), c->domain.c_str());
    nlsDomainManager::textdomain(c->domain.c_str());
    nls_database* handle = nullptr;
    nls_database_create(c->root.c_str(), c->domain.c_str(), &handle);
    // The chain: two regional catalogues of one message each, the real one behind them as de.
    const std::string root = c->root + "/chain", file = "/LC_MESSAGES/" + c->domain + ".mo";
    for (const char* folder : {"de_AT.UTF-8", "de_AT", "de"})
        std::filesystem::create_directories(root + "/" + folder + "/LC_MESSAGES");
    for (const char* regional : {"de_AT.UTF-8", "de_AT"})
        std::ofstream(root + "/" + regional + file, std::ios::binary)
            << nlstest::build_mo({{"only here", regional}});
    if (::symlink(c->real_path.c_str(), (root + "/de" + file).c_str()) != 0) return 1;
    nlsDataBase chain(root.c_str(), c->domain.c_str());
    chain.language(utString("de_AT.UTF-8"));
    std::setlocale(LC_CTYPE, "de_DE.UTF-8");

    const std::map<std::string, std::function<const char*(const char*)>> kinds = {
        {"catalogue", [&](const char* m) { return catalogue.translate(m); }},
        {"checked", [&](const char* m) {
             return catalogue.converted(catalogue.translate(m), nullptr, m);
         }},
        {"converted", [&](const char* m) {
             return catalogue.converted(catalogue.translate(m), "ISO-8859-1", m);
         }},
        {"database", [&](const char* m) { return database.gettext(m); }},
        {"manager", [&](const char* m) { return nlsDomainManager::gettext(m); }},
        {"chain-third", [&](const char* m) { return chain.gettext(m); }},
        {"c-handle", [&](const char* m) { return nls_gettext(handle, m); }},
        {"c-manager", [&](const char* m) { return nls_gettext(nullptr, m); }},
    };
    const bool miss = std::strncmp(argv[1], "miss-", 5) == 0;
    auto kind = kinds.find(argv[1] + (miss ? 5 : 0));
    if (kind == kinds.end()) return 2;
    const auto& keys = miss ? c->absent_order : c->present_order;
    for (const char* key : keys) // every converted text made once, before the counted rounds
        kind->second(key);
    volatile std::size_t sink = 0;
    const long count = std::atol(argv[2]);
    for (long i = 0; i < count; ++i)
        sink = sink + reinterpret_cast<std::uintptr_t>(kind->second(keys[i % keys.size()]));
    nls_database_destroy(handle);
    return 0;
}
