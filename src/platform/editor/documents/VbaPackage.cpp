#include "platform/editor/documents/VbaPackage.h"

#include "codemodel/AsciiText.h"
#include "platform/editor/documents/VbaFormatError.h"

#include <libxml/parser.h>
#include <libxml/tree.h>

#include <deque>
#include <functional>
#include <string_view>
#include <unordered_map>
#include <utility>

namespace quillmark {

namespace {

constexpr const char* OfficeDocumentRelation =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument";
constexpr const char* VbaProjectRelation = "http://schemas.microsoft.com/office/2006/relationships/vbaProject";
constexpr std::string_view VbaProjectContentType = "application/vnd.ms-office.vbaProject";
// libgsf reads relationships whole; these small XML parts are refused beyond this size.
constexpr gsf_off_t MaxXmlPartSize = 4 * 1024 * 1024;

GPtr<GsfInput> Ref(GsfInput* input)
{
    return GPtr<GsfInput>(GSF_INPUT(g_object_ref(input)));
}

// Calls visit with the name ("/xl/vbaProject.bin") and input of each part, folder by folder
// in the zip's order, until it returns true.
GPtr<GsfInput> FindPart(GsfInfile* package, const std::function<bool(const std::string&, GsfInput*)>& visit)
{
    std::deque<std::pair<std::string, GPtr<GsfInput>>> folders;
    folders.emplace_back("/", Ref(GSF_INPUT(package)));
    while (!folders.empty()) {
        const auto [prefix, folder] = std::move(folders.front());
        folders.pop_front();
        const int count = gsf_infile_num_children(GSF_INFILE(folder.get()));
        for (int i = 0; i < count; ++i) {
            const char* name = gsf_infile_name_by_index(GSF_INFILE(folder.get()), i);
            GPtr<GsfInput> child(gsf_infile_child_by_index(GSF_INFILE(folder.get()), i));
            if (name == nullptr || child == nullptr) {
                continue;
            }
            if (GSF_IS_INFILE(child.get()) && gsf_infile_num_children(GSF_INFILE(child.get())) >= 0) {
                folders.emplace_back(prefix + name + "/", std::move(child));
            } else if (visit(prefix + name, child.get())) {
                return child;
            }
        }
    }
    return nullptr;
}

// libgsf reads a part's relationships whole; refuse oversized ones before it does.
void CheckRelationshipsSize(GsfInput* part)
{
    GPtr<GsfInput> rels;
    if (GsfInfile* container = gsf_input_container(part); gsf_input_name(part) != nullptr && container != nullptr) {
        GPtr<GsfInput> folder(gsf_infile_child_by_name(container, "_rels"));
        if (folder != nullptr && GSF_IS_INFILE(folder.get())) {
            const std::string name = std::string(gsf_input_name(part)) + ".rels";
            rels.reset(gsf_infile_child_by_name(GSF_INFILE(folder.get()), name.c_str()));
        }
    } else {
        rels.reset(gsf_infile_child_by_vname(GSF_INFILE(part), "_rels", ".rels", nullptr));
    }
    if (rels != nullptr && gsf_input_size(rels.get()) > MaxXmlPartSize) {
        throw VbaFormatError("the package's relationships part is too large");
    }
}

GPtr<GsfInput> RelatedVbaPart(GsfInput* part)
{
    CheckRelationshipsSize(part);
    GsfOpenPkgRel* relation = gsf_open_pkg_lookup_rel_by_type(part, VbaProjectRelation);
    if (relation == nullptr || gsf_open_pkg_rel_is_extern(relation)) {
        return nullptr;
    }
    ErrorHolder error;
    GPtr<GsfInput> target(gsf_open_pkg_open_rel(part, relation, &error));
    if (target == nullptr) {
        throw VbaFormatError(std::string("the package names the part ") + gsf_open_pkg_rel_get_target(relation) +
                             ", which it does not contain");
    }
    return target;
}

// The part a relationships part "F/_rels/X.rels" belongs to: "F/X", or the package itself for
// "/_rels/.rels".
GPtr<GsfInput> SourceOf(GsfInput* rels)
{
    constexpr std::string_view suffix = ".rels";
    const char* rawName = gsf_input_name(rels);
    const std::string_view name = rawName != nullptr ? rawName : "";
    GsfInfile* relsFolder = gsf_input_container(rels);
    const char* folderName = relsFolder != nullptr ? gsf_input_name(GSF_INPUT(relsFolder)) : nullptr;
    if (!name.ends_with(suffix) || folderName == nullptr || std::string_view(folderName) != "_rels") {
        return nullptr;
    }
    GsfInfile* folder = gsf_input_container(GSF_INPUT(relsFolder));
    if (folder == nullptr) {
        return nullptr;
    }
    const std::string part(name.substr(0, name.size() - suffix.size()));
    if (part.empty()) {
        return gsf_input_container(GSF_INPUT(folder)) == nullptr ? Ref(GSF_INPUT(folder)) : nullptr;
    }
    return GPtr<GsfInput>(gsf_infile_child_by_name(folder, part.c_str()));
}

GPtr<GsfInput> VbaPartByRelationship(GsfInfile* package)
{
    // Word, Excel and PowerPoint relate it to their main document: look there first.
    CheckRelationshipsSize(GSF_INPUT(package));
    GPtr<GsfInput> main(gsf_open_pkg_open_rel_by_type(GSF_INPUT(package), OfficeDocumentRelation, nullptr));
    if (main != nullptr) {
        if (GPtr<GsfInput> target = RelatedVbaPart(main.get())) {
            return target;
        }
    }
    GPtr<GsfInput> target;
    FindPart(package, [&](const std::string&, GsfInput* rels) {
        const GPtr<GsfInput> source = SourceOf(rels);
        target = source != nullptr ? RelatedVbaPart(source.get()) : nullptr;
        return target != nullptr;
    });
    return target;
}

std::string Attribute(xmlNode* element, const char* name)
{
    xmlChar* value = xmlGetProp(element, reinterpret_cast<const xmlChar*>(name));
    std::string text = value != nullptr ? reinterpret_cast<const char*>(value) : "";
    xmlFree(value);
    return text;
}

// [Content_Types].xml: a part's type is its Override, else the Default of its extension.
class ContentTypes {
public:
    explicit ContentTypes(const std::string& xml)
    {
        xmlDoc* document = xmlReadMemory(xml.data(), static_cast<int>(xml.size()), nullptr, nullptr,
                                         XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
        xmlNode* root = document != nullptr ? xmlDocGetRootElement(document) : nullptr;
        for (xmlNode* node = root != nullptr ? root->children : nullptr; node != nullptr; node = node->next) {
            if (node->type != XML_ELEMENT_NODE) {
                continue;
            }
            const std::string_view element = reinterpret_cast<const char*>(node->name);
            if (element == "Override") {
                overrides_.emplace(LowerAscii(Attribute(node, "PartName")), Attribute(node, "ContentType"));
            } else if (element == "Default") {
                defaults_.emplace(LowerAscii(Attribute(node, "Extension")), Attribute(node, "ContentType"));
            }
        }
        xmlFreeDoc(document);
    }

    std::string_view TypeOf(const std::string& partName) const
    {
        const std::string folded = LowerAscii(partName); // part names compare ignoring ASCII case
        if (const auto it = overrides_.find(folded); it != overrides_.end()) {
            return it->second;
        }
        const std::size_t dot = folded.rfind('.');
        const auto it = dot == std::string::npos ? defaults_.end() : defaults_.find(folded.substr(dot + 1));
        return it != defaults_.end() ? std::string_view(it->second) : std::string_view();
    }

private:
    std::unordered_map<std::string, std::string> overrides_; // folded part name -> type
    std::unordered_map<std::string, std::string> defaults_;  // folded extension -> type
};

GPtr<GsfInput> VbaPartByContentType(GsfInfile* package)
{
    GPtr<GsfInput> part(gsf_infile_child_by_name(package, "[Content_Types].xml"));
    if (part == nullptr) {
        return nullptr;
    }
    const ContentTypes types(ReadAll(part.get(), "the package's [Content_Types].xml", MaxXmlPartSize));
    return FindPart(package,
                    [&](const std::string& name, GsfInput*) { return types.TypeOf(name) == VbaProjectContentType; });
}

} // namespace

GPtr<GsfInput> FindVbaProjectPart(GsfInfile* package)
{
    if (GPtr<GsfInput> part = VbaPartByRelationship(package)) {
        return part;
    }
    return VbaPartByContentType(package);
}

} // namespace quillmark
