#include "timing/set_decision.h"

#include <limits>

namespace {

constexpr TimeValue LastTick = std::numeric_limits<TimeValue>::max();

void AddEdge(VerdictProbe& probe, TimeValue edge) { probe.edges[probe.edgeCount++] = edge; }

// The first value whose cut lies at or after `day` (after, with `past`),
// by bisection: the cut never decreases as the value grows.
TimeValue FirstValueCutFrom(Platform& platform, TimeValue day, DateMode mode, bool past) {
  TimeValue low = 0;  // the answer lies in (low, high]
  TimeValue high = LastTick;
  if (CutToDate(platform, 0, OperandForm::Moment, mode) > day - (past ? 0 : 1)) return 0;
  while (high - low > 1) {
    const TimeValue middle = low + (high - low) / 2;
    const TimeValue cut = CutToDate(platform, middle, OperandForm::Moment, mode);
    if (past ? cut > day : cut >= day) {
      high = middle;
    } else {
      low = middle;
    }
  }
  return high;
}

}  // namespace

VerdictProbe MakeVerdictProbe(Platform& platform, const OperandValue& other, bool setIsFirst,
                              const ComparisonRule& rule) {
  VerdictProbe probe;
  probe.platform = &platform;
  probe.setIsFirst = setIsFirst;
  probe.rule = rule;
  (setIsFirst ? probe.second : probe.first) = other;
  const TimeValue x = other.time;
  AddEdge(probe, x);
  AddEdge(probe, AddTicksSaturated(x, -rule.tolerance));
  AddEdge(probe, AddTicksSaturated(x, rule.tolerance));
  if (rule.hourShift) {
    for (const TimeValue hour : {-TicksPerHour, TicksPerHour}) {
      AddEdge(probe, AddTicksSaturated(AddTicksSaturated(x, hour), -rule.tolerance));
      AddEdge(probe, AddTicksSaturated(AddTicksSaturated(x, hour), rule.tolerance));
    }
  }
  if (rule.dateMode != DateMode::Exact) {
    const TimeValue day = CutToDate(platform, x, other.form, rule.dateMode);
    AddEdge(probe, FirstValueCutFrom(platform, day, rule.dateMode, false));
    AddEdge(probe, FirstValueCutFrom(platform, day, rule.dateMode, true));
  }
  return probe;
}

ExitCode VerdictAt(const VerdictProbe& probe, TimeValue value) {
  OperandValue set;
  set.time = value;
  const OperandValue& first = probe.setIsFirst ? set : probe.first;
  const OperandValue& second = probe.setIsFirst ? probe.second : set;
  return CompareValues(*probe.platform, first, second, probe.rule).verdict;
}

// The verdict is constant between two neighbouring edges, so testing each
// edge and the ticks on either side of it, within the range, and the
// range's far end covers every value the range holds.
bool IsDecided(const VerdictProbe& probe, SetEnd end, TimeValue extreme) {
  const TimeValue low = end == SetEnd::Newest ? extreme : 1;
  const TimeValue high = end == SetEnd::Newest ? LastTick : extreme;
  const ExitCode verdict = VerdictAt(probe, extreme);
  if (VerdictAt(probe, end == SetEnd::Newest ? high : low) != verdict) return false;
  for (size_t i = 0; i < probe.edgeCount; ++i) {
    for (const TimeValue step : {-1, 0, 1}) {
      const TimeValue value = AddTicksSaturated(probe.edges[i], step);
      if (value < low || value > high) continue;
      if (VerdictAt(probe, value) != verdict) return false;
    }
  }
  return true;
}
