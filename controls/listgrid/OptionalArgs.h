#pragma once

#include "platform/basic/Variant.h"

#include <QString>

#include <optional>

// The library's one rule for optional arguments: an omitted argument (Empty or an
// error value), or one that does not convert to the wanted type, counts as missing.
namespace listgrid {

std::optional<QString> optionalString(const basic::Variant& v);
std::optional<int32_t> optionalLong(const basic::Variant& v);
std::optional<int16_t> optionalInteger(const basic::Variant& v);

} // namespace listgrid
