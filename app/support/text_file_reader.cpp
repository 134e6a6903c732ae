#include "app/support/text_file_reader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace vlt {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string SystemErrorText(int number) { return std::string(std::strerror(number)); }

// Opens the file for reading; -1 with the error set when it cannot be opened
// or is not a regular file of at most maxBytes.  Opened without
// waiting for a writer (a FIFO), and judged by its status before anything is
// read, so that reading is always bounded.
int OpenRegularFile(const std::string& fileName, std::int64_t maxBytes, std::string& errorText,
                    std::int32_t& errorNumber) {
    const int fd = ::open(fileName.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        errorNumber = errno;
        errorText = SystemErrorText(errorNumber);
        return -1;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        errorNumber = errno;
    } else if (S_ISDIR(st.st_mode)) {
        errorNumber = EISDIR;
    } else if (!S_ISREG(st.st_mode)) {
        errorNumber = EINVAL;
    } else if (static_cast<std::int64_t>(st.st_size) > maxBytes) {
        errorNumber = EFBIG;
    }
    if (errorNumber == 0) return fd;
    errorText =
        errorNumber == EINVAL ? std::string("Not a regular file") : SystemErrorText(errorNumber);
    ::close(fd);
    return -1;
}

// Cuts the complete lines out of a block; a line that runs over the end of
// the block is carried over in `pending`.
template <typename Deliver>
void SplitLines(std::string_view chunk, std::string& pending, const Deliver& deliver) {
    for (;;) {
        const std::size_t lf = chunk.find('\n');
        if (lf == std::string_view::npos) {
            pending.append(chunk);
            return;
        }
        if (pending.empty()) {
            deliver(chunk.substr(0, lf));
        } else {
            pending.append(chunk.substr(0, lf));
            deliver(pending);
            pending.clear();
        }
        chunk.remove_prefix(lf + 1);
    }
}

}  // namespace

std::string_view TrimBlanks(std::string_view text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && IsBlank(text[begin])) ++begin;
    while (end > begin && IsBlank(text[end - 1])) --end;
    return text.substr(begin, end - begin);
}

void ForEachLineOfFile(const std::string& fileName, bool skipBlank, bool trimLines,
                       const std::function<void(std::int32_t, std::string_view)>& onLine,
                       std::int32_t& count, std::string& errorText, std::int32_t& errorNumber,
                       std::int64_t maxBytes) {
    count = 0;
    errorText.clear();
    errorNumber = 0;

    const int fd = OpenRegularFile(fileName, maxBytes, errorText, errorNumber);
    if (fd < 0) return;

    auto deliver = [&](std::string_view line) {
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        const std::string_view trimmed = TrimBlanks(line);
        if (skipBlank && trimmed.empty()) return;
        onLine(count, trimLines ? trimmed : line);
        ++count;
    };

    std::string pending;
    char block[1 << 16];
    for (;;) {
        const ssize_t got = ::read(fd, block, sizeof block);
        if (got < 0) {
            if (errno == EINTR) continue;
            errorNumber = errno;
            errorText = SystemErrorText(errorNumber);
            ::close(fd);
            return;
        }
        if (got == 0) break;
        SplitLines(std::string_view(block, static_cast<std::size_t>(got)), pending, deliver);
    }
    if (!pending.empty()) deliver(pending);  // last line without a line end
    ::close(fd);
}

void ReadLinesIntoList(const std::string& fileName, std::vector<std::string>& list,
                       std::int16_t firstIndex, bool skipBlank, bool trimLines, std::int32_t& count,
                       std::string& errorText, std::int32_t& errorNumber) {
    const std::size_t first = firstIndex < 0 ? 0 : static_cast<std::size_t>(firstIndex);
    list.assign(first + 1, std::string());
    ForEachLineOfFile(
        fileName, skipBlank, trimLines,
        [&](std::int32_t order, std::string_view line) {
            const std::size_t position = first + static_cast<std::size_t>(order);
            if (position < list.size()) {
                list[position].assign(line);
            } else {
                list.emplace_back(line);
            }
        },
        count, errorText, errorNumber);
}

}  // namespace vlt
