#pragma once
// A progress sink for tests of the layers below the commands: counts the
// calls and keeps the last range begun.

#include "model/progress_sink.h"

namespace corvina::testing {

struct CountingProgress : ProgressSink {
  int progressBegun = 0, progressSteps = 0, progressEnded = 0;
  int lastRange = -1;

  void beginProgress(int range) override {
    ++progressBegun;
    lastRange = range;
  }
  void stepProgress() override { ++progressSteps; }
  void endProgress() override { ++progressEnded; }
};

}  // namespace corvina::testing
