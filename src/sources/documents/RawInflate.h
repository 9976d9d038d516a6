#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "base/RuntimeError.h"

namespace quillmark {

// Makes the error for a problem of the data being inflated ("its deflated data is invalid").
using InflateDamage = std::function<RuntimeError(const std::string& problem)>;

// Raw deflate data (a zip part) inflated into data, which has the size the part declares, by
// what the platform offers: zlib natively, a package of the JavaScript host in the web build.
// Throws damaged(problem) when the data is invalid or ends early, or inflates to more or fewer
// bytes than data holds; never makes more than one byte past them.
void InflateRaw(std::string_view compressed, std::string& data, const InflateDamage& damaged);

// The CRC-32 of a zip part, as its central directory records it.
std::uint32_t ZipChecksum(std::string_view data);

} // namespace quillmark
