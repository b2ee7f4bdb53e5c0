#include <platform/internal/apRegistryKey.h>

#include <cstring>

bool ap_registry_key_path(const utString& key, utString& path) {
    const char* text = key.c_str();
    std::size_t end = std::strlen(text);
    while (end > 0 && text[end - 1] == '\\')
        --end;
    if (end == 0 || text[0] == '\\') return false;
    for (std::size_t i = 1; i < end; ++i)
        if (text[i] == '\\' && text[i - 1] == '\\') return false;
    path = utString(utStringArray{}, text, static_cast<int>(end));
    return true;
}
