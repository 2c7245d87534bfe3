#pragma once
// check-zip's read-back: every written file held to its entry's size and CRC-32, every
// folder entry to a folder on disk. Files are read on a second thread as the extraction
// hands them over, so the reading overlaps the decoding of the entries after them; what
// cannot be read early (a name written twice, a folder) is read once the batch is over.

#include "zip/zip_dir_manager.hpp"

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace ludrin::pack {

class ReadBack {
public:
    // Reads back the entries of `dir` under `base`; the directory stays as it is while the
    // read-back lives.
    ReadBack(const zip::TZipDirArray& dir, std::wstring base);
    ~ReadBack();
    ReadBack(const ReadBack&) = delete;
    ReadBack& operator=(const ReadBack&) = delete;

    // The extraction is done with the entry of this name (as its events name it): its file
    // is as the batch leaves it. Entries come in directory order; any other order stops the
    // early reading, and the rest is read at the end.
    void Written(const std::wstring& name);

    // For each entry in directory order, empty when what is on disk is as the entry says,
    // else what differs.
    std::vector<std::string> Problems();

    // Ends the reading without its findings (a batch that did not complete); the directory
    // may then change.
    void Stop();

private:
    void ReadEarly();
    std::wstring PathOf(std::size_t index) const;

    const zip::TZipDirArray& dir_;
    const std::wstring base_;
    std::size_t next_ = 0;          // the entry the next Written names
    std::uint64_t queuedBytes_ = 0; // written since the reader was last woken

    std::mutex mutex_;
    std::condition_variable wake_;
    std::vector<std::size_t> queue_;                // written, not yet taken by the reader
    bool closed_ = false;                           // nothing more is queued
    bool stopped_ = false;                          // the reader takes nothing more
    std::vector<std::optional<std::string>> early_; // the reader's findings, by entry
    std::thread reader_;
};

} // namespace ludrin::pack
