#include "benchCatalogue.h"

#include "moWriter.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

namespace fs = std::filesystem;

namespace nlsbench {

Catalogue::Catalogue() {
    char pattern[] = "/tmp/nls-bench-XXXXXX";
    if (!::mkdtemp(pattern)) {
        std::perror("nls-bench: mkdtemp");
        std::exit(1);
    }
    root = pattern;
    fs::create_directories(root + "/de/LC_MESSAGES");
}

// Benchmarks keep their catalogues in statics, so this runs as the program ends.
Catalogue::~Catalogue() {
    std::error_code ignored;
    fs::remove_all(root, ignored);
}

std::unique_ptr<Catalogue> Catalogue::generated(int n) {
    // The header entry names the charset, without which some readers refuse the file.
    std::vector<nlstest::MoEntry> entries{{"", "Content-Type: text/plain; charset=UTF-8\n"}};
    for (int i = 0; i < n; ++i)
        entries.push_back({"Message " + std::to_string(i * 7919 % n) + " of the user interface",
                           "Meldung " + std::to_string(i) + " der Benutzeroberfl\xC3\xA4" + "che"});
    return written("nlsbench" + std::to_string(n), entries);
}

std::unique_ptr<Catalogue> Catalogue::written(const std::string& domain,
                                              const std::vector<nlstest::MoEntry>& entries) {
    std::unique_ptr<Catalogue> c(new Catalogue);
    c->domain = domain;
    c->path = c->root + "/de/LC_MESSAGES/" + c->domain + ".mo";
    std::string image = nlstest::build_mo(entries);
    std::ofstream(c->path, std::ios::binary).write(image.data(), image.size());
    c->real_path = c->path;
    if (!c->read_keys()) return nullptr;
    return c;
}

std::unique_ptr<Catalogue> Catalogue::linked(const std::string& file) {
    std::error_code error;
    fs::path target = fs::canonical(file, error);
    if (error) return nullptr;
    std::unique_ptr<Catalogue> c(new Catalogue);
    c->domain = target.stem().string();
    c->path = c->root + "/de/LC_MESSAGES/" + c->domain + ".mo";
    c->real_path = target.string();
    fs::create_symlink(target, c->path, error);
    if (error || !c->read_keys()) return nullptr;
    return c;
}

std::string Catalogue::fresh_domain() const {
    static int count = 0;
    std::string name = domain + "-" + std::to_string(++count);
    std::error_code ignored;
    fs::create_symlink(real_path, root + "/de/LC_MESSAGES/" + name + ".mo", ignored);
    return name;
}

bool Catalogue::read_keys() {
    std::ifstream in(real_path, std::ios::binary);
    std::string image((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    bytes = image.size();
    if (bytes < 28) return false;
    std::uint32_t magic = nlstest::mo_word(image, nlstest::kMoMagic);
    std::uint32_t n = nlstest::mo_word(image, nlstest::kMoCount);
    std::uint32_t table = nlstest::mo_word(image, nlstest::kMoMessages);
    if (magic != 0x950412de || table > bytes || (bytes - table) / 8 < n) return false;
    for (std::uint32_t i = 0; i < n; ++i) {
        std::uint32_t length = nlstest::mo_word(image, table + 8 * std::size_t{i});
        std::uint32_t offset = nlstest::mo_word(image, table + 8 * std::size_t{i} + 4);
        if (offset > bytes || length >= bytes - offset) return false;
        std::string key = image.substr(offset, length);
        // The header entry is no message. A plural pair's stored key runs on past the singular,
        // so a lookup by hash, which compares lengths first, never finds it: left out, so that
        // every implementation is asked the same keys.
        if (!key.empty() && key.find('\0') == std::string::npos) msgids.push_back(key);
    }
    for (const std::string& id : msgids)
        absent.push_back(id + " \x01(absent)");
    std::vector<std::size_t> order(msgids.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::shuffle(order.begin(), order.end(), std::mt19937(42));
    for (std::size_t i : order) {
        present_order.push_back(msgids[i].c_str());
        absent_order.push_back(absent[i].c_str());
    }
    return !msgids.empty();
}

std::size_t mapped_bytes(const std::string& file) {
    std::ifstream maps("/proc/self/maps");
    std::size_t total = 0;
    for (std::string line; std::getline(maps, line);) {
        std::size_t slash = line.find('/');
        if (slash == std::string::npos || line.compare(slash, std::string::npos, file) != 0)
            continue;
        unsigned long start = 0, end = 0;
        if (std::sscanf(line.c_str(), "%lx-%lx", &start, &end) == 2) total += end - start;
    }
    return total;
}

} // namespace nlsbench
