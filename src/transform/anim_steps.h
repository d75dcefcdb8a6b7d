// The step procedures of the animation builder: for one time value t each
// object re-evaluates its animation formulas (texts in x) and those of its
// parts, stores the values that evaluated, and is then recomputed once as the
// still of those values (UpdateAsStill), parts included.  A procedure
// evaluates all its own formulas before it stores any.
#pragma once

#include <string>
#include <unordered_map>

#include "drawing/formula.h"
#include "model/records.h"

namespace pelmar {

// Evaluates formulas at the frame's time and remembers whether any failed.
// Prepared formulas are kept, so a formula is prepared once per build.
class AnimEval {
public:
    explicit AnimEval(char decimalSeparator = ',') : sep_(decimalSeparator) {}

    double t = 0;         // the frame's time
    bool failed = false;  // some formula did not evaluate

    // False for an empty formula (value untouched, no failure) and for one
    // that does not evaluate (failure noted).
    bool Eval(const std::string& formula, double& value);
    // The same at a given x, without noting a failure.
    bool EvalAt(const std::string& formula, Ext x, Ext& value);
    char separator() const { return sep_; }

private:
    const Formula& prepared(const std::string& formula);
    std::unordered_map<std::string, Formula> cache_;
    DistributionParameters params_;
    char sep_;
};

// "$" of an equation replaced by the value: "(" + 8 decimals + ")", in fixed
// notation with "." whatever the user's separator, so that the formula reader
// takes it back: a "," would split a function's arguments and an exponent
// would read as the constant e.  A value that is no number gives "(0)".
std::string EquationParameterText(double value);

void SetTimePo(DPoint& p, AnimEval& ev);
void SetTimeLi(DLine& l, AnimEval& ev);
void SetTimeCi(DCircle& c, AnimEval& ev);
void SetTimeTr(DTri& t, AnimEval& ev);
void SetTimeKv(DKv& k, AnimEval& ev);
void SetTimeXY(DXOY& x, AnimEval& ev);
void SetTimeSf(DSf& s, AnimEval& ev);
void SetTimeZi(DZi& z, AnimEval& ev);
void SetTimeKo(DKo& k, AnimEval& ev);
void SetTimePi3(DPi3& p, AnimEval& ev);
void SetTimePi4(DPi4& p, AnimEval& ev);
void SetTimePr3(DPr3& p, AnimEval& ev);
void SetTimePr4(DPr4& p, AnimEval& ev);
void SetTimeXZ(DXZ& x, AnimEval& ev);

// Every object of the document, kind by kind, in index order.
void SetTimeAll(DProj& doc, AnimEval& ev);

}  // namespace pelmar
