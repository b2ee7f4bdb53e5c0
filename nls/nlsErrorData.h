#pragma once

/// Codes carried by reports. Bit 0 marks an error; other non-zero codes carry 1024.
enum : unsigned int {
    nlsERROR_NONE = 0,
    nlsERROR_FAILED = 1,
    nlsERROR_INITIALISATION = 5,
    nlsERROR_CATALOG_STAT = 9,
    nlsERROR_CATALOG_OPEN = 17,
    nlsERROR_CATALOG_MAGIC = 33,
    nlsERROR_CATALOG_REVISION = 65,
    nlsERROR_NO_DOMAIN = 129,
    nlsERROR_MEMORY = 257,
    nlsERROR_LOCALE_SETUP = 3072,
    nlsERROR_CATALOG_LANGUAGE = 5120,
    nlsERROR_DOMAIN_PATH = 9216,
    nlsERROR_DOMAIN_EXISTS = 17408,
    nlsERROR_CATALOG_FALLBACK = 33792,
};
