#include "timing/stamp_lookup.h"

#include "base/messages.h"

OperandValue EvaluateFileOperand(Platform& platform, const Text& name, StampKind kind) {
  EntryStamps stamps;
  if (name.empty() || !platform.FindEntryStamps(name, kind, stamps) || StampOf(stamps, kind) == 0) {
    return FailedOperand(NotFoundPrefix, name);
  }
  OperandValue value;
  value.time = StampOf(stamps, kind);
  return value;
}
