#include <nls/internal/nlsCatalogueSearch.h>

#include <nls/internal/nlsLocaleInfo.h>
#include <platform/apFileFinder.h>

#include <algorithm>
#include <cstring>
#include <utility>

namespace {

// How many entries of a LANGUAGE list are tried: each costs a search, and a list longer than any
// user writes is cut, so that a hostile value costs little.
constexpr int kMaxPriorityEntries = 64;

// Whether a language or domain name stays one entry inside its directory: no path separator, not
// "." or "..", and no control character. Any other name could lead the catalogue path out of
// the application's directories.
bool names_one_entry(const utString& name) {
    const char* text = name.c_str();
    if (std::strcmp(text, ".") == 0 || std::strcmp(text, "..") == 0) return false;
    for (const char* c = text; *c; ++c) {
        unsigned char byte = static_cast<unsigned char>(*c);
        if (byte < 0x20 || byte == 0x7F || apFileFinder::is_separator(*c)) return false;
    }
    return true;
}

template <class T> bool contains(const std::vector<T>& items, const T& item) {
    return std::find(items.begin(), items.end(), item) != items.end();
}

} // namespace

nlsCatalogueSearch::nlsCatalogueSearch(std::vector<utString> directories, const utString& domain,
                                       const utString& suffix)
    : m_directories(std::move(directories)), m_domain(domain), m_suffix(suffix) {}

utString nlsCatalogueSearch::file(const utString& folder) const {
    if (!names_one_entry(folder) || !names_one_entry(m_domain)) return utString();
    for (const utString& directory : m_directories) {
        utString path = directory;
        path << "/" << folder << "/LC_MESSAGES/" << m_domain << m_suffix;
        if (apFileFinder::check_path_exists(path) == apFILE_EXISTS) return path;
    }
    return utString();
}

nlsCatalogueSearch::Result nlsCatalogueSearch::language(const nlsLanguage& asked,
                                                        const utString& locale_value) const {
    // Each folder name with the language kept when its catalogue comes first.
    std::vector<std::pair<utString, nlsLanguage>> candidates;
    auto add = [&](const utString& folder, const nlsLanguage& language) {
        for (const auto& candidate : candidates)
            if (candidate.first == folder) return;
        candidates.emplace_back(folder, language);
    };
    Result result;
    result.language = result.asked = asked;
    add(asked.name(), asked);
    // A POSIX name's hyphen ("UTF-8") is no country extension: its variants shorten it instead.
    const bool posix = nls_is_posix_locale(asked.name());
    if (asked.has_extension() && !posix) {
        result.language = asked.short_form();
        add(result.language.name(), result.language);
    }
    for (const utString& variant : nls_locale_variants(posix ? asked.name() : locale_value))
        add(variant, asked);
    if (!posix) {
        // Library names in trees laid out as /usr/share/locale (de_DE, de for German). The short
        // form brings only its bare language (de for German-AUT): its own country's folder
        // (pt_PT for Portuguese-BRA, zh_CN for Chinese-TWN) holds another variety of the language.
        for (const utString& folder : nls_posix_folders(asked))
            add(folder, asked);
        const std::vector<utString> shorter = nls_posix_folders(result.language);
        if (result.language != asked && !shorter.empty()) add(shorter.back(), result.language);
    }
    for (const auto& [folder, language] : candidates) {
        result.folders.push_back(folder);
        utString path = file(folder);
        if (path.empty()) continue;
        if (result.paths.empty()) result.language = language;
        result.paths.push_back(path);
    }
    return result;
}

nlsCatalogueSearch::Result nlsCatalogueSearch::priority_list(const utString& list,
                                                             const utString& source_code) const {
    Result result;
    int entries = 0;
    for (const char* entry = list.c_str(); *entry && entries < kMaxPriorityEntries;) {
        const char* end = std::strchr(entry, ':');
        if (!end) end = entry + std::strlen(entry);
        utString value(utStringArray{}, entry, static_cast<int>(end - entry));
        entry = *end ? end + 1 : end;
        if (value.empty()) continue;
        ++entries;
        nlsLanguage language(nls_language_of(value).c_str());
        const bool c = language.name() == utString(utStringLit{}, "C");
        const bool own = !source_code.empty() && nls_language_code(value) == source_code;
        Result found;
        if (!c) found = this->language(language, value);
        result.folders.insert(result.folders.end(), found.folders.begin(), found.folders.end());
        if (result.paths.empty()) {
            result.language = found.paths.empty() ? language : found.language;
            result.asked = language;
        }
        for (const utString& path : found.paths)
            if (!contains(result.paths, path)) result.paths.push_back(path);
        if (c || own) {
            result.untranslated = result.paths.empty();
            break;
        }
    }
    if (result.paths.empty() && !result.untranslated) result.language = nlsLanguage();
    return result;
}
