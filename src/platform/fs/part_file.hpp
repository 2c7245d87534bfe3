#pragma once
// A file written whole or not at all: its bytes go to a part file beside it, which is moved
// over the final name only once complete and checked. A process killed at any point leaves
// the final name holding the old file, the new one or nothing, never a part of the new one;
// the next write of the same file takes over the part file that was left.

#include "platform/fs/open_folder.hpp"
#include "platform/fs/output_file.hpp"

#include <cstdint>
#include <optional>
#include <string>

namespace ludrin::fs {

// The part file of `path`: in the same folder (so that the move is a rename), named after
// the final name with ".ludrin-part" appended. A name that would outgrow 255 characters is
// cut and marked with a digest of the whole name, so distinct files keep distinct parts.
std::wstring PartFileName(const std::wstring& path);

// Moves a complete file over `path`, replacing a file there unless it is read-only (the
// Windows rule, kept on every platform). Answers whether `part` is now at `path`; on
// failure both stay as they were. `replacing` says a file is expected there: the move
// then goes straight to replacing it, else it first tries a move that replaces nothing.
// `folder`, when it holds both, names them from there.
bool MoveIntoPlace(const std::wstring& part, const std::wstring& path, bool replacing = false,
                   const OpenFolder* folder = nullptr);

// Whether others leave `path` free for MoveIntoPlace now: nothing is there, or a file that no
// program holds against replacement. A folder in the way answers false.
bool Replaceable(const std::wstring& path);

class PartFile {
public:
    // Creates the part file of `path`, empty, held for writing by this object alone; nothing
    // when it cannot be created or another writer holds it. `folder`, when it holds `path`,
    // names the part from there, now and at the commit; it must outlive the part file.
    static std::optional<PartFile> Create(const std::wstring& path,
                                          const OpenFolder* folder = nullptr);
    PartFile(PartFile&& other) noexcept;
    PartFile& operator=(PartFile&& other) noexcept;
    PartFile(const PartFile&) = delete;
    PartFile& operator=(const PartFile&) = delete;
    // Without Commit, the part file goes: the final name keeps what it held.
    ~PartFile();

    OutputFile& Output() { return output_; }
    const std::wstring& PartPath() const { return part_; }
    const std::wstring& FinalPath() const { return path_; }
    // The attributes the file was created with, as GetAttributes would report them; the
    // move into place keeps them.
    std::uint32_t CreatedAttributes() const { return created_; }

    // Moves the part over the final name (as MoveIntoPlace) while still holding it, so that
    // no other writer can change it in between, then closes it. Answers whether the file is
    // in place; otherwise the part file is removed.
    bool Commit(bool replacing = false);

private:
    PartFile(std::wstring path, std::wstring part, OutputFile output, std::uint32_t created,
             const OpenFolder* folder)
        : path_(std::move(path)), part_(std::move(part)), output_(std::move(output)),
          created_(created), folder_(folder) {}
    void Discard() noexcept;

    std::wstring path_;
    std::wstring part_;
    OutputFile output_;
    std::uint32_t created_;
    const OpenFolder* folder_;
};

} // namespace ludrin::fs
