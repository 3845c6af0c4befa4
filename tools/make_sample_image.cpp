// Writes the synthetic stand-in for the QVR USB 2.2 firmware image: a Motorola S-record file
// of exactly 30160 bytes whose bytes sum to 1648428, CR LF line ends and valid checksums,
// with the serial record at line 335 (86 characters, ASCII digits "0000" at characters 77-84).
// The content is made up; only the shape the tool checks matches the real image.
// Usage: make_sample_image <output file>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr std::size_t kTargetSize = 30160;
constexpr std::uint32_t kTargetSum = 1648428;
constexpr std::size_t kDataRecords = 340;   // full S1 records after the S0 header
constexpr std::size_t kBytesPerRecord = 38; // 86 characters per full record
constexpr std::size_t kSerialRecord = 333;  // data record index of line 335
constexpr std::size_t kTailBytes = 22;      // the last, shorter data record

struct Record {
  char Type;
  std::uint32_t Address;
  std::vector<std::uint8_t> Data;
};

std::string Hex(unsigned value, int digits) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string out(static_cast<std::size_t>(digits), '0');
  for (int i = digits - 1; i >= 0; --i, value >>= 4) out[static_cast<std::size_t>(i)] = kDigits[value & 0xF];
  return out;
}

std::string Line(const Record& r) {
  const int addressBytes = r.Type == '3' || r.Type == '7' ? 4 : r.Type == '2' || r.Type == '8' ? 3 : 2;
  const unsigned count = static_cast<unsigned>(addressBytes + r.Data.size() + 1);
  unsigned sum = count;
  std::string line = std::string("S") + r.Type + Hex(count, 2) + Hex(r.Address, addressBytes * 2);
  for (int i = addressBytes - 1; i >= 0; --i) sum += (r.Address >> (8 * i)) & 0xFF;
  for (std::uint8_t b : r.Data) {
    line += Hex(b, 2);
    sum += b;
  }
  return line + Hex(~sum & 0xFF, 2) + "\r\n";
}

std::uint32_t ByteSum(const std::string& text) {
  std::uint32_t sum = 0;
  for (unsigned char c : text) sum += c;
  return sum;
}

std::uint32_t ImageSum(const std::vector<Record>& records) {
  std::uint32_t sum = 0;
  for (const Record& r : records) sum += ByteSum(Line(r));
  return sum;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_sample_image <output file>\n");
    return 2;
  }

  std::vector<Record> records;
  std::string label = "QVR USB FIRMWARE 2.2 - SYNTHETIC STAND-IN, NOT THE REAL IMAGE - TEST SAMPLE";
  label.resize(80, ' ');
  records.push_back({'0', 0, std::vector<std::uint8_t>(label.begin(), label.end())});

  // Plausible code bytes from a fixed generator: erased flash (FF) among small opcodes.
  std::uint32_t state = 0x2013u;
  auto next = [&state]() {
    state = state * 1103515245u + 12345u;
    return static_cast<std::uint8_t>(state >> 16);
  };
  std::uint32_t address = 0x8000;
  for (std::size_t i = 0; i <= kDataRecords; ++i) {
    Record r{'1', address, {}};
    const std::size_t size = i < kDataRecords ? kBytesPerRecord : kTailBytes;
    for (std::size_t k = 0; k < size; ++k) {
      const std::uint8_t raw = next();
      r.Data.push_back(raw % 12 == 0 ? 0xFF : static_cast<std::uint8_t>(raw & 0x3F));
    }
    if (i == kSerialRecord) {
      for (std::size_t k = kBytesPerRecord - 4; k < kBytesPerRecord; ++k) r.Data[k] = '0';
    }
    address += static_cast<std::uint32_t>(size);
    records.push_back(r);
  }
  records.push_back({'9', 0x8000, {}});

  // Tune data bytes (never the serial record) until the byte sum is exact: each step picks,
  // for one byte, the value that brings the sum closest to the target.
  std::uint32_t sum = ImageSum(records);
  for (std::size_t pass = 0; pass < 8 && sum != kTargetSum; ++pass) {
    for (std::size_t i = 1; i + 1 < records.size() && sum != kTargetSum; ++i) {
      if (i == kSerialRecord + 1) continue;
      Record& r = records[i];
      for (std::size_t k = 0; k < r.Data.size() && sum != kTargetSum; ++k) {
        const std::uint32_t without = sum - ByteSum(Line(r));
        unsigned best = r.Data[k];
        long bestGap = -1;
        for (unsigned v = 0; v < 256; ++v) {
          r.Data[k] = static_cast<std::uint8_t>(v);
          const long gap = std::labs(static_cast<long>(without + ByteSum(Line(r))) - static_cast<long>(kTargetSum));
          if (bestGap < 0 || gap < bestGap) bestGap = gap, best = v;
        }
        r.Data[k] = static_cast<std::uint8_t>(best);
        sum = without + ByteSum(Line(r));
      }
    }
  }

  std::string image;
  for (const Record& r : records) image += Line(r);
  if (image.size() != kTargetSize || ByteSum(image) != kTargetSum) {
    std::fprintf(stderr, "make_sample_image: got %zu bytes, sum %u\n", image.size(), ByteSum(image));
    return 1;
  }
  std::FILE* out = std::fopen(argv[1], "wb");
  if (out == nullptr || std::fwrite(image.data(), 1, image.size(), out) != image.size() ||
      std::fclose(out) != 0) {
    std::perror(argv[1]);
    return 1;
  }
  return 0;
}
