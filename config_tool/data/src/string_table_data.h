#pragma once
// The built-in English texts of the setting data model.
#include <cstddef>

#include "platform/strings.h"

namespace axcfg {

const platform::StringEntry* DataModelStrings(size_t& count);
// Texts of the setting file, data check, CSV export and verification.
const platform::StringEntry* FileStrings(size_t& count);

}  // namespace axcfg
