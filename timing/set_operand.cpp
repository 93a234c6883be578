#include "timing/set_operand.h"

#include <algorithm>
#include <span>
#include <string_view>
#include <vector>

#include "base/messages.h"

namespace {

constexpr size_t SetPrefixLength = 7;  // "newest:" and "oldest:"

// One directory of the walk whose subdirectories are still to be read.
struct Frame {
  std::vector<Text> subdirectories;  // in the order listed
  size_t next = 0;
};

// Whether the components `below` followed by `name` come before `other`,
// component by component, a path that is a prefix of another being the
// smaller. Nothing is copied: every member of a tree of equal stamps
// comes through here.
bool IsSmallerPath(std::span<const Text> below, std::u16string_view name,
                   std::span<const Text> other) {
  for (size_t i = 0; i <= below.size(); ++i) {
    if (i == other.size()) return false;
    const std::u16string_view part = i < below.size() ? std::u16string_view(below[i]) : name;
    if (part != other[i]) return part < other[i];
  }
  return other.size() > below.size() + 1;
}

class SetWalker final : public ListingVisitor {
 public:
  SetWalker(Platform& platform, const SetWalk& walk) : platform(platform), walk(walk) {}

  OperandValue Run();
  bool Visit(const ListedEntry& entry) override;

 private:
  bool Improves(TimeValue value, std::u16string_view name) const;
  void Remember(std::u16string_view prefix, std::u16string_view name);
  Text PathOf(std::span<const Text> components) const;
  void ReadEntry();
  void ReadTree();
  bool ListCurrent();
  OperandValue Result();

  Platform& platform;
  const SetWalk& walk;
  std::vector<Text> below;  // the components of the directory being listed
  std::vector<Frame> frames;
  bool found = false;
  TimeValue extreme = 0;
  std::vector<Text> extremeBelow;  // the member's components below the set's path
  Text problem;
  bool decided = false;
};

Text SetWalker::PathOf(std::span<const Text> components) const {
  Text path = platform.MemberPathPrefix(walk.set.path);
  for (size_t i = 0; i < components.size(); ++i) {
    if (i > 0) path += platform.PathSeparator();
    path += components[i];
  }
  return path;
}

void SetWalker::Remember(std::u16string_view prefix, std::u16string_view name) {
  if (!problem.empty()) return;
  std::vector<Text> components = below;
  components.emplace_back(name);
  problem.assign(prefix);
  problem += PathOf(components);
}

// Later values win for the newest, earlier ones for the oldest; of equal
// values, the smaller path, so that the listing order never shows.
bool SetWalker::Improves(TimeValue value, std::u16string_view name) const {
  if (!found) return true;
  if (value != extreme) return walk.set.end == SetEnd::Newest ? value > extreme : value < extreme;
  return IsSmallerPath(below, name, extremeBelow);
}

bool SetWalker::Visit(const ListedEntry& entry) {
  if (entry.isDirectory) {
    if (walk.subfolders) frames.back().subdirectories.emplace_back(entry.name);
    return true;
  }
  if (entry.status == ListedEntry::Stamps::Vanished) return true;
  const TimeValue value =
      entry.status == ListedEntry::Stamps::Read ? StampOf(entry.stamps, walk.kind) : 0;
  if (value == 0) {
    Remember(NotFoundPrefix, entry.name);
    return true;
  }
  if (!Improves(value, entry.name)) return true;
  found = true;
  extreme = value;
  // In place, so that the texts' storage is reused.
  extremeBelow.resize(below.size() + 1);
  std::copy(below.begin(), below.end(), extremeBelow.begin());
  extremeBelow.back().assign(entry.name);
  if (walk.probe == nullptr || !walk.mayStop) return true;
  decided = IsDecided(*walk.probe, walk.set.end, extreme);
  return !decided;
}

// False when the walk is to stop.
bool SetWalker::ListCurrent() {
  frames.emplace_back();
  const ListingEnd end = platform.ListDirectory(walk.set.path, below, walk.kind, *this);
  if (decided) return false;
  if (end == ListingEnd::Unreadable && problem.empty()) {
    problem.assign(CannotReadPrefix);
    problem += below.empty() ? walk.set.path : PathOf(below);
  }
  return true;
}

// Depth first: each directory's subdirectories in the order listed.
void SetWalker::ReadTree() {
  if (!ListCurrent()) return;
  while (!frames.empty()) {
    Frame& frame = frames.back();
    if (frame.next == frame.subdirectories.size()) {
      frames.pop_back();
      if (!below.empty() && !frames.empty()) below.pop_back();
      continue;
    }
    below.push_back(std::move(frame.subdirectories[frame.next++]));
    if (!ListCurrent()) return;
  }
}

// A path that names a file or a link: a set of that one entry.
void SetWalker::ReadEntry() {
  EntryStamps stamps;
  if (!platform.FindEntryStamps(walk.set.path, walk.kind, stamps)) return;
  const TimeValue value = StampOf(stamps, walk.kind);
  if (value == 0) {
    problem.assign(NotFoundPrefix);
    problem += walk.set.path;
    return;
  }
  found = true;
  extreme = value;
}

OperandValue SetWalker::Result() {
  if (!problem.empty() && found && walk.probe != nullptr && !decided) {
    decided = IsDecided(*walk.probe, walk.set.end, extreme);
  }
  if (!problem.empty() && !decided) return FailedOperand(u"", problem);
  if (!found) return FailedOperand(NoFilesPrefix, walk.operand);
  OperandValue value;
  value.time = extreme;
  value.member = extremeBelow.empty() ? walk.set.path : PathOf(extremeBelow);
  value.partlyRead = !problem.empty();
  return value;
}

OperandValue SetWalker::Run() {
  if (platform.ProbeSetPath(walk.set.path) == PathKind::Entry) {
    ReadEntry();
  } else {
    ReadTree();
  }
  return Result();
}

}  // namespace

SetOperand RecognizeSetOperand(Platform& platform, const Text& operand) {
  // Most operands are no set: no lower-casing for them.
  if (operand.size() < SetPrefixLength || operand[SetPrefixLength - 1] != u':') return SetOperand();
  Text head = operand.substr(0, SetPrefixLength);
  platform.LowerCase(head);
  SetOperand set;
  if (head != u"newest:" && head != u"oldest:") return set;
  set.isSet = true;
  set.end = head == u"newest:" ? SetEnd::Newest : SetEnd::Oldest;
  set.path = operand.substr(SetPrefixLength);
  return set;
}

OperandValue CheckSetPath(Platform& platform, const Text& operand, const SetOperand& set) {
  if (set.path.empty() || platform.ProbeSetPath(set.path) == PathKind::Missing) {
    return FailedOperand(NotFoundPrefix, operand);
  }
  return OperandValue();
}

OperandValue WalkSet(Platform& platform, const SetWalk& walk) {
  return SetWalker(platform, walk).Run();
}
