#include "platform/fake_platform.h"

TimeValue FakePlatform::ToLocalTime(TimeValue utc) {
  return AddTicksSaturated(utc, utcOffsetTicks);
}

bool FakePlatform::FindEntryStamps(const Text& name, TimeValue stamps[3]) {
  namesLookedUp.push_back(name);
  const auto found = entries.find(name);
  if (found == entries.end()) return false;
  stamps[0] = found->second.created;
  stamps[1] = found->second.accessed;
  stamps[2] = found->second.modified;
  return true;
}

void FakePlatform::LowerCase(Text& text) {
  for (char16_t& c : text) {
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c + 0x20);
  }
}

bool FakePlatform::WriteToConsole(Channel channel, const char16_t* text, size_t count) {
  const bool console = channel == Channel::Output ? outputIsConsole : errorIsConsole;
  if (!console) return false;
  (channel == Channel::Output ? outputConsole : errorConsole).append(text, count);
  return true;
}

void FakePlatform::WriteToFile(Channel channel, const unsigned char* bytes, size_t count) {
  (channel == Channel::Output ? outputBytes : errorBytes)
      .append(reinterpret_cast<const char*>(bytes), count);
}

void FakePlatform::FlushChannel(Channel channel) {
  if (channel == Channel::Output) ++outputFlushes;
}
