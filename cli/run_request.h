// The parsed command line of one run, and the run's error text.
#pragma once

#include "base/text.h"
#include "base/time_value.h"

struct RunRequest {
  Text file1;                                    // first operand, a file or directory name
  Text file2;                                    // second operand, joined from its pieces
  StampKind currentStamp = StampKind::Modified;  // the stamp keyword seen last
  StampKind stamp1 = StampKind::Created;         // captured at file2's first piece
  StampKind stamp2 = StampKind::Created;         // captured when the parameters end
  int relationMask = 0;                          // exclusive-or of the relation bits named
  int notMask = 0;                               // 0 or 7, flipped by each "not"
  int acceptMask = 0;                            // relations that make the verdict true
  DateMode dateMode = DateMode::Exact;
  TimeValue toleranceTicks = 0;  // values at most this far apart are the same time
  bool hourShift = false;        // /dst: values one hour (± the tolerance) apart are too
  bool debug = false;
  bool subfolders = false;   // /s: sets read every directory below their path
  Text subfoldersParameter;  // the first /s as typed
  Text message;              // empty until the first error
};
