// ClassRegistry.h — the streaming class list: classes that a stream or a
// settings file may name, found again by name (ignoring case).
// Register at start-up (one explicit list per unit), not from global
// constructors, whose order across files is not fixed.
#pragma once
#include <initializer_list>
#include "platform/rtl/TypInfo.h"

// Registering the same class again is harmless; another class under a name
// already taken raises EFilerError.
void RegisterClass(TClass AClass);
void RegisterClasses(std::initializer_list<TClass> Classes);
void UnRegisterClass(TClass AClass);
// nil when not registered.
TClass GetClass(const AnsiString& ClassName);
// Raises EClassNotFound ("Class TFoo not found").
TClass FindClass(const AnsiString& ClassName);
