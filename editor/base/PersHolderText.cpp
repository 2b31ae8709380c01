#include "editor/base/PersHolder.h"

#include "platform/rtl/FileUtils.h"
#include "platform/rtl/ObjectText.h"
#include "platform/rtl/Filer.h"

void WriteComponentText(TStream* Stream, TPersistent* Obj) {
  TMemoryStream Binary;
  WriteComponentBinary(&Binary, Obj);
  Binary.SetPosition(0);
  ObjectBinaryToText(&Binary, Stream);
}

void ReadComponentText(TStream* Stream, TPersistent* Obj) {
  TMemoryStream Binary;
  ObjectTextToBinary(Stream, &Binary);
  Binary.SetPosition(0);
  ReadComponentBinary(&Binary, Obj);
}

void WriteObjectTextFile(TPersistent* Obj, const AnsiString& FileName) {
  // Built in memory first, so a failing object leaves no half-written file.
  TMemoryStream Text;
  WriteComponentText(&Text, Obj);
  SaveFileAtomically(FileName, Text.Memory(), std::size_t(Text.GetSize()));
}

void ReadObjectTextFile(TPersistent* Obj, const AnsiString& FileName) {
  TFileStream File(FileName, fmOpenRead | fmShareDenyWrite);
  ReadComponentText(&File, Obj);
}
