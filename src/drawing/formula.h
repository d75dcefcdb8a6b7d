// The formula language of graphs, surfaces and animations.
//
// A formula is text in one variable (always "x" in this program): numbers,
// the variable, "pi", the operators ^ * / + - (":" for "/"), brackets,
// |bars| for abs, and the named functions sin, cos, tg, ctg, arcsin, arccos,
// arctg, arcctg, abs, ln, lg, eks, gamma, norm, fisher, chisq and student.
//
// The language is defined by rewriting text: preparation puts the text into a
// normal form in which every number stands between two "#" marks; the
// variable is replaced by the text of its value; evaluation then rewrites the
// text step by step, writing every intermediate result back as a number of at
// most 15 significant digits.  Its quirks (2^3^2 is 64, "2x" is the number
// 2 followed by the digits of x, adjacent terms are added, sin cos x works but
// cos sin x does not) are part of the documents users wrote, so they stay.
//
// Two ways to evaluate:
//  - PrepareFormula / SubstVar / CalcFormula: the text functions, which do the
//    rewriting literally.  Fine for a formula evaluated a few times.
//  - Formula: prepared once into a compact program that gives exactly the
//    results of the text functions, bit for bit, without touching text.  Use
//    it for anything evaluated per sample (graphs, surfaces).
//
// Arithmetic faults (division by a near-zero number, logarithm of a
// non-positive number, overflow, undefined distribution parameters, ...) make
// the evaluation fail; it never yields NaN or infinity and never throws.  A
// result outside the range of double also fails.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "drawing/graph_transform.h"
#include "model/geometry.h"
#include "model/records.h"

namespace pelmar {

// The parameters of the distribution functions.  PrepareFormula reads them
// from "norm(x,mu,sigma)", "fisher(x,m,n)", "chisq(x,n)" and "student(x,n)" and
// the evaluation uses them; a preparation that finds no parameters for a
// function leaves its values as they were, so one context object is kept for
// all the formulas of a drawing.  All start at 0, which makes the functions
// fail until parameters are given.
struct DistributionParameters {
    double NormMu = 0;
    double NormSigma = 0;
    std::int32_t FisherM = 0;
    std::int32_t FisherN = 0;
    std::int32_t ChisqN = 0;
    std::int32_t StudentN = 0;
};

// ---------------------------------------------------------------------------
// Text functions

// Puts s into the prepared form: "$" read as 1, blanks removed, A-Z lower-cased,
// the distribution parameters taken out, "," as decimal separator turned into
// ".", "pi" replaced by its value, ":" by "/", |bars| by abs( ), and every run
// of digits, "." and letters of vars wrapped in "#" marks.  Never fails.
void PrepareFormula(std::string& s, std::string_view vars, DistributionParameters& params);

// The same without taking out distribution parameters (for CalcSimple).
void PrepareFormulaLight(std::string& s, std::string_view vars);

// dest := src with every occurrence of letter replaced by the text of value
// (FormulaNumberText).
void SubstVar(const std::string& src, char letter, Ext value, std::string& dest);

// Evaluates a prepared text whose variable has been substituted.  Returns false
// on a malformed text or an arithmetic fault; value is meaningful only on true.
bool CalcFormula(const std::string& s, Ext& value, const DistributionParameters& params);

// The light evaluator: brackets, abs and the operators only; a named function
// other than abs outside brackets fails.  The text inside brackets is
// evaluated by CalcFormula.
bool CalcSimple(const std::string& s, Ext& value, const DistributionParameters& params);

// True when the lower-cased s holds any named function other than abs.
bool HasNamedFunction(std::string_view s);

// ---------------------------------------------------------------------------
// Number texts

// The general form: up to 15 significant digits, trailing zeros dropped, "."
// as separator, scientific ("1.5E-7", "1E20") below 0.00001 in magnitude or
// with more than 15 integer digits.  Zero is "0"; NaN and the infinities are
// "NAN", "INF" and "-INF" (which no formula reads as a number).
std::string FormulaNumberText(Ext v);

// The fixed form for numbers written into formula texts: rounded to 8
// significant digits and written with exactly 8 decimals ("0.35355339",
// "-2.00000000"); scientific with more than 8 integer digits.
std::string FixedNumberText(double v);

// A number of a formula text: an optional sign, digits with at most one ".",
// an optional exponent ("E" or "e", optional sign, digits).  False for anything
// else and for a value beyond the range of Ext.
bool ReadFormulaNumber(std::string_view text, Ext& v);

// The value that writing v with FormulaNumberText and reading it back gives:
// v rounded to 15 significant digits.  Zero comes back as +0.
Ext RoundTo15Digits(Ext v);

// ---------------------------------------------------------------------------
// Prepared formulas

namespace formula {
struct Access;
}

class Formula {
public:
    // An empty formula: every evaluation fails.
    Formula();

    // Prepares text once.  full: PrepareFormula and the CalcFormula rules
    // (params is read and updated as by PrepareFormula); otherwise
    // PrepareFormulaLight and the CalcSimple rules.  The evaluation uses the
    // distribution parameters as they are after the preparation.
    static Formula Prepare(std::string_view text, bool full, DistributionParameters& params,
                           char letter = 'x');

    // From a text already prepared (with letter as its variable).
    static Formula FromPrepared(std::string prepared, bool full, const DistributionParameters& params,
                                char letter = 'x');

    // The value at x: what SubstVar and CalcFormula (CalcSimple) give.
    bool Calc(Ext x, Ext& value) const;

    const std::string& PreparedText() const;
    bool IsFull() const;
    // False when the prepared text is not in a form the compiler takes (stray
    // "#" marks, very deep brackets); it is then evaluated by rewriting text.
    bool IsCompiled() const;

    struct Program;

private:
    friend struct formula::Access;
    std::shared_ptr<const Program> prog_;
};

// ---------------------------------------------------------------------------
// Roots and surfaces

// Roots of the formula s in x on [lo, hi] (bounds included).  s is cut into
// additive terms; when every term is a constant, c·x, c·x^2 or c·x*x the roots
// are exact.  Otherwise mode 0 returns false, and mode 1 takes the quadratic
// through the samples at lo, (lo + hi)/2 and hi (false when a sample is
// undefined or the fit is singular).  On true, count (0..2) roots lie in
// [lo, hi], x1 the first; x2 is the larger root of the quadratic when it had
// two, else 0.  Full chooses the evaluator pair.
bool FormulaRoots(const std::string& s, bool full, std::uint8_t mode, double lo, double hi, int& count,
                  double& x1, double& x2, DistributionParameters& params);

// r := s rewritten so that the surface s = 0 is rotated and then shifted by t.
void TransformFormula(const std::string& s, const GraphTransform& t, std::string& r);

double Min3(double u, double v, double w);
double Max3(double u, double v, double w);
// The smallest (largest) X among the first n points; n < 1 gives point 0's X.
double MinPointX(const std::array<Vec3, 6>& points, int n);
double MaxPointX(const std::array<Vec3, 6>& points, int n);

// ∂s/∂x (axis 1), ∂s/∂y (2) or ∂s/∂z (3) of the formula s in x, y, z at p, by
// a forward difference with h = 1e-5; 0 when s cannot be evaluated there.
double PartialDerivative(const std::string& s, Vec3 p, std::uint8_t axis, bool full,
                         DistributionParameters& params);

// The part of space the drawing window of a 3D coordinate system shows: the
// box of its axes' room about the origin, in model units.  A hidden-line test
// looks for a hiding surface only there.  Off: no limit.
struct ScanWindow {
    bool On = false;
    Vec3 Lo, Hi;
};

// Whether the viewing ray through p, p + t·(1, 1/√8, 1/√8), meets the surface
// s(x, y, z) = 0 inside the box of the eight corners.  fromPoint: only in
// front of p (t from step on).  t only tells whether the box is axis-parallel
// (s must already be rewritten for it).  mode 1 fits a quadratic along the
// ray; otherwise, or when that does not apply, the ray is scanned from the
// viewer's side in steps of step (none when step is not positive), and the
// first sign change between defined samples is the hit.  With shade and a hit,
// colour receives the shaded colour of the hit point (light settings of
// imProj).  The surface is prepared once and kept for the calls that follow
// with the same formula.  With fromPoint and a window, the scan covers only
// the part of the ray inside the window, one step beyond it on each side, on
// the same samples as the whole scan.
bool RaySurfaceHit(Vec3 p, bool fromPoint, const std::array<Vec3, 8>& corners, const std::string& s,
                   std::uint8_t mode, double step, const GraphTransform& t, TColor c1, TColor c2, TColor c3,
                   const DImProj& imProj, bool shade, TColor& colour, bool full,
                   DistributionParameters& params, const ScanWindow& window = {});

}  // namespace pelmar
