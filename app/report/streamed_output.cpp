#include "app/report/streamed_output.h"

namespace vlt {

void StreamedOutput::Append(const std::string& text) {
    if (text.empty()) return;
    written_ = true;
    if (crlf_) {
        out_ << text;
    } else {
        std::string lf;
        lf.reserve(text.size() + 1);
        for (char c : text) {
            if (heldCr_) {
                heldCr_ = false;
                if (c != '\n') lf.push_back('\r');
            }
            if (c == '\r') {
                heldCr_ = true;
            } else {
                lf.push_back(c);
            }
        }
        out_ << lf;
    }
    out_.flush();
}

void StreamedOutput::Finish() {
    if (heldCr_) out_ << '\r';
    heldCr_ = false;
    out_.flush();
}

}  // namespace vlt
