#pragma once
// The question bank as the build compiled it from bank/assignments: one line per slot from
// slot 1 on, the assignments in the order of their numbers.

#include <span>
#include <string_view>

namespace desk {

// The bank's slots run from 1 to here; the question cursor runs past the last into error 9.
inline constexpr int LastBankSlot = 5000;

extern const std::span<const std::u16string_view> compiledInBank;

} // namespace desk
