#pragma once

// Internal: not installed.

#include <platform/apExport.h>
#include <platform/utString.h>

/// The process's one copy of `text`, made on first use and never freed, so that a name the
/// library hands out stays valid whatever changes afterwards. The null string interns as itself.
/// A handful of names (languages, codesets) ever come here.
NLS_EXPORT const utString& nls_intern(const utString& text);
