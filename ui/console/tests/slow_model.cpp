// A stand-in model that takes a minute and writes nothing, for stopping runs.

#include <chrono>
#include <thread>

int main() {
    std::this_thread::sleep_for(std::chrono::seconds(60));
    return 0;
}
