#include "image/hdr_header.h"

#include <string_view>

namespace halvane {
namespace {

constexpr std::size_t kMaxLineBytes = 128;
constexpr std::size_t kProgramTypeLength = 50;
constexpr int kHeaderPasses = 5;

// A header line: up to a line feed (not stored) or 128 bytes; carriage returns
// stay in the line. The end of the file ends the line.
std::string ReadLine(ByteStream& in) {
  std::string line;
  while (line.size() < kMaxLineBytes) {
    const int c = in.Get();
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
// A value not of that form is ignored.
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

// The resolution line "-Y height +X width"; other orientations are not read.
std::optional<ReadError> ParseResolution(const std::string& resolutionLine, RadianceHeader& h) {
  if (!Contains(resolutionLine, "-Y") || !Contains(resolutionLine, "+X"))
    return ReadError{"no \"-Y height +X width\" resolution line"};
  const ReadError unreadable{"unreadable resolution line"};
  std::string s = Trim(Drop(Trim(resolutionLine), 2));
  const std::size_t space = s.find(' ');
  long long height = 0, width = 0;
  if (!ParseInteger(space == std::string::npos ? "" : s.substr(0, space), height))
    return unreadable;
  s = Drop(s, space + 1);
  const std::size_t x = s.find("+X");
  if (x != std::string::npos) s = Drop(s, x + 2);
  if (!ParseInteger(Trim(s), width)) return unreadable;
  if (height < 0 || height > 65535 || width < 0 || width > 65535) return unreadable;
  h.height = static_cast<uint16_t>(height);
  h.width = static_cast<uint16_t>(width);
  return std::nullopt;
}

}  // namespace

OrError<RadianceHeader> ParseRadianceHeader(ByteStream& in) {
  if (in.Size() < 200) return ReadError{"not a Radiance file (shorter than 200 bytes)"};

  RadianceHeader h;
  std::string line;
  const int first = in.Get();
  const int second = in.Get();
  if (first == '#' && second == '?') {
    h.flags |= kHdrSignature;
    h.programType = ReadLine(in);
    Cut(h.programType, kProgramTypeLength);
    h.programType += "   ";
    Cut(h.programType, kProgramTypeLength);
    line = ReadLine(in);
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
    if (readNext) line = ReadLine(in);
    readNext = true;
    if (StartsWithHash(line)) continue;
    ExamineLine(line, h);
    headerEnded = Trim(line).empty();
  }
  if (!headerEnded) return ReadError{"not a Radiance file (no empty line ends the header)"};

  if (auto error = ParseResolution(ReadLine(in), h)) return *error;
  if (h.width == 0 || h.height == 0)
    return ReadError{"image has no pixels (" + SizeText(h.width, h.height) + ")"};
  return h;
}

}  // namespace halvane
