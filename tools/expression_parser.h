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

// A node of an expression tree.
class TCalculus {
public:
  virtual ~TCalculus() = default;
  // The node's value; integer operators raise EMathError when they have no result.
  virtual double Evaluate() const = 0;
};

// A binary operator owning both operands.
class TOperator : public TCalculus {
public:
  TOperator(std::unique_ptr<TCalculus> left, std::unique_ptr<TCalculus> right);
  const TCalculus& Left() const { return *left_; }
  const TCalculus& Right() const { return *right_; }

private:
  std::unique_ptr<TCalculus> left_, right_;
};

#define QM_OPERATOR(Name)                                                                          \
  class Name : public TOperator {                                                                  \
  public:                                                                                          \
    using TOperator::TOperator;                                                                    \
    double Evaluate() const override;                                                              \
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
  double Evaluate() const override;

private:
  const TFuncDef& def_;
  std::unique_ptr<TCalculus> argument_;
};

// A variable's current value.
class TVar : public TCalculus {
public:
  explicit TVar(const TVarDef& def) : def_(def) {}
  double Evaluate() const override { return def_.Value; }

private:
  const TVarDef& def_;
};

// A number.
class TConst : public TCalculus {
public:
  explicit TConst(double value) : value_(value) {}
  double Evaluate() const override { return value_; }

private:
  double value_;
};

// The parser's error codes.
enum TParseError { peNone = 0, peBrackets = 1, peExpression = 2, peEmpty = 3 };

class TParser {
public:
  // Adds sqr, sqrt, sin, cos, tan, atan, asin, acos, ln, exp and the variable "pi".
  void RegisterDefaults();
  // Adds a variable (names are case-sensitive) and returns it for setting its value.
  TVarDef& AddVariable(std::string name, double value = 0);
  // Parses a formula; blanks are ignored. Returns the tree, or null with `error` set.
  std::unique_ptr<TCalculus> Parse(std::string_view formula, int& error) const;

private:
  std::vector<std::unique_ptr<TFuncDef>> functions_;
  std::vector<std::unique_ptr<TVarDef>> variables_;
  friend class TParseRun;
};
