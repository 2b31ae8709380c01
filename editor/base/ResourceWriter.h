// ResourceWriter.h — reading and replacing resources of 32-bit Windows
// executables (PE files) in place.
//
// Replacing appends the new bytes at the end of the file and re-points the
// resource's data entry, growing the resource section. That is only sound
// when the resource section is the last section of the file and of the
// image, the file carries nothing after it and the headers are the 32-bit
// ones; any other file is refused with "Invalid file format" before a byte
// is changed. The file is rewritten atomically.
#pragma once
#include <vector>
#include "platform/rtl/Types.h"

// A resource type: a standard number (RT_RCDATA = 10 …) or a name.
struct TResType {
  Integer Id = 0;  // 0 when Name is used
  AnsiString Name;
  bool Any() const { return Id == 0 && Name.empty(); }
};

// The standard type of "RT_RCDATA" and the like (case-insensitive); 0 when
// the text names none.
Integer StandardResourceType(const AnsiString& Name);

// The data of the first language of the resource. False when the file is
// no readable PE image or has no such resource. Type.Any() matches any type.
bool ReadResourceData(const AnsiString& FileName, const TResType& Type, const AnsiString& Name, AnsiString& Data);
bool ResourceExists(const AnsiString& FileName, const TResType& Type, const AnsiString& Name);

class TResourceWriter {
public:
  // Reads and checks the file; raises Exception with the reason and
  // "\r\nError code : %d" when it cannot be opened or is not a PE image
  // with resources laid out as above.
  explicit TResourceWriter(const AnsiString& AFileName);
  // Replaces the first resource named Name (of the type, unless Type.Any())
  // and writes the file. Raises "Resource not found".
  void ReplaceResource(const TResType& Type, const AnsiString& Name, const void* Data, Integer Size);

private:
  AnsiString FFileName;
  std::vector<Byte> FImage;
};

// The whole replacement in one call; raises as TResourceWriter does.
bool ReplaceResourceInImage(const AnsiString& FileName, const TResType& Type, const AnsiString& Name, const void* Data,
                            Integer Size);
