#include "sources/documents/VbaProjectWriter.h"

#include <gsf/gsf.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <functional>
#include <memory>
#include <stdexcept>

namespace quillmark::testing {

namespace {

void Put(std::string& out, std::uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i) {
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
    }
}

void Record(std::string& out, std::uint16_t id, std::string_view data)
{
    Put(out, id, 2);
    Put(out, static_cast<std::uint32_t>(data.size()), 4);
    out.append(data);
}

std::string Number(std::uint32_t value, int bytes)
{
    std::string out;
    Put(out, value, bytes);
    return out;
}

std::string Utf16(const std::string& utf8)
{
    glong written = 0;
    gunichar2* wide = g_utf8_to_utf16(utf8.c_str(), -1, nullptr, &written, nullptr);
    if (wide == nullptr) {
        throw std::invalid_argument("not UTF-8: " + utf8);
    }
    std::string out;
    for (glong i = 0; i < written; ++i) {
        Put(out, wide[i], 2);
    }
    g_free(wide);
    return out;
}

// The module's name as UTF-8: its Unicode record when written, else its (ASCII) bytes.
std::string StreamName(const WrittenModule& module)
{
    if (!module.streamName.empty()) {
        return module.streamName;
    }
    if (module.unicodeName.empty()) {
        return module.name;
    }
    gchar* utf8 = g_utf16_to_utf8(reinterpret_cast<const gunichar2*>(module.unicodeName.data()),
                                  static_cast<glong>(module.unicodeName.size() / 2), nullptr, nullptr, nullptr);
    std::string name = utf8 != nullptr ? utf8 : module.name;
    g_free(utf8);
    return name;
}

std::string CompressedModule(const WrittenModule& module)
{
    return module.cache + (module.rawChunks ? CompressRaw(module.source) : Compress(module.source));
}

struct Unref {
    void operator()(void* object) const { g_object_unref(object); }
};
template <typename T>
using GPtr = std::unique_ptr<T, Unref>;

void WriteChild(GsfOutfile* parent, const std::string& name, std::string_view data)
{
    GPtr<GsfOutput> child(gsf_outfile_new_child(parent, name.c_str(), FALSE));
    gsf_output_write(child.get(), data.size(), reinterpret_cast<const guint8*>(data.data()));
    gsf_output_close(child.get());
}

GPtr<GsfOutfile> Folder(GsfOutfile* parent, const char* name)
{
    return GPtr<GsfOutfile>(GSF_OUTFILE(gsf_outfile_new_child(parent, name, TRUE)));
}

std::string Bytes(GsfOutput* memory)
{
    const auto* data = gsf_output_memory_get_bytes(GSF_OUTPUT_MEMORY(memory));
    return std::string(reinterpret_cast<const char*>(data), static_cast<std::size_t>(gsf_output_size(memory)));
}

} // namespace

std::string Compress(std::string_view data, bool copies)
{
    std::string out(1, '\x01');
    for (std::size_t start = 0; start < data.size(); start += 4096) {
        const std::string_view chunk = data.substr(start, 4096);
        std::string body;
        std::size_t at = 0;
        while (at < chunk.size()) {
            const std::size_t flagAt = body.size();
            body.push_back('\0');
            for (int bit = 0; bit < 8 && at < chunk.size(); ++bit) {
                unsigned bits = 4;
                while ((std::size_t{1} << bits) < at) {
                    ++bits;
                }
                const std::size_t maxLength = (0xFFFFu >> bits) + 3;
                std::size_t bestLength = 0;
                std::size_t bestOffset = 0;
                for (std::size_t offset = 1; copies && offset <= std::min<std::size_t>(at, 512); ++offset) {
                    std::size_t length = 0;
                    while (at + length < chunk.size() && length < maxLength &&
                           chunk[at + length] == chunk[at + length - offset]) {
                        ++length;
                    }
                    if (length > bestLength) {
                        bestLength = length;
                        bestOffset = offset;
                    }
                }
                if (bestLength >= 3) {
                    body[flagAt] = static_cast<char>(body[flagAt] | (1 << bit));
                    Put(body, static_cast<std::uint32_t>(((bestOffset - 1) << (16 - bits)) | (bestLength - 3)), 2);
                    at += bestLength;
                } else {
                    body.push_back(chunk[at++]);
                }
            }
        }
        if (body.size() > 4096) {
            out += CompressRaw(chunk).substr(1);
        } else {
            Put(out, static_cast<std::uint32_t>(0xB000 | (body.size() + 2 - 3)), 2);
            out.append(body);
        }
    }
    return out;
}

std::string CompressRaw(std::string_view data)
{
    std::string out(1, '\x01');
    for (std::size_t start = 0; start < data.size(); start += 4096) {
        std::string chunk(data.substr(start, 4096));
        chunk.resize(4096, '\0');
        Put(out, 0x3FFF, 2);
        out.append(chunk);
    }
    return out;
}

std::string EncryptProjectField(std::string_view data, std::uint8_t seed)
{
    const std::uint8_t version = 2;
    const std::uint8_t projKey = 0x5A;
    std::string bytes;
    bytes.push_back(static_cast<char>(seed));
    const auto versionEnc = static_cast<std::uint8_t>(seed ^ version);
    const auto projKeyEnc = static_cast<std::uint8_t>(seed ^ projKey);
    bytes.push_back(static_cast<char>(versionEnc));
    bytes.push_back(static_cast<char>(projKeyEnc));
    std::uint8_t plain1 = projKey;
    std::uint8_t enc1 = projKeyEnc;
    std::uint8_t enc2 = versionEnc;
    const auto encrypt = [&](std::uint8_t plain) {
        const auto enc = static_cast<std::uint8_t>(plain ^ static_cast<std::uint8_t>(enc2 + plain1));
        bytes.push_back(static_cast<char>(enc));
        enc2 = enc1;
        enc1 = enc;
        plain1 = plain;
    };
    for (int i = 0; i < (seed & 6) / 2; ++i) {
        encrypt(0x11);
    }
    for (int i = 0; i < 4; ++i) {
        encrypt(static_cast<std::uint8_t>((data.size() >> (8 * i)) & 0xFF));
    }
    for (char c : data) {
        encrypt(static_cast<std::uint8_t>(c));
    }
    std::string hex;
    for (char c : bytes) {
        char pair[3];
        std::snprintf(pair, sizeof pair, "%02X", static_cast<unsigned>(static_cast<std::uint8_t>(c)));
        hex += pair;
    }
    return hex;
}

std::string StoredSource(const std::string& name, const std::string& code)
{
    return "Attribute VB_Name = \"" + name + "\"\r\n" + code;
}

std::string DirStream(const WrittenProject& project)
{
    std::string dir;
    Record(dir, 0x0001, Number(1, 4));
    if (project.optionalRecords) {
        Record(dir, 0x004A, Number(0x6B, 4));
    }
    Record(dir, 0x0002, Number(0x409, 4));
    Record(dir, 0x0014, Number(0x409, 4));
    Record(dir, 0x0003, Number(project.codePage, 2));
    Record(dir, 0x0004, "VBAProject");
    Record(dir, 0x0005, "");
    Record(dir, 0x0040, "");
    Record(dir, 0x0006, "");
    Record(dir, 0x003D, "");
    Record(dir, 0x0007, Number(0, 4));
    Record(dir, 0x0008, Number(0, 4));
    Put(dir, 0x0009, 2); // its size says 4, six bytes follow
    Put(dir, 4, 4);
    Put(dir, 0x5EA3B2C1, 4);
    Put(dir, 0x1B, 2);
    Record(dir, 0x000C, "");
    Record(dir, 0x003C, "");
    const std::string libid =
        "*\\G{00020430-0000-0000-C000-000000000046}#2.0#0#C:\\Windows\\stdole2.tlb#OLE Automation";
    Record(dir, 0x0016, "stdole");
    Record(dir, 0x003E, Utf16("stdole"));
    Record(dir, 0x000D, Number(static_cast<std::uint32_t>(libid.size()), 4) + libid + Number(0, 4) + Number(0, 2));
    Record(dir, 0x000F, Number(static_cast<std::uint32_t>(project.modules.size()), 2));
    Record(dir, 0x0013, Number(0xFFFF, 2));
    for (const WrittenModule& module : project.modules) {
        Record(dir, 0x0019, module.name);
        if (!module.unicodeName.empty()) {
            Record(dir, 0x0047, module.unicodeName);
        }
        Record(dir, 0x001A, module.name);
        Record(dir, 0x0032, Utf16(StreamName(module)));
        if (project.optionalRecords) {
            Record(dir, 0x001C, "");
            Record(dir, 0x0048, "");
        }
        const auto offset = static_cast<std::int64_t>(module.cache.size()) + module.offsetError;
        Record(dir, 0x0031, Number(static_cast<std::uint32_t>(offset), 4));
        if (project.optionalRecords) {
            Record(dir, 0x001E, Number(0, 4));
        }
        Record(dir, 0x002C, Number(0xFFFF, 2));
        Record(dir, module.type == 1 ? 0x0021 : 0x0022, "");
        if (project.optionalRecords) {
            Record(dir, 0x0025, "");
        }
        Record(dir, 0x002B, "");
    }
    Record(dir, 0x0010, "");
    return dir;
}

std::string ProjectStream(const WrittenProject& project)
{
    std::string text = "ID=\"{5D1F4B5A-8E6B-4B1C-9A49-7C1F6D6E2F11}\"\r\n";
    for (const WrittenModule& module : project.modules) {
        switch (module.type) {
        case 1: text += "Module=" + module.name + "\r\n"; break;
        case 2: text += "Class=" + module.name + "\r\n"; break;
        case 3: text += "BaseClass=" + module.name + "\r\n"; break;
        default: text += "Document=" + module.name + "/&H00000000\r\n"; break;
        }
    }
    text += "Name=\"VBAProject\"\r\nHelpContextID=\"0\"\r\nVersionCompatible32=\"393222000\"\r\n";
    std::string state;
    Put(state, project.protectionState, 4);
    text += "CMG=\"" + EncryptProjectField(state, 0x3B) + "\"\r\n";
    text += "DPB=\"" + EncryptProjectField(std::string(1, '\0'), 0x15) + "\"\r\n";
    text += "GC=\"" + EncryptProjectField(std::string(1, project.hiddenForViewing ? '\0' : '\xFF'), 0x2F) + "\"\r\n";
    text += "\r\n[Host Extender Info]\r\n&H00000001={3832D640-CF90-11CF-8E43-00A0C911005A};VBE;&H00000000\r\n";
    text += "\r\n[Workspace]\r\n";
    for (const WrittenModule& module : project.modules) {
        text += module.name + "=0, 0, 0, 0, C\r\n";
    }
    return text;
}

std::string CompoundFile(const WrittenProject& project, const std::string& storage,
                         const std::vector<std::string>& rootStreams)
{
    GPtr<GsfOutput> memory(gsf_output_memory_new());
    {
        GPtr<GsfOutfile> root(gsf_outfile_msole_new(memory.get()));
        for (const std::string& name : rootStreams) {
            WriteChild(root.get(), name, "placeholder");
        }
        GPtr<GsfOutfile> holder;
        GsfOutfile* parent = root.get();
        if (!storage.empty()) {
            holder = Folder(root.get(), storage.c_str());
            parent = holder.get();
        }
        WriteChild(parent, "PROJECT", ProjectStream(project));
        {
            GPtr<GsfOutfile> vba = Folder(parent, "VBA");
            WriteChild(vba.get(), "dir", Compress(DirStream(project)));
            WriteChild(vba.get(), "_VBA_PROJECT", std::string("\xCC\x61\xFF\xFF\x00\x00\x00", 7));
            for (const WrittenModule& module : project.modules) {
                WriteChild(vba.get(), StreamName(module), CompressedModule(module));
            }
            gsf_output_close(GSF_OUTPUT(vba.get()));
        }
        if (holder != nullptr) {
            gsf_output_close(GSF_OUTPUT(holder.get()));
        }
        gsf_output_close(GSF_OUTPUT(root.get()));
    }
    return Bytes(memory.get());
}

std::size_t DirectoryEntry(const std::string& compoundFile, const std::string& name)
{
    std::string wide;
    for (char c : name) {
        wide += std::string{c, '\0'};
    }
    wide += std::string(2, '\0');
    // Directory entries are 128 bytes each, in sectors of 512 or 4096.
    for (std::size_t at = compoundFile.find(wide); at != std::string::npos; at = compoundFile.find(wide, at + 1)) {
        if (at % 128 == 0) {
            return at;
        }
    }
    throw std::invalid_argument("no directory entry " + name);
}

std::string Package(const WrittenProject* project)
{
    std::string related = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                          "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">";
    ZipParts parts{
        {"[Content_Types].xml", "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
                                "<Default Extension=\"bin\" ContentType=\"application/vnd.ms-office.vbaProject\"/>"
                                "</Types>"},
        {"_rels/.rels", "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                        "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
                        "<Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/"
                        "relationships/officeDocument\" Target=\"xl/workbook.xml\"/></Relationships>"},
        {"xl/workbook.xml", "<workbook/>"},
    };
    if (project != nullptr) {
        related += "<Relationship Id=\"rId9\" Type=\"http://schemas.microsoft.com/office/2006/"
                   "relationships/vbaProject\" Target=\"vbaProject.bin\"/>";
        parts.emplace_back("xl/vbaProject.bin", CompoundFile(*project));
    }
    parts.emplace_back("xl/_rels/workbook.xml.rels", related + "</Relationships>");
    return Zip(parts);
}

std::string Zip(const ZipParts& parts)
{
    GPtr<GsfOutput> memory(gsf_output_memory_new());
    {
        GPtr<GsfOutfile> zip(gsf_outfile_zip_new(memory.get(), nullptr));
        std::vector<std::pair<std::string, GPtr<GsfOutfile>>> folders;
        const auto folder = [&](const std::string& path) {
            GsfOutfile* parent = zip.get();
            for (std::size_t slash = path.find('/'); slash != std::string::npos; slash = path.find('/', slash + 1)) {
                const std::string prefix = path.substr(0, slash);
                const auto known = std::find_if(folders.begin(), folders.end(),
                                                [&](const auto& each) { return each.first == prefix; });
                if (known != folders.end()) {
                    parent = known->second.get();
                    continue;
                }
                const std::string name = prefix.substr(prefix.rfind('/') + 1);
                folders.emplace_back(prefix, Folder(parent, name.c_str()));
                parent = folders.back().second.get();
            }
            return parent;
        };
        for (const auto& [path, bytes] : parts) {
            WriteChild(folder(path), path.substr(path.rfind('/') + 1), bytes);
        }
        for (auto it = folders.rbegin(); it != folders.rend(); ++it) {
            gsf_output_close(GSF_OUTPUT(it->second.get()));
        }
        gsf_output_close(GSF_OUTPUT(zip.get()));
    }
    return Bytes(memory.get());
}

ZipParts Unzip(const std::string& zip)
{
    GPtr<GsfInput> memory(
        gsf_input_memory_new(reinterpret_cast<const guint8*>(zip.data()), static_cast<gsf_off_t>(zip.size()), FALSE));
    GPtr<GsfInfile> root(gsf_infile_zip_new(memory.get(), nullptr));
    if (root == nullptr) {
        throw std::invalid_argument("not a zip package");
    }
    ZipParts parts;
    const std::function<void(GsfInfile*, const std::string&)> walk = [&](GsfInfile* folder, const std::string& prefix) {
        for (int i = 0; i < gsf_infile_num_children(folder); ++i) {
            GPtr<GsfInput> child(gsf_infile_child_by_index(folder, i));
            const std::string path = prefix + gsf_infile_name_by_index(folder, i);
            if (GSF_IS_INFILE(child.get()) && gsf_infile_num_children(GSF_INFILE(child.get())) >= 0) {
                walk(GSF_INFILE(child.get()), path + "/");
                continue;
            }
            std::string bytes(static_cast<std::size_t>(gsf_input_size(child.get())), '\0');
            gsf_input_read(child.get(), bytes.size(), reinterpret_cast<guint8*>(bytes.data()));
            parts.emplace_back(path, std::move(bytes));
        }
    };
    walk(root.get(), "");
    return parts;
}

void WriteFile(const std::string& path, std::string_view bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        throw std::runtime_error("cannot write " + path);
    }
}

} // namespace quillmark::testing
