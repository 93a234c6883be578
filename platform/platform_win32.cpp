// The Win32 implementation over kernel32 and user32.
#include <windows.h>

#include "platform/platform.h"

namespace {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "UTF-16 wchar_t expected");

TimeValue ValueFromFileTime(const FILETIME& time) {
  return static_cast<TimeValue>((static_cast<uint64_t>(time.dwHighDateTime) << 32) |
                                time.dwLowDateTime);
}

FILETIME FileTimeFromValue(TimeValue value) {
  const uint64_t bits = static_cast<uint64_t>(value);
  return FILETIME{static_cast<DWORD>(bits & 0xFFFFFFFFu), static_cast<DWORD>(bits >> 32)};
}

HANDLE ChannelHandle(Channel channel) {
  return GetStdHandle(channel == Channel::Output ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
}

// Older consoles refuse a single WriteConsoleW of more than about 64 KB, so
// long texts go out in pieces that never split a surrogate pair.
constexpr size_t ConsolePiece = 8192;

class Win32Platform final : public Platform {
 public:
  Text CommandLineText() override {
    return Text(reinterpret_cast<const char16_t*>(GetCommandLineW()));
  }

  TimeValue CurrentTime() override {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    return ValueFromFileTime(now);
  }

  // Uses the bias in force now, whatever the value's date. A value the
  // system refuses to convert (negative, say) is returned unchanged.
  TimeValue ToLocalTime(TimeValue utc) override {
    const FILETIME universal = FileTimeFromValue(utc);
    FILETIME local;
    if (!FileTimeToLocalFileTime(&universal, &local)) return utc;
    return ValueFromFileTime(local);
  }

  bool FindEntryStamps(const Text& name, TimeValue stamps[3]) override {
    if (name.find(u'\0') != Text::npos) return false;
    WIN32_FIND_DATAW entry;
    const HANDLE search = FindFirstFileW(reinterpret_cast<const wchar_t*>(name.c_str()), &entry);
    if (search == INVALID_HANDLE_VALUE) return false;
    FindClose(search);
    stamps[0] = ValueFromFileTime(entry.ftCreationTime);
    stamps[1] = ValueFromFileTime(entry.ftLastAccessTime);
    stamps[2] = ValueFromFileTime(entry.ftLastWriteTime);
    return true;
  }

  void LowerCase(Text& text) override {
    if (text.empty()) return;
    CharLowerW(reinterpret_cast<wchar_t*>(text.data()));
  }

  // WriteConsoleW fails on a handle that is not a console (a file or a
  // pipe); the caller then writes the bytes with WriteFile instead.
  bool WriteToConsole(Channel channel, const char16_t* text, size_t count) override {
    const HANDLE handle = ChannelHandle(channel);
    bool first = true;
    do {
      size_t piece = count < ConsolePiece ? count : ConsolePiece;
      if (piece < count && text[piece - 1] >= 0xD800 && text[piece - 1] <= 0xDBFF) --piece;
      DWORD written = 0;
      if (!WriteConsoleW(handle, text, static_cast<DWORD>(piece), &written, nullptr)) {
        return !first;
      }
      first = false;
      text += piece;
      count -= piece;
    } while (count > 0);
    return true;
  }

  void WriteToFile(Channel channel, const unsigned char* bytes, size_t count) override {
    const HANDLE handle = ChannelHandle(channel);
    while (count > 0) {
      DWORD written = 0;
      const DWORD piece = count > 0x10000000 ? 0x10000000 : static_cast<DWORD>(count);
      if (!WriteFile(handle, bytes, piece, &written, nullptr) || written == 0) return;
      bytes += written;
      count -= written;
    }
  }

  void FlushChannel(Channel channel) override { FlushFileBuffers(ChannelHandle(channel)); }
};

Win32Platform systemPlatform;

}  // namespace

Platform& OpenSystemPlatform(int, char**) { return systemPlatform; }

void EndProcess(ExitCode code) { ExitProcess(static_cast<UINT>(code)); }
