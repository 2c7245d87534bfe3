#pragma once
// The installer's archive reader as ludrin-pack uses it: a command-line tool never asks a
// question on screen, on any platform. Every question gets the answer of a build without a
// user interface (Cancel, No, Abort), and each answer is said in the output.

#include "zip/zip_reader.hpp"

#include <ostream>
#include <string>
#include <vector>

namespace ludrin::pack {

class UnattendedReader : public zip::TZipReader {
public:
    // One line per answered question goes to `notices`, each starting with `prefix`.
    explicit UnattendedReader(std::ostream& notices, std::string prefix = {});

    // "name: message" of each failure answered Abort.
    std::vector<std::string> failures;

protected:
    void DoOnConfirmOverwrite(const std::wstring& sourceFileName, std::wstring& destFileName,
                              bool& confirm) override;
    void DoOnPassword(const std::wstring& fileName, std::string& newPassword,
                      bool& skipFile) override;
    void DoOnProcessFileFailure(const std::wstring& fileName, zip::TZipProcessOperation operation,
                                std::int32_t nativeError, std::int32_t errorCode,
                                const std::wstring& errorMessage, zip::TZipAction& action) override;

    std::ostream& notices_;
    std::string prefix_;
};

} // namespace ludrin::pack
