#include "plugin/PutEnvShim.h"

#ifndef _WIN32
#include <cerrno>
#include <cstdlib>

int _putenv_s(const char* name, const char* value)
{
    return setenv(name, value, 1) == 0 ? 0 : errno;
}
#endif
