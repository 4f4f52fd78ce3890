// Commits the fault named by its argument, so the build's sanitizers can show
// that they catch it and fail the program. Not built with our warning set on
// purpose: the faults are the point.
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// Read through volatile so the compiler cannot see the values and fold the
// faults away.
volatile int gIndex = 16;
volatile int gBig = INT_MAX;

int HeapBufferOverflow() {
    // Through memset, so it is AddressSanitizer that sees it (UBSan's object
    // size check would catch a plain out-of-bounds load first).
    char* buffer = static_cast<char*>(std::malloc(16));
    std::memset(buffer, 0, static_cast<std::size_t>(gIndex) + 1);
    const int value = buffer[0];
    std::free(buffer);
    return value;
}

int SignedIntegerOverflow() {
    const int big = gBig;
    return big + 1;
}

int MemoryLeak() {
    void* volatile lost = std::malloc(64);
    lost = nullptr;
    return lost == nullptr ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    int result = 0;
    if (std::strcmp(argv[1], "heap-buffer-overflow") == 0) result = HeapBufferOverflow();
    else if (std::strcmp(argv[1], "signed-integer-overflow") == 0) result = SignedIntegerOverflow();
    else if (std::strcmp(argv[1], "memory-leak") == 0) result = MemoryLeak();
    else return 2;
    std::printf("no fault detected (%d)\n", result);
    return 0;
}
