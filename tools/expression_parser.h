// Formulas of the calculator and the plotter: `TParser` turns a formula into an expression tree
// that evaluates itself in double precision, repeatedly when its variables change.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

// Angle unit of the trigonometric functions: 0 degrees, 1 radians, 2 grads. One setting for the
// whole program (the calculator window writes it, every formula reads it).
int AngleUnit();
void SetAngleUnit(int unit);

// A node of an expression tree; it owns its operands (none for a leaf). Evaluating and freeing a
// tree walk it without recursion, so a tree of any depth (a formula of a million terms) is safe.
class TCalculus {
public:
  virtual ~TCalculus();
  TCalculus(const TCalculus&) = delete;
  TCalculus& operator=(const TCalculus&) = delete;
  // The node's value; integer operators raise EMathError when they have no result.
  double Evaluate() const;

protected:
  TCalculus() = default;
  TCalculus(std::unique_ptr<TCalculus> first, std::unique_ptr<TCalculus> second);
  const TCalculus& Operand(int index) const { return *operands_[index]; }
  // The node's value from the values of its operands, in order.
  virtual double Apply(const double* operands) const = 0;

private:
  double Value(int depth) const;  // by recursion down to `depth` levels
  double Walk() const;            // without recursion
  std::unique_ptr<TCalculus> operands_[2];
};

// A binary operator owning both operands.
class TOperator : public TCalculus {
public:
  TOperator(std::unique_ptr<TCalculus> left, std::unique_ptr<TCalculus> right);
  const TCalculus& Left() const { return Operand(0); }
  const TCalculus& Right() const { return Operand(1); }
};

#define QM_OPERATOR(Name)                                                                          \
  class Name : public TOperator {                                                                  \
  public:                                                                                          \
    using TOperator::TOperator;                                                                    \
                                                                                                   \
  protected:                                                                                       \
    double Apply(const double* operands) const override;                                           \
  };
QM_OPERATOR(TSum)       // +
QM_OPERATOR(TMinus)     // -
QM_OPERATOR(TProduct)   // *
QM_OPERATOR(TDivision)  // / (floating)
QM_OPERATOR(TDiv)       // div: integer quotient of the rounded operands
QM_OPERATOR(TMod)       // mod, %: integer remainder
QM_OPERATOR(TShr)       // shr, >>
QM_OPERATOR(TShl)       // shl, <<
QM_OPERATOR(TPower)     // ^
#undef QM_OPERATOR

// A function of one argument known to the parser by name.
class TFuncDef {
public:
  virtual ~TFuncDef() = default;
  virtual std::string Name() const = 0;
  virtual double Evaluate(double x) const = 0;
};

// A variable known to the parser; formulas refer to it, so changing Value changes their results.
struct TVarDef {
  std::string Name;
  double Value = 0;
};

// A function applied to an owned argument.
class TFunc : public TCalculus {
public:
  TFunc(const TFuncDef& def, std::unique_ptr<TCalculus> argument);

protected:
  double Apply(const double* operands) const override { return def_.Evaluate(operands[0]); }

private:
  const TFuncDef& def_;
};

// A variable's current value.
class TVar : public TCalculus {
public:
  explicit TVar(const TVarDef& def) : def_(def) {}

protected:
  double Apply(const double*) const override { return def_.Value; }

private:
  const TVarDef& def_;
};

// A number.
class TConst : public TCalculus {
public:
  explicit TConst(double value) : value_(value) {}

protected:
  double Apply(const double*) const override { return value_; }

private:
  double value_;
};

// The parser's error codes.
enum TParseError { peNone = 0, peBrackets = 1, peExpression = 2, peEmpty = 3 };

class TParser {
public:
  // Adds sqr, sqrt, sin, cos, tan, atan, asin, acos, ln, exp and the variable "pi".
  void RegisterDefaults();
  // Adds a variable and returns it for setting its value. Names are case-sensitive, made of
  // letters and digits beginning with a letter, and hold no operator word (div, mod, shr, shl);
  // another name raises EInvalidOperation.
  TVarDef& AddVariable(std::string name, double value = 0);
  // Parses a formula in time linear in its length; blanks are ignored. Returns the tree, or null
  // with `error` set.
  std::unique_ptr<TCalculus> Parse(std::string_view formula, int& error) const;

private:
  std::vector<std::unique_ptr<TFuncDef>> functions_;
  std::vector<std::unique_ptr<TVarDef>> variables_;
  friend class TParseRun;
};
