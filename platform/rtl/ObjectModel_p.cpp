#include "platform/rtl/ObjectModel_p.h"

#include "platform/rtl/CodePages.h"

namespace sx_name {

// String properties and stream values cross between ANSI and UTF-16 in the
// active code page, as the library's own conversions do.
WideString AnsiToWide(const AnsiString& S) { return ::AnsiToWide(S, CP_ACP); }
AnsiString WideToAnsi(const WideString& W) { return ::WideToAnsi(W, CP_ACP); }

}  // namespace sx_name
