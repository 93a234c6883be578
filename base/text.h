// The text type every part of Datora shares.
#pragma once

#include <string>

// UTF-16 text, as the Windows console and file system use it. The Linux
// build decodes argv into it losslessly (see utf8_text.h).
using Text = std::u16string;
