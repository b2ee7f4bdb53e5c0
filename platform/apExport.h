#pragma once

// NLS_EXPORT marks every class and function that the shared library exports. Building the
// library defines NLS_BUILDING.
#if defined(_WIN32)
#if defined(NLS_BUILDING)
#define NLS_EXPORT __declspec(dllexport)
#else
#define NLS_EXPORT __declspec(dllimport)
#endif
#else
#define NLS_EXPORT __attribute__((visibility("default")))
#endif
