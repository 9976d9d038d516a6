#include "platform/clock/TickCounter.h"

#include <chrono>

namespace quillmark {

std::uint32_t timeGetTime()
{
    using namespace std::chrono;
    const auto ms = duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
    return static_cast<std::uint32_t>(ms);
}

} // namespace quillmark
