// Stateless helpers of the personalisation: where the executable lives, the image's byte
// sum and the repair of an S-record line's checksum.
#pragma once

#include <cstdint>
#include <string>

#include "platform/TextCodec.h"

// The file's bytes, whole, with the read position the byte sum walks.
struct MemoryStream {
  ByteBuffer Bytes;
  std::uint64_t Position = 0;
  std::uint64_t Size() const { return Bytes.Size(); }
};

// The text before the rightmost separator that is not the path's last character, or
// "Erro no endereço!" when there is none.
AnsiString ExtractExeDirectory(const AnsiString& path, char separator = '\\');
UnicodeString ExtractExeDirectory(const UnicodeString& path, char16_t separator);

// The sum of all bytes, each taken as 0..255, in 32 bits; the position ends at the end.
std::uint32_t StreamByteSum(MemoryStream& stream);

// Overwrites the last two characters of an S-record line with the checksum of the pairs
// from the byte count to the last data byte: the complement of their 8-bit sum.
void FixSRecordChecksum(UnicodeString& line);
