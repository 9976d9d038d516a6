#pragma once

#include "sources/documents/Containers.h"

#include <string>
#include <vector>

namespace quillmark {

// ElementsBelowRoot by our own small reader, for where no XML library is at hand (the web
// build): the same elements as libxml2 gives for the parts of packages, nothing for a part that
// is not well-formed or declares a document type. Namespace prefixes are dropped from names,
// and namespace declarations are no attributes.
std::vector<XmlElement> OwnElementsBelowRoot(const std::string& xml);

} // namespace quillmark
