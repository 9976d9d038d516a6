#include "modhtml/ModHtml.h"

namespace quillmark {

ModHtmlState& ModHtml()
{
    static ModHtmlState state;
    return state;
}

} // namespace quillmark
