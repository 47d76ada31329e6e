#pragma once
// Numbered file channels 1 to 3 for the record and query files: Windows-1252 text, one line per
// write, each line ended by CR LF.
//
// Lines written to a channel are kept in memory until the channel is closed; closing writes
// them in one write and flushes them to the disk. So an error that stops an operation before it
// closes its channels leaves the files untouched, and closing several channels together writes
// all of them or none. Closing them with a record transaction's journal
// (storage/record_transaction.h) journals the files' lengths first, so that this holds through a
// crash as well.

#include <QByteArray>
#include <QString>

#include <array>
#include <initializer_list>
#include <vector>

namespace desk {

enum class FileMode { Input, Output, Append };

struct JournalEntry;

// What a record transaction does while closing channels writes the files of its record.
class RecordJournal {
public:
    // Before the first byte is written. Throws, and then nothing has been written.
    virtual void begin(const std::vector<JournalEntry>& entries, bool sync) = 0;
    // Every file has its lines, synced: the record counts once this returns 0. An errno value
    // means it does not, and the files are taken back; RecordRefusal means the record does not
    // count and the journal has done what could be done.
    virtual int end(const std::vector<JournalEntry>& entries, bool sync) = 0;
    // The record failed and the files were taken back as far as they could be: the journal goes,
    // or stays for the next record or start to finish the job (`keep`). Returns whether a
    // journal is left.
    virtual bool abandon(bool keep, bool sync) = 0;

protected:
    ~RecordJournal() = default;
};

class FileChannels {
public:
    static constexpr int Count = 3;

    FileChannels() = default;
    FileChannels(const FileChannels&) = delete;
    FileChannels& operator=(const FileChannels&) = delete;
    ~FileChannels() { closeAll(); }

    // Opens a host path; only a regular file is opened, never through a final symbolic link.
    // Errors: 52 bad channel or name, 55 channel open, 53 missing file (reading), 76 missing
    // directory, 70 not writable, 75 not a regular file, 71 no medium, 61 disk full.
    void open(int channel, const QString& hostPath, FileMode mode);
    bool isOpen(int channel) const;
    // Whether an open channel's file holds nothing and nothing has been written to the channel.
    bool holdsNothing(int channel) const;
    // Whether an open channel's file belongs to another user (see storage/file_owner.h).
    bool isOtherUsersFile(int channel) const;

    // Adds one line: the text, then CR LF. Text the set cannot hold throws UnencodableTextError.
    void writeLine(int channel, QStringView text);

    // The next line without its line end (CR LF or CR; a lone LF belongs to the line); 62 past
    // the end.
    QString readLine(int channel);
    bool atEnd(int channel) const;

    // Writes what the channel holds and syncs it to the disk, then closes the channel. Closing a
    // channel that is not open does nothing. On failure the file is as it was before (a file
    // that opening created is removed), the channel is closed all the same, and the error is
    // thrown (61 disk full...); PartlyWrittenError if a file could not be taken back.
    void close(int channel) { closeTogether({channel}); }
    // The same for several channels: either every file gets its lines or none does.
    void closeTogether(std::initializer_list<int> channels) { closeTogether(channels, nullptr); }
    // The same, with `journal` told before, after and on failure, so that it holds through a crash.
    void closeTogether(std::initializer_list<int> channels, RecordJournal& journal)
    {
        closeTogether(channels, &journal);
    }
    // Closes without writing what the channel holds; a file that opening created is removed.
    void discard(int channel) noexcept;
    // Ends the program's use of every channel, writing what they hold as well as it can.
    void closeAll() noexcept;

    // Whether each write is synced to the disk (on by default; a benchmark may measure without).
    void setSyncToDisk(bool sync) { syncToDisk_ = sync; }

private:
    struct Channel {
        int fd = -1;
        FileMode mode = FileMode::Input;
        QByteArray pending; // lines written but not yet on the disk
        QByteArray input;   // the whole file, when reading
        qsizetype readPos = 0;
        bool created = false;
        QString hostPath;
    };

    Channel& openChannel(int channel);
    const Channel& openChannel(int channel) const;
    static void checkNumber(int channel);
    int writeAndSync(Channel& c) const; // 0 or an errno
    int syncNewNames(const std::vector<JournalEntry>& entries) const;
    void closeTogether(std::initializer_list<int> channels, RecordJournal* journal);
    void commit(std::vector<Channel*>& toWrite, RecordJournal* journal);
    static void removeCreatedFile(Channel& c);
    static void closeFd(Channel& c);

    std::array<Channel, Count> channels_;
    bool syncToDisk_ = true;
};

// Closes, without writing, every listed channel still open when the operation ends, by error or
// not; an operation closes its channels itself when it succeeds.
class ChannelGuard {
public:
    // Guards those of `channels` that are free now: a channel the caller already holds is theirs.
    ChannelGuard(FileChannels& files, std::initializer_list<int> channels)
        : files_(files)
    {
        for (int channel : channels)
            if (!files.isOpen(channel))
                channels_.push_back(channel);
    }
    ChannelGuard(const ChannelGuard&) = delete;
    ChannelGuard& operator=(const ChannelGuard&) = delete;
    ~ChannelGuard()
    {
        for (int channel : channels_)
            files_.discard(channel);
    }

private:
    FileChannels& files_;
    std::vector<int> channels_;
};

} // namespace desk
