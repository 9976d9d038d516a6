#include "platform/com/ServerObjects.h"

namespace quillmark::com {

std::atomic<long>& LiveObjects()
{
    static std::atomic<long> count{0};
    return count;
}

} // namespace quillmark::com
