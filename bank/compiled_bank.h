#pragma once
// The question bank as the build compiled it from bank/assignments: one line per slot from
// slot 1 on, the assignments in the order of their numbers.

#include <span>
#include <string_view>

namespace desk {

extern const std::span<const std::u16string_view> compiledInBank;

} // namespace desk
