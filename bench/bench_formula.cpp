// Formula evaluation speed: nanoseconds per evaluation of typical graph
// formulas, prepared once (Formula), beside the same formulas written as plain
// C++ in double (native), as hand-written C++ that keeps the language's rules
// (extended precision, every result written back rounded to 15 digits, the
// same domain checks: the floor of any evaluator of these rules), and the
// text route (SubstVar + CalcFormula per sample).
// Each benchmark evaluates 1000 samples on [-5, 5]; the counter ns_per_eval is
// the time of one evaluation.
#include <benchmark/benchmark.h>

#include <cfloat>
#include <cmath>
#include <numbers>
#include <string>
#include <utility>

#include "drawing/formula.h"
#include "drawing/formula_internal.h"

using namespace pelmar;

namespace {

constexpr int kSamples = 1000;

// The language's rules by hand: R writes a result back (15 digits), and the
// steps fail on what the language fails on.  Each returns false where the
// formula is undefined.
Ext R(Ext v) { return formula::Round15(v); }
bool Finish(Ext v, Ext& out) {
    if (!std::isfinite(v) || std::fabs(v) > static_cast<Ext>(DBL_MAX)) return false;
    out = v;
    return true;
}
bool Fn(int k, Ext x, Ext& r) {
    static DistributionParameters p = [] {
        DistributionParameters q;
        q.NormSigma = 1;
        return q;
    }();
    thread_local formula::DistConsts d(p);
    return formula::NamedFunctionStep(k, x, d, r);
}

struct Case {
    const char* text;
    double (*cpp)(double);
    bool (*rules)(Ext, Ext&);
};

constexpr Case kCases[] = {
    {"x^2", [](double x) { return x * x; },
     [](Ext x, Ext& v) {
         const Ext a = R(x);
         return Finish(R(a * a), v);
     }},
    {"2*x^3-3*x+1", [](double x) { return 2 * x * x * x - 3 * x + 1; },
     [](Ext x, Ext& v) {
         const Ext a = R(x);
         return Finish(R(2 * R(a * (a * a))) - R(3 * a) + 1, v);
     }},
    {"sin(x)", [](double x) { return std::sin(x); },
     [](Ext x, Ext& v) {
         Ext s;
         return Fn(formula::kSin, R(x), s) && Finish(s, v);
     }},
    {"sin(x)*cos(2*x)", [](double x) { return std::sin(x) * std::cos(2 * x); },
     [](Ext x, Ext& v) {
         const Ext a = R(x);
         Ext s, c;
         return Fn(formula::kSin, a, s) && Fn(formula::kCos, R(2 * a), c) && Finish(R(s * c), v);
     }},
    {"eks(-x^2/2)", [](double x) { return std::exp(-x * x / 2); },
     [](Ext x, Ext& v) {
         const Ext a = R(x);
         Ext e;
         return Fn(formula::kEks, 0.0L - R(R(a * a) / 2), e) && Finish(e, v);
     }},
    {"1/(1+x^2)", [](double x) { return 1 / (1 + x * x); },
     [](Ext x, Ext& v) {
         const Ext a = R(x), d = R(1 + R(a * a));
         return std::fabs(d) >= formula::kNearZero && Finish(R(1 / d), v);
     }},
    {"|x|^0.5+ln(x^2+1)", [](double x) { return std::sqrt(std::fabs(x)) + std::log(x * x + 1); },
     [](Ext x, Ext& v) {
         const Ext a = R(x);
         Ext b, p, l;
         return Fn(formula::kAbs, a, b) && formula::PowerOp(b, 0.5L, p) &&
                Fn(formula::kLn, R(R(a * a) + 1), l) && Finish(R(p) + l, v);
     }},
    {"norm(x,0,1)", [](double x) { return std::exp(-x * x / 2) / std::sqrt(2 * std::numbers::pi); },
     [](Ext x, Ext& v) {
         Ext n;
         return Fn(formula::kNorm, R(x), n) && Finish(n, v);
     }},
};

double Sample(int i) { return -5 + 10.0 * i / kSamples; }

void SetLabel(benchmark::State& st, int c) {
    st.SetLabel(kCases[c].text);
    st.counters["ns_per_eval"] = benchmark::Counter(
        static_cast<double>(st.iterations()) * kSamples * 1e-9,
        benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_Compiled(benchmark::State& st) {
    const int c = static_cast<int>(st.range(0));
    DistributionParameters p;
    const Formula f = Formula::Prepare(kCases[c].text, true, p);
    if (!f.IsCompiled()) st.SkipWithError("not compiled");
    for (auto _ : st) {
        Ext sum = 0;
        for (int i = 0; i < kSamples; ++i) {
            Ext v;
            if (f.Calc(Sample(i), v)) sum += v;
        }
        benchmark::DoNotOptimize(sum);
    }
    SetLabel(st, c);
}

void BM_PlainCpp(benchmark::State& st) {
    const int c = static_cast<int>(st.range(0));
    double (*fn)(double) = kCases[c].cpp;
    benchmark::DoNotOptimize(fn);
    for (auto _ : st) {
        double sum = 0;
        for (int i = 0; i < kSamples; ++i) sum += fn(Sample(i));
        benchmark::DoNotOptimize(sum);
    }
    SetLabel(st, c);
}

// The floor: the rules by hand, checked once against the compiled formula,
// and written out inline in the loop (the case is a template argument, so
// the compiler sees the very steps, as it would in hand-written code).
template <int C>
void BM_RulesCpp(benchmark::State& st) {
    constexpr auto fn = kCases[C].rules;
    DistributionParameters p;
    const Formula f = Formula::Prepare(kCases[C].text, true, p);
    for (int i = 0; i < kSamples; ++i) {
        Ext a = 0, b = 0;
        const bool okA = fn(Sample(i), a), okB = f.Calc(Sample(i), b);
        if (okA != okB || (okA && a != b)) {
            st.SkipWithError("the hand-written rules differ from the formula");
            return;
        }
    }
    for (auto _ : st) {
        Ext sum = 0;
        for (int i = 0; i < kSamples; ++i) {
            Ext v;
            if (fn(Sample(i), v)) sum += v;
        }
        benchmark::DoNotOptimize(sum);
    }
    SetLabel(st, C);
}

template <int... C>
void RegisterRules(std::integer_sequence<int, C...>) {
    (benchmark::RegisterBenchmark(("BM_RulesCpp/" + std::to_string(C)).c_str(), BM_RulesCpp<C>), ...);
}

void BM_TextRoute(benchmark::State& st) {
    const int c = static_cast<int>(st.range(0));
    DistributionParameters p;
    std::string prepared = kCases[c].text, t;
    PrepareFormula(prepared, "x", p);
    for (auto _ : st) {
        Ext sum = 0;
        for (int i = 0; i < kSamples; ++i) {
            SubstVar(prepared, 'x', Sample(i), t);
            Ext v;
            if (CalcFormula(t, v, p)) sum += v;
        }
        benchmark::DoNotOptimize(sum);
    }
    SetLabel(st, c);
}

// Preparing and compiling once (a surface's ray formula is prepared per pixel).
void BM_Prepare(benchmark::State& st) {
    const int c = static_cast<int>(st.range(0));
    for (auto _ : st) {
        DistributionParameters p;
        benchmark::DoNotOptimize(Formula::Prepare(kCases[c].text, true, p));
    }
    st.SetLabel(kCases[c].text);
}

constexpr int kCount = static_cast<int>(std::size(kCases));

// One ray test per pixel of a shaded surface (mode 1, with shading).
void BM_RaySurfaceHit(benchmark::State& st) {
    const std::array<Vec3, 8> box = {Vec3{2, -2, -2}, Vec3{2, 2, -2}, Vec3{-2, 2, -2}, Vec3{-2, -2, -2},
                                     Vec3{2, -2, 2},  Vec3{2, 2, 2},  Vec3{-2, 2, 2},  Vec3{-2, -2, 2}};
    DistributionParameters p;
    DImProj im;
    int i = 0;
    for (auto _ : st) {
        TColor c = 0;
        const Vec3 q{0, -1.5 + (i % 100) * 0.03, -1.5 + (i / 100 % 100) * 0.03};
        ++i;
        benchmark::DoNotOptimize(RaySurfaceHit(q, false, box, "x^2+y^2+z^2-1", static_cast<std::uint8_t>(st.range(0)),
                                               0.05, {}, 0xFF, 0xFF00, 0xFF0000, im, true, c, true, p));
    }
}

}  // namespace

BENCHMARK(BM_PlainCpp)->DenseRange(0, kCount - 1);
[[maybe_unused]] static const int kRulesRegistered = (RegisterRules(std::make_integer_sequence<int, kCount>{}), 0);
BENCHMARK(BM_Compiled)->DenseRange(0, kCount - 1);
BENCHMARK(BM_TextRoute)->DenseRange(0, kCount - 1);
BENCHMARK(BM_Prepare)->DenseRange(0, kCount - 1);
BENCHMARK(BM_RaySurfaceHit)->Arg(1)->Arg(0);
