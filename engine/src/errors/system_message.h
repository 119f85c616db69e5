// The system's text for a Win32 error code (Win32 backend only).
#pragma once

#include <windows.h>

#include <string>

namespace vantorel::engine {

std::string SystemMessage(DWORD code);

}  // namespace vantorel::engine
