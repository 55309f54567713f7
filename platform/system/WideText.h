#pragma once

// UTF-8 <-> UTF-16 for the wide Windows calls (Windows implementations only).

#include <string>
#include <string_view>

namespace medrec::platform {

std::string utf8FromWide(std::wstring_view wide);
std::wstring wideFromUtf8(std::string_view utf8);

// The system's text for a Windows or Winsock error code, in UTF-8, without the final
// line break.
std::string systemErrorText(unsigned long code);

} // namespace medrec::platform
