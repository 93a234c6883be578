#include "app/channels.h"

#include <vector>

namespace {

void WriteChannelText(Platform& platform, Channel channel, const Text& text) {
  if (platform.WriteToConsole(channel, text.data(), text.size())) return;
  std::vector<unsigned char> bytes;
  bytes.reserve(text.size() * 2);
  for (char16_t unit : text) {
    bytes.push_back(static_cast<unsigned char>(unit & 0xFF));
    bytes.push_back(static_cast<unsigned char>(unit >> 8));
  }
  platform.WriteToFile(channel, bytes.data(), bytes.size());
}

}  // namespace

void WriteLine(Platform& platform, const Text& text) {
  Text line = text;
  line += u"\r\n";
  WriteChannelText(platform, Channel::Output, line);
  platform.FlushChannel(Channel::Output);
}

void WriteErrorText(Platform& platform, const Text& text) {
  WriteChannelText(platform, Channel::Error, text);
  WriteChannelText(platform, Channel::Error, u"\n");
}
