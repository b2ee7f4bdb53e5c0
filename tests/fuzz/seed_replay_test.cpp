// The fuzzer's seeds, whole, cut short at every length and with every byte changed, through its
// own entry: a code or a fallback for each, and no read outside the image under the sanitizers.

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

TEST(CatalogueFuzzerSeeds, DamagedSeedsGiveACodeOrAFallback) {
    auto feed = [](const std::string& bytes) {
        LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    };
    for (const char* layout : {"le", "le-nohash", "be", "be-nohash"}) {
        std::ifstream in(std::string(NLS_MSGFMT_DIR) + "/seed-" + layout + ".mo", std::ios::binary);
        const std::string good{std::istreambuf_iterator<char>(in), {}};
        ASSERT_GT(good.size(), 28u) << layout;
        feed(good);
        for (std::size_t at = 0; at < good.size(); ++at) {
            feed(good.substr(0, at));
            for (char value : {'\0', '\xFF', static_cast<char>(good[at] ^ 0x80)})
                feed(good.substr(0, at) + value + good.substr(at + 1));
        }
    }
}
