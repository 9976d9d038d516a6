#include "platform/memory/LargeBuffer.h"

namespace quillmark {

void AdviseLargeBuffer(void*, std::size_t)
{}

} // namespace quillmark
