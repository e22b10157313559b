// Test child: sleeps for argv[1] milliseconds; with a second argument
// "ignore-term" it ignores SIGTERM.
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <thread>

int main(int argc, char** argv) {
    const long ms = argc > 1 ? std::strtol(argv[1], nullptr, 10) : 1000;
    if (argc > 2 && std::strcmp(argv[2], "ignore-term") == 0) {
        std::signal(SIGTERM, SIG_IGN);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    return 0;
}
