#include "editor/base/FileSystems.h"

#include <sys/stat.h>
#include <unistd.h>

#include "editor/base/EdConsts.h"
#include "editor/base/SortedLists.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/ClassRegistry.h"
#include "platform/rtl/FileUtils.h"

void TFileSystem::RenameFileChecked(const AnsiString& OldName, const AnsiString& NewName) {
  if (!RenameFile(OldName, NewName)) RaiseErrorFmt(LoadResText(EdConsts::SCantRenameFile), {OldName, NewName});
}

void TFileSystem::DeleteFileChecked(const AnsiString& Name) {
  if (FileExists(Name) && !DeleteFile(Name)) RaiseErrorFmt(LoadResText(EdConsts::SCantDeleteFile), {Name});
}

AnsiString TFileSystem::GetBackupFileName(const AnsiString& Name) { return MakeBackupFileName(Name); }

AnsiString TFileSystem::ChangeFileExt(const AnsiString& Name, const AnsiString& Extension) {
  return ::ChangeFileExt(Name, Extension);
}

AnsiString TWin32FileSystem::GetCurrentDir() { return ::GetCurrentDir(); }
void TWin32FileSystem::SetCurrentDir(const AnsiString& Dir) { ::SetCurrentDir(Dir); }
TStream* TWin32FileSystem::OpenFileStream(const AnsiString& Name, Word Mode) { return new TFileStream(Name, Mode); }
Integer TWin32FileSystem::FileAge(const AnsiString& Name) { return ::FileAge(Name); }
bool TWin32FileSystem::RenameFile(const AnsiString& OldName, const AnsiString& NewName) {
  return ::RenameFile(OldName, NewName);
}
bool TWin32FileSystem::IsReadOnly(const AnsiString& Name) {
  struct stat St;
  if (::stat(Name.c_str(), &St) != 0) return false;
  return (St.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 || ::access(Name.c_str(), W_OK) != 0;
}
bool TWin32FileSystem::DeleteFile(const AnsiString& Name) { return ::DeleteFile(Name); }
bool TWin32FileSystem::FileExists(const AnsiString& Name) { return ::FileExists(Name); }
AnsiString TWin32FileSystem::GetTempFileName(const AnsiString& Name) { return MakeTempFileName(Name); }

bool TResFileSystem::SplitResourcePath(const AnsiString& Path, TResType& Type, AnsiString& Name) {
  Type = TResType();
  Name.clear();
  // Resource paths keep the backslash whatever the platform's separator.
  AnsiString P = Path;
  const std::size_t Dot = P.rfind('.');
  if (Dot != AnsiString::npos && P.find('\\', Dot) == AnsiString::npos) P.erase(Dot);
  const std::size_t Slash = P.find('\\');
  if (Slash == AnsiString::npos) return false;
  const AnsiString TypeText = P.substr(0, Slash);
  Type.Id = StandardResourceType("RT_" + TypeText);
  if (!Type.Id) Type.Name = TypeText;
  Name = P.substr(Slash + 1);
  return true;
}

bool TResFileSystem::FileExists(const AnsiString& Path) {
  TResType Type;
  AnsiString Name;
  return SplitResourcePath(Path, Type, Name) && ResourceExists(FFileName, Type, Name);
}

TStream* TResFileSystem::OpenFileStream(const AnsiString& Path, Word Mode) {
  TResType Type;
  AnsiString Name;
  SplitResourcePath(Path, Type, Name);
  return new TResWriteStream(FFileName, Mode, Type, Name);
}

TResWriteStream::TResWriteStream(const AnsiString& AFileName, Word Mode, const TResType& AType, const AnsiString& AName)
    : FFileName(AFileName), FType(AType), FName(AName) {
  if (Mode == fmCreate) return;
  AnsiString Data;
  if (ReadResourceData(FFileName, FType, FName, Data)) FInitialSize = Integer(Data.size());
  if (FInitialSize > 0) {
    TMemoryStream::Write(Data.data(), FInitialSize);
    SetPosition(0);
  }
}

TResWriteStream::~TResWriteStream() {
  try {
    Commit();
  } catch (...) {
    // Nothing can be reported from here; callers that care call Commit.
  }
}

Integer TResWriteStream::Write(const void* Buffer, Integer Count) {
  const Integer N = TMemoryStream::Write(Buffer, Count);
  FWritten = true;
  FCommitted = false;
  return N;
}

void TResWriteStream::Commit() {
  if (FCommitted) return;
  FCommitted = true;
  if (!FWritten && GetSize() == FInitialSize) return;
  bool Ok = false;
  try {
    Ok = UpdateResourceData(FFileName, FType, FName, Integer(GetSize()), Memory());
  } catch (const Exception& E) {
    RaiseError(LoadResText(EdConsts::SErrorUpdatingResource) + ": " + E.Message());
  }
  if (!Ok) RaiseError(LoadResText(EdConsts::SErrorUpdatingResource));
}

bool UpdateResourceData(const AnsiString& FileName, const TResType& Type, const AnsiString& Name, Integer Size,
                        const void* Data) {
  return ReplaceResourceInImage(FileName, Type, Name, Data, Size);
}

AnsiString MakeBackupFileName(const AnsiString& Name) {
  AnsiString Ext = ExtractFileExt(Name);
  if (Ext.empty())
    Ext = ".~";
  else
    Ext = ("." "~" + Ext.substr(1)).substr(0, 4);
  return ::ChangeFileExt(Name, Ext);
}

AnsiString MakeTempFileName(const AnsiString& Name) {
  AnsiString Dir = ExtractFilePath(Name);
  if (Dir.empty()) Dir = IncludeTrailingPathDelimiter(::GetCurrentDir());
  const AnsiString Result = CreateTempFileName(Dir, ExtractFileName(Name));
  if (Result.empty()) RaiseError(LoadResText(EdConsts::SCantCreateTempFile));
  return Result;
}

void RegisterFileSystems() {
  for (TClass C : {TWin32FileSystem::StaticClass(), TResFileSystem::StaticClass()}) {
    try {
      if (!GetClass(C->ClassName())) RegisterClass(C);
    } catch (const Exception&) {
    }
  }
}
