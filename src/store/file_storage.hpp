#pragma once
// The payload store: stored files written to disk on request. The installer reads the
// container in place (ReadData over the form resource's bytes): every file is checked
// then, and unpacked only while it is extracted, piece by piece into its output file.

#include "store/auto_extract.hpp"
#include "store/stored_file.hpp"

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace ludrin::store {

// Sender is the store's owner (the window holding the store), not the store.
using TOnExtractEvent = std::function<void(void* sender, const std::wstring& fileName,
                                           std::int32_t fileSize, bool& allowExtracting)>;
using TOnExtractedEvent = std::function<void(void* sender, const std::wstring& fileName,
                                             std::int32_t fileSize, bool successfully)>;

class TstFileStorage {
public:
    explicit TstFileStorage(void* owner = nullptr) : Owner(owner) {}
    // Removes the files written by Extract when automatic extraction asked for it.
    ~TstFileStorage();
    TstFileStorage(const TstFileStorage&) = delete;
    TstFileStorage& operator=(const TstFileStorage&) = delete;

    void* Owner;
    TAutoExtract AutoExtract;
    bool Compressed = false;
    std::vector<std::unique_ptr<TStoredFile>> Files;
    std::vector<std::wstring> ExtractedFilesList;
    TOnExtractEvent OnExtract;
    TOnExtractedEvent OnExtracted;
    // How a stored file's Upload tells the user it could not read the file: the window
    // provides it, the store shows nothing itself.
    std::function<void(const std::wstring& message)> OnUploadError;
    // Told about each stretch of the container (a few MiB of packed blocks at most) that
    // extraction has read and will not read again soon, so that a container mapped from
    // the executable need not stay resident as a whole. Nothing by default.
    std::function<void(std::span<const std::uint8_t> stretch)> OnContainerRead;

    // Always the number of entries in Files, so that writing and DataSize never disagree
    // with the list.
    std::uint32_t Count() const { return static_cast<std::uint32_t>(Files.size()); }
    // Sum of the sizes modulo 2^32.
    std::uint32_t DataSize() const;
    std::uint32_t GetDataSize() const { return DataSize(); }

    // Reads a whole container and appends its files, which keep views into it: the
    // container must stay in place as long as they are used. Every record and every block
    // is checked here, nothing is unpacked. All or nothing: a damaged container throws
    // EStoreError (EReadError for a cut-short older record) and leaves the store as it was.
    void ReadData(std::span<const std::uint8_t> container);
    // Appends the container in the signature layout.
    void WriteData(std::vector<std::uint8_t>& stream) const;

    // The stored file at a slot, written to `outputFile` (when empty: the destination
    // folder followed by its stored name). Throws EListError for a slot outside Files.
    bool Extract(std::int32_t fileIndex, const std::wstring& outputFile = {});
    // The first stored file with exactly this name; false when there is none.
    bool Extract(const std::wstring& fileName, const std::wstring& outputFile = {});

    // Automatic extraction, once the form has been read.
    void Loaded();
};

} // namespace ludrin::store
