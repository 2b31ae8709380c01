// CommCtrl.h — the common controls: the tree view ("SysTreeView32"), the
// list view ("SysListView32"), up-down and progress-bar window classes, their messages, styles,
// item records and notifications (WM_NOTIFY to the parent, whose lParam
// points at a record that starts with an NMHDR).
//
// InitCommonControls registers the classes; it is cheap to call again and
// must be called again after ResetWindowSystem (which forgets classes).
// Item texts are ANSI code-page bytes. A window procedure of these classes
// lets an exception thrown by a notification handler or a sort callback
// pass through unchanged, and leaves its items as they were before the call.
#pragma once
#include "platform/win/Messages.h"
#include "platform/win/WinTypes.h"

// Also registers the scroll-bar control class (ScrollBars.h).
void InitCommonControls();

constexpr const char* WC_TREEVIEW = "SysTreeView32";
constexpr const char* WC_LISTVIEW = "SysListView32";

struct NMHDR {
  HWND hwndFrom = nullptr;
  UINT_PTR idFrom = 0;
  UINT code = 0;
};

// Common notification codes (negative numbers as unsigned).
constexpr UINT NM_FIRST = 0U;
constexpr UINT NM_CLICK = NM_FIRST - 2;
constexpr UINT NM_DBLCLK = NM_FIRST - 3;
constexpr UINT NM_RETURN = NM_FIRST - 4;
constexpr UINT NM_RCLICK = NM_FIRST - 5;
constexpr UINT NM_SETFOCUS = NM_FIRST - 7;
constexpr UINT NM_KILLFOCUS = NM_FIRST - 8;

// ---------------------------------------------------------------------------
// Tree view

struct _TREEITEM;
using HTREEITEM = _TREEITEM*;
inline HTREEITEM TreeItemConst(std::intptr_t V) { return reinterpret_cast<HTREEITEM>(V); }
#define TVI_ROOT TreeItemConst(-0x10000)
#define TVI_FIRST TreeItemConst(-0x0FFFF)
#define TVI_LAST TreeItemConst(-0x0FFFE)
#define TVI_SORT TreeItemConst(-0x0FFFD)

constexpr DWORD TVS_HASBUTTONS = 0x0001;
constexpr DWORD TVS_HASLINES = 0x0002;
constexpr DWORD TVS_LINESATROOT = 0x0004;
constexpr DWORD TVS_EDITLABELS = 0x0008;
constexpr DWORD TVS_DISABLEDRAGDROP = 0x0010;
constexpr DWORD TVS_SHOWSELALWAYS = 0x0020;
constexpr DWORD TVS_NOTOOLTIPS = 0x0080;
constexpr DWORD TVS_INFOTIP = 0x0800;
constexpr DWORD TVS_FULLROWSELECT = 0x1000;

constexpr UINT TVIF_TEXT = 0x0001;
constexpr UINT TVIF_IMAGE = 0x0002;
constexpr UINT TVIF_PARAM = 0x0004;
constexpr UINT TVIF_STATE = 0x0008;
constexpr UINT TVIF_HANDLE = 0x0010;
constexpr UINT TVIF_SELECTEDIMAGE = 0x0020;
constexpr UINT TVIF_CHILDREN = 0x0040;

constexpr UINT TVIS_SELECTED = 0x0002;
constexpr UINT TVIS_CUT = 0x0004;
constexpr UINT TVIS_DROPHILITED = 0x0008;
constexpr UINT TVIS_BOLD = 0x0010;
constexpr UINT TVIS_EXPANDED = 0x0020;
constexpr UINT TVIS_EXPANDEDONCE = 0x0040;

// A text, image or child count the parent supplies through TVN_GETDISPINFO.
inline char* const LPSTR_TEXTCALLBACKA = reinterpret_cast<char*>(-1);
constexpr int I_IMAGECALLBACK = -1;
constexpr int I_CHILDRENCALLBACK = -1;

struct TVITEMA {
  UINT mask = 0;
  HTREEITEM hItem = nullptr;
  UINT state = 0;
  UINT stateMask = 0;
  char* pszText = nullptr;
  int cchTextMax = 0;
  int iImage = 0;
  int iSelectedImage = 0;
  int cChildren = 0;
  LPARAM lParam = 0;
};
using TVITEM = TVITEMA;

struct TVINSERTSTRUCTA {
  HTREEITEM hParent = nullptr;
  HTREEITEM hInsertAfter = nullptr;
  TVITEMA item;
};
using TVINSERTSTRUCT = TVINSERTSTRUCTA;

struct NMTREEVIEWA {
  NMHDR hdr;
  UINT action = 0;
  TVITEMA itemOld;
  TVITEMA itemNew;
  TPoint ptDrag;
};
using NMTREEVIEW = NMTREEVIEWA;

struct NMTVDISPINFOA {
  NMHDR hdr;
  TVITEMA item;
};

struct TVHITTESTINFO {
  TPoint pt;
  UINT flags = 0;
  HTREEITEM hItem = nullptr;
};

using PFNTVCOMPARE = int (*)(LPARAM Item1, LPARAM Item2, LPARAM Sort);
struct TVSORTCB {
  HTREEITEM hParent = nullptr;
  PFNTVCOMPARE lpfnCompare = nullptr;
  LPARAM lParam = 0;
};

constexpr UINT TV_FIRST = 0x1100;
constexpr UINT TVM_INSERTITEMA = TV_FIRST + 0;
constexpr UINT TVM_DELETEITEM = TV_FIRST + 1;
constexpr UINT TVM_EXPAND = TV_FIRST + 2;
constexpr UINT TVM_GETITEMRECT = TV_FIRST + 4;
constexpr UINT TVM_GETCOUNT = TV_FIRST + 5;
constexpr UINT TVM_GETINDENT = TV_FIRST + 6;
constexpr UINT TVM_SETINDENT = TV_FIRST + 7;
constexpr UINT TVM_GETIMAGELIST = TV_FIRST + 8;
constexpr UINT TVM_SETIMAGELIST = TV_FIRST + 9;
constexpr UINT TVM_GETNEXTITEM = TV_FIRST + 10;
constexpr UINT TVM_SELECTITEM = TV_FIRST + 11;
constexpr UINT TVM_GETITEMA = TV_FIRST + 12;
constexpr UINT TVM_SETITEMA = TV_FIRST + 13;
constexpr UINT TVM_EDITLABELA = TV_FIRST + 14;
constexpr UINT TVM_GETEDITCONTROL = TV_FIRST + 15;
constexpr UINT TVM_GETVISIBLECOUNT = TV_FIRST + 16;
constexpr UINT TVM_HITTEST = TV_FIRST + 17;
constexpr UINT TVM_SORTCHILDREN = TV_FIRST + 19;
constexpr UINT TVM_ENSUREVISIBLE = TV_FIRST + 20;
constexpr UINT TVM_SORTCHILDRENCB = TV_FIRST + 21;
// wParam TRUE cancels the edit, FALSE keeps the text.
constexpr UINT TVM_ENDEDITLABELNOW = TV_FIRST + 22;
constexpr UINT TVM_SETITEMHEIGHT = TV_FIRST + 27;
constexpr UINT TVM_GETITEMHEIGHT = TV_FIRST + 28;
constexpr UINT TVM_INSERTITEM = TVM_INSERTITEMA;
constexpr UINT TVM_GETITEM = TVM_GETITEMA;
constexpr UINT TVM_SETITEM = TVM_SETITEMA;
constexpr UINT TVM_EDITLABEL = TVM_EDITLABELA;

constexpr WPARAM TVE_COLLAPSE = 0x0001;
constexpr WPARAM TVE_EXPAND = 0x0002;
constexpr WPARAM TVE_TOGGLE = 0x0003;
constexpr WPARAM TVE_COLLAPSERESET = 0x8000;

constexpr WPARAM TVGN_ROOT = 0x0000;
constexpr WPARAM TVGN_NEXT = 0x0001;
constexpr WPARAM TVGN_PREVIOUS = 0x0002;
constexpr WPARAM TVGN_PARENT = 0x0003;
constexpr WPARAM TVGN_CHILD = 0x0004;
constexpr WPARAM TVGN_FIRSTVISIBLE = 0x0005;
constexpr WPARAM TVGN_NEXTVISIBLE = 0x0006;
constexpr WPARAM TVGN_PREVIOUSVISIBLE = 0x0007;
constexpr WPARAM TVGN_DROPHILITE = 0x0008;
constexpr WPARAM TVGN_CARET = 0x0009;
constexpr WPARAM TVGN_LASTVISIBLE = 0x000A;

constexpr WPARAM TVSIL_NORMAL = 0;
constexpr WPARAM TVSIL_STATE = 2;

constexpr UINT TVHT_NOWHERE = 0x0001;
constexpr UINT TVHT_ONITEMICON = 0x0002;
constexpr UINT TVHT_ONITEMLABEL = 0x0004;
constexpr UINT TVHT_ONITEMINDENT = 0x0008;
constexpr UINT TVHT_ONITEMBUTTON = 0x0010;
constexpr UINT TVHT_ONITEMRIGHT = 0x0020;
constexpr UINT TVHT_ONITEM = TVHT_ONITEMICON | TVHT_ONITEMLABEL | 0x0040;
constexpr UINT TVHT_ABOVE = 0x0100;
constexpr UINT TVHT_BELOW = 0x0200;
constexpr UINT TVHT_TORIGHT = 0x0400;
constexpr UINT TVHT_TOLEFT = 0x0800;

constexpr UINT TVC_UNKNOWN = 0;
constexpr UINT TVC_BYMOUSE = 1;
constexpr UINT TVC_BYKEYBOARD = 2;

constexpr UINT TVN_FIRST = 0U - 400U;
constexpr UINT TVN_SELCHANGINGA = TVN_FIRST - 1;
constexpr UINT TVN_SELCHANGEDA = TVN_FIRST - 2;
constexpr UINT TVN_GETDISPINFOA = TVN_FIRST - 3;
constexpr UINT TVN_ITEMEXPANDINGA = TVN_FIRST - 5;
constexpr UINT TVN_ITEMEXPANDEDA = TVN_FIRST - 6;
constexpr UINT TVN_BEGINDRAGA = TVN_FIRST - 7;
constexpr UINT TVN_BEGINRDRAGA = TVN_FIRST - 8;
constexpr UINT TVN_DELETEITEMA = TVN_FIRST - 9;
// NMTVDISPINFOA: nonzero from the begin notification refuses the edit; the
// end notification's pszText is null when the edit was cancelled, and its
// nonzero answer takes the text as the item's label.
constexpr UINT TVN_BEGINLABELEDITA = TVN_FIRST - 10;
constexpr UINT TVN_ENDLABELEDITA = TVN_FIRST - 11;
constexpr UINT TVN_KEYDOWN = TVN_FIRST - 12;
constexpr UINT TVN_SELCHANGING = TVN_SELCHANGINGA;
constexpr UINT TVN_SELCHANGED = TVN_SELCHANGEDA;
constexpr UINT TVN_GETDISPINFO = TVN_GETDISPINFOA;
constexpr UINT TVN_ITEMEXPANDING = TVN_ITEMEXPANDINGA;
constexpr UINT TVN_ITEMEXPANDED = TVN_ITEMEXPANDEDA;
constexpr UINT TVN_BEGINDRAG = TVN_BEGINDRAGA;
constexpr UINT TVN_BEGINRDRAG = TVN_BEGINRDRAGA;
constexpr UINT TVN_DELETEITEM = TVN_DELETEITEMA;
constexpr UINT TVN_BEGINLABELEDIT = TVN_BEGINLABELEDITA;
constexpr UINT TVN_ENDLABELEDIT = TVN_ENDLABELEDITA;

struct NMTVKEYDOWN {
  NMHDR hdr;
  WORD wVKey = 0;
  UINT flags = 0;
};

// ---------------------------------------------------------------------------
// List view

constexpr DWORD LVS_ICON = 0x0000;
constexpr DWORD LVS_REPORT = 0x0001;
constexpr DWORD LVS_SMALLICON = 0x0002;
constexpr DWORD LVS_LIST = 0x0003;
constexpr DWORD LVS_TYPEMASK = 0x0003;
constexpr DWORD LVS_SINGLESEL = 0x0004;
constexpr DWORD LVS_SHOWSELALWAYS = 0x0008;
constexpr DWORD LVS_SORTASCENDING = 0x0010;
constexpr DWORD LVS_SORTDESCENDING = 0x0020;
constexpr DWORD LVS_SHAREIMAGELISTS = 0x0040;
constexpr DWORD LVS_EDITLABELS = 0x0200;
constexpr DWORD LVS_NOCOLUMNHEADER = 0x4000;
constexpr DWORD LVS_NOSORTHEADER = 0x8000;

constexpr DWORD LVS_EX_GRIDLINES = 0x0001;
constexpr DWORD LVS_EX_FULLROWSELECT = 0x0020;

constexpr UINT LVIF_TEXT = 0x0001;
constexpr UINT LVIF_IMAGE = 0x0002;
constexpr UINT LVIF_PARAM = 0x0004;
constexpr UINT LVIF_STATE = 0x0008;

constexpr UINT LVIS_FOCUSED = 0x0001;
constexpr UINT LVIS_SELECTED = 0x0002;
constexpr UINT LVIS_CUT = 0x0004;
constexpr UINT LVIS_DROPHILITED = 0x0008;

struct LVITEMA {
  UINT mask = 0;
  int iItem = 0;
  int iSubItem = 0;
  UINT state = 0;
  UINT stateMask = 0;
  char* pszText = nullptr;
  int cchTextMax = 0;
  int iImage = 0;
  LPARAM lParam = 0;
  int iIndent = 0;
};
using LVITEM = LVITEMA;

constexpr UINT LVCF_FMT = 0x0001;
constexpr UINT LVCF_WIDTH = 0x0002;
constexpr UINT LVCF_TEXT = 0x0004;
constexpr UINT LVCF_SUBITEM = 0x0008;
constexpr int LVCFMT_LEFT = 0x0000;
constexpr int LVCFMT_RIGHT = 0x0001;
constexpr int LVCFMT_CENTER = 0x0002;

struct LVCOLUMNA {
  UINT mask = 0;
  int fmt = 0;
  int cx = 0;
  char* pszText = nullptr;
  int cchTextMax = 0;
  int iSubItem = 0;
};
using LVCOLUMN = LVCOLUMNA;

struct NMLISTVIEW {
  NMHDR hdr;
  int iItem = -1;
  int iSubItem = 0;
  UINT uNewState = 0;
  UINT uOldState = 0;
  UINT uChanged = 0;
  TPoint ptAction;
  LPARAM lParam = 0;
};

struct NMLVDISPINFOA {
  NMHDR hdr;
  LVITEMA item;
};

struct NMLVKEYDOWN {
  NMHDR hdr;
  WORD wVKey = 0;
  UINT flags = 0;
};

constexpr UINT LVFI_PARAM = 0x0001;
constexpr UINT LVFI_STRING = 0x0002;
constexpr UINT LVFI_PARTIAL = 0x0008;
constexpr UINT LVFI_WRAP = 0x0020;

struct LVFINDINFOA {
  UINT flags = 0;
  const char* psz = nullptr;
  LPARAM lParam = 0;
  TPoint pt;
  UINT vkDirection = 0;
};

constexpr UINT LVHT_NOWHERE = 0x0001;
constexpr UINT LVHT_ONITEMICON = 0x0002;
constexpr UINT LVHT_ONITEMLABEL = 0x0004;
constexpr UINT LVHT_ONITEMSTATEICON = 0x0008;
constexpr UINT LVHT_ONITEM = LVHT_ONITEMICON | LVHT_ONITEMLABEL | LVHT_ONITEMSTATEICON;
constexpr UINT LVHT_ABOVE = 0x0008;
constexpr UINT LVHT_BELOW = 0x0010;

struct LVHITTESTINFO {
  TPoint pt;
  UINT flags = 0;
  int iItem = -1;
  int iSubItem = 0;
};

using PFNLVCOMPARE = int (*)(LPARAM Item1, LPARAM Item2, LPARAM Sort);

constexpr UINT LVNI_ALL = 0x0000;
constexpr UINT LVNI_FOCUSED = 0x0001;
constexpr UINT LVNI_SELECTED = 0x0002;
constexpr UINT LVNI_ABOVE = 0x0100;
constexpr UINT LVNI_BELOW = 0x0200;

constexpr WPARAM LVSIL_NORMAL = 0;
constexpr WPARAM LVSIL_SMALL = 1;
constexpr WPARAM LVSIL_STATE = 2;

constexpr int LVIR_BOUNDS = 0;
constexpr int LVIR_ICON = 1;
constexpr int LVIR_LABEL = 2;
constexpr int LVIR_SELECTBOUNDS = 3;

constexpr UINT LVM_FIRST = 0x1000;
constexpr UINT LVM_GETBKCOLOR = LVM_FIRST + 0;
constexpr UINT LVM_SETBKCOLOR = LVM_FIRST + 1;
constexpr UINT LVM_GETIMAGELIST = LVM_FIRST + 2;
constexpr UINT LVM_SETIMAGELIST = LVM_FIRST + 3;
constexpr UINT LVM_GETITEMCOUNT = LVM_FIRST + 4;
constexpr UINT LVM_GETITEMA = LVM_FIRST + 5;
constexpr UINT LVM_SETITEMA = LVM_FIRST + 6;
constexpr UINT LVM_INSERTITEMA = LVM_FIRST + 7;
constexpr UINT LVM_DELETEITEM = LVM_FIRST + 8;
constexpr UINT LVM_DELETEALLITEMS = LVM_FIRST + 9;
constexpr UINT LVM_GETNEXTITEM = LVM_FIRST + 12;
constexpr UINT LVM_FINDITEMA = LVM_FIRST + 13;
constexpr UINT LVM_GETITEMRECT = LVM_FIRST + 14;
constexpr UINT LVM_HITTEST = LVM_FIRST + 18;
constexpr UINT LVM_ENSUREVISIBLE = LVM_FIRST + 19;
constexpr UINT LVM_SCROLL = LVM_FIRST + 20;
// wParam: the item; -1 cancels a running edit.
constexpr UINT LVM_EDITLABELA = LVM_FIRST + 23;
constexpr UINT LVM_GETEDITCONTROL = LVM_FIRST + 24;
constexpr UINT LVM_GETCOLUMNA = LVM_FIRST + 25;
constexpr UINT LVM_SETCOLUMNA = LVM_FIRST + 26;
constexpr UINT LVM_INSERTCOLUMNA = LVM_FIRST + 27;
constexpr UINT LVM_DELETECOLUMN = LVM_FIRST + 28;
constexpr UINT LVM_GETCOLUMNWIDTH = LVM_FIRST + 29;
constexpr UINT LVM_SETCOLUMNWIDTH = LVM_FIRST + 30;
constexpr UINT LVM_GETTOPINDEX = LVM_FIRST + 39;
constexpr UINT LVM_GETCOUNTPERPAGE = LVM_FIRST + 40;
constexpr UINT LVM_SETITEMSTATE = LVM_FIRST + 43;
constexpr UINT LVM_GETITEMSTATE = LVM_FIRST + 44;
constexpr UINT LVM_GETITEMTEXTA = LVM_FIRST + 45;
constexpr UINT LVM_SETITEMTEXTA = LVM_FIRST + 46;
constexpr UINT LVM_SORTITEMS = LVM_FIRST + 48;
constexpr UINT LVM_GETSELECTEDCOUNT = LVM_FIRST + 50;
constexpr UINT LVM_SETEXTENDEDLISTVIEWSTYLE = LVM_FIRST + 54;
constexpr UINT LVM_GETEXTENDEDLISTVIEWSTYLE = LVM_FIRST + 55;
constexpr UINT LVM_CANCELEDITLABEL = LVM_FIRST + 179;
constexpr UINT LVM_GETITEM = LVM_GETITEMA;
constexpr UINT LVM_SETITEM = LVM_SETITEMA;
constexpr UINT LVM_INSERTITEM = LVM_INSERTITEMA;
constexpr UINT LVM_FINDITEM = LVM_FINDITEMA;
constexpr UINT LVM_GETCOLUMN = LVM_GETCOLUMNA;
constexpr UINT LVM_SETCOLUMN = LVM_SETCOLUMNA;
constexpr UINT LVM_INSERTCOLUMN = LVM_INSERTCOLUMNA;
constexpr UINT LVM_GETITEMTEXT = LVM_GETITEMTEXTA;
constexpr UINT LVM_SETITEMTEXT = LVM_SETITEMTEXTA;
constexpr UINT LVM_EDITLABEL = LVM_EDITLABELA;

constexpr UINT LVN_FIRST = 0U - 100U;
constexpr UINT LVN_ITEMCHANGING = LVN_FIRST - 0;
constexpr UINT LVN_ITEMCHANGED = LVN_FIRST - 1;
constexpr UINT LVN_INSERTITEM = LVN_FIRST - 2;
constexpr UINT LVN_DELETEITEM = LVN_FIRST - 3;
constexpr UINT LVN_DELETEALLITEMS = LVN_FIRST - 4;
constexpr UINT LVN_COLUMNCLICK = LVN_FIRST - 8;
constexpr UINT LVN_BEGINDRAG = LVN_FIRST - 9;
// NMLVDISPINFOA, with the same answers as the tree view's label edits.
constexpr UINT LVN_BEGINLABELEDITA = LVN_FIRST - 5;
constexpr UINT LVN_ENDLABELEDITA = LVN_FIRST - 6;
constexpr UINT LVN_BEGINRDRAG = LVN_FIRST - 11;
constexpr UINT LVN_GETDISPINFOA = LVN_FIRST - 50;
constexpr UINT LVN_KEYDOWN = LVN_FIRST - 55;
constexpr UINT LVN_GETDISPINFO = LVN_GETDISPINFOA;
constexpr UINT LVN_BEGINLABELEDIT = LVN_BEGINLABELEDITA;
constexpr UINT LVN_ENDLABELEDIT = LVN_ENDLABELEDITA;

// ---------------------------------------------------------------------------
// Up-down control

constexpr const char* UPDOWN_CLASS = "msctls_updown32";

// The hot-key control: a key with its modifiers, typed by the user.
constexpr const char* HOTKEY_CLASS = "msctls_hotkey32";
constexpr UINT HKM_SETHOTKEY = WM_USER + 1;   // wParam: LOBYTE key, HIBYTE HOTKEYF_ modifiers
constexpr UINT HKM_GETHOTKEY = WM_USER + 2;
constexpr UINT HKM_SETRULES = WM_USER + 3;    // wParam: HKCOMB_ refused; LOWORD(lParam): their stand-in
constexpr BYTE HOTKEYF_SHIFT = 0x01;
constexpr BYTE HOTKEYF_CONTROL = 0x02;
constexpr BYTE HOTKEYF_ALT = 0x04;
constexpr BYTE HOTKEYF_EXT = 0x08;
constexpr WORD HKCOMB_NONE = 0x0001;
constexpr WORD HKCOMB_S = 0x0002;
constexpr WORD HKCOMB_C = 0x0004;
constexpr WORD HKCOMB_A = 0x0008;
constexpr WORD HKCOMB_SC = 0x0010;
constexpr WORD HKCOMB_SA = 0x0020;
constexpr WORD HKCOMB_CA = 0x0040;
constexpr WORD HKCOMB_SCA = 0x0080;
constexpr DWORD UDS_WRAP = 0x0001;
constexpr DWORD UDS_SETBUDDYINT = 0x0002;
constexpr DWORD UDS_ALIGNRIGHT = 0x0004;
constexpr DWORD UDS_ALIGNLEFT = 0x0008;
constexpr DWORD UDS_ARROWKEYS = 0x0020;
constexpr DWORD UDS_HORZ = 0x0040;
constexpr DWORD UDS_NOTHOUSANDS = 0x0080;

constexpr UINT UDM_SETRANGE = WM_USER + 101;
constexpr UINT UDM_GETRANGE = WM_USER + 102;
constexpr UINT UDM_SETPOS = WM_USER + 103;
constexpr UINT UDM_GETPOS = WM_USER + 104;
constexpr UINT UDM_SETBUDDY = WM_USER + 105;
constexpr UINT UDM_GETBUDDY = WM_USER + 106;
constexpr UINT UDM_SETRANGE32 = WM_USER + 111;
constexpr UINT UDM_GETRANGE32 = WM_USER + 112;
constexpr UINT UDM_SETPOS32 = WM_USER + 113;
constexpr UINT UDM_GETPOS32 = WM_USER + 114;

constexpr UINT UDN_FIRST = 0U - 721U;
constexpr UINT UDN_DELTAPOS = UDN_FIRST - 1;

struct NMUPDOWN {
  NMHDR hdr;
  int iPos = 0;
  int iDelta = 0;
};

// ---------------------------------------------------------------------------
// Progress bar

constexpr const char* PROGRESS_CLASS = "msctls_progress32";
constexpr DWORD PBS_SMOOTH = 0x0001;
constexpr DWORD PBS_VERTICAL = 0x0004;

constexpr UINT PBM_SETRANGE = WM_USER + 1;
constexpr UINT PBM_SETPOS = WM_USER + 2;
constexpr UINT PBM_DELTAPOS = WM_USER + 3;
constexpr UINT PBM_SETSTEP = WM_USER + 4;
constexpr UINT PBM_STEPIT = WM_USER + 5;
constexpr UINT PBM_SETRANGE32 = WM_USER + 6;
constexpr UINT PBM_GETRANGE = WM_USER + 7;
constexpr UINT PBM_GETPOS = WM_USER + 8;

struct PBRANGE {
  int iLow = 0;
  int iHigh = 0;
};
