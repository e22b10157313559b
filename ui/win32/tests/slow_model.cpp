// Stands in for the model in window tests: runs for a minute and writes
// nothing, so that a test can close the window while a run is pending.

#include <windows.h>

int main() {
    Sleep(60000);
    return 0;
}
