// The operating-system services the personalisation run uses, behind one interface.
// The build links exactly one backend (POSIX or Win32); tests substitute their own to
// fix the clock and the regional settings or to make a file operation fail on purpose.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "RegionalFormat.h"
#include "TextCodec.h"

// A file opened through the platform: a descriptor on POSIX, a HANDLE on Windows.
using NativeFile = std::intptr_t;

class Platform {
 public:
  virtual ~Platform() = default;

  // The running executable's own full path (never the typed program name) and the
  // separator that joins a folder and a file name on this system.
  virtual UnicodeString ExecutablePath() = 0;
  virtual char16_t PathSeparator() const = 0;

  // The command-line arguments after the program name, as 8-bit text.
  virtual std::vector<AnsiString> Arguments(int argc, char** argv) = 0;

  // The system's 8-bit code page.
  virtual const TextCodec& SystemCodePage() const = 0;

  // The local time, read once per call, and the user's regional date and time settings.
  virtual bool ReadLocalTime(LocalTime& now) = 0;
  virtual RegionalSettings ReadRegionalSettings() = 0;

  // True when a file (not a directory) exists at the path.
  virtual bool FileExists(const UnicodeString& path) = 0;
  // Deletes an existing file; refuses a read-only file or one another program holds.
  virtual bool DeleteExistingFile(const UnicodeString& path) = 0;

  // Opens for reading: other readers allowed, writers refused.
  virtual bool OpenForReading(const UnicodeString& path, NativeFile& file) = 0;
  // Reads up to size bytes; got is 0 at the end of the file.
  virtual bool ReadSome(NativeFile file, void* buffer, std::size_t size, std::size_t& got) = 0;
  // Creates a new, exclusively held file beside target, to be renamed over it later.
  virtual bool CreateTemporaryBeside(const UnicodeString& target, NativeFile& file,
                                     UnicodeString& temporaryPath) = 0;
  virtual bool WriteAll(NativeFile file, const void* data, std::size_t size) = 0;
  virtual bool CloseFile(NativeFile file) = 0;
  // Moves from over to, replacing a file that exists at to.
  virtual bool RenameOver(const UnicodeString& from, const UnicodeString& to) = 0;
  // Removes a temporary file this run created.
  virtual bool RemoveTemporary(const UnicodeString& path) = 0;

  // Standard output and standard error, bytes unchanged.
  virtual bool WriteStandardOutput(std::string_view bytes) = 0;
  virtual void WriteStandardError(std::string_view bytes) = 0;
};

// The backend this build was made with; set up once on first use.
Platform& SystemPlatform();

// What a bounded read found.
enum class ReadOutcome { Read, Unreadable };

// Reads at most limit bytes of the file at path into bytes (replacing its content). A file
// longer than limit yields its first limit bytes: the caller's size test refuses it.
ReadOutcome ReadFileBounded(Platform& platform, const UnicodeString& path, std::size_t limit,
                            ByteBuffer& bytes);

// Replaces the file at target with bytes, never leaving it half-written: the bytes go to a
// temporary file beside it, which is closed and then renamed over target. On any failure
// the temporary file is removed and target is as it was.
bool ReplaceFileAtomically(Platform& platform, const UnicodeString& target,
                           std::string_view bytes);
