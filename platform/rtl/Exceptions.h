// Exceptions.h — the class library's exception classes. Every failure of the
// libraries is one of these, carrying the message text the user sees; the
// message loop shows it and the program goes on. EAbort is the silent one.
#pragma once
#include <stdexcept>
#include "platform/rtl/Types.h"

class Exception : public std::exception {
public:
  explicit Exception(AnsiString AMessage) : FMessage(std::move(AMessage)) {}
  const AnsiString& Message() const { return FMessage; }
  void SetMessage(AnsiString AMessage) { FMessage = std::move(AMessage); }
  const char* what() const noexcept override { return FMessage.c_str(); }
  // The class name as the message box and error logs show it.
  virtual const char* ClassName() const { return "Exception"; }

private:
  AnsiString FMessage;
};

// Declares an exception class derived from Base with the class library's name.
#define SX_DECLARE_EXCEPTION(Name, Base)                            \
  class Name : public Base {                                        \
  public:                                                           \
    using Base::Base;                                               \
    const char* ClassName() const override { return #Name; }        \
  }

SX_DECLARE_EXCEPTION(EAbort, Exception);
SX_DECLARE_EXCEPTION(EConvertError, Exception);
SX_DECLARE_EXCEPTION(EInOutError, Exception);
SX_DECLARE_EXCEPTION(EOutOfMemory, Exception);
SX_DECLARE_EXCEPTION(EIntError, Exception);
SX_DECLARE_EXCEPTION(ERangeError, EIntError);
SX_DECLARE_EXCEPTION(EDivByZero, EIntError);
SX_DECLARE_EXCEPTION(EMathError, Exception);
SX_DECLARE_EXCEPTION(EInvalidPointer, Exception);
SX_DECLARE_EXCEPTION(EInvalidCast, Exception);
SX_DECLARE_EXCEPTION(EInvalidOperation, Exception);
SX_DECLARE_EXCEPTION(EListError, Exception);
SX_DECLARE_EXCEPTION(EStringListError, Exception);
SX_DECLARE_EXCEPTION(EBitsError, Exception);
SX_DECLARE_EXCEPTION(EStreamError, Exception);
SX_DECLARE_EXCEPTION(EFCreateError, EStreamError);
SX_DECLARE_EXCEPTION(EFOpenError, EStreamError);
SX_DECLARE_EXCEPTION(EFilerError, EStreamError);
SX_DECLARE_EXCEPTION(EReadError, EFilerError);
SX_DECLARE_EXCEPTION(EWriteError, EFilerError);
SX_DECLARE_EXCEPTION(EClassNotFound, EFilerError);
SX_DECLARE_EXCEPTION(EMethodNotFound, EFilerError);
SX_DECLARE_EXCEPTION(EInvalidImage, EFilerError);
SX_DECLARE_EXCEPTION(EParserError, Exception);
SX_DECLARE_EXCEPTION(EComponentError, Exception);
SX_DECLARE_EXCEPTION(EPropertyError, Exception);
SX_DECLARE_EXCEPTION(EIniFileException, Exception);
SX_DECLARE_EXCEPTION(ERegistryException, Exception);
SX_DECLARE_EXCEPTION(EVariantError, Exception);
SX_DECLARE_EXCEPTION(EInvalidGraphic, Exception);
SX_DECLARE_EXCEPTION(EInvalidGraphicOperation, Exception);
SX_DECLARE_EXCEPTION(EOSError, Exception);
SX_DECLARE_EXCEPTION(ENotImplemented, Exception);

// Raises the silent exception that unwinds to the message loop without a box.
[[noreturn]] void Abort();

// A platform function the program calls but the layer does not provide yet.
// Throws, so nothing proceeds on a guessed answer.
#define SX_NOT_IMPLEMENTED(What) \
  throw ENotImplemented(AnsiString("Not implemented: ") + (What))
