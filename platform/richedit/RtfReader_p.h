// RtfReader_p.h — the RTF reader's private parts shared by its .cpp files:
// the control-word table (RtfWords.cpp) and picture decoding (RtfPicture.cpp).
#pragma once
#include <optional>
#include <string_view>
#include <vector>

#include "platform/richedit/RichDocument.h"
#include "platform/rtl/AnsiStrings.h"

namespace RtfInternal {

// The control words the reader acts on. D marks destinations: a group they
// open is handled by the reader or skipped whole.
#define SX_RTF_WORDS(W, D)                                                                       \
  W(rtf) W(ansi) W(mac) W(pc) W(pca) W(ansicpg) W(deff) W(uc) W(u)                               \
  D(fonttbl) D(colortbl) D(stylesheet) D(info) D(pict) D(header) D(headerl) D(headerr)            \
  D(headerf) D(footer) D(footerl) D(footerr) D(footerf) D(footnote) D(annotation) D(atnid)        \
  D(atnauthor) D(fldinst) D(fldrslt) D(field) D(object) D(objdata) D(objclass) D(result)          \
  D(shppict) D(nonshppict) D(shp) D(shprslt) D(shpinst) D(pn) D(pntext) D(pntxtb) D(pntxta)      \
  D(pnseclvl) D(listtext) D(listtable) D(listoverridetable) D(revtbl) D(rsidtbl) D(filetbl)       \
  D(generator) D(themedata) D(colorschememapping) D(datastore) D(latentstyles) D(xmlnstbl)        \
  D(mmathPr) D(pgdsctbl) D(bkmkstart) D(bkmkend) D(xe) D(tc) D(txe) D(rxe)            \
  D(nonesttables) D(nesttableprops) D(upr) D(ud) D(picprop) D(blipuid) D(falt) D(panose)          \
  D(fname) D(userprops) D(docvar) D(fchars) D(lchars) D(pgptbl) D(protusertbl)             \
  D(ftnsep) D(ftnsepc) D(ftncn) D(aftnsep) D(aftnsepc) D(aftncn) D(comment) D(wgrffmtfilter)      \
  D(passwordhash) D(listpicture) D(background) D(mhtmltag) D(htmltag) D(formfield)                \
  D(sp) D(sn) D(sv)                                                                               \
  W(f) W(fnil) W(froman) W(fswiss) W(fmodern) W(fscript) W(fdecor) W(ftech) W(fbidi)              \
  W(fcharset) W(fprq) W(cpg) W(red) W(green) W(blue)                                              \
  W(s) W(cs) W(ds) W(ts)                                                                          \
  W(plain) W(b) W(i) W(strike) W(striked) W(v) W(protect) W(ul) W(ulnone) W(ulw) W(uldb) W(uld)  \
  W(uldash) W(uldashd) W(uldashdd) W(ulth) W(ulwave) W(cf) W(cb) W(chcbpat) W(highlight) W(fs)    \
  W(super) W(sub) W(nosupersub) W(up) W(dn)                                                       \
  W(pard) W(ql) W(qc) W(qr) W(qj) W(qd) W(li) W(lin) W(ri) W(rin) W(fi) W(sb) W(sa) W(sl)         \
  W(slmult) W(rtlpar) W(ltrpar) W(keep) W(keepn) W(pagebb) W(intbl) W(itap) W(tqr) W(tqc)         \
  W(tqdec) W(tldot) W(tlmdot) W(tlhyph) W(tlul) W(tlth) W(tleq) W(tx) W(tb) W(cbpat)              \
  W(pnlvlblt) W(pnlvlbody) W(pndec) W(pnlcltr) W(pnucltr) W(pnlcrm) W(pnucrm) W(pnstart)          \
  W(pnindent) W(pnf) W(pnfs) W(pnb) W(pni) W(pncf)                                               \
  W(trowd) W(trleft) W(trgaph) W(trrh) W(trql) W(trqc) W(trqr) W(cellx) W(clmrg) W(clcbpat) W(cltxlrtb) W(cltxbtlr) W(cltxtbrl) W(cltxlrtbv) W(cltxtbrlv)       \
  W(brdrl) W(brdrt) W(brdrr) W(brdrb) W(box) W(clbrdrl) W(clbrdrt) W(clbrdrr) W(clbrdrb)          \
  W(trbrdrl) W(trbrdrt) W(trbrdrr) W(trbrdrb) W(trbrdrh) W(trbrdrv) W(brdrstyle) W(brdrnone)      \
  W(brdrw) W(brdrcf)                                                                              \
  W(sectd) W(sbknone) W(sbkpage) W(sbkcol) W(sbkeven) W(sbkodd)                                    \
  W(par) W(sect) W(line) W(page) W(tab) W(cell) W(row) W(nestcell) W(nestrow) W(emdash)           \
  W(endash) W(emspace) W(enspace) W(qmspace) W(bullet) W(lquote) W(rquote) W(ldblquote)           \
  W(rdblquote) W(zwj) W(zwnj) W(ltrmark) W(rtlmark)                                               \
  W(wmetafile) W(emfblip) W(pngblip) W(jpegblip) W(dibitmap) W(wbitmap) W(macpict)                \
  W(pmmetafile) W(picw) W(pich) W(picwgoal) W(pichgoal) W(picscalex) W(picscaley)                 \
  W(wbmbitspixel) W(wbmplanes) W(wbmwidthbytes)

enum class TRtfWord : unsigned short {
  Unknown,
#define SX_RTF_ENUM(N) N,
  SX_RTF_WORDS(SX_RTF_ENUM, SX_RTF_ENUM)
#undef SX_RTF_ENUM
};

TRtfWord LookupRtfWord(std::string_view Name);
bool IsRtfDestinationWord(TRtfWord W);

inline bool IsRtfLetter(char C) { return (C >= 'a' && C <= 'z') || (C >= 'A' && C <= 'Z'); }
inline bool IsRtfDigit(char C) { return C >= '0' && C <= '9'; }

// A \pict group as read: its words and its data bytes (hex or \bin).
struct TRtfPictureData {
  enum class TSource : Byte { None, Wmf, Emf, Png, Jpeg, Dib, DeviceBitmap, Unsupported };
  TSource Source = TSource::None;
  Integer MetafileMapMode = 8;  // \wmetafileN; MM_ANISOTROPIC when absent
  Integer Width = 0, Height = 0, GoalWidth = 0, GoalHeight = 0;
  Integer ScaleX = 100, ScaleY = 100;
  Integer BitsPixel = 1, Planes = 1, WidthBytes = 0;
  std::vector<Byte> Data;
  bool Binary = false;
  int HighNibble = -1;

  void Word(TRtfWord W, bool HasParam, Int64 Param);
  void AddNibble(int V) {
    if (HighNibble < 0) {
      HighNibble = V;
    } else {
      Data.push_back(Byte(HighNibble << 4 | V));
      HighNibble = -1;
    }
  }
};

// The picture, or nothing when its kind is unsupported or its data does not
// decode.
std::optional<TRichPicture> DecodeRtfPicture(const TRtfPictureData& P);

}  // namespace RtfInternal
