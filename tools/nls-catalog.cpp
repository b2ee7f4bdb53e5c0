// nls-catalog: what the library makes of a compiled catalogue, and the language folder of a .po
// file. See kUsage.

#include <nls/internal/nlsLocaleInfo.h>
#include <nls/nlsErrorData.h>
#include <nls/nlsLanguage.h>
#include <nls/nlsLoadedDomain.h>
#include <platform/internal/apCrtLocale.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

namespace {

const char* const kUsage =
    "usage: nls-catalog check FILE...\n"
    "       nls-catalog lookup FILE MESSAGE [N] [--context CONTEXT]\n"
    "       nls-catalog language [--library-names] PO-FILE\n"
    "\n"
    "check     for each compiled catalogue (.mo): its byte order, message count and plural\n"
    "          rule, and every message that a lookup cannot reach; status 1 when a file does\n"
    "          not load or a message cannot be reached\n"
    "lookup    what the library answers for MESSAGE (with N, the plural form for N; with\n"
    "          --context, the message in that context); the message itself when untranslated\n"
    "language  the catalogue folder for a .po file's language, from its Language: header, else\n"
    "          from its file name: as /usr/share/locale names it (de, pt_BR), or with\n"
    "          --library-names the library's name (German, Portuguese-BRA)\n"
    "\n"
    "Mistakes (a missing or damaged file, a .po given for a .mo) give one line on standard\n"
    "error and status 1; wrong arguments give status 2.\n";

int usage_error(const char* text) {
    std::fprintf(stderr, "nls-catalog: %s (try --help)\n", text);
    return 2;
}

// A mistake in a file the user named: one line on standard error.
void report(const std::string& file, const std::string& problem) {
    std::fprintf(stderr, "%s: %s\n", file.c_str(), problem.c_str());
}

// True when `text` is a .po keyword: msgctxt, msgid, msgid_plural, msgstr or msgstr[N].
bool po_keyword(const std::string& text) {
    if (text == "msgctxt" || text == "msgid" || text == "msgid_plural" || text == "msgstr")
        return true;
    return text.size() > 8 && text.compare(0, 7, "msgstr[") == 0 && text.back() == ']' &&
           text.find_first_not_of("0123456789", 7) == text.size() - 1;
}

// True when `file` reads as a .po source: blank lines, comments, keywords followed by a quoted
// string and quoted continuation lines only, with at least one msgid.
bool parses_as_po(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    bool msgid = false;
    bool first = true;
    for (std::string line; std::getline(in, line); first = false) {
        if (first && line.compare(0, 3, "\xEF\xBB\xBF") == 0) line.erase(0, 3); // a UTF-8 mark
        std::size_t start = line.find_first_not_of(" \t\r");
        if (start == std::string::npos || line[start] == '#') continue;
        std::size_t open = line.find('"', start);
        std::size_t close = line.find_last_not_of(" \t\r");
        if (open == std::string::npos || close == open || line[close] != '"') return false;
        std::string keyword = line.substr(start, open - start);
        keyword.erase(keyword.find_last_not_of(" \t") + 1);
        if (!keyword.empty() && !po_keyword(keyword)) return false;
        msgid = msgid || keyword == "msgid";
    }
    return msgid;
}

// What keeps `file` from being read as a catalogue at all (missing, a folder, a FIFO or device,
// no permission), or empty. A FIFO is never opened here: that would wait for a writer.
std::string unreadable(const std::string& file) {
    std::error_code error;
    std::filesystem::file_status status = std::filesystem::status(file, error);
    if (status.type() == std::filesystem::file_type::not_found) return "no such file";
    if (error) return "cannot be read: " + error.message();
    if (std::filesystem::is_directory(status)) return "a directory, not a catalogue";
    if (!std::filesystem::is_regular_file(status)) return "not a regular file";
    std::FILE* stream = std::fopen(file.c_str(), "rb");
    if (!stream) return std::string("cannot be read: ") + std::strerror(errno);
    std::fclose(stream);
    return "";
}

// Why `file` did not load, the library having answered `code`: in the file system's terms where
// they tell, else the library's report.
std::string load_problem(const std::string& file, unsigned int code) {
    std::string problem = unreadable(file);
    if (!problem.empty()) return problem;
    if (parses_as_po(file)) return "a .po source, not a compiled catalogue: compile it with msgfmt";
    std::error_code error;
    std::uintmax_t size = std::filesystem::file_size(file, error);
    // The header alone (magic, revision, count, two table offsets, hash size and offset) has 28.
    if (!error && size < 28) return std::to_string(size) + " bytes, too short to be a catalogue";
    return "not loadable: " + std::string(nlsErrorData(code).text().c_str()) + " (code " +
           std::to_string(code) + ")";
}

// The catalogue in `file`; null, after a one-line reason, when it does not load.
std::unique_ptr<nlsLoadedDomain> load(const std::string& file) {
    unsigned int code = 0;
    auto domain = std::make_unique<nlsLoadedDomain>(utString(file.c_str()), &code);
    if (!domain->failed) return domain;
    report(file, load_problem(file, code));
    return nullptr;
}

std::uint32_t word(const nlsLoadedDomain& d, const unsigned char* at) {
    std::uint32_t value;
    std::memcpy(&value, at, sizeof value);
    if (d.swapped)
        value = (value >> 24) | ((value >> 8) & 0xff00) | ((value << 8) & 0xff0000) | (value << 24);
    return value;
}

// The string that descriptor `index` of `table` designates, or null when it does not lie in the
// image with its NUL.
const char* string_at(const nlsLoadedDomain& d, const unsigned char* table, std::uint32_t index) {
    std::uint32_t offset = word(d, table + 8 * std::size_t{index} + 4);
    if (offset >= d.image_size || !std::memchr(d.image + offset, 0, d.image_size - offset))
        return nullptr;
    return reinterpret_cast<const char*>(d.image + offset);
}

// Text for one line: control bytes (the context separator among them) shown as \ooo.
std::string printable(const char* text) {
    std::string out;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p) {
        char octal[8];
        std::snprintf(octal, sizeof octal, "\\%03o", *p);
        out += *p < 0x20 || *p == 0x7f ? octal : std::string(1, static_cast<char>(*p));
    }
    return out;
}

bool check(const std::string& file) {
    std::unique_ptr<nlsLoadedDomain> domain = load(file);
    if (!domain) return false;
    const nlsLoadedDomain& d = *domain;
    const std::uint16_t one = 1;
    bool host_little = *reinterpret_cast<const unsigned char*>(&one) == 1;
    bool little = host_little != (d.swapped != 0);
    std::string rule = "none, so n != 1";
    static const char empty[] = "";
    const char* header = d.translate(empty);
    if (const char* plural = header != empty ? std::strstr(header, "plural=") : nullptr) {
        const char* start = std::strstr(header, "nplurals=");
        if (!start || start > plural) start = plural;
        rule = "\"" + std::string(start, std::strcspn(start, "\n")) + "\"" +
               (d.plural_forms.parsed() ? " (parsed)" : " (not parsed, so n != 1)");
    }
    std::printf("%s: %s-endian, %u messages, %u hash slots, plural rule %s\n", file.c_str(),
                little ? "little" : "big", d.string_count, d.hash_size, rule.c_str());

    // Each pair must be what a lookup of its message (its singular, for plural forms) finds.
    std::uint32_t unreachable = 0;
    for (std::uint32_t i = 0; i < d.string_count; ++i) {
        const char* message = string_at(d, d.messages, i);
        const char* translation = string_at(d, d.translations, i);
        if (message && translation && d.translate(message) == translation) continue;
        ++unreachable;
        report(file, "message " + std::to_string(i + 1) + " cannot be reached: \"" +
                         (message ? printable(message) : "(outside the file)") + "\"");
    }
    if (unreachable)
        report(file, std::to_string(unreachable) + " of " + std::to_string(d.string_count) +
                         " messages cannot be reached");
    return unreachable == 0;
}

int lookup(int argc, char** argv) {
    const char* context = nullptr;
    const char* count = nullptr;
    std::string positional[2];
    int given = 0;
    for (int i = 2; i < argc; ++i) {
        if (std::strcmp(argv[i], "--context") == 0) {
            if (++i == argc) return usage_error("--context needs a value");
            context = argv[i];
        } else if (given < 2) {
            positional[given++] = argv[i];
        } else if (!count) {
            count = argv[i];
        } else {
            return usage_error("lookup takes FILE MESSAGE [N] [--context CONTEXT]");
        }
    }
    if (given < 2) return usage_error("lookup takes FILE MESSAGE [N] [--context CONTEXT]");
    char* end = nullptr;
    unsigned long n = count ? std::strtoul(count, &end, 10) : 1;
    if (count && (!*count || *end)) return usage_error("N must be a whole number");

    std::unique_ptr<nlsLoadedDomain> domain = load(positional[0]);
    if (!domain) return 1;
    const char* message = positional[1].c_str();
    const char* answer;
    if (context)
        answer = count ? domain->npgettext(context, message, message, n)
                       : domain->pgettext(context, message);
    else
        answer = count ? domain->ngettext(message, message, n) : domain->translate(message);
    std::printf("%s\n", answer);
    return 0;
}

// The value of the first "Language:" line in the .po file's header; empty when there is none.
std::string po_language(std::ifstream& in) {
    for (std::string line; std::getline(in, line);) {
        std::size_t at = line.find("\"Language:");
        if (at == std::string::npos) continue;
        std::size_t start = line.find_first_not_of(' ', at + 10);
        std::size_t stop = start == std::string::npos ? start : line.find_first_of("\\\" ", start);
        return start == std::string::npos ? "" : line.substr(start, stop - start);
    }
    return "";
}

// The catalogue folder for a language value: as /usr/share/locale names it ("de", "pt_BR"), or
// with `library_names` the library's name ("German", "Portuguese-BRA"); empty when the value
// names no language that a catalogue can be for.
std::string language_folder(const std::string& value, bool library_names) {
    std::string posix = ap_posix_locale(value.c_str()).locale_name.c_str(); // "de-AT", "de", "C"
    nlsLanguage table(nls_language_of(utString(value.c_str())).c_str());
    std::string iso = table.iso_name().c_str();
    if (posix.empty() && !iso.empty()) // a library or ISO name: the country only where named
        posix = table.has_extension() ? iso : iso.substr(0, iso.find('-'));
    if (posix.empty() || posix == "C") return "";
    if (library_names) return table.name().c_str();
    std::replace(posix.begin(), posix.end(), '-', '_');
    return posix;
}

int language(const std::string& file, bool library_names) {
    std::ifstream in(file);
    if (!in) {
        report(file, "cannot be read");
        return 1;
    }
    std::string value = po_language(in);
    if (value.empty()) { // the file name, without its folder and its .po
        std::size_t slash = file.find_last_of("/\\");
        value = file.substr(slash == std::string::npos ? 0 : slash + 1);
        value = value.substr(0, value.rfind('.'));
    }
    std::string folder = language_folder(value, library_names);
    if (folder.empty()) {
        report(file, "names no language (\"" + value +
                         "\"): give it a Language: header such as de or pt_BR");
        return 1;
    }
    std::printf("%s\n", folder.c_str());
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    std::string command = argc > 1 ? argv[1] : "";
    if (command == "--help" || command == "-h") {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (command == "check" && argc > 2) {
        int failed = 0; // every file is checked and reported, whatever the ones before it gave
        for (int i = 2; i < argc; ++i)
            failed += check(argv[i]) ? 0 : 1;
        return failed ? 1 : 0;
    }
    if (command == "lookup") return lookup(argc, argv);
    if (command == "language" && argc == 3) return language(argv[2], false);
    if (command == "language" && argc == 4 && std::strcmp(argv[2], "--library-names") == 0)
        return language(argv[3], true);
    return usage_error(command.empty() ? "no command" : "unknown command or missing file");
}
