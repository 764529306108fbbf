#include "tools/expression_parser.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <numbers>
#include <utility>
#include <vector>

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

// The operators of formulas, and an open bracket and a leading "-" as they wait on the parser's
// stack.
enum TOperatorKind : uint8_t {
  kNone, kOpen, kNegate, kSum, kMinus, kProduct, kDivision, kDiv, kMod, kShr, kShl, kPower
};

// The operator word (div, mod, shr, shl, in any case) at a position of a text, else kNone.
TOperatorKind OperatorWordAt(std::string_view text, size_t at) {
  if (at + 3 > text.size()) return kNone;
  const std::string_view word = text.substr(at, 3);
  if (IEquals(word, "div")) return kDiv;
  if (IEquals(word, "mod")) return kMod;
  if (IEquals(word, "shr")) return kShr;
  if (IEquals(word, "shl")) return kShl;
  return kNone;
}

} // namespace

int AngleUnit() { return angleUnit.load(std::memory_order_relaxed); }
void SetAngleUnit(int unit) { angleUnit.store(unit, std::memory_order_relaxed); }

TCalculus::TCalculus(std::unique_ptr<TCalculus> first, std::unique_ptr<TCalculus> second)
    : operands_{std::move(first), std::move(second)} {}

// Operands that have operands of their own are unlinked onto a list and freed from there, each
// with leaves only, so freeing never recurses.
TCalculus::~TCalculus() {
  std::vector<std::unique_ptr<TCalculus>> pending;
  const auto unlink = [&pending](TCalculus& node) {
    for (std::unique_ptr<TCalculus>& operand : node.operands_)
      if (operand && operand->operands_[0]) pending.push_back(std::move(operand));
  };
  unlink(*this);
  while (!pending.empty()) {
    const std::unique_ptr<TCalculus> node = std::move(pending.back());
    pending.pop_back();
    unlink(*node);
  }
}

double TCalculus::Evaluate() const { return Value(1000); }

// Recursion is the fastest way through a tree of usual depth; below `depth` levels the walk takes
// over.
double TCalculus::Value(int depth) const {
  if (!operands_[0]) return Apply(nullptr);
  if (depth == 0) return Walk();
  double values[2];
  values[0] = operands_[0]->Value(depth - 1);
  if (operands_[1]) values[1] = operands_[1]->Value(depth - 1);
  return Apply(values);
}

// A walk in post-order: a frame for each node whose operands are being evaluated, the values of
// finished operands on a stack of their own.
double TCalculus::Walk() const {
  struct Frame {
    const TCalculus* Node;
    int Next;  // the operand to evaluate next
  };
  std::vector<Frame> frames{{this, 0}};
  std::vector<double> values;
  for (;;) {
    Frame& top = frames.back();
    const int count = top.Node->operands_[1] ? 2 : 1;
    if (top.Next < count) {
      const TCalculus& operand = *top.Node->operands_[top.Next++];
      if (operand.operands_[0]) frames.push_back({&operand, 0});
      else values.push_back(operand.Apply(nullptr));
      continue;
    }
    const double value = top.Node->Apply(values.data() + values.size() - count);
    values.resize(values.size() - count);
    frames.pop_back();
    if (frames.empty()) return value;
    values.push_back(value);
  }
}

TOperator::TOperator(std::unique_ptr<TCalculus> left, std::unique_ptr<TCalculus> right)
    : TCalculus(std::move(left), std::move(right)) {}

double TSum::Apply(const double* v) const { return v[0] + v[1]; }
double TMinus::Apply(const double* v) const { return v[0] - v[1]; }
double TProduct::Apply(const double* v) const { return v[0] * v[1]; }
double TDivision::Apply(const double* v) const { return v[0] / v[1]; }
double TPower::Apply(const double* v) const { return std::pow(v[0], v[1]); }

double TDiv::Apply(const double* v) const {
  const int64_t left = ToInteger(v[0]), right = ToInteger(v[1]);
  CheckDivisor(left, right);
  return static_cast<double>(left / right);
}

double TMod::Apply(const double* v) const {
  const int64_t left = ToInteger(v[0]), right = ToInteger(v[1]);
  CheckDivisor(left, right);
  return static_cast<double>(left % right);
}

// Shifts work on the 64-bit pattern (shr fills with zeros, as on an unsigned register).
double TShr::Apply(const double* v) const {
  const int64_t left = ToInteger(v[0]);
  const int count = ShiftCount(ToInteger(v[1]));
  return static_cast<double>(static_cast<int64_t>(static_cast<uint64_t>(left) >> count));
}

double TShl::Apply(const double* v) const {
  const int64_t left = ToInteger(v[0]);
  const int count = ShiftCount(ToInteger(v[1]));
  return static_cast<double>(static_cast<int64_t>(static_cast<uint64_t>(left) << count));
}

TFunc::TFunc(const TFuncDef& def, std::unique_ptr<TCalculus> argument)
    : TCalculus(std::move(argument), nullptr), def_(def) {}

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

namespace {

std::unique_ptr<TCalculus> MakeOperator(TOperatorKind kind, std::unique_ptr<TCalculus> left,
                                        std::unique_ptr<TCalculus> right) {
  switch (kind) {
  case kSum: return std::make_unique<TSum>(std::move(left), std::move(right));
  case kMinus: return std::make_unique<TMinus>(std::move(left), std::move(right));
  case kProduct: return std::make_unique<TProduct>(std::move(left), std::move(right));
  case kDivision: return std::make_unique<TDivision>(std::move(left), std::move(right));
  case kDiv: return std::make_unique<TDiv>(std::move(left), std::move(right));
  case kMod: return std::make_unique<TMod>(std::move(left), std::move(right));
  case kShr: return std::make_unique<TShr>(std::move(left), std::move(right));
  case kShl: return std::make_unique<TShl>(std::move(left), std::move(right));
  default: return std::make_unique<TPower>(std::move(left), std::move(right));
  }
}

} // namespace

// A name may not hold an operator word, nor end in one's start that a following "div" completes
// ("mo"): the formula would have two readings.
TVarDef& TParser::AddVariable(std::string name, double value) {
  const bool word = !name.empty() && std::isalpha(static_cast<unsigned char>(name[0])) &&
                    std::ranges::all_of(name, [](char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; });
  const std::string followed = name + "div";
  bool holdsOperator = false;
  for (size_t at = 0; at < name.size() && !holdsOperator; ++at) holdsOperator = OperatorWordAt(followed, at) != kNone;
  if (!word || holdsOperator) throw EInvalidOperation("\"" + name + "\" cannot name a variable of a formula");
  variables_.push_back(std::make_unique<TVarDef>(TVarDef{std::move(name), value}));
  return *variables_.back();
}

// One parse, left to right in one pass, with a stack of operands and a stack of operators waiting
// for their right operands (an open bracket waits there too, so nesting costs no recursion).
// The text is read as pieces (a number, a variable, a bracketed text, a function call) joined by
// "^", by the multiplicative operators and by the signs between terms. A sign belongs to a number
// where no other reading can parse: at the start of a piece ("2*-3", "2--3") and in a decimal
// exponent ("1e-5"); a "-" that begins the formula or a bracket negates the first term. Additive
// and multiplicative operators group to the left, powers to the right.
class TParseRun {
public:
  TParseRun(const TParser& parser, std::string text) : parser_(parser), text_(std::move(text)) {}

  std::unique_ptr<TCalculus> Build(int& error) {
    if (text_.empty()) {
      error = peEmpty;
      return nullptr;
    }
    if (!Balanced()) {
      error = peBrackets;
      return nullptr;
    }
    std::unique_ptr<TCalculus> tree = Run() ? std::move(operands_.back()) : nullptr;
    error = tree ? peNone : FailureCode();
    return tree;
  }

private:
  // What the characters of the current piece allow so far: whether a sign after them is a
  // decimal exponent's, and whether a piece starts there at all.
  enum Piece : uint8_t {
    kEmpty,      // no character yet
    kSign,       // a sign only
    kMantissa,   // an optional sign, then digits and points
    kExponent,   // a mantissa and "e": a sign here is the exponent's
    kOther,      // anything else
    kBracketed,  // ends with a closed bracket: nothing may follow
  };
  struct Waiting {
    TOperatorKind Kind;
    const TFuncDef* Function;  // the function of an open bracket, if any
  };

  const TParser& parser_;
  std::string text_;
  std::vector<std::unique_ptr<TCalculus>> operands_;
  std::vector<Waiting> waiting_;
  Piece piece_ = kEmpty;
  size_t pieceStart_ = 0;

  bool Balanced() const {
    int depth = 0;
    for (char c : text_)
      if ((depth += (c == '(') - (c == ')')) < 0) return false;
    return depth == 0;
  }

  // Reads the whole text; false when it does not parse.
  bool Run() {
    bool contextStart = true;  // nothing read since the start or the last "("
    for (size_t at = 0; at < text_.size();) {
      const char c = text_[at];
      const bool start = std::exchange(contextStart, false);
      if (c == '(') {
        const TFuncDef* function = nullptr;
        if (piece_ != kEmpty && !(function = PieceFunction(at))) return false;
        waiting_.push_back({kOpen, function});
        piece_ = kEmpty;
        contextStart = true;
        ++at;
      } else if (c == ')') {
        if (!EndPiece(at)) return false;
        while (waiting_.back().Kind != kOpen) Reduce();
        if (const TFuncDef* function = waiting_.back().Function)
          operands_.back() = std::make_unique<TFunc>(*function, std::move(operands_.back()));
        waiting_.pop_back();
        piece_ = kBracketed;
        ++at;
      } else if ((c == '+' || c == '-') && (start || piece_ == kEmpty || piece_ == kExponent)) {
        if (start && c == '-') waiting_.push_back({kNegate, nullptr});
        else Extend(at);
        ++at;
      } else if (const auto [kind, length] = OperatorAt(at); kind != kNone) {
        if (!EndPiece(at)) return false;
        Push(kind);
        at += length;
      } else {
        if (piece_ == kBracketed) return false;
        Extend(at);
        ++at;
      }
    }
    if (!EndPiece(text_.size())) return false;
    while (!waiting_.empty()) Reduce();
    return true;
  }

  // The operator at a position: a sign here is one between terms.
  std::pair<TOperatorKind, size_t> OperatorAt(size_t at) const {
    switch (text_[at]) {
    case '+': return {kSum, 1};
    case '-': return {kMinus, 1};
    case '*': return {kProduct, 1};
    case '/': return {kDivision, 1};
    case '%': return {kMod, 1};
    case '^': return {kPower, 1};
    case '>': return {text_.compare(at, 2, ">>") == 0 ? kShr : kNone, 2};
    case '<': return {text_.compare(at, 2, "<<") == 0 ? kShl : kNone, 2};
    default: return {OperatorWordAt(text_, at), 3};
    }
  }

  // Adds the character at `at` to the current piece.
  void Extend(size_t at) {
    const char c = text_[at];
    const bool digit = std::isdigit(static_cast<unsigned char>(c)) || c == '.';
    switch (piece_) {
    case kEmpty:
      pieceStart_ = at;
      piece_ = c == '+' || c == '-' ? kSign : digit ? kMantissa : kOther;
      break;
    case kSign: piece_ = digit ? kMantissa : kOther; break;
    case kMantissa: piece_ = digit ? kMantissa : c == 'e' || c == 'E' ? kExponent : kOther; break;
    default: piece_ = kOther;
    }
  }

  // Ends the current piece at `end`, putting its value on the operand stack (a bracketed piece's
  // is there already); false when the piece is not one.
  bool EndPiece(size_t end) {
    const Piece piece = std::exchange(piece_, kEmpty);
    if (piece == kBracketed) return true;
    if (piece == kEmpty) return false;
    const std::string_view text = std::string_view(text_).substr(pieceStart_, end - pieceStart_);
    if (double value; ReadNumber(text, value)) {
      operands_.push_back(std::make_unique<TConst>(value));
      return true;
    }
    for (const auto& var : parser_.variables_)
      if (text == var->Name) {
        operands_.push_back(std::make_unique<TVar>(*var));
        return true;
      }
    return false;
  }

  // The function whose name the current piece is, before its bracket at `at`.
  const TFuncDef* PieceFunction(size_t at) const {
    if (piece_ == kBracketed) return nullptr;
    const std::string_view name = std::string_view(text_).substr(pieceStart_, at - pieceStart_);
    for (const auto& fn : parser_.functions_)
      if (IEquals(name, fn->Name())) return fn.get();
    return nullptr;
  }

  static int Precedence(TOperatorKind kind) {
    switch (kind) {
    case kOpen: return 0;
    case kSum: case kMinus: return 1;
    case kNegate: return 2;
    case kPower: return 4;
    default: return 3;
    }
  }

  // Pushes a binary operator after applying those before it that bind at least as tightly
  // (powers group to the right, so a power applies none).
  void Push(TOperatorKind kind) {
    const int precedence = Precedence(kind);
    while (!waiting_.empty() && kind != kPower && Precedence(waiting_.back().Kind) >= precedence) Reduce();
    waiting_.push_back({kind, nullptr});
  }

  // Applies the operator on top of its stack to its operands.
  void Reduce() {
    const TOperatorKind kind = waiting_.back().Kind;
    waiting_.pop_back();
    std::unique_ptr<TCalculus> right = std::move(operands_.back());
    operands_.pop_back();
    if (kind == kNegate) {
      operands_.push_back(std::make_unique<TMinus>(std::make_unique<TConst>(0), std::move(right)));
      return;
    }
    std::unique_ptr<TCalculus>& left = operands_.back();
    left = MakeOperator(kind, std::move(left), std::move(right));
  }

  // The error of a balanced text that does not parse: a text in brackets fails as its inside
  // does ("()" is empty, "(1)(2)" has an inside whose brackets do not match), any other with 2.
  int FailureCode() const {
    std::vector<size_t> match(text_.size()), open;
    for (size_t at = 0; at < text_.size(); ++at)
      if (text_[at] == '(') open.push_back(at);
      else if (text_[at] == ')') match[open.back()] = at, open.pop_back();
    for (size_t from = 0, to = text_.size();; ++from, --to) {
      if (from == to) return peEmpty;
      if (text_[from] != '(' || text_[to - 1] != ')') return peExpression;
      if (match[from] != to - 1) return peBrackets;
    }
  }
};

std::unique_ptr<TCalculus> TParser::Parse(std::string_view formula, int& error) const {
  std::string text;
  for (char c : formula)
    if (c != ' ') text += c;
  return TParseRun(*this, std::move(text)).Build(error);
}
