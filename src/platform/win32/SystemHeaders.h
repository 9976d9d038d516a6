#pragma once

// Windows' headers, without the macros that would rename the system's own names: MessageBox is
// the interface of the system's message boxes here, not MessageBoxW.
#include <windows.h>

#include <ocidl.h>
#include <ole2.h>
#include <oleauto.h>

#undef MessageBox
