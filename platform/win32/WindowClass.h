// Window classes and the hidden message-only windows that timers, the worker
// calls and the downloads are delivered through.
#pragma once

#include <windows.h>

#include "platform/win32/Handles.h"

namespace spindrel::win32 {

// Registers a window class of this program; a class registered already is kept.
void RegisterWindowClass(const char* ClassName, WNDPROC Procedure, HICON Icon = nullptr);

// A message-only window of a class registered here, whose user data is Owner (the
// object its procedure serves). Throws std::runtime_error, naming What, when
// Windows cannot create it.
TScopedWindow CreateMessageWindow(const char* ClassName, WNDPROC Procedure, void* Owner, const char* What);

}  // namespace spindrel::win32
