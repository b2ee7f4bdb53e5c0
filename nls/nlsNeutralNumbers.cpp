#include <nls/nlsNeutralNumbers.h>

#include <nls/nlsDomainManager.h>
#include <nls/nlsUtils.h>

nlsNeutralNumbers::nlsNeutralNumbers(nlsTranslationType type)
    : m_old_flag(0), m_type(type), m_old_locale() {
    m_old_flag = nlsDomainManager::numeric_translation(type == nlsNumbersTranslated ? 1 : 0);
}

nlsNeutralNumbers::~nlsNeutralNumbers() {
    nlsDomainManager::numeric_translation(m_old_flag);
    std::locale::global(m_old_locale);
    nlsUtils::lookup_decimal_point();
}
