#pragma once
// Helpers shared by the position tests: a scratch data folder, a recording
// message-box fake and an encoder of Pluto table entries written from the
// published encoding rules (independent of the decoder under test).

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/support/message_box.h"

namespace vlt_test {

class ScratchFolder {
public:
    ScratchFolder() {
        std::string pattern = ::testing::TempDir() + "vlt_pos_XXXXXX";
        if (char* made = mkdtemp(pattern.data())) path_ = std::string(made) + "/";
    }
    ~ScratchFolder() {
        for (const auto& f : files_) std::remove(f.c_str());
        if (!path_.empty()) rmdir(path_.c_str());
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    // Folder text ending in "/".
    const std::string& Path() const { return path_; }

    void Write(const std::string& name, const std::string& bytes) {
        const std::string p = path_ + name;
        std::ofstream(p, std::ios::binary) << bytes;
        files_.push_back(p);
    }
    void Remove(const std::string& name) { std::remove((path_ + name).c_str()); }

private:
    std::string path_;
    std::vector<std::string> files_;
};

struct ShownBox {
    std::string text;
    std::string title;
    vlt::MsgButtons buttons;
    vlt::MsgIcon icon;
};

class RecordingBoxes : public vlt::MessageBoxes {
public:
    vlt::MsgResult Show(const std::string& text, const std::string& title, vlt::MsgButtons buttons,
                        vlt::MsgIcon icon) override {
        shown.push_back({text, title, buttons, icon});
        return vlt::MsgResult::Ok;
    }
    std::vector<ShownBox> shown;
};

// Geocentric entry i for a longitude given in whole minutes of arc.
inline std::string EncodeGeoEntry(int i, int arcMinutes) {
    const int sixties = arcMinutes / 3600;
    const int degrees = (arcMinutes / 60) % 60;
    const int minutes = arcMinutes % 60;
    std::string e;
    e += static_cast<char>(58 + sixties + i % 55);
    e += static_cast<char>(59 + degrees);
    e += static_cast<char>(60 + minutes);
    return e;
}

// Heliocentric entry i for a longitude given in whole seconds of arc.
inline std::string EncodeHelioEntry(int i, int arcSeconds) {
    const int sixties = arcSeconds / 216000;
    const int degrees = (arcSeconds / 3600) % 60;
    const int minutes = (arcSeconds / 60) % 60;
    const int seconds = arcSeconds % 60;
    std::string e;
    e += static_cast<char>(60 + minutes + i % 7);
    e += static_cast<char>(60 + seconds);
    e += static_cast<char>(58 + sixties + i % 55);
    e += static_cast<char>(59 + degrees);
    return e;
}

// A whole table file, one entry per line (CR LF), from longitudes in whole
// minutes (geocentric) or seconds (heliocentric) of arc.
inline std::string GeoTableText(const std::vector<int>& arcMinutes) {
    std::string text;
    for (std::size_t i = 0; i < arcMinutes.size(); ++i) {
        text += EncodeGeoEntry(static_cast<int>(i), arcMinutes[i]) + "\r\n";
    }
    return text;
}

inline std::string HelioTableText(const std::vector<int>& arcSeconds) {
    std::string text;
    for (std::size_t i = 0; i < arcSeconds.size(); ++i) {
        text += EncodeHelioEntry(static_cast<int>(i), arcSeconds[i]) + "\r\n";
    }
    return text;
}

}  // namespace vlt_test
