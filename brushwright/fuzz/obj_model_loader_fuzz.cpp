// Any bytes given to the OBJ loader must yield a model or a message.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "host/in_memory_model.h"
#include "host/obj_model_loader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  msModel model;
  const ObjLoadResult result =
      loadObjModel(std::string_view(reinterpret_cast<const char*>(data), size), model);
  if (!result.loaded && result.message.empty()) __builtin_trap();
  return 0;
}
