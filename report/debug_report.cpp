#include "report/debug_report.h"

namespace {

Text DecimalText(uint64_t value) {
  char16_t digits[20];
  size_t count = 0;
  do {
    digits[count++] = static_cast<char16_t>(u'0' + value % 10);
    value /= 10;
  } while (value != 0);
  Text text;
  while (count > 0) text.push_back(digits[--count]);
  return text;
}

}  // namespace

uint64_t DebugDifference(TimeValue time1, TimeValue time2) {
  // Converting the exact magnitude to double rounds once, to nearest, as
  // rounding the signed difference would.
  const double difference = static_cast<double>(TimeDistance(time1, time2));
  if (difference >= 18446744073709551616.0) return UINT64_MAX;
  return static_cast<uint64_t>(difference);
}

Text FormatResponseLine(ExitCode verdict) {
  return verdict == ExitFalse ? Text(u"Resp: false") : Text(u"Resp: true");
}

Text FormatDifferenceLine(Relation relation, TimeValue time1, TimeValue time2, DateMode mode) {
  const bool days = mode != DateMode::Exact;
  const uint64_t ticksPerUnit = days ? TicksPerDay : TicksPerSecond;
  const uint64_t difference = DebugDifference(time1, time2) / ticksPerUnit;
  Text line = u"Diff: ";
  line += DecimalText(difference);
  line += days ? u" days" : u" seconds";
  if (difference != 0) line += relation == Before ? u" before" : u" after";
  return line;
}

std::array<Text, 2> DebugReportLines(ExitCode verdict, Relation relation, TimeValue time1,
                                     TimeValue time2, DateMode mode) {
  return {FormatResponseLine(verdict), FormatDifferenceLine(relation, time1, time2, mode)};
}
