#include "app/run_driver.h"

#include "base/messages.h"
#include "cli/grammar.h"
#include "cli/run_request.h"
#include "report/debug_report.h"
#include "timing/compare.h"
#include "timing/reference_time.h"
#include "timing/stamp_lookup.h"

namespace {

// Everything one run holds, owned by RunDatora.
struct Run {
  RunRequest request;
  TimeValue now = 0;
  OperandValue first;
  OperandValue second;
  DateMode dateMode = DateMode::Exact;  // decided from the options and both operands
  TimeValue time1 = 0;                  // the values compared, cut to their days in a date mode
  TimeValue time2 = 0;
  Relation relation = SameTime;  // exact, without the tolerance
  ExitCode verdict = ExitTrue;
};

// True when the first parameter asks for the usage text: empty, or "/?".
bool IsUsageRequest(const Text& firstParameter) {
  return firstParameter.empty() || firstParameter == u"/?";
}

OperandValue EvaluateSecondOperand(Run& run, Platform& platform) {
  const RunRequest& request = run.request;
  const ReferenceKind kind = RecognizeReferenceTime(platform, request.file2);
  if (kind == ReferenceKind::None)
    return EvaluateFileOperand(platform, request.file2, request.stamp2);
  return EvaluateReferenceTime(platform, kind, request.file2, run.now);
}

// The first operand is examined first, so when both are bad only the first
// is reported. Returns the error text, empty when both have values.
Text EvaluateOperands(Run& run, Platform& platform) {
  run.now = platform.CurrentTime();
  run.first = EvaluateFileOperand(platform, run.request.file1, run.request.stamp1);
  if (run.first.Failed()) return run.first.message;
  run.second = EvaluateSecondOperand(run, platform);
  if (run.second.Failed()) return run.second.message;
  run.dateMode = DecideDateMode(run.request.dateMode, run.first.dateEffect, run.second.dateEffect);
  return Text();
}

// The tolerance sees the moments as read, before a date mode cuts them to
// their days: a copy 0.5 s after midnight of a file written 0.5 s before it
// is still the same time. A day is no moment, so it gets no tolerance: a
// file written just before that day stays before it. The relation kept for
// the report is the one without the tolerance, so it still tells which way
// the moments differ.
void CompareOperands(Run& run, Platform& platform) {
  const RunRequest& request = run.request;
  const bool tolerated =
      !run.first.IsDay() && !run.second.IsDay() &&
      WithinTolerance(run.first.time, run.second.time, request.toleranceTicks, request.hourShift);
  run.time1 = CutToDate(platform, run.first.time, run.first.form, run.dateMode);
  run.time2 = CutToDate(platform, run.second.time, run.second.form, run.dateMode);
  run.relation = CompareTimes(run.time1, run.time2);
  run.verdict = Verdict(tolerated ? SameTime : run.relation, request.acceptMask);
}

ExitCode ReportError(Platform& platform, std::span<const std::u16string_view> lines) {
  platform.WriteErrorText(lines);
  return ExitError;
}

ExitCode ReportError(Platform& platform, const Text& message) {
  const std::u16string_view line = message;
  return ReportError(platform, {&line, 1});
}

}  // namespace

ExitCode RunDatora(Platform& platform) {
  Run run;
  run.request.file1 = platform.NextParameter();
  if (IsUsageRequest(run.request.file1)) return ReportError(platform, UsageLines());

  ParseArguments(run.request, platform);
  if (!run.request.message.empty()) return ReportError(platform, run.request.message);
  const Text failure = EvaluateOperands(run, platform);
  if (!failure.empty()) return ReportError(platform, failure);

  CompareOperands(run, platform);
  if (run.request.debug) {
    const std::array<Text, 2> report =
        DebugReportLines(run.verdict, run.relation, run.time1, run.time2, run.dateMode);
    for (const Text& line : report) platform.WriteLine(line);
  }
  return run.verdict;
}
