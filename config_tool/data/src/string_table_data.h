#pragma once
// The built-in English texts of the setting data model.
#include <cstddef>

#include "platform/strings.h"

namespace axcfg {

const platform::StringEntry* DataModelStrings(size_t& count);

}  // namespace axcfg
