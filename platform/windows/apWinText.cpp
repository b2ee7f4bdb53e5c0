#include "apWinText.h"

#include <apWinApi.h>

#include <climits>
#include <cstring>
#include <vector>

bool ap_widen(const char* text, std::wstring& wide) {
    wide.clear();
    std::size_t length = std::strlen(text);
    if (length == 0) return true;
    if (length > INT_MAX) return false;
    int n = static_cast<int>(length);
    int needed = MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, text, n, nullptr, 0);
    if (needed <= 0) return false;
    wide.resize(static_cast<std::size_t>(needed));
    return MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, text, n, wide.data(), needed) ==
           needed;
}

bool ap_narrow(const wchar_t* wide, int length, utString& text, bool best_fit) {
    if (length < 0) length = static_cast<int>(std::wcslen(wide));
    if (length == 0) {
        text = utString("");
        return true;
    }
    // UTF-8 as the ANSI code page holds every character, and takes neither flag nor report.
    const bool utf8 = GetACP() == CP_UTF8;
    const DWORD flags = best_fit || utf8 ? 0 : WC_NO_BEST_FIT_CHARS;
    BOOL lossy = FALSE;
    BOOL* report = utf8 ? nullptr : &lossy;
    int needed = WideCharToMultiByte(CP_ACP, flags, wide, length, nullptr, 0, nullptr, report);
    if (needed <= 0 || lossy) return false;
    std::vector<char> narrow(static_cast<std::size_t>(needed));
    if (WideCharToMultiByte(CP_ACP, flags, wide, length, narrow.data(), needed, nullptr, report) !=
            needed ||
        lossy)
        return false;
    text = utString(utStringArray{}, narrow.data(), needed);
    return true;
}
