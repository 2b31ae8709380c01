// SpreadsheetEngine_Grid.cpp — the grid mapping: gives every text item of a page
// a column (from x positions, keeping right-aligned and centred pairs
// together) and a row (from y positions in reading order), splitting a
// column when two items of one row would share it.
#include <algorithm>
#include <cmath>
#include <map>
#include "export/engine/EngineBasics.h"
#include "export/sheet/SpreadsheetEngine.h"

namespace {
using TColumns = std::vector<std::vector<TgtFmTextItem*>>;

WideString TrimW(const WideString& S) {
  std::size_t B = 0, E = S.size();
  while (B < E && S[B] <= u' ') ++B;
  while (E > B && S[E - 1] <= u' ') --E;
  return S.substr(B, E - B);
}
bool Blank(TgtTextItem* I) { return TrimW(I->Lines.Get(0)).empty(); }
bool IsSheetItem(TgtDocumentItem* I) { return dynamic_cast<TgtSheetTextItem*>(I) != nullptr; }

// Moves every item of lists After.. one column right and opens an empty
// list at After.
void ShiftColumnsFrom(TColumns& Columns, std::size_t After) {
  for (std::size_t K = After; K < Columns.size(); ++K)
    for (TgtFmTextItem* I : Columns[K]) I->Column += 1;
  // An empty column (a bare {} would be an empty list of columns: no insert).
  Columns.insert(Columns.begin() + std::ptrdiff_t(std::min(After, Columns.size())), TColumns::value_type{});
}

bool HasRow(const std::vector<TgtFmTextItem*>& Column, Integer Row) {
  return std::any_of(Column.begin(), Column.end(), [&](TgtFmTextItem* I) { return !Blank(I) && I->Row == Row; });
}

// Two texts that still share a cell (no column split parted them, as when
// they start at the same point) would leave the sheet with only one of
// them: the one further right, or the later in reading order at the same x,
// takes the next column, opened for it when that column already holds
// something in the row.
void SeparateSharedCells(const TgtItemList& List, TColumns& Columns) {
  std::vector<TgtFmTextItem*> Seen;
  std::map<std::pair<Integer, Integer>, TgtFmTextItem*> Taken;   // the cells filled so far
  for (const TgtItemRef& R : List) {
    if (IsSheetItem(R.get())) continue;
    auto* I = dynamic_cast<TgtFmTextItem*>(R.get());
    if (!I || Blank(I) || I->Column < 0 || std::size_t(I->Column) >= Columns.size()) continue;
    Seen.push_back(I);
    const auto [It, New] = Taken.insert({{I->Row, I->Column}, I});
    if (New) continue;
    TgtFmTextItem* Moved = I->X < It->second->X ? It->second : I;
    const std::size_t Col = std::size_t(I->Column);
    if (Col + 1 < Columns.size() && HasRow(Columns[Col + 1], I->Row)) ShiftColumnsFrom(Columns, Col + 1);
    else if (Col + 1 >= Columns.size()) Columns.emplace_back();
    auto& Here = Columns[Col];
    Here.erase(std::remove(Here.begin(), Here.end(), Moved), Here.end());
    Moved->Column = Integer(Col) + 1;
    Columns[Col + 1].push_back(Moved);
    Taken.clear();
    for (TgtFmTextItem* P : Seen) Taken[{P->Row, P->Column}] = P;
  }
}
}  // namespace

void TgtCustomSpreadSheetEngine::SortItems(TgtItemList& List) {
  const bool ApplyAlignment = GetPreferences()->GetApplyAlignment();
  // 1. Plain items become grid items.
  for (auto& Ref : List) {
    auto* Text = AsTextItem(Ref.get());
    if (!Text || IsSheetItem(Text)) continue;
    auto Fm = std::make_shared<TgtFmTextItem>();
    Fm->X = Text->X;
    Fm->Y = Text->Y;
    Fm->Lines.Assign(Text->Lines);
    Fm->Font.Assign(&Text->Font);
    Fm->Brush.Assign(&Text->Brush);
    Fm->TextEffects.Assign(&Text->TextEffects);
    Fm->Angle = Text->Angle;
    Fm->SetClipped(Text->GetClipped());
    Fm->ClipRect = Text->ClipRect;
    Fm->Alignment = Text->Alignment;
    Fm->FromMetafile = Text->FromMetafile;
    Fm->CharAdvances = Text->CharAdvances;
    // Right-aligned items are placed by their right edge.
    if (Fm->Alignment == 1 && ApplyAlignment) Fm->X += LineWidth(Fm.get(), false);
    Ref = std::move(Fm);
  }
  auto GridItem = [](const TgtItemRef& R) -> TgtFmTextItem* {
    if (IsSheetItem(R.get())) return nullptr;
    return dynamic_cast<TgtFmTextItem*>(R.get());
  };
  auto X = [](const TgtItemRef& R) {
    auto* T = AsTextItem(R.get());
    return T ? T->X : 0.0;
  };
  // 2. Stable by x.
  std::stable_sort(List.begin(), List.end(), [&](const TgtItemRef& A, const TgtItemRef& B) { return X(A) < X(B); });

  // 3. Columns.
  TColumns Columns;
  {
    double ColumnEnd = 0.0;
    Integer Index = -1, LastNew = -1, Counter = 0;
    TgtFmTextItem* Ref = nullptr;
    for (auto& R : List) {
      TgtFmTextItem* I = GridItem(R);
      if (!I) continue;
      if (ColumnEnd == 0.0 || I->X >= ColumnEnd) {
        ColumnEnd = I->X + FColumnWidth;
        Index = FColumnWidth > 0 ? RoundInt(I->X / FColumnWidth) : 0;
        if (Index <= LastNew) Index = LastNew + 1;
        if (Index < 0) Index = 0;
        LastNew = Index;
        Counter = 0;
        while (Integer(Columns.size()) <= Index) Columns.emplace_back();
      } else if (Counter < 3) {
        ++Counter;
        if (Counter == 1) Ref = I;
        else if (Counter == 2) {
          if (Blank(I)) Counter = 1;
          else {
            const double W = LineWidth(I, true), WR = LineWidth(Ref, true);
            if (I->X + W == Ref->X + WR) ColumnEnd = I->X + W;                       // right-aligned pair
            else if (I->X + W / 2 == Ref->X + WR / 2) ColumnEnd = I->X + W / 2;      // centred pair
            else {
              Counter = 1;
              Ref = I;
            }
          }
        }
      }
      I->Column = Index;
      Columns.back().push_back(I);
    }
  }

  // 4. Reading order.
  TgtCustomDocumentEngine::SortItems(List);

  // 5. Rows.
  AssignRows(List, Columns);

  // 6. Right-aligned items join the column of what stands above them.
  if (ApplyAlignment) AlignmentPass(Columns);

  // 7.
  if (GetPreferences()->GetMultiPass()) MultiPass(Columns);
  SeparateSharedCells(List, Columns);

  // 8. Undo the right-edge placement of step 1.
  if (ApplyAlignment)
    for (auto& R : List)
      if (TgtFmTextItem* I = GridItem(R); I && I->Alignment == 1) I->X -= LineWidth(I, false);

  // 9. Column spacing.
  if (const Integer Spacing = FFormatting->GetColumnSpacing(); Spacing != -1) {
    Integer N = Spacing;
    for (auto& Col : Columns) {
      if (Col.empty()) continue;
      for (TgtFmTextItem* I : Col) I->Column = N;
      N += Spacing + 1;
    }
  }
}

void TgtCustomSpreadSheetEngine::AssignRows(TgtItemList& List, std::vector<std::vector<TgtFmTextItem*>>& Columns) {
  const double RowHeight = GetRowHeightPx();
  const Integer RowSpacing = FFormatting->GetRowSpacing();
  double PrevRowTop = -RowHeight;
  Integer CurrentRow = -1;
  TgtFmTextItem* Prev = nullptr;
  std::vector<TgtFmTextItem*> Placed;
  auto Height = [&](TgtTextItem* I, bool Trimmed) {
    const WideString L = Trimmed ? TrimW(I->Lines.Get(0)) : I->Lines.Get(0);
    return double(GetTextExtent(L, &I->Font).cy);
  };
  for (auto& R : List) {
    if (IsSheetItem(R.get())) continue;
    auto* I = dynamic_cast<TgtFmTextItem*>(R.get());
    if (!I || Blank(I)) continue;
    if (I->Y < 0) I->Y = 0;
    if (Prev && PrevRowTop + RowHeight > I->Y) {
      const double C = Prev->Y + Height(Prev, false) / 2;
      if (C > I->Y) {
        I->Row = CurrentRow;
        for (auto It = Placed.rbegin(); It != Placed.rend(); ++It) {
          TgtFmTextItem* P = *It;
          if (P->Row != I->Row || P->Column != I->Column) continue;
          if (P->Y + Height(P, true) / 2 <= I->Y) {
            ++CurrentRow;
            I->Row = CurrentRow;
          } else {
            Prev = P;
          }
        }
      } else {
        CurrentRow += RowSpacing == -1 ? 1 : RowSpacing + 1;
        I->Row = CurrentRow;
        PrevRowTop = I->Y;
      }
      // Two items of one row in one column: split the column at the end of
      // the earlier one.
      if (I->Column == Prev->Column && I->X != Prev->X) {
        const double E = Prev->X + LineWidth(Prev, false);
        const std::size_t Col = std::size_t(I->Column);
        if (Col < Columns.size()) {
          const bool NextUsed = Col + 1 < Columns.size() && !Columns[Col + 1].empty();
          if (NextUsed) ShiftColumnsFrom(Columns, Col + 1);
          else if (Col + 1 >= Columns.size()) Columns.emplace_back();
          auto& Here = Columns[Col];
          for (auto It = Here.begin(); It != Here.end();) {
            if ((*It)->X >= E) {
              (*It)->Column = Integer(Col) + 1;
              Columns[Col + 1].push_back(*It);
              It = Here.erase(It);
            } else {
              ++It;
            }
          }
        }
      }
    } else {
      PrevRowTop = I->Y;
      if (RowSpacing == -1) {
        const Integer N = RowHeight > 0 ? RoundInt(I->Y / RowHeight) : CurrentRow + 1;
        CurrentRow = N > CurrentRow ? N : CurrentRow + 1;
      } else {
        CurrentRow += RowSpacing + 1;
      }
      I->Row = CurrentRow;
    }
    Prev = I;
    Placed.push_back(I);
  }
  FHighestRow = std::max(FHighestRow, CurrentRow);
}

void TgtCustomSpreadSheetEngine::MultiPass(std::vector<std::vector<TgtFmTextItem*>>& Columns) {
  for (std::size_t C = 0; C < Columns.size(); ++C) {
    for (std::size_t A = 0; A < Columns[C].size(); ++A) {
      for (std::size_t B = A + 1; B < Columns[C].size(); ++B) {
        TgtFmTextItem* P = Columns[C][A];
        TgtFmTextItem* Q = Columns[C][B];
        if (Blank(P) || Blank(Q) || P->Row != Q->Row) continue;
        if (P->X != Q->X) {
          TgtFmTextItem* Right = P->X > Q->X ? P : Q;
          const bool NextHasRow =
              C + 1 < Columns.size() && std::any_of(Columns[C + 1].begin(), Columns[C + 1].end(), [&](TgtFmTextItem* I) {
                return !Blank(I) && I->Row == Right->Row;
              });
          if (NextHasRow) {
            std::size_t End = C + 1;
            while (End < Columns.size() && !Columns[End].empty()) ++End;
            for (std::size_t K = C + 1; K < End; ++K)
              for (TgtFmTextItem* I : Columns[K]) I->Column += 1;
            Columns.insert(Columns.begin() + std::ptrdiff_t(C + 1), TColumns::value_type{});
          } else if (C + 1 >= Columns.size()) {
            Columns.emplace_back();
          }
          Right->Column += 1;
          Columns[C + 1].push_back(Right);
        } else {
          TgtFmTextItem* Lower = P->Y > Q->Y ? P : Q;
          const Integer Row = Lower->Row;
          const bool Taken = std::any_of(Columns[C].begin(), Columns[C].end(),
                                         [&](TgtFmTextItem* I) { return I->Row == Row + 1; });
          if (Taken)
            for (auto& Col : Columns)
              for (TgtFmTextItem* I : Col)
                if (I->Row > Row) I->Row += 1;
          Lower->Row = Row + 1;
        }
      }
    }
  }
}

namespace {
bool RightAligned(const TgtFmTextItem* I) { return I->Alignment == 1; }
}  // namespace

// Right-aligned items were given columns by their right edges; a column of
// right-aligned numbers under a left-aligned heading belongs under that
// heading. The figures carry over from the last list that had right-aligned
// items, so a list without any is still searched with them.
void TgtCustomSpreadSheetEngine::AlignmentPass(std::vector<std::vector<TgtFmTextItem*>>& Columns) {
  double Leftmost = 0, Rightmost = 0, LeftmostWidth = 0, RightmostWidth = 0;
  Integer TopRow = 0;
  auto Overlaps = [&](TgtFmTextItem* I) {
    const double X0 = I->X, X1 = I->X + LineWidth(I, false);
    auto In = [&](double V) { return V >= X0 && V <= X1; };
    return In(Leftmost) || In(Rightmost) || In(Leftmost + LeftmostWidth / 2) || In(Rightmost + RightmostWidth / 2);
  };
  // The column of the last item of List above the right-aligned ones that
  // overlaps them. Blank items never had a row given, so they are no target.
  auto Search = [&](const std::vector<TgtFmTextItem*>& List, Integer& Target) {
    bool Found = false;
    for (TgtFmTextItem* I : List)
      if (!Blank(I) && I->Row < TopRow && Overlaps(I)) {
        Target = I->Column;
        Found = true;
      }
    return Found;
  };
  for (std::size_t C = 0; C < Columns.size(); ++C) {
    bool Any = false;
    for (TgtFmTextItem* I : Columns[C]) {
      if (!RightAligned(I)) continue;
      const double W = LineWidth(I, false), Left = I->X - W;
      if (!Any || Left < Leftmost) {
        Leftmost = Left;
        LeftmostWidth = W;
      }
      if (!Any || Left > Rightmost) {
        Rightmost = Left;
        RightmostWidth = W;
      }
      if (!Any || I->Row < TopRow) TopRow = I->Row;
      Any = true;
    }
    Integer Target = 0;
    bool Found = Search(Columns[C], Target);
    if (C > 0 && TopRow > 0) {
      std::size_t Near = C;
      for (std::size_t K = 1; K <= 3 && K <= C; ++K)
        if (!Columns[C - K].empty()) {
          Near = C - K;
          break;
        }
      if (Near == C) return;   // nothing within three columns to the left: the pass stops here
      if (!Found) Found = Search(Columns[Near], Target);
    }
    if (!Found && C + 1 < Columns.size() && TopRow > 0) Found = Search(Columns[C + 1], Target);
    if (!Found || Target < 0) continue;
    if (Columns.size() <= std::size_t(Target)) Columns.resize(std::size_t(Target) + 1);
    bool Moved = false;
    // A copy: the target list may be this one.
    const std::vector<TgtFmTextItem*> Here = Columns[C];
    for (TgtFmTextItem* I : Here) {
      if (!RightAligned(I) || I->Column == Target) continue;
      I->Column = Target;
      if (std::size_t(Target) != C) Columns[std::size_t(Target)].push_back(I);
      Moved = true;
    }
    if (Moved && std::size_t(Target) != C) {
      auto& List = Columns[C];
      List.erase(std::remove_if(List.begin(), List.end(),
                                [&](TgtFmTextItem* I) { return RightAligned(I) && I->Column == Target; }),
                 List.end());
    }
  }
}
