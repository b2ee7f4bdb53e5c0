#include <nls/nlsWinApplicationSettings.h>

#include <nls/nlsErrorData.h>
#include <nls/nlsLanguage.h>
#include <platform/apRegistry.h>

namespace {
const utString kValueName(utStringLit{}, "CurrentLanguage");
}

nlsWinApplicationSettings::nlsWinApplicationSettings(utString key_path) : m_key_path(key_path) {}

unsigned int nlsWinApplicationSettings::read_stored_language(utString& stored) const {
    stored = utString(utStringLit{}, "");
    apRegistry registry(apHKEY_CURRENT_USER);
    if (!registry.key_exists(m_key_path)) return nlsERROR_NONE;
    // Whatever type the value has, its data is read as text.
    apValueType type;
    if (!registry.value_exists(m_key_path, kValueName, type)) return nlsERROR_NONE;
    utString data;
    if (!registry.value_data(m_key_path, kValueName, data)) return nlsERROR_FAILED;
    stored = data;
    return nlsERROR_NONE;
}

unsigned int nlsWinApplicationSettings::store_iso_name(const utString& iso_name) const {
    apRegistry registry(apHKEY_CURRENT_USER);
    if (!registry.create_key(m_key_path)) return nlsERROR_FAILED;
    const utString data = iso_name.is_null() ? utString(utStringLit{}, "") : iso_name;
    if (!registry.set_value_data(m_key_path, kValueName, apREG_STRING, data))
        return nlsERROR_FAILED;
    return nlsERROR_NONE;
}

nlsErrorData nlsWinApplicationSettings::set_display_language(const nlsLanguage& language) {
    return nlsErrorData(store_iso_name(language.iso_name()));
}

nlsErrorData nlsWinApplicationSettings::get_display_language(nlsLanguage& language) {
    utString stored;
    unsigned int code = read_stored_language(stored);
    language = nlsLanguage(stored.c_str());
    return nlsErrorData(code);
}
