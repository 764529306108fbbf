#include "tools/expression_parser.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <numbers>
#include <unordered_map>

#include "platform/exceptions.h"

namespace {

std::atomic<int> angleUnit{0};

double ToRadians(double x) {
  switch (AngleUnit()) {
  case 0: return x * std::numbers::pi / 180;
  case 2: return x * std::numbers::pi / 200;
  default: return x;
  }
}

// Rounds an operand of an integer operator to 64 bits (half away from zero).
int64_t ToInteger(double value) {
  const double rounded = std::round(value);
  if (!(rounded >= -9223372036854775808.0 && rounded < 9223372036854775808.0))
    throw EMathError("Invalid integer operand");
  return static_cast<int64_t>(rounded);
}

void CheckDivisor(int64_t left, int64_t right) {
  if (right == 0) throw EMathError("Division by zero");
  if (left == std::numeric_limits<int64_t>::min() && right == -1) throw EMathError("Integer overflow");
}

int ShiftCount(int64_t count) {
  if (count < 0 || count > 63) throw EMathError("Invalid shift count");
  return static_cast<int>(count);
}

template <typename Fn>
class TSimpleFunc : public TFuncDef {
public:
  TSimpleFunc(const char* name, Fn fn) : name_(name), fn_(fn) {}
  std::string Name() const override { return name_; }
  double Evaluate(double x) const override { return fn_(x); }

private:
  const char* name_;
  Fn fn_;
};

template <typename Fn>
std::unique_ptr<TFuncDef> MakeFunc(const char* name, Fn fn) {
  return std::make_unique<TSimpleFunc<Fn>>(name, fn);
}

bool IEquals(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

// Reads a whole text as a number: "$1F", "0x1F" and "#1F" in hexadecimal, otherwise a decimal
// floating number with "." and an optional sign (never the locale's separator, never "inf" or "nan").
bool ReadNumber(std::string_view text, double& value) {
  if (text.starts_with("0x") || text.starts_with("0X")) text.remove_prefix(2);
  else if (text.starts_with('#') || text.starts_with('$')) text.remove_prefix(1);
  else {
    const bool negative = text.starts_with('-');
    if (negative || text.starts_with('+')) text.remove_prefix(1);
    if (text.empty() || !(std::isdigit(static_cast<unsigned char>(text[0])) || text[0] == '.')) return false;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value,
                                           std::chars_format::general);
    if (negative) value = -value;
    return ec == std::errc() && end == text.data() + text.size();
  }
  uint64_t hex = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), hex, 16);
  if (text.empty() || ec != std::errc() || end != text.data() + text.size() ||
      hex > static_cast<uint64_t>(std::numeric_limits<int64_t>::max()))
    return false;
  value = static_cast<double>(hex);
  return true;
}

} // namespace

int AngleUnit() { return angleUnit.load(std::memory_order_relaxed); }
void SetAngleUnit(int unit) { angleUnit.store(unit, std::memory_order_relaxed); }

TOperator::TOperator(std::unique_ptr<TCalculus> left, std::unique_ptr<TCalculus> right)
    : left_(std::move(left)), right_(std::move(right)) {}

double TSum::Evaluate() const { return Left().Evaluate() + Right().Evaluate(); }
double TMinus::Evaluate() const { return Left().Evaluate() - Right().Evaluate(); }
double TProduct::Evaluate() const { return Left().Evaluate() * Right().Evaluate(); }
double TDivision::Evaluate() const { return Left().Evaluate() / Right().Evaluate(); }
double TPower::Evaluate() const { return std::pow(Left().Evaluate(), Right().Evaluate()); }

double TDiv::Evaluate() const {
  const int64_t left = ToInteger(Left().Evaluate()), right = ToInteger(Right().Evaluate());
  CheckDivisor(left, right);
  return static_cast<double>(left / right);
}

double TMod::Evaluate() const {
  const int64_t left = ToInteger(Left().Evaluate()), right = ToInteger(Right().Evaluate());
  CheckDivisor(left, right);
  return static_cast<double>(left % right);
}

// Shifts work on the 64-bit pattern (shr fills with zeros, as on an unsigned register).
double TShr::Evaluate() const {
  const int64_t left = ToInteger(Left().Evaluate());
  const int count = ShiftCount(ToInteger(Right().Evaluate()));
  return static_cast<double>(static_cast<int64_t>(static_cast<uint64_t>(left) >> count));
}

double TShl::Evaluate() const {
  const int64_t left = ToInteger(Left().Evaluate());
  const int count = ShiftCount(ToInteger(Right().Evaluate()));
  return static_cast<double>(static_cast<int64_t>(static_cast<uint64_t>(left) << count));
}

TFunc::TFunc(const TFuncDef& def, std::unique_ptr<TCalculus> argument)
    : def_(def), argument_(std::move(argument)) {}

double TFunc::Evaluate() const { return def_.Evaluate(argument_->Evaluate()); }

void TParser::RegisterDefaults() {
  functions_.push_back(MakeFunc("sqr", [](double x) { return x * x; }));
  functions_.push_back(MakeFunc("sqrt", [](double x) { return std::sqrt(x); }));
  functions_.push_back(MakeFunc("sin", [](double x) { return std::sin(ToRadians(x)); }));
  functions_.push_back(MakeFunc("cos", [](double x) { return std::cos(ToRadians(x)); }));
  functions_.push_back(MakeFunc("tan", [](double x) { return std::tan(ToRadians(x)); }));
  functions_.push_back(MakeFunc("atan", [](double x) { return std::atan(ToRadians(x)); }));
  functions_.push_back(MakeFunc("asin", [](double x) { return std::asin(ToRadians(x)); }));
  functions_.push_back(MakeFunc("acos", [](double x) { return std::acos(ToRadians(x)); }));
  functions_.push_back(MakeFunc("ln", [](double x) { return std::log(x); }));
  functions_.push_back(MakeFunc("exp", [](double x) { return std::exp(x); }));
  AddVariable("pi", std::numbers::pi);
}

TVarDef& TParser::AddVariable(std::string name, double value) {
  variables_.push_back(std::make_unique<TVarDef>(TVarDef{std::move(name), value}));
  return *variables_.back();
}

// One parse: splits the formula at operators, trying each split from one end and backing off
// when a side does not parse. Each (level, range) is judged once and remembered, and a range
// holding an operator outside brackets that its level cannot take is refused at once, so wrong
// input costs polynomial time; the tree is then built along the splits judged to succeed.
class TParseRun {
public:
  TParseRun(const TParser& parser, std::string text) : parser_(parser), text_(std::move(text)) {
    const size_t n = text_.size();
    depth_.assign(n + 1, 0);
    for (size_t i = 0; i < n; ++i) depth_[i + 1] = depth_[i] + (text_[i] == '(') - (text_[i] == ')');
    // Range minimum of the depth (sparse table) for the bracket test in constant time.
    minDepth_.push_back(depth_);
    for (size_t width = 1; 2 * width <= n + 1; width *= 2) {
      const std::vector<int>& last = minDepth_.back();
      std::vector<int> next(n + 2 - 2 * width);
      for (size_t i = 0; i < next.size(); ++i) next[i] = std::min(last[i], last[i + width]);
      minDepth_.push_back(std::move(next));
    }
    // For each position, the next sign and the next operator character at the same depth.
    nextSign_.assign(n + 1, n);
    nextOperator_.assign(n + 1, n);
    std::unordered_map<int, size_t> sign, op;
    for (size_t i = n; i-- > 0;) {
      const char c = text_[i];
      if ((c == '+' || c == '-') && Binary(i)) sign[depth_[i]] = i, op[depth_[i]] = i;
      else if (c == '*' || c == '/' || c == '%' || c == '<' || c == '>') op[depth_[i]] = i;
      if (const auto it = sign.find(depth_[i]); it != sign.end()) nextSign_[i] = it->second;
      if (const auto it = op.find(depth_[i]); it != op.end()) nextOperator_[i] = it->second;
    }
  }

  std::unique_ptr<TCalculus> Build(int& error) {
    try {
      error = Judge(kAdditive, 0, text_.size());
      return error == peNone ? Parse(kAdditive, 0, text_.size(), true).Tree : nullptr;
    } catch (const TooLong&) {
      error = peExpression;
      return nullptr;
    }
  }

private:
  enum Level { kAdditive, kMultiplicative, kFactor };
  struct Result {
    int Error = peNone;
    std::unique_ptr<TCalculus> Tree;
  };
  struct TooLong {};
  static constexpr size_t kMaxSteps = 20'000'000;

  const TParser& parser_;
  std::string text_;
  std::vector<int> depth_;  // bracket depth before each position
  std::vector<std::vector<int>> minDepth_;
  std::vector<size_t> nextSign_, nextOperator_;
  std::unordered_map<uint64_t, int> judged_;
  size_t steps_ = 0;

  // A sign between two operands, as opposed to one in a number's exponent ("1e-5") or one that
  // begins a signed number ("2^-1", "2*-3", "2--3"). Only used to refuse ranges early, so a sign
  // it cannot place is taken as a number's.
  bool Binary(size_t at) const {
    if (at == 0) return false;
    const unsigned char before = text_[at - 1];
    if (!std::isalnum(before) && before != '.' && before != ')') return false;
    if (at >= 2 && (before == 'e' || before == 'E') &&
        (std::isdigit(static_cast<unsigned char>(text_[at - 2])) || text_[at - 2] == '.'))
      return false;
    if (at >= 3)
      for (const char* word : {"div", "mod", "shr", "shl"})
        if (IEquals(std::string_view(text_).substr(at - 3, 3), word)) return false;
    return true;
  }

  bool Balanced(size_t from, size_t to) const {
    if (depth_[to] != depth_[from]) return false;
    const size_t count = to - from + 1;
    const int level = std::bit_width(count) - 1;
    const std::vector<int>& row = minDepth_[level];
    return std::min(row[from], row[to + 1 - (size_t(1) << level)]) >= depth_[from];
  }

  int Judge(Level level, size_t from, size_t to) {
    const uint64_t key = (static_cast<uint64_t>(from) << 34) | (static_cast<uint64_t>(to) << 2) | level;
    if (const auto it = judged_.find(key); it != judged_.end()) return it->second;
    int error;
    if (level != kAdditive && Balanced(from, to) &&
        (level == kMultiplicative ? nextSign_[from] : nextOperator_[from]) < to)
      error = peExpression;  // a term never holds a bare sign, a factor never a bare operator
    else
      error = Parse(level, from, to, false).Error;
    judged_.emplace(key, error);
    return error;
  }

  bool Succeeds(Level level, size_t from, size_t to) { return Judge(level, from, to) == peNone; }

  // The node of a split that both sides pass; only built when `build`.
  template <typename Node>
  Result Split(Level left, size_t from, size_t opStart, size_t opEnd, Level right, size_t to, bool build) {
    if (!build) return {};
    return {peNone, std::make_unique<Node>(Parse(left, from, opStart, true).Tree,
                                           Parse(right, opEnd, to, true).Tree)};
  }

  Result Parse(Level level, size_t from, size_t to, bool build) {
    if (++steps_ > kMaxSteps) throw TooLong();
    switch (level) {
    case kAdditive: return Additive(from, to, build);
    case kMultiplicative: return Multiplicative(from, to, build);
    default: return Factor(from, to, build);
    }
  }

  std::string_view Text(size_t from, size_t to) const { return std::string_view(text_).substr(from, to - from); }

  Result Additive(size_t from, size_t to, bool build) {
    if (from == to) return {peEmpty};
    if (!Balanced(from, to)) return {peBrackets};
    if (text_[from] == '-' && Succeeds(kMultiplicative, from + 1, to)) {
      if (!build) return {};
      return {peNone, std::make_unique<TMinus>(std::make_unique<TConst>(0),
                                               Parse(kMultiplicative, from + 1, to, true).Tree)};
    }
    for (size_t at = to; at-- > from;) {
      const char c = text_[at];
      if (c != '+' && c != '-') continue;
      if (!Succeeds(kAdditive, from, at) || !Succeeds(kMultiplicative, at + 1, to)) continue;
      return c == '+' ? Split<TSum>(kAdditive, from, at, at + 1, kMultiplicative, to, build)
                      : Split<TMinus>(kAdditive, from, at, at + 1, kMultiplicative, to, build);
    }
    return Multiplicative(from, to, build);
  }

  Result Multiplicative(size_t from, size_t to, bool build) {
    for (size_t at = to; at-- > from;) {
      const std::string_view rest = Text(at, to);
      size_t length = 0;
      int kind = 0;
      if (rest[0] == '*') length = 1, kind = 1;
      else if (rest[0] == '/') length = 1, kind = 2;
      else if (rest[0] == '%') length = 1, kind = 4;
      else if (rest.starts_with(">>")) length = 2, kind = 5;
      else if (rest.starts_with("<<")) length = 2, kind = 6;
      else if (rest.size() >= 3) {
        const std::string_view word = rest.substr(0, 3);
        if (IEquals(word, "div")) length = 3, kind = 3;
        else if (IEquals(word, "mod")) length = 3, kind = 4;
        else if (IEquals(word, "shr")) length = 3, kind = 5;
        else if (IEquals(word, "shl")) length = 3, kind = 6;
      }
      if (!kind || !Succeeds(kMultiplicative, from, at) || !Succeeds(kFactor, at + length, to)) continue;
      const size_t end = at + length;
      switch (kind) {
      case 1: return Split<TProduct>(kMultiplicative, from, at, end, kFactor, to, build);
      case 2: return Split<TDivision>(kMultiplicative, from, at, end, kFactor, to, build);
      case 3: return Split<TDiv>(kMultiplicative, from, at, end, kFactor, to, build);
      case 4: return Split<TMod>(kMultiplicative, from, at, end, kFactor, to, build);
      case 5: return Split<TShr>(kMultiplicative, from, at, end, kFactor, to, build);
      default: return Split<TShl>(kMultiplicative, from, at, end, kFactor, to, build);
      }
    }
    return Factor(from, to, build);
  }

  Result Factor(size_t from, size_t to, bool build) {
    const std::string_view text = Text(from, to);
    if (!Balanced(from, to)) return {peBrackets};
    if (double value; ReadNumber(text, value))
      return {peNone, build ? std::make_unique<TConst>(value) : nullptr};

    // A bracketed text whose inside fails may still be a power: "(1)^(2)".
    int bracketError = peNone;
    if (text.size() >= 2 && text.front() == '(' && text.back() == ')') {
      bracketError = Judge(kAdditive, from + 1, to - 1);
      if (bracketError == peNone) return Parse(kAdditive, from + 1, to - 1, build);
    }
    for (const auto& var : parser_.variables_)
      if (text == var->Name) return {peNone, build ? std::make_unique<TVar>(*var) : nullptr};
    for (const auto& fn : parser_.functions_) {
      const std::string name = fn->Name();
      if (text.size() > name.size() + 1 && IEquals(text.substr(0, name.size()), name) &&
          text[name.size()] == '(' && text.back() == ')' &&
          Succeeds(kAdditive, from + name.size() + 1, to - 1)) {
        if (!build) return {};
        return {peNone, std::make_unique<TFunc>(*fn, Parse(kAdditive, from + name.size() + 1, to - 1, true).Tree)};
      }
    }
    for (size_t at = text.find('^'); at != std::string_view::npos; at = text.find('^', at + 1))
      if (Succeeds(kFactor, from, from + at) && Succeeds(kFactor, from + at + 1, to))
        return Split<TPower>(kFactor, from, from + at, from + at + 1, kFactor, to, build);
    return {bracketError != peNone ? bracketError : peExpression};
  }
};

std::unique_ptr<TCalculus> TParser::Parse(std::string_view formula, int& error) const {
  std::string text;
  for (char c : formula)
    if (c != ' ') text += c;
  return TParseRun(*this, std::move(text)).Build(error);
}
