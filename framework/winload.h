// Windows dynamic loading for the sound-library binding. The win32 build uses the real
// calls; native builds get a small POSIX stand-in with the same names and behaviour.
#pragma once

#if defined(_WIN32)
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#else
using HMODULE = void*;
using FARPROC = void (*)();
// Loads a library by name; a bare name gets the platform suffix and is looked up on the
// library search path, as Windows looks up a bare name with its default search order.
HMODULE LoadLibraryA(const char* name);
FARPROC GetProcAddress(HMODULE library, const char* name);
int FreeLibrary(HMODULE library);
#endif
