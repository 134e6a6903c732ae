// The data folder and the reader of the outer planets' coefficient files.
// Every evaluation opens its file, reads one fixed-length record and closes
// the file again: nothing is cached between calls.
#include <charconv>
#include <cstdio>
#include <cstring>

#include "planets/src/planets_internal.h"

namespace pvlt {
namespace {

// Shared state of the library (one caller at a time).
char g_folder[kPathCapacity] = {0};
char g_path[kPathCapacity] = {0};
unsigned char g_record[kRecordBufferBytes] = {0};
DacRecord g_parsed = {};

constexpr int kHeaderWidth = 5;
constexpr int kFieldWidth = 10;
constexpr int kT0Offset = 5;
constexpr int kSecondOffset = 15;
constexpr int kCoefficientOffset = 25;

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// Start of the number in a field: leading blanks skipped, and a '+' sign
// dropped because the standard conversion does not take one.  Returns null
// when no number starts there (the field then reads as 0).
const char* number_start(const char* p, const char* end, bool* negative) {
  while (p != end && (*p == ' ' || *p == '\t')) ++p;
  *negative = false;
  if (p != end && (*p == '+' || *p == '-')) {
    *negative = *p == '-';
    ++p;
  }
  // Only decimal text: a digit, or a point followed by a digit.  This keeps
  // "inf", "nan" and hexadecimal forms out.
  if (p == end) return nullptr;
  if (is_digit(*p)) return p;
  if (*p == '.' && p + 1 != end && is_digit(p[1])) return p;
  return nullptr;
}

// A decimal number read from a field of `width` characters, never beyond it.
// The conversion does not depend on the process locale.
double read_real(const unsigned char* record, int offset, int width) {
  const char* p = reinterpret_cast<const char*>(record) + offset;
  const char* end = p + width;
  bool negative = false;
  p = number_start(p, end, &negative);
  if (p == nullptr) return 0.0;
  double value = 0.0;
  const auto res = std::from_chars(p, end, value, std::chars_format::general);
  if (res.ec != std::errc()) return 0.0;
  return negative ? -value : value;
}

int read_integer(const unsigned char* record, int offset, int width) {
  const char* p = reinterpret_cast<const char*>(record) + offset;
  const char* end = p + width;
  bool negative = false;
  p = number_start(p, end, &negative);
  if (p == nullptr || !is_digit(*p)) return 0;
  int value = 0;
  const auto res = std::from_chars(p, end, value);
  if (res.ec != std::errc()) return 0;
  return negative ? -value : value;
}

void parse_record() {
  g_parsed.header = read_integer(g_record, 0, kHeaderWidth);
  g_parsed.t0 = read_real(g_record, kT0Offset, kFieldWidth);
  g_parsed.second = read_real(g_record, kSecondOffset, kFieldWidth);
  int offset = kCoefficientOffset;
  for (int q = 0; q < 3; ++q) {
    for (int j = 0; j < 7; ++j) {
      g_parsed.coefficients[j][q] = read_real(g_record, offset, kFieldWidth);
      offset += kFieldWidth;
    }
  }
}

// Forms folder + file name in the path buffer; false when it does not fit.
bool make_path(const char* file_name) {
  const std::size_t folder_length = std::strlen(g_folder);
  const std::size_t name_length = std::strlen(file_name);
  if (folder_length + name_length >= kPathCapacity) return false;
  std::memcpy(g_path, g_folder, folder_length);
  std::memcpy(g_path + folder_length, file_name, name_length + 1);
  return true;
}

}  // namespace

int set_data_folder(const char* folder) {
  if (folder == nullptr) return 0;
  // Count at most one character past the capacity: a longer text is refused
  // without reading further into the caller's memory than needed.
  std::size_t length = 0;
  while (length < kPathCapacity && folder[length] != '\0') ++length;
  if (length >= kPathCapacity) return 0;
  std::memcpy(g_folder, folder, length + 1);
  return static_cast<int>(length) + 1;
}

const char* data_folder() { return g_folder; }

const DacRecord& dac_last_record() { return g_parsed; }

int dac_read_record(const char* file_name, int record_index) {
  if (g_folder[0] == '\0') return kErrNoDataFolder;
  std::memset(g_record, 0, sizeof g_record);
  if (file_name == nullptr || file_name[0] == '\0' || !make_path(file_name)) {
    return kErrFileOpen;
  }
  std::FILE* f = std::fopen(g_path, "rb");
  if (f == nullptr) return kErrFileOpen;
  // One record per open: the stream's own buffer would only cost an
  // allocation and a larger read.
  std::setvbuf(f, nullptr, _IONBF, 0);
  const long offset = static_cast<long>(kRecordBytes) * record_index;
  if (record_index < 0 || std::fseek(f, offset, SEEK_SET) != 0) {
    std::fclose(f);
    return kErrFileSeek;
  }
  const std::size_t got = std::fread(g_record, 1, kRecordBytes, f);
  std::fclose(f);
  if (got != static_cast<std::size_t>(kRecordBytes)) return kErrFileShort;
  parse_record();
  return 0;
}

double dac_long_lat_rv(double jd, int year, int first_year, int end_year,
                       const char* file_name, double* lat, double* rv) {
  if (year < first_year) return kErrYearBeforeData;
  if (year >= end_year) return kErrYearAfterData;
  const int r = dac_read_record(file_name, (year - first_year) / 5);
  if (r < 0) return r;
  const double t = (jd - g_parsed.t0) * 0.0005;
  double value[3];
  for (int q = 0; q < 3; ++q) {
    double v = g_parsed.coefficients[6][q];
    for (int j = 5; j >= 0; --j) v = v * t + g_parsed.coefficients[j][q];
    value[q] = v;
  }
  if (lat != nullptr) *lat = value[1];
  if (rv != nullptr) *rv = value[2];
  return value[0];
}

}  // namespace pvlt
