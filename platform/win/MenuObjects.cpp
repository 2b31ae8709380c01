// MenuObjects.cpp — the HMENU table and the calls that build, change and
// query menus.
#include <algorithm>
#include <cctype>
#include <cstring>
#include <map>
#include <set>

#include "platform/gdi/Font.h"
#include "platform/win/Menus_p.h"
#include "platform/win/SysMetrics.h"
#include "platform/win/Window.h"
#include "platform/win/WinState_p.h"

namespace {
// A handle is a tag and a serial that is never reused, so a destroyed
// menu's handle stays dead even after a reset; the tag keeps a window or
// GDI handle passed as a menu from finding one.
constexpr std::uintptr_t MenuTag = std::uintptr_t(0x4D4E) << 32;
constexpr std::uintptr_t TagMask = std::uintptr_t(0xFFFF) << 32;

struct TMenuTable {
  std::map<std::uintptr_t, std::unique_ptr<TMenuObj>> Menus;
};
TMenuTable& Table() {
  static TMenuTable T;
  return T;
}
std::uintptr_t& NextSerial() {
  static std::uintptr_t N = 1;
  return N;
}

void ResetMenus() {
  MenuTrackingReset();
  Table().Menus.clear();
}
const bool MenusResetAdded = (AddWindowSystemResetHook(&ResetMenus), true);

HMENU NewMenu(bool Bar) {
  (void)MenusResetAdded;
  auto M = std::make_unique<TMenuObj>();
  std::uintptr_t Serial = NextSerial()++;
  M->Handle = reinterpret_cast<HMENU>(MenuTag | Serial);
  M->Bar = Bar;
  HMENU H = M->Handle;
  Table().Menus[Serial] = std::move(M);
  return H;
}

// True when Sub is Menu or holds it somewhere below: attaching Sub to an
// item of Menu would make the tree a cycle.
bool Reaches(HMENU Sub, HMENU Menu, std::set<HMENU>& Seen) {
  if (!Sub) return false;
  if (Sub == Menu) return true;
  if (!Seen.insert(Sub).second) return false;
  TMenuObj* M = MenuLookup(Sub);
  if (!M) return false;
  for (const TMenuItemRec& It : M->Items)
    if (Reaches(It.SubMenu, Menu, Seen)) return true;
  return false;
}

bool SubMenuAllowed(HMENU Menu, HMENU Sub) {
  if (!Sub) return true;
  if (!IsMenu(Sub)) {
    SetLastError(ERROR_INVALID_MENU_HANDLE);
    return false;
  }
  std::set<HMENU> Seen;
  if (Reaches(Sub, Menu, Seen)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return false;
  }
  return true;
}

void DestroyTree(HMENU Menu, std::set<HMENU>& Seen) {
  if (!Seen.insert(Menu).second) return;
  TMenuObj* M = MenuLookup(Menu);
  if (!M) return;
  for (const TMenuItemRec& It : M->Items)
    if (It.SubMenu) DestroyTree(It.SubMenu, Seen);
  if (M->Wnd && GetMenu(M->Wnd) == Menu) SetMenu(M->Wnd, nullptr);
  Table().Menus.erase(reinterpret_cast<std::uintptr_t>(Menu) & ~TagMask);
}

// The old flat flags as an item's type, state, id and text.
bool ItemFromFlags(HMENU Menu, UINT Flags, UINT_PTR Id, const char* Text, TMenuItemRec& It) {
  It.Type = Flags & (MF_BITMAP | MF_OWNERDRAW | MF_SEPARATOR | MF_MENUBREAK | MF_MENUBARBREAK | MF_RIGHTJUSTIFY);
  It.State = Flags & (MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_HILITE | MF_DEFAULT);
  if (Flags & MF_POPUP) {
    HMENU Sub = reinterpret_cast<HMENU>(Id);
    if (!SubMenuAllowed(Menu, Sub)) return false;
    It.SubMenu = Sub;
    It.Id = UINT(Id);
  } else {
    It.SubMenu = nullptr;
    It.Id = UINT(Id);
  }
  It.Text.clear();
  It.Bitmap = nullptr;
  It.Data = 0;
  if (Flags & MF_BITMAP) It.Bitmap = HBITMAP(const_cast<char*>(Text));
  else if (Flags & MF_OWNERDRAW) It.Data = reinterpret_cast<ULONG_PTR>(Text);
  else if (!(Flags & MF_SEPARATOR) && Text) It.Text = Text;
  return true;
}

bool ApplyInfo(HMENU Menu, const MENUITEMINFOA& I, TMenuItemRec& It) {
  if (I.cbSize < offsetof(MENUITEMINFOA, hbmpItem)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return false;
  }
  if ((I.fMask & MIIM_SUBMENU) && !SubMenuAllowed(Menu, I.hSubMenu)) return false;
  if (I.fMask & MIIM_TYPE) {
    It.Type = I.fType;
    It.Text.clear();
    It.Bitmap = nullptr;
    if (I.fType & MFT_BITMAP) It.Bitmap = HBITMAP(I.dwTypeData);
    else if (!(I.fType & (MFT_SEPARATOR | MFT_OWNERDRAW)) && I.dwTypeData) It.Text = I.dwTypeData;
  }
  if (I.fMask & MIIM_FTYPE) It.Type = I.fType;
  if (I.fMask & MIIM_STRING) It.Text = I.dwTypeData ? I.dwTypeData : "";
  if (I.fMask & MIIM_BITMAP) It.Bitmap = I.hbmpItem;
  if (I.fMask & MIIM_STATE) It.State = I.fState;
  if (I.fMask & MIIM_ID) It.Id = I.wID;
  if (I.fMask & MIIM_SUBMENU) It.SubMenu = I.hSubMenu;
  if (I.fMask & MIIM_CHECKMARKS) {
    It.Checked = I.hbmpChecked;
    It.Unchecked = I.hbmpUnchecked;
  }
  if (I.fMask & MIIM_DATA) It.Data = I.dwItemData;
  It.OwnerWidth = It.OwnerHeight = 0;
  return true;
}

// One default item per menu.
void KeepOneDefault(TMenuObj& M, std::size_t Keep) {
  if (Keep >= M.Items.size() || !(M.Items[Keep].State & MFS_DEFAULT)) return;
  for (std::size_t I = 0; I < M.Items.size(); ++I)
    if (I != Keep) M.Items[I].State &= ~MFS_DEFAULT;
}

void Changed(TMenuObj& M) {
  if (M.Bar && M.Wnd && IsWindow(M.Wnd)) DrawMenuBar(M.Wnd);
}

// The item at a position or with a command (searching sub-menus).
TMenuItemRec* Find(HMENU Menu, UINT Item, UINT Flags, TMenuObj** Holder = nullptr, int* Pos = nullptr) {
  TMenuObj* H = nullptr;
  int P = MenuFindItem(Menu, Item, Flags, &H);
  if (P < 0) return nullptr;
  if (Holder) *Holder = H;
  if (Pos) *Pos = P;
  return &H->Items[std::size_t(P)];
}

int FindByCommand(HMENU Menu, UINT Id, TMenuObj** Holder, std::set<HMENU>& Seen) {
  if (!Seen.insert(Menu).second) return -1;
  TMenuObj* M = MenuLookup(Menu);
  if (!M) return -1;
  for (std::size_t I = 0; I < M->Items.size(); ++I) {
    const TMenuItemRec& It = M->Items[I];
    if (!It.SubMenu && It.Id == Id) {
      *Holder = M;
      return int(I);
    }
  }
  // A sub-menu item matches its id only when no plain item below does.
  for (std::size_t I = 0; I < M->Items.size(); ++I) {
    if (!M->Items[I].SubMenu) continue;
    int R = FindByCommand(M->Items[I].SubMenu, Id, Holder, Seen);
    if (R >= 0) return R;
  }
  for (std::size_t I = 0; I < M->Items.size(); ++I)
    if (M->Items[I].SubMenu && M->Items[I].Id == Id) {
      *Holder = M;
      return int(I);
    }
  return -1;
}
}  // namespace

TMenuObj* MenuLookup(HMENU Menu) {
  auto V = reinterpret_cast<std::uintptr_t>(Menu);
  if ((V & TagMask) == MenuTag) {
    auto It = Table().Menus.find(V & ~TagMask);
    if (It != Table().Menus.end()) return It->second.get();
  }
  SetLastError(ERROR_INVALID_MENU_HANDLE);
  return nullptr;
}

int MenuFindItem(HMENU Menu, UINT Item, UINT Flags, TMenuObj** Holder) {
  TMenuObj* M = MenuLookup(Menu);
  if (!M) return -1;
  if (Flags & MF_BYPOSITION) {
    if (Item >= M->Items.size()) {
      SetLastError(ERROR_MENU_ITEM_NOT_FOUND);
      return -1;
    }
    *Holder = M;
    return int(Item);
  }
  std::set<HMENU> Seen;
  int R = FindByCommand(Menu, Item, Holder, Seen);
  if (R < 0) SetLastError(ERROR_MENU_ITEM_NOT_FOUND);
  return R;
}

char MenuMnemonic(const AnsiString& Text) {
  for (std::size_t I = 0; I + 1 < Text.size(); ++I) {
    if (Text[I] != '&') continue;
    if (Text[I + 1] == '&') {
      ++I;
      continue;
    }
    return char(std::tolower(static_cast<unsigned char>(Text[I + 1])));
  }
  return 0;
}

HFONT MenuFont(bool Bold) {
  static HFONT Fonts[2] = {};
  HFONT& F = Fonts[Bold ? 1 : 0];
  if (!F) {
    NONCLIENTMETRICSA M;
    SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof M, &M, 0);
    LOGFONTA L = M.lfMenuFont;
    if (Bold) L.lfWeight = 700;
    F = CreateFontIndirectA(&L);
  }
  return F;
}

HMENU CreateMenu() { return NewMenu(true); }
HMENU CreatePopupMenu() { return NewMenu(false); }

BOOL IsMenu(HMENU Menu) {
  auto V = reinterpret_cast<std::uintptr_t>(Menu);
  return (V & TagMask) == MenuTag && Table().Menus.count(V & ~TagMask) ? TRUE : FALSE;
}

BOOL DestroyMenu(HMENU Menu) {
  if (!MenuLookup(Menu)) return FALSE;
  if (TrackedMenu()) {
    // A menu being shown goes away: the loop ends first.
    std::set<HMENU> Seen;
    if (Reaches(TrackedMenu(), Menu, Seen) || TrackedMenu() == Menu) MenuTrackingReset();
  }
  std::set<HMENU> Seen;
  DestroyTree(Menu, Seen);
  return TRUE;
}

BOOL InsertMenuA(HMENU Menu, UINT Position, UINT Flags, UINT_PTR IdNewItem, const char* NewItem) {
  TMenuObj* M = MenuLookup(Menu);
  if (!M) return FALSE;
  TMenuItemRec It;
  if (!ItemFromFlags(Menu, Flags, IdNewItem, NewItem, It)) return FALSE;
  std::size_t At = M->Items.size();
  if (Position != UINT(-1)) {
    if (Flags & MF_BYPOSITION) {
      At = std::min<std::size_t>(Position, M->Items.size());
    } else {
      TMenuObj* H = nullptr;
      int P = MenuFindItem(Menu, Position, MF_BYCOMMAND, &H);
      if (P < 0) return FALSE;
      M = H;
      At = std::size_t(P);
    }
  }
  M->Items.insert(M->Items.begin() + std::ptrdiff_t(At), std::move(It));
  KeepOneDefault(*M, At);
  Changed(*M);
  return TRUE;
}

BOOL AppendMenuA(HMENU Menu, UINT Flags, UINT_PTR IdNewItem, const char* NewItem) {
  return InsertMenuA(Menu, UINT(-1), Flags | MF_BYPOSITION, IdNewItem, NewItem);
}

BOOL ModifyMenuA(HMENU Menu, UINT Position, UINT Flags, UINT_PTR IdNewItem, const char* NewItem) {
  TMenuObj* M = nullptr;
  TMenuItemRec* It = Find(Menu, Position, Flags, &M);
  if (!It) return FALSE;
  TMenuItemRec New = *It;
  if (!ItemFromFlags(M->Handle, Flags, IdNewItem, NewItem, New)) return FALSE;
  // A replaced sub-menu is freed, as the system does. It cannot hold M
  // (cycles are refused), so It stays valid.
  HMENU OldSub = It->SubMenu;
  *It = std::move(New);
  if (OldSub && OldSub != It->SubMenu) DestroyMenu(OldSub);
  Changed(*M);
  return TRUE;
}

BOOL InsertMenuItemA(HMENU Menu, UINT Item, BOOL ByPosition, const MENUITEMINFOA* Info) {
  TMenuObj* M = MenuLookup(Menu);
  if (!M) return FALSE;
  if (!Info) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  TMenuItemRec It;
  if (!ApplyInfo(Menu, *Info, It)) return FALSE;
  std::size_t At = M->Items.size();
  if (ByPosition) {
    if (Item != UINT(-1)) At = std::min<std::size_t>(Item, M->Items.size());
  } else {
    TMenuObj* H = nullptr;
    int P = MenuFindItem(Menu, Item, MF_BYCOMMAND, &H);
    if (P < 0) return FALSE;
    M = H;
    At = std::size_t(P);
  }
  M->Items.insert(M->Items.begin() + std::ptrdiff_t(At), std::move(It));
  KeepOneDefault(*M, At);
  Changed(*M);
  return TRUE;
}

BOOL GetMenuItemInfoA(HMENU Menu, UINT Item, BOOL ByPosition, MENUITEMINFOA* Info) {
  if (!Info) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  TMenuItemRec* It = Find(Menu, Item, ByPosition ? MF_BYPOSITION : MF_BYCOMMAND);
  if (!It) return FALSE;
  MENUITEMINFOA& I = *Info;
  if (I.fMask & (MIIM_TYPE | MIIM_FTYPE)) I.fType = It->Type;
  if (I.fMask & MIIM_STATE) I.fState = It->State;
  if (I.fMask & MIIM_ID) I.wID = It->Id;
  if (I.fMask & MIIM_SUBMENU) I.hSubMenu = It->SubMenu;
  if (I.fMask & MIIM_CHECKMARKS) {
    I.hbmpChecked = It->Checked;
    I.hbmpUnchecked = It->Unchecked;
  }
  if (I.fMask & MIIM_DATA) I.dwItemData = It->Data;
  if (I.fMask & MIIM_BITMAP) I.hbmpItem = It->Bitmap;
  bool WantText = (I.fMask & MIIM_STRING) || ((I.fMask & MIIM_TYPE) && !(It->Type & (MFT_BITMAP | MFT_SEPARATOR | MFT_OWNERDRAW)));
  if (WantText) {
    if (I.dwTypeData && I.cch > 0) {
      std::size_t N = std::min<std::size_t>(It->Text.size(), I.cch - 1);
      std::memcpy(I.dwTypeData, It->Text.data(), N);
      I.dwTypeData[N] = 0;
      I.cch = UINT(N);
    } else {
      I.cch = UINT(It->Text.size());
    }
  } else if (I.fMask & MIIM_TYPE) {
    if (It->Type & MFT_BITMAP) I.dwTypeData = reinterpret_cast<char*>(It->Bitmap);
    else if (It->Type & MFT_OWNERDRAW) I.dwTypeData = reinterpret_cast<char*>(It->Data);
    I.cch = 0;
  }
  return TRUE;
}

BOOL SetMenuItemInfoA(HMENU Menu, UINT Item, BOOL ByPosition, const MENUITEMINFOA* Info) {
  if (!Info) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  TMenuObj* M = nullptr;
  int Pos = -1;
  TMenuItemRec* It = Find(Menu, Item, ByPosition ? MF_BYPOSITION : MF_BYCOMMAND, &M, &Pos);
  if (!It) return FALSE;
  TMenuItemRec New = *It;
  if (!ApplyInfo(M->Handle, *Info, New)) return FALSE;
  M->Items[std::size_t(Pos)] = std::move(New);
  KeepOneDefault(*M, std::size_t(Pos));
  Changed(*M);
  return TRUE;
}

namespace {
BOOL TakeOut(HMENU Menu, UINT Position, UINT Flags, bool FreeSub) {
  TMenuObj* M = nullptr;
  int Pos = -1;
  TMenuItemRec* It = Find(Menu, Position, Flags, &M, &Pos);
  if (!It) return FALSE;
  HMENU Sub = It->SubMenu;
  M->Items.erase(M->Items.begin() + Pos);
  Changed(*M);
  if (FreeSub && Sub) DestroyMenu(Sub);
  return TRUE;
}
}  // namespace

BOOL RemoveMenu(HMENU Menu, UINT Position, UINT Flags) { return TakeOut(Menu, Position, Flags, false); }
BOOL DeleteMenu(HMENU Menu, UINT Position, UINT Flags) { return TakeOut(Menu, Position, Flags, true); }

DWORD CheckMenuItem(HMENU Menu, UINT Item, UINT Check) {
  TMenuItemRec* It = Find(Menu, Item, Check & MF_BYPOSITION);
  if (!It) return DWORD(-1);
  DWORD Old = It->State & MF_CHECKED;
  It->State = (It->State & ~MF_CHECKED) | (Check & MF_CHECKED);
  return Old;
}

BOOL EnableMenuItem(HMENU Menu, UINT Item, UINT Enable) {
  TMenuObj* M = nullptr;
  TMenuItemRec* It = Find(Menu, Item, Enable & MF_BYPOSITION, &M);
  if (!It) return BOOL(-1);
  BOOL Old = BOOL(It->State & (MF_GRAYED | MF_DISABLED));
  It->State = (It->State & ~(MF_GRAYED | MF_DISABLED)) | (Enable & (MF_GRAYED | MF_DISABLED));
  Changed(*M);
  return Old;
}

BOOL CheckMenuRadioItem(HMENU Menu, UINT First, UINT Last, UINT Check, UINT Flags) {
  TMenuObj* M = MenuLookup(Menu);
  if (!M) return FALSE;
  int F, L, C;
  if (Flags & MF_BYPOSITION) {
    F = int(First), L = int(Last), C = int(Check);
  } else {
    TMenuObj* H1 = nullptr, *H2 = nullptr, *H3 = nullptr;
    F = MenuFindItem(Menu, First, MF_BYCOMMAND, &H1);
    L = MenuFindItem(Menu, Last, MF_BYCOMMAND, &H2);
    C = MenuFindItem(Menu, Check, MF_BYCOMMAND, &H3);
    if (F < 0 || L < 0 || C < 0 || H1 != H2 || H2 != H3) return FALSE;
    M = H1;
  }
  if (F < 0 || L < F || L >= int(M->Items.size()) || C < F || C > L) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  for (int I = F; I <= L; ++I) {
    TMenuItemRec& It = M->Items[std::size_t(I)];
    if (It.Type & MFT_SEPARATOR) continue;
    if (I == C) {
      It.State |= MFS_CHECKED;
      It.Type |= MFT_RADIOCHECK;
    } else {
      It.State &= ~MFS_CHECKED;
    }
  }
  return TRUE;
}

BOOL SetMenuDefaultItem(HMENU Menu, UINT Item, UINT ByPosition) {
  TMenuObj* M = MenuLookup(Menu);
  if (!M) return FALSE;
  if (Item == UINT(-1)) {
    for (TMenuItemRec& It : M->Items) It.State &= ~MFS_DEFAULT;
    return TRUE;
  }
  int Pos = -1;
  if (ByPosition) {
    if (Item < M->Items.size()) Pos = int(Item);
  } else {
    for (std::size_t I = 0; I < M->Items.size(); ++I)
      if (M->Items[I].Id == Item) {
        Pos = int(I);
        break;
      }
  }
  if (Pos < 0) {
    SetLastError(ERROR_MENU_ITEM_NOT_FOUND);
    return FALSE;
  }
  M->Items[std::size_t(Pos)].State |= MFS_DEFAULT;
  KeepOneDefault(*M, std::size_t(Pos));
  return TRUE;
}

UINT GetMenuDefaultItem(HMENU Menu, UINT ByPosition, UINT) {
  TMenuObj* M = MenuLookup(Menu);
  if (!M) return UINT(-1);
  for (std::size_t I = 0; I < M->Items.size(); ++I)
    if (M->Items[I].State & MFS_DEFAULT) return ByPosition ? UINT(I) : M->Items[I].Id;
  return UINT(-1);
}

HMENU GetSubMenu(HMENU Menu, int Position) {
  TMenuObj* M = MenuLookup(Menu);
  if (!M || Position < 0 || std::size_t(Position) >= M->Items.size()) return nullptr;
  return M->Items[std::size_t(Position)].SubMenu;
}

int GetMenuItemCount(HMENU Menu) {
  TMenuObj* M = MenuLookup(Menu);
  return M ? int(M->Items.size()) : -1;
}

UINT GetMenuItemID(HMENU Menu, int Position) {
  TMenuObj* M = MenuLookup(Menu);
  if (!M || Position < 0 || std::size_t(Position) >= M->Items.size()) return UINT(-1);
  const TMenuItemRec& It = M->Items[std::size_t(Position)];
  return It.SubMenu ? UINT(-1) : It.Id;
}

UINT GetMenuState(HMENU Menu, UINT Id, UINT Flags) {
  TMenuItemRec* It = Find(Menu, Id, Flags & MF_BYPOSITION);
  if (!It) return UINT(-1);
  UINT S = (It->State & (MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_HILITE | MF_DEFAULT)) |
           (It->Type & (MF_BITMAP | MF_OWNERDRAW | MF_SEPARATOR | MF_MENUBREAK | MF_MENUBARBREAK | MF_RIGHTJUSTIFY));
  if (It->SubMenu) {
    int N = std::max(0, GetMenuItemCount(It->SubMenu));
    S |= MF_POPUP | (UINT(std::min(N, 255)) << 8);
  }
  return S;
}

int GetMenuStringA(HMENU Menu, UINT Item, char* Buffer, int MaxCount, UINT Flags) {
  TMenuItemRec* It = Find(Menu, Item, Flags & MF_BYPOSITION);
  if (!It) return 0;
  if (!Buffer || MaxCount <= 0) return int(It->Text.size());
  std::size_t N = std::min<std::size_t>(It->Text.size(), std::size_t(MaxCount - 1));
  std::memcpy(Buffer, It->Text.data(), N);
  Buffer[N] = 0;
  return int(N);
}

// --- the menu bar's attachment ---------------------------------------------------------------

HMENU GetMenu(HWND Wnd) {
  TWindow* W = WinPtr(Wnd);
  if (!W || (W->Style & WS_CHILD)) return nullptr;
  HMENU M = reinterpret_cast<HMENU>(W->Id);
  if (!IsMenu(M)) return nullptr;
  MenuLookup(M)->Wnd = Wnd;  // CreateWindowEx attaches without telling the menu
  return M;
}

BOOL SetMenu(HWND Wnd, HMENU Menu) {
  TWindow* W = WinPtr(Wnd);
  if (!W) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  if (W->Style & WS_CHILD) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  TMenuObj* New = nullptr;
  if (Menu && !(New = MenuLookup(Menu))) return FALSE;
  if (TMenuObj* Old = MenuLookup(GetMenu(Wnd)); Old && Old != New) Old->Wnd = nullptr;
  W->Id = LONG_PTR(reinterpret_cast<std::intptr_t>(Menu));
  if (New) New->Wnd = Wnd;
  SetWindowPos(Wnd, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  return TRUE;
}
