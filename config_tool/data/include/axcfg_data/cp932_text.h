#pragma once
// Texts of the setting file and the CSV files are code page 932 bytes; the
// data model holds UTF-8. The conversions are the platform's.
#include "platform/cp932.h"

namespace axcfg {
using platform::Cp932FromUtf8;
using platform::Cp932Length;
using platform::Utf8FromCp932;
}  // namespace axcfg
