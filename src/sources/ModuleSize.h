#pragma once

#include <cstddef>

namespace quillmark {

// The most module text one input gives: the module on standard input, or the modules of a
// document together. Far above any module the editor holds (65,535 lines of 1,023 characters,
// 64 MiB), it stops only input that is no code, such as a device that never ends.
inline constexpr std::size_t MaxInputModuleSize = 256u * 1024 * 1024;

} // namespace quillmark
