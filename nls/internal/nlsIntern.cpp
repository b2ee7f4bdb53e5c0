#include <nls/internal/nlsIntern.h>

#include <map>
#include <mutex>
#include <string>

const utString& nls_intern(const utString& text) {
    static const utString null_string;
    if (text.is_null()) return null_string;
    // Leaked on purpose: names handed out must outlive every static destructor that might still
    // print one.
    static std::mutex& mutex = *new std::mutex;
    static std::map<std::string, utString>& names = *new std::map<std::string, utString>;
    std::lock_guard<std::mutex> lock(mutex);
    auto [entry, added] = names.try_emplace(std::string(text.c_str(), text.length()));
    // A private text of the interned copy's own, which no caller's string can write.
    if (added) entry->second = utString(utStringArray{}, text.c_str(), text.length());
    return entry->second;
}
