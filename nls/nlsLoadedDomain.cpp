#include <nls/nlsLoadedDomain.h>

#include <nls/nlsErrorData.h>
#include <platform/apCrtIo.h>

#include <cstdlib>
#include <cstring>

namespace {

constexpr std::uint32_t kMagic = 0x950412de;
constexpr std::uint32_t kMagicSwapped = 0xde120495;
constexpr std::uint32_t kHeaderSize = 28;
constexpr std::uint32_t kDescriptorSize = 8;

std::uint32_t swap_bytes(std::uint32_t v) {
    return (v >> 24) | ((v >> 8) & 0xff00) | ((v << 8) & 0xff0000) | (v << 24);
}

// Whether `count` items of `width` bytes at `offset` lie inside an image of `size` bytes.
bool fits(std::uint64_t offset, std::uint64_t count, std::uint64_t width, std::uint64_t size) {
    return offset <= size && count * width <= size - offset;
}

// Orders `wanted` against a stored string of which only `room` bytes lie inside the image. A
// string that runs into the image's end stops there and never equals `wanted`.
int compare_bounded(const unsigned char* wanted, const unsigned char* stored, std::uint32_t room) {
    for (std::uint32_t i = 0; i < room; ++i) {
        int order = int{wanted[i]} - int{stored[i]};
        if (order != 0 || wanted[i] == 0) return order;
    }
    return wanted[room] == 0 ? -1 : 1;
}

} // namespace

nlsLoadedDomain::nlsLoadedDomain(const utString& file_path, unsigned int* error)
    : next(nullptr), image(nullptr), path(file_path), swapped(0), string_count(0),
      messages(nullptr), translations(nullptr), hash_size(0), hash_table(nullptr), references(0),
      failed(0), image_size(0) {
    if (error) *error = nlsERROR_NONE;
    unsigned int code = load();
    if (code != nlsERROR_NONE) {
        failed = 1;
        if (error) *error = code;
    }
}

nlsLoadedDomain::~nlsLoadedDomain() {
    std::free(image);
}

unsigned int nlsLoadedDomain::load() {
    int fd = _open(path.c_str(), _O_RDONLY | _O_BINARY);
    if (fd < 0) return nlsERROR_CATALOG_OPEN;

    struct _stat64i32 status;
    if (_fstat64i32(fd, &status) != 0 || status.st_size < static_cast<std::int32_t>(kHeaderSize)) {
        _close(fd);
        return nlsERROR_CATALOG_STAT;
    }
    std::uint32_t size = static_cast<std::uint32_t>(status.st_size);

    image = static_cast<unsigned char*>(ap_crt_malloc(size));
    if (!image) {
        _close(fd);
        return nlsERROR_MEMORY;
    }
    image_size = size;

    for (std::uint32_t done = 0; done < size;) {
        int got = _read(fd, image + done, size - done);
        // A read that delivers nothing before the end means the file shrank under us: treated as
        // a failed read, since the image would be incomplete.
        if (got <= 0 || static_cast<std::uint32_t>(got) > size - done) {
            _close(fd);
            return nlsERROR_CATALOG_STAT;
        }
        done += static_cast<std::uint32_t>(got);
    }
    _close(fd);

    std::uint32_t magic;
    std::memcpy(&magic, image, sizeof magic);
    if (magic != kMagic && magic != kMagicSwapped) return nlsERROR_CATALOG_MAGIC;
    swapped = magic != kMagic;

    if (word(image + 4) != 0) return nlsERROR_CATALOG_REVISION;

    std::uint32_t n = word(image + 8);
    std::uint32_t o = word(image + 12);
    std::uint32_t t = word(image + 16);
    std::uint32_t s = word(image + 20);
    std::uint32_t h = word(image + 24);
    // Tables that do not fit the file mean it is not a catalogue we can read: reported like a
    // bad magic number. Strings are checked as lookups reach them.
    if (!fits(o, n, kDescriptorSize, size) || !fits(t, n, kDescriptorSize, size) ||
        (s != 0 && !fits(h, s, 4, size)))
        return nlsERROR_CATALOG_MAGIC;

    string_count = n;
    messages = image + o;
    translations = image + t;
    hash_size = s;
    // Without slots the hash offset is never read; it need not even point into the file.
    hash_table = h <= size ? image + h : nullptr;
    return nlsERROR_NONE;
}

std::uint32_t nlsLoadedDomain::word(const unsigned char* at) const {
    std::uint32_t value;
    std::memcpy(&value, at, sizeof value);
    return swapped ? swap_bytes(value) : value;
}

const char* nlsLoadedDomain::string_at(const unsigned char* table, std::uint32_t index) const {
    const unsigned char* descriptor = table + std::size_t{index} * kDescriptorSize;
    std::uint32_t offset = word(descriptor + 4);
    if (offset >= image_size) return nullptr;
    const unsigned char* text = image + offset;
    // An image that ends in NUL terminates every string in it, without touching the string.
    if (image[image_size - 1] == 0) return reinterpret_cast<const char*>(text);
    std::uint32_t length = word(descriptor);
    std::uint32_t room = image_size - offset;
    if ((length < room && text[length] == 0) || std::memchr(text, 0, room))
        return reinterpret_cast<const char*>(text);
    return nullptr;
}

namespace {

std::uint32_t hash_step(std::uint32_t h, std::uint32_t byte) {
    h = (h << 4) + byte;
    std::uint32_t g = h & 0xF0000000u;
    return g != 0 ? h ^ (g >> 24) ^ g : h;
}

// The catalogue hash of a message with its bytes taken as signed (0x80 to 0xFF add -128 to -1),
// which is the library's, and as unsigned, which is msgfmt's; and the message's length. The two
// differ only for a message with such bytes.
struct MessageHash {
    std::uint32_t as_signed;
    std::uint32_t as_unsigned;
    std::size_t length;
};

MessageHash hash_message(const char* text) {
    const unsigned char* p = reinterpret_cast<const unsigned char*>(text);
    std::uint32_t h = 0;
    // ASCII bytes hash alike either way, so most messages take one pass of one hash.
    for (; static_cast<signed char>(*p) > 0; ++p)
        h = hash_step(h, *p);
    MessageHash hash{h, h, 0};
    for (; *p; ++p) {
        hash.as_signed =
            hash_step(hash.as_signed, static_cast<std::uint32_t>(static_cast<signed char>(*p)));
        hash.as_unsigned = hash_step(hash.as_unsigned, *p);
    }
    hash.length = static_cast<std::size_t>(reinterpret_cast<const char*>(p) - text);
    return hash;
}

} // namespace

std::uint32_t nlsLoadedDomain::hash(const char* text) {
    return hash_message(text).as_signed;
}

const char* nlsLoadedDomain::translate(const char* msgid) const {
    if (hash_size > 2 && hash_table) return translate_by_hash_table(msgid);
    return translate_by_binary_chop(msgid);
}

const char* nlsLoadedDomain::translate_by_binary_chop(const char* msgid) const {
    if (!msgid || !image || failed) return msgid;
    const unsigned char* wanted = reinterpret_cast<const unsigned char*>(msgid);
    // A file that ends in NUL has every string terminated inside the image.
    bool terminated = image[image_size - 1] == 0;
    std::uint32_t bottom = 0;
    std::uint32_t top = string_count;
    while (bottom < top) {
        std::uint32_t middle = bottom + (top - bottom) / 2;
        std::uint32_t offset = word(messages + std::size_t{middle} * kDescriptorSize + 4);
        int order;
        if (offset >= image_size)
            order = compare_bounded(wanted, image, 0);
        else if (terminated)
            order = std::strcmp(msgid, reinterpret_cast<const char*>(image + offset));
        else
            order = compare_bounded(wanted, image + offset, image_size - offset);
        if (order < 0) {
            top = middle;
        } else if (order > 0) {
            bottom = middle + 1;
        } else {
            const char* found = string_at(translations, middle);
            return found ? found : msgid;
        }
    }
    return msgid;
}

const char* nlsLoadedDomain::translate_by_hash_table(const char* msgid) const {
    if (!msgid || !image || failed || hash_size < 3 || !hash_table) return msgid;
    MessageHash hash = hash_message(msgid);
    std::uint32_t pair = probe(hash.as_signed, msgid, hash.length);
    // msgfmt hashes bytes 0x80 to 0xFF unsigned; only messages that hold such bytes (and were
    // missed) are worth a second walk.
    if (pair == 0 && hash.as_unsigned != hash.as_signed)
        pair = probe(hash.as_unsigned, msgid, hash.length);
    if (pair == 0) return msgid;
    const char* found = string_at(translations, pair - 1);
    return found ? found : msgid;
}

std::uint32_t nlsLoadedDomain::probe(std::uint32_t h, const char* msgid, std::size_t length) const {
    std::uint32_t slots = hash_size;
    std::uint32_t index = h % slots;
    std::uint32_t step = 1 + h % (slots - 2);
    // A pair with a plural form stores "singular\0plural" and is found by its singular; a pair
    // that holds the message alone, as an exact length has always found, comes first.
    std::uint32_t plural = 0;
    // A table without an empty slot would otherwise be probed for ever.
    for (std::uint32_t tries = 0; tries < slots; ++tries) {
        std::uint32_t k = word(hash_table + std::size_t{index} * 4);
        if (k == 0) break;
        if (k <= string_count) {
            const unsigned char* descriptor = messages + std::size_t{k - 1} * kDescriptorSize;
            std::uint32_t stored_length = word(descriptor);
            std::uint32_t offset = word(descriptor + 4);
            // The NUL after the message first: it rules out nearly every longer string cheaply.
            if (stored_length >= length && offset < image_size && length < image_size - offset &&
                image[offset + length] == 0 && std::memcmp(image + offset, msgid, length) == 0) {
                if (stored_length == length) return k;
                if (plural == 0) plural = k;
            }
        }
        index = index >= slots - step ? index - (slots - step) : index + step;
    }
    return plural;
}
