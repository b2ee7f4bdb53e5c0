#include <nls/nlsLoadedDomain.h>

#include <nls/internal/nlsCatalogueChain.h>
#include <nls/internal/nlsConvertedTexts.h>
#include <nls/internal/nlsMessageTables.h>
#include <nls/internal/nlsSystemMessages.h>
#include <nls/nlsErrorData.h>
#include <platform/internal/apAtomic.h>
#include <platform/internal/apCrtIo.h>
#include <platform/internal/apFileMapping.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <string>

namespace {

constexpr std::uint32_t kMagic = 0x950412de;
constexpr std::uint32_t kMagicSwapped = 0xde120495;
constexpr std::uint32_t kHeaderSize = 28;
constexpr std::uint32_t kDescriptorSize = 8;

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
        return;
    }
    static const char empty[] = "";
    const char* header = translate(empty);
    if (header != empty) plural_forms = nlsPluralForms(header);
}

nlsLoadedDomain::~nlsLoadedDomain() {
    if (mapped)
        ap_unmap_file(image, image_size);
    else
        std::free(image);
}

unsigned int nlsLoadedDomain::load() {
    int fd = ap_crt_open(path.c_str(), _O_RDONLY | _O_BINARY);
    if (fd < 0) return nlsERROR_CATALOG_OPEN;

    // Only a regular file has a size to read and an end: a FIFO or a device would block or
    // never end.
    struct _stat64i32 status;
    if (ap_crt_fstat(fd, &status) != 0 || (status.st_mode & _S_IFMT) != _S_IFREG ||
        status.st_size < static_cast<std::int32_t>(kHeaderSize)) {
        _close(fd);
        return nlsERROR_CATALOG_STAT;
    }
    // Where the system cannot tell, the identity stays zero and the catalogue is found by its
    // path only.
    apFileFinder::identity(fd, identity);
    std::uint32_t size = static_cast<std::uint32_t>(status.st_size);

    // Mapped, lookups read only the pages they touch, and processes share them; the mapping is
    // never written (lookups only read the image).
    if (ap_crt_mappable(fd)) {
        image = const_cast<unsigned char*>(ap_map_file(fd, size));
        mapped = image != nullptr;
    }
    if (!image) {
        image = static_cast<unsigned char*>(ap_crt_malloc(size));
        if (!image) {
            _close(fd);
            return nlsERROR_MEMORY;
        }
    }
    image_size = size;

    for (std::uint32_t done = mapped ? size : 0; done < size;) {
        int got = ap_crt_read(fd, image + done, size - done);
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

    nlsMessageTables file;
    file.image = image;
    file.image_size = size;
    file.swapped = swapped;
    // Major revisions 0 and 1 share this layout. From minor revision 1 on the header also names
    // system-dependent strings, expanded below; what a later minor revision adds may go unread.
    const std::uint32_t revision = file.word(image + 4);
    if (revision >> 16 > 1) return nlsERROR_CATALOG_REVISION;

    std::uint32_t n = file.word(image + 8);
    std::uint32_t o = file.word(image + 12);
    std::uint32_t t = file.word(image + 16);
    std::uint32_t s = file.word(image + 20);
    std::uint32_t h = file.word(image + 24);
    // Tables that do not fit the file mean it is not a catalogue we can read: reported like a
    // bad magic number. Strings are checked as lookups reach them.
    if (!nlsMessageTables::fits(o, n, kDescriptorSize, size) ||
        !nlsMessageTables::fits(t, n, kDescriptorSize, size) ||
        (s != 0 && !nlsMessageTables::fits(h, s, 4, size)))
        return nlsERROR_CATALOG_MAGIC;

    string_count = n;
    messages = image + o;
    translations = image + t;
    hash_size = s;
    // Without slots the hash offset is never read; it need not even point into the file.
    hash_table = h <= size ? image + h : nullptr;

    if ((revision & 0xffff) == 0) return nlsERROR_NONE;
    try {
        auto expanded = std::make_unique<nlsSystemMessages>();
        unsigned int code = expanded->expand(file);
        if (code != nlsERROR_NONE) return code;
        if (expanded->tables().string_count != 0) m_system_messages = std::move(expanded);
    } catch (const std::bad_alloc&) {
        return nlsERROR_MEMORY;
    }
    return nlsERROR_NONE;
}

namespace {

// The lookups read a file's tables through the loaded catalogue's own fields, and the expanded
// system-dependent ones through nlsMessageTables, which names its fields alike.
template <class Tables> std::uint32_t word(const Tables& t, const unsigned char* at) {
    return nlsMessageTables::word(t.swapped, at);
}

// The string that descriptor `index` of `table` designates, or null when it does not lie inside
// the image with its NUL.
template <class Tables>
const char* string_at(const Tables& t, const unsigned char* table, std::uint32_t index) {
    const unsigned char* descriptor = table + std::size_t{index} * kDescriptorSize;
    std::uint32_t offset = word(t, descriptor + 4);
    if (offset >= t.image_size) return nullptr;
    const unsigned char* text = t.image + offset;
    // An image that ends in NUL terminates every string in it, without touching the string.
    if (t.image[t.image_size - 1] == 0) return reinterpret_cast<const char*>(text);
    std::uint32_t length = word(t, descriptor);
    std::uint32_t room = t.image_size - offset;
    if ((length < room && text[length] == 0) || std::memchr(text, 0, room))
        return reinterpret_cast<const char*>(text);
    return nullptr;
}

std::uint32_t hash_step(std::uint32_t h, std::uint32_t byte) {
    h = (h << 4) + byte;
    std::uint32_t g = h & 0xF0000000u;
    return g != 0 ? h ^ (g >> 24) ^ g : h;
}

// The catalogue hash of a key with its bytes taken as signed (0x80 to 0xFF add -128 to -1),
// which is the library's, and as unsigned, which is msgfmt's; and the key's length. The two
// differ only for a key with such bytes.
struct KeyHash {
    std::uint32_t as_signed = 0;
    std::uint32_t as_unsigned = 0;
    std::size_t length = 0;

    // Goes on over `text`, up to its NUL.
    void add(const char* text) {
        const unsigned char* p = reinterpret_cast<const unsigned char*>(text);
        // ASCII bytes hash alike either way, so most keys take one pass of one hash.
        if (as_signed == as_unsigned) {
            std::uint32_t h = as_signed;
            for (; static_cast<signed char>(*p) > 0; ++p)
                h = hash_step(h, *p);
            as_signed = as_unsigned = h;
        }
        for (; *p; ++p) {
            as_signed =
                hash_step(as_signed, static_cast<std::uint32_t>(static_cast<signed char>(*p)));
            as_unsigned = hash_step(as_unsigned, *p);
        }
        length += static_cast<std::size_t>(reinterpret_cast<const char*>(p) - text);
    }
};

// Orders the key against a stored string of which only `room` bytes lie inside the image, byte
// by byte as unsigned values; `at(i)` is the key's byte i, NUL at its end. A string that runs
// into the image's end stops there and never equals the key.
template <class Key>
int compare_bounded(const Key& key, const unsigned char* stored, std::uint32_t room) {
    for (std::uint32_t i = 0; i < room; ++i) {
        int order = int{key.at(i)} - int{stored[i]};
        if (order != 0 || key.at(i) == 0) return order;
    }
    return key.at(room) == 0 ? -1 : 1;
}

// A message looked up as it is. A lookup with a count takes the first pair of the message that
// the hash walk meets, with plural forms or without, as the gettext tools do; one without takes
// a pair without plural forms first.
struct Message {
    const char* text;
    bool counted;

    KeyHash hash() const {
        KeyHash hash;
        hash.add(text);
        return hash;
    }
    // Whether the `length` bytes at `stored` are the message's.
    bool equals(const unsigned char* stored, std::size_t length) const {
        return std::memcmp(stored, text, length) == 0;
    }
    unsigned char at(std::uint32_t i) const { return static_cast<unsigned char>(text[i]); }
    // A catalogue whose image ends in NUL terminates every string in it.
    int order(const unsigned char* stored, std::uint32_t room, bool terminated) const {
        if (terminated) return std::strcmp(text, reinterpret_cast<const char*>(stored));
        return compare_bounded(*this, stored, room);
    }
};

// A message in a context: the key "context\004message" that msgfmt writes, hashed and compared
// in its two pieces rather than joined.
struct MessageInContext {
    static constexpr unsigned char kSeparator = 0x04;

    const char* context;
    const char* message;
    bool counted;
    std::size_t context_length;

    MessageInContext(const char* context_text, const char* message_text, bool with_count)
        : context(context_text), message(message_text), counted(with_count),
          context_length(std::strlen(context_text)) {}
    KeyHash hash() const {
        KeyHash hash;
        hash.add(context);
        hash.as_signed = hash_step(hash.as_signed, kSeparator);
        hash.as_unsigned = hash_step(hash.as_unsigned, kSeparator);
        ++hash.length;
        hash.add(message);
        return hash;
    }
    bool equals(const unsigned char* stored, std::size_t length) const {
        return std::memcmp(stored, context, context_length) == 0 &&
               stored[context_length] == kSeparator &&
               std::memcmp(stored + context_length + 1, message, length - context_length - 1) == 0;
    }
    unsigned char at(std::uint32_t i) const {
        if (i < context_length) return static_cast<unsigned char>(context[i]);
        if (i == context_length) return kSeparator;
        return static_cast<unsigned char>(message[i - context_length - 1]);
    }
    int order(const unsigned char* stored, std::uint32_t room, bool) const {
        return compare_bounded(*this, stored, room);
    }
};

} // namespace

std::uint32_t nlsLoadedDomain::hash(const char* text) {
    return Message{text, false}.hash().as_signed;
}

const char* nlsLoadedDomain::translate(const char* msgid) const {
    if (hash_size > 2 && hash_table) return translate_by_hash_table(msgid);
    return translate_by_binary_chop(msgid);
}

const char* nlsLoadedDomain::translate_by_binary_chop(const char* msgid) const {
    if (!msgid || !image || failed) return msgid;
    const char* found = translation(find_by_binary_chop(Message{msgid, false}));
    return found ? found : msgid;
}

const char* nlsLoadedDomain::translate_by_hash_table(const char* msgid) const {
    if (!msgid || !image || failed || hash_size < 3 || !hash_table) return msgid;
    const char* found = translation(find_by_hash_table(Message{msgid, false}));
    return found ? found : msgid;
}

const char* nlsLoadedDomain::ngettext(const char* singular, const char* plural,
                                      unsigned long n) const {
    const char* untranslated = nls_untranslated(singular, plural, n);
    if (!singular || !image || failed) return untranslated;
    std::uint32_t pair = find(Message{singular, true});
    const char* found = pair ? plural_form(pair, n) : nullptr;
    return found ? found : untranslated;
}

const char* nlsLoadedDomain::pgettext(const char* context, const char* message) const {
    if (!context || !message || !image || failed) return message;
    const char* found = translation(find(MessageInContext(context, message, false)));
    return found ? found : message;
}

const char* nlsLoadedDomain::npgettext(const char* context, const char* singular,
                                       const char* plural, unsigned long n) const {
    const char* untranslated = nls_untranslated(singular, plural, n);
    if (!context || !singular || !image || failed) return untranslated;
    std::uint32_t pair = find(MessageInContext(context, singular, true));
    const char* found = pair ? plural_form(pair, n) : nullptr;
    return found ? found : untranslated;
}

namespace {

// Binary search over the messages of `t`: the number of the pair for `key`, or 0.
template <class Tables, class Key> std::uint32_t chop(const Tables& t, const Key& key) {
    bool terminated = t.image[t.image_size - 1] == 0;
    std::uint32_t bottom = 0;
    std::uint32_t top = t.string_count;
    while (bottom < top) {
        std::uint32_t middle = bottom + (top - bottom) / 2;
        std::uint32_t offset = word(t, t.messages + std::size_t{middle} * kDescriptorSize + 4);
        int order = offset >= t.image_size
                        ? compare_bounded(key, t.image, 0)
                        : key.order(t.image + offset, t.image_size - offset, terminated);
        if (order < 0)
            top = middle;
        else if (order > 0)
            bottom = middle + 1;
        else
            return middle + 1;
    }
    return 0;
}

// Walks the hash table of `t` from hash `h`: the number of the pair for `key`, whose length is
// `length`, or 0.
template <class Tables, class Key>
std::uint32_t probe(const Tables& t, std::uint32_t h, const Key& key, std::size_t length) {
    std::uint32_t slots = t.hash_size;
    std::uint32_t index = h % slots;
    std::uint32_t step = 1 + h % (slots - 2);
    // A pair with a plural form stores "singular\0plural" and is found by its singular; unless
    // the key is counted, a pair that holds the key alone, as an exact length has always found,
    // comes first.
    std::uint32_t plural = 0;
    // A table without an empty slot would otherwise be probed for ever.
    for (std::uint32_t tries = 0; tries < slots; ++tries) {
        std::uint32_t k = word(t, t.hash_table + std::size_t{index} * 4);
        if (k == 0) break;
        if (k <= t.string_count) {
            const unsigned char* descriptor = t.messages + std::size_t{k - 1} * kDescriptorSize;
            std::uint32_t stored_length = word(t, descriptor);
            std::uint32_t offset = word(t, descriptor + 4);
            // The NUL after the key first: it rules out nearly every longer string cheaply.
            if (stored_length >= length && offset < t.image_size &&
                length < t.image_size - offset && t.image[offset + length] == 0 &&
                key.equals(t.image + offset, length)) {
                if (stored_length == length || key.counted) return k;
                if (plural == 0) plural = k;
            }
        }
        index = index >= slots - step ? index - (slots - step) : index + step;
    }
    return plural;
}

// Form `wanted` (else the form n != 1 chooses, else the first) of the translation of pair
// `index` of `t`, or null when the translation lies outside the image.
template <class Tables>
const char* form_of(const Tables& t, std::uint32_t index, unsigned long wanted, unsigned long n) {
    const unsigned char* descriptor = t.translations + std::size_t{index} * kDescriptorSize;
    std::uint32_t offset = word(t, descriptor + 4);
    if (offset >= t.image_size) return nullptr;
    // The forms are "form0\0form1\0...": a form is stored when it starts within the stored length
    // and its NUL, as the gettext tools count; this stays inside the image whatever the length.
    const unsigned char* text = t.image + offset;
    const unsigned char* end =
        text +
        std::min<std::uint64_t>(std::uint64_t{word(t, descriptor)} + 1, t.image_size - offset);
    // Forms are short: a plain scan beats a call per form.
    auto form = [&](unsigned long number) -> const unsigned char* {
        const unsigned char* p = text;
        for (; number > 0; --number) {
            while (p < end && *p != 0)
                ++p;
            if (p >= end || ++p >= end) return nullptr;
        }
        return p;
    };
    const unsigned char* found = form(wanted);
    // A form the rule names but the entry lacks: the Germanic rule's, else the first.
    if (!found && wanted != (n != 1)) found = form(n != 1);
    if (!found) found = text;
    // The form's own NUL must lie inside the image too.
    if (t.image[t.image_size - 1] != 0 &&
        !std::memchr(found, 0, static_cast<std::size_t>(t.image + t.image_size - found)))
        return nullptr;
    return reinterpret_cast<const char*>(found);
}

} // namespace

template <class Key> std::uint32_t nlsLoadedDomain::find(const Key& key) const {
    if (hash_size > 2 && hash_table) return find_by_hash_table(key);
    return find_by_binary_chop(key);
}

template <class Key> std::uint32_t nlsLoadedDomain::find_by_binary_chop(const Key& key) const {
    if (std::uint32_t pair = chop(*this, key)) return pair;
    std::uint32_t pair = m_system_messages ? chop(m_system_messages->tables(), key) : 0;
    return pair ? string_count + pair : 0;
}

template <class Key> std::uint32_t nlsLoadedDomain::find_by_hash_table(const Key& key) const {
    KeyHash hash = key.hash();
    std::uint32_t pair = probe(*this, hash.as_signed, key, hash.length);
    // msgfmt hashes bytes 0x80 to 0xFF unsigned; only keys that hold such bytes (and were missed)
    // are worth a second walk.
    if (pair == 0 && hash.as_unsigned != hash.as_signed)
        pair = probe(*this, hash.as_unsigned, key, hash.length);
    if (pair != 0 || !m_system_messages) return pair;
    // The expanded pairs are hashed as the library hashes.
    pair = probe(m_system_messages->tables(), hash.as_signed, key, hash.length);
    return pair ? string_count + pair : 0;
}

const char* nlsLoadedDomain::translation(std::uint32_t pair) const {
    if (pair == 0) return nullptr;
    if (pair <= string_count) return string_at(*this, translations, pair - 1);
    const nlsMessageTables& expanded = m_system_messages->tables();
    return string_at(expanded, expanded.translations, pair - string_count - 1);
}

const char* nlsLoadedDomain::plural_form(std::uint32_t pair, unsigned long n) const {
    unsigned long wanted = plural_forms.index(n);
    if (pair <= string_count) return form_of(*this, pair - 1, wanted, n);
    return form_of(m_system_messages->tables(), pair - string_count - 1, wanted, n);
}

namespace {

// The charset that a catalogue's header names ("Content-Type: text/plain; charset=UTF-8"), as
// the gettext tools find it: after the first "charset=", up to a blank or a semicolon. Empty
// when there is none.
std::string header_charset(const char* header) {
    const char* name = std::strstr(header, "charset=");
    if (!name) return {};
    name += std::strlen("charset=");
    return std::string(name, std::strcspn(name, " \t\n\r\f\v;"));
}

} // namespace

const char* nlsLoadedDomain::converted(const char* text, const char* codeset,
                                       const char* untranslated) const {
    // The caller's own message, given back for want of a translation, is never converted; a
    // translation lies in the file or among the expanded system-dependent pairs.
    auto end_of = [text](const unsigned char* block, std::uint32_t size) -> const char* {
        const auto at = reinterpret_cast<std::uintptr_t>(text);
        const auto start = reinterpret_cast<std::uintptr_t>(block);
        return block && at >= start && at - start < size
                   ? reinterpret_cast<const char*>(block + size)
                   : nullptr;
    };
    if (!image || failed) return text;
    nlsConvertedTexts* texts = ap_load_acquire(m_converted.texts);
    if (texts && texts->plainly_unchanged(codeset)) return text;
    const char* end = end_of(image, image_size);
    if (!end && m_system_messages)
        end = end_of(m_system_messages->tables().image, m_system_messages->tables().image_size);
    if (!end) return text;
    if (!texts) texts = &make_converted_texts();
    return texts->converted(text, end, codeset, untranslated);
}

nlsConvertedTexts& nlsLoadedDomain::make_converted_texts() const {
    static const char empty[] = "";
    const char* header = translate(empty);
    auto made = std::make_unique<nlsConvertedTexts>(header_charset(header));
    // Two threads may make one at once: the first to publish wins.
    nlsConvertedTexts* published = ap_compare_exchange(m_converted.texts, {}, made.get());
    return published ? *published : *made.release();
}

nlsLoadedDomain::ConvertedTextsOwner::~ConvertedTextsOwner() {
    delete texts;
}
