// OleErrors.h — the class library's OLE errors: EOleError for a member a
// late-bound object does not have, EOleSysError (one kind of it) for a
// failed OLE call, carrying the call's result.
#pragma once
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Interfaces.h"

SX_DECLARE_EXCEPTION(EOleError, Exception);

class EOleSysError : public EOleError {
public:
  explicit EOleSysError(AnsiString AMessage, HRESULT AErrorCode = E_FAIL)
      : EOleError(std::move(AMessage)), FErrorCode(AErrorCode) {}
  const char* ClassName() const override { return "EOleSysError"; }
  HRESULT ErrorCode() const { return FErrorCode; }

private:
  HRESULT FErrorCode;
};

// Raises EOleSysError for Result, its text naming the result.
[[noreturn]] void RaiseOleError(HRESULT Result);
// Raises EOleSysError when Result is a failure.
void OleCheck(HRESULT Result);
