#pragma once
// Version information of an executable: the ten standard texts of its version resource,
// read from the running executable when the component is created.

#include <cstdint>
#include <string>

namespace ludrin::exeinfo {

inline constexpr const wchar_t* kUpdatedAtRunTime = L"Updated at run-time";

// Names of the ten version strings, in reading order.
inline constexpr const wchar_t* kVersionStringNames[10] = {
    L"CompanyName",     L"FileDescription",  L"FileVersion", L"InternalName",   L"LegalCopyright",
    L"LegalTradeMarks", L"OriginalFileName", L"ProductName", L"ProductVersion", L"Comments"};

// "040904E4": language then code page, four upper-case hexadecimal digits each.
std::wstring TranslationKey(std::uint16_t language, std::uint16_t codePage);

// The query path of one version string under the first translation.
std::wstring StringQueryPath(const std::wstring& key, const std::wstring& name);

// Date-time as days since 30 December 1899, from a 64-bit file time (100 ns since 1601).
double FileTimeToDateTime(std::uint64_t fileTime);

class TExeInfo {
public:
    // Reads the running executable's version resource.
    TExeInfo();

    std::wstring CompanyName, FileDescription, FileVersion, InternalName, LegalCopyright,
        LegalTradeMark, OriginalFileName, ProductName, ProductVersion, Comments;
    std::int32_t FileFlags = 0;
    std::int32_t FileOS = 0;
    std::int32_t FileType = 0;
    double FileCreation = 0.0;
    std::wstring ComputerName;

    // Fills the fields from the version resource of a file; false when it has none
    // (the fields then stay as they were).
    bool GetVersionInfoOfApp(const std::wstring& appName);
    void GetVersionInfo();

    // The component's own version, whatever a stored form says.
    static constexpr std::uint32_t GetVersionNr() { return 0x01050100; }
    static std::wstring Version();
    static void SetVersion(const std::wstring&) {}

    // Part `index` (0 to 3) of FileVersion, or -1; raises EConvertError on a non-number.
    int GetVersionPart(int index) const;
    // FileVersion as one integer, each item made two digits ("1.5.1.0" gives 1050100);
    // -1 when empty.
    int GetFileVersionInt() const;
    int MajorVersion() const { return GetVersionPart(0); }
    int MinorVersion() const { return GetVersionPart(1); }
    int ReleaseNumber() const { return GetVersionPart(2); }
    int BuildNumber() const { return GetVersionPart(3); }

    std::wstring* VersionString(int index);
};

// Platform backend: the computer's name.
std::wstring QueryComputerName();

} // namespace ludrin::exeinfo
