// Formatting of the progress line.
#include "tools/video/progress_text.h"

#include <cmath>
#include <cstdio>

std::string clockText(double seconds) {
  const long long whole = std::isfinite(seconds) && seconds > 0 ? std::llround(seconds) : 0;
  char text[48];
  if (whole >= 3600) {
    std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", whole / 3600, whole / 60 % 60, whole % 60);
  } else {
    std::snprintf(text, sizeof text, "%lld:%02lld", whole / 60, whole % 60);
  }
  return text;
}

std::string progressText(int framesDone, int framesTotal, double elapsedSeconds) {
  char text[128];
  int length = std::snprintf(text, sizeof text, "%d/%d frames", framesDone, framesTotal);
  if (framesDone > 0 && elapsedSeconds > 0) {
    const double rate = framesDone / elapsedSeconds;
    std::snprintf(text + length, sizeof text - length, "  %.1f fps  %s left", rate,
                  clockText((framesTotal - framesDone) / rate).c_str());
  }
  return text;
}
