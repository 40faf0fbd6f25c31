#pragma once

// The Win32 headers as this backend includes them: wide-character API, no
// min/max macros. Include it after the project's own headers: the system's
// macros would otherwise rename names there (CreateWindow, WM_MOUSEMOVE).

#ifndef UNICODE
#define UNICODE
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <winsock2.h>
#include <windows.h>
#include <imm.h>
#include <iphlpapi.h>
#include <shellapi.h>

// Platform::CreateWindow is ours, not the system's macro.
#undef CreateWindow
