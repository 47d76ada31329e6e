#pragma once
// The file channels each command uses: the record files have the same channel in every command,
// and the query file conversion uses the first two for its own files.

#include "storage/file_channels.h"

#include <initializer_list>

namespace desk::channel {

constexpr int master = 1;
constexpr int send = 2;
constexpr int notes = 3;

constexpr int query = 1;
constexpr int coded = 2;

} // namespace desk::channel

namespace desk::record {

// Writes one line of a block to each channel in turn. `line` is asked once for each file, so the
// clock and the line coder are read once per file.
template<typename Line>
void writeToEach(FileChannels& files, std::initializer_list<int> channels, Line line)
{
    for (int channel : channels)
        files.writeLine(channel, line());
}

} // namespace desk::record
