#pragma once

namespace quillmark::cli {

// Asks the allocator to keep memory that is freed for the next module instead of handing it
// back to the system after each one: taking it back costs a page fault per page, which was
// half the time of a site. Where the allocator cannot be asked, this does nothing.
void KeepFreedMemoryForReuse();

} // namespace quillmark::cli
