// DCMemoTypes.h — the option sets, enumerations and event types of the
// editor control's published surface.
#pragma once
#include "editor/text/MemoSource.h"
#include "platform/forms/Controls.h"
#include "platform/rtl/ShortCuts.h"

class TCanvas;
class TCustomForm;

SX_ENUM(TMemoOption, moDrawMargin, moDrawGutter, moThumbTracking, moDblClickLine, moColorSyntax, moLineNumbers,
        moOverwriteCaret, moLeftIndent, moDisableDrag, moSelectOnlyText, moLineNumbersOnGutter,
        moNotePadCursorStyle, moBreakWordAtMargin, moDrawSpecialSymbols, moDisableRightClickMove,
        moColoredLineStyle, moDisableInvertedSel, moHideInvisibleLines, moDrawLineBookmarks, moShowScrollHint,
        moUseReadOnlyColor, moExtendedSel, moCenterOnBookmark, moTripleClick, moLimitLineNumbers)
using TMemoOptions = TSet<TMemoOption>;

SX_ENUM(TClipboardType, cbNormal, cbRtf)
SX_ENUM(TGutterImgsAlign, iaLeft, iaRight)
SX_ENUM(TDCPrintOption, poWrapLines, poInColor, poPrintSel, poPrintHeader, poLineNumbers, poPrintSyntax,
        poShowProgress)
using TDCPrintOptions = TSet<TDCPrintOption>;
SX_ENUM(TPopupType, ptHint, ptListBox)
SX_ENUM(TPrintType, ptHeader, ptFooter)
SX_ENUM(TDrawState, dsBeforePaint, dsAfterPaint, dsText, dsAfterText, dsSelection, dsMarkedText)
using TDrawStates = TSet<TDrawState>;

// Sender is the exporter; the handler may replace the text.
using TExportStringEvent = TEvent<void(TObject* Sender, AnsiString& S)>;
using TMemoStateChangeEvent = TEvent<void(TObject* Sender, TMemoStates State)>;
using TJumpToUrlEvent = TEvent<void(TObject* Sender, const AnsiString& S, bool& Handled)>;
using TClickGutterEvent = TEvent<void(TObject* Sender, Integer LinePos, Integer ImageIndex, TShiftState Shift)>;
using THintPopupEvent =
    TEvent<void(TObject* Sender, TStrings* Strings, bool& AllowPopup, TPopupType& PopupType)>;
using TTemplateInsertEvent = TEvent<void(TObject* Sender, TStrings* Strings)>;
using THintInsertEvent = TEvent<void(TObject* Sender, AnsiString& S)>;
using TMemoDialogEvent = TEvent<void(TObject* Sender, TCustomForm* Dialog)>;
using TMemoScrollEvent = TEvent<void(TObject* Sender, TScrollStyle ScrollStyle, Integer Delta)>;
using TVerticalScrollEvent = TEvent<void(TObject* Sender, Integer TopLine, bool EndScroll, bool& ShowScrollHint,
                                         AnsiString& ScrollHint)>;
using TCustomStringEvent = TEvent<void(TObject* Sender, AnsiString& S, AnsiString& ColorS)>;
using TCustomDrawEvent = TEvent<void(TObject* Sender, TCanvas* Canvas, TRect Rect, Integer LinePos,
                                     Integer CharPos, const AnsiString& S, TDrawStates DrawState, bool& Handled)>;
using TDrawGutterEvent =
    TEvent<void(TObject* Sender, TCanvas* Canvas, TRect Rect, TDrawState DrawState, bool& OwnerDraw)>;
using TGetColorStyleEvent = TEvent<void(TObject* Sender, TPoint APoint, Integer& AStyle)>;
using TCollapseStateChangingEvent =
    TEvent<void(TObject* Sender, Integer LinePos, bool ACollapsed, bool& Handled)>;
using TCollapseStateChangedEvent = TEvent<void(TObject* Sender, Integer LinePos, bool ACollapsed)>;
using TFindStringInPopupEvent =
    TEvent<void(TObject* Sender, TStrings* Strings, const AnsiString& S, Integer& Index, bool& Handled)>;
using TGetLineNumberEvent = TEvent<void(TObject* Sender, AnsiString& S, Integer MaxLen)>;
using TBeforePrintEvent = TEvent<void(TObject* Sender, AnsiString& S, TPrintType AType)>;
