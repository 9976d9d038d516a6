#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillmark {

// The containers a VBA project lives in, read by what the platform offers: libgsf on Linux,
// the system's structured storage and zlib on Windows. Everything about where the project lies
// in them is decided above, once for both. Paths are UTF-8. Failures throw RuntimeError, a
// damaged container VbaFormatError, with the problem alone; the caller says which part it was.

// Reads size bytes at offset of a file or of bytes into a buffer; throws RuntimeError when it
// cannot. Our own readers of containers read through it.
using ReadAt = std::function<void(std::uint64_t offset, char* into, std::size_t size)>;

// A stream or part larger than this is refused rather than read.
inline constexpr std::uint64_t MaxStreamSize = 128 * 1024 * 1024;

// A storage of an OLE compound file. Names are matched ignoring the case of ASCII letters;
// path names the child in errors ("VBA/dir").
class CompoundStorage {
public:
    virtual ~CompoundStorage() = default;

    // The child storage; nullptr when there is no child of that name or it is a stream.
    // Throws when the child is listed but cannot be opened.
    virtual std::unique_ptr<CompoundStorage> Storage(const std::string& name, const std::string& path) = 0;

    // The child stream whole; nothing when there is no child of that name or it is a storage.
    // Throws when it cannot be read or is larger than MaxStreamSize.
    virtual std::optional<std::string> Stream(const std::string& name, const std::string& path) = 0;

    // Whether there is a child of that name, storage or stream.
    virtual bool Has(const std::string& name) = 0;
};

struct CompoundFile {
    std::unique_ptr<CompoundStorage> root;
    // Why a storage or stream may be missing: entries the reader dropped as impossible ("stream
    // PROJECT claims ... bytes, more than the file holds"); empty when it dropped none.
    std::string damage;
};

// The compound file at path, or the one that a package holds (its bytes).
CompoundFile OpenCompoundFile(const std::string& path);
CompoundFile OpenCompoundBytes(std::string bytes);

// The parts of a zip package (.xlsm, .docm ...).
class ZipPackage {
public:
    virtual ~ZipPackage() = default;

    // The names of the parts, "/" in front ("/xl/vbaProject.bin"), in the package's order;
    // folders are not parts.
    virtual const std::vector<std::string>& PartNames() const = 0;

    // The size that the part named (ignoring the case of ASCII letters) declares; nothing
    // when the package has no such part.
    virtual std::optional<std::uint64_t> PartSize(const std::string& name) = 0;

    // The whole part that PartSize found; what names it in errors.
    virtual std::string ReadPart(const std::string& name, const std::string& what) = 0;
};

std::unique_ptr<ZipPackage> OpenZipPackage(const std::string& path);

// An element of a small XML part: its local name and its attributes by local name.
struct XmlElement {
    std::string name;
    std::vector<std::pair<std::string, std::string>> attributes;

    // The attribute's value; empty when the element has none of that name.
    std::string Attribute(std::string_view attribute) const
    {
        for (const auto& [name, value] : attributes) {
            if (name == attribute) {
                return value;
            }
        }
        return {};
    }
};

// The elements directly inside the root element, in order; none when xml is not well-formed
// or declares a document type.
std::vector<XmlElement> ElementsBelowRoot(const std::string& xml);

} // namespace quillmark
