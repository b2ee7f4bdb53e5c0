#include <nls/nlsLanguage.h>

#include <nls/internal/nlsLocaleInfo.h>

#include <cctype>
#include <cstring>

namespace {

struct Row {
    const char* name;
    const char* iso_name;
    const char* akn_code;
    const char* translated_name;
    const char* codepage;
};

// Constant data, so it is in place before any other static initialiser can ask for a record.
constexpr Row kLanguages[] = {
    {"Japanese", "ja-JP", "JPN", "Japanese", "932"},
    {"Chinese-CHN", "zh-CN", "CHS", "Chinese simplified", "936"},
    {"Korean", "ko-KR", "KOR", "Korean", "949"},
    {"Chinese-TWN", "zh-TW", "CHT", "Chinese traditional", "950"},
    {"Czech", "cs-CZ", "CSY", "Czech", "1250"},
    {"Hungarian", "hu-HU", "HUN", "Hungarian", "1250"},
    {"Polish", "pl-PL", "PLK", "Polish", "1250"},
    {"Slovak", "sk-SK", "CSY", "Slovak", "1250"},
    {"Russian", "ru-RU", "RUS", "Russian", "1251"},
    {"English", "en-US", "ENU", "English", "1252"},
    {"French", "fr-FR", "FRA", "French", "1252"},
    {"German", "de-DE", "DEU", "German", "1252"},
    {"Italian", "it-IT", "ITA", "Italian", "1252"},
    {"Portuguese", "pt-PT", "PTB", "Portuguese", "1252"},
    {"Portuguese-BRA", "pt-BR", "PTB", "Portuguese Brazil", "1252"},
    {"Spanish", "es-ES", "ESP", "Spanish", "1252"},
    {"Turkish", "tr-TR", "TRK", "Turkish", "1254"},
};

const Row* find_row(const utString& name) {
    for (const Row& row : kLanguages)
        if (name.case_compare(utString(utStringLit{}, row.name)) == 0 ||
            name.case_compare(utString(utStringLit{}, row.iso_name)) == 0)
            return &row;
    return nullptr;
}

nlsLanguage& shared_short_form() {
    static nlsLanguage record;
    return record;
}

} // namespace

nlsLanguage::nlsLanguage(const char* name) : m_name(name) {
    const Row* row = find_row(m_name);
    if (!row) return;
    m_name = utString(utStringLit{}, row->name);
    m_iso_name = utString(utStringLit{}, row->iso_name);
    m_akn_code = utString(utStringLit{}, row->akn_code);
    m_translated_name = utString(utStringLit{}, row->translated_name);
    m_codepage = utString(utStringLit{}, row->codepage);
}

bool nlsLanguage::has_extension() const {
    return std::strchr(m_name.c_str(), '-') != nullptr;
}

const nlsLanguage& nlsLanguage::short_form() const {
    nlsLanguage& shared = shared_short_form();
    const char* text = m_name.c_str();
    const char* hyphen = std::strchr(text, '-');
    if (!hyphen) return shared;
    const char* end = hyphen;
    while (end > text && std::isspace(static_cast<unsigned char>(end[-1])))
        --end;
    utString base(utStringArray{}, text, static_cast<int>(end - text));
    shared = nlsLanguage(base.c_str());
    return shared;
}

bool nlsLanguage::is_codepage_compatible() const {
    return m_codepage == nls_user_locale_info(apLocaleField::ansi_codepage, 256);
}

bool operator==(const nlsLanguage& a, const nlsLanguage& b) {
    return a.name() == b.name();
}

bool operator!=(const nlsLanguage& a, const nlsLanguage& b) {
    return !(a == b);
}
