// The search and replace engine behind the find form and every list-driven replacement: finds
// a pattern in an editor text, replaces matches (preserving case, marking the changes), and runs
// whole replace lists with their conditions and sections. It works on any TReplaceTarget, so it
// runs without the find form's window.
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/gui/gui_types.h"

// The editor text the engine works on. Positions and lengths count UTF-16 units.
class TReplaceTarget {
public:
  virtual ~TReplaceTarget() = default;
  virtual int TextLength() = 0;
  virtual std::u16string TextRange(int start, int length) = 0;
  // The first (last when `backward`) match within [from, to), or -1.
  virtual int Find(const std::u16string& pattern, int from, int to, bool backward, bool wholeWord,
                   bool matchCase) = 0;
  // Replaces a range; with `mark` the new text takes that colour.
  virtual void Replace(int start, int length, const std::u16string& text, const TColor* mark) = 0;
  // Link filter: 1 only inside links, 2 only outside links, 3 not embossed, 4 not imprinted.
  virtual bool LinkFilterAllows(int start, int length, int filter) = 0;
};

struct TReplaceOptions {
  bool MatchCase = false;
  bool WholeWords = false;
  bool PreserveCase = false;
  bool MarkChanges = false;
  TColor MarkColor = clFuchsia;
  int LinkFilter = 0;
};

// One decoded rule: find and replacement in UTF-16, conditions as written.
struct TReplaceRule {
  std::u16string Find, Replace;
  std::string Conditions;
};
// The rule of a find text and a replacement typed by the user (escapes decoded).
TReplaceRule MakeRule(const std::string& find, const std::string& replace);

class TReplaceEngine {
public:
  explicit TReplaceEngine(TReplaceTarget& target) : target_(target) {}

  TReplaceOptions Options;
  int ScopeStart = 0, ScopeLength = 0;  // the range searched
  int Count = 0;                        // replacements made
  // Sections of the last list run, each with the replacements made in it.
  std::vector<std::pair<std::string, int>> Sections;
  // Percent of a run; true stops it.
  std::function<bool(int percent)> OnProgress;
  // Asked before each replacement unless pre-approved ones are left; false skips the match.
  std::function<bool(int start, int length, int& approveNext)> OnConfirm;
  std::function<void(const std::string& section)> OnListSection;

  // The match of `rule.Find` in [from, to) of the scope that passes its conditions and the link
  // filter, searching forward or backward; -1 when there is none.
  int FindMatch(const TReplaceRule& rule, int from, int to, bool backward);
  // Replaces the match at `start` (its length that of rule.Find) when OnConfirm agrees; answers
  // the position after the new text, or -1 when the match was skipped.
  int ReplaceAt(const TReplaceRule& rule, int start);
  // Replaces every match of `rule` in the scope from its start; false when stopped. `percent`
  // maps a match position to the progress shown (the default: its share of the scope).
  bool ReplaceAll(const TReplaceRule& rule, const std::function<int(int position)>& percent = nullptr);
  // Runs a replace list (lines in the list format) over the scope; false when stopped.
  // `resetCount` starts the count and the section list anew.
  bool RunList(const std::vector<std::string>& lines, bool resetCount);

private:
  bool Passes(const TReplaceRule& rule, int start, int length);
  void EndSection(const std::string& next);

  TReplaceTarget& target_;
  int approved_ = 0;
  int sectionStartCount_ = 0;
};
