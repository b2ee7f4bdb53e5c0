// Loads a shipped catalogue and translates a few messages through it.
//
//   nls_example                      German and French catalogues, the built-in messages
//   nls_example FILE.mo [MESSAGE...]  any catalogue, the given messages

#include <nls/nlsLoadedDomain.h>
#include <platform/utString.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

int show(const std::string& path, const std::vector<const char*>& messages) {
    unsigned int code = 0;
    nlsLoadedDomain catalogue(utString(path.c_str()), &code);
    if (catalogue.failed) {
        std::fprintf(stderr, "nls_example: cannot load %s (code %u)\n", path.c_str(), code);
        return 1;
    }
    std::printf("%s: %u messages, %s\n", path.c_str(), catalogue.string_count,
                catalogue.hash_size > 2 ? "hash table" : "binary search");
    for (const char* message : messages) {
        const char* translated = catalogue.translate(message);
        std::printf("  %-30s -> %s%s\n", message, translated,
                    translated == message ? "   (no translation)" : "");
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc > 1 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::printf("usage: nls_example [FILE.mo [MESSAGE...]]\n"
                    "Without arguments, translates a few messages through the shipped German and\n"
                    "French catalogues; with a catalogue file, translates the given messages.\n");
        return 0;
    }
    if (argc > 1) return show(argv[1], std::vector<const char*>(argv + 2, argv + argc));

    const std::vector<const char*> messages = {"Welcome", "Open file", "Save changes?", "Cancel",
                                               "Quit"};
    int status = 0;
    for (const char* language : {"German", "French"})
        status |=
            show(std::string(NLS_EXAMPLE_CATALOGS) + "/" + language + "/LC_MESSAGES/example.mo",
                 messages);
    return status;
}
