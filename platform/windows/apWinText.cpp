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

bool ap_narrow(const wchar_t* wide, int length, utString& text) {
    if (length < 0) length = static_cast<int>(std::wcslen(wide));
    if (length == 0) {
        text = utString("");
        return true;
    }
    BOOL lossy = FALSE;
    int needed = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide, length, nullptr, 0,
                                     nullptr, &lossy);
    if (needed <= 0 || lossy) return false;
    std::vector<char> narrow(static_cast<std::size_t>(needed));
    if (WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide, length, narrow.data(), needed,
                            nullptr, &lossy) != needed ||
        lossy)
        return false;
    text = utString(utStringArray{}, narrow.data(), needed);
    return true;
}
