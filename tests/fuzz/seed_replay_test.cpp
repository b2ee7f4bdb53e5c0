// The fuzzer's seeds through its own loading: each answers its lookups, and cut short at every
// length and with every byte changed, gives a code or a fallback, with no read outside the image
// under the sanitizers.

#include "catalogFuzzer.h"
#include "nlsTestSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

std::string seed(const std::string& name) {
    return nlstest::read_file(NLS_MSGFMT_DIR "/" + name + ".mo");
}

const std::uint8_t* bytes_of(const std::string& text) {
    return reinterpret_cast<const std::uint8_t*>(text.data());
}

TEST(CatalogueFuzzerSeeds, SeedsAnswerTheirLookups) {
    for (std::string name : {"seed-le", "seed-le-nohash", "seed-be", "seed-be-nohash",
                             "seed-system-le", "seed-system-be"}) {
        const std::string bytes = seed(name);
        unsigned int code = 1;
        auto domain = nlsfuzz::load(bytes_of(bytes), bytes.size(), &code);
        ASSERT_EQ(code, 0u) << name;
        const bool system = name.find("system") != std::string::npos;
        for (const auto& lookup : system ? nlsfuzz::system_seed_lookups() : nlsfuzz::seed_lookups())
            EXPECT_EQ(nlsfuzz::look_up(*domain, lookup), lookup.answer)
                << name << ": " << lookup.message << " n=" << lookup.n;
    }
}

TEST(CatalogueFuzzerSeeds, DamagedSeedsGiveACodeOrAFallback) {
    auto feed = [](const std::string& bytes) {
        LLVMFuzzerTestOneInput(bytes_of(bytes), bytes.size());
    };
    for (const char* name : {"seed-le", "seed-be-nohash", "seed-system-be"}) {
        const std::string good = seed(name);
        for (std::size_t at = 0; at < good.size(); ++at) {
            feed(good.substr(0, at));
            for (char value : {'\0', '\xFF', static_cast<char>(good[at] ^ 0x80)})
                feed(good.substr(0, at) + value + good.substr(at + 1));
        }
    }
}

} // namespace
