// Every lookup of a folder of installed catalogues, asked of glibc's gettext and of this library
// in the process's own environment (LANG, LANGUAGE, LC_*): for each domain, every message that
// any of its catalogues holds in any language, plain, in context, with plural forms (for several
// counts) and system-dependent (expanded as msgfmt's readers do). The messages are read from the
// files by this program, not by the library, so a message the library fails to see shows.
//
// usage: nls_glibc_parity [ROOT]     (default /usr/share/locale; bench/glibc_parity.sh runs it
//                                      under several environments)
// Prints one line of counts, and the first differences; exits 1 when any answer differs.

#include <nls/nlsDataBase.h>

#include <clocale>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <libintl.h>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

namespace fs = std::filesystem;

// A message as a program asks for it: "context\004msgid" or "msgid", and its plural or "".
using Key = std::pair<std::string, std::string>;

// The conversions of <inttypes.h> that system-dependent messages name, spelt as glibc spells them
// on x86-64 (64-bit types are long); "I" (the flag for locale digits) stays as it is.
std::string spelling(const std::string& name) {
    static const std::map<std::string, std::string> conversions = [] {
        std::map<std::string, std::string> table = {{"I", "I"}};
        const char* wide[] = {"64", "LEAST64", "FAST16", "FAST32", "FAST64", "MAX", "PTR"};
        const char* narrow[] = {"8", "16", "32", "LEAST8", "LEAST16", "LEAST32", "FAST8"};
        for (char c : std::string("diouxX")) {
            for (const char* w : wide)
                table[std::string("PRI") + c + w] = std::string("l") + c;
            for (const char* n : narrow)
                table[std::string("PRI") + c + n] = std::string(1, c);
        }
        return table;
    }();
    auto found = conversions.find(name);
    return found == conversions.end() ? std::string() : found->second;
}

class MoFile {
public:
    explicit MoFile(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        m_bytes.assign(std::istreambuf_iterator<char>(in), {});
        if (m_bytes.size() < 28) return;
        const std::uint32_t magic = word(0);
        m_swapped = magic == 0xde120495;
        if (!m_swapped && magic != 0x950412de) return;
        m_ok = word(4) >> 16 <= 1;
    }

    // Adds every message of the file (system-dependent ones expanded) to `keys`.
    void collect(std::set<Key>& keys) const {
        if (!m_ok) return;
        const std::uint32_t count = word(8), table = word(12);
        for (std::uint32_t i = 0; i < count; ++i)
            add(string(word(table + 8 * i + 4), word(table + 8 * i)), keys);
        if ((word(4) & 0xffff) == 0 || m_bytes.size() < 48) return;
        const std::uint32_t segments = word(28), segment_table = word(32);
        const std::uint32_t system = word(36), system_table = word(40);
        std::vector<std::string> spelt;
        for (std::uint32_t i = 0; i < segments; ++i) {
            std::string name = string(word(segment_table + 8 * i + 4), word(segment_table + 8 * i));
            spelt.push_back(spelling(name.c_str())); // the stored name ends with its NUL
        }
        for (std::uint32_t i = 0; i < system; ++i) {
            std::uint32_t at = word(system_table + 4 * i), text = word(at);
            std::string expanded;
            bool known = true;
            for (at += 4;; at += 8) {
                const std::uint32_t length = word(at), conversion = word(at + 4);
                expanded += string(text, length);
                text += length;
                if (conversion == 0xffffffff) break;
                if (conversion >= spelt.size() || spelt[conversion].empty()) known = false;
                if (conversion < spelt.size()) expanded += spelt[conversion];
            }
            if (known) add(expanded, keys);
        }
    }

private:
    std::uint32_t word(std::uint64_t at) const {
        if (at + 4 > m_bytes.size()) throw std::out_of_range("past the file");
        std::uint32_t w;
        std::memcpy(&w, m_bytes.data() + at, 4);
        return m_swapped ? __builtin_bswap32(w) : w;
    }
    std::string string(std::uint64_t at, std::uint64_t length) const {
        if (at + length > m_bytes.size()) throw std::out_of_range("past the file");
        return std::string(m_bytes.data() + at, length);
    }
    // msgid, then "\0plural" for a message with plural forms; the header ("") is left out.
    static void add(const std::string& stored, std::set<Key>& keys) {
        const std::string id = stored.c_str();
        if (id.empty() || id.back() == '\004') return;
        keys.emplace(id, id.size() < stored.size() ? stored.c_str() + id.size() + 1 : "");
    }

    std::vector<char> m_bytes;
    bool m_swapped = false, m_ok = false;
};

struct Question {
    std::string context, message, plural;
    unsigned long n; // unused without a plural
};

// The questions a program may ask about `key`: once without a plural, else one per count.
std::vector<Question> questions(const Key& key) {
    const std::size_t separator = key.first.find('\004');
    Question q;
    q.message = separator == std::string::npos ? key.first : key.first.substr(separator + 1);
    if (separator != std::string::npos) q.context = key.first.substr(0, separator);
    q.plural = key.second;
    std::vector<Question> asked;
    if (q.plural.empty()) return {q};
    for (unsigned long n : {0ul, 1ul, 2ul, 3ul, 5ul, 11ul, 21ul, 101ul, 1000001ul}) {
        q.n = n;
        asked.push_back(q);
    }
    return asked;
}

std::string glibc_answer(const char* domain, const Question& q) {
    const std::string key = q.context.empty() ? q.message : q.context + '\004' + q.message;
    const char* answer = q.plural.empty()
                             ? dgettext(domain, key.c_str())
                             : dngettext(domain, key.c_str(), q.plural.c_str(), q.n);
    // Untranslated, glibc gives back the key, context and all; a program's macro strips it.
    if (answer == key.c_str()) return q.message;
    return answer;
}

std::string nls_answer(const nlsDataBase& db, const Question& q) {
    const char* m = q.message.c_str();
    if (q.plural.empty())
        return q.context.empty() ? db.gettext(m) : db.pgettext(q.context.c_str(), m);
    const char* p = q.plural.c_str();
    return q.context.empty() ? db.ngettext(m, p, q.n) : db.npgettext(q.context.c_str(), m, p, q.n);
}

} // namespace

int main(int argc, char** argv) {
    const fs::path root = argc > 1 ? argv[1] : "/usr/share/locale";
    std::map<std::string, std::vector<fs::path>> domains;
    std::error_code ec;
    for (const auto& language : fs::directory_iterator(root, ec))
        for (const auto& file : fs::directory_iterator(language.path() / "LC_MESSAGES", ec))
            if (file.path().extension() == ".mo")
                domains[file.path().stem().string()].push_back(file.path());

    // glibc first, for every domain, before the library has touched the process's locale.
    std::setlocale(LC_ALL, "");
    const std::string glibc_locale = std::setlocale(LC_ALL, nullptr);
    std::map<std::string, std::vector<std::pair<Question, std::string>>> expected;
    std::size_t files = 0, unreadable = 0;
    for (const auto& [domain, paths] : domains) {
        std::set<Key> keys;
        for (const fs::path& path : paths) {
            ++files;
            try {
                MoFile(path).collect(keys);
            } catch (const std::out_of_range&) {
                ++unreadable;
            }
        }
        bindtextdomain(domain.c_str(), root.c_str());
        for (const Key& key : keys)
            for (const Question& q : questions(key))
                expected[domain].emplace_back(q, glibc_answer(domain.c_str(), q));
    }

    nlsDataBase::error_handler(nullptr); // catalogues missing in a language are expected
    std::size_t asked = 0, translated = 0, differ = 0;
    std::string nls_locale, language;
    for (const auto& [domain, answers] : expected) {
        nlsDataBase db(root.c_str(), domain.c_str());
        if (nls_locale.empty()) {
            nls_locale = std::setlocale(LC_ALL, nullptr);
            language = db.language();
        }
        for (const auto& [q, glibc] : answers) {
            ++asked;
            const std::string nls = nls_answer(db, q);
            translated += glibc != q.message && glibc != q.plural;
            if (nls == glibc) continue;
            if (++differ <= 5)
                std::printf("  %s: \"%s\" n=%lu: glibc \"%.60s\", nls \"%.60s\"\n", domain.c_str(),
                            q.message.c_str(), q.plural.empty() ? 0 : q.n, glibc.c_str(),
                            nls.c_str());
        }
    }
    std::printf("%zu domains, %zu files (%zu unreadable), %zu lookups, %zu translated by glibc, "
                "%zu differ; language %s; locale glibc %s, nls %s\n",
                domains.size(), files, unreadable, asked, translated, differ,
                language.c_str(), glibc_locale.c_str(),
                nls_locale.c_str());
    return differ ? 1 : 0;
}
