#include "app/run_driver.h"

#include "base/messages.h"
#include "cli/grammar.h"
#include "cli/run_request.h"
#include "report/debug_report.h"
#include "timing/compare.h"
#include "timing/reference_time.h"
#include "timing/set_operand.h"
#include "timing/stamp_lookup.h"

namespace {

// Everything one run holds, owned by RunDatora.
struct Run {
  RunRequest request;
  TimeValue now = 0;
  SetOperand set1;  // a set operand's prefix and path; isSet false for others
  SetOperand set2;
  OperandValue first;
  OperandValue second;
  DateMode dateMode = DateMode::Exact;  // decided from the options and both operands
  Comparison comparison;
};

ComparisonRule RuleOf(const Run& run) {
  const RunRequest& request = run.request;
  return {run.dateMode, request.acceptMask, request.toleranceTicks, request.hourShift};
}

// True when the first parameter asks for the usage text: empty, or "/?".
bool IsUsageRequest(const Text& firstParameter) {
  return firstParameter.empty() || firstParameter == u"/?";
}

// An operand that names a set is only checked here; WalkSet gives its
// value once both operands are known.
OperandValue CheckOperand(Platform& platform, const Text& operand, const SetOperand& set,
                          StampKind kind) {
  if (set.isSet) return CheckSetPath(platform, operand, set);
  return EvaluateFileOperand(platform, operand, kind);
}

OperandValue CheckSecondOperand(Run& run, Platform& platform) {
  const RunRequest& request = run.request;
  const ReferenceKind kind = RecognizeReferenceTime(platform, request.file2);
  if (kind != ReferenceKind::None) {
    return EvaluateReferenceTime(platform, kind, request.file2, run.now);
  }
  return CheckOperand(platform, request.file2, run.set2, request.stamp2);
}

OperandValue WalkOperand(Platform& platform, const Run& run, bool first,
                         const VerdictProbe* probe) {
  const RunRequest& request = run.request;
  SetWalk walk;
  walk.operand = first ? request.file1 : request.file2;
  walk.set = first ? run.set1 : run.set2;
  walk.kind = first ? request.stamp1 : request.stamp2;
  walk.subfolders = request.subfolders;
  walk.probe = probe;
  walk.mayStop = !request.debug;
  return WalkSet(platform, walk);
}

// With two sets the first is read whole, with nothing to decide against;
// the other is then read against its value.
Text WalkSets(Run& run, Platform& platform) {
  const ComparisonRule rule = RuleOf(run);
  if (run.set1.isSet) {
    const VerdictProbe probe = MakeVerdictProbe(platform, run.second, true, rule);
    run.first = WalkOperand(platform, run, true, run.set2.isSet ? nullptr : &probe);
    if (run.first.Failed()) return run.first.message;
  }
  if (run.set2.isSet) {
    const VerdictProbe probe = MakeVerdictProbe(platform, run.first, false, rule);
    run.second = WalkOperand(platform, run, false, &probe);
    if (run.second.Failed()) return run.second.message;
  }
  return Text();
}

// Each operand's existence first, in order, so that when both are bad only
// the first is reported; then the walks. Returns the error text, empty when
// both have values.
Text EvaluateOperands(Run& run, Platform& platform) {
  const RunRequest& request = run.request;
  run.now = platform.CurrentTime();
  run.set1 = RecognizeSetOperand(platform, request.file1);
  run.first = CheckOperand(platform, request.file1, run.set1, request.stamp1);
  if (run.first.Failed()) return run.first.message;
  run.set2 = RecognizeSetOperand(platform, request.file2);
  run.second = CheckSecondOperand(run, platform);
  if (run.second.Failed()) return run.second.message;
  run.dateMode = DecideDateMode(request.dateMode, run.first.dateEffect, run.second.dateEffect);
  return WalkSets(run, platform);
}

// The report's member lines: for each set, the member that gave its value.
void WriteMemberLines(const Run& run, Platform& platform) {
  const OperandValue* values[] = {&run.first, &run.second};
  const bool sets[] = {run.set1.isSet, run.set2.isSet};
  for (int i = 0; i < 2; ++i) {
    if (!sets[i]) continue;
    Text line = i == 0 ? u"File1: " : u"File2: ";
    line += values[i]->member;
    if (values[i]->partlyRead) line += u" (not all read)";
    platform.WriteLine(line);
  }
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

  const Comparison& result = run.comparison =
      CompareValues(platform, run.first, run.second, RuleOf(run));
  if (run.request.debug) {
    const std::array<Text, 2> report =
        DebugReportLines(result.verdict, result.relation, result.time1, result.time2, run.dateMode);
    for (const Text& line : report) platform.WriteLine(line);
    WriteMemberLines(run, platform);
  }
  return result.verdict;
}
