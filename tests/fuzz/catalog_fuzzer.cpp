// Loads arbitrary bytes as a catalogue and looks messages up in it, plain, in plural forms and in
// contexts: nothing may read outside the image. The bytes are served through the run-time seam,
// so no file is written per input: the file opened is the null device (NLS_FUZZ_NULL_DEVICE,
// "NUL" on Windows). The input is also compiled as a header's plural rule.

#include "catalogFuzzer.h"

#include <nls/nlsPluralForms.h>
#include <platform/internal/apCrtIo.h>

#include <cstring>

#ifndef NLS_FUZZ_NULL_DEVICE
#define NLS_FUZZ_NULL_DEVICE "/dev/null"
#endif

namespace {

const std::uint8_t* g_data;
std::size_t g_size;
std::size_t g_position;

} // namespace

std::unique_ptr<nlsLoadedDomain> nlsfuzz::load(const std::uint8_t* data, std::size_t size,
                                               unsigned int* code) {
    g_data = data;
    g_size = size;
    g_position = 0;
    static apCrtSeam seam = [] {
        apCrtSeam s;
        s.fstat = [](int, struct _stat64i32* status) {
            *status = {}; // the run time's own structure has more members than size and mode
            status->st_mode = _S_IFREG;
            status->st_size = static_cast<std::int32_t>(g_size);
            return 0;
        };
        s.read = [](int, void* buffer, unsigned int count) {
            std::size_t n = count < g_size - g_position ? count : g_size - g_position;
            std::memcpy(buffer, g_data + g_position, n);
            g_position += n;
            return static_cast<int>(n);
        };
        return s;
    }();
    ap_set_crt_seam(&seam);
    auto domain = std::make_unique<nlsLoadedDomain>(utString(NLS_FUZZ_NULL_DEVICE), code);
    ap_set_crt_seam(nullptr);
    return domain;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > (1u << 20)) return 0;
    const std::string text(reinterpret_cast<const char*>(data), size);
    nlsPluralForms rule(text.c_str());
    for (unsigned long n : {0ul, 1ul, 2ul, 5ul, 11ul, 101ul, 4294967295ul})
        rule.index(n);

    unsigned int code = 0;
    std::unique_ptr<nlsLoadedDomain> loaded = nlsfuzz::load(data, size, &code);
    const nlsLoadedDomain& domain = *loaded;
    if (domain.failed) return 0;

    // The seeds' messages, and ones cut from the input so that stored strings can actually match.
    for (const auto* lookups : {&nlsfuzz::seed_lookups(), &nlsfuzz::system_seed_lookups()})
        for (const nlsfuzz::SeedLookup& lookup : *lookups) {
            const char* message = lookup.message.c_str();
            nlsfuzz::look_up(domain, lookup);
            domain.translate_by_binary_chop(message);
            for (unsigned long n : {0ul, 1ul, 2ul, 5ul, 4294967295ul}) {
                domain.ngettext(message, "plural", n);
                domain.npgettext("menu", message, "plural", n);
            }
        }
    char cut[64];
    for (std::size_t at = 28; at < size; at += 1 + size / 16) {
        std::size_t n = size - at < sizeof cut - 1 ? size - at : sizeof cut - 1;
        std::memcpy(cut, data + at, n);
        cut[n] = '\0';
        domain.translate(cut);
        domain.translate_by_binary_chop(cut);
        if (domain.hash_size > 2) domain.translate_by_hash_table(cut);
        // Cut at a 0x04 too, as a context and its message.
        if (char* separator = std::strchr(cut, '\x04')) {
            *separator = '\0';
            domain.pgettext(cut, separator + 1);
            domain.npgettext(cut, separator + 1, "plural", at);
        }
        domain.ngettext(cut, "plural", at);
    }
    return 0;
}
