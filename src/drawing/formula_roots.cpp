// Roots of formulas in x, the rewriting of surface formulas for a moved and
// rotated graph, and partial derivatives of surface formulas.
#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "drawing/formula_internal.h"

namespace pelmar {

namespace {

using formula::LowerAZ;

constexpr std::string_view kPolynomialChars = "0123456789^+-*/().,x";
constexpr std::string_view kOperandChars = "0123456789^*/.,x";

// The additive terms of s (which ends with the "#" appended by the caller):
// cut before every "+" or "-" outside brackets and before the final "#"; each
// term keeps its sign.
std::vector<std::string> AdditiveTerms(const std::string& s) {
    std::vector<std::string> terms;
    int opens = 0, closes = 0;
    std::size_t start = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const char c = s[i];
        if (i > 0 && (i + 1 == s.size() || ((c == '+' || c == '-') && opens == closes))) {
            terms.push_back(s.substr(start, i - start));
            start = i;
        }
        if (c == '(') ++opens;
        if (c == ')') ++closes;
    }
    return terms;
}

// The degree (0, 1, 2) of a term written as a constant, c·x, c·x^2 or c·x*x,
// by its characters; -1 when it is none of these.
int TermDegree(const std::string& t) {
    const auto xs = std::count(t.begin(), t.end(), 'x');
    if (xs == 0) return 0;
    const bool polynomial = t.find_first_not_of(kPolynomialChars) == std::string::npos;
    const auto carets = t.empty() ? 0 : std::count(t.begin() + 1, t.end(), '^');
    const std::size_t firstOperand = t.find_first_of(kOperandChars);
    long innerSigns = 0;
    if (firstOperand != std::string::npos)
        for (std::size_t i = std::max<std::size_t>(1, firstOperand + 1); i < t.size(); ++i)
            innerSigns += t[i] == '+' || t[i] == '-';
    if (!polynomial || innerSigns > 0) return -1;
    const std::size_t fx = t.find('x');
    if (xs == 1 && carets == 0) return 1;
    if (xs == 1 && carets == 1 && t.compare(fx + 1, 2, "^2") == 0) return 2;
    if (xs == 2 && carets == 0 && t.compare(fx + 1, 2, "*x") == 0) return 2;
    return -1;
}

// Whether f is c·x^degree: checked at two more points, since the characters
// alone do not tell x^2 from x^21, c·x from c/x, or 2·x from the number "2x".
bool IsMonomial(const Formula& f, Ext c, int degree) {
    for (const Ext t : {2.0L, -3.0L}) {
        Ext v;
        if (!f.Calc(t, v)) return false;
        const Ext expected = c * (degree == 1 ? t : t * t);
        if (std::fabs(v - expected) > 1e-9L * std::max<Ext>(1, std::fabs(expected))) return false;
    }
    return true;
}

}  // namespace

namespace formula {

bool AnalyseTerms(const std::string& s, bool full, DistributionParameters& params, Ext& c0, Ext& c1, Ext& c2) {
    c0 = c1 = c2 = 0;
    for (const std::string& term : AdditiveTerms(s + "#")) {
        // A slot mark stands for a group with a sign inside: never a polynomial term.
        if (term.find_first_of(std::string_view(kSlotMarks, 3)) != std::string::npos) return false;
        const int degree = TermDegree(term);
        if (degree < 0) return false;
        const Formula f = Formula::Prepare(term, full, params);
        Ext c = 0;
        if (!f.Calc(degree == 0 ? 0 : 1, c) || (degree > 0 && !IsMonomial(f, c, degree))) return false;
        (degree == 0 ? c0 : degree == 1 ? c1 : c2) += c;
    }
    return true;
}

void RootsInRange(Ext c0, Ext c1, Ext c2, double lo, double hi, int& count, double& x1, double& x2) {
    count = 0;
    Ext r1 = 0, r2 = 0;
    bool two = false;
    if (c2 == 0) {
        if (c1 != 0) {
            count = 1;
            r1 = -c0 / c1;
        }
    } else {
        const Ext d = c1 * c1 - 4 * c2 * c0;
        if (d == 0) {
            count = 1;
            r1 = -c1 / (2 * c2);
        } else if (d > 0) {
            count = 2;
            two = true;
            // Both roots without cancellation: a square term that is only
            // rounding noise (a fitted line) leaves the line's root exact.
            const Ext q = -(c1 + std::copysign(std::sqrt(d), c1)) / 2;
            r1 = q / c2;
            r2 = c0 / q;
            if (r1 > r2) std::swap(r1, r2);
        }
    }
    auto outside = [&](Ext r) { return r < lo || r > hi; };
    if (count == 1 && outside(r1)) {
        count = 0;
    } else if (count == 2) {
        const bool out1 = outside(r1), out2 = outside(r2);
        if (out1) {
            --count;
            r1 = r2;
        }
        if (out2) --count;
    }
    x1 = static_cast<double>(r1);
    x2 = two ? static_cast<double>(r2) : 0;
}

}  // namespace formula

bool FormulaRoots(const std::string& s0, bool full, std::uint8_t mode, double lo, double hi, int& count,
                  double& x1, double& x2, DistributionParameters& params) {
    count = 0;
    x1 = 0;
    x2 = 0;
    std::string s = s0;
    LowerAZ(s);
    Ext c0, c1, c2;
    if (!formula::AnalyseTerms(s, full, params, c0, c1, c2)) {
        if (mode == 0) return false;
        // The quadratic through three samples; undefined samples or a singular
        // system leave the formula unrecognised.
        const Formula f = Formula::Prepare(s, full, params);
        auto eval = [&](Ext t, Ext& v) { return f.Calc(t, v); };
        if (!formula::FitQuadratic(eval, lo, hi, c0, c1, c2)) return false;
    }
    formula::RootsInRange(c0, c1, c2, lo, hi, count, x1, x2);
    return true;
}

void TransformFormula(const std::string& s0, const GraphTransform& t, std::string& r) {
    if (!t.Moved && !t.Rotated) {
        r = s0;
        return;
    }
    std::string s = s0;
    LowerAZ(s);
    // Numbers written into the text before it is prepared: no "E" notation.
    auto general = [](double v) { return formula::GeneralText(v, true); };
    if (t.Rotated) {
        const Ext phi = -static_cast<Ext>(t.Angle) * std::numbers::pi_v<long double> / 180;
        const Ext c = std::cos(phi), sn = std::sin(phi), k = 1 - c;
        const Ext nx = t.NX, ny = t.NY, nz = t.NZ;
        const Ext m[3][3] = {{k * nx * nx + c, k * nx * ny - sn * nz, k * nx * nz + sn * ny},
                             {k * nx * ny + sn * nz, k * ny * ny + c, k * ny * nz - sn * nx},
                             {k * nx * nz - sn * ny, k * ny * nz + sn * nx, k * nz * nz + c}};
        const std::string cx = general(t.CX), cy = general(t.CY), cz = general(t.CZ);
        auto row = [&](int i, const std::string& centre) {
            auto f = [&](int j) { return FixedNumberText(static_cast<double>(m[i][j])); };
            return formula::Join({"((", f(0), ")*(x-(", cx, "))+(", f(1), ")*(y-(", cy, "))+(", f(2), ")*(z-(", cz,
                                  "))+(", centre, "))"});
        };
        const std::string rx = row(0, cx), ry = row(1, cy), rz = row(2, cz);
        std::string out;
        for (char ch : s) {
            if (ch == 'x')
                out += rx;
            else if (ch == 'y')
                out += ry;
            else if (ch == 'z')
                out += rz;
            else
                out += ch;
        }
        s = std::move(out);
    }
    if (t.Moved) {
        const std::string dx = formula::Join({"(x-(", general(t.DX), "))"}),
                          dy = formula::Join({"(y-(", general(t.DY), "))"}),
                          dz = formula::Join({"(z-(", general(t.DZ), "))"});
        std::string out;
        for (char ch : s) {
            if (ch == 'x')
                out += dx;
            else if (ch == 'y')
                out += dy;
            else if (ch == 'z')
                out += dz;
            else
                out += ch;
        }
        s = std::move(out);
    }
    r = std::move(s);
}

double Min3(double u, double v, double w) { return std::min(u, std::min(v, w)); }
double Max3(double u, double v, double w) { return std::max(u, std::max(v, w)); }

double MinPointX(const std::array<Vec3, 6>& points, int n) {
    double r = points[0].x;
    for (int i = 1; i < n && i < 6; ++i) r = std::min(r, points[static_cast<std::size_t>(i)].x);
    return r;
}

double MaxPointX(const std::array<Vec3, 6>& points, int n) {
    double r = points[0].x;
    for (int i = 1; i < n && i < 6; ++i) r = std::max(r, points[static_cast<std::size_t>(i)].x);
    return r;
}

}  // namespace pelmar
