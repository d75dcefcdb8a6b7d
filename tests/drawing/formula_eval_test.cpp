// Evaluation: operators, precedence, functions, refused forms, arithmetic
// faults and the distribution functions.  Every case runs through both the
// text evaluator and the compiled form (Eval checks that they agree).
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>

#include "drawing/formula.h"
#include "formula_test_util.h"

using namespace pelmar;
using pelmar::test::Eval;

namespace {

constexpr long double kPi = std::numbers::pi_v<long double>;

// The value of a text at x, expected to succeed.
Ext V(const std::string& text, Ext x = 0) {
    const auto r = Eval(text, x);
    EXPECT_TRUE(r.has_value()) << text;
    return r.value_or(NAN);
}

bool Fails(const std::string& text, Ext x = 0) { return !Eval(text, x).has_value(); }

TEST(FormulaEval, OperatorsAndPrecedence) {
    EXPECT_EQ(V("2^3^2"), 64);  // "^" is left-associative
    EXPECT_EQ(V("2^(-1)"), 0.5L);
    EXPECT_EQ(V("-x^2", 3), -9);
    EXPECT_EQ(V("(-3)^2"), 9);
    EXPECT_EQ(V("2*(-3)"), -6);
    EXPECT_EQ(V("2+3*4"), 14);
    EXPECT_EQ(V("2*3^2"), 18);
    EXPECT_EQ(V("-2^2"), -4);
    EXPECT_EQ(V("2^2*3"), 12);
    EXPECT_EQ(V("12/2/3"), 2);
    EXPECT_EQ(V("12/2*3"), 18);
    EXPECT_EQ(V("2-3-4"), -5);
    EXPECT_EQ(V("--2"), 2);
    EXPECT_EQ(V("+-+2"), -2);
    EXPECT_EQ(V("2-(3-4)"), 3);
    EXPECT_EQ(V("1/0.0001"), 10000);
    EXPECT_EQ(V("(1+2"), 3);       // closing brackets are supplied
    EXPECT_EQ(V("((1+2)*(3"), 9);
    EXPECT_EQ(V("(2)(3)"), 5);     // side by side: added
    EXPECT_EQ(V("(2)(3)*4"), 14);
    EXPECT_EQ(V("2sin(0)"), 2);
    EXPECT_EQ(V("2^2(3)"), 7);
    EXPECT_EQ(V("x:4", 2), 0.5L);
    EXPECT_EQ(V("0^2"), 0);
    EXPECT_EQ(V("0^0"), 1);
    EXPECT_EQ(V("(-2)^3"), -8);
}

TEST(FormulaEval, FunctionsBindToTheFollowingOperand) {
    const Ext x = 0.7L;
    EXPECT_EQ(V("sin x^2", x), V("(sin(x))^2", x));
    EXPECT_EQ(V("-sin x", x), -V("sin(x)", x));
    EXPECT_EQ(V("sin cos x", x), V("sin(cos(x))", x));
    EXPECT_TRUE(Fails("cos sin x", x));  // cos would take "sin" as its number
    EXPECT_TRUE(Fails("cos cos x", x));
    EXPECT_EQ(V("cos(cos x)", x), V("cos(cos(x))", x));
    EXPECT_EQ(V("sinx", x), V("sin(x)", x));
    EXPECT_EQ(V("sin(x)+sin cos x", x), V("sin(x)+sin(cos(x))", x));
    EXPECT_EQ(V("abs ln x", 0.5L), -V("ln(0.5)"));
    EXPECT_TRUE(Fails("lnabsx", -2));  // ln comes later in the table than abs
}

TEST(FormulaEval, EveryFunction) {
    auto near = [](Ext a, long double b) { return std::fabs(a - b) <= 1e-14L * std::max(1.0L, std::fabs(b)); };
    EXPECT_TRUE(near(V("sin(1)"), std::sin(1.0L)));
    EXPECT_TRUE(near(V("cos(1)"), std::cos(1.0L)));
    EXPECT_TRUE(near(V("tg(1)"), std::tan(1.0L)));
    EXPECT_TRUE(near(V("ctg(1)"), 1 / std::tan(1.0L)));
    EXPECT_TRUE(near(V("arcsin(0.5)"), kPi / 6));
    EXPECT_TRUE(near(V("arccos(0.5)"), kPi / 3));
    EXPECT_TRUE(near(V("arctg(1)"), kPi / 4));
    EXPECT_TRUE(near(V("arcctg(1)"), kPi / 4));
    EXPECT_TRUE(near(V("arcctg(-1)"), 3 * kPi / 4));
    EXPECT_EQ(V("abs(-2.5)"), 2.5L);
    EXPECT_TRUE(near(V("ln(0.0001)"), -9.210340371976182L));
    EXPECT_EQ(V("lg(1000)"), 3);
    EXPECT_TRUE(near(V("eks(1)"), std::numbers::e_v<long double>));
    EXPECT_EQ(V("gamma(5)"), 24);
    EXPECT_TRUE(near(V("gamma(0.5)"), std::sqrt(kPi)));
    EXPECT_TRUE(near(V("gamma(-0.5)"), -2 * std::sqrt(kPi)));
    EXPECT_TRUE(near(V("gamma(2.5)"), 1.3293403881791372L));
    EXPECT_TRUE(near(V("gamma(-1.5)"), 2.3632718012073544L));
    // Not the old integral rule (2.5556): the gamma function itself.
    EXPECT_TRUE(near(V("gamma(0.3)"), 2.991568987687591L));
}

TEST(FormulaEval, DomainChecks) {
    EXPECT_TRUE(Fails("1/0.000001"));
    EXPECT_TRUE(Fails("1/0"));
    EXPECT_TRUE(Fails("ln(0.000001)"));
    EXPECT_TRUE(Fails("ln(-1)"));
    EXPECT_TRUE(Fails("lg(0)"));
    EXPECT_TRUE(Fails("tg(pi/2)"));
    EXPECT_TRUE(Fails("ctg(0)"));
    EXPECT_TRUE(Fails("ctg(pi)"));
    EXPECT_TRUE(Fails("arcsin(1.5)"));
    EXPECT_TRUE(Fails("arccos(-1.0001)"));
    EXPECT_TRUE(Fails("gamma(-2)"));
    EXPECT_TRUE(Fails("gamma(0)"));
    EXPECT_TRUE(Fails("0^(-1)"));
    EXPECT_TRUE(Fails("0.000001^(-2)"));
    EXPECT_TRUE(Fails("(-8)^(1/3)"));  // negative base, fractional exponent
    EXPECT_TRUE(Fails("x^0.5", -4));
    // Within 1e-5 of a whole number is still not whole.
    EXPECT_TRUE(Fails("(-2)^2.000001"));
    EXPECT_TRUE(Fails("(-2)^(2+1/1000000000)"));
}

TEST(FormulaEval, RefusedForms) {
    for (const char* bad :
         {"", " ", "()", "2+", "2-", "*2", "/2", "^2", "2**3", "2^^3", "2*/3", "2*-3", "2^-1", "2/-1", "sin",
          "sin+1", "sin()", "2)", ")(", ")2(", "2)+(3", "a", "x y", "1e5", "2..3", "1.2.3", "#", "2#3", "(#)",
          "sinn(1)", "asin(1)", "pi(", "2*(", "|", "||", ",", "!", "2=2", "[1]", "sin sin(1)",
          "fisher", "\x01", "\xFF"})
        EXPECT_TRUE(Fails(bad, 1)) << '"' << bad << '"';
}

TEST(FormulaEval, IntermediateResultsAreRoundedTo15Digits) {
    EXPECT_EQ(V("(1/3)*3"), 0.999999999999999L);
    EXPECT_EQ(V("1/3*3"), 0.999999999999999L);
    EXPECT_EQ(V("x*3", 1.0L / 3), 0.999999999999999L);  // the variable is written with 15 digits
    EXPECT_EQ(V("(2/3)"), 0.666666666666667L);
    EXPECT_EQ(V("sin(1)"), RoundTo15Digits(std::sin(1.0L)));
    // The final sum is not rounded.
    EXPECT_EQ(V("0.1+0.2"), 0.1L + 0.2L);
    EXPECT_EQ(V("1/3+0"), 0.333333333333333L);
    EXPECT_EQ(V("0.1234567890123456789"), 0.1234567890123456789L);
    EXPECT_EQ(V("(0.1234567890123456789)"), 0.123456789012346L);
}

TEST(FormulaEval, LightEvaluator) {
    EXPECT_EQ(*Eval("x^2+1", 2, false), 5);
    EXPECT_EQ(*Eval("|x|*2", -2, false), 4);
    EXPECT_EQ(*Eval("abs(x)", -2, false), 2);
    EXPECT_FALSE(Eval("sin(x)", 1, false));  // no named functions outside brackets
    EXPECT_FALSE(Eval("abs abs x", 1, false));
    EXPECT_EQ(*Eval("(sin(x))", 1, false), *Eval("sin(x)", 1));  // brackets use the full evaluator
}

TEST(FormulaEval, ArithmeticFaultsFail) {
    EXPECT_TRUE(Fails("eks(100000)"));
    EXPECT_TRUE(Fails("10^5000"));
    EXPECT_TRUE(Fails("10^400"));  // beyond the range of double
    EXPECT_EQ(V("10^400/10^399"), 10);
    EXPECT_TRUE(Fails("gamma(2000)"));
    EXPECT_TRUE(Fails("gamma(172)"));
    EXPECT_TRUE(Fails("gamma(1000000000)"));  // at once, no recursion
    EXPECT_TRUE(Fails("1/gamma(-1000000000.5)+1"));
    EXPECT_TRUE(Fails("x", INFINITY));
    EXPECT_TRUE(Fails("x", NAN));
    EXPECT_TRUE(Fails("2x", NAN));
    EXPECT_EQ(V("1", NAN), 1);
}

TEST(FormulaEval, DistributionParametersUnsetOrZeroFail) {
    DistributionParameters p;
    for (const char* f : {"norm(x)", "fisher(x)", "chisq(x)", "student(x)", "norm(x,0,0)", "fisher(x,2,0)",
                          "fisher(x,0,3)", "fisher(x,a,b)", "chisq(x,0)", "student(x,0)", "student(x,-3)",
                          "chisq(x,-1)"}) {
        DistributionParameters fresh;
        EXPECT_FALSE(Eval(f, 1, fresh).has_value()) << f;
    }
    EXPECT_FALSE(Eval("chisq(x,4)", -1, p).has_value());
    EXPECT_EQ(*Eval("chisq(x,4)", 0, p), 0);
    EXPECT_EQ(*Eval("fisher(x,3,5)", 0, p), 0);
    EXPECT_FALSE(Eval("fisher(x)", -1, p).has_value());
    // The parameters of an earlier preparation are used.
    EXPECT_NEAR(static_cast<double>(*Eval("fisher(x)", 0.5L, p)), 0.5860147919966863, 1e-5);
}

TEST(FormulaEval, DistributionsAgainstKnownValues) {
    struct Case {
        const char* text;
        double x, want, tol;
    } cases[] = {
        {"norm(x,0,1)", 0, 0.3989422804014327, 1e-14},   {"norm(x,0,1)", 1, 0.24197072451914337, 1e-14},
        {"norm(x,2,0.5)", 2, 0.7978845608028654, 1e-14}, {"norm(x,-1,3)", 1.5, 0.09397062513676752, 1e-14},
        {"chisq(x,1)", 1, 0.24197072451914334, 1e-14},   {"chisq(x,2)", 2, 0.18393972058572117, 1e-14},
        {"chisq(x,4)", 2, 0.18393972058572117, 1e-14},   {"chisq(x,3)", 3, 0.15418032980376925, 1e-14},
        {"chisq(x,5)", 0.5, 0.03661594078897686, 1e-14}, {"chisq(x,7)", 4, 0.11518072856146785, 1e-14},
        {"student(x,1)", 0, 0.31830988618379075, 1e-14}, {"student(x,2)", 0, 0.35355339059327384, 1e-14},
        {"student(x,5)", 1, 0.21967979735098053, 1e-14}, {"student(x,3)", -2, 0.06750966066389291, 1e-14},
        {"student(x,30)", 0.5, 0.34787857969720476, 1e-14},
        {"fisher(x,2,2)", 1, 0.25, 1e-12},               {"fisher(x,4,6)", 1, 0.41472, 1e-5},
        {"fisher(x,3,5)", 0.5, 0.5860147919966863, 1e-5}, {"fisher(x,10,3)", 2, 0.15850180207313247, 1e-5},
        // m or n = 1: the Beta integral stops refining at its bound.
        {"fisher(x,1,1)", 1, 0.15915494309189537, 2e-3}, {"fisher(x,1,4)", 0.3, 0.5714121620285284, 2e-3},
        {"fisher(x,5,1)", 2, 0.10083488525817587, 2e-3},
    };
    for (const Case& c : cases) {
        DistributionParameters p;
        const auto v = Eval(c.text, c.x, p);
        ASSERT_TRUE(v.has_value()) << c.text;
        EXPECT_NEAR(static_cast<double>(*v) / c.want, 1.0, c.tol) << c.text << " at " << c.x;
    }
}

TEST(FormulaEval, LargeDegreesOfFreedom) {
    // Hundreds of millions of degrees of freedom evaluate at once: the
    // log-factorial sums switch to lgamma.  The densities tend to the normal.
    DistributionParameters p;
    EXPECT_NEAR(static_cast<double>(*Eval("student(x,400000000)", 0, p)), 0.3989422804014327, 1e-8);
    EXPECT_NEAR(static_cast<double>(*Eval("student(x,400001)", 0, p)), 0.3989422804014327, 1e-6);
    const auto chi = Eval("chisq(x,400000000)", 400000000, p);
    ASSERT_TRUE(chi.has_value());
    EXPECT_NEAR(static_cast<double>(*chi) * std::sqrt(2 * 400000000.0), 0.3989422804014327, 1e-4);
    const auto chiOdd = Eval("chisq(x,400001)", 400001, p);
    ASSERT_TRUE(chiOdd.has_value());
    EXPECT_NEAR(static_cast<double>(*chiOdd) * std::sqrt(2 * 400001.0), 0.3989422804014327, 1e-3);
}

TEST(FormulaEval, PreparedFormulaBasics) {
    DistributionParameters p;
    const Formula f = Formula::Prepare("x^2-3*x+2", true, p);
    EXPECT_TRUE(f.IsCompiled());
    EXPECT_TRUE(f.IsFull());
    EXPECT_EQ(f.PreparedText(), "#x#^#2#-#3#*#x#+#2#");
    Ext v;
    ASSERT_TRUE(f.Calc(1, v));
    EXPECT_EQ(v, 0);
    ASSERT_TRUE(f.Calc(-1, v));
    EXPECT_EQ(v, 6);
    Formula empty;
    EXPECT_FALSE(empty.Calc(1, v));
    EXPECT_EQ(empty.PreparedText(), "");
    // Copies share the program.
    Formula copy = f;
    ASSERT_TRUE(copy.Calc(3, v));
    EXPECT_EQ(v, 2);
    // The parameters are those after the formula's preparation, whatever is
    // prepared later.
    const Formula n1 = Formula::Prepare("norm(x,0,1)", true, p);
    const Formula n2 = Formula::Prepare("norm(x,5,2)", true, p);
    ASSERT_TRUE(n1.Calc(0, v));
    EXPECT_NEAR(static_cast<double>(v), 0.3989422804014327, 1e-14);
    ASSERT_TRUE(n2.Calc(5, v));
    EXPECT_NEAR(static_cast<double>(v), 0.19947114020071635, 1e-14);
    // A stray "#" leaves the text to the text evaluator.
    const Formula stray = Formula::Prepare("2#+x", true, p);
    EXPECT_FALSE(stray.IsCompiled());
    EXPECT_FALSE(stray.Calc(1, v));
}

}  // namespace
