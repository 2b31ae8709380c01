// FormLoader.h — where form descriptions come from and how a component is
// built from one. A description is the object text form ("object Form1:
// TForm1 … end") kept as resources/<ClassName>.dfm, or registered in code
// (tests, embedded forms). Registered texts win over files.
#pragma once
#include "platform/rtl/Component.h"

void RegisterFormDescription(const AnsiString& ClassName, const AnsiString& Text);
void UnregisterFormDescription(const AnsiString& ClassName);
// The folder searched for <ClassName>.dfm; by default "resources" beside
// the executable.
void SetFormDescriptionDir(const AnsiString& Dir);
AnsiString FormDescriptionDir();
// The description text of a class; false when there is none.
bool FindFormDescription(const AnsiString& ClassName, AnsiString& Text);

// Reads into Instance the descriptions of its class and of its ancestors up
// to (not including) RootAncestor, ancestors first, as one load: Loaded
// runs once every description is read. False when none of them has a
// description. Handler names bind to methods the root's class registered
// (TPublished::Method); an unknown name raises EReadError.
bool InitInheritedComponent(TComponent* Instance, TClass RootAncestor);
