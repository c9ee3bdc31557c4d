#include "preview/preview_options.h"

#include <cmath>
#include <cstdlib>

namespace corvina::preview {

float requestedDistance(const RenderPreviewOptions& options) {
  if (options.distance.empty()) return 0.0f;
  const char* text = options.distance.c_str();
  char* end = nullptr;
  const double value = std::strtod(text, &end);
  if (end == text || *end != '\0' || !std::isfinite(value) || value <= 0 || value > 1e30)
    return -1.0f;
  return static_cast<float>(value);
}

}  // namespace corvina::preview
