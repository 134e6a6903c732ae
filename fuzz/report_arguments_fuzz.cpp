// vlt-report's command line through its public parse function: any
// arguments (separated by zero bytes).  The answer is exactly one of help, a
// request, or an error line, and the error line printed is one line.
#include <string>
#include <vector>

#include "app/report/report_options.h"
#include "app/support/escaped_text.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::string> args;
    std::string current;
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == 0) {
            args.push_back(current);
            current.clear();
        } else {
            current += static_cast<char>(data[i]);
        }
    }
    if (!current.empty() || args.empty()) args.push_back(current);
    const vlt::ReportArguments parsed = vlt::ParseReportArguments(args);
    const int outcomes =
        (parsed.ok ? 1 : 0) + (parsed.help ? 1 : 0) + (!parsed.error.empty() ? 1 : 0);
    if (outcomes != 1) vlt_fuzz::Broken("not exactly one of help, request, error");
    const std::string line = vlt::EscapedForOneLine(parsed.error);
    for (const char c : line) {
        if (static_cast<unsigned char>(c) < 32 || c == 127) vlt_fuzz::Broken("control character");
    }
    return 0;
}
