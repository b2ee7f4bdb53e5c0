#pragma once

// The C run-time file functions that the catalogue loader calls: the run time's own.

#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
