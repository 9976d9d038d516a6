// Small XML parts read by the system's XmlLite.

#include "sources/documents/Containers.h"

#include "platform/win32/SystemHeaders.h"
#include "platform/win32/WideText.h"

#include <wrl/client.h>
#include <xmllite.h>

namespace quillmark {

namespace {

using Microsoft::WRL::ComPtr;

constexpr std::string_view NamespaceDeclarations = "http://www.w3.org/2000/xmlns/";

std::string Text(HRESULT (STDMETHODCALLTYPE IXmlReader::*get)(const WCHAR**, UINT*), IXmlReader& reader)
{
    const WCHAR* text = nullptr;
    UINT length = 0;
    if (FAILED((reader.*get)(&text, &length)) || text == nullptr) {
        return {};
    }
    return win32::Narrow(std::wstring_view(text, length));
}

// The current element's attributes, namespace declarations left out.
bool ReadAttributes(IXmlReader& reader, XmlElement& element)
{
    for (HRESULT result = reader.MoveToFirstAttribute(); result != S_FALSE; result = reader.MoveToNextAttribute()) {
        if (FAILED(result)) {
            return false;
        }
        if (Text(&IXmlReader::GetNamespaceUri, reader) != NamespaceDeclarations) {
            element.attributes.emplace_back(Text(&IXmlReader::GetLocalName, reader),
                                            Text(&IXmlReader::GetValue, reader));
        }
    }
    return SUCCEEDED(reader.MoveToElement());
}

} // namespace

std::vector<XmlElement> ElementsBelowRoot(const std::string& xml)
{
    ComPtr<IStream> stream;
    if (FAILED(::CreateStreamOnHGlobal(nullptr, TRUE, &stream))) {
        return {};
    }
    ULONG written = 0;
    if (FAILED(stream->Write(xml.data(), static_cast<ULONG>(xml.size()), &written)) || written != xml.size() ||
        FAILED(stream->Seek(LARGE_INTEGER{}, STREAM_SEEK_SET, nullptr))) {
        return {};
    }
    ComPtr<IXmlReader> reader;
    if (FAILED(::CreateXmlReader(__uuidof(IXmlReader), reinterpret_cast<void**>(reader.GetAddressOf()), nullptr))) {
        return {};
    }
    // A document type is refused: the package format allows none, and its entities could
    // blow a small part up.
    if (FAILED(reader->SetProperty(XmlReaderProperty_DtdProcessing, DtdProcessing_Prohibit)) ||
        FAILED(reader->SetInput(stream.Get()))) {
        return {};
    }
    std::vector<XmlElement> elements;
    XmlNodeType type = XmlNodeType_None;
    HRESULT result = S_OK;
    while ((result = reader->Read(&type)) == S_OK) {
        UINT depth = 0;
        if (type != XmlNodeType_Element || FAILED(reader->GetDepth(&depth)) || depth != 1) {
            continue;
        }
        XmlElement& element = elements.emplace_back();
        element.name = Text(&IXmlReader::GetLocalName, *reader.Get());
        if (!ReadAttributes(*reader.Get(), element)) {
            return {};
        }
    }
    return result == S_FALSE ? elements : std::vector<XmlElement>();
}

} // namespace quillmark
