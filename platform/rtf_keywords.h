// The RTF control words the reader acts on, by kind.
#pragma once

#include <string_view>

// Destinations the reader reads.
#define QM_RTF_DESTINATIONS(X) \
  X(fonttbl) X(colortbl) X(pict) X(object) X(objclass) X(objdata) X(result) X(field) \
  X(fldinst) X(fldrslt) X(pn) X(pntxta) X(pntxtb) X(shppict) X(listtable) \
  X(listoverridetable) X(leveltext)

// Destinations whose groups the reader skips whole, also without a leading \*.
#define QM_RTF_SKIPPED_DESTINATIONS(X) \
  X(stylesheet) X(info) X(header) X(headerl) X(headerr) X(headerf) X(footer) X(footerl) \
  X(footerr) X(footerf) X(footnote) X(annotation) X(pntext) X(listtext) X(nonshppict) \
  X(pnseclvl) X(shp) X(txe) X(xe) X(tc) X(ftnsep) X(ftnsepc) X(ftncn) X(aftnsep) X(aftnsepc) \
  X(aftncn) X(revtbl) X(rsidtbl) X(generator) X(xmlnstbl) X(fldtype) X(bkmkstart) X(bkmkend) \
  X(falt) X(panose) X(objname) X(objalias) X(objsect) X(objtime) X(themedata) \
  X(colorschememapping) X(latentstyles) X(datastore) X(pgdsctbl) X(userprops) X(docvar) \
  X(filetbl) X(listname) X(levelnumbers)

#define QM_RTF_DOCUMENT_WORDS(X) \
  X(ansi) X(mac) X(pc) X(pca) X(ansicpg) X(deff) X(deflang) X(deftab) X(uc) X(u) X(bin)

// Words of the font, colour and list tables.
#define QM_RTF_TABLE_WORDS(X) \
  X(fcharset) X(cpg) X(fprq) X(fnil) X(froman) X(fswiss) X(fmodern) X(fscript) X(fdecor) \
  X(ftech) X(fbidi) X(red) X(green) X(blue) X(list) X(listlevel) X(listid) X(levelnfc) \
  X(levelnfcn) X(levelstartat) X(listoverride)

#define QM_RTF_CHARACTER_WORDS(X) \
  X(f) X(plain) X(b) X(i) X(ul) X(ulnone) X(ulw) X(uldb) X(uld) X(ulthd) X(uldash) X(ulthdash) \
  X(uldashd) X(ulthdashd) X(uldashdd) X(ulthdashdd) X(ulwave) X(ulth) X(ulhair) X(ululdbwave) \
  X(ulhwave) X(ulldash) X(ulthldash) X(strike) X(striked) X(protect) X(v) X(shad) X(embo) \
  X(impr) X(outl) X(scaps) X(caps) X(sub) X(super) X(nosupersub) X(up) X(dn) X(expnd) \
  X(expndtw) X(kerning) X(animtext) X(lang) X(fs) X(cf) X(cb) X(highlight) X(chcbpat)

#define QM_RTF_PARAGRAPH_WORDS(X) \
  X(pard) X(ql) X(qr) X(qc) X(qj) X(qd) X(li) X(lin) X(ri) X(rin) X(fi) X(sb) X(sa) X(sl) \
  X(slmult) X(tqr) X(tqc) X(tqdec) X(tldot) X(tlhyph) X(tlul) X(tlth) X(tleq) X(tx) X(tb) \
  X(pagebb) X(ls) X(ilvl)

// Old-style numbering; \pnqmchar is ours: the first character of a numbering that counts
// characters.
#define QM_RTF_NUMBERING_WORDS(X) \
  X(pnlvlblt) X(pnlvlbody) X(pnlvlcont) X(pndec) X(pnlcltr) X(pnucltr) X(pnlcrm) X(pnucrm) \
  X(pnstart) X(pnindent) X(pnqmchar)

// Words of objects and pictures.
#define QM_RTF_OBJECT_WORDS(X) \
  X(objemb) X(objsub) X(objpub) X(objicemb) X(objhtml) X(objocx) X(objlink) X(objautlink) \
  X(objw) X(objh) X(pngblip) X(jpegblip) X(emfblip) X(wmetafile) X(dibitmap) X(wbitmap) \
  X(macpict) X(pmmetafile) X(picw) X(pich) X(picwgoal) X(pichgoal) X(picscalex) X(picscaley)

// Breaks and special characters.
#define QM_RTF_TEXT_WORDS(X) \
  X(par) X(row) X(page) X(sect) X(line) X(tab) X(cell) X(nestcell) X(emdash) X(endash) \
  X(bullet) X(lquote) X(rquote) X(ldblquote) X(rdblquote) X(emspace) X(enspace) X(qmspace) \
  X(zwj) X(zwnj) X(ltrmark) X(rtlmark)

#define QM_RTF_ENUM(name) name,
enum class RtfKeyword : unsigned short {
  Unknown,
  DestinationWords, QM_RTF_DESTINATIONS(QM_RTF_ENUM)
  SkippedWords, QM_RTF_SKIPPED_DESTINATIONS(QM_RTF_ENUM)
  DocumentWords, QM_RTF_DOCUMENT_WORDS(QM_RTF_ENUM)
  TableWords, QM_RTF_TABLE_WORDS(QM_RTF_ENUM)
  CharacterWords, QM_RTF_CHARACTER_WORDS(QM_RTF_ENUM)
  ParagraphWords, QM_RTF_PARAGRAPH_WORDS(QM_RTF_ENUM)
  NumberingWords, QM_RTF_NUMBERING_WORDS(QM_RTF_ENUM)
  ObjectWords, QM_RTF_OBJECT_WORDS(QM_RTF_ENUM)
  TextWords, QM_RTF_TEXT_WORDS(QM_RTF_ENUM)
  End
};
#undef QM_RTF_ENUM

// The kind of a keyword: the marker of its group in RtfKeyword (Unknown for unknown words).
inline RtfKeyword RtfKeywordKind(RtfKeyword kw) {
  constexpr RtfKeyword kMarkers[] = {
      RtfKeyword::TextWords, RtfKeyword::ObjectWords, RtfKeyword::NumberingWords,
      RtfKeyword::ParagraphWords, RtfKeyword::CharacterWords, RtfKeyword::TableWords,
      RtfKeyword::DocumentWords, RtfKeyword::SkippedWords, RtfKeyword::DestinationWords};
  for (RtfKeyword marker : kMarkers)
    if (kw > marker) return marker;
  return RtfKeyword::Unknown;
}

// The keyword of a control word's letters; Unknown when the reader has no use for it.
RtfKeyword LookupRtfKeyword(std::string_view word);
