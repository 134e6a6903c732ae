#include "app/window/output_file.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "app/support/atomic_file.h"
#include "app/support/run_host.h"
#include "app/window/control_names.h"
#include "app/window/main_window.h"

namespace vlt {

std::string Utf8ToLatin1(const std::string& utf8) {
    std::string out;
    out.reserve(utf8.size());
    const auto* s = reinterpret_cast<const unsigned char*>(utf8.data());
    const std::size_t n = utf8.size();
    for (std::size_t i = 0; i < n;) {
        const unsigned char c = s[i];
        if (c < 0x80) {
            out += static_cast<char>(c);
            ++i;
            continue;
        }
        int len = 0;
        unsigned int cp = 0;
        if ((c & 0xE0) == 0xC0) {
            len = 2;
            cp = c & 0x1F;
        } else if ((c & 0xF0) == 0xE0) {
            len = 3;
            cp = c & 0x0F;
        } else if ((c & 0xF8) == 0xF0) {
            len = 4;
            cp = c & 0x07;
        }
        bool ok = len > 0 && i + static_cast<std::size_t>(len) <= n;
        for (int k = 1; ok && k < len; ++k) {
            const unsigned char cc = s[i + static_cast<std::size_t>(k)];
            if ((cc & 0xC0) != 0x80) ok = false;
            cp = (cp << 6) | (cc & 0x3F);
        }
        if (!ok) {
            out += static_cast<char>(c);  // a stray byte: already single-byte text
            ++i;
            continue;
        }
        out += cp <= 0xFF ? static_cast<char>(cp) : '?';
        i += static_cast<std::size_t>(len);
    }
    return out;
}

std::string WriteOutputFile(const std::string& path, const std::string& utf8Text) {
    const std::string bytes = Utf8ToLatin1(utf8Text) + kLineBreak;
    const int err = WriteFileAtomically(path, bytes, 0644);
    return err == 0 ? std::string() : std::string(std::strerror(err));
}

void MainWindow::WriteOutputToFile() {
    const Ctl button(ctl::cmdFile, 0);
    const std::string title = ui_.Text(button);
    const auto blank = [](char c) { return c == ' '; };
    std::string text = outputText_;
    text.erase(text.begin(), std::find_if_not(text.begin(), text.end(), blank));
    text.erase(std::find_if_not(text.rbegin(), text.rend(), blank).base(), text.end());
    if (text != outputText_) {
        outputText_ = text;
        ui_.SetText(ctl::txbOutput, outputText_);
    }
    if (text.empty()) {
        ui_.Show("Nothing to write.", title, MsgButtons::Ok, MsgIcon::Exclamation);
        return;
    }
    const std::string path = ui_.SaveFileDialog("Specify output file");
    if (path.empty()) return;
    const std::string error = WriteOutputFile(path, text);
    if (!error.empty()) {
        ui_.Show("Error writing to file " + path + "\n" + error, title, MsgButtons::Ok,
                 MsgIcon::Exclamation);
        return;
    }
    if (ui_.Value(ctl::chkOpenOutputFile) == 1) {
        if (!ui_.OpenWithDefaultProgram(path)) {
            ui_.Show("Error when opening file " + path + ".", "Error", MsgButtons::Ok,
                     MsgIcon::Exclamation);
        }
    } else {
        ui_.Show("Output written to file " + path, "Done", MsgButtons::Ok, MsgIcon::Information);
    }
}

}  // namespace vlt
