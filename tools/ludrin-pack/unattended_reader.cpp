#include "unattended_reader.hpp"

#include "platform/text/utf.hpp"
#include "printable_name.hpp"
#include "zip/installer_reading.hpp"

namespace ludrin::pack {

UnattendedReader::UnattendedReader(std::ostream& notices, std::string prefix)
    : notices_(notices), prefix_(std::move(prefix)) {
    Name = zip::kInstallerReaderName;
}

void UnattendedReader::DoOnConfirmOverwrite(const std::wstring& sourceFileName, std::wstring&,
                                            bool& confirm) {
    notices_ << prefix_ << "overwrite " << PrintableName(sourceFileName) << " -> no\n";
    confirm = false;
}

void UnattendedReader::DoOnPassword(const std::wstring& fileName, std::string&, bool& skipFile) {
    notices_ << prefix_ << "password " << PrintableName(fileName) << " -> cancel\n";
    skipFile = true;
}

void UnattendedReader::DoOnProcessFileFailure(const std::wstring& fileName,
                                              zip::TZipProcessOperation, std::int32_t nativeError,
                                              std::int32_t, const std::wstring& errorMessage,
                                              zip::TZipAction& action) {
    const std::string message = text::WideToUtf8(errorMessage);
    notices_ << prefix_ << "failure " << PrintableName(fileName) << " native " << nativeError
             << ": " << message << " -> abort\n";
    failures.push_back(PrintableName(fileName) + ": " + message);
    action = zip::TZipAction::fxaAbort;
}

} // namespace ludrin::pack
