#include "app/support/checked_output.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "app/support/file_bytes.h"

namespace vlt {

CheckedFdBuffer::CheckedFdBuffer(int fd) : fd_(fd), buffer_(1 << 16) {
    setp(buffer_.data(), buffer_.data() + buffer_.size());
}

CheckedFdBuffer::~CheckedFdBuffer() { Drain(); }

bool CheckedFdBuffer::Drain() {
    const std::size_t n = static_cast<std::size_t>(pptr() - pbase());
    setp(buffer_.data(), buffer_.data() + buffer_.size());
    if (error_ != 0) return false;
    error_ = WriteAllBytes(fd_, std::string_view(buffer_.data(), n));
    return error_ == 0;
}

CheckedFdBuffer::int_type CheckedFdBuffer::overflow(int_type c) {
    if (!Drain()) return traits_type::eof();
    if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
    *pptr() = traits_type::to_char_type(c);
    pbump(1);
    return c;
}

std::streamsize CheckedFdBuffer::xsputn(const char* s, std::streamsize n) {
    if (error_ != 0) return 0;
    const std::streamsize room = epptr() - pptr();
    if (n <= room) {
        std::memcpy(pptr(), s, static_cast<std::size_t>(n));
        pbump(static_cast<int>(n));
        return n;
    }
    // A large piece goes out directly, after what was buffered before it.
    if (!Drain()) return 0;
    error_ = WriteAllBytes(fd_, std::string_view(s, static_cast<std::size_t>(n)));
    return error_ == 0 ? n : 0;
}

int CheckedFdBuffer::sync() { return Drain() ? 0 : -1; }

int CheckedFdBuffer::Finish() {
    if (!Drain()) return error_;
    struct stat st {};
    if (::fstat(fd_, &st) == 0 && S_ISREG(st.st_mode) && ::fsync(fd_) != 0 && errno != EINVAL &&
        errno != EROFS) {
        error_ = errno;
    }
    return error_;
}

std::string OutputFailureText(int error) {
    return std::string("cannot write to standard output: ") + std::strerror(error);
}

}  // namespace vlt
