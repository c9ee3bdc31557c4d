#pragma once
// Where a long operation reports how far it has got. The file layer and the
// tools step it; the user interface shows it as a progress bar, tests count
// the calls.

namespace corvina {

class ProgressSink {
 public:
  virtual ~ProgressSink() = default;

  // A bar of `range` steps, stepped one at a time; every begin has one end.
  virtual void beginProgress(int range) = 0;
  virtual void stepProgress() = 0;
  virtual void endProgress() = 0;
};

}  // namespace corvina
