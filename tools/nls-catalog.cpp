// nls-catalog: what the library makes of a compiled catalogue, and the language folder of a .po
// file. See kUsage.

#include <nls/nlsErrorData.h>
#include <nls/nlsLanguage.h>
#include <nls/nlsLoadedDomain.h>
#include <nls/internal/nlsLocaleInfo.h>
#include <platform/internal/apCrtLocale.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>

namespace {

const char* const kUsage =
    "usage: nls-catalog check FILE...\n"
    "       nls-catalog lookup FILE MESSAGE [N] [--context CONTEXT]\n"
    "       nls-catalog language PO-FILE\n"
    "\n"
    "check     for each compiled catalogue (.mo): its byte order, message count and plural\n"
    "          rule, and every message that a lookup cannot reach; status 1 when a file does\n"
    "          not load or a message cannot be reached\n"
    "lookup    what the library answers for MESSAGE (with N, the plural form for N; with\n"
    "          --context, the message in that context); the message itself when untranslated\n"
    "language  the library's language name, which names the catalogue folder, for a .po file:\n"
    "          from its Language: header, else from its file name (de.po, pt_BR.po)\n"
    "\n"
    "Mistakes (a missing or damaged file, a .po given for a .mo) give one line and status 1;\n"
    "wrong arguments give status 2.\n";

int usage_error(const char* text) {
    std::fprintf(stderr, "nls-catalog: %s (try --help)\n", text);
    return 2;
}

// A source file given where a compiled catalogue belongs: its name, or its first bytes.
bool looks_like_po(const std::string& file) {
    if (file.size() > 3 && file.compare(file.size() - 3, 3, ".po") == 0) return true;
    std::ifstream in(file, std::ios::binary);
    std::string start(16, '\0');
    in.read(&start[0], static_cast<std::streamsize>(start.size()));
    return start.compare(0, 1, "#") == 0 || start.compare(0, 5, "msgid") == 0 ||
           start.compare(0, 7, "msgctxt") == 0;
}

// The catalogue in `file`; null, after a one-line reason, when it does not load.
std::unique_ptr<nlsLoadedDomain> load(const std::string& file) {
    unsigned int code = 0;
    auto domain = std::make_unique<nlsLoadedDomain>(utString(file.c_str()), &code);
    if (!domain->failed) return domain;
    if (code == nlsERROR_CATALOG_MAGIC && looks_like_po(file))
        std::printf("%s: a .po source, not a compiled catalogue: compile it with msgfmt\n",
                    file.c_str());
    else
        std::printf("%s: not loadable: %s (code %u)\n", file.c_str(),
                    nlsErrorData(code).text().c_str(), code);
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
        std::printf("%s: message %u cannot be reached: \"%s\"\n", file.c_str(), i + 1,
                    message ? printable(message).c_str() : "(outside the file)");
    }
    if (unreachable)
        std::printf("%s: %u of %u messages cannot be reached\n", file.c_str(), unreachable,
                    d.string_count);
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

int language(const std::string& file) {
    std::ifstream in(file);
    if (!in) {
        std::printf("%s: cannot be read\n", file.c_str());
        return 1;
    }
    std::string value = po_language(in);
    if (value.empty()) { // the file name, without its folder and its .po
        std::size_t slash = file.find_last_of("/\\");
        value = file.substr(slash == std::string::npos ? 0 : slash + 1);
        value = value.substr(0, value.rfind('.'));
    }
    // The table's name for table languages and ISO names; the POSIX mapping otherwise.
    nlsLanguage table(nls_language_of(utString(value.c_str())).c_str());
    bool known = !table.iso_name().empty() || !ap_posix_locale(value.c_str()).language.empty();
    if (!known) {
        std::printf("%s: names no language (\"%s\"): give it a Language: header such as de or "
                    "pt_BR\n",
                    file.c_str(), value.c_str());
        return 1;
    }
    std::printf("%s\n", table.name().c_str());
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
        bool all = true;
        for (int i = 2; i < argc; ++i)
            all = check(argv[i]) && all;
        return all ? 0 : 1;
    }
    if (command == "lookup") return lookup(argc, argv);
    if (command == "language" && argc == 3) return language(argv[2]);
    return usage_error(command.empty() ? "no command" : "unknown command or missing file");
}
