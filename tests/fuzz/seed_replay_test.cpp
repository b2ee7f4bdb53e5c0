// The fuzzer's seeds, whole, cut short at every length and with every byte changed, through the
// fuzzer's own entry: a code or a fallback for each, never a read outside the image. Runs on
// every platform, and under the sanitizers.

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

void feed(const std::string& bytes) {
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

TEST(CatalogueFuzzerSeeds, DamagedSeedsGiveACodeOrAFallback) {
    for (const char* seed :
         {"seed-le.mo", "seed-le-nohash.mo", "seed-be.mo", "seed-be-nohash.mo"}) {
        std::ifstream in(std::string(NLS_MSGFMT_DIR) + "/" + seed, std::ios::binary);
        const std::string good{std::istreambuf_iterator<char>(in), {}};
        ASSERT_GT(good.size(), 28u) << seed;
        feed(good);
        for (std::size_t size = 0; size < good.size(); ++size)
            feed(good.substr(0, size));
        for (std::size_t at = 0; at < good.size(); ++at) {
            std::string damaged = good;
            for (char value : {'\0', '\xFF', static_cast<char>(good[at] ^ 0x80)}) {
                damaged[at] = value;
                feed(damaged);
            }
        }
    }
}

} // namespace
