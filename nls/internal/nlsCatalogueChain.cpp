#include <nls/internal/nlsCatalogueChain.h>

#include <nls/nlsLoadedDomain.h>

namespace {

// Walks the chain with `lookup`, which gives a catalogue's answer, or `untranslated` or
// `other_form` (the message passed in for the other count) when it has none. The answer comes in
// the chain's codeset.
template <class Lookup>
const char* first_translation(const nlsCatalogueChain* chain, const char* untranslated,
                              const char* other_form, Lookup lookup) {
    if (!chain) return untranslated;
    for (const nlsLoadedDomain* catalogue : chain->catalogues) {
        const char* found = lookup(*catalogue);
        if (found != untranslated && found != other_form)
            return catalogue->converted(found, chain->codeset, untranslated);
    }
    return untranslated;
}

} // namespace

const char* nlsCatalogueChain::gettext(const nlsCatalogueChain* chain, const char* message) {
    return first_translation(chain, message, message, [&](const nlsLoadedDomain& catalogue) {
        return catalogue.translate(message);
    });
}

const char* nlsCatalogueChain::ngettext(const nlsCatalogueChain* chain, const char* singular,
                                        const char* plural, unsigned long n) {
    const char* untranslated = nls_untranslated(singular, plural, n);
    return first_translation(chain, untranslated, n == 1 ? plural : singular,
                             [&](const nlsLoadedDomain& catalogue) {
                                 return catalogue.ngettext(singular, plural, n);
                             });
}

const char* nlsCatalogueChain::pgettext(const nlsCatalogueChain* chain, const char* context,
                                        const char* message) {
    return first_translation(chain, message, message, [&](const nlsLoadedDomain& catalogue) {
        return catalogue.pgettext(context, message);
    });
}

const char* nlsCatalogueChain::npgettext(const nlsCatalogueChain* chain, const char* context,
                                         const char* singular, const char* plural,
                                         unsigned long n) {
    const char* untranslated = nls_untranslated(singular, plural, n);
    return first_translation(chain, untranslated, n == 1 ? plural : singular,
                             [&](const nlsLoadedDomain& catalogue) {
                                 return catalogue.npgettext(context, singular, plural, n);
                             });
}
