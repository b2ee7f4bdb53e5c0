// Loads arbitrary bytes as a catalogue and looks messages up in it: nothing may read outside the
// image. The bytes are served through the run-time seam, so no file is written per input: the
// file opened is the null device (NLS_FUZZ_NULL_DEVICE, "NUL" on Windows).

#include <nls/nlsLoadedDomain.h>
#include <platform/apCrtIo.h>

#include <cstdint>
#include <cstring>

#ifndef NLS_FUZZ_NULL_DEVICE
#define NLS_FUZZ_NULL_DEVICE "/dev/null"
#endif

namespace {

const std::uint8_t* g_data;
std::size_t g_size;
std::size_t g_position;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > (1u << 20)) return 0;
    g_data = data;
    g_size = size;
    g_position = 0;
    static apCrtSeam seam = [] {
        apCrtSeam s;
        s.fstat = [](int, struct _stat64i32* status) {
            *status = {}; // the run time's own structure has more members than size and mode
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
    unsigned int code = 0;
    nlsLoadedDomain domain(utString(NLS_FUZZ_NULL_DEVICE), &code);
    ap_set_crt_seam(nullptr);
    if (domain.failed) return 0;

    // Fixed messages, and ones cut from the input so that stored strings can actually match.
    const char* fixed[] = {"", "a", "Open", "\xE9", "message number 7"};
    for (const char* message : fixed) {
        domain.translate(message);
        domain.translate_by_binary_chop(message);
    }
    char cut[64];
    for (std::size_t at = 28; at < size; at += 1 + size / 16) {
        std::size_t n = size - at < sizeof cut - 1 ? size - at : sizeof cut - 1;
        std::memcpy(cut, data + at, n);
        cut[n] = '\0';
        domain.translate(cut);
        domain.translate_by_binary_chop(cut);
        if (domain.hash_size > 2) domain.translate_by_hash_table(cut);
    }
    return 0;
}
