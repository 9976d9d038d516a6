#pragma once

#include <string>
#include <string_view>

namespace quillmark {

// Windows' "HTML Format" clipboard text for an HTML fragment (UTF-8): the header of byte
// offsets (Version:0.9, StartHTML, EndHTML, StartFragment, EndFragment), then a document whose
// body holds the fragment between <!--StartFragment--> and <!--EndFragment-->.
std::string HtmlClipboardFormat(std::string_view fragment);

} // namespace quillmark
