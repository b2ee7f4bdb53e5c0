#include <platform/internal/apWinLocale.h>

#include "apWinText.h"

#include <cstring>
#include <vector>

int GetLocaleInfoU(LCID lcid, LCTYPE type, char* buffer, int size) {
    if (size < 0 || (size > 0 && !buffer)) return 0;
    // A failed query leaves an empty text, so a caller that uses the buffer regardless reads "".
    if (size > 0) buffer[0] = '\0';
    int wide_size = GetLocaleInfoW(lcid, type, nullptr, 0);
    if (wide_size <= 0) return 0;
    std::vector<wchar_t> wide(static_cast<std::size_t>(wide_size));
    if (GetLocaleInfoW(lcid, type, wide.data(), wide_size) != wide_size) return 0;
    utString text;
    // Numbers and English names are ASCII, or nearly: the ANSI code page's closest form serves.
    if (!ap_narrow(wide.data(), -1, text, true)) return 0;
    int needed = text.length() + 1;
    if (size == 0) return needed;
    if (needed > size) return 0;
    std::memcpy(buffer, text.c_str(), static_cast<std::size_t>(needed));
    return needed;
}
