#include "platform/win32/com/ComClass.h"

namespace quillmark::win32 {

std::atomic<long>& LiveObjects()
{
    static std::atomic<long> count{0};
    return count;
}

} // namespace quillmark::win32
