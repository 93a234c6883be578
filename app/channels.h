// The two output channels. Each write goes to the console when the channel
// is one; otherwise the same text goes out as UTF-16LE bytes without a
// byte-order mark.
#pragma once

#include "platform/platform.h"

// Text followed by CR LF on standard output, in one write, then a flush.
void WriteLine(Platform& platform, const Text& text);

// Text on standard error, then a single LF in a second write; no flush.
void WriteErrorText(Platform& platform, const Text& text);
