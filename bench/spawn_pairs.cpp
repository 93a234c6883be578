// Times two commands against each other by starting them in alternating
// pairs within one session, so that both see the same machine state (cache,
// frequency, background load) at the same moments.
//
//   spawn_pairs PAIRS BURST -- REFERENCE ARGS... -- CANDIDATE ARGS...
//
// Each pair runs REFERENCE BURST times and CANDIDATE BURST times; the order
// within a pair alternates (reference first in even pairs, candidate first in
// odd ones). Standard output and error of the commands go to /dev/null.
// Prints the median time per run of each command and the median of the
// per-pair ratios candidate / reference.
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

double NowSeconds() {
  struct timespec now = {};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// Starts `argv` with both output channels on /dev/null and waits for it.
// Returns false when it cannot be started or is killed by a signal.
bool RunOnce(char* const* argv, const posix_spawn_file_actions_t* actions) {
  pid_t child = 0;
  if (posix_spawn(&child, argv[0], actions, nullptr, argv, environ) != 0) return false;
  int status = 0;
  while (waitpid(child, &status, 0) < 0) {
  }
  return WIFEXITED(status);
}

// Seconds per run over a burst of `burst` runs.
double TimeBurst(char* const* argv, int burst, const posix_spawn_file_actions_t* actions) {
  const double start = NowSeconds();
  for (int i = 0; i < burst; ++i) {
    if (!RunOnce(argv, actions)) {
      std::fprintf(stderr, "spawn_pairs: cannot run %s\n", argv[0]);
      std::exit(2);
    }
  }
  return (NowSeconds() - start) / burst;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const size_t middle = values.size() / 2;
  if (values.size() % 2 == 1) return values[middle];
  return (values[middle - 1] + values[middle]) / 2;
}

int Usage() {
  std::fprintf(stderr,
               "usage: spawn_pairs PAIRS BURST -- REFERENCE ARGS... -- CANDIDATE ARGS...\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 7 || std::strcmp(argv[3], "--") != 0) return Usage();
  const int pairs = std::atoi(argv[1]);
  const int burst = std::atoi(argv[2]);
  int split = 4;
  while (split < argc && std::strcmp(argv[split], "--") != 0) ++split;
  if (pairs < 1 || burst < 1 || split == 4 || split + 1 >= argc) return Usage();
  argv[split] = nullptr;  // ends the reference's argument list
  char* const* reference = argv + 4;
  char* const* candidate = argv + split + 1;

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);

  // Warm-up: page cache, dynamic loader caches, CPU frequency.
  TimeBurst(reference, burst, &actions);
  TimeBurst(candidate, burst, &actions);

  std::vector<double> referenceTimes, candidateTimes, ratios;
  for (int pair = 0; pair < pairs; ++pair) {
    double referenceTime = 0, candidateTime = 0;
    if (pair % 2 == 0) {
      referenceTime = TimeBurst(reference, burst, &actions);
      candidateTime = TimeBurst(candidate, burst, &actions);
    } else {
      candidateTime = TimeBurst(candidate, burst, &actions);
      referenceTime = TimeBurst(reference, burst, &actions);
    }
    referenceTimes.push_back(referenceTime);
    candidateTimes.push_back(candidateTime);
    ratios.push_back(candidateTime / referenceTime);
  }
  posix_spawn_file_actions_destroy(&actions);

  std::printf("pairs %d burst %d\n", pairs, burst);
  std::printf("reference_median_us %.1f\n", Median(referenceTimes) * 1e6);
  std::printf("candidate_median_us %.1f\n", Median(candidateTimes) * 1e6);
  std::printf("ratio_median %.3f\n", Median(ratios));
  return 0;
}
