#include "dialogs/graph_rules.h"

#include <cmath>

#include "dialogs/number_text.h"
#include "drawing/sub_curve.h"
#include "files/word_table.h"
#include "model/normal_rule.h"

namespace pelmar {

namespace {

GraphNumber Refused(std::string why) { return {std::nullopt, std::move(why)}; }

}  // namespace

GraphNumber TakeGraphNumber(const WordTable& words, double typed) {
    if (std::isfinite(typed) && std::fabs(typed) <= kGraphNumberLimit) return {typed, {}};
    return Refused(LimitNote(words, LimitCase::Number));
}

GraphNumber TakeRangeNumber(const WordTable& words, GraphRange range, RangePart part, double typed) {
    GraphNumber g = TakeGraphNumber(words, typed);
    if (!g.value) return g;
    if (range.scale > 0 && part != RangePart::Step && !WithinCoordLimit(typed * range.scale))
        return Refused(LimitNote(words, LimitCase::Reach) + " " +
                       FillIn(words.Said("При этом масштабе — не дальше %1.", "At this scale, no farther than %1."),
                              {NumberText(kCoordLimit / range.scale)}));
    double& own = part == RangePart::Start ? range.start : part == RangePart::End ? range.end : range.step;
    own = typed;
    // An empty range, or a step past its end, leaves the graph without a
    // line: refused, as the drawer would draw nothing without a word.
    if (part == RangePart::Start && !(range.start < range.end))
        return Refused(FillIn(words.Said("Начало диапазона должно быть меньше его конца (%1): значение не взято.",
                                         "A range starts before its end (%1): the value was not taken."),
                              {NumberText(range.end)}));
    if (part == RangePart::End && !(range.end > range.start))
        return Refused(FillIn(words.Said("Конец диапазона должен быть больше его начала (%1): значение не взято.",
                                         "A range ends after its start (%1): the value was not taken."),
                              {NumberText(range.start)}));
    if (range.step > 0 && range.start < range.end && range.step > range.end - range.start)
        return Refused(FillIn(words.Said("Шаг %3 длиннее диапазона от %1 до %2: такой график не рисуется.",
                                         "A step of %3 is longer than the range from %1 to %2: such a graph is "
                                         "not drawn."),
                              {NumberText(range.start), NumberText(range.end), NumberText(range.step)}));
    if (range.step > 0 && !CurveSamplable(range.start, range.end, range.step))
        return Refused(FillIn(words.Said("От %1 до %2 с шагом %3 — больше миллиона точек: такой график не рисуется.",
                                         "From %1 to %2 by %3 is more than a million samples: such a graph is "
                                         "not drawn."),
                              {NumberText(range.start), NumberText(range.end), NumberText(range.step)}));
    return g;
}

GraphNumber TakeNormalComponent(const WordTable& words, std::array<double, 3> normal, int which, double typed) {
    GraphNumber g = TakeGraphNumber(words, typed);
    if (!g.value || which < 0 || which > 2) return g;
    normal[static_cast<std::size_t>(which)] = typed;
    if (!NormalHasDirection(normal[0], normal[1], normal[2]))
        return Refused(std::string(words.Said(ZeroNormalRussian, ZeroNormalEnglish)));
    return g;
}

}  // namespace pelmar
