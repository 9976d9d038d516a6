#pragma once

#include <gsf/gsf.h>

#include <string>

namespace quillmark {

// libgsf silently drops a directory entry it finds impossible, and with it the entries that
// hang below it, so a damaged stream looks like a missing one. This reads the directory as
// written and names the first stream whose stated size exceeds the whole file; empty when
// there is none or the directory cannot be followed. what names the file ("the compound file").
std::string ImpossibleStreamSize(GsfInput* compoundFile, const std::string& what);

} // namespace quillmark
