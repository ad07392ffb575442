// Captures what the game prints on standard output (printf and std::cout alike) by
// pointing file descriptor 1 at a temporary file.
#pragma once

#include <string>

namespace rt {

class StdoutCapture {
public:
    StdoutCapture();
    ~StdoutCapture();
    StdoutCapture(const StdoutCapture&) = delete;
    StdoutCapture& operator=(const StdoutCapture&) = delete;

    // Ends the capture and returns everything printed since it began.
    std::string finish();

private:
    int savedFd_ = -1;
    int fileFd_ = -1;
    std::string text_;
};

}  // namespace rt
