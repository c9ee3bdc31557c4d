#include "obj_bench_measure.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>

namespace bench {

namespace {

long long residentBytes() {
  long long size = 0, resident = 0;
  std::FILE* statm = std::fopen("/proc/self/statm", "r");
  if (!statm) return 0;
  if (std::fscanf(statm, "%lld %lld", &size, &resident) != 2) resident = 0;
  std::fclose(statm);
  return resident * ::sysconf(_SC_PAGESIZE);
}

}  // namespace

double fastestSeconds(int repeat, const std::function<void()>& work) {
  double best = 1e300;
  for (int i = 0; i < repeat; ++i) {
    const auto start = std::chrono::steady_clock::now();
    work();
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    if (took.count() < best) best = took.count();
  }
  return best;
}

PeakMemory peakMemoryOf(const std::function<long long()>& work) {
  int channel[2];
  if (::pipe(channel) != 0) return {};
  std::fflush(nullptr);
  const pid_t child = ::fork();
  if (child < 0) return {};
  if (child == 0) {
    ::close(channel[0]);
    long long figures[2] = {residentBytes(), 0};
    figures[1] = work();
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    figures[0] = usage.ru_maxrss * 1024LL - figures[0];
    const bool sent = ::write(channel[1], figures, sizeof figures) == sizeof figures;
    ::_exit(sent ? 0 : 1);
  }
  ::close(channel[1]);
  long long figures[2] = {0, 0};
  const bool received = ::read(channel[0], figures, sizeof figures) == sizeof figures;
  ::close(channel[0]);
  int status = 0;
  ::waitpid(child, &status, 0);
  PeakMemory result;
  result.ok = received && WIFEXITED(status) && WEXITSTATUS(status) == 0 && figures[1] >= 0;
  result.peakBytes = figures[0];
  result.reportBytes = figures[1];
  return result;
}

}  // namespace bench
