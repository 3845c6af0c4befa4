// The Win32 backend: the module path, the 8-bit command line split by our own rules, the
// system's ANSI code page, the user's regional settings, share modes on every open file,
// and standard output written as raw bytes.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <string>

#include "CommandLine.h"
#include "Platform.h"

namespace {

const wchar_t* Wide(const UnicodeString& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }

UnicodeString FromWide(const wchar_t* text, std::size_t length) {
  return UnicodeString(reinterpret_cast<const char16_t*>(text), length);
}

// The system's ANSI code page through the system's own conversion.
class AnsiCodePage final : public TextCodec {
 public:
  AnsiCodePage() {
    CPINFO info;
    if (GetCPInfo(CP_ACP, &info) && info.MaxCharSize > 0) maxBytes_ = info.MaxCharSize;
  }

  std::size_t MaxBytesPerCharacter() const override { return maxBytes_; }

  std::size_t DecodeInto(std::string_view bytes, char16_t* out) const override {
    if (bytes.empty()) return 0;
    const int size = static_cast<int>(bytes.size());
    const int length = MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, reinterpret_cast<wchar_t*>(out), size);
    return length > 0 ? static_cast<std::size_t>(length) : 0;
  }

  std::size_t EncodeInto(std::u16string_view text, char* out) const override {
    if (text.empty()) return 0;
    const int size = static_cast<int>(text.size());
    const int room = static_cast<int>(text.size() * maxBytes_);
    const int length = WideCharToMultiByte(CP_ACP, 0, reinterpret_cast<const wchar_t*>(text.data()), size,
                                           out, room, nullptr, nullptr);
    return length > 0 ? static_cast<std::size_t>(length) : 0;
  }

 private:
  std::size_t maxBytes_ = 2;
};

// One regional setting of the user's default locale, or false when it cannot be read.
bool LocaleText(LCTYPE type, UnicodeString& value) {
  wchar_t buffer[128];
  const int length = GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, type, buffer, 128);
  if (length <= 0) return false;
  value = FromWide(buffer, static_cast<std::size_t>(length - 1));
  return true;
}

class Win32Platform final : public Platform {
 public:
  UnicodeString ExecutablePath() override {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
      const DWORD size = static_cast<DWORD>(path.size());
      const DWORD length = GetModuleFileNameW(nullptr, &path[0], size);
      if (length == 0) return UnicodeString();
      if (length < size) return FromWide(path.data(), length);
      if (path.size() >= 32768) return UnicodeString();
      path.resize(path.size() * 2);
    }
  }

  char16_t PathSeparator() const override { return u'\\'; }

  std::vector<AnsiString> Arguments(int, char**) override {
    return SplitCommandLine(GetCommandLineA());
  }

  const TextCodec& SystemCodePage() const override { return codePage_; }

  bool ReadLocalTime(LocalTime& now) override {
    SYSTEMTIME st;
    GetLocalTime(&st);
    now.Year = st.wYear;
    now.Month = st.wMonth;
    now.Day = st.wDay;
    now.Hour = st.wHour;
    now.Minute = st.wMinute;
    now.Second = st.wSecond;
    now.DayOfWeek = st.wDayOfWeek;
    return true;
  }

  RegionalSettings ReadRegionalSettings() override {
    RegionalSettings s;
    UnicodeString text;
    if (LocaleText(LOCALE_SSHORTDATE, text)) s.ShortDatePattern = text;
    if (LocaleText(LOCALE_SDATE, text) && text.size() == 1) s.DateSeparator = text[0];
    if (LocaleText(LOCALE_STIME, text) && text.size() == 1) s.TimeSeparator = text[0];
    if (LocaleText(LOCALE_S1159, text)) s.AmDesignator = text;
    if (LocaleText(LOCALE_S2359, text)) s.PmDesignator = text;
    if (LocaleText(LOCALE_ITIME, text)) s.TwentyFourHour = text == u"1";
    if (LocaleText(LOCALE_ITLZERO, text)) s.HourLeadingZero = text == u"1";
    if (LocaleText(LOCALE_ITIMEMARKPOSN, text)) s.DesignatorFirst = text == u"1";
    // Windows counts days from Monday, the report from Sunday.
    for (int i = 0; i < 7; ++i) {
      const int day = (i + 1) % 7;
      if (LocaleText(LOCALE_SABBREVDAYNAME1 + i, text)) s.ShortDayNames[day] = text;
      if (LocaleText(LOCALE_SDAYNAME1 + i, text)) s.LongDayNames[day] = text;
    }
    for (int i = 0; i < 12; ++i) {
      if (LocaleText(LOCALE_SABBREVMONTHNAME1 + i, text)) s.ShortMonthNames[i] = text;
      if (LocaleText(LOCALE_SMONTHNAME1 + i, text)) s.LongMonthNames[i] = text;
    }
    return s;
  }

  bool FileExists(const UnicodeString& path) override {
    const DWORD attributes = GetFileAttributesW(Wide(path));
    if (attributes != INVALID_FILE_ATTRIBUTES) return (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return false;
    // A file in use may refuse its attributes; its directory entry still tells.
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileW(Wide(path), &found);
    if (search == INVALID_HANDLE_VALUE) return false;
    FindClose(search);
    return (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
  }

  bool DeleteExistingFile(const UnicodeString& path) override {
    // Refuses read-only files and files in use; gone already is what the deletion was for.
    return DeleteFileW(Wide(path)) != 0 || GetLastError() == ERROR_FILE_NOT_FOUND;
  }

  bool OpenForReading(const UnicodeString& path, NativeFile& file) override {
    const HANDLE handle = CreateFileW(Wide(path), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return false;
    file = reinterpret_cast<NativeFile>(handle);
    return true;
  }

  bool ReadSome(NativeFile file, void* buffer, std::size_t size, std::size_t& got) override {
    DWORD read = 0;
    const DWORD chunk = size > 0x40000000u ? 0x40000000u : static_cast<DWORD>(size);
    if (!ReadFile(Handle(file), buffer, chunk, &read, nullptr)) return false;
    got = read;
    return true;
  }

  bool CreateTemporaryBeside(const UnicodeString& target, NativeFile& file,
                             UnicodeString& temporaryPath) override {
    const std::string base = ".tmp" + std::to_string(GetCurrentProcessId()) + "-";
    for (int attempt = 0; attempt < 100; ++attempt) {
      const std::string suffix = base + std::to_string(attempt);
      UnicodeString candidate = target + UnicodeString(suffix.begin(), suffix.end());
      const HANDLE handle = CreateFileW(Wide(candidate), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
      if (handle == INVALID_HANDLE_VALUE) {
        if (GetLastError() == ERROR_FILE_EXISTS) continue;
        return false;
      }
      file = reinterpret_cast<NativeFile>(handle);
      temporaryPath = std::move(candidate);
      return true;
    }
    return false;
  }

  bool WriteAll(NativeFile file, const void* data, std::size_t size) override {
    return WriteFully(Handle(file), data, size);
  }

  bool CloseFile(NativeFile file) override { return CloseHandle(Handle(file)) != 0; }

  bool RenameOver(const UnicodeString& from, const UnicodeString& to) override {
    return MoveFileExW(Wide(from), Wide(to), MOVEFILE_REPLACE_EXISTING) != 0;
  }

  bool RemoveTemporary(const UnicodeString& path) override { return DeleteFileW(Wide(path)) != 0; }

  bool WriteStandardOutput(std::string_view bytes) override {
    return WriteFully(GetStdHandle(STD_OUTPUT_HANDLE), bytes.data(), bytes.size());
  }

  void WriteStandardError(std::string_view bytes) override {
    WriteFully(GetStdHandle(STD_ERROR_HANDLE), bytes.data(), bytes.size());
  }

 private:
  static HANDLE Handle(NativeFile file) { return reinterpret_cast<HANDLE>(file); }

  // Bytes unchanged: no CR LF translation, no console code page.
  static bool WriteFully(HANDLE handle, const void* data, std::size_t size) {
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE) return false;
    const char* p = static_cast<const char*>(data);
    while (size > 0) {
      const DWORD chunk = size > 0x40000000u ? 0x40000000u : static_cast<DWORD>(size);
      DWORD written = 0;
      if (!WriteFile(handle, p, chunk, &written, nullptr) || written == 0) return false;
      p += written;
      size -= written;
    }
    return true;
  }

  AnsiCodePage codePage_;
};

}  // namespace

Platform& SystemPlatform() {
  static Win32Platform platform;
  return platform;
}
