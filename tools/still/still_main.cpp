// driftglow-still: makes the viewer's screen for three seeds without a
// window and writes its picture and description.
#include <cstdio>
#include <string>
#include <vector>

#include "core/version.h"
#include "tools/common/interrupt_watch.h"
#include "tools/still/still_options.h"
#include "tools/still/still_run.h"

namespace {

// How long an interrupted run may take to clean up before it is ended.
constexpr double kStopGraceSeconds = 0.8;

}  // namespace

int main(int argc, char** argv) {
  // First, before the engine and the encoders start threads of their own.
  InterruptWatch interrupts("driftglow-still", kStopGraceSeconds);
  std::vector<std::string> arguments(argv + 1, argv + argc);
  StillOptions options;
  const std::string error = parseStillOptions(arguments, options);
  if (!error.empty()) {
    std::fprintf(stderr, "driftglow-still: %s\n", error.c_str());
    return kStillBadRequest;
  }
  if (options.help) {
    std::fputs(stillUsage().c_str(), stdout);
    return kStillOk;
  }
  if (options.version) {
    std::fputs(versionText("driftglow-still").c_str(), stdout);
    return kStillOk;
  }
  return runStill(options, &interrupts);
}
