#include "app/run_driver.h"

#include "app/messages.h"
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
  TimeValue time1 = 0;
  TimeValue time2 = 0;
  bool secondIsDay = false;      // today[-n] or a date: day, not a moment
  Relation relation = SameTime;  // exact, without the tolerance
  ExitCode verdict = ExitTrue;
};

void SetNotFound(Run& run, const Text& name) {
  run.request.message.assign(NotFoundPrefix);
  run.request.message += name;
}

// Fills time1 and time2; the first operand is examined first, so when both
// are bad only the first is reported.
void EvaluateOperands(Run& run, Platform& platform) {
  RunRequest& request = run.request;
  run.now = platform.CurrentTime();
  run.time1 = LookupStamp(platform, request.file1, request.stamp1);
  if (run.time1 == 0) return SetNotFound(run, request.file1);

  const ReferenceKind kind = RecognizeReferenceTime(platform, request.file2);
  if (kind != ReferenceKind::None) {
    EvaluateReferenceTime(platform, kind, request.file2, run.now, request.dateMode, run.time2,
                          request.message);
    // Only an expression that names a day leaves a date mode in force.
    run.secondIsDay = request.dateMode != DateMode::Exact;
    return;
  }
  run.time2 = LookupStamp(platform, request.file2, request.stamp2);
  if (run.time2 == 0) SetNotFound(run, request.file2);
}

// The tolerance sees the moments as read, before a date mode cuts them to
// their days: a copy 0.5 s after midnight of a file written 0.5 s before it
// is still the same time. A day named by an expression is no moment (a
// date: day stands at its first tick), so it gets no tolerance: a file
// written just before that day stays before it. The relation kept for the
// report is the one without the tolerance, so it still tells which way the
// moments differ.
void CompareOperands(Run& run, Platform& platform) {
  const RunRequest& request = run.request;
  const bool tolerated =
      !run.secondIsDay &&
      WithinTolerance(run.time1, run.time2, request.toleranceTicks, request.hourShift);
  NormalizeToDate(platform, run.time1, run.time2, request.dateMode);
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
  if (run.request.message.empty()) EvaluateOperands(run, platform);
  if (!run.request.message.empty()) return ReportError(platform, run.request.message);

  CompareOperands(run, platform);
  if (run.request.debug) {
    const std::array<Text, 2> report =
        DebugReportLines(run.verdict, run.relation, run.time1, run.time2, run.request.dateMode);
    for (const Text& line : report) platform.WriteLine(line);
  }
  return run.verdict;
}
