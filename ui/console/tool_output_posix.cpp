#include <fcntl.h>
#include <unistd.h>

#include <ext/stdio_filebuf.h>

#include <iostream>

#include "ui/console/tool_output.h"

namespace quorvel {

struct ToolOutput::Redirection {
    explicit Redirection(int fd) : buffer(fd, std::ios::out), stream(&buffer) {}
    __gnu_cxx::stdio_filebuf<char> buffer;  // owns the saved descriptor
    std::ostream stream;
};

ToolOutput::ToolOutput() {
    std::cout.flush();
    const int saved = ::fcntl(STDOUT_FILENO, F_DUPFD_CLOEXEC, 3);
    if (saved < 0) return;
    const int null = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (null < 0 || ::dup2(null, STDOUT_FILENO) < 0) {
        if (null >= 0) ::close(null);
        ::close(saved);
        return;
    }
    ::close(null);
    redirection_ = std::make_unique<Redirection>(saved);
}

ToolOutput::~ToolOutput() {
    if (redirection_) redirection_->stream.flush();
}

std::ostream& ToolOutput::stream() { return redirection_ ? redirection_->stream : std::cout; }

}  // namespace quorvel
