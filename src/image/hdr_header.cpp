#include "image/hdr_header.h"

#include <string_view>

namespace halvane {
namespace {

constexpr std::size_t kMaxLineBytes = 128;
constexpr std::size_t kProgramTypeLength = 50;
constexpr int kHeaderPasses = 5;

// A header line: up to a line feed (not stored) or 128 bytes; carriage returns
// stay in the line. The end of the file ends the line.
std::string ReadLine(BinaryFile& file) {
  std::string line;
  while (line.size() < kMaxLineBytes) {
    const int c = file.ReadByte();
    if (c < 0 || c == '\n') break;
    line += static_cast<char>(c);
  }
  return line;
}

std::string Trim(std::string_view s) {
  std::size_t a = 0, b = s.size();
  while (a < b && static_cast<unsigned char>(s[a]) <= 32) ++a;
  while (b > a && static_cast<unsigned char>(s[b - 1]) <= 32) --b;
  return std::string(s.substr(a, b - a));
}

bool Contains(const std::string& s, std::string_view what) {
  return s.find(what) != std::string::npos;
}

bool StartsWithHash(const std::string& s) {
  return !s.empty() && s[0] == '#';
}

void Cut(std::string& s, std::size_t n) {
  if (s.size() > n) s.resize(n);
}

std::string Drop(const std::string& s, std::size_t n) {
  return n >= s.size() ? "" : s.substr(n);
}

// A whole decimal integer with an optional sign and nothing else.
bool ParseInteger(const std::string& text, long long& value) {
  std::size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  if (i == text.size() || text.size() - i > 12) return false;
  long long v = 0;
  for (; i < text.size(); ++i) {
    if (text[i] < '0' || text[i] > '9') return false;
    v = v * 10 + (text[i] - '0');
  }
  value = negative ? -v : v;
  return true;
}

// "EXPOSURE=" value: whole part before the first ".", five fraction digits.
// A value that is not of that controls is ignored.
void ReadExposure(const std::string& text, float& exposure) {
  const std::size_t dot = text.find('.');
  if (dot == std::string::npos) return;
  const std::string whole = text.substr(0, dot);
  std::string fraction = text.substr(dot + 1);
  fraction.resize(5, '0');
  if (whole.empty() || fraction.empty()) return;
  long long w = 0, f = 0;
  if (!ParseInteger(whole, w) || !ParseInteger(fraction, f)) return;
  exposure = static_cast<float>(static_cast<long double>(w) + f / 100000.0L);
}

void ExamineLine(std::string& line, RadianceHeader& h) {
  if (Contains(line, "FORMAT=32-bit_rle_rgbe")) h.flags |= kHdrRleFormat;
  if (Contains(line, "GAMMA=")) {
    h.flags |= kHdrGamma;
    line = Trim(Drop(line, 6));
  }
  if (Contains(line, "EXPOSURE=")) {
    h.flags |= kHdrExposure;
    line = Trim(Drop(line, 9));
    ReadExposure(line, h.exposure);
  }
}

bool ParseResolution(const std::string& resolutionLine, RadianceHeader& h) {
  if (!Contains(resolutionLine, "-Y") || !Contains(resolutionLine, "+X")) return true;
  std::string s = Trim(Drop(Trim(resolutionLine), 2));
  const std::size_t space = s.find(' ');
  long long height = 0, width = 0;
  if (!ParseInteger(space == std::string::npos ? "" : s.substr(0, space), height)) return false;
  s = Drop(s, space + 1);
  const std::size_t x = s.find("+X");
  if (x != std::string::npos) s = Drop(s, x + 2);
  if (!ParseInteger(Trim(s), width)) return false;
  if (height < 0 || height > 65535 || width < 0 || width > 65535) return false;
  h.height = static_cast<uint16_t>(height);
  h.width = static_cast<uint16_t>(width);
  return true;
}

}  // namespace

bool ParseRadianceHeader(BinaryFile& file, RadianceHeader& h) {
  if (file.Size() < 200) return false;

  std::string line;
  const int first = file.ReadByte();
  const int second = file.ReadByte();
  if (first == '#' && second == '?') {
    h.flags |= kHdrSignature;
    h.programType = ReadLine(file);
    Cut(h.programType, kProgramTypeLength);
    h.programType += "   ";
    Cut(h.programType, kProgramTypeLength);
    line = ReadLine(file);
    if (StartsWithHash(line)) {
      h.programType += line;
      Cut(h.programType, kProgramTypeLength);
    }
  }

  // A line that does not begin with "#" has been seen (or is empty) and is
  // replaced by the next one; a comment uses up its pass.
  bool readNext = !StartsWithHash(line);
  bool headerEnded = false;
  for (int pass = 1; pass <= kHeaderPasses && !headerEnded; ++pass) {
    if (readNext) line = ReadLine(file);
    readNext = true;
    if (StartsWithHash(line)) continue;
    ExamineLine(line, h);
    headerEnded = Trim(line).empty();
  }
  if (!headerEnded) return false;

  if (!ParseResolution(ReadLine(file), h)) return false;
  return h.width != 0 && h.height != 0;
}

}  // namespace halvane
