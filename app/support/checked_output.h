#pragma once
// A stream's buffer that writes to a file descriptor and remembers the first
// write that failed.  Standard output that goes to a full disk, a closed pipe
// or /dev/full would otherwise lose the report's end without a word: the
// standard streams only set a flag that nobody asks, and the C library's
// buffer may hold the last bytes until exit, when no one can report them.

#include <streambuf>
#include <string>
#include <vector>

namespace vlt {

class CheckedFdBuffer final : public std::streambuf {
public:
    explicit CheckedFdBuffer(int fd);
    ~CheckedFdBuffer() override;
    CheckedFdBuffer(const CheckedFdBuffer&) = delete;
    CheckedFdBuffer& operator=(const CheckedFdBuffer&) = delete;

    // Writes what is buffered and, when the descriptor is a regular file,
    // makes sure it reached the device (a full disk may only show there).
    // Returns 0, or the system's error number of the first failed write; from
    // that failure on, everything written is dropped.
    int Finish();
    int Error() const { return error_; }

protected:
    int_type overflow(int_type c) override;
    std::streamsize xsputn(const char* s, std::streamsize n) override;
    int sync() override;

private:
    bool Drain();

    const int fd_;
    std::vector<char> buffer_;
    int error_ = 0;
};

// "cannot write to standard output: No space left on device": the one line a
// program gives when Finish() found a failure.
std::string OutputFailureText(int error);

}  // namespace vlt
