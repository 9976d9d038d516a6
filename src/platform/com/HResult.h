#pragma once

#include "base/AsciiText.h"

#include <cstdint>
#include <string>

namespace quillmark::com {

// Result codes of the component run-time; negative values are failures.
using HResult = std::int32_t;

inline constexpr HResult S_OK = 0;
inline constexpr HResult S_FALSE = 1;
inline constexpr HResult E_NOINTERFACE = static_cast<HResult>(0x80004002);
inline constexpr HResult E_POINTER = static_cast<HResult>(0x80004003);
inline constexpr HResult E_FAIL = static_cast<HResult>(0x80004005);
inline constexpr HResult E_UNEXPECTED = static_cast<HResult>(0x8000FFFF);
inline constexpr HResult E_OUTOFMEMORY = static_cast<HResult>(0x8007000E);
inline constexpr HResult CLASS_E_NOAGGREGATION = static_cast<HResult>(0x80040110);
inline constexpr HResult CLASS_E_CLASSNOTAVAILABLE = static_cast<HResult>(0x80040111);
inline constexpr HResult REGDB_E_CLASSNOTREG = static_cast<HResult>(0x80040154);
inline constexpr HResult SELFREG_E_TYPELIB = static_cast<HResult>(0x80040200);
inline constexpr HResult SELFREG_E_CLASS = static_cast<HResult>(0x80040201);
inline constexpr HResult DISP_E_MEMBERNOTFOUND = static_cast<HResult>(0x80020003);
inline constexpr HResult DISP_E_TYPEMISMATCH = static_cast<HResult>(0x80020005);
inline constexpr HResult DISP_E_UNKNOWNNAME = static_cast<HResult>(0x80020006);
inline constexpr HResult DISP_E_EXCEPTION = static_cast<HResult>(0x80020009);
inline constexpr HResult DISP_E_BADPARAMCOUNT = static_cast<HResult>(0x8002000E);

constexpr bool Succeeded(HResult hr)
{
    return hr >= 0;
}
constexpr bool Failed(HResult hr)
{
    return hr < 0;
}

// "0x80004005" for E_FAIL, as messages show result codes.
inline std::string HResultText(HResult hr)
{
    return "0x" + HexDigits(static_cast<std::uint32_t>(hr), 8);
}

} // namespace quillmark::com
