// Small XML parts read by libxml2.

#include "sources/documents/Containers.h"
#include "sources/documents/OwnContainers.h"
#include "sources/documents/XmlReader.h"

#include <libxml/parser.h>
#include <libxml/tree.h>

#include <climits>

namespace quillmark {

std::vector<XmlElement> ElementsBelowRoot(const std::string& xml)
{
    if (ContainerReadersInUse() == ContainerReaders::Own) {
        return OwnElementsBelowRoot(xml);
    }
    if (xml.size() > INT_MAX) {
        return {};
    }
    xmlDoc* document = xmlReadMemory(xml.data(), static_cast<int>(xml.size()), nullptr, nullptr,
                                     XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
    std::vector<XmlElement> elements;
    xmlNode* root = document != nullptr && document->intSubset == nullptr ? xmlDocGetRootElement(document) : nullptr;
    for (xmlNode* node = root != nullptr ? root->children : nullptr; node != nullptr; node = node->next) {
        if (node->type != XML_ELEMENT_NODE) {
            continue;
        }
        XmlElement& element = elements.emplace_back();
        element.name = reinterpret_cast<const char*>(node->name);
        for (xmlAttr* attribute = node->properties; attribute != nullptr; attribute = attribute->next) {
            xmlChar* value = xmlNodeListGetString(document, attribute->children, 1);
            element.attributes.emplace_back(reinterpret_cast<const char*>(attribute->name),
                                            value != nullptr ? reinterpret_cast<const char*>(value) : "");
            xmlFree(value);
        }
    }
    xmlFreeDoc(document);
    return elements;
}

} // namespace quillmark
