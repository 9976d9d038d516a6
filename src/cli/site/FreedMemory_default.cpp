#include "cli/site/FreedMemory.h"

namespace quillmark::cli {

void KeepFreedMemoryForReuse()
{}

} // namespace quillmark::cli
