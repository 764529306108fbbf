#include "shell/replace_list_engine.h"

#include <algorithm>

#include "shell/replace_list_conditions.h"
#include "shell/replace_list_rules.h"

namespace {

int PercentOf(int64_t part, int64_t whole) {
  if (whole <= 0) return 100;
  return int(std::clamp<int64_t>(part * 100 / whole, 0, 100));
}

}  // namespace

TReplaceRule MakeRule(const std::string& find, const std::string& replace) {
  return {DecodeEscapes(find).Text, DecodeEscapes(replace).Text, {}};
}

bool TReplaceEngine::Passes(const TReplaceRule& rule, int start, int length) {
  if (Options.LinkFilter != 0 && !target_.LinkFilterAllows(start, length, Options.LinkFilter)) return false;
  if (rule.Conditions.empty()) return true;
  // The conditions look only this far around the match.
  const int dollars = int(std::count(rule.Conditions.begin(), rule.Conditions.end(), '$'));
  const int margin = int(rule.Conditions.size()) + dollars * length + 2;
  const int from = std::max(0, start - margin);
  const int to = std::min(target_.TextLength(), start + length + margin);
  const std::u16string context = target_.TextRange(from, to - from);
  return ConditionsAllow(context, start - from, length, rule.Conditions, Options.MatchCase);
}

int TReplaceEngine::FindMatch(const TReplaceRule& rule, int from, int to, bool backward) {
  const int length = int(rule.Find.size());
  if (length == 0) return -1;
  from = std::max(from, ScopeStart);
  to = std::min(to, ScopeStart + ScopeLength);
  // A match the conditions reject is passed over; the search goes on beyond it.
  while (to - from >= length) {
    const int at = target_.Find(rule.Find, from, to, backward, Options.WholeWords, Options.MatchCase);
    if (at < 0) return -1;
    if (Passes(rule, at, length)) return at;
    if (backward)
      to = at + length - 1;
    else
      from = at + 1;
  }
  return -1;
}

int TReplaceEngine::ReplaceAt(const TReplaceRule& rule, int start) {
  const int length = int(rule.Find.size());
  if (approved_ > 0) {
    --approved_;
  } else if (OnConfirm && !OnConfirm(start, length, approved_)) {
    return -1;
  }
  std::u16string text = rule.Replace;
  if (Options.PreserveCase) text = PreserveCase(target_.TextRange(start, length), rule.Replace);
  target_.Replace(start, length, text, Options.MarkChanges ? &Options.MarkColor : nullptr);
  ++Count;
  ScopeLength += int(text.size()) - length;
  return start + int(text.size());
}

bool TReplaceEngine::ReplaceAll(const TReplaceRule& rule, const std::function<int(int)>& percent) {
  int from = ScopeStart;
  for (;;) {
    const int at = FindMatch(rule, from, ScopeStart + ScopeLength, false);
    if (at < 0) return true;
    const int after = ReplaceAt(rule, at);
    // A skipped match is passed over, so every round moves on through the text.
    from = after < 0 ? at + 1 : after;
    const int shown = percent ? percent(at) : PercentOf(at + 1 - ScopeStart, ScopeLength);
    if (OnProgress && OnProgress(shown)) return false;
  }
}

void TReplaceEngine::EndSection(const std::string& next) {
  if (!Sections.empty()) Sections.back().second = Count - sectionStartCount_;
  Sections.emplace_back(next, 0);
  sectionStartCount_ = Count;
}

bool TReplaceEngine::RunList(const std::vector<std::string>& lines, bool resetCount) {
  if (resetCount) {
    Count = 0;
    Sections.clear();
  }
  approved_ = 0;
  sectionStartCount_ = Count;
  const int total = int(lines.size());
  bool stopped = false;
  for (int i = 0; i < total && !stopped; ++i) {
    const TListLine line = ParseListLine(lines[size_t(i)]);
    if (line.LineKind == TListLine::kSection) {
      EndSection(line.Section);
      if (OnListSection) OnListSection(line.Section);
    } else if (line.LineKind == TListLine::kRule) {
      TReplaceRule rule = MakeRule(line.Find, line.Replace);
      rule.Conditions = line.Conditions;
      stopped = !ReplaceAll(rule, [&](int) { return PercentOf(i + 1, total); });
    }
    if (!stopped && OnProgress) stopped = OnProgress(PercentOf(i + 1, total));
  }
  if (!Sections.empty()) Sections.back().second = Count - sectionStartCount_;
  return !stopped;
}
