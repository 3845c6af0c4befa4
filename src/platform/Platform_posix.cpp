// The POSIX backend: Linux system calls, Windows-1252 standing in for the 8-bit code page,
// regional settings from the POSIX locale, and advisory locks standing in for share modes.
#include <errno.h>
#include <fcntl.h>
#include <langinfo.h>
#include <locale.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <string>

#include "Platform.h"

namespace {

class PosixPlatform final : public Platform {
 public:
  PosixPlatform() {
    // A closed pipe or a file-size limit must surface as a failed write, not end the run
    // before it has reported.
    signal(SIGPIPE, SIG_IGN);
    signal(SIGXFSZ, SIG_IGN);
  }

  UnicodeString ExecutablePath() override {
    std::string path(256, '\0');
    while (path.size() <= (1u << 20)) {
      const ssize_t n = readlink("/proc/self/exe", &path[0], path.size());
      if (n < 0) return UnicodeString();
      if (static_cast<std::size_t>(n) < path.size()) {
        path.resize(static_cast<std::size_t>(n));
        return Windows1252().ToUnicode(path);
      }
      path.resize(path.size() * 2);
    }
    return UnicodeString();
  }

  char16_t PathSeparator() const override { return u'/'; }

  std::vector<AnsiString> Arguments(int argc, char** argv) override {
    std::vector<AnsiString> arguments;
    for (int i = 1; i < argc; ++i) arguments.emplace_back(argv[i]);
    return arguments;
  }

  const TextCodec& SystemCodePage() const override { return Windows1252(); }

  bool ReadLocalTime(LocalTime& now) override {
    timespec ts{};
    tm parts{};
    if (clock_gettime(CLOCK_REALTIME, &ts) != 0 || localtime_r(&ts.tv_sec, &parts) == nullptr) {
      return false;
    }
    now.Year = parts.tm_year + 1900;
    now.Month = parts.tm_mon + 1;
    now.Day = parts.tm_mday;
    now.Hour = parts.tm_hour;
    now.Minute = parts.tm_min;
    now.Second = parts.tm_sec > 59 ? 59 : parts.tm_sec;  // a leap second shows as :59
    now.DayOfWeek = parts.tm_wday;
    return true;
  }

  RegionalSettings ReadRegionalSettings() override {
    // The locale LC_ALL, LC_TIME or LANG names, as setlocale(LC_TIME, "") would pick it.
    locale_t locale = newlocale(LC_TIME_MASK, "", static_cast<locale_t>(nullptr));
    if (locale == static_cast<locale_t>(nullptr)) return RegionalSettings();
    auto text = [locale](nl_item item) { return LocaleText(nl_langinfo_l(item, locale)); };
    PosixTimeLocale posix;
    posix.DateFormat = text(D_FMT);
    posix.TimeFormat = text(T_FMT);
    posix.TimeFormatAmPm = text(T_FMT_AMPM);
    posix.AmString = text(AM_STR);
    posix.PmString = text(PM_STR);
    for (int i = 0; i < 7; ++i) {
      posix.ShortDayNames[i] = text(ABDAY_1 + i);
      posix.LongDayNames[i] = text(DAY_1 + i);
    }
    for (int i = 0; i < 12; ++i) {
      posix.ShortMonthNames[i] = text(ABMON_1 + i);
      posix.LongMonthNames[i] = text(MON_1 + i);
    }
    freelocale(locale);
    return RegionalSettingsFromPosix(posix);
  }

  bool FileExists(const UnicodeString& path) override {
    struct stat st;
    return lstat(NativePath(path).c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
  }

  bool DeleteExistingFile(const UnicodeString& path) override {
    const std::string native = NativePath(path);
    struct stat st;
    if (lstat(native.c_str(), &st) != 0) return errno == ENOENT;
    // No write permission bit at all is this system's read-only attribute.
    if (S_ISREG(st.st_mode) && (st.st_mode & 0222) == 0) return false;
    // A file another program holds under a lock is in use and stays.
    const int fd = open(native.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC | O_NOFOLLOW);
    if (fd >= 0) {
      const bool inUse = flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
      close(fd);
      if (inUse) return false;
    }
    // Gone already (another run got there first) is what the deletion was for.
    return unlink(native.c_str()) == 0 || errno == ENOENT;
  }

  bool OpenForReading(const UnicodeString& path, NativeFile& file) override {
    // Non-blocking, so that a FIFO or terminal cannot stall the run.
    const int fd = open(NativePath(path).c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return false;
    if (flock(fd, LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK) {
      close(fd);
      return false;  // a writer holds it
    }
    file = fd;
    return true;
  }

  bool ReadSome(NativeFile file, void* buffer, std::size_t size, std::size_t& got) override {
    ssize_t n;
    do {
      n = read(static_cast<int>(file), buffer, size);
    } while (n < 0 && errno == EINTR);
    if (n < 0) return false;
    got = static_cast<std::size_t>(n);
    return true;
  }

  bool CreateTemporaryBeside(const UnicodeString& target, NativeFile& file,
                             UnicodeString& temporaryPath) override {
    const std::string base = NativePath(target) + ".tmp" + std::to_string(getpid()) + "-";
    for (int attempt = 0; attempt < 100; ++attempt) {
      const std::string candidate = base + std::to_string(attempt);
      const int fd = open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666);
      if (fd < 0) {
        if (errno == EEXIST) continue;
        return false;
      }
      flock(fd, LOCK_EX | LOCK_NB);  // a new file: held exclusively while it is written
      file = fd;
      temporaryPath = Windows1252().ToUnicode(candidate);
      return true;
    }
    return false;
  }

  bool WriteAll(NativeFile file, const void* data, std::size_t size) override {
    return WriteFully(static_cast<int>(file), data, size);
  }

  bool CloseFile(NativeFile file) override { return close(static_cast<int>(file)) == 0; }

  bool RenameOver(const UnicodeString& from, const UnicodeString& to) override {
    return rename(NativePath(from).c_str(), NativePath(to).c_str()) == 0;
  }

  bool RemoveTemporary(const UnicodeString& path) override {
    return unlink(NativePath(path).c_str()) == 0;
  }

  bool WriteStandardOutput(std::string_view bytes) override {
    return WriteFully(STDOUT_FILENO, bytes.data(), bytes.size());
  }

  void WriteStandardError(std::string_view bytes) override {
    WriteFully(STDERR_FILENO, bytes.data(), bytes.size());
  }

 private:
  // Paths reach the system as the bytes they were typed as.
  static std::string NativePath(const UnicodeString& path) { return Windows1252().ToAnsi(path); }

  static UnicodeString LocaleText(const char* text) {
    std::string_view bytes = text == nullptr ? std::string_view() : std::string_view(text);
    UnicodeString decoded;
    if (DecodeUtf8Strict(bytes, decoded)) return decoded;
    return Windows1252().ToUnicode(bytes);  // a legacy single-byte locale
  }

  static bool WriteFully(int fd, const void* data, std::size_t size) {
    const char* p = static_cast<const char*>(data);
    while (size > 0) {
      const ssize_t n = write(fd, p, size);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) return false;
      p += n;
      size -= static_cast<std::size_t>(n);
    }
    return true;
  }
};

}  // namespace

Platform& SystemPlatform() {
  static PosixPlatform platform;
  return platform;
}
