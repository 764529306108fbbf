#include "platform/rtf_reader.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/code_pages.h"
#include "platform/exceptions.h"
#include "platform/rtf_keywords.h"

namespace {

// Where the text of a group goes.
enum class Dest : std::uint8_t {
  Body,              // document text
  FieldResult,       // document text shown for a field
  FontTable,
  ColorTable,
  Picture,
  Object,            // an embedded object's own group: its text is thrown away
  ObjectClass,
  ObjectData,
  ObjectResult,      // what an object shows: only a picture is kept
  Field,             // a field's own group: its text is thrown away
  FieldInstruction,
  Numbering,         // old-style paragraph numbering ({\*\pn ...})
  NumberingBefore,
  NumberingAfter,
  ListTable,
  ListOverrideTable,
  LevelText,
};

bool IsTextDest(Dest dest) { return dest == Dest::Body || dest == Dest::FieldResult; }

// What the reader keeps per group. Font and link are indices resolved when a run is made, so
// that opening a group copies no strings.
struct GroupState {
  Dest dest = Dest::Body;
  bool destStart = false;       // this group began its destination
  int ucSkip = 1;
  int font = -1;                // -1: the document's default font
  int link = -1;                // index into the reader's link targets
  TCharFormat chr;              // without face name, character set and link target
  TParaFormat para;
  int lineSpacing = 0;          // \sl and \slmult as given, for para's line spacing
  bool lineMultiple = false;
  int listOverride = 0;         // \ls and \ilvl: the paragraph's list, when it has one
  int listLevel = 0;
  std::size_t groupStart = 0;   // offset of the group's '{'
};

struct FontEntry {
  std::u16string name;
  int charset = 1;
  int pitchAndFamily = 0;
  unsigned codePage = 0;        // \cpg; 0 when the character set decides
};

struct FieldContext {
  std::u16string instruction;
  bool parsed = false;
  bool hyperlink = false;
  std::u16string url;
};

// A list of the list table: each level's number format (\levelnfc), first number and text
// (its first unit is its length; units 0 to 8 stand for the levels' numbers).
struct ListLevel {
  int format = 0;
  int start = 1;
  std::u16string text;
};
struct ListDefinition {
  int id = 0;
  std::vector<ListLevel> levels;
};

// Where text goes outside the document's runs: named by kind and indices, never by address,
// since the lists and fields that hold it grow while bytes wait for their conversion.
enum class TextSink : std::uint8_t { Run, FontName, FieldInstruction, NumberingBefore, NumberingAfter, LevelText };
struct TextTarget {
  TextSink sink = TextSink::Run;
  std::size_t index = 0;        // the field, or the list of a level text
  std::size_t level = 0;        // the level of a level text
  bool operator==(const TextTarget&) const = default;
};

struct NumberingContext {
  bool bullet = false;
  bool cont = false;
  TRichNumbering kind = nkNone;
  int start = -1;
  int indent = -1;
  int sequenceChar = -1;
  std::u16string before, after;
};

constexpr int kMaxTwips = 100000000;      // bound of every distance read
constexpr int kMaxTabStops = 32;
constexpr int kMaxListLevels = 9;
constexpr std::size_t kProgressStep = 1 << 16;

int Clamp(int value, int low, int high) { return std::min(std::max(value, low), high); }

bool IsHex(unsigned char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}
int HexValue(unsigned char c) {
  if (c <= '9') return c - '0';
  return (c | 0x20) - 'a' + 10;
}

bool EqualsIgnoreCase(std::u16string_view text, std::string_view ascii) {
  if (text.size() != ascii.size()) return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    char16_t c = text[i];
    if (c >= u'a' && c <= u'z') c -= 32;
    char a = ascii[i];
    if (a >= 'a' && a <= 'z') a -= 32;
    if (c != static_cast<unsigned char>(a)) return false;
  }
  return true;
}

// Parses a field instruction; sets `url` for a HYPERLINK field. Arguments may be quoted, with
// a backslash escaping the next character; "\l" names a place in the document.
bool ParseHyperlink(std::u16string_view inst, std::u16string& url) {
  std::size_t i = 0, n = inst.size();
  auto skipBlanks = [&] { while (i < n && (inst[i] == u' ' || inst[i] == u'\t')) ++i; };
  auto readArgument = [&] {
    std::u16string arg;
    if (i < n && inst[i] == u'"') {
      ++i;
      while (i < n && inst[i] != u'"') {
        if (inst[i] == u'\\' && i + 1 < n) ++i;
        arg += inst[i++];
      }
      if (i < n) ++i;
    } else {
      while (i < n && inst[i] != u' ' && inst[i] != u'\t') arg += inst[i++];
    }
    return arg;
  };
  skipBlanks();
  std::size_t wordStart = i;
  while (i < n && inst[i] != u' ' && inst[i] != u'\t' && inst[i] != u'"') ++i;
  if (!EqualsIgnoreCase(inst.substr(wordStart, i - wordStart), "HYPERLINK")) return false;
  std::u16string target, anchor;
  bool haveTarget = false;
  while (true) {
    skipBlanks();
    if (i >= n) break;
    if (inst[i] == u'\\' && i + 1 < n) {
      char16_t sw = inst[i + 1];
      i += 2;
      if (sw == u'l' || sw == u'o' || sw == u't' || sw == u'm') {
        skipBlanks();
        std::u16string arg = readArgument();
        if (sw == u'l') anchor = arg;
      }
      continue;
    }
    std::u16string arg = readArgument();
    if (!haveTarget) {
      target = arg;
      haveTarget = true;
    }
  }
  url = target;
  if (!anchor.empty()) url += u"#" + anchor;
  return true;
}

// The offset of "{\\rtf" after an optional byte order mark and blanks; npos when the data
// does not start as RTF.
std::size_t RtfStart(std::string_view data) {
  std::size_t start = data.substr(0, 3) == "\xEF\xBB\xBF" ? 3 : 0;
  start = std::min(data.find_first_not_of(" \t\r\n", start), data.size());
  return data.substr(start, 5) == "{\\rtf" ? start : std::string_view::npos;
}

class RtfReader {
public:
  RtfReader(std::string_view data, const TRtfReadOptions& options)
      : data_(data), options_(options) {}

  TRichDocument Read();

private:
  // Input.
  std::string_view data_;
  const TRtfReadOptions& options_;
  std::size_t pos_ = 0;
  std::size_t controlStart_ = 0;  // offset of the backslash of the control word being read
  std::size_t nextProgress_ = kProgressStep;
  std::size_t paragraphsSent_ = 0;

  // Parser state.
  std::vector<GroupState> stack_;
  int skip_ = 0;                // fallback characters still to skip after \u
  bool starPending_ = false;    // \* seen: the next control word must be a known destination

  // Document.
  TRichDocument doc_;
  int defaultFont_ = 0;
  std::unordered_map<int, FontEntry> fonts_;
  std::vector<std::uint32_t> colors_;
  std::vector<std::u16string> links_;

  // The run being built.
  std::u16string runText_;
  GroupState runKey_;
  bool dirty_ = true;           // the format may have changed since the run began
  bool pageBreakPending_ = false;
  bool openParaValid_ = false;  // a group closed inside the open paragraph with its format
  TParaFormat openPara_;

  // Bytes waiting for their code page conversion and where they go.
  std::string pendingBytes_;
  unsigned pendingCodePage_ = 0;
  TextTarget byteTarget_;
  int cachedFont_ = -2;
  unsigned cachedCodePage_ = 0;

  // Font table.
  bool entryActive_ = false;
  int entryIndex_ = 0;
  FontEntry entry_;

  // Colour table.
  int red_ = 0, green_ = 0, blue_ = 0;
  bool colorGiven_ = false;

  // Tab stop attributes waiting for their \tx.
  std::uint8_t tabAlignment_ = 0, tabLeader_ = 0;

  // Pictures, objects, fields, numbering.
  bool pictActive_ = false;
  TRichPicture pict_;
  bool pictFormatKnown_ = false;
  int nibble_ = -1;
  bool objectActive_ = false;
  TRichObject object_;
  std::size_t objectStart_ = 0;
  std::vector<FieldContext> fields_;
  NumberingContext numbering_;
  std::u16string scratch_;

  // List table: lists and the \ls numbers that name them.
  std::vector<ListDefinition> lists_;
  std::vector<std::pair<int, int>> listOverrides_;  // list id, \ls number
  // \ls << 4 | level -> index of the list in lists_ << 4 | level; built when first needed.
  std::unordered_map<long long, long long> listIndex_;
  bool listIndexValid_ = false;

  GroupState& Top() { return stack_.back(); }
  void Parse();
  void OpenGroup();
  void CloseGroup();
  void EndDestination(const GroupState& popped);
  void ParseControl();
  struct Word {
    RtfKeyword kw;
    bool hasParam;
    int param;      // 0 when not given
  };
  void ControlWord(std::string_view word, bool hasParam, int param);
  void DocumentWord(const Word& w);
  void TableWord(const Word& w);
  void CharacterWord(const Word& w);
  void ParagraphWord(const Word& w);
  void NumberingWord(const Word& w);
  void ObjectWord(const Word& w);
  void TextWord(const Word& w);
  // Where the hex digits and binary data of a picture or an object go; null elsewhere.
  std::string* HexTarget() {
    if (Top().dest == Dest::Picture && pictActive_) return &pict_.Bytes;
    if (Top().dest == Dest::ObjectData && objectActive_) return &object_.ObjectData;
    return nullptr;
  }
  void SetFontFamily(int family) { entry_.pitchAndFamily = (entry_.pitchAndFamily & 0x0F) | family; }
  void SetPictureFormat(TPictureFormat format) {
    pict_.Format = format;
    pictFormatKnown_ = true;
  }
  ListLevel* CurrentListLevel() {
    return lists_.empty() || lists_.back().levels.empty() ? nullptr : &lists_.back().levels.back();
  }
  void ApplyList(GroupState& state);
  void ControlSymbol(unsigned char symbol);
  bool BeginDestination(RtfKeyword kw);
  bool AtGroupStart();
  void SkipGroup();
  void SkipBinary(int length);
  void Progress();

  // Text.
  void TextByte(unsigned char byte, bool literal = true);
  void TextChar(char32_t ch);
  bool CurrentTarget(TextTarget& target);
  std::u16string* TargetText(const TextTarget& target);
  void AddByte(const TextTarget& target, unsigned char byte, unsigned codePage);
  void FlushBytes();
  unsigned FontCodePage(int font);
  unsigned CurrentCodePage() { return FontCodePage(Top().font); }
  void PrepareRun();
  void FlushRun();
  TCharFormat Resolve(const GroupState& state);
  void EndParagraph();
  void AddObjectRun(TRichObject object, const GroupState& state);
  void Finish();
  // Normalizes a complete paragraph and takes off the link targets its text shows.
  void CompleteParagraph(TRichParagraph& paragraph);
  // Hands the last paragraph on when paragraphs go out one by one.
  void SendParagraph();
  bool ClearLinkTargetsShown(TRichParagraph& paragraph);

  // Tables and destinations.
  void FinishFontEntry();
  void EndPicture();
  void EndObject();
  void BeginFieldResult();
  void EndField();
  void EndNumbering();
};

TRichDocument RtfReader::Read() {
  std::size_t start = RtfStart(data_);
  if (start == std::string_view::npos) throw EConvertError("The data is not in RTF format");
  pos_ = start;
  doc_.CodePage = 1252;
  stack_.reserve(64);
  Parse();
  Finish();
  return std::move(doc_);
}

void RtfReader::Progress() {
  if (options_.Progress && pos_ >= nextProgress_) {
    nextProgress_ = pos_ + kProgressStep;
    options_.Progress(pos_, data_.size());
  }
}

void RtfReader::Parse() {
  const std::size_t size = data_.size();
  while (pos_ < size) {
    unsigned char c = static_cast<unsigned char>(data_[pos_]);
    switch (c) {
      case '{':
        skip_ = 0;
        starPending_ = false;
        OpenGroup();
        break;
      case '}':
        skip_ = 0;
        starPending_ = false;
        ++pos_;
        CloseGroup();
        if (stack_.empty()) return;  // the document's group is closed: ignore what follows
        break;
      case '\\':
        ParseControl();
        break;
      case '\r':
      case '\n':
        ++pos_;
        break;
      default:
        starPending_ = false;
        if (skip_ > 0) {
          --skip_;
          ++pos_;
          break;
        }
        if (c >= 0x20 && c < 0x80 && IsTextDest(Top().dest) && pendingBytes_.empty()) {
          // Plain ASCII text: taken in one stretch.
          PrepareRun();
          std::size_t end = pos_;
          while (end < size) {
            unsigned char d = static_cast<unsigned char>(data_[end]);
            if (d < 0x20 || d >= 0x80 || d == '\\' || d == '{' || d == '}') break;
            ++end;
          }
          runText_.append(data_.begin() + pos_, data_.begin() + end);
          pos_ = end;
          break;
        }
        ++pos_;
        TextByte(c);
        break;
    }
    Progress();
  }
}

void RtfReader::OpenGroup() {
  if (stack_.size() >= static_cast<std::size_t>(RtfMaxGroupDepth))
    throw EConvertError("RTF groups are nested too deeply");
  if (stack_.empty()) {
    stack_.emplace_back();
  } else {
    stack_.push_back(stack_.back());
    stack_.back().destStart = false;
  }
  stack_.back().groupStart = pos_;
  ++pos_;
}

void RtfReader::CloseGroup() {
  FlushBytes();
  if (stack_.size() == 1) {
    Finish();
    stack_.clear();
    return;
  }
  GroupState popped = std::move(stack_.back());
  stack_.pop_back();
  dirty_ = true;
  if (popped.dest == Dest::FontTable && entryActive_) FinishFontEntry();
  if (IsTextDest(popped.dest) && !(popped.para == Top().para) &&
      (!runText_.empty() || !doc_.Paragraphs.back().Runs.empty())) {
    openPara_ = popped.para;
    openParaValid_ = true;
  }
  if (popped.destStart) EndDestination(popped);
}

void RtfReader::EndDestination(const GroupState& popped) {
  switch (popped.dest) {
    case Dest::Picture: EndPicture(); break;
    case Dest::Object: EndObject(); break;
    case Dest::ObjectData: nibble_ = -1; break;
    case Dest::Field: EndField(); break;
    case Dest::FieldInstruction:
      if (!fields_.empty() && !fields_.back().parsed) {
        FieldContext& field = fields_.back();
        field.parsed = true;
        field.hyperlink = ParseHyperlink(field.instruction, field.url);
      }
      break;
    case Dest::Numbering: EndNumbering(); break;
    default: break;
  }
}

void RtfReader::SkipBinary(int length) {
  std::size_t n = std::min<std::size_t>(static_cast<std::size_t>(std::max(length, 0)),
                                        data_.size() - pos_);
  if (std::string* bytes = HexTarget()) bytes->append(data_.substr(pos_, n));
  pos_ += n;
}

// Skips the rest of the current group, its '}' included, and drops its state.
void RtfReader::SkipGroup() {
  FlushBytes();  // the group's text ends here, as at its '}'
  const std::size_t size = data_.size();
  int depth = 1;
  while (pos_ < size) {
    char c = data_[pos_++];
    if (c == '{') {
      ++depth;
    } else if (c == '}') {
      if (--depth == 0) break;
    } else if (c == '\\' && pos_ < size) {
      char d = data_[pos_];
      if (d == 'b' && data_.substr(pos_, 3) == "bin") {
        std::size_t p = pos_ + 3;
        bool negative = p < size && data_[p] == '-';
        if (negative) ++p;
        long long n = 0;
        while (p < size && data_[p] >= '0' && data_[p] <= '9') {
          n = std::min(n * 10 + (data_[p] - '0'), static_cast<long long>(size));
          ++p;
        }
        if (p < size && data_[p] == ' ') ++p;
        if (negative) n = 0;
        pos_ = p + std::min<std::size_t>(static_cast<std::size_t>(n), size - p);
      } else {
        ++pos_;  // an escaped character cannot open or close a group
      }
    }
  }
  if (depth > 0) return;  // the input ended inside the skipped group; Finish unwinds the stack
  stack_.pop_back();
  dirty_ = true;
}

void RtfReader::ParseControl() {
  const std::size_t size = data_.size();
  controlStart_ = pos_;
  ++pos_;  // the backslash
  if (pos_ >= size) return;
  unsigned char c = static_cast<unsigned char>(data_[pos_]);
  bool isLetter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
  if (!isLetter) {
    ++pos_;
    if (c == '\'') {
      // \'hh: one byte of text, counted as one character when skipping a fallback.
      int value = -1;
      bool whole = false;  // two hex digits: a control character written so is text
      if (pos_ < size && IsHex(data_[pos_])) {
        value = HexValue(data_[pos_++]);
        if (pos_ < size && IsHex(data_[pos_])) value = value * 16 + HexValue(data_[pos_++]), whole = true;
      }
      starPending_ = false;
      if (skip_ > 0) {
        --skip_;
        return;
      }
      if (value >= 0) TextByte(static_cast<unsigned char>(value), !whole);
      return;
    }
    if (c == '*') {
      starPending_ = true;
      return;
    }
    starPending_ = false;
    if (skip_ > 0) {
      --skip_;
      return;
    }
    ControlSymbol(c);
    return;
  }
  std::size_t wordStart = pos_;
  while (pos_ < size && ((data_[pos_] >= 'a' && data_[pos_] <= 'z') ||
                         (data_[pos_] >= 'A' && data_[pos_] <= 'Z'))) ++pos_;
  std::string_view word = data_.substr(wordStart, pos_ - wordStart);
  bool hasParam = false;
  long long param = 0;
  bool negative = false;
  if (pos_ + 1 < size && data_[pos_] == '-' && data_[pos_ + 1] >= '0' && data_[pos_ + 1] <= '9') {
    negative = true;
    ++pos_;
  }
  while (pos_ < size && data_[pos_] >= '0' && data_[pos_] <= '9') {
    hasParam = true;
    if (param < 4000000000LL) param = param * 10 + (data_[pos_] - '0');
    ++pos_;
  }
  if (pos_ < size && data_[pos_] == ' ') ++pos_;
  if (negative) param = -param;
  int value = static_cast<int>(std::clamp<long long>(param, -2000000000LL, 2000000000LL));
  if (skip_ > 0) {
    starPending_ = false;
    --skip_;
    if (word == "bin" && hasParam) SkipBinary(value);
    return;
  }
  ControlWord(word, hasParam, value);
}

void RtfReader::ControlSymbol(unsigned char symbol) {
  switch (symbol) {
    case '\\': case '{': case '}': TextByte(symbol, false); break;
    case '~': TextChar(0x00A0); break;
    case '-': TextChar(0x00AD); break;
    case '_': TextChar(0x2011); break;
    case '\t': TextChar(u'\t'); break;
    case '\r': case '\n':
      if (IsTextDest(Top().dest)) EndParagraph();
      break;
    default: break;
  }
}

// True when the control word being read is the first thing in its group (after \*).
bool RtfReader::AtGroupStart() {
  std::size_t p = Top().groupStart + 1;
  auto skipBlanks = [&] {
    while (p < controlStart_ && (data_[p] == ' ' || data_[p] == '\r' || data_[p] == '\n')) ++p;
  };
  skipBlanks();
  if (data_.substr(p, 2) == "\\*") p += 2;
  skipBlanks();
  return p == controlStart_;
}

bool RtfReader::BeginDestination(RtfKeyword kw) {
  GroupState& top = Top();
  Dest dest = top.dest;
  Dest next;
  switch (kw) {
    case RtfKeyword::fonttbl:
    case RtfKeyword::colortbl:
      if (dest != Dest::Body || objectActive_) return false;
      next = kw == RtfKeyword::fonttbl ? Dest::FontTable : Dest::ColorTable;
      break;
    case RtfKeyword::pict:
      if (pictActive_ || !(IsTextDest(dest) || (dest == Dest::ObjectResult && objectActive_)))
        return false;
      pictActive_ = true;
      pict_ = TRichPicture();
      pictFormatKnown_ = false;
      nibble_ = -1;
      next = Dest::Picture;
      break;
    case RtfKeyword::object:
      // The object's group is kept whole, so it must be an object from its '{' on.
      if (objectActive_ || !IsTextDest(dest) || !AtGroupStart()) return false;
      FlushRun();
      objectActive_ = true;
      object_ = TRichObject();
      object_.Kind = TRichObjectKind::Embedded;
      object_.HasPicture = false;
      objectStart_ = top.groupStart;
      next = Dest::Object;
      break;
    case RtfKeyword::objclass:
      if (dest != Dest::Object) return false;
      next = Dest::ObjectClass;
      break;
    case RtfKeyword::objdata:
      if (dest != Dest::Object) return false;
      nibble_ = -1;
      next = Dest::ObjectData;
      break;
    case RtfKeyword::result:
      if (dest != Dest::Object) return false;
      next = Dest::ObjectResult;
      break;
    case RtfKeyword::field:
      if (!IsTextDest(dest)) return false;
      fields_.emplace_back();
      next = Dest::Field;
      break;
    case RtfKeyword::fldinst:
      if (dest != Dest::Field || fields_.empty() || fields_.back().parsed) return false;
      next = Dest::FieldInstruction;
      break;
    case RtfKeyword::fldrslt:
      if (dest != Dest::Field || fields_.empty()) return false;
      BeginFieldResult();
      next = Dest::FieldResult;
      break;
    case RtfKeyword::pn:
      if (!IsTextDest(dest)) return false;
      numbering_ = NumberingContext();
      next = Dest::Numbering;
      break;
    case RtfKeyword::pntxta:
      if (dest != Dest::Numbering) return false;
      next = Dest::NumberingAfter;
      break;
    case RtfKeyword::pntxtb:
      if (dest != Dest::Numbering) return false;
      next = Dest::NumberingBefore;
      break;
    case RtfKeyword::listtable:
    case RtfKeyword::listoverridetable:
      if (dest != Dest::Body || objectActive_) return false;
      listIndexValid_ = false;
      next = kw == RtfKeyword::listtable ? Dest::ListTable : Dest::ListOverrideTable;
      break;
    case RtfKeyword::leveltext:
      if (dest != Dest::ListTable || !CurrentListLevel()) return false;
      CurrentListLevel()->text.clear();
      next = Dest::LevelText;
      break;
    case RtfKeyword::shppict:
      return true;  // its picture is read as if it stood alone
    default:
      return false;
  }
  // A destination keyword is expected right after its group's '{'; elsewhere the whole group
  // becomes the destination just the same.
  FlushBytes();
  top.dest = next;
  top.destStart = true;
  return true;
}

void RtfReader::ControlWord(std::string_view word, bool hasParam, int param) {
  const RtfKeyword kw = LookupRtfKeyword(word);
  const RtfKeyword kind = RtfKeywordKind(kw);
  const bool destination = kind == RtfKeyword::DestinationWords;
  const bool skipped = kind == RtfKeyword::SkippedWords;
  if (stack_.size() == 1 && (starPending_ || destination || skipped)) {
    // A destination cannot take over the document's own group: the keyword is ignored.
    starPending_ = false;
    return;
  }
  if (starPending_ || destination || skipped) {
    starPending_ = false;
    if (!destination || !BeginDestination(kw)) SkipGroup();
    return;
  }
  // An object's group holds nothing but the object: what else it says is ignored, so that
  // the group, kept whole, reads the same wherever it is written.
  if (objectActive_ && kind != RtfKeyword::ObjectWords && kw != RtfKeyword::bin) return;
  const Word w{kw, hasParam, hasParam ? param : 0};
  switch (kind) {
    case RtfKeyword::DocumentWords: DocumentWord(w); break;
    case RtfKeyword::TableWords: TableWord(w); break;
    case RtfKeyword::CharacterWords: CharacterWord(w); break;
    case RtfKeyword::ParagraphWords: ParagraphWord(w); break;
    case RtfKeyword::NumberingWords: NumberingWord(w); break;
    case RtfKeyword::ObjectWords: ObjectWord(w); break;
    case RtfKeyword::TextWords: TextWord(w); break;
    default: break;
  }
}

void RtfReader::DocumentWord(const Word& w) {
  GroupState& st = Top();
  if (w.kw <= RtfKeyword::deff) cachedFont_ = -2;  // the code pages of the fonts may change
  switch (w.kw) {
    case RtfKeyword::ansi: doc_.CodePage = 1252; break;
    case RtfKeyword::mac: doc_.CodePage = 10000; break;
    case RtfKeyword::pc: doc_.CodePage = 437; break;
    case RtfKeyword::pca: doc_.CodePage = 850; break;
    case RtfKeyword::ansicpg:
      if (w.param > 0 && w.param < 65536) doc_.CodePage = static_cast<unsigned>(w.param);
      break;
    case RtfKeyword::deff: defaultFont_ = std::max(w.param, 0); break;
    case RtfKeyword::deflang:
      if (!options_.Plain) {
        doc_.DefaultLcid = static_cast<LCID>(Clamp(w.param, 0, 0xFFFF));
        st.chr.Lcid = doc_.DefaultLcid;
        dirty_ = true;
      }
      break;
    case RtfKeyword::deftab: doc_.DefaultTabWidth = Clamp(w.param, 0, kMaxTwips); break;
    case RtfKeyword::uc: st.ucSkip = Clamp(w.param, 0, 1000); break;
    case RtfKeyword::u: {
      // Pictures, objects and fields hold no text: there \u and its fallback mean nothing,
      // and skipping would make an object's group read differently in another place.
      Dest dest = st.dest;
      if (!IsTextDest(dest) && dest != Dest::FontTable && dest != Dest::FieldInstruction &&
          dest != Dest::NumberingBefore && dest != Dest::NumberingAfter &&
          dest != Dest::LevelText)
        break;
      int value = w.param < 0 ? w.param + 65536 : w.param;
      TextChar(static_cast<char32_t>(value < 0 ? 0xFFFD : value));
      skip_ = st.ucSkip;
      break;
    }
    case RtfKeyword::bin: SkipBinary(w.param); break;
    default: break;
  }
}

void RtfReader::TableWord(const Word& w) {
  const Dest dest = Top().dest;
  const int param = w.param;
  if (dest == Dest::FontTable) {
    switch (w.kw) {
      case RtfKeyword::fcharset: entry_.charset = Clamp(param, 0, 255); break;
      case RtfKeyword::cpg:
        if (param > 0 && param < 65536) entry_.codePage = static_cast<unsigned>(param);
        break;
      case RtfKeyword::fprq:
        entry_.pitchAndFamily = (entry_.pitchAndFamily & 0xF0) | Clamp(param, 0, 2);
        break;
      case RtfKeyword::fnil: case RtfKeyword::ftech: case RtfKeyword::fbidi:
        SetFontFamily(0);
        break;
      case RtfKeyword::froman: SetFontFamily(0x10); break;
      case RtfKeyword::fswiss: SetFontFamily(0x20); break;
      case RtfKeyword::fmodern: SetFontFamily(0x30); break;
      case RtfKeyword::fscript: SetFontFamily(0x40); break;
      case RtfKeyword::fdecor: SetFontFamily(0x50); break;
      default: break;
    }
  } else if (dest == Dest::ColorTable) {
    switch (w.kw) {
      case RtfKeyword::red: red_ = Clamp(param, 0, 255); colorGiven_ = true; break;
      case RtfKeyword::green: green_ = Clamp(param, 0, 255); colorGiven_ = true; break;
      case RtfKeyword::blue: blue_ = Clamp(param, 0, 255); colorGiven_ = true; break;
      default: break;
    }
  } else if (dest == Dest::ListTable) {
    listIndexValid_ = false;
    switch (w.kw) {
      case RtfKeyword::list: lists_.emplace_back(); break;
      case RtfKeyword::listid: if (!lists_.empty()) lists_.back().id = param; break;
      case RtfKeyword::listlevel:
        if (!lists_.empty() && lists_.back().levels.size() < kMaxListLevels)
          lists_.back().levels.emplace_back();
        break;
      case RtfKeyword::levelnfc: case RtfKeyword::levelnfcn:
        if (ListLevel* level = CurrentListLevel()) level->format = Clamp(param, 0, 255);
        break;
      case RtfKeyword::levelstartat:
        if (ListLevel* level = CurrentListLevel()) level->start = Clamp(param, 0, 65535);
        break;
      default: break;
    }
  } else if (dest == Dest::ListOverrideTable) {
    listIndexValid_ = false;
    switch (w.kw) {
      case RtfKeyword::listoverride: listOverrides_.emplace_back(); break;
      case RtfKeyword::listid:
        if (!listOverrides_.empty()) listOverrides_.back().first = param;
        break;
      default: break;
    }
  }
}

void RtfReader::CharacterWord(const Word& w) {
  GroupState& st = Top();
  TCharFormat& chr = st.chr;
  const int p = w.hasParam ? w.param : 1;
  // Underlines: \ulxxx0 switches underlining off.
  auto underline = [&](TRichUnderline type) { chr.UnderlineType = p ? type : ulNone; };
  auto color = [&](std::uint32_t& target) {
    target = w.param > 0 && static_cast<std::size_t>(w.param) < colors_.size() ? colors_[w.param]
                                                                               : RichAutoColor;
  };
  switch (w.kw) {
    case RtfKeyword::f:
      if (st.dest == Dest::FontTable) {
        FinishFontEntry();
        entryActive_ = true;
        entryIndex_ = w.param;
        entry_ = FontEntry();
        scratch_.clear();
        return;
      }
      st.font = w.param;
      break;
    case RtfKeyword::plain: {
      bool link = chr.Link;
      chr = TCharFormat();
      chr.Link = link;
      chr.Lcid = doc_.DefaultLcid;
      st.font = -1;
      break;
    }
    case RtfKeyword::b: chr.Bold = p != 0; break;
    case RtfKeyword::i: chr.Italic = p != 0; break;
    case RtfKeyword::ul: underline(ulSingle); break;
    case RtfKeyword::ulnone: chr.UnderlineType = ulNone; break;
    case RtfKeyword::ulw: underline(ulWord); break;
    case RtfKeyword::uldb: underline(ulDouble); break;
    case RtfKeyword::uld: case RtfKeyword::ulthd: underline(ulDotted); break;
    case RtfKeyword::uldash: case RtfKeyword::ulthdash: underline(ulDash); break;
    case RtfKeyword::uldashd: case RtfKeyword::ulthdashd: underline(ulDashDot); break;
    case RtfKeyword::uldashdd: case RtfKeyword::ulthdashdd: underline(ulDashDotDot); break;
    case RtfKeyword::ulwave: underline(ulWave); break;
    case RtfKeyword::ulth: underline(ulThick); break;
    case RtfKeyword::ulhair: underline(ulHairline); break;
    case RtfKeyword::ululdbwave: underline(ulDoubleWave); break;
    case RtfKeyword::ulhwave: underline(ulHeavyWave); break;
    case RtfKeyword::ulldash: case RtfKeyword::ulthldash: underline(ulLongDash); break;
    case RtfKeyword::strike: case RtfKeyword::striked: chr.StrikeOut = p != 0; break;
    case RtfKeyword::protect: chr.Protected = p != 0; break;
    case RtfKeyword::v: chr.Hidden = p != 0; break;
    case RtfKeyword::shad: chr.Shadow = p != 0; break;
    case RtfKeyword::embo: chr.Emboss = p != 0; break;
    case RtfKeyword::impr: chr.Imprint = p != 0; break;
    case RtfKeyword::outl: chr.Outline = p != 0; break;
    case RtfKeyword::scaps: chr.SmallCaps = p != 0; break;
    case RtfKeyword::caps: chr.AllCaps = p != 0; break;
    case RtfKeyword::sub: chr.SubscriptStyle = p ? 1 : 0; break;
    case RtfKeyword::super: chr.SubscriptStyle = p ? 2 : 0; break;
    case RtfKeyword::nosupersub: chr.SubscriptStyle = 0; break;
    // Half points, quarter points and twips to twips.
    case RtfKeyword::up: chr.Offset = Clamp(w.hasParam ? w.param : 6, 0, 1000000) * 10; break;
    case RtfKeyword::dn: chr.Offset = -Clamp(w.hasParam ? w.param : 6, 0, 1000000) * 10; break;
    case RtfKeyword::expnd: chr.Spacing = Clamp(w.param, -1000000, 1000000) * 5; break;
    case RtfKeyword::expndtw: chr.Spacing = Clamp(w.param, -kMaxTwips, kMaxTwips); break;
    case RtfKeyword::kerning: chr.Kerning = Clamp(w.param, 0, 1000000) * 10; break;
    case RtfKeyword::fs: chr.Size = Clamp(w.hasParam ? w.param : 24, 1, 32767) * 10; break;
    case RtfKeyword::animtext: chr.Animation = Clamp(w.param, 0, 255); break;
    case RtfKeyword::lang:
      if (!options_.Plain) chr.Lcid = static_cast<LCID>(Clamp(w.param, 0, 0xFFFF));
      break;
    case RtfKeyword::cf: color(chr.Color); break;
    case RtfKeyword::cb: case RtfKeyword::highlight: case RtfKeyword::chcbpat:
      color(chr.BackColor);
      break;
    default: break;
  }
  dirty_ = true;
}

void RtfReader::ParagraphWord(const Word& w) {
  GroupState& st = Top();
  if (st.dest == Dest::ListOverrideTable) {
    if (w.kw == RtfKeyword::ls && !listOverrides_.empty()) listOverrides_.back().second = w.param;
    listIndexValid_ = false;
    return;
  }
  TParaFormat& para = st.para;
  const int twips = Clamp(w.param, -kMaxTwips, kMaxTwips);
  switch (w.kw) {
    case RtfKeyword::pard:
      para = TParaFormat();
      st.lineSpacing = 0;
      st.lineMultiple = false;
      st.listOverride = 0;
      st.listLevel = 0;
      tabAlignment_ = tabLeader_ = 0;
      break;
    case RtfKeyword::ql: para.Alignment = raLeft; break;
    case RtfKeyword::qr: para.Alignment = raRight; break;
    case RtfKeyword::qc: para.Alignment = raCenter; break;
    case RtfKeyword::qj: case RtfKeyword::qd: para.Alignment = raJustify; break;
    case RtfKeyword::li: case RtfKeyword::lin: para.LeftIndent = twips; break;
    case RtfKeyword::ri: case RtfKeyword::rin: para.RightIndent = twips; break;
    case RtfKeyword::fi: para.FirstIndent = twips; break;
    case RtfKeyword::sb: para.SpaceBefore = twips; break;
    case RtfKeyword::sa: para.SpaceAfter = twips; break;
    case RtfKeyword::sl:
    case RtfKeyword::slmult:
      if (w.kw == RtfKeyword::sl) {
        st.lineSpacing = twips;
      } else {
        st.lineMultiple = !w.hasParam || w.param != 0;
      }
      LineSpacingFromRtf(st.lineSpacing, st.lineMultiple, para.LineSpacingRule, para.LineSpacing);
      break;
    case RtfKeyword::tqr: tabAlignment_ = 2; break;
    case RtfKeyword::tqc: tabAlignment_ = 1; break;
    case RtfKeyword::tqdec: tabAlignment_ = 3; break;
    case RtfKeyword::tldot: tabLeader_ = 1; break;
    case RtfKeyword::tlhyph: tabLeader_ = 2; break;
    case RtfKeyword::tlul: tabLeader_ = 3; break;
    case RtfKeyword::tlth: tabLeader_ = 4; break;
    case RtfKeyword::tleq: tabLeader_ = 5; break;
    case RtfKeyword::tx: case RtfKeyword::tb:
      if (para.Tabs.size() < kMaxTabStops) {
        para.Tabs.push_back(
            {twips, w.kw == RtfKeyword::tb ? std::uint8_t{4} : tabAlignment_, tabLeader_});
      }
      tabAlignment_ = tabLeader_ = 0;
      break;
    case RtfKeyword::pagebb: para.PageBreakBefore = !w.hasParam || w.param != 0; break;
    case RtfKeyword::ls:
      st.listOverride = w.param;
      ApplyList(st);
      break;
    case RtfKeyword::ilvl:
      st.listLevel = Clamp(w.param, 0, kMaxListLevels - 1);
      ApplyList(st);
      break;
    default: break;
  }
}

void RtfReader::NumberingWord(const Word& w) {
  if (Top().dest != Dest::Numbering) return;
  NumberingContext& pn = numbering_;
  switch (w.kw) {
    case RtfKeyword::pnlvlblt: pn.bullet = true; break;
    case RtfKeyword::pnlvlcont: pn.cont = true; break;
    case RtfKeyword::pndec: pn.kind = nkArabic; break;
    case RtfKeyword::pnlcltr: pn.kind = nkLowerLetter; break;
    case RtfKeyword::pnucltr: pn.kind = nkUpperLetter; break;
    case RtfKeyword::pnlcrm: pn.kind = nkLowerRoman; break;
    case RtfKeyword::pnucrm: pn.kind = nkUpperRoman; break;
    case RtfKeyword::pnstart: pn.start = Clamp(w.param, 0, 65535); break;
    case RtfKeyword::pnindent: pn.indent = Clamp(w.param, -kMaxTwips, kMaxTwips); break;
    case RtfKeyword::pnqmchar: pn.sequenceChar = Clamp(w.param, 0, 65535); break;
    default: break;
  }
}

void RtfReader::ObjectWord(const Word& w) {
  const Dest dest = Top().dest;
  const int param = Clamp(w.param, 0, kMaxTwips);
  if (dest == Dest::Object) {
    switch (w.kw) {
      case RtfKeyword::objlink: case RtfKeyword::objautlink:
        object_.Kind = TRichObjectKind::Link;
        break;
      case RtfKeyword::objw: object_.Width = param; break;
      case RtfKeyword::objh: object_.Height = param; break;
      case RtfKeyword::objemb: case RtfKeyword::objsub: case RtfKeyword::objpub:
      case RtfKeyword::objicemb: case RtfKeyword::objhtml: case RtfKeyword::objocx:
        object_.Kind = TRichObjectKind::Embedded;
        break;
      default: break;
    }
    return;
  }
  if (dest != Dest::Picture) return;
  switch (w.kw) {
    case RtfKeyword::pngblip: SetPictureFormat(TPictureFormat::Png); break;
    case RtfKeyword::jpegblip: SetPictureFormat(TPictureFormat::Jpeg); break;
    case RtfKeyword::emfblip: SetPictureFormat(TPictureFormat::Emf); break;
    case RtfKeyword::wmetafile:
      SetPictureFormat(TPictureFormat::Wmf);
      pict_.MetafileMapMode = Clamp(w.hasParam ? w.param : 8, 0, 100);
      break;
    case RtfKeyword::dibitmap: SetPictureFormat(TPictureFormat::Dib); break;
    case RtfKeyword::wbitmap: SetPictureFormat(TPictureFormat::Bitmap); break;
    case RtfKeyword::macpict: case RtfKeyword::pmmetafile: pictFormatKnown_ = false; break;
    case RtfKeyword::picw: pict_.PictureWidth = param; break;
    case RtfKeyword::pich: pict_.PictureHeight = param; break;
    case RtfKeyword::picwgoal: pict_.GoalWidth = param; break;
    case RtfKeyword::pichgoal: pict_.GoalHeight = param; break;
    case RtfKeyword::picscalex: pict_.ScaleX = Clamp(w.param, 0, 100000); break;
    case RtfKeyword::picscaley: pict_.ScaleY = Clamp(w.param, 0, 100000); break;
    default: break;
  }
}

void RtfReader::TextWord(const Word& w) {
  const bool breaks = IsTextDest(Top().dest);  // the characters may go to other text as well
  switch (w.kw) {
    case RtfKeyword::par: case RtfKeyword::row: if (breaks) EndParagraph(); break;
    case RtfKeyword::page: case RtfKeyword::sect:
      if (!breaks) break;
      // A break ends a paragraph that has text; a page break starts the next on a new page.
      if (!runText_.empty() || !pendingBytes_.empty() || !doc_.Paragraphs.back().Runs.empty())
        EndParagraph();
      if (w.kw == RtfKeyword::page) pageBreakPending_ = true;
      break;
    case RtfKeyword::line: TextChar(RichLineBreak); break;
    case RtfKeyword::tab: case RtfKeyword::cell: case RtfKeyword::nestcell: TextChar(u'\t'); break;
    case RtfKeyword::emdash: TextChar(0x2014); break;
    case RtfKeyword::endash: TextChar(0x2013); break;
    case RtfKeyword::bullet: TextChar(0x2022); break;
    case RtfKeyword::lquote: TextChar(0x2018); break;
    case RtfKeyword::rquote: TextChar(0x2019); break;
    case RtfKeyword::ldblquote: TextChar(0x201C); break;
    case RtfKeyword::rdblquote: TextChar(0x201D); break;
    case RtfKeyword::emspace: TextChar(0x2003); break;
    case RtfKeyword::enspace: TextChar(0x2002); break;
    case RtfKeyword::qmspace: TextChar(0x2005); break;
    case RtfKeyword::zwj: TextChar(0x200D); break;
    case RtfKeyword::zwnj: TextChar(0x200C); break;
    case RtfKeyword::ltrmark: TextChar(0x200E); break;
    case RtfKeyword::rtlmark: TextChar(0x200F); break;
    default: break;
  }
}

// --- Text ---------------------------------------------------------------------------------

unsigned RtfReader::FontCodePage(int font) {
  if (font < 0) font = defaultFont_;
  if (font == cachedFont_) return cachedCodePage_;
  unsigned codePage = doc_.CodePage;
  auto it = fonts_.find(font);
  if (it != fonts_.end()) {
    codePage = it->second.codePage ? it->second.codePage
                                    : CharsetCodePage(it->second.charset, doc_.CodePage);
  }
  cachedFont_ = font;
  cachedCodePage_ = codePage;
  return codePage;
}

// The text a target names; null when it no longer exists.
std::u16string* RtfReader::TargetText(const TextTarget& target) {
  switch (target.sink) {
    case TextSink::Run: return &runText_;
    case TextSink::FontName: return &scratch_;
    case TextSink::FieldInstruction:
      return target.index < fields_.size() ? &fields_[target.index].instruction : nullptr;
    case TextSink::NumberingBefore: return &numbering_.before;
    case TextSink::NumberingAfter: return &numbering_.after;
    case TextSink::LevelText:
      if (target.index < lists_.size() && target.level < lists_[target.index].levels.size())
        return &lists_[target.index].levels[target.level].text;
      return nullptr;
  }
  return nullptr;
}

// The target of the current group's text; false when its text is thrown away.
bool RtfReader::CurrentTarget(TextTarget& target) {
  switch (Top().dest) {
    case Dest::Body:
    case Dest::FieldResult:
      PrepareRun();
      target = {TextSink::Run};
      return true;
    case Dest::FontTable:
      target = {TextSink::FontName};
      return entryActive_;
    case Dest::FieldInstruction:
      target = {TextSink::FieldInstruction, fields_.size() - 1};
      return !fields_.empty();
    case Dest::NumberingBefore: target = {TextSink::NumberingBefore}; return true;
    case Dest::NumberingAfter: target = {TextSink::NumberingAfter}; return true;
    case Dest::LevelText:
      if (!CurrentListLevel()) return false;
      target = {TextSink::LevelText, lists_.size() - 1, lists_.back().levels.size() - 1};
      return true;
    default: return false;
  }
}

void RtfReader::FlushBytes() {
  if (pendingBytes_.empty()) return;
  std::u16string* text = TargetText(byteTarget_);
  if (!text) {
    pendingBytes_.clear();
    return;
  }
  std::u16string& target = *text;
  unsigned codePage = pendingCodePage_;
  if (!IsCodePageSupported(codePage)) codePage = doc_.CodePage;
  bool done = false;
  if (IsCodePageSupported(codePage)) {
    try {
      target += AnsiToWide(pendingBytes_, codePage);
      done = true;
    } catch (const EConvertError&) {
    }
  }
  if (!done) {
    for (unsigned char b : pendingBytes_) target += static_cast<char16_t>(b);
  }
  pendingBytes_.clear();
}

void RtfReader::AddByte(const TextTarget& target, unsigned char byte, unsigned codePage) {
  if (!pendingBytes_.empty() && (!(byteTarget_ == target) || pendingCodePage_ != codePage))
    FlushBytes();
  if (pendingBytes_.empty() && byte < 0x80) {
    if (std::u16string* text = TargetText(target)) *text += static_cast<char16_t>(byte);
    return;
  }
  pendingBytes_ += static_cast<char>(byte);
  pendingCodePage_ = codePage;
  byteTarget_ = target;
}

void RtfReader::TextByte(unsigned char byte, bool literal) {
  const Dest dest = Top().dest;
  switch (dest) {
    case Dest::Body:
    case Dest::FieldResult:
      // Control characters in the source are no text; written as \'hh they are, except the
      // paragraph and line ends CR and LF.
      if (byte < 0x20 && byte != '\t' && byte != 0x0B && (literal || byte == '\r' || byte == '\n')) return;
      break;
    case Dest::FontTable:
      if (byte == ';' && literal) {
        FinishFontEntry();
        return;
      }
      if (byte < 0x20) return;
      break;
    case Dest::ColorTable:
      if (byte == ';' && literal) {
        colors_.push_back(colorGiven_ ? static_cast<std::uint32_t>(red_ | (green_ << 8) | (blue_ << 16))
                                      : RichAutoColor);
        red_ = green_ = blue_ = 0;
        colorGiven_ = false;
      }
      return;
    case Dest::Picture:
    case Dest::ObjectData:
      if (std::string* bytes = HexTarget(); bytes && IsHex(byte)) {
        if (nibble_ < 0) {
          nibble_ = HexValue(byte);
        } else {
          bytes->push_back(static_cast<char>(nibble_ * 16 + HexValue(byte)));
          nibble_ = -1;
        }
      }
      return;
    case Dest::ObjectClass:
      if (byte >= 0x20) object_.ClassName += static_cast<char>(byte);
      return;
    case Dest::FieldInstruction:
    case Dest::NumberingBefore:
    case Dest::NumberingAfter:
      if (byte < 0x20) return;
      break;
    case Dest::LevelText:
      break;  // bytes below 0x20 are the length and the level placeholders
    default:
      return;
  }
  TextTarget target;
  if (!CurrentTarget(target)) return;
  AddByte(target, byte,
          dest != Dest::FontTable ? CurrentCodePage()
          : entry_.codePage       ? entry_.codePage
                                  : CharsetCodePage(entry_.charset, doc_.CodePage));
}

void RtfReader::TextChar(char32_t ch) {
  if (ch < 0x20 && ch != u'\t' && ch != RichLineBreak) return;
  char16_t units[2];
  int count = 1;
  if (ch > 0x10FFFF) {
    units[0] = 0xFFFD;
  } else if (ch > 0xFFFF) {
    ch -= 0x10000;
    units[0] = static_cast<char16_t>(0xD800 + (ch >> 10));
    units[1] = static_cast<char16_t>(0xDC00 + (ch & 0x3FF));
    count = 2;
  } else {
    units[0] = static_cast<char16_t>(ch);
  }
  TextTarget target;
  if (!CurrentTarget(target)) return;
  FlushBytes();
  if (std::u16string* text = TargetText(target)) text->append(units, count);
}

// Starts a new run when the format changed since the current run began.
void RtfReader::PrepareRun() {
  if (!dirty_) return;
  dirty_ = false;
  const GroupState& st = Top();
  if (st.font == runKey_.font && st.link == runKey_.link && st.chr == runKey_.chr) return;
  FlushRun();
  runKey_.font = st.font;
  runKey_.link = st.link;
  runKey_.chr = st.chr;
}

TCharFormat RtfReader::Resolve(const GroupState& state) {
  TCharFormat format = state.chr;
  int font = state.font < 0 ? defaultFont_ : state.font;
  auto it = fonts_.find(font);
  if (it != fonts_.end()) {
    format.FaceName = it->second.name;
    format.Charset = it->second.charset;
    format.PitchAndFamily = it->second.pitchAndFamily;
  }
  if (format.Link && state.link >= 0) format.LinkTarget = links_[state.link];
  return format;
}

void RtfReader::FlushRun() {
  FlushBytes();
  if (runText_.empty()) return;
  TRichRun run;
  run.Text = std::move(runText_);
  run.Format = Resolve(runKey_);
  doc_.Paragraphs.back().Runs.push_back(std::move(run));
  runText_.clear();
}

void RtfReader::AddObjectRun(TRichObject object, const GroupState& state) {
  FlushRun();
  TRichRun run;
  run.Text.assign(1, RichObjectChar);
  run.Format = Resolve(state);
  run.Object = std::move(object);
  doc_.Paragraphs.back().Runs.push_back(std::move(run));
}

void RtfReader::EndParagraph() {
  FlushRun();
  TRichParagraph& paragraph = doc_.Paragraphs.back();
  paragraph.Runs.shrink_to_fit();  // a long document holds many paragraphs of a few runs
  paragraph.Format = Top().para;
  if (pageBreakPending_) paragraph.Format.PageBreakBefore = true;
  pageBreakPending_ = false;
  paragraph.MarkFormat = Resolve(Top());
  paragraph.MarkFormat.Link = false;
  paragraph.MarkFormat.LinkTarget.clear();
  openParaValid_ = false;
  if (options_.Paragraph)
    SendParagraph();
  else
    doc_.Paragraphs.emplace_back();
}

void RtfReader::SendParagraph() {
  TRichParagraph& paragraph = doc_.Paragraphs.back();
  CompleteParagraph(paragraph);
  options_.Paragraph(paragraph);
  paragraph = TRichParagraph();
  ++paragraphsSent_;
}

void RtfReader::Finish() {
  if (stack_.empty()) return;
  // Groups left open by a truncated document are closed; an object whose group never closed is
  // dropped, since its bytes are not a group that could be written back.
  while (stack_.size() > 1) {
    FlushBytes();
    GroupState popped = std::move(stack_.back());
    stack_.pop_back();
    dirty_ = true;
    if (popped.destStart) {
      if (popped.dest == Dest::Object) {
        objectActive_ = false;
      } else {
        EndDestination(popped);
      }
    }
  }
  FlushRun();
  TRichParagraph& last = doc_.Paragraphs.back();
  if ((doc_.Paragraphs.size() > 1 || paragraphsSent_ > 0) && last.Runs.empty()) {
    // The end of the last paragraph, not a paragraph of its own.
    if (options_.Paragraph) return;
    doc_.Paragraphs.pop_back();
  } else {
    last.Format = openParaValid_ ? openPara_ : Top().para;
    if (pageBreakPending_) last.Format.PageBreakBefore = true;
    last.MarkFormat = last.Runs.empty() ? Resolve(Top()) : last.Runs.back().Format;
    last.MarkFormat.Link = false;
    last.MarkFormat.LinkTarget.clear();
  }
  if (options_.Paragraph) {
    SendParagraph();
    return;
  }
  for (TRichParagraph& paragraph : doc_.Paragraphs) CompleteParagraph(paragraph);
}

void RtfReader::CompleteParagraph(TRichParagraph& paragraph) {
  paragraph.Normalize();
  if (!links_.empty() && ClearLinkTargetsShown(paragraph)) paragraph.Normalize();
}

// Adjacent link runs with one target are one link, as the writer writes them; a link whose
// text is its target keeps no separate target.
bool RtfReader::ClearLinkTargetsShown(TRichParagraph& paragraph) {
  bool changed = false;
  std::vector<TRichRun>& runs = paragraph.Runs;
  for (std::size_t i = 0; i < runs.size();) {
    std::size_t end = i + 1;
    if (!runs[i].Format.Link || runs[i].Format.LinkTarget.empty()) {
      i = end;
      continue;
    }
    std::u16string shown = runs[i].Text;
    while (end < runs.size() && runs[end].Format.Link && runs[end].Format.LinkTarget == runs[i].Format.LinkTarget)
      shown += runs[end++].Text;
    if (shown == runs[i].Format.LinkTarget) {
      for (std::size_t k = i; k < end; ++k) runs[k].Format.LinkTarget.clear();
      changed = true;
    }
    i = end;
  }
  return changed;
}

// --- Tables and destinations ----------------------------------------------------------------

void RtfReader::FinishFontEntry() {
  if (!entryActive_) return;
  FlushBytes();
  std::size_t first = scratch_.find_first_not_of(u' ');
  std::size_t last = scratch_.find_last_not_of(u' ');
  entry_.name = first == std::u16string::npos ? std::u16string()
                                               : scratch_.substr(first, last - first + 1);
  fonts_[entryIndex_] = std::move(entry_);
  entry_ = FontEntry();
  scratch_.clear();
  entryActive_ = false;
  cachedFont_ = -2;
}

void RtfReader::EndPicture() {
  pictActive_ = false;
  nibble_ = -1;
  if (!pictFormatKnown_) return;
  if (pict_.Format != TPictureFormat::Wmf) pict_.MetafileMapMode = TRichPicture().MetafileMapMode;
  Dest parent = Top().dest;
  if (parent == Dest::ObjectResult && objectActive_) {
    object_.Picture = std::move(pict_);
    object_.HasPicture = true;
  } else if (IsTextDest(parent)) {
    TRichObject object;
    object.Kind = TRichObjectKind::Picture;
    object.Picture = std::move(pict_);
    AddObjectRun(std::move(object), Top());
  }
  pict_ = TRichPicture();
}

void RtfReader::EndObject() {
  objectActive_ = false;
  object_.Rtf.assign(data_.substr(objectStart_, pos_ - objectStart_));
  AddObjectRun(std::move(object_), Top());
  object_ = TRichObject();
}

void RtfReader::BeginFieldResult() {
  FieldContext& field = fields_.back();
  if (!field.parsed) {
    field.parsed = true;
    field.hyperlink = ParseHyperlink(field.instruction, field.url);
  }
  if (!field.hyperlink) return;
  FlushRun();
  GroupState& st = Top();
  st.chr.Link = true;
  links_.push_back(field.url);
  st.link = static_cast<int>(links_.size()) - 1;
  dirty_ = true;
}

void RtfReader::EndField() {
  FlushRun();
  fields_.pop_back();
}

// A paragraph in a list of the list table (\ls, \ilvl) gets the list level's numbering.
void RtfReader::ApplyList(GroupState& state) {
  if (!IsTextDest(state.dest)) return;
  if (!listIndexValid_) {
    listIndex_.clear();
    std::unordered_map<int, std::size_t> byId;
    for (std::size_t i = 0; i < lists_.size(); ++i) byId.emplace(lists_[i].id, i);
    for (const auto& [id, number] : listOverrides_) {
      auto it = byId.find(id);
      if (it == byId.end()) continue;
      for (std::size_t level = 0; level < lists_[it->second].levels.size(); ++level)
        listIndex_.emplace((static_cast<long long>(number) << 4) | static_cast<long long>(level),
                           static_cast<long long>(it->second << 4 | level));
    }
    listIndexValid_ = true;
  }
  auto it = listIndex_.find((static_cast<long long>(state.listOverride) << 4) | state.listLevel);
  if (it == listIndex_.end()) return;
  const ListLevel& level = lists_[it->second >> 4].levels[it->second & 15];
  TParaFormat& para = state.para;
  para.NumberingStart = 0;
  para.NumberingStyle = nsParen;
  para.NumberingTab = 0;
  switch (level.format) {
    case 1: para.Numbering = nkUpperRoman; break;
    case 2: para.Numbering = nkLowerRoman; break;
    case 3: para.Numbering = nkUpperLetter; break;
    case 4: para.Numbering = nkLowerLetter; break;
    case 23: para.Numbering = nkBullet; return;
    case 255: para.Numbering = nkNone; return;
    default: para.Numbering = nkArabic; break;
  }
  para.NumberingStart = level.start;
  // The characters around the level's own number give the style: "1.", "1)", "(1)" or "1".
  std::size_t at = level.text.find(static_cast<char16_t>(state.listLevel), 1);
  char16_t before = at != std::u16string::npos && at > 1 ? level.text[at - 1] : 0;
  char16_t after = at != std::u16string::npos && at + 1 < level.text.size() ? level.text[at + 1] : 0;
  if (before == u'(' && after == u')') {
    para.NumberingStyle = nsParens;
  } else if (after == u')') {
    para.NumberingStyle = nsParen;
  } else if (after == u'.') {
    para.NumberingStyle = nsPeriod;
  } else {
    para.NumberingStyle = nsPlain;
  }
}

void RtfReader::EndNumbering() {
  TParaFormat& para = Top().para;
  const NumberingContext& pn = numbering_;
  if (pn.cont) {
    para.Numbering = nkNone;
    para.NumberingStart = 0;
    para.NumberingStyle = nsParen;
    para.NumberingTab = 0;
    return;
  }
  if (pn.bullet) {
    para.Numbering = nkBullet;
    para.NumberingStart = std::max(pn.start, 0);
    para.NumberingStyle = nsParen;
  } else {
    if (pn.sequenceChar >= 0) {
      para.Numbering = nkCharSequence;
      para.NumberingStart = pn.sequenceChar;
    } else {
      para.Numbering = pn.kind == nkNone ? nkArabic : pn.kind;
      para.NumberingStart = pn.start < 0 ? 1 : pn.start;
    }
    if (pn.before == u"(" && pn.after == u")") {
      para.NumberingStyle = nsParens;
    } else if (pn.after == u")") {
      para.NumberingStyle = nsParen;
    } else if (pn.after == u".") {
      para.NumberingStyle = nsPeriod;
    } else {
      para.NumberingStyle = nsPlain;
    }
  }
  para.NumberingTab = std::max(pn.indent, 0);
}

}  // namespace

bool IsRtf(std::string_view data) { return RtfStart(data) != std::string_view::npos; }

TRichDocument ReadRtf(std::string_view rtf, const TRtfReadOptions& options) {
  return RtfReader(rtf, options).Read();
}
