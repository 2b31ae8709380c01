// FileSystems.h — the editor library's file access: TFileSystem with files
// on disk (TWin32FileSystem) or the resources of an executable seen as files
// named "TYPE\NAME" (TResFileSystem), and the backup and temporary names the
// memo source uses.
#pragma once
#include "editor/base/ResourceWriter.h"
#include "platform/rtl/Component.h"
#include "platform/rtl/Streams.h"

class TFileSystem : public TComponent {
  SX_CLASS(TFileSystem, TComponent)
public:
  explicit TFileSystem(TComponent* AOwner) : TComponent(AOwner) {}

  // Raise "Can't rename file %s to file %s" / "Can't delete file %S".
  virtual void RenameFileChecked(const AnsiString& OldName, const AnsiString& NewName);
  virtual void DeleteFileChecked(const AnsiString& Name);
  virtual AnsiString GetCurrentDir() { return AnsiString(); }
  virtual void SetCurrentDir(const AnsiString&) {}
  // The caller owns the stream.
  virtual TStream* OpenFileStream(const AnsiString& Name, Word Mode) = 0;
  virtual Integer FileAge(const AnsiString&) { return 0; }
  virtual bool RenameFile(const AnsiString&, const AnsiString&) { return true; }
  virtual bool IsReadOnly(const AnsiString&) { return false; }
  virtual bool DeleteFile(const AnsiString&) { return true; }
  virtual bool FileExists(const AnsiString& Name) = 0;
  virtual AnsiString GetTempFileName(const AnsiString& Name) { return Name; }
  virtual AnsiString GetBackupFileName(const AnsiString& Name);
  virtual bool IsResourceBased() { return false; }
  virtual AnsiString ChangeFileExt(const AnsiString& Name, const AnsiString& Extension);
};

class TWin32FileSystem : public TFileSystem {
  SX_CLASS(TWin32FileSystem, TFileSystem)
public:
  explicit TWin32FileSystem(TComponent* AOwner) : TFileSystem(AOwner) {}
  AnsiString GetCurrentDir() override;
  void SetCurrentDir(const AnsiString& Dir) override;
  TStream* OpenFileStream(const AnsiString& Name, Word Mode) override;
  Integer FileAge(const AnsiString& Name) override;
  bool RenameFile(const AnsiString& OldName, const AnsiString& NewName) override;
  bool IsReadOnly(const AnsiString& Name) override;
  bool DeleteFile(const AnsiString& Name) override;
  bool FileExists(const AnsiString& Name) override;
  AnsiString GetTempFileName(const AnsiString& Name) override;
};

class TResFileSystem : public TFileSystem {
  SX_CLASS(TResFileSystem, TFileSystem)
public:
  explicit TResFileSystem(TComponent* AOwner) : TFileSystem(AOwner) {}
  static void Published(TPublished<TResFileSystem>& P) {
    P.Property("FileName", &TResFileSystem::FFileName, &TResFileSystem::FFileName);
  }
  // "RCDATA\MYDATA.txt": the extension goes, the part before the first
  // backslash is a standard type (with "RT_" before it) or a type name.
  // False without a backslash.
  static bool SplitResourcePath(const AnsiString& Path, TResType& Type, AnsiString& Name);
  TStream* OpenFileStream(const AnsiString& Name, Word Mode) override;
  bool FileExists(const AnsiString& Name) override;
  bool IsResourceBased() override { return true; }
  const AnsiString& GetFileName() const { return FFileName; }
  void SetFileName(const AnsiString& Value) { FFileName = Value; }

private:
  AnsiString FFileName;
};

// One resource as a memory stream. Commit writes it back into the file when
// it was written or resized, raising "Error updating resource" on failure;
// the destructor commits too but cannot report.
class TResWriteStream : public TMemoryStream {
public:
  TResWriteStream(const AnsiString& AFileName, Word Mode, const TResType& AType, const AnsiString& AName);
  ~TResWriteStream() override;
  Integer Write(const void* Buffer, Integer Count) override;
  void Commit();

private:
  AnsiString FFileName;
  TResType FType;
  AnsiString FName;
  Integer FInitialSize = 0;
  bool FWritten = false;
  bool FCommitted = false;
};

// Replaces the resource's data in the file (TResourceWriter). Raises its
// errors; true when done.
bool UpdateResourceData(const AnsiString& FileName, const TResType& Type, const AnsiString& Name, Integer Size,
                        const void* Data);

// notes.txt -> notes.~tx, readme -> readme.~
AnsiString MakeBackupFileName(const AnsiString& Name);
// A new empty file in the name's folder, its name starting with the file
// name's first three characters. Raises "Can't create temporary filename".
AnsiString MakeTempFileName(const AnsiString& Name);
void RegisterFileSystems();
