#include "sources/documents/VbaPackage.h"

#include "base/AsciiText.h"
#include "sources/documents/VbaFormatError.h"

#include <string_view>
#include <unordered_map>
#include <vector>

namespace quillmark {

namespace {

constexpr std::string_view OfficeDocumentRelation =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument";
constexpr std::string_view VbaProjectRelation = "http://schemas.microsoft.com/office/2006/relationships/vbaProject";
constexpr std::string_view VbaProjectContentType = "application/vnd.ms-office.vbaProject";
// Relationships and content types are small; beyond this they are refused unread.
constexpr std::uint64_t MaxXmlPartSize = 4 * 1024 * 1024;
// The package itself, as the source of relationships.
const std::string PackageRoot = "/";

// Where the relationships of source lie: "/xl/_rels/workbook.xml.rels" for "/xl/workbook.xml",
// "/_rels/.rels" for the package.
std::string RelationshipsOf(const std::string& source)
{
    const std::size_t slash = source.rfind('/');
    return source.substr(0, slash + 1) + "_rels/" + source.substr(slash + 1) + ".rels";
}

// The part whose relationships the part named lists: "/F/X" for "/F/_rels/X.rels", the package
// for "/_rels/.rels"; nothing for a part that lists none.
std::optional<std::string> SourceOf(std::string_view name)
{
    constexpr std::string_view suffix = ".rels";
    const std::size_t slash = name.rfind('/');
    if (slash == 0 || slash == std::string_view::npos || name.size() < slash + 1 + suffix.size() ||
        !SameName(name.substr(name.size() - suffix.size()), suffix)) {
        return std::nullopt;
    }
    const std::size_t folder = name.rfind('/', slash - 1) + 1;
    if (!SameName(name.substr(folder, slash - folder), "_rels")) {
        return std::nullopt;
    }
    const std::string_view part = name.substr(slash + 1, name.size() - slash - 1 - suffix.size());
    if (part.empty()) {
        return folder == 1 ? std::optional(PackageRoot) : std::nullopt;
    }
    return std::string(name.substr(0, folder)) + std::string(part);
}

// target resolved against the folder of source, "." and ".." taken away; nothing when it
// climbs above the package.
std::optional<std::string> Resolve(const std::string& source, std::string_view target)
{
    std::vector<std::string_view> parts;
    const auto add = [&parts](std::string_view path) {
        for (std::size_t at = 0; at <= path.size();) {
            const std::size_t end = std::min(path.find('/', at), path.size());
            const std::string_view part = path.substr(at, end - at);
            at = end + 1;
            if (part == "..") {
                if (parts.empty()) {
                    return false;
                }
                parts.pop_back();
            } else if (!part.empty() && part != ".") {
                parts.push_back(part);
            }
        }
        return true;
    };
    if (!target.starts_with('/')) {
        add(std::string_view(source).substr(0, source.rfind('/')));
    }
    if (!add(target)) {
        return std::nullopt;
    }
    std::string resolved;
    for (const std::string_view part : parts) {
        resolved += '/';
        resolved += part;
    }
    return resolved;
}

struct Relationship {
    std::string target;
    bool external = false;
};

// The first relationship of type that source has.
std::optional<Relationship> RelationshipOfType(ZipPackage& package, const std::string& source, std::string_view type)
{
    const std::optional<std::string> xml =
        ReadPackagePart(package, RelationshipsOf(source), "the package's relationships part", MaxXmlPartSize);
    if (!xml) {
        return std::nullopt;
    }
    for (const XmlElement& element : ElementsBelowRoot(*xml)) {
        if (element.name == "Relationship" && element.Attribute("Type") == type) {
            return Relationship{element.Attribute("Target"), element.Attribute("TargetMode") == "External"};
        }
    }
    return std::nullopt;
}

bool HasPart(ZipPackage& package, const std::string& name)
{
    return name == PackageRoot || package.PartSize(name).has_value();
}

std::optional<std::string> RelatedVbaPart(ZipPackage& package, const std::string& source)
{
    const std::optional<Relationship> relation = RelationshipOfType(package, source, VbaProjectRelation);
    if (!relation || relation->external) {
        return std::nullopt;
    }
    const std::optional<std::string> target = Resolve(source, relation->target);
    if (!target || !HasPart(package, *target) || *target == PackageRoot) {
        throw VbaFormatError("the package names the part " + relation->target + ", which it does not contain");
    }
    return target;
}

std::optional<std::string> VbaPartByRelationship(ZipPackage& package)
{
    // Word, Excel and PowerPoint relate it to their main document: look there first.
    if (const std::optional<Relationship> main = RelationshipOfType(package, PackageRoot, OfficeDocumentRelation);
        main && !main->external) {
        const std::optional<std::string> document = Resolve(PackageRoot, main->target);
        if (document && HasPart(package, *document)) {
            if (std::optional<std::string> part = RelatedVbaPart(package, *document)) {
                return part;
            }
        }
    }
    for (const std::string& name : package.PartNames()) {
        const std::optional<std::string> source = SourceOf(name);
        if (source && HasPart(package, *source)) {
            if (std::optional<std::string> part = RelatedVbaPart(package, *source)) {
                return part;
            }
        }
    }
    return std::nullopt;
}

// [Content_Types].xml: a part's type is its Override, else the Default of its extension.
class ContentTypes {
public:
    explicit ContentTypes(const std::string& xml)
    {
        for (const XmlElement& element : ElementsBelowRoot(xml)) {
            if (element.name == "Override") {
                overrides_.emplace(LowerAscii(element.Attribute("PartName")), element.Attribute("ContentType"));
            } else if (element.name == "Default") {
                defaults_.emplace(LowerAscii(element.Attribute("Extension")), element.Attribute("ContentType"));
            }
        }
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

std::optional<std::string> VbaPartByContentType(ZipPackage& package)
{
    const std::optional<std::string> xml =
        ReadPackagePart(package, "/[Content_Types].xml", "the package's [Content_Types].xml", MaxXmlPartSize);
    if (!xml) {
        return std::nullopt;
    }
    const ContentTypes types(*xml);
    for (const std::string& name : package.PartNames()) {
        if (types.TypeOf(name) == VbaProjectContentType) {
            return name;
        }
    }
    return std::nullopt;
}

} // namespace

std::optional<std::string> FindVbaProjectPart(ZipPackage& package)
{
    if (std::optional<std::string> part = VbaPartByRelationship(package)) {
        return part;
    }
    return VbaPartByContentType(package);
}

std::optional<std::string> ReadPackagePart(ZipPackage& package, const std::string& name, const std::string& what,
                                           std::uint64_t limit)
{
    const std::optional<std::uint64_t> size = package.PartSize(name);
    if (!size) {
        return std::nullopt;
    }
    if (*size > limit) {
        throw VbaFormatError(what + " is too large (" + std::to_string(*size) + " bytes)");
    }
    return package.ReadPart(name, what);
}

} // namespace quillmark
