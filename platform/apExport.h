#pragma once

/// @file
/// The export macro of the shared library.

/// @def NLS_EXPORT
/// Marks every class and function that the shared library exports. Building the library defines
/// NLS_BUILDING.
#if defined(_WIN32)
#if defined(NLS_BUILDING)
#define NLS_EXPORT __declspec(dllexport)
#else
#define NLS_EXPORT __declspec(dllimport)
#endif
#else
#define NLS_EXPORT __attribute__((visibility("default")))
#endif
