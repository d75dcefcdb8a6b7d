// Preparation of formula texts, substitution of the variable, number texts.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <string>

#include "drawing/formula.h"
#include "formula_test_util.h"

using namespace pelmar;
using pelmar::test::Eval;

namespace {

std::string Prepared(std::string s, DistributionParameters& p) {
    PrepareFormula(s, "x", p);
    return s;
}

std::string Prepared(std::string s) {
    DistributionParameters p;
    return Prepared(std::move(s), p);
}

std::string Light(std::string s) {
    PrepareFormulaLight(s, "x");
    return s;
}

TEST(FormulaPrepare, NormalForm) {
    EXPECT_EQ(Prepared("SIN( X )"), "sin(#x#)");
    std::string t;
    SubstVar(Prepared("SIN( X )"), 'x', 0.5L, t);
    EXPECT_EQ(t, "sin(#0.5#)");
    EXPECT_EQ(Prepared("2x"), "#2x#");
    EXPECT_EQ(Prepared("1.5"), "#1.5#");
    EXPECT_EQ(Prepared("1,5"), "#1.5#");
    EXPECT_EQ(Prepared("|x|+|x-1|"), "abs(#x#)+abs(#x#-#1#)");
    EXPECT_EQ(Prepared("|x"), "abs(#x#");            // the bracket is closed by the evaluator
    EXPECT_EQ(Prepared("x:2"), "#x#/#2#");
    EXPECT_EQ(Prepared("$+x"), "#1#+#x#");           // a dollar sign is the digit 1
    EXPECT_EQ(Prepared("Pi*x"), "#3.14159265358979#*#x#");
    EXPECT_EQ(Prepared("2pi"), "#23.14159265358979#");  // written against a number: one number
    EXPECT_EQ(Prepared(""), "");
    EXPECT_EQ(Prepared("   "), "");
    EXPECT_EQ(Prepared("x y"), "#x#y");              // only x is a variable
    // Only A-Z are lower-cased; other bytes stay.
    EXPECT_EQ(Prepared("\xD0\xA5+1"), "\xD0\xA5+#1#");
}

TEST(FormulaPrepare, OtherVariableSets) {
    std::string s = "t^2+T";
    DistributionParameters p;
    PrepareFormula(s, "t", p);
    EXPECT_EQ(s, "#t#^#2#+#t#");
    s = "x+y";
    PrepareFormula(s, "xy", p);
    EXPECT_EQ(s, "#x#+#y#");
}

TEST(FormulaPrepare, DistributionParameters) {
    DistributionParameters p;
    EXPECT_EQ(Prepared("norm(x,0.5,2)", p), "norm(#x#)");
    EXPECT_EQ(p.NormMu, 0.5);
    EXPECT_EQ(p.NormSigma, 2);
    EXPECT_EQ(Prepared("chisq(x,4)+1", p), "chisq(#x#)+#1#");
    EXPECT_EQ(p.ChisqN, 4);
    EXPECT_EQ(Prepared("FISHER(x, 3, 5)", p), "fisher(#x#)");
    EXPECT_EQ(p.FisherM, 3);
    EXPECT_EQ(p.FisherN, 5);
    EXPECT_EQ(Prepared("student(x,7)", p), "student(#x#)");
    EXPECT_EQ(p.StudentN, 7);
    // Without parameters the values stay from the last preparation.
    EXPECT_EQ(Prepared("fisher(x)+norm(x)", p), "fisher(#x#)+norm(#x#)");
    EXPECT_EQ(p.FisherM, 3);
    EXPECT_EQ(p.NormSigma, 2);
    // Only the first occurrence of each function is read.
    EXPECT_EQ(Prepared("chisq(x,2)+chisq(x,3)", p), "chisq(#x#)+chisq(#x.3#)");
    EXPECT_EQ(p.ChisqN, 2);
    // Only the first 15 characters of a parameter text count.
    Prepared("norm(x,0.12345678901234567,1)", p);
    EXPECT_EQ(p.NormMu, 0.1234567890123);
}

TEST(FormulaPrepare, UnreadableParametersFallBack) {
    DistributionParameters p;
    p.NormMu = 1;
    p.NormSigma = 1;
    Prepared("norm(x,a,2)", p);
    EXPECT_EQ(p.NormMu, 0);
    EXPECT_EQ(p.NormSigma, 0);
    Prepared("fisher(x,2.5,3)", p);
    EXPECT_EQ(p.FisherM, 1);
    EXPECT_EQ(p.FisherN, 0);
    Prepared("chisq(x,y)", p);
    EXPECT_EQ(p.ChisqN, 1);
    Prepared("student(x,99999999999)", p);
    EXPECT_EQ(p.StudentN, 1);
    // A norm with one parameter reads none and keeps its values.
    p.NormMu = 3;
    p.NormSigma = 4;
    EXPECT_EQ(Prepared("norm(x,5)", p), "norm(#x#)");
    EXPECT_EQ(p.NormMu, 3);
    EXPECT_EQ(p.NormSigma, 4);
}

// Parameters are taken from inside the function's own brackets only: a comma
// further on belongs to another function.
TEST(FormulaPrepare, ParametersStayInsideTheirBrackets) {
    DistributionParameters p;
    EXPECT_EQ(Prepared("norm(x)+chisq(x,4)", p), "norm(#x#)+chisq(#x#)");
    EXPECT_EQ(p.ChisqN, 4);
    EXPECT_EQ(p.NormMu, 0);
    EXPECT_EQ(p.NormSigma, 0);
    EXPECT_EQ(Prepared("norm(x,5)+sin(x)", p), "norm(#x#)+sin(#x#)");
    EXPECT_EQ(Prepared("student(sin(x),3)", p), "student(sin(#x#))");
    EXPECT_EQ(p.StudentN, 3);
    EXPECT_EQ(Prepared("norm(x,1,2", p), "norm(#x#");  // open bracket: to the end
    EXPECT_EQ(p.NormSigma, 2);
}

TEST(FormulaPrepare, LightPreparationLeavesParameters) {
    EXPECT_EQ(Light("chisq(x,4)"), "chisq(#x.4#)");
    EXPECT_EQ(Light("|X|*PI"), "abs(#x#)*#3.14159265358979#");
}

TEST(FormulaPrepare, SubstVar) {
    std::string t;
    SubstVar("#x#^#2#+#x#", 'x', -3, t);
    EXPECT_EQ(t, "#-3#^#2#+#-3#");
    SubstVar("#x#", 'x', 1.5e-7L, t);
    EXPECT_EQ(t, "#1.5E-7#");
    SubstVar("#2#", 'x', 1, t);
    EXPECT_EQ(t, "#2#");
    SubstVar("#x#", 'x', 1.0L / 3, t);
    EXPECT_EQ(t, "#0.333333333333333#");
    // The value's own text is never searched again, whatever the letter.
    SubstVar("#E#", 'E', 1e-7L, t);
    EXPECT_EQ(t, "#1E-7#");
    SubstVar("#1#", '1', 11, t);
    EXPECT_EQ(t, "#11#");
}

TEST(FormulaNumbers, GeneralForm) {
    EXPECT_EQ(FormulaNumberText(0), "0");
    EXPECT_EQ(FormulaNumberText(-0.0L), "0");
    EXPECT_EQ(FormulaNumberText(1.5L), "1.5");
    EXPECT_EQ(FormulaNumberText(-2), "-2");
    EXPECT_EQ(FormulaNumberText(123456.789L), "123456.789");
    EXPECT_EQ(FormulaNumberText(1e-5L), "0.00001");
    EXPECT_EQ(FormulaNumberText(9e-6L), "9E-6");
    EXPECT_EQ(FormulaNumberText(-1.25e-10L), "-1.25E-10");
    EXPECT_EQ(FormulaNumberText(999999999999999.0L), "999999999999999");
    EXPECT_EQ(FormulaNumberText(9999999999999999.0L), "1E16");
    EXPECT_EQ(FormulaNumberText(1e15L), "1E15");
    EXPECT_EQ(FormulaNumberText(1.5e20L), "1.5E20");
    EXPECT_EQ(FormulaNumberText(3.14159265358979323846L), "3.14159265358979");
    EXPECT_EQ(FormulaNumberText(NAN), "NAN");
    EXPECT_EQ(FormulaNumberText(-INFINITY), "-INF");
}

TEST(FormulaNumbers, FixedForm) {
    EXPECT_EQ(FixedNumberText(0.35355339059327), "0.35355339");
    EXPECT_EQ(FixedNumberText(1), "1.00000000");
    EXPECT_EQ(FixedNumberText(-2), "-2.00000000");
    EXPECT_EQ(FixedNumberText(123.456789), "123.45679000");
    EXPECT_EQ(FixedNumberText(0.0123456789), "0.01234568");
    EXPECT_EQ(FixedNumberText(0), "0.00000000");
    EXPECT_EQ(FixedNumberText(-1e-10), "0.00000000");
    EXPECT_EQ(FixedNumberText(99999999.4), "99999999.00000000");
    EXPECT_EQ(FixedNumberText(123456789), "1.2345679E8");
}

TEST(FormulaNumbers, Reading) {
    Ext v;
    for (const char* ok : {"1", "-1.5", "+2", ".5", "5.", "1E5", "1e-5", "2.5E+3", "007", "1E-70000"})
        EXPECT_TRUE(ReadFormulaNumber(ok, v)) << ok;
    ASSERT_TRUE(ReadFormulaNumber("21E-7", v));
    EXPECT_EQ(v, 21e-7L);
    for (const char* bad : {"", ".", "-", "+", "1E", "1E+", "1.2.3", "1,5", "inf", "nan", "0x10", " 1", "1 ",
                            "1E99999", "2-3", "--1", "1e5e5", "NAN", "INF"})
        EXPECT_FALSE(ReadFormulaNumber(bad, v)) << bad;
}

TEST(FormulaNumbers, RoundingTo15Digits) {
    EXPECT_EQ(RoundTo15Digits(1.0L / 3), 0.333333333333333L);
    EXPECT_EQ(RoundTo15Digits(2.0L / 3), 0.666666666666667L);
    EXPECT_EQ(RoundTo15Digits(-2.0L / 3), -0.666666666666667L);
    EXPECT_FALSE(std::signbit(RoundTo15Digits(-0.0L)));
    EXPECT_EQ(RoundTo15Digits(123456789012345678.0L), 123456789012346000.0L);
    EXPECT_EQ(RoundTo15Digits(9.999999999999999e-20L), 1e-19L);
    EXPECT_EQ(RoundTo15Digits(0.1L), 0.1L);  // a number read from text stays as it is
}

TEST(FormulaText, HasNamedFunction) {
    EXPECT_FALSE(HasNamedFunction("abs(x)"));
    EXPECT_FALSE(HasNamedFunction("|x|^2+x"));
    EXPECT_TRUE(HasNamedFunction("Sin(x)"));
    EXPECT_TRUE(HasNamedFunction("2*STUDENT(x,3)"));
    EXPECT_TRUE(HasNamedFunction("eks(x)"));
}

// The preparation's quirks as the evaluator sees them.
TEST(FormulaPrepare, EvaluatedQuirks) {
    EXPECT_EQ(*Eval("2x", 3), 23);  // a number against the variable is one number
    EXPECT_EQ(*Eval("x2", 3), 32);
    EXPECT_EQ(*Eval("x.5", 3), 3.5L);
    EXPECT_FALSE(Eval("x.5", 3.5L));
    EXPECT_EQ(*Eval("xx", 4), 44);
    EXPECT_FALSE(Eval("2x", -3));   // "2-3" is no number
    EXPECT_EQ(*Eval("2x", 1e-7L), 21e-7L);
    EXPECT_EQ(*Eval("$x", 5), 15);
    EXPECT_EQ(*Eval("|x-3|", 1), 2);
    EXPECT_EQ(*Eval("|x", -2), 2);
    EXPECT_EQ(*Eval("1,5+1.5"), 3);
    EXPECT_FALSE(Eval(""));
    EXPECT_FALSE(Eval("   "));
}

}  // namespace
