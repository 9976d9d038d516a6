#include "platform/clock/TickCounter.h"

#include "platform/win32/SystemHeaders.h"

#include <mmsystem.h>

namespace quillmark {

std::uint32_t timeGetTime()
{
    return ::timeGetTime();
}

} // namespace quillmark
