#pragma once
// The fields of corvina-cli's render-3d step.

#include "app/user_interface.h"
#include "preview/preview_options.h"

namespace corvina {

OptionDialog renderPreviewDialog(preview::RenderPreviewOptions& options);

}  // namespace corvina
