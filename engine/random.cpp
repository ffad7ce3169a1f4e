#include "engine/random.h"

#include <chrono>

namespace stonerush {

SeededRandom SeededRandom::fromClock() {
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    const auto ticks =
        static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count());
    return SeededRandom(static_cast<uint32_t>(ticks ^ (ticks >> 32)));
}

}  // namespace stonerush
