#include "tools/expression_parser.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

#include "platform/exceptions.h"

#ifdef QM_HAVE_MUPARSER
#include <muParser.h>
#endif

namespace {

class ExpressionParser : public ::testing::Test {
protected:
  void SetUp() override {
    parser.RegisterDefaults();
    SetAngleUnit(0);
  }
  void TearDown() override { SetAngleUnit(0); }

  double Value(const std::string& formula) {
    int error = -1;
    auto tree = parser.Parse(formula, error);
    EXPECT_EQ(error, 0) << formula;
    return tree ? tree->Evaluate() : std::nan("");
  }
  int Error(const std::string& formula) {
    int error = -1;
    auto tree = parser.Parse(formula, error);
    EXPECT_EQ(tree == nullptr, error != 0) << formula;
    return error;
  }

  TParser parser;
};

TEST_F(ExpressionParser, ValuesAndPrecedence) {
  const std::pair<const char*, double> cases[] = {
      {" 1 + 2 ", 3},     {"0x1F", 31},        {"#1F", 31},        {"$1F", 31},       {"$0", 0},
      {"7 div 2", 3},     {"7 DIV 2", 3},      {"7 mod 2", 1},     {"7%4", 3},        {"1 shl 4", 16},
      {"256>>4", 16},     {"1<<3", 8},         {"2^3^2", 512},     {"-2^2", -4},      {"10-2-3", 5},
      {"8/2/2", 2},       {"2+3*4", 14},       {"(2+3)*4", 20},    {"(1)^(2)", 1},    {"sqrt(16)", 4},
      {"sqrt(4)", 2},     {"sqr(3)", 9},       {"2*pi/pi", 2},     {"1.5e2", 150},    {"-3", -3},
      {"-(2+3)*2", -10},  {"sin(90)", 1},      {"exp(0)+ln(1)", 1}, {"sin(30)^2+cos(30)^2", 1},
      {"-7 div 2", -3},   {"-7 mod 2", -1},    {"2*-3+0", -6},     {"2^-1", 0.5},
      {"2--3", 5},        {"+3", 3},           {"8 div -2", -4},   {"1e-1*-1e+1", -1}, {"2+-", std::nan("")},
  };
  for (const auto& [formula, expected] : cases) {
    if (std::isnan(expected)) {
      EXPECT_EQ(Error(formula), 2) << formula;
      continue;
    }
    EXPECT_NEAR(Value(formula), expected, 1e-9) << formula;
  }
}

TEST_F(ExpressionParser, AngleUnitsAndVariables) {
  SetAngleUnit(2);
  EXPECT_NEAR(Value("sin(100)"), 1, 1e-12);
  SetAngleUnit(1);
  EXPECT_NEAR(Value("sin(pi/2)"), 1, 1e-12);

  TVarDef& x = parser.AddVariable("x");
  int error = 0;
  auto tree = parser.Parse("x^2 - 1", error);
  ASSERT_TRUE(tree);
  for (double v : {-2.0, 0.0, 3.0}) {
    x.Value = v;
    EXPECT_DOUBLE_EQ(tree->Evaluate(), v * v - 1);
  }
  x.Value = 4;
  EXPECT_DOUBLE_EQ(Value("x^-1"), 0.25);  // a signed number after an operator
  EXPECT_EQ(Error("X+1"), 2);  // variable names are case-sensitive
}

TEST_F(ExpressionParser, Errors) {
  EXPECT_EQ(Error(""), 3);
  EXPECT_EQ(Error("   "), 3);
  EXPECT_EQ(Error("(1+2"), 1);
  EXPECT_EQ(Error("1+2)"), 1);
  EXPECT_EQ(Error("2+"), 2);
  EXPECT_EQ(Error("foo(2)"), 2);
  EXPECT_EQ(Error("inf"), 2);
  EXPECT_EQ(Error("nan"), 2);
  EXPECT_EQ(Error("1,5"), 2);  // "." is the only decimal separator
}

TEST_F(ExpressionParser, WrongInputParsesInPolynomialTime) {
  std::string formula = "q";
  for (int i = 0; i < 200; ++i) formula += "+1*2";
  EXPECT_EQ(Error(formula), 2);
  std::string good = "1";
  for (int i = 0; i < 300; ++i) good += "+1";
  EXPECT_EQ(Value(good), 301);
}

// Signs, brackets and operator words where a formula has one reading only, or none.
TEST_F(ExpressionParser, EdgeInputsOfSignsAndBrackets) {
  const double kFails = std::nan("");
  const struct {
    const char* Formula;
    double Value;  // kFails when it does not parse
    int Error;
  } cases[] = {
      {"1+-1", 0, 0},        {"1--1", 2, 0},         {"--1", 1, 0},          {"-+1", -1, 0},
      {"2*--3", kFails, 2},  {"1+-+1", kFails, 2},   {"---1", kFails, 2},    {"+-1", kFails, 2},
      {"-", kFails, 2},      {"+", kFails, 2},       {"1-", kFails, 2},      {"2**3", kFails, 2},
      {"-2*3+1", -5, 0},     {"2*-3^2", 18, 0},      {"-(1)", -1, 0},        {"(-1)^2", 1, 0},
      {"1e-5", 1e-5, 0},     {"-1e-5*2", -2e-5, 0},  {"2-1e+1", -8, 0},      {"$1e-5", 25, 0},
      {"0x1e-5", 25, 0},     {"#1E+1", 31, 0},       {"1e5e-3", kFails, 2},  {".e-5", kFails, 2},
      {"2*-0x5", kFails, 2}, {"+x", kFails, 2},      {"pimodpi", 0, 0},      {"2SHL2", 8, 0},
      {"8>>>1", kFails, 2},  {"1<2", kFails, 2},     {"5modiv2", kFails, 2}, {"sin(0)mod2", 0, 0},
      {"sin(0)2", kFails, 2}, {"-sin(0)", 0, 0},     {"2*-sin(0)", kFails, 2},
      {"()", kFails, 3},     {"(())", kFails, 3},    {"(1)(2)", kFails, 1},  {"(1)+()", kFails, 1},
      {"()+1", kFails, 2},   {"sin()", kFails, 2},   {"((1)", kFails, 1},    {")(", kFails, 1},
      {"((2))^((3))", 8, 0}, {"sin((0))", 0, 0},     {"(((1+)))", kFails, 2},
  };
  for (const auto& c : cases) {
    int error = -1;
    const auto tree = parser.Parse(c.Formula, error);
    EXPECT_EQ(error, c.Error) << c.Formula;
    EXPECT_EQ(tree == nullptr, std::isnan(c.Value)) << c.Formula;
    if (tree && !std::isnan(c.Value)) {
      EXPECT_NEAR(tree->Evaluate(), c.Value, 1e-12) << c.Formula;
    }
  }
  // A leading "-" is an operator on the term, a "-" after one is the number's own sign.
  EXPECT_FALSE(std::signbit(Value("-0")));
  EXPECT_TRUE(std::signbit(Value("1*-0")));
}

// Formulas of a million characters parse in one pass, and trees that deep evaluate and free
// without running out of stack.
TEST_F(ExpressionParser, MillionCharacterFormulas) {
  constexpr size_t kLength = 1'000'000;
  const auto repeat = [](std::string_view piece, size_t times) {
    std::string text;
    text.reserve(piece.size() * times);
    while (times--) text += piece;
    return text;
  };
  EXPECT_EQ(Value(repeat("1+", kLength / 2) + "1"), kLength / 2 + 1);
  EXPECT_EQ(Value("1" + repeat("-1", kLength / 2)), 1.0 - kLength / 2);  // groups to the left
  EXPECT_EQ(Value(repeat("(", kLength / 2) + "7" + repeat(")", kLength / 2)), 7);
  EXPECT_EQ(Value(repeat("0^", kLength / 2) + "0"), 0);  // groups to the right: 0^(0^(...^0))
  EXPECT_EQ(Value(repeat("sqr(", kLength / 5) + "1" + repeat(")", kLength / 5)), 1);
  EXPECT_EQ(Value(repeat("1*", kLength / 2) + "0.5"), 0.5);
  EXPECT_EQ(Error("1" + repeat("+-", kLength / 2) + "1"), 2);
  EXPECT_EQ(Error(repeat("-", kLength) + "1"), 2);
  EXPECT_EQ(Error(repeat("(", kLength / 2) + "1+" + repeat(")", kLength / 2)), 2);
  EXPECT_EQ(Error(repeat("(", kLength / 2) + repeat(")", kLength / 2)), 3);
  EXPECT_EQ(Error(repeat("(", kLength / 2) + "1" + repeat(")", kLength / 2 - 1)), 1);
}

TEST_F(ExpressionParser, VariableNamesHaveOneReading) {
  for (const char* name : {"", "1x", "x y", "a+b", "mode", "xDIV", "xmo"})
    EXPECT_THROW(parser.AddVariable(name), EInvalidOperation) << name;
  parser.AddVariable("x2", 3);
  EXPECT_EQ(Value("x2mod2"), 1);
}

TEST_F(ExpressionParser, IntegerOperatorsRaiseInsteadOfCrashing) {
  for (const char* formula : {"1 div 0", "1 mod 0", "5 % 0.2", "$7FFFFFFFFFFFFFFF*2 div 1",
                              "(0-9223372036854775807-1) div (0-1)", "1 shl 64", "1 shr (0-1)",
                              "(0/0) div 1", "1e300 mod 7"}) {
    int error = -1;
    auto tree = parser.Parse(formula, error);
    ASSERT_TRUE(tree) << formula;
    EXPECT_THROW(tree->Evaluate(), EMathError) << formula;
  }
  EXPECT_EQ(Value("1 shl 63"), std::ldexp(-1.0, 63));
}

#ifdef QM_HAVE_MUPARSER
// Random well-formed formulas (powers and function arguments always bracketed, so that both
// grammars read them alike) agree with muparser's values.
std::string RandomFormula(std::mt19937& random, int depth) {
  std::uniform_int_distribution<int> pick(0, 9);
  if (depth == 0 || pick(random) < 3) {
    std::uniform_int_distribution<int> number(0, 999);
    const int n = number(random);
    return std::to_string(n % 100) + (n % 3 == 0 ? ".5" : "");
  }
  static const char* const kFunctions[] = {"sin", "cos", "sqrt", "exp", "ln", "atan"};
  switch (pick(random) % 6) {
  case 0: return RandomFormula(random, depth - 1) + "+" + RandomFormula(random, depth - 1);
  case 1: return RandomFormula(random, depth - 1) + "-" + RandomFormula(random, depth - 1);
  case 2: return RandomFormula(random, depth - 1) + "*" + RandomFormula(random, depth - 1);
  case 3: return RandomFormula(random, depth - 1) + "/(" + RandomFormula(random, depth - 1) + ")";
  case 4: return "(" + RandomFormula(random, depth - 1) + ")^(" + RandomFormula(random, 0) + ")";
  default: return std::string(kFunctions[pick(random) % 6]) + "(" + RandomFormula(random, depth - 1) + ")";
  }
}

TEST_F(ExpressionParser, AgreesWithMuparser) {
  SetAngleUnit(1);
  std::mt19937 random(20261210);
  int compared = 0;
  for (int i = 0; i < 3000; ++i) {
    const std::string formula = RandomFormula(random, 4);
    int error = -1;
    auto tree = parser.Parse(formula, error);
    ASSERT_TRUE(tree) << formula;
    mu::Parser reference;
    reference.SetExpr(formula);
    const double theirs = reference.Eval();
    const double ours = tree->Evaluate();
    if (std::isnan(theirs) || std::isinf(theirs)) {
      EXPECT_TRUE(std::isnan(ours) || std::isinf(ours)) << formula;
      continue;
    }
    ++compared;
    EXPECT_NEAR(ours, theirs, 1e-9 * std::max(1.0, std::fabs(theirs))) << formula;
  }
  EXPECT_GT(compared, 2000);
}
#endif

} // namespace
