#pragma once

#include <cstddef>

namespace quillmark {

// Tells the system that memory about to be filled is one large buffer (a whole converted
// module), so that it may back it with large pages: touching tens of megabytes a small page
// at a time costs more than converting into them. Where the system cannot be told, nothing
// happens.
void AdviseLargeBuffer(void* start, std::size_t size);

} // namespace quillmark
