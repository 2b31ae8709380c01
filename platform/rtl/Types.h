// Types.h — the basic value types every unit of the platform layer and the
// subsystems share: the class library's integer and string aliases and the
// geometry records. GDI's edge rule holds for TRect: Right and Bottom lie
// outside the rectangle.
#pragma once
#include <cstdint>
#include <ostream>
#include <string>

// Bytes in the ANSI code page (see AnsiStrings.h); wide strings are UTF-16.
using AnsiString = std::string;
using WideString = std::u16string;

using Byte = std::uint8_t;
using Word = std::uint16_t;
using SmallInt = std::int16_t;
using ShortInt = std::int8_t;
using Integer = std::int32_t;
using Cardinal = std::uint32_t;
using LongInt = std::int32_t;
using LongWord = std::uint32_t;
using Int64 = std::int64_t;
using UInt64 = std::uint64_t;
using DWORD = std::uint32_t;
using WORD = std::uint16_t;
using BYTE = std::uint8_t;
using UINT = std::uint32_t;
using BOOL = std::int32_t;
constexpr BOOL TRUE = 1;
constexpr BOOL FALSE = 0;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;

using COLORREF = std::uint32_t;  // 0x00bbggrr

constexpr COLORREF RGB(Byte R, Byte G, Byte B) {
  return COLORREF(R) | (COLORREF(G) << 8) | (COLORREF(B) << 16);
}
constexpr Byte GetRValue(COLORREF C) { return Byte(C & 0xFF); }
constexpr Byte GetGValue(COLORREF C) { return Byte((C >> 8) & 0xFF); }
constexpr Byte GetBValue(COLORREF C) { return Byte((C >> 16) & 0xFF); }
constexpr COLORREF CLR_INVALID = 0xFFFFFFFF;

// Handles: the untyped base types here; each layer declares its own kinds
// (graphics handles in gdi/GdiTypes.h, window handles in win/WinTypes.h) as
// distinct pointer types, as with STRICT: they convert to HANDLE or HGDIOBJ
// implicitly and back only with a cast.
using HANDLE = void*;
using HGDIOBJ = void*;
#define SX_DECLARE_HANDLE(Name) \
  struct Name##__;              \
  using Name = Name##__*

struct TPoint {
  Integer X = 0;
  Integer Y = 0;
  constexpr TPoint() = default;
  constexpr TPoint(Integer AX, Integer AY) : X(AX), Y(AY) {}
  friend constexpr bool operator==(const TPoint&, const TPoint&) = default;
};

struct TSize {
  Integer cx = 0;
  Integer cy = 0;
  constexpr TSize() = default;
  constexpr TSize(Integer ACx, Integer ACy) : cx(ACx), cy(ACy) {}
  friend constexpr bool operator==(const TSize&, const TSize&) = default;
};

struct TRect {
  Integer Left = 0;
  Integer Top = 0;
  Integer Right = 0;
  Integer Bottom = 0;
  constexpr TRect() = default;
  constexpr TRect(Integer ALeft, Integer ATop, Integer ARight, Integer ABottom)
      : Left(ALeft), Top(ATop), Right(ARight), Bottom(ABottom) {}
  constexpr TRect(TPoint ATopLeft, TPoint ABottomRight)
      : Left(ATopLeft.X), Top(ATopLeft.Y), Right(ABottomRight.X), Bottom(ABottomRight.Y) {}
  constexpr Integer Width() const { return Right - Left; }
  constexpr Integer Height() const { return Bottom - Top; }
  constexpr TPoint TopLeft() const { return {Left, Top}; }
  constexpr TPoint BottomRight() const { return {Right, Bottom}; }
  // Empty as IsRectEmpty sees it: no area.
  constexpr bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
  constexpr bool Contains(TPoint P) const {
    return P.X >= Left && P.X < Right && P.Y >= Top && P.Y < Bottom;
  }
  friend constexpr bool operator==(const TRect&, const TRect&) = default;
};

constexpr TRect Rect(Integer ALeft, Integer ATop, Integer ARight, Integer ABottom) {
  return {ALeft, ATop, ARight, ABottom};
}
constexpr TPoint Point(Integer AX, Integer AY) { return {AX, AY}; }
constexpr TRect Bounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) {
  return {ALeft, ATop, ALeft + AWidth, ATop + AHeight};
}

// gtest prints these through PrintTo/operator<<.
inline std::ostream& operator<<(std::ostream& S, const TPoint& P) {
  return S << "TPoint{" << P.X << "," << P.Y << "}";
}
inline std::ostream& operator<<(std::ostream& S, const TSize& Sz) {
  return S << "TSize{" << Sz.cx << "," << Sz.cy << "}";
}
inline std::ostream& operator<<(std::ostream& S, const TRect& R) {
  return S << "TRect{" << R.Left << "," << R.Top << "," << R.Right << "," << R.Bottom << "}";
}
