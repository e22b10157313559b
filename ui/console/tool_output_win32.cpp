#include <fcntl.h>
#include <io.h>

#include <ext/stdio_filebuf.h>

#include <cstdio>
#include <iostream>

#include "ui/console/tool_output.h"

namespace quorvel {

struct ToolOutput::Redirection {
    explicit Redirection(int fd) : buffer(fd, std::ios::out | std::ios::binary), stream(&buffer) {}
    __gnu_cxx::stdio_filebuf<char> buffer;  // owns the saved descriptor
    std::ostream stream;
};

ToolOutput::ToolOutput() {
    std::cout.flush();
    std::fflush(stdout);
    const int saved = _dup(_fileno(stdout));
    if (saved < 0) return;
    // _dup2 on descriptor 1 also makes the null device the process's standard
    // output handle, which CreateProcess hands to the model programs.
    const int null = _open("NUL", _O_WRONLY);
    if (null < 0 || _dup2(null, _fileno(stdout)) < 0) {
        if (null >= 0) _close(null);
        _close(saved);
        return;
    }
    _close(null);
    _setmode(saved, _O_BINARY);
    redirection_ = std::make_unique<Redirection>(saved);
}

ToolOutput::~ToolOutput() {
    if (redirection_) redirection_->stream.flush();
}

std::ostream& ToolOutput::stream() { return redirection_ ? redirection_->stream : std::cout; }

}  // namespace quorvel
