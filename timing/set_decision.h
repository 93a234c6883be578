// Whether a set's answer is decided before all of it is read: the verdict
// as a function of the set's value, and the few values where it can change.
#pragma once

#include <array>
#include <cstddef>

#include "base/exit_code.h"
#include "base/time_value.h"
#include "platform/platform.h"
#include "timing/compare.h"
#include "timing/operand_value.h"

// Which member's value a set operand stands for.
enum class SetEnd { Newest, Oldest };

// The run's verdict as a function of the value of one operand, a set,
// with the other operand and everything else as given.
struct VerdictProbe {
  Platform* platform = nullptr;
  OperandValue first;
  OperandValue second;
  bool setIsFirst = true;
  ComparisonRule rule;
  // The values next to which the verdict may change: the other value X,
  // X ± the tolerance, with /dst X ± 1 h ± the tolerance, and in a date
  // mode the first ticks of X's day and of the day after it.
  std::array<TimeValue, 12> edges{};
  size_t edgeCount = 0;
};

// The probe for a set on the side `setIsFirst` against `other`'s value.
VerdictProbe MakeVerdictProbe(Platform& platform, const OperandValue& other, bool setIsFirst,
                              const ComparisonRule& rule);

// The verdict were the set's value `value`.
ExitCode VerdictAt(const VerdictProbe& probe, TimeValue value);

// True when the verdict is the same for every value the set can still
// take once `extreme` has been read: every value from it to the end of
// the tick scale (Newest), or from the first tick (1) to it (Oldest).
bool IsDecided(const VerdictProbe& probe, SetEnd end, TimeValue extreme);
