#pragma once
// How a save of the OBJ or UVS writer ended. Either way the file at the path
// is whole: the new one, or the old one untouched.

namespace corvina {

enum class WriteOutcome {
  Written,
  CannotOpen,   // no file could be created at the path
  WriteFailed,  // the bytes did not all reach the disk; the target is unchanged
};

}  // namespace corvina
