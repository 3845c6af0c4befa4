// Whole-file reading and atomic replacement, built on the backend's primitive operations
// so that every step of them can be made to fail in a test.
#include "Platform.h"

ReadOutcome ReadFileBounded(Platform& platform, const UnicodeString& path, std::size_t limit,
                            ByteBuffer& bytes) {
  bytes = ByteBuffer();
  NativeFile file = -1;
  if (!platform.OpenForReading(path, file)) return ReadOutcome::Unreadable;
  bytes = ByteBuffer(limit);
  std::size_t filled = 0;
  bool ok = true;
  while (filled < limit) {
    std::size_t got = 0;
    if (!platform.ReadSome(file, bytes.Data() + filled, limit - filled, got)) {
      ok = false;
      break;
    }
    if (got == 0) break;
    filled += got;
  }
  bytes.SetSize(ok ? filled : 0);
  if (!platform.CloseFile(file)) {
    ok = false;
    bytes.SetSize(0);
  }
  return ok ? ReadOutcome::Read : ReadOutcome::Unreadable;
}

bool ReplaceFileAtomically(Platform& platform, const UnicodeString& target,
                           std::string_view bytes) {
  NativeFile file = -1;
  UnicodeString temporary;
  if (!platform.CreateTemporaryBeside(target, file, temporary)) return false;
  const bool written = platform.WriteAll(file, bytes.data(), bytes.size());
  const bool closed = platform.CloseFile(file);
  if (written && closed && platform.RenameOver(temporary, target)) return true;
  platform.RemoveTemporary(temporary);
  return false;
}
