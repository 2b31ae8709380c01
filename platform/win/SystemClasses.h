// SystemClasses.h — the window classes the system provides (the standard
// controls). They are registered when a window or a class query first
// names them, and again after ResetWindowSystem, so a program never
// registers them itself.
#pragma once

// Registers the system class of that name (case-insensitive); false when
// there is no such system class or registering failed.
bool RegisterSystemClass(const char* Name);
