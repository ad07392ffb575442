// Standard output captured through a temporary file: both the C stream and the C++
// stream are flushed on the way in and out, so nothing crosses the boundary late.
#include "tests/render/stdout_capture.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <stdexcept>

namespace rt {

namespace {

void flushBoth() {
    std::fflush(stdout);
    std::cout.flush();
}

}  // namespace

StdoutCapture::StdoutCapture() {
    char name[] = "/tmp/slot-render-stdout-XXXXXX";
    fileFd_ = mkstemp(name);
    if (fileFd_ < 0) throw std::runtime_error("cannot make a capture file");
    unlink(name);
    flushBoth();
    savedFd_ = dup(STDOUT_FILENO);
    dup2(fileFd_, STDOUT_FILENO);
}

StdoutCapture::~StdoutCapture() {
    if (savedFd_ >= 0) finish();
}

std::string StdoutCapture::finish() {
    if (savedFd_ < 0) return text_;
    flushBoth();
    dup2(savedFd_, STDOUT_FILENO);
    close(savedFd_);
    savedFd_ = -1;
    lseek(fileFd_, 0, SEEK_SET);
    char buffer[4096];
    ssize_t got = 0;
    while ((got = read(fileFd_, buffer, sizeof buffer)) > 0) text_.append(buffer, static_cast<size_t>(got));
    close(fileFd_);
    fileFd_ = -1;
    return text_;
}

}  // namespace rt
