#include "editor/base/PersHolder.h"

// FIXME: the object text form converter is landing in platform/rtl; until
// then the text helpers refuse loudly instead of writing binary as text.
void WriteComponentText(TStream*, TPersistent*) { SX_NOT_IMPLEMENTED("WriteComponentText"); }
void ReadComponentText(TStream*, TPersistent*) { SX_NOT_IMPLEMENTED("ReadComponentText"); }
void WriteObjectTextFile(TPersistent*, const AnsiString&) { SX_NOT_IMPLEMENTED("WriteObjectTextFile"); }
void ReadObjectTextFile(TPersistent*, const AnsiString&) { SX_NOT_IMPLEMENTED("ReadObjectTextFile"); }
