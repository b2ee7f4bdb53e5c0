#include <nls/nlsApplicationSettings.h>

// Defined here so that the class's type information lives in the library alone.
nlsApplicationSettings::~nlsApplicationSettings() = default;
