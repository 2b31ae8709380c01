// dxBarStrs.h — the texts of the bar library, by string id. Every text that
// reaches the user or an exception passes through TranslateLoadedString, so
// a replacement table would translate the library without touching code.
#pragma once
#include "platform/rtl/Types.h"

// String ids (the string-table numbers of the texts).
enum TdxBarStrId : unsigned {
  dxSBAR_LOOKUPDIALOGOK = 65033, dxSBAR_LOOKUPDIALOGCANCEL = 65034,
  dxSBAR_COLOR_STR_0 = 65035, dxSBAR_COLOR_STR_4 = 65039,
  dxSBAR_COLOR_STR_5 = 65008, dxSBAR_COLORAUTOTEXT = 65019, dxSBAR_COLORCUSTOMTEXT = 65020,
  dxSBAR_DATETODAY = 65021, dxSBAR_DATECLEAR = 65022, dxSBAR_DATEDIALOGCAPTION = 65023,
  dxSBAR_TREEVIEWDIALOGCAPTION = 64992, dxSBAR_IMAGEDIALOGCAPTION = 64993,
  dxSBAR_PLACEFORCONTROL = 64994, dxSBAR_CANTASSIGNCONTROL = 64995,
  dxSBAR_WANTTORESETTOOLBAR = 64996, dxSBAR_WANTTORESETUSAGEDATA = 64997,
  dxSBAR_BARMANAGERMORETHENONE = 64998, dxSBAR_BARMANAGERBADOWNER = 64999,
  dxSBAR_NOBARMANAGERS = 65000, dxSBAR_WANTTODELETETOOLBAR = 65001,
  dxSBAR_WANTTODELETECATEGORY = 65002, dxSBAR_WANTTOCLEARCOMMANDS = 65003,
  dxSBAR_RECURSIVESUBITEMS = 65004, dxSBAR_COMMANDNAMECANNOTBEBLANK = 65005,
  dxSBAR_TOOLBAREXISTS = 65006, dxSBAR_RECURSIVEGROUPS = 65007,
  dxSBAR_DEFAULTCATEGORYNAME = 64976,
  dxSBAR_CUSTOMIZE = 64953, dxSBAR_MOREBUTTONS = 64955,
  dxSBAR_EXPAND = 64957, dxSBAR_DRAGTOMAKEMENUFLOAT = 64958,
  dxSBAR_TABSHEET1 = 64972, dxSBAR_TABSHEET2 = 64973, dxSBAR_TABSHEET3 = 64974,
  dxSBAR_DESCRIPTION = 64952, dxSBAR_CUSTOMIZINGFORM = 64949,
};

// The text of Id, translated; "" for an id the library does not have.
AnsiString dxBarStr(unsigned Id);
// The untranslated text as the string table holds it; nullptr when unknown.
const char* dxBarStrText(unsigned Id);
// Every id of the table, in declaration order (for the string-table build
// and tests).
const unsigned* dxBarStrIds(int& Count);
