// newest:PATH and oldest:PATH: the newest or oldest stamp among the files
// of a directory (and, with /s, of every directory below it).
#pragma once

#include "base/text.h"
#include "base/time_value.h"
#include "platform/platform.h"
#include "timing/operand_value.h"
#include "timing/set_decision.h"

struct SetOperand {
  bool isSet = false;
  SetEnd end = SetEnd::Newest;
  Text path;  // what follows the prefix
};

// A set when the operand begins with "newest:" or "oldest:" after
// lower-casing; otherwise isSet is false.
SetOperand RecognizeSetOperand(Platform& platform, const Text& operand);

// Whether the set's path exists: fails with "Not found or invalid: " +
// `operand` for an empty or missing path. Its value comes from WalkSet.
OperandValue CheckSetPath(Platform& platform, const Text& operand, const SetOperand& set);

struct SetWalk {
  Text operand;  // as typed, for the messages
  SetOperand set;
  StampKind kind = StampKind::Modified;
  bool subfolders = false;
  // The verdict as a function of the set's value; null where the other
  // operand's value is not known yet, and nothing can be decided.
  const VerdictProbe* probe = nullptr;
  bool mayStop = true;  // false: read every member (/debug)
};

// Reads the members of the set and gives the extreme value and the member
// it came from; of equal values, the member with the smallest path below
// the set's path, compared component by component. Stops as soon as the
// probe finds the answer decided, where `mayStop`. An entry or directory
// that vanished is skipped. A directory that cannot be listed ("Cannot
// read: " + its path) or a member whose stamp cannot be read or is missing
// ("Not found or invalid: " + its path) is remembered, the first one met,
// and the walk goes on; at the end it is the message unless the answer is
// decided (partlyRead). No member at all: "No files in: " + the operand.
OperandValue WalkSet(Platform& platform, const SetWalk& walk);
