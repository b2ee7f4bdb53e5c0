#pragma once

#include <platform/apExport.h>

/// @file
/// Helpers for building texts and writing reports.

/// Joins `n` NUL-terminated strings into one new malloc'ed buffer, for a utString built with
/// utStringClaim. Null arguments count as empty.
NLS_EXPORT char* apconcat(int n, ...);

/// printf to the process's standard error, where diagnostics belong: the library's reports must
/// not mix into what a program writes to its standard output.
NLS_EXPORT int apprintf(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;

/// getenv, except that a process running with privileges that its user did not give it
/// (set-user-ID, set-group-ID, file capabilities) gets null: its environment comes from someone
/// it must not trust.
NLS_EXPORT const char* ap_secure_getenv(const char* name);
