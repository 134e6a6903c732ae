// The data folder and the reader of the outer planets' coefficient files.
// Every evaluation opens its file, reads one fixed-length record and closes
// the file again: nothing is cached between calls.
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <system_error>

#include "planets/src/planets_internal.h"

namespace pvlt {
namespace {

// The data folder is the one setting shared by every thread: it is written
// rarely (at start-up) and copied out under its lock at each file read, so a
// call never sees half of a folder being replaced.
std::mutex g_folder_lock;
char g_folder[kPathCapacity] = {0};
// Everything a read works in is per thread, so that scans on several threads
// can ask for positions at the same time without locking each other out of
// the file reader.
thread_local char t_path[kPathCapacity] = {0};
thread_local char t_folder_copy[kPathCapacity] = {0};
thread_local unsigned char t_record[kRecordBufferBytes] = {0};
thread_local DacRecord t_parsed = {};

constexpr int kHeaderWidth = 5;
constexpr int kFieldWidth = 10;
constexpr int kT0Offset = 5;
constexpr int kSecondOffset = 15;
constexpr int kCoefficientOffset = 25;

bool is_digit(char c) { return c >= '0' && c <= '9'; }
bool is_blank(char c) { return c == ' ' || c == '\t'; }

// A field read whole: leading blanks, a decimal number (optional sign,
// digits with at most one point, optional exponent), then nothing but blanks
// to the field's end.  Anything else, an empty field, or a value that does
// not fit a double is damage: false.  The conversion does not depend on the
// process locale, and "inf", "nan" and hexadecimal forms are never numbers.
bool read_real(const unsigned char* record, int offset, int width, double* out) {
    const char* p = reinterpret_cast<const char*>(record) + offset;
    const char* end = p + width;
    while (p != end && is_blank(*p)) ++p;
    const char* start = p;
    bool negative = false;
    if (p != end && (*p == '+' || *p == '-')) {
        negative = *p == '-';
        ++p;
    }
    const char* number = p;
    int digits = 0;
    while (p != end && is_digit(*p)) ++p, ++digits;
    if (p != end && *p == '.') {
        ++p;
        while (p != end && is_digit(*p)) ++p, ++digits;
    }
    if (digits == 0) return false;
    if (p != end && (*p == 'e' || *p == 'E')) {
        ++p;
        if (p != end && (*p == '+' || *p == '-')) ++p;
        int exponent_digits = 0;
        while (p != end && is_digit(*p)) ++p, ++exponent_digits;
        if (exponent_digits == 0) return false;
    }
    const char* number_end = p;
    while (p != end && is_blank(*p)) ++p;
    if (p != end || start == number_end) return false;
    double value = 0.0;
    const auto res = std::from_chars(number, number_end, value, std::chars_format::general);
    if (res.ec != std::errc() || res.ptr != number_end || !std::isfinite(value)) return false;
    *out = negative ? -value : value;
    return true;
}

// The header's whole number, read the same strict way.
bool read_integer(const unsigned char* record, int offset, int width, int* out) {
    double value = 0.0;
    if (!read_real(record, offset, width, &value)) return false;
    if (value != std::floor(value) || value < -99999.0 || value > 99999.0) return false;
    *out = static_cast<int>(value);
    return true;
}

// Fills t_parsed; false when any field of the record is not a number.
bool parse_record() {
    bool ok = read_integer(t_record, 0, kHeaderWidth, &t_parsed.header);
    ok = read_real(t_record, kT0Offset, kFieldWidth, &t_parsed.t0) && ok;
    ok = read_real(t_record, kSecondOffset, kFieldWidth, &t_parsed.second) && ok;
    int offset = kCoefficientOffset;
    for (int q = 0; q < 3; ++q) {
        for (int j = 0; j < 7; ++j) {
            ok = read_real(t_record, offset, kFieldWidth, &t_parsed.coefficients[j][q]) && ok;
            offset += kFieldWidth;
        }
    }
    return ok;
}

// This thread's copy of the folder, taken under the folder's lock.
const char* copy_folder() {
    const std::lock_guard<std::mutex> lock(g_folder_lock);
    std::memcpy(t_folder_copy, g_folder, kPathCapacity);
    return t_folder_copy;
}

// Forms folder + file name in the path buffer; false when it does not fit.
bool make_path(const char* folder, const char* file_name) {
    const std::size_t folder_length = std::strlen(folder);
    const std::size_t name_length = std::strlen(file_name);
    if (folder_length + name_length >= kPathCapacity) return false;
    std::memcpy(t_path, folder, folder_length);
    std::memcpy(t_path + folder_length, file_name, name_length + 1);
    return true;
}

}  // namespace

bool record_covers(const DacRecord& record, int block_first_year, double jd) {
    if (record.header != block_first_year) return false;
    // The block runs from 2 T0 - end to end (T0 is its middle); it holds five
    // calendar years, so anything much longer, or running backwards, is a
    // damaged header.
    const double half = record.second - record.t0;
    if (!(half > 0.0) || !(2.0 * half <= kMaxBlockDays)) return false;
    const double first = record.t0 - half - kRecordMarginDays;
    const double last = record.second + kRecordMarginDays;
    return jd >= first && jd <= last;
}

int set_data_folder(const char* folder) {
    if (folder == nullptr) return 0;
    // Count at most one character past the capacity: a longer text is refused
    // without reading further into the caller's memory than needed.
    std::size_t length = 0;
    while (length < kPathCapacity && folder[length] != '\0') ++length;
    if (length >= kPathCapacity) return 0;
    const std::lock_guard<std::mutex> lock(g_folder_lock);
    std::memcpy(g_folder, folder, length + 1);
    return static_cast<int>(length) + 1;
}

const char* data_folder() { return copy_folder(); }

const DacRecord& dac_last_record() { return t_parsed; }

int read_fixed_record(const char* file_name, int record_index, int record_bytes,
                      unsigned char* buffer) {
    const char* folder = copy_folder();
    if (folder[0] == '\0') return kErrNoDataFolder;
    std::memset(buffer, 0, static_cast<std::size_t>(record_bytes));
    if (file_name == nullptr || file_name[0] == '\0' || !make_path(folder, file_name)) {
        return kErrFileOpen;
    }
    // Judged by its status before it is opened: only a regular file long
    // enough to hold the record is read, and then exactly one record, so a
    // folder, a FIFO or a device in the file's place is refused at once instead
    // of blocking the caller or being read without end.
    std::error_code ec;
    const std::filesystem::file_status status = std::filesystem::status(t_path, ec);
    if (ec || !std::filesystem::is_regular_file(status)) return kErrFileOpen;
    const std::uintmax_t size = std::filesystem::file_size(t_path, ec);
    if (ec) return kErrFileOpen;
    std::FILE* f = std::fopen(t_path, "rb");
    if (f == nullptr) return kErrFileOpen;
    // One record per open: the stream's own buffer would only cost an
    // allocation and a larger read.
    std::setvbuf(f, nullptr, _IONBF, 0);
    const long offset = static_cast<long>(record_bytes) * record_index;
    if (record_index < 0 || std::fseek(f, offset, SEEK_SET) != 0) {
        std::fclose(f);
        return kErrFileSeek;
    }
    if (size < static_cast<std::uintmax_t>(offset) + static_cast<std::uintmax_t>(record_bytes)) {
        std::fclose(f);
        return kErrFileShort;
    }
    const std::size_t got = std::fread(buffer, 1, static_cast<std::size_t>(record_bytes), f);
    std::fclose(f);
    if (got != static_cast<std::size_t>(record_bytes)) return kErrFileShort;
    return 0;
}

bool read_field(const unsigned char* record, int offset, int width, double* out) {
    return read_real(record, offset, width, out);
}

int dac_read_record(const char* file_name, int record_index) {
    const int r = read_fixed_record(file_name, record_index, kRecordBytes, t_record);
    if (r != 0) return r;
    if (!parse_record()) return kErrDamagedRecord;
    return 0;
}

double dac_long_lat_rv(double jd, int year, int first_year, int end_year, const char* file_name,
                       double* lat, double* rv) {
    if (year < first_year) return kErrYearBeforeData;
    if (year >= end_year) return kErrYearAfterData;
    const int k = (year - first_year) / 5;
    const int r = dac_read_record(file_name, k);
    if (r < 0) return r;
    if (!record_covers(t_parsed, first_year + 5 * k, jd)) return kErrDamagedRecord;
    const double t = (jd - t_parsed.t0) * 0.0005;
    double value[3];
    for (int q = 0; q < 3; ++q) {
        double v = t_parsed.coefficients[6][q];
        for (int j = 5; j >= 0; --j) v = v * t + t_parsed.coefficients[j][q];
        value[q] = v;
    }
    // A longitude at or below the error limit would pass for an error code:
    // only a damaged record's polynomial gives one.
    if (value[0] <= kErrorLimit) return kErrDamagedRecord;
    if (lat != nullptr) *lat = value[1];
    if (rv != nullptr) *rv = value[2];
    return value[0];
}

}  // namespace pvlt
