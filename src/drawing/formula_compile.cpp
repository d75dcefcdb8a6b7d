// Compiled formulas: a prepared text turned once into a small stack program
// that computes exactly what the text evaluator computes, bit for bit, without
// building or reading any text per evaluation.
//
// How the text evaluator behaves on a prepared text, and so what the program
// does.  A prepared text is a sequence of numbers "#...#" and the characters
// between them.  Brackets are evaluated first, each as a formula of its own.
// Inside a pair of brackets (or at the top):
//  - A run of function names must be followed by a number, and its names must
//    stand in strictly increasing table order ("sin cos x" works, "cos sin x"
//    and "cos cos x" fail): the evaluator always applies the name latest in
//    the table first, at its first occurrence, and that must then be the last
//    name of its run.  The functions apply from the innermost outwards.
//  - "^" needs a number on both sides, then "*" and "/" do, each left to right.
//  - What remains must be signed numbers; they are summed without rounding.
// Every other arrangement fails, for every value of the variable: letters that
// are not names, stray characters and stray ")" are never removed, and an
// operator without its numbers cannot be applied.  Every result written back
// is rounded to 15 significant digits, every number read is read from its text.
// A number holding the variable and other digits ("2x") is read from the text
// built per evaluation.
//
// Texts whose "#" marks do not pair up as preparation leaves them (a "#"
// typed by the user), and very deeply bracketed texts, are left to the text
// evaluator.
#include <algorithm>
#include <cfloat>
#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "drawing/formula_internal.h"

namespace pelmar {

using namespace formula;

namespace {

// The operations on a stack of values.  The forms with a suffix take their
// right operand from the instruction: C a constant (arg), V the variable;
// the R forms take the constant as their left operand (c - top, c / top,
// c ^ top).
enum class Op : std::uint8_t {
    Const, Var, Concat, Slot,
    Func, Pow, PowC, PowV, RPowC, PowInt,
    Mul, MulC, MulV, Div, DivC, DivV, RDivC,
    Add, AddC, AddV, Sub, SubC, SubV, RSubC,
    Neg, Round,
    Count
};

struct Instr {
    Op op;
    std::uint8_t fn = 0;
    std::uint32_t arg = 0;
};

constexpr int kMaxStack = 96;
constexpr int kMaxTreeDepth = 64;
constexpr int kMaxNesting = 40;
// Letters that occur in function names: a variable with one of these would
// change the names on substitution, so such texts go to the text evaluator.
constexpr std::string_view kNameLetters = "abcdefghiklmnoqrstu";

// The steps both the compiler (on constants) and the program (on values) do.
bool RoundStep(Ext& v) {
    v = Round15(v);
    return std::isfinite(v);
}
bool FuncStep(int k, Ext x, DistConsts& d, Ext& r) { return ApplyNamedFunction(k, x, d, r) && RoundStep(r); }
bool PowStep(Ext x, Ext y, Ext& r) { return PowerOp(x, y, r) && RoundStep(r); }
// PowerOp for a whole exponent known in advance (n = magnitude, 1..2^31-1):
// the same checks and the same products, without testing y.
__attribute__((always_inline)) inline bool PowIntRaw(Ext x, std::uint32_t n, bool negative, Ext& r) {
    if (negative && std::fabs(x) < kNearZero) return false;
    if (x == 0 && !negative) {
        r = 0;
    } else if (n == 2) {
        r = negative ? 1 / (x * x) : x * x;
    } else if (n == 3) {
        // The products of the loop below: x, then x·(x·x).
        const Ext p = x * (x * x);
        r = negative ? 1 / p : p;
    } else {
        Ext result = 1, b = x;
        for (;;) {
            if (n & 1) result *= b;
            n >>= 1;
            if (n == 0) break;
            b *= b;
        }
        r = negative ? 1 / result : result;
    }
    return std::isfinite(r);
}
bool MulStep(Ext x, Ext y, Ext& r) {
    r = x * y;
    return RoundStep(r);
}
bool DivStep(Ext x, Ext y, Ext& r) {
    if (std::fabs(y) < kNearZero) return false;
    r = x / y;
    return RoundStep(r);
}

bool IsRounded(Ext v) { return !std::signbit(v) ? RoundTo15Digits(v) == v : RoundTo15Digits(v) == v && v != 0; }

}  // namespace

struct Formula::Program {
    explicit Program(const DistributionParameters& p) : params(p), dist(p) {}
    std::string prepared;
    bool full = true;
    char letter = 'x';
    DistributionParameters params;
    bool slotsAllowed = false;  // a template: its slot marks are operands
    bool compiled = false;
    bool constant = false;
    bool constantOk = false;
    Ext constantValue = 0;
    bool usesVar = false;
    std::vector<Instr> code;
    std::vector<Ext> consts;
    std::vector<std::string> concats;
    mutable DistConsts dist;  // precomputed at compilation for the functions used
    // The same program as a tree, for single evaluations: a value passes from
    // an operation to the one that uses it as a function result, not through
    // memory.  Empty when the tree would be too deep to walk by recursion.
    struct Node {
        Op op;
        std::uint8_t fn = 0;
        std::uint32_t arg = 0;
        std::int32_t a = -1, b = -1;  // operands: a the left (or only) one
    };
    std::vector<Node> tree;
    // A program that is the variable followed by operations of one operand
    // only ("x^2", "sin(x)", "1/(1+x^2)"): run by one loop whose value stays
    // in a register, without the tree's calls.
    bool chain = false;
    // A program of chains joined two at a time ("2*x^3-3*x+1"): never more
    // than two values at once, the one below and the one being worked on.
    // Chains are such programs too.
    bool pair = false;
    // A pair program whose every operation keeps a value that is not finite
    // so (no division, no function, no negative power): such a value fails
    // at the end as it would at the step that made it.
    bool sticky = false;
    // Every step of the program has an interval bound (Access::SignOn).
    bool bounded = false;
};

namespace {

class Compiler {
public:
    explicit Compiler(Formula::Program& prog) : prog_(prog) {}

    // False when the text is left to the text evaluator.
    bool Run() {
        const char l = prog_.letter;
        if (l < 'a' || l > 'z' || kNameLetters.find(l) != std::string_view::npos) return false;
        if (!Tokenize() || !MatchBrackets()) return false;
        bool fisher = false, chisq = false, student = false;
        for (const Tok& t : toks_) {
            fisher |= t.kind == Tok::Name && t.a == kFisher;
            chisq |= t.kind == Tok::Name && t.a == kChisq;
            student |= t.kind == Tok::Name && t.a == kStudent;
        }
        prog_.dist.Precompute(fisher, chisq, student);

        Frag top = junk_ ? Frag{} : Group(0, toks_.size(), !prog_.full);
        if (top.kind != Frag::Code) {
            prog_.constant = true;
            prog_.constantOk = top.kind == Frag::Const && std::isfinite(top.value) &&
                               std::fabs(top.value) <= static_cast<Ext>(DBL_MAX);
            prog_.constantValue = top.value;
        } else {
            if (top.stack > kMaxStack) return false;
            prog_.code = std::move(top.code);
            BuildTree();
            prog_.chain = IsChain(prog_.code);
            prog_.pair = IsPair(prog_.code);
            prog_.sticky = prog_.pair && IsSticky(prog_.code);
            prog_.bounded = IsBounded(prog_.code);
        }
        prog_.compiled = true;
        return true;
    }

    static bool IsSticky(const std::vector<Instr>& code) {
        for (const Instr& in : code) {
            switch (in.op) {
                case Op::Var:
                case Op::Add:
                case Op::Sub:
                case Op::Mul:
                case Op::MulC:
                case Op::AddC:
                case Op::SubC:
                case Op::RSubC:
                case Op::Neg:
                case Op::Round: break;
                case Op::PowInt:
                    if (in.fn != 0) return false;
                    break;
                default: return false;
            }
        }
        return true;
    }

    // Whether Access::SignOn follows every step: no power with a stretch for
    // exponent, no number read from text, no slot, and only the functions it
    // bounds.
    static bool IsBounded(const std::vector<Instr>& code) {
        for (const Instr& in : code) {
            switch (in.op) {
                case Op::Pow:
                case Op::PowC:
                case Op::PowV:
                case Op::RPowC:
                case Op::Concat:
                case Op::Slot: return false;
                case Op::PowInt:
                    if (in.arg > 64) return false;
                    break;
                case Op::Func:
                    if (in.fn != kSin && in.fn != kCos && in.fn != kAbs && in.fn != kArctg && in.fn != kEks &&
                        in.fn != kLn && in.fn != kLg)
                        return false;
                    break;
                default: break;
            }
        }
        return true;
    }

    static bool IsPair(const std::vector<Instr>& code) {
        if (code.empty() || code[0].op != Op::Var) return false;
        int depth = 1;
        for (std::size_t i = 1; i < code.size(); ++i) {
            switch (code[i].op) {
                case Op::Var:
                    if (++depth > 2) return false;
                    break;
                case Op::Add:
                case Op::Sub:
                case Op::Mul:
                case Op::Div:
                    if (--depth < 1) return false;
                    break;
                default:
                    if (!IsChain({code[0], code[i]})) return false;
                    break;
            }
        }
        return depth == 1;
    }

    static bool IsChain(const std::vector<Instr>& code) {
        if (code.empty() || code[0].op != Op::Var) return false;
        for (std::size_t i = 1; i < code.size(); ++i) {
            switch (code[i].op) {
                case Op::Func:
                case Op::PowC:
                case Op::PowInt:
                case Op::MulC:
                case Op::DivC:
                case Op::RDivC:
                case Op::AddC:
                case Op::SubC:
                case Op::RSubC:
                case Op::Neg:
                case Op::Round: break;
                default: return false;
            }
        }
        return true;
    }

    // The tree of the program: operands before their operation, the root
    // last.  Left empty beyond kMaxTreeDepth.
    void BuildTree() {
        using Node = Formula::Program::Node;
        std::vector<Node> nodes;
        std::vector<std::int32_t> stack;
        std::vector<int> depth;
        nodes.reserve(prog_.code.size());
        for (const Instr& in : prog_.code) {
            Node n{in.op, in.fn, in.arg};
            int d = 1;
            switch (in.op) {
                case Op::Const:
                case Op::Var:
                case Op::Concat:
                case Op::Slot: break;
                case Op::Pow:
                case Op::Mul:
                case Op::Div:
                case Op::Add:
                case Op::Sub:
                    if (stack.size() < 2) return;
                    n.b = stack.back();
                    stack.pop_back();
                    n.a = stack.back();
                    stack.pop_back();
                    d = 1 + std::max(depth[static_cast<std::size_t>(n.a)], depth[static_cast<std::size_t>(n.b)]);
                    break;
                default:
                    if (stack.empty()) return;
                    n.a = stack.back();
                    stack.pop_back();
                    d = 1 + depth[static_cast<std::size_t>(n.a)];
            }
            if (d > kMaxTreeDepth) return;
            stack.push_back(static_cast<std::int32_t>(nodes.size()));
            nodes.push_back(n);
            depth.push_back(d);
        }
        if (stack.size() != 1) return;
        prog_.tree = std::move(nodes);
    }

private:
    struct Tok {
        enum Kind : std::uint8_t { Num, Open, Close, Plus, Minus, Mul, Div, Pow, Name, Slot } kind;
        int a = 0;  // Num: number index; Name: name index; Open: index of its Close; Slot: slot index
    };

    struct Frag {
        enum Kind : std::uint8_t { Fail, Const, Code } kind = Fail;
        Ext value = 0;
        bool rounded = false;  // its value is a number as written back (so never -0)
        std::vector<Instr> code;
        int stack = 0;
    };

    struct Item {
        enum Kind : std::uint8_t { Operand, Name, Plus, Minus, Mul, Div, Pow } kind;
        int name = 0;
        Frag frag{};
    };

    Formula::Program& prog_;
    std::vector<Tok> toks_;
    std::vector<Frag> nums_;
    bool junk_ = false;  // a character or letter run that makes every evaluation fail

    bool Tokenize() {
        const std::string& t = prog_.prepared;
        const char l = prog_.letter;
        for (std::size_t i = 0; i < t.size();) {
            const char c = t[i];
            if (c == '#') {
                const std::size_t j = t.find('#', i + 1);
                if (j == std::string::npos || j == i + 1) return false;
                bool hasLetter = false, allLetter = true;
                for (std::size_t k = i + 1; k < j; ++k) {
                    const char d = t[k];
                    if (d == l)
                        hasLetter = true;
                    else if ((d >= '0' && d <= '9') || d == '.')
                        allLetter = false;
                    else
                        return false;
                }
                toks_.push_back({Tok::Num, static_cast<int>(nums_.size())});
                nums_.push_back(NumFrag(std::string_view(t).substr(i + 1, j - i - 1), hasLetter,
                                        hasLetter && allLetter && j == i + 2));
                i = j + 1;
                continue;
            }
            switch (c) {
            case '(': toks_.push_back({Tok::Open}); break;
            case ')': toks_.push_back({Tok::Close}); break;
            case '+': toks_.push_back({Tok::Plus}); break;
            case '-': toks_.push_back({Tok::Minus}); break;
            case '*': toks_.push_back({Tok::Mul}); break;
            case '/': toks_.push_back({Tok::Div}); break;
            case '^': toks_.push_back({Tok::Pow}); break;
            case kSlotMarks[0]:
            case kSlotMarks[1]:
            case kSlotMarks[2]:
                if (prog_.slotsAllowed)
                    toks_.push_back({Tok::Slot, c - kSlotMarks[0]});
                else
                    junk_ = true;
                break;
            default:
                if ((c >= '0' && c <= '9') || c == '.' || c == l) return false;  // a number without marks
                if (c >= 'a' && c <= 'z') {
                    std::size_t j = i;
                    while (j < t.size() && t[j] >= 'a' && t[j] <= 'z') {
                        if (t[j] == l) return false;
                        ++j;
                    }
                    SplitNames(std::string_view(t).substr(i, j - i));
                    i = j;
                    continue;
                }
                junk_ = true;
            }
            ++i;
        }
        return true;
    }

    // A run of letters as function names (no name is a prefix of another, so
    // the split is unique); letters left over make every evaluation fail.
    void SplitNames(std::string_view run) {
        while (!run.empty()) {
            int found = -1;
            for (int k = 0; k < kNameCount; ++k)
                if (run.starts_with(kNames[static_cast<std::size_t>(k)])) found = k;
            if (found < 0) {
                junk_ = true;
                return;
            }
            toks_.push_back({Tok::Name, found});
            run.remove_prefix(kNames[static_cast<std::size_t>(found)].size());
        }
    }

    // Pairs the brackets; an opening bracket without partner is closed at the
    // end, a closing bracket without partner makes every evaluation fail.
    bool MatchBrackets() {
        std::vector<std::size_t> open;
        for (std::size_t i = 0; i < toks_.size(); ++i) {
            if (toks_[i].kind == Tok::Open) {
                open.push_back(i);
                if (open.size() > static_cast<std::size_t>(kMaxNesting)) return false;
            } else if (toks_[i].kind == Tok::Close) {
                if (open.empty()) {
                    junk_ = true;
                } else {
                    toks_[open.back()].a = static_cast<int>(i);
                    open.pop_back();
                }
            }
        }
        while (!open.empty()) {
            toks_[open.back()].a = static_cast<int>(toks_.size());
            toks_.push_back({Tok::Close});
            open.pop_back();
        }
        return true;
    }

    Frag NumFrag(std::string_view text, bool hasLetter, bool onlyLetter) {
        Frag f;
        if (onlyLetter) {
            f.kind = Frag::Code;
            f.rounded = true;
            f.code.push_back({Op::Var});
            f.stack = 1;
            prog_.usesVar = true;
        } else if (hasLetter) {
            f.kind = Frag::Code;
            f.code.push_back({Op::Concat, 0, static_cast<std::uint32_t>(prog_.concats.size())});
            prog_.concats.emplace_back(text);
            f.stack = 1;
            prog_.usesVar = true;
        } else if (ReadFormulaNumber(text, f.value)) {
            f.kind = Frag::Const;
            f.rounded = IsRounded(f.value);
        }
        return f;
    }

    void Materialize(Frag& f) {
        if (f.kind != Frag::Const) return;
        f.kind = Frag::Code;
        f.code = {{Op::Const, 0, static_cast<std::uint32_t>(prog_.consts.size())}};
        prog_.consts.push_back(f.value);
        f.stack = 1;
    }

    static Frag Constant(bool ok, Ext v) {
        Frag f;
        if (ok) {
            f.kind = Frag::Const;
            f.value = v;
            f.rounded = true;
        }
        return f;
    }

    Frag Binary(Frag a, Frag b, Op op) {
        if (a.kind == Frag::Fail || b.kind == Frag::Fail) return {};
        if (a.kind == Frag::Const && b.kind == Frag::Const) {
            Ext r = 0;
            bool ok = false;
            switch (op) {
            case Op::Pow: ok = PowStep(a.value, b.value, r); break;
            case Op::Mul: ok = MulStep(a.value, b.value, r); break;
            default: ok = DivStep(a.value, b.value, r); break;
            }
            return Constant(ok, r);
        }
        if (op == Op::Pow && b.kind == Frag::Const && IsWhole(b.value) && b.value != 0 &&
            std::fabs(b.value) <= 2147483647.0L) {
            // A whole constant exponent: no operand for it.
            const auto n = static_cast<std::int64_t>(static_cast<double>(b.value));
            a.code.push_back({Op::PowInt, static_cast<std::uint8_t>(n < 0),
                              static_cast<std::uint32_t>(n < 0 ? -n : n)});
            a.rounded = true;
            return a;
        }
        // A constant or the variable on one side is taken by the instruction.
        if (a.kind == Frag::Code && (b.kind == Frag::Const || IsVar(b))) {
            const bool var = b.kind != Frag::Const;
            const Op fused = op == Op::Pow ? (var ? Op::PowV : Op::PowC)
                           : op == Op::Mul ? (var ? Op::MulV : Op::MulC)
                                           : (var ? Op::DivV : Op::DivC);
            a.code.push_back({fused, 0, var ? 0 : ConstIndex(b.value)});
            a.rounded = true;
            return a;
        }
        if (a.kind == Frag::Const) {
            // x * y is y * x exactly; the others keep their order.
            const Op fused = op == Op::Pow ? Op::RPowC : op == Op::Mul ? Op::MulC : Op::RDivC;
            b.code.push_back({fused, 0, ConstIndex(a.value)});
            b.rounded = true;
            return b;
        }
        a.stack = std::max(a.stack, b.stack + 1);
        a.code.insert(a.code.end(), b.code.begin(), b.code.end());
        a.code.push_back({op});
        a.rounded = true;
        return a;
    }

    static bool IsVar(const Frag& f) { return f.kind == Frag::Code && f.code.size() == 1 && f.code[0].op == Op::Var; }

    std::uint32_t ConstIndex(Ext v) {
        prog_.consts.push_back(v);
        return static_cast<std::uint32_t>(prog_.consts.size() - 1);
    }

    // The items of one pair of brackets (or of the whole text), with inner
    // pairs already compiled.
    Frag Group(std::size_t begin, std::size_t end, bool absOnly) {
        std::vector<Item> items;
        for (std::size_t i = begin; i < end; ++i) {
            const Tok& t = toks_[i];
            switch (t.kind) {
            case Tok::Num: items.push_back({Item::Operand, 0, nums_[static_cast<std::size_t>(t.a)]}); break;
            case Tok::Open: {
                const auto close = static_cast<std::size_t>(t.a);
                items.push_back({Item::Operand, 0, Bracket(i + 1, close)});
                i = close;
                break;
            }
            case Tok::Slot: {
                Frag f;
                f.kind = Frag::Code;
                f.rounded = true;
                f.code.push_back({Op::Slot, 0, static_cast<std::uint32_t>(t.a)});
                f.stack = 1;
                prog_.usesVar = true;
                items.push_back({Item::Operand, 0, std::move(f)});
                break;
            }
            case Tok::Close: return {};  // not reached: pairs are skipped whole
            case Tok::Plus: items.push_back({Item::Plus}); break;
            case Tok::Minus: items.push_back({Item::Minus}); break;
            case Tok::Mul: items.push_back({Item::Mul}); break;
            case Tok::Div: items.push_back({Item::Div}); break;
            case Tok::Pow: items.push_back({Item::Pow}); break;
            case Tok::Name:
                if (absOnly && t.a != kAbs) return {};
                items.push_back({Item::Name, t.a});
                break;
            }
            if (!items.empty() && items.back().kind == Item::Operand && items.back().frag.kind == Frag::Fail)
                return {};
        }
        return Sum(items);
    }

    // A pair of brackets: its sum, written back as a number.
    Frag Bracket(std::size_t begin, std::size_t end) {
        Frag f = Group(begin, end, false);
        if (f.kind == Frag::Const) {
            Ext v = f.value;
            const bool ok = RoundStep(v);
            return Constant(ok, v);
        }
        if (f.kind == Frag::Code && !f.rounded) {
            f.code.push_back({Op::Round});
            f.rounded = true;
        }
        return f;
    }

    // Terms: signs and a product; summed left to right from 0.
    Frag Sum(std::vector<Item>& items) {
        std::size_t pos = 0;
        const std::size_t n = items.size();
        if (n == 0) return {};
        Ext acc = 0;
        bool accConst = true;  // every term so far was a constant
        int terms = 0;
        Frag sum;
        while (pos < n) {
            int sign = 1;
            while (pos < n && (items[pos].kind == Item::Plus || items[pos].kind == Item::Minus)) {
                if (items[pos].kind == Item::Minus) sign = -sign;
                ++pos;
            }
            Frag term = Product(items, pos);
            if (term.kind == Frag::Fail) return {};
            ++terms;
            if (accConst && term.kind == Frag::Const) {
                acc = acc + static_cast<Ext>(sign) * term.value;
                continue;
            }
            if (accConst) {
                accConst = false;
                if (terms == 1 && sign < 0) {  // 0 - t
                    sum = std::move(term);
                    sum.code.push_back({Op::Neg});
                } else if (terms == 1 && term.rounded) {  // 0 + t is t
                    sum = std::move(term);
                } else {
                    sum = Constant(true, acc);
                    Materialize(sum);
                    AppendTerm(sum, term, sign);
                }
                continue;
            }
            AppendTerm(sum, term, sign);
        }
        if (accConst) {
            Frag f;
            f.kind = Frag::Const;
            f.value = acc;
            f.rounded = IsRounded(acc);
            return f;
        }
        if (terms > 1) sum.rounded = false;
        return sum;
    }

    void AppendTerm(Frag& sum, Frag& term, int sign) {
        if (term.kind == Frag::Const || IsVar(term)) {
            const bool var = term.kind != Frag::Const;
            const Op op = sign > 0 ? (var ? Op::AddV : Op::AddC) : (var ? Op::SubV : Op::SubC);
            sum.code.push_back({op, 0, var ? 0 : ConstIndex(term.value)});
        } else if (sum.code.size() == 1 && sum.code[0].op == Op::Const) {
            // c + t is t + c exactly; c - t keeps its order.
            const std::uint32_t c = sum.code[0].arg;
            sum.code = std::move(term.code);
            sum.code.push_back({sign > 0 ? Op::AddC : Op::RSubC, 0, c});
            sum.stack = term.stack;
        } else {
            sum.stack = std::max(sum.stack, term.stack + 1);
            sum.code.insert(sum.code.end(), term.code.begin(), term.code.end());
            sum.code.push_back({sign > 0 ? Op::Add : Op::Sub});
        }
        sum.rounded = false;
    }

    Frag Product(std::vector<Item>& items, std::size_t& pos) {
        Frag a = Power(items, pos);
        while (a.kind != Frag::Fail && pos < items.size() &&
               (items[pos].kind == Item::Mul || items[pos].kind == Item::Div)) {
            const Op op = items[pos].kind == Item::Mul ? Op::Mul : Op::Div;
            ++pos;
            a = Binary(std::move(a), Power(items, pos), op);
        }
        return a;
    }

    Frag Power(std::vector<Item>& items, std::size_t& pos) {
        Frag a = Unit(items, pos);
        while (a.kind != Frag::Fail && pos < items.size() && items[pos].kind == Item::Pow) {
            ++pos;
            a = Binary(std::move(a), Unit(items, pos), Op::Pow);
        }
        return a;
    }

    // Function names and the number they apply to.
    Frag Unit(std::vector<Item>& items, std::size_t& pos) {
        const std::size_t first = pos;
        while (pos < items.size() && items[pos].kind == Item::Name) {
            if (pos > first && items[pos].name <= items[pos - 1].name) return {};
            ++pos;
        }
        if (pos >= items.size() || items[pos].kind != Item::Operand) return {};
        Frag f = std::move(items[pos].frag);
        for (std::size_t k = pos; k-- > first;) {
            const int name = items[k].name;
            if (f.kind == Frag::Const) {
                Ext r = 0;
                const bool ok = FuncStep(name, f.value, prog_.dist, r);
                f = Constant(ok, r);
                if (f.kind == Frag::Fail) return f;
            } else {
                f.code.push_back({Op::Func, static_cast<std::uint8_t>(name)});
                f.rounded = true;
            }
        }
        ++pos;
        return f;
    }
};

bool FinalValue(Ext v, Ext& value) {
    if (!std::isfinite(v) || std::fabs(v) > static_cast<Ext>(DBL_MAX)) return false;
    value = v;
    return true;
}

const std::string kEmpty;

void Fail(int n, bool* ok) {
    for (int l = 0; l < n; ++l) ok[l] = false;
}

}  // namespace

Formula::Formula() = default;

Formula Formula::Prepare(std::string_view text, bool full, DistributionParameters& params, char letter) {
    std::string s(text);
    const std::string_view vars(&letter, 1);
    if (full)
        PrepareFormula(s, vars, params);
    else
        PrepareFormulaLight(s, vars);
    return FromPrepared(std::move(s), full, params, letter);
}

Formula Formula::FromPrepared(std::string prepared, bool full, const DistributionParameters& params,
                              char letter) {
    auto prog = std::make_shared<Program>(params);
    prog->prepared = std::move(prepared);
    prog->full = full;
    prog->letter = letter;
    Compiler c(*prog);
    if (!c.Run()) {
        prog->compiled = false;
        prog->constant = false;
        prog->code.clear();
    }
    Formula f;
    f.prog_ = std::move(prog);
    return f;
}

const std::string& Formula::PreparedText() const { return prog_ ? prog_->prepared : kEmpty; }
bool Formula::IsFull() const { return prog_ && prog_->full; }
bool Formula::IsCompiled() const { return prog_ && prog_->compiled; }

namespace {

// The value of slot i of a template at x (xr: x written back); false when
// its group is no number.  scaled caches 0.35355339*x, which the y and z
// groups share.
bool SlotAt(const SlotValues* groups, std::uint32_t i, bool xFinite, Ext xr, Ext& scaled, bool& haveScaled,
            Ext& v) {
    if (!groups || !groups->value[i].ok) return false;
    const SlotValue& sv = groups->value[i];
    v = sv.base;
    if (sv.kind == SlotValue::Shifted || sv.kind == SlotValue::ShiftedScaled) {
        if (!xFinite) return false;
        Ext t = xr;
        if (sv.kind == SlotValue::ShiftedScaled) {
            if (!haveScaled) {
                if (!MulStep(groups->scale, xr, scaled)) return false;
                haveScaled = true;
            }
            t = scaled;
        }
        v = sv.base + t;
        return RoundStep(v);
    }
    return sv.kind == SlotValue::Fixed;
}

// The value of a number holding the variable ("2x"): read from its text.
bool ConcatAt(const Formula::Program& p, std::uint32_t i, Ext x, Ext& v) {
    const std::string xText = FormulaNumberText(x);
    std::string t;
    for (char c : p.concats[i]) {
        if (c == p.letter)
            t += xText;
        else
            t += c;
    }
    return ReadFormulaNumber(t, v);
}

// The program of a compiled formula at N values of x at once ("lanes"; a
// surface is sampled at two or three places at a time); groups may be null
// (no template).  Each lane computes exactly what one evaluation computes;
// sharing the steps between lanes shares the cost of stepping through the
// program.  The top of the stack is kept apart from the values below it.
// Each operation jumps straight to the next one (one indirect jump per
// operation, each predicted on its own); those that write their result back
// share one rounding.  ok[l] tells whether lane l gave a value.
template <int N>
void RunLanes(const Formula::Program& p, const Ext* x, const SlotValues* groups, Ext* value, bool* ok) {
    if (p.constant) {
        for (int l = 0; l < N; ++l) {
            ok[l] = p.constantOk;
            if (ok[l]) value[l] = p.constantValue;
        }
        return;
    }
    bool alive[N], xFinite[N];
    Ext xr[N];
    int living = N;
    for (int l = 0; l < N; ++l) {
        alive[l] = true;
        xFinite[l] = std::isfinite(x[l]);
        xr[l] = xFinite[l] ? Round15(x[l]) : 0;
    }
    auto kill = [&](int l) {
        if (alive[l]) {
            alive[l] = false;
            --living;
        }
    };
    Ext slotValue[3][N];
    bool haveSlot[3] = {false, false, false};
    Ext scaled[N];
    bool haveScaled[N];
    for (int l = 0; l < N; ++l) haveScaled[l] = false;
    Ext below[kMaxStack][N];
    int sp = 0;  // values in below
    Ext top[N];
    for (int l = 0; l < N; ++l) top[l] = 0;
    const Ext* consts = p.consts.data();
    const Instr* in = p.code.data();
    const Instr* const end = in + p.code.size();

    static constexpr void* kLabels[] = {
        &&L_Const, &&L_Var, &&L_Concat, &&L_Slot, &&L_Func, &&L_Pow, &&L_PowC, &&L_PowV, &&L_RPowC, &&L_PowInt,
        &&L_Mul, &&L_MulC, &&L_MulV, &&L_Div, &&L_DivC, &&L_DivV, &&L_RDivC, &&L_Add, &&L_AddC, &&L_AddV,
        &&L_Sub, &&L_SubC, &&L_SubV, &&L_RSubC, &&L_Neg, &&L_Round};
    static_assert(std::size(kLabels) == static_cast<std::size_t>(Op::Count));
#define PELMAR_NEXT()                                         \
    do {                                                      \
        if (living == 0 || ++in == end) goto done;            \
        goto* kLabels[static_cast<std::size_t>(in->op)];      \
    } while (false)
#define PELMAR_LANES for (int l = 0; l < N; ++l) if (alive[l])

    if (in == end) goto done;
    goto* kLabels[static_cast<std::size_t>(in->op)];

L_Const:
    PELMAR_LANES {
        below[sp][l] = top[l];
        top[l] = consts[in->arg];
    }
    ++sp;
    PELMAR_NEXT();
L_Var:
    PELMAR_LANES {
        if (!xFinite[l]) kill(l);
        below[sp][l] = top[l];
        top[l] = xr[l];
    }
    ++sp;
    PELMAR_NEXT();
L_Concat:
    PELMAR_LANES {
        Ext v = 0;
        if (!xFinite[l] || !ConcatAt(p, in->arg, x[l], v)) kill(l);
        below[sp][l] = top[l];
        top[l] = v;
    }
    ++sp;
    PELMAR_NEXT();
L_Slot: {
    const std::uint32_t i = in->arg;
    if (!haveSlot[i]) {
        PELMAR_LANES {
            if (!SlotAt(groups, i, xFinite[l], xr[l], scaled[l], haveScaled[l], slotValue[i][l])) kill(l);
        }
        haveSlot[i] = true;
    }
    PELMAR_LANES {
        below[sp][l] = top[l];
        top[l] = slotValue[i][l];
    }
    ++sp;
    PELMAR_NEXT();
}
L_Add:
    --sp;
    PELMAR_LANES top[l] = below[sp][l] + top[l];
    PELMAR_NEXT();
L_AddC:
    PELMAR_LANES top[l] = top[l] + consts[in->arg];
    PELMAR_NEXT();
L_AddV:
    PELMAR_LANES {
        if (!xFinite[l]) kill(l);
        top[l] = top[l] + xr[l];
    }
    PELMAR_NEXT();
L_Sub:
    --sp;
    PELMAR_LANES top[l] = below[sp][l] - top[l];
    PELMAR_NEXT();
L_SubC:
    PELMAR_LANES top[l] = top[l] - consts[in->arg];
    PELMAR_NEXT();
L_SubV:
    PELMAR_LANES {
        if (!xFinite[l]) kill(l);
        top[l] = top[l] - xr[l];
    }
    PELMAR_NEXT();
L_RSubC:
    PELMAR_LANES top[l] = consts[in->arg] - top[l];
    PELMAR_NEXT();
L_Neg:
    PELMAR_LANES top[l] = 0.0L - top[l];
    PELMAR_NEXT();
L_Func:
    PELMAR_LANES {
        Ext r = 0;
        if (!NamedFunctionStep(in->fn, top[l], p.dist, r)) kill(l);
        top[l] = r;
    }
    PELMAR_NEXT();
L_Pow:
    --sp;
    PELMAR_LANES {
        Ext r = 0;
        if (!PowerOp(below[sp][l], top[l], r)) kill(l);
        top[l] = r;
    }
    goto round;
L_PowC:
    PELMAR_LANES {
        Ext r = 0;
        if (!PowerOp(top[l], consts[in->arg], r)) kill(l);
        top[l] = r;
    }
    goto round;
L_PowV:
    PELMAR_LANES {
        Ext r = 0;
        if (!xFinite[l] || !PowerOp(top[l], xr[l], r)) kill(l);
        top[l] = r;
    }
    goto round;
L_RPowC:
    PELMAR_LANES {
        Ext r = 0;
        if (!PowerOp(consts[in->arg], top[l], r)) kill(l);
        top[l] = r;
    }
    goto round;
L_PowInt:
    PELMAR_LANES {
        if (!PowIntRaw(top[l], in->arg, in->fn != 0, top[l])) kill(l);
    }
    goto round;
L_Mul:
    --sp;
    PELMAR_LANES top[l] = below[sp][l] * top[l];
    goto round;
L_MulC:
    PELMAR_LANES top[l] = top[l] * consts[in->arg];
    goto round;
L_MulV:
    PELMAR_LANES {
        if (!xFinite[l]) kill(l);
        top[l] = top[l] * xr[l];
    }
    goto round;
L_Div:
    --sp;
    PELMAR_LANES {
        if (std::fabs(top[l]) < kNearZero)
            kill(l);
        else
            top[l] = below[sp][l] / top[l];
    }
    goto round;
L_DivC: {
    const Ext c = consts[in->arg];
    if (std::fabs(c) < kNearZero) return Fail(N, ok);
    PELMAR_LANES top[l] = top[l] / c;
    goto round;
}
L_DivV:
    PELMAR_LANES {
        if (!xFinite[l] || std::fabs(xr[l]) < kNearZero)
            kill(l);
        else
            top[l] = top[l] / xr[l];
    }
    goto round;
L_RDivC:
    PELMAR_LANES {
        if (std::fabs(top[l]) < kNearZero)
            kill(l);
        else
            top[l] = consts[in->arg] / top[l];
    }
    goto round;
L_Round:
round:
    // The result written back.
    PELMAR_LANES {
        top[l] = Round15(top[l]);
        if (!std::isfinite(top[l])) kill(l);
    }
    PELMAR_NEXT();
#undef PELMAR_LANES
#undef PELMAR_NEXT

done:
    for (int l = 0; l < N; ++l) ok[l] = alive[l] && FinalValue(top[l], value[l]);
}

// Bounds of a compiled program over a range of its variable: each operation
// on a range of values, every result widened by far more than the rounding
// of the step (15 digits, or the last bit of a long double) and the bounds'
// own rounding (they are doubles) can move it.  A step whose outcome over the
// range is not certain (a divisor that may be near zero, a power or function
// not covered here, a bound out of range) gives up: the bounds then tell
// nothing.
struct Span {
    double lo = 0, hi = 0;
};

// Far beyond the 5e-15 of the 15-digit rounding, the 2^-64 of a long double
// operation and the 2^-53 of a double one.
constexpr double kSpanSlack = 1e-12;
// Bounds stay well inside the range of doubles, so that no product of two
// overflows unnoticed.
constexpr double kSpanLimit = 0x1p400;

bool Widened(double lo, double hi, Span& out) {
    if (!(lo <= hi && lo > -kSpanLimit && hi < kSpanLimit)) return false;  // also NaN
    const double m = std::max(std::fabs(lo), std::fabs(hi)) * kSpanSlack + 1e-290;
    out = {lo - m, hi + m};
    return true;
}

// A long double value as a span of doubles.
bool SpanOf(Ext v, Span& out) {
    const auto d = static_cast<double>(v);
    return Widened(d, d, out);
}

bool SpanMul(const Span& a, const Span& b, Span& out) {
    const double p1 = a.lo * b.lo, p2 = a.lo * b.hi, p3 = a.hi * b.lo, p4 = a.hi * b.hi;
    return Widened(std::min(std::min(p1, p2), std::min(p3, p4)), std::max(std::max(p1, p2), std::max(p3, p4)), out);
}

// No value of a is near enough to zero to fail a division or a negative power.
bool ClearOfZero(const Span& a) {
    constexpr double edge = static_cast<double>(kNearZero) * (1 + kSpanSlack) + 1e-290;
    return a.lo > edge || a.hi < -edge;
}

bool SpanDiv(const Span& a, const Span& b, Span& out) {
    if (!ClearOfZero(b)) return false;
    Span inv;
    return Widened(1 / b.hi, 1 / b.lo, inv) && SpanMul(a, inv, out);
}

double PowWhole(double x, std::uint32_t n) {
    double r = 1;
    for (std::uint32_t i = 0; i < n; ++i) r *= x;
    return r;
}

bool SpanPowInt(const Span& a, std::uint32_t n, bool negative, Span& out) {
    if (n == 0 || n > 64) return false;
    const double m = std::max(-a.lo, a.hi);
    if (!(m < 0x1p6)) {
        // Keep the powers inside the range of the bounds.
        if (!(std::log2(m) * n < 390)) return false;
    }
    Span p;
    bool ok;
    if (n % 2 == 1 || a.lo >= 0)
        ok = Widened(PowWhole(a.lo, n), PowWhole(a.hi, n), p);
    else if (a.hi <= 0)
        ok = Widened(PowWhole(a.hi, n), PowWhole(a.lo, n), p);
    else
        ok = Widened(0, PowWhole(m, n), p);
    if (!ok) return false;
    if (!negative) {
        out = p;
        return true;
    }
    // 1 / x^n fails where x is near zero.
    return ClearOfZero(a) && SpanDiv(Span{1, 1}, p, out);
}

bool SpanFunc(int k, const Span& a, Span& out) {
    switch (k) {
        case kAbs:
            if (a.lo >= 0) return Widened(a.lo, a.hi, out);
            if (a.hi <= 0) return Widened(-a.hi, -a.lo, out);
            return Widened(0, std::max(-a.lo, a.hi), out);
        case kSin:
        case kCos: {
            if (std::max(-a.lo, a.hi) > 1e6 || a.hi - a.lo > 6.3) return Widened(-1, 1, out);
            auto f = [k](double t) { return k == kSin ? std::sin(t) : std::cos(t); };
            double lo = std::min(f(a.lo), f(a.hi)), hi = std::max(f(a.lo), f(a.hi));
            // The turning points pi/2 + j·pi of the sine, j·pi of the cosine
            // (1 for an even j, -1 for an odd one); one near an end counts.
            const double pi = std::numbers::pi;
            const double off = k == kSin ? pi / 2 : 0;
            const double jlo = std::ceil((a.lo - off) / pi - 1e-7), jhi = std::floor((a.hi - off) / pi + 1e-7);
            for (double j = jlo; j <= jhi; ++j) {
                if (std::fmod(j, 2) == 0)
                    hi = 1;
                else
                    lo = -1;
            }
            return Widened(lo - 1e-9, hi + 1e-9, out);
        }
        case kArctg: return Widened(std::atan(a.lo) - 1e-9, std::atan(a.hi) + 1e-9, out);
        case kEks: return Widened(std::exp(a.lo), std::exp(a.hi), out);
        case kLn:
        case kLg:
            // The logarithms fail at and below the near-zero limit.
            if (!(a.lo > static_cast<double>(kNearZero) * (1 + kSpanSlack) + 1e-290)) return false;
            return k == kLn ? Widened(std::log(a.lo), std::log(a.hi), out)
                            : Widened(std::log10(a.lo), std::log10(a.hi), out);
        default: return false;
    }
}

// The bounds of every value the program gives for x in [lo, hi], with true
// only when every evaluation there succeeds.
bool BoundProgram(const Formula::Program& p, Ext lo, Ext hi, const SlotValues* groups, Span& out) {
    if (!p.compiled) return false;
    if (p.constant) return p.constantOk && SpanOf(p.constantValue, out);
    // The variable as the program reads it (rounded to 15 digits).
    Span xr;
    if (!(lo <= hi) || !Widened(static_cast<double>(lo), static_cast<double>(hi), xr)) return false;
    Span slot[3];
    bool haveSlot[3] = {false, false, false};
    Span stack[kMaxStack];
    int sp = 0;  // values on the stack; the top is stack[sp - 1]
    const Ext* consts = p.consts.data();
    for (const Instr& in : p.code) {
        Span v;
        switch (in.op) {
            case Op::Const:
                if (!SpanOf(consts[in.arg], v)) return false;
                break;
            case Op::Var: v = xr; break;
            case Op::Slot: {
                const std::uint32_t i = in.arg;
                if (i > 2 || !groups || !groups->value[i].ok) return false;
                if (!haveSlot[i]) {
                    const SlotValue& sv = groups->value[i];
                    if (!SpanOf(sv.base, slot[i])) return false;
                    if (sv.kind == SlotValue::Shifted || sv.kind == SlotValue::ShiftedScaled) {
                        Span t = xr, scale;
                        if (sv.kind == SlotValue::ShiftedScaled &&
                            !(SpanOf(groups->scale, scale) && SpanMul(scale, xr, t)))
                            return false;
                        if (!Widened(slot[i].lo + t.lo, slot[i].hi + t.hi, slot[i])) return false;
                    } else if (sv.kind != SlotValue::Fixed) {
                        return false;
                    }
                    haveSlot[i] = true;
                }
                v = slot[i];
                break;
            }
            default: goto operation;
        }
        if (sp >= kMaxStack) return false;
        stack[sp++] = v;
        continue;
    operation: {
        if (sp < 1) return false;
        Span& top = stack[sp - 1];
        Span c, r;
        switch (in.op) {
            case Op::AddC:
            case Op::SubC:
            case Op::RSubC:
            case Op::MulC:
            case Op::DivC:
            case Op::RDivC:
                if (!SpanOf(consts[in.arg], c)) return false;
                break;
            default: break;
        }
        bool ok = false;
        switch (in.op) {
            case Op::Add:
            case Op::Sub:
            case Op::Mul:
            case Op::Div: {
                if (sp < 2) return false;
                const Span a = stack[sp - 2], b = top;
                --sp;
                if (in.op == Op::Add)
                    ok = Widened(a.lo + b.lo, a.hi + b.hi, r);
                else if (in.op == Op::Sub)
                    ok = Widened(a.lo - b.hi, a.hi - b.lo, r);
                else if (in.op == Op::Mul)
                    ok = SpanMul(a, b, r);
                else
                    ok = SpanDiv(a, b, r);
                break;
            }
            case Op::AddC: ok = Widened(top.lo + c.lo, top.hi + c.hi, r); break;
            case Op::AddV: ok = Widened(top.lo + xr.lo, top.hi + xr.hi, r); break;
            case Op::SubC: ok = Widened(top.lo - c.hi, top.hi - c.lo, r); break;
            case Op::SubV: ok = Widened(top.lo - xr.hi, top.hi - xr.lo, r); break;
            case Op::RSubC: ok = Widened(c.lo - top.hi, c.hi - top.lo, r); break;
            case Op::Neg: ok = Widened(-top.hi, -top.lo, r); break;
            case Op::MulC: ok = SpanMul(top, c, r); break;
            case Op::MulV: ok = SpanMul(top, xr, r); break;
            case Op::DivC: ok = SpanDiv(top, c, r); break;
            case Op::DivV: ok = SpanDiv(top, xr, r); break;
            case Op::RDivC: ok = SpanDiv(c, top, r); break;
            case Op::PowInt: ok = SpanPowInt(top, in.arg, in.fn != 0, r); break;
            case Op::Func: ok = SpanFunc(in.fn, top, r); break;
            case Op::Round: ok = Widened(top.lo, top.hi, r); break;
            default: return false;  // the general powers, numbers holding the variable
        }
        if (!ok) return false;
        stack[sp - 1] = r;
    }
    }
    if (sp != 1) return false;
    out = stack[0];  // inside the range of doubles: the final value fits
    return true;
}

// One evaluation by the tree.  A failed step sets failed, and every step
// stops as soon as an operand has failed.
struct TreeRun {
    const Formula::Program& p;
    const Ext* consts;
    const Formula::Program::Node* nodes;
    Ext x, xr;
    bool xFinite;
    const SlotValues* groups;
    bool haveSlot[3] = {false, false, false};
    bool haveScaled = false;
    bool failed = false;
    Ext scaled;        // set before use (haveScaled)
    Ext slotValue[3];  // set before use (haveSlot); left unset, not zeroed per run

    TreeRun(const Formula::Program& prog, Ext x0, const SlotValues* s)
        : p(prog), consts(prog.consts.data()), nodes(prog.tree.data()), x(x0), xr(0), xFinite(std::isfinite(x0)),
          groups(s) {
        if (xFinite) xr = Round15(x0);
    }

    Ext Fail() {
        failed = true;
        return 0;
    }
    // The result written back; a value that is not finite fails.
    __attribute__((always_inline)) Ext Rounded(Ext v) {
        v = Round15(v);
        return std::isfinite(v) ? v : Fail();
    }

    Ext Eval(std::int32_t i) {
        const Formula::Program::Node& n = nodes[i];
        switch (n.op) {
            case Op::Const: return consts[n.arg];
            case Op::Var: return xFinite ? xr : Fail();
            case Op::Concat: {
                Ext v;
                return xFinite && ConcatAt(p, n.arg, x, v) ? v : Fail();
            }
            case Op::Slot: {
                const std::uint32_t k = n.arg;
                if (!haveSlot[k]) {
                    if (!SlotAt(groups, k, xFinite, xr, scaled, haveScaled, slotValue[k])) return Fail();
                    haveSlot[k] = true;
                }
                return slotValue[k];
            }
            default: break;
        }
        // An operand that is the variable or a constant is read here, not by
        // a call: its value stays in a register.
        const Formula::Program::Node& na = nodes[n.a];
        const Ext a = na.op == Op::Var ? (xFinite ? xr : Fail()) : na.op == Op::Const ? consts[na.arg] : Eval(n.a);
        if (failed) return 0;
        switch (n.op) {
            case Op::AddC: return a + consts[n.arg];
            case Op::AddV: return xFinite ? a + xr : Fail();
            case Op::SubC: return a - consts[n.arg];
            case Op::SubV: return xFinite ? a - xr : Fail();
            case Op::RSubC: return consts[n.arg] - a;
            case Op::Neg: return 0.0L - a;
            case Op::Round: return Rounded(a);
            case Op::Func: {
                Ext r;
                return NamedFunctionStep(n.fn, a, p.dist, r) ? r : Fail();
            }
            case Op::PowC: {
                Ext r;
                return PowerOp(a, consts[n.arg], r) ? Rounded(r) : Fail();
            }
            case Op::PowV: {
                Ext r;
                return xFinite && PowerOp(a, xr, r) ? Rounded(r) : Fail();
            }
            case Op::RPowC: {
                Ext r;
                return PowerOp(consts[n.arg], a, r) ? Rounded(r) : Fail();
            }
            case Op::PowInt: {
                Ext r;
                return PowIntRaw(a, n.arg, n.fn != 0, r) ? Rounded(r) : Fail();
            }
            case Op::MulC: return Rounded(a * consts[n.arg]);
            case Op::MulV: return xFinite ? Rounded(a * xr) : Fail();
            case Op::DivC: {
                const Ext c = consts[n.arg];
                return std::fabs(c) < kNearZero ? Fail() : Rounded(a / c);
            }
            case Op::DivV: return !xFinite || std::fabs(xr) < kNearZero ? Fail() : Rounded(a / xr);
            case Op::RDivC: return std::fabs(a) < kNearZero ? Fail() : Rounded(consts[n.arg] / a);
            default: break;
        }
        const Formula::Program::Node& nb = nodes[n.b];
        const Ext b = nb.op == Op::Var ? (xFinite ? xr : Fail()) : nb.op == Op::Const ? consts[nb.arg] : Eval(n.b);
        if (failed) return 0;
        switch (n.op) {
            case Op::Add: return a + b;
            case Op::Sub: return a - b;
            case Op::Mul: return Rounded(a * b);
            case Op::Div: return std::fabs(b) < kNearZero ? Fail() : Rounded(a / b);
            case Op::Pow: {
                Ext r;
                return PowerOp(a, b, r) ? Rounded(r) : Fail();
            }
            default: return Fail();
        }
    }
};

// A chain or pair program (Program::chain, Program::pair) from its variable
// as the program reads it (x rounded).
template <bool Pair, bool Sticky>
__attribute__((always_inline)) inline bool RunChainFrom(const Formula::Program& p, const Ext xr, Ext& value) {
    Ext v = xr;
    Ext below = 0;  // the value below v in a pair program
    const Ext* consts = p.consts.data();
    for (const Instr *in = p.code.data() + 1, *end = p.code.data() + p.code.size(); in != end; ++in) {
        switch (in->op) {
            case Op::Var:
                if (!Pair) return false;
                below = v;
                v = xr;
                continue;
            case Op::Add:
                if (!Pair) return false;
                v = below + v;
                continue;
            case Op::Sub:
                if (!Pair) return false;
                v = below - v;
                continue;
            case Op::Mul:
                if (!Pair) return false;
                v = below * v;
                break;
            case Op::Div:
                if (!Pair || std::fabs(v) < kNearZero) return false;
                v = below / v;
                break;
            case Op::AddC: v = v + consts[in->arg]; continue;
            case Op::SubC: v = v - consts[in->arg]; continue;
            case Op::RSubC: v = consts[in->arg] - v; continue;
            case Op::Neg: v = 0.0L - v; continue;
            case Op::Func: {
                Ext r;
                if (!NamedFunctionStep(in->fn, v, p.dist, r)) return false;
                v = r;
                continue;
            }
            case Op::PowC: {
                Ext r;
                if (!PowerOp(v, consts[in->arg], r)) return false;
                v = r;
                break;
            }
            case Op::PowInt:
                if (!PowIntRaw(v, in->arg, in->fn != 0, v)) return false;
                break;
            case Op::MulC: v = v * consts[in->arg]; break;
            case Op::DivC: {
                const Ext c = consts[in->arg];
                if (std::fabs(c) < kNearZero) return false;
                v = v / c;
                break;
            }
            case Op::RDivC:
                if (std::fabs(v) < kNearZero) return false;
                v = consts[in->arg] / v;
                break;
            case Op::Round: break;
            default: return false;
        }
        // The result written back.  In a sticky program a value that is not
        // finite stays so to the end, and fails there.
        v = Round15(v);
        if (!Sticky && !std::isfinite(v)) return false;
    }
    return FinalValue(v, value);
}

// The same from the variable x.
template <bool Pair, bool Sticky>
__attribute__((always_inline)) inline bool RunChain(const Formula::Program& p, Ext x, Ext& value) {
    if (!std::isfinite(x)) return false;
    return RunChainFrom<Pair, Sticky>(p, Round15(x), value);
}

// A chain or pair program at n values at once, one after the other in one
// loop with nothing between them, so that the evaluations overlap; rounded,
// when not null, holds the variable as the program reads it.
template <bool Pair, bool Sticky>
void RunChainMany(const Formula::Program& p, int n, const double* x, const Ext* rounded, Ext* value, bool* ok) {
    for (int i = 0; i < n; ++i) {
        if (!std::isfinite(x[i]))
            ok[i] = false;
        else
            ok[i] = RunChainFrom<Pair, Sticky>(p, rounded ? rounded[i] : Round15(static_cast<Ext>(x[i])), value[i]);
    }
}

__attribute__((always_inline)) inline bool RunPair(const Formula::Program& p, Ext x, Ext& value) {
    if (p.chain) return p.sticky ? RunChain<false, true>(p, x, value) : RunChain<false, false>(p, x, value);
    return p.sticky ? RunChain<true, true>(p, x, value) : RunChain<true, false>(p, x, value);
}

__attribute__((always_inline)) inline bool Run(const Formula::Program& p, Ext x, const SlotValues* groups, Ext& value) {
    if (p.pair) return RunPair(p, x, value);
    if (p.tree.empty() || p.constant) {
        bool ok = false;
        RunLanes<1>(p, &x, groups, &value, &ok);
        return ok;
    }
    TreeRun t(p, x, groups);
    const Ext v = t.Eval(static_cast<std::int32_t>(p.tree.size() - 1));
    return !t.failed && FinalValue(v, value);
}

}  // namespace

namespace {

// Formula::Calc on everything but a chain program.
[[gnu::noinline]] bool CalcOther(const Formula::Program& p, Ext x, Ext& value) {
    if (!p.compiled) {
        std::string t;
        SubstVar(p.prepared, p.letter, x, t);
        return p.full ? CalcFormula(t, value, p.params) : CalcSimple(t, value, p.params);
    }
    return Run(p, x, nullptr, value);
}

}  // namespace

// A chain or pair program, the commonest, is run here with nothing else in the frame
// (the variable is not loaded and stored again on the way).
bool Formula::Calc(Ext x, Ext& value) const {
    const Program* p = prog_.get();
    if (!p) return false;
    if (p->pair && p->compiled) return RunPair(*p, x, value);
    return CalcOther(*p, x, value);
}

namespace formula {

Formula Access::PrepareTemplate(const std::string& text, bool full, DistributionParameters& params) {
    std::string s = text;
    if (full)
        PrepareFormula(s, "x", params);
    else
        PrepareFormulaLight(s, "x");
    auto prog = std::make_shared<Formula::Program>(params);
    prog->prepared = std::move(s);
    prog->full = full;
    prog->slotsAllowed = true;
    Compiler c(*prog);
    prog->compiled = c.Run();
    Formula f;
    f.prog_ = std::move(prog);
    return f;
}

bool Access::Calc(const Formula& f, Ext x, const SlotValues& groups, Ext& value) {
    if (!f.prog_ || !f.prog_->compiled) return false;
    return Run(*f.prog_, x, &groups, value);
}

void Access::Calc(const Formula& f, int n, const Ext* x, const SlotValues& groups, Ext* value, bool* ok) {
    if (!f.prog_ || !f.prog_->compiled || n < 1 || n > 3) return Fail(std::max(n, 0), ok);
    switch (n) {
        case 1: return RunLanes<1>(*f.prog_, x, &groups, value, ok);
        case 2: return RunLanes<2>(*f.prog_, x, &groups, value, ok);
        default: return RunLanes<3>(*f.prog_, x, &groups, value, ok);
    }
}

bool Access::Bound(const Formula& f, Ext lo, Ext hi, const SlotValues& groups, Ext& vlo, Ext& vhi) {
    if (!f.prog_) return false;
    Span out;
    if (!BoundProgram(*f.prog_, lo, hi, &groups, out)) return false;
    vlo = out.lo;
    vhi = out.hi;
    return true;
}

void Access::CalcMany(const Formula& f, int n, const double* x, const Ext* rounded, Ext* value, bool* ok) {
    if (n <= 0) return;
    if (f.prog_ && f.prog_->compiled && f.prog_->pair) {
        const Formula::Program& p = *f.prog_;
        if (p.chain)
            return p.sticky ? RunChainMany<false, true>(p, n, x, rounded, value, ok)
                            : RunChainMany<false, false>(p, n, x, rounded, value, ok);
        return p.sticky ? RunChainMany<true, true>(p, n, x, rounded, value, ok)
                        : RunChainMany<true, false>(p, n, x, rounded, value, ok);
    }
    for (int i = 0; i < n; ++i) ok[i] = f.Calc(x[i], value[i]);
}


bool Access::Bounded(const Formula& f) {
    const Formula::Program* p = f.prog_.get();
    return p && p->compiled && !p->constant && !p->slotsAllowed && !p->code.empty() && p->bounded;
}

int Access::SignOn(const Formula& f, Ext lo, Ext hi) {
    if (!Bounded(f) || !std::isfinite(lo) || !std::isfinite(hi)) return 0;
    Span r;
    if (!BoundProgram(*f.prog_, std::min(lo, hi), std::max(lo, hi), nullptr, r)) return 0;
    return r.lo > 0 ? 1 : r.hi < 0 ? -1 : 0;
}

SlotValue FixedSlot(double v, SlotValue::Kind kind) {
    SlotValue s;
    s.kind = kind;
    // The number FixedNumberText(v) stands for, without writing it; a number
    // in scientific notation would be lower-cased into a letter.
    s.ok = FixedNumberValue(v, s.base);
    // "(" base ")" is base written back: a number of eight digits is its own
    // 15-digit rounding.
    return s;
}

}  // namespace formula

}  // namespace pelmar
