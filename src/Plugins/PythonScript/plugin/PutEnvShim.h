#pragma once

#ifndef _WIN32
// The Windows C runtime's setter of a process environment variable; 0 on success.
int _putenv_s(const char* name, const char* value);
#endif
