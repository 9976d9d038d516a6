#pragma once

// The library's version information, read by the Linux library's look-up and by the Windows
// resource script, which takes macros only.

#define QUILLMARK_VERSION_NUMBERS 0, 8, 0, 11
#define QUILLMARK_VERSION_TEXT "0.08.0011"
#define QUILLMARK_FILE_DESCRIPTION "VBAのソースコードにｈｔｍｌタグを埋め込む"
#define QUILLMARK_PRODUCT_NAME "Quillmark"
#ifndef QUILLMARK_ORIGINAL_FILENAME // quillmark.exe names itself
#define QUILLMARK_ORIGINAL_FILENAME "Quillmark.dll"
#endif
#define QUILLMARK_LANGUAGE 0x0411
