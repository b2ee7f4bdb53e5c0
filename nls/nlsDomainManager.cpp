#include <nls/nlsDomainManager.h>

#include <nls/nlsErrorData.h>
#include <platform/apUtils.h>

nlsDomainManager::handler_type nlsDomainManager::the_error_handler =
    &nlsDomainManager::the_default_error_handler;
int nlsDomainManager::verbose_loading_info = 0;

const char* nlsDomainManager::error_to_string(const nlsErrorData& data) {
    static utString message;
    message = utString(utStringLit{}, "NLS Error: ");
    switch (data.code()) {
    case nlsERROR_NONE:
        return "nlsERROR_NONE";
    case nlsERROR_INITIALISATION:
        message << "Initialisation failed";
        break;
    case nlsERROR_CATALOG_STAT:
        message << "Could not stat the catalog";
        break;
    case nlsERROR_CATALOG_OPEN:
        message << "Could not open the catalog";
        break;
    case nlsERROR_CATALOG_MAGIC:
        message << "Catalog Magic number failed";
        break;
    case nlsERROR_CATALOG_REVISION:
        message << "Catalog revision number is incompatible";
        break;
    case nlsERROR_NO_DOMAIN:
        message << "Domain does not exist";
        break;
    case nlsERROR_MEMORY:
        message << "memory error";
        break;
    case nlsERROR_LOCALE_SETUP:
        message = utString(utStringLit{}, "NLS Warning: ");
        message << "Setting up locale for language <" << data.get_string(0) << "> failed";
        break;
    case nlsERROR_CATALOG_LANGUAGE:
        message = utString(utStringLit{}, "NLS Warning: ");
        message << "Catalog <" << data.get_string(0) << "> failed to load for language <"
                << data.get_string(1) << ">";
        break;
    // Worded as errors although their codes carry no error bit.
    case nlsERROR_DOMAIN_PATH:
        message << "Path to domain failed";
        break;
    case nlsERROR_DOMAIN_EXISTS:
        message << "Domain (nls database) already exists for catalog <" << data.get_string(0)
                << "> and language <" << data.get_string(1) << ">";
        break;
    case nlsERROR_CATALOG_FALLBACK:
        message = utString(utStringLit{}, "NLS Warning: ");
        message << "Catalog <" << data.get_string(0) << "> failed to load for language <"
                << data.get_string(1) << "> so fallback language <" << data.get_string(2)
                << "> was used";
        break;
    default: // nlsERROR_FAILED has no text of its own either
        message << "Internal error";
        break;
    }
    return message.c_str();
}

int nlsDomainManager::set_verbose_info(int value) {
    int previous = verbose_loading_info;
    verbose_loading_info = value;
    return previous;
}

int nlsDomainManager::verbose_info() {
    return verbose_loading_info;
}

int nlsDomainManager::error(const nlsErrorData& data) {
    if (!the_error_handler || data.code() == nlsERROR_NONE) return 1;
    return the_error_handler(data);
}

int nlsDomainManager::the_default_error_handler(const nlsErrorData& data) {
    apprintf("%s\n", error_to_string(data));
    return 1;
}
