// Our small XML reader (the web edition's reader of the packages' relationships and content
// types) over any bytes: the elements it gives have names, and nothing runs away with the stack.
#include "FuzzChecks.h"
#include "sources/documents/XmlReader.h"

#include <string>

using namespace quillmark;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size)
{
    for (const XmlElement& element : OwnElementsBelowRoot(std::string(reinterpret_cast<const char*>(bytes), size))) {
        fuzz::Expect(!element.name.empty(), "an element has a name");
        for (const auto& [name, value] : element.attributes)
            fuzz::Expect(!name.empty(), "an attribute has a name");
    }
    return 0;
}
