#pragma once
// The file channels each command uses: the record files have the same channel in every command,
// and the query file conversion uses the first two for its own files.

namespace desk::channel {

constexpr int master = 1;
constexpr int send = 2;
constexpr int notes = 3;

constexpr int query = 1;
constexpr int coded = 2;

} // namespace desk::channel
