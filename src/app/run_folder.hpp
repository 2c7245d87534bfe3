#pragma once
// A folder made for one run of an operation inside the temporary folder, under a random
// name, and removed with everything in it when the run is over. Programs that will run
// with administrative rights are written there afresh: a file of the same name that
// someone left lying in the temporary folder is never used. The name carries the id of the
// process that made it ("ludrin-run-<process id>-<random>"), so that the folder of a run
// that was killed can be told from the folder of a run that goes on.

#include <optional>
#include <string>

namespace ludrin::app {

class RunFolder {
public:
    // Creates a new folder inside `tempDir` (the temporary folder root, with or without its
    // trailing separator); nothing when tempDir is empty or no folder could be created.
    static std::optional<RunFolder> Create(const std::wstring& tempDir);

    // Removes the run folders in `tempDir` whose process no longer runs: what killed runs
    // left. A folder whose process may still run stays, whatever else is in its way.
    static void RemoveAbandoned(const std::wstring& tempDir);

    ~RunFolder();
    RunFolder(RunFolder&& other) noexcept;
    RunFolder& operator=(RunFolder&& other) noexcept;
    RunFolder(const RunFolder&) = delete;
    RunFolder& operator=(const RunFolder&) = delete;

    const std::wstring& Path() const { return path_; }
    // A file of this folder.
    std::wstring FilePath(const std::wstring& name) const;

private:
    explicit RunFolder(std::wstring path) : path_(std::move(path)) {}
    void Remove() noexcept;

    std::wstring path_;
};

} // namespace ludrin::app
