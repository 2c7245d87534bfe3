#pragma once
// The events an archive operation reports through, and the kinds they carry.

#include "zip/zip_records.hpp"

#include <cstdint>
#include <functional>
#include <string>

namespace ludrin::zip {

class TZipBaseArchiver;

enum class TZipProgressPhase : std::uint8_t { ppStart, ppProcess, ppEnd };
enum class TZipAction : std::uint8_t { fxaRetry, fxaIgnore, fxaAbort };

using TNotifyEvent = std::function<void(TZipBaseArchiver& sender)>;
using TZipProgressEvent =
    std::function<void(TZipBaseArchiver& sender, double progress, TZipProcessOperation operation,
                       TZipProgressPhase phase, bool& cancel)>;
using TZipFileProgressEvent =
    std::function<void(TZipBaseArchiver& sender, const std::wstring& fileName, double progress,
                       TZipProcessOperation operation, TZipProgressPhase phase, bool& cancel)>;
using TZipOnPasswordEvent =
    std::function<void(TZipBaseArchiver& sender, const std::wstring& fileName,
                       std::string& newPassword, bool& skipFile)>;
using TZipOnDiskFullEvent = std::function<void(TZipBaseArchiver& sender, std::int32_t volumeNumber,
                                               const std::wstring& volumeFileName, bool& cancel)>;

using TZipConfirmProcessFileEvent =
    std::function<void(TZipBaseArchiver& sender, const std::wstring& fileName,
                       TZipProcessOperation operation, bool& confirm)>;
using TZipConfirmOverwriteEvent =
    std::function<void(TZipBaseArchiver& sender, const std::wstring& sourceFileName,
                       std::wstring& destFileName, bool& confirm)>;
using TZipOnExtractFileEvent =
    std::function<void(TZipBaseArchiver& sender, std::wstring& fileName, std::uint32_t& fileAttr,
                       const std::string& comment)>;
using TZipProcessFileFailureEvent = std::function<void(
    TZipBaseArchiver& sender, const std::wstring& fileName, TZipProcessOperation operation,
    std::int32_t nativeError, std::int32_t errorCode, const std::wstring& errorMessage,
    TZipAction& action)>;

} // namespace ludrin::zip
