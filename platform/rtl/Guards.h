// Guards.h — scope guards for what must be undone when a scope ends, also by
// an exception: a handle that must be freed and an update bracket that must
// be closed. The graphics layer's guards (selected objects, saved DC state)
// build on these in gdi/GdiGuards.h.
#pragma once
#include <exception>
#include <utility>

// Sole owner of a handle value. Traits give the value that means "none"
// (Invalid()) and how to free one (Free(H)); the invalid value is never freed.
template <class THandle, class TTraits>
class TUniqueHandle {
public:
  TUniqueHandle() = default;
  explicit TUniqueHandle(THandle H) : FHandle(H) {}
  ~TUniqueHandle() { Reset(); }
  TUniqueHandle(TUniqueHandle&& Other) noexcept : FHandle(Other.Release()) {}
  TUniqueHandle& operator=(TUniqueHandle&& Other) noexcept {
    if (this != &Other) Reset(Other.Release());
    return *this;
  }
  TUniqueHandle(const TUniqueHandle&) = delete;
  TUniqueHandle& operator=(const TUniqueHandle&) = delete;

  THandle Get() const { return FHandle; }
  explicit operator bool() const { return FHandle != TTraits::Invalid(); }
  // Gives the handle up without freeing it.
  THandle Release() { return std::exchange(FHandle, TTraits::Invalid()); }
  void Reset(THandle H = TTraits::Invalid()) {
    THandle Old = std::exchange(FHandle, H);
    if (Old != TTraits::Invalid()) TTraits::Free(Old);
  }

private:
  THandle FHandle = TTraits::Invalid();
};

// Tag: the caller has opened the update bracket itself (BeginUpdate with
// arguments, BeginSafeUpdate); the guard only closes it.
struct TUpdateBegun {};
inline constexpr TUpdateBegun UpdateBegun{};

// Holds an object's BeginUpdate/EndUpdate bracket open for a scope. On a
// normal exit EndUpdate may raise like any call (its change notifications run
// there); while an exception is already leaving the scope, a second one from
// EndUpdate is dropped so the first reaches the caller.
template <class T>
class TUpdateGuard {
public:
  explicit TUpdateGuard(T& Obj) : FObj(Obj) { Obj.BeginUpdate(); }
  TUpdateGuard(T& Obj, TUpdateBegun) : FObj(Obj) {}
  ~TUpdateGuard() noexcept(false) {
    if (std::uncaught_exceptions() > FUnwinding) {
      try {
        FObj.EndUpdate();
      } catch (...) {
      }
    } else {
      FObj.EndUpdate();
    }
  }
  TUpdateGuard(const TUpdateGuard&) = delete;
  TUpdateGuard& operator=(const TUpdateGuard&) = delete;

private:
  T& FObj;
  int FUnwinding = std::uncaught_exceptions();
};
