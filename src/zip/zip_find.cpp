// Entry selection: FindFirst / FindNext by a mask, an attribute set and an exclusion mask,
// or by the FileMasks and ExclusionMasks lists.

#include "platform/text/ascii_case.hpp"
#include "zip/zip_error.hpp"
#include "zip/zip_mask.hpp"
#include "zip/zip_reader.hpp"
#include "zip/zip_target_path.hpp"

#include <algorithm>

namespace ludrin::zip {
namespace {

// The attribute bits that selection tests; read-only and archive select nothing.
constexpr std::uint32_t kTestedAttributes =
    kAttrHidden | kAttrSystem | kAttrVolumeLabel | kAttrDirectory;

std::wstring WithoutTrailingSeparator(std::wstring name) {
    if (!name.empty() && (name.back() == L'\\' || name.back() == L'/')) {
        name.pop_back();
    }
    return name;
}

// The text up to and including the last backslash.
std::wstring_view FolderOf(std::wstring_view name) {
    const auto at = name.rfind(L'\\');
    return at == std::wstring_view::npos ? std::wstring_view() : name.substr(0, at + 1);
}

std::wstring_view NameOf(std::wstring_view name) {
    return name.substr(FolderOf(name).size());
}

// "C:" or "\\server\share" at the start of a mask, as a drive.
std::size_t DriveLength(std::wstring_view mask) {
    if (mask.size() >= 2 && mask[1] == L':' &&
        ((mask[0] >= L'A' && mask[0] <= L'Z') || (mask[0] >= L'a' && mask[0] <= L'z'))) {
        return 2;
    }
    const auto isSeparator = [](wchar_t c) {
        return c == L'\\' || c == L'/';
    };
    if (mask.size() >= 2 && isSeparator(mask[0]) && isSeparator(mask[1])) {
        std::size_t at = 2;
        for (int part = 0; part < 2 && at < mask.size(); ++part) {
            while (at < mask.size() && !isSeparator(mask[at])) {
                ++at;
            }
            if (part == 0 && at < mask.size()) {
                ++at;
            }
        }
        return at;
    }
    return 0;
}

std::wstring MaskText(const TInternalSearchRec& search) {
    return std::wstring(search.CFindMask.data());
}

} // namespace

bool TZipBaseArchiver::FindFirst(const std::wstring& fileMask, TZipArchiveItem& item,
                                 const std::wstring& exclusionMask, std::int32_t searchAttr) {
    if (!FActive) {
        throw EZipException(native::kArchiveNotOpen, Name);
    }
    std::wstring mask = fileMask;
    if (Options.StorePath != TZipStorePathMode::spFullPathWithDrive) {
        mask.erase(0, DriveLength(mask));
    }
    std::replace(mask.begin(), mask.end(), L'\\', L'/');
    TInternalSearchRec& search = item.Handle;
    search = TInternalSearchRec{};
    const std::size_t length = std::min(mask.size(), search.CFindMask.size() - 1);
    std::copy_n(mask.begin(), length, search.CFindMask.begin());
    search.ExclusionMask = exclusionMask;
    search.UseProperties = false;
    search.FWildCards = MaskText(search).find_first_of(L"*?") != std::wstring::npos;
    search.FFindAttr = searchAttr;
    search.ItemNo = 0;
    return InternalFind(item);
}

bool TZipBaseArchiver::FindFirst(TZipArchiveItem& item) {
    if (!FActive) {
        throw EZipException(native::kArchiveNotOpen, Name);
    }
    TInternalSearchRec& search = item.Handle;
    search = TInternalSearchRec{};
    search.UseProperties = true;
    search.FWildCards = true;
    search.FFindAttr = Options.SearchAttr;
    return InternalFind(item);
}

bool TZipBaseArchiver::FindNext(TZipArchiveItem& item) {
    if (!FActive) {
        throw EZipException(native::kArchiveNotOpen, Name);
    }
    ++item.Handle.ItemNo;
    return InternalFind(item);
}

bool TZipBaseArchiver::InternalFind(TZipArchiveItem& item) {
    TInternalSearchRec& search = item.Handle;
    const TZipDirArray& dir = FDMHandle->CDir;
    if (search.ItemNo < 0) {
        search.ItemNo = 0;
    }
    const auto start = static_cast<std::size_t>(search.ItemNo);
    if (!search.FWildCards && !Options.Recurse && !search.UseProperties) {
        // A plain name: the hashed index, no attribute test.
        const std::int64_t found = dir.FileExists(MaskText(search));
        if (found < 0 || static_cast<std::size_t>(found) < start) {
            return false;
        }
        search.ItemNo = static_cast<std::int32_t>(found);
        FillSearchItem(static_cast<std::size_t>(found), item);
        return true;
    }
    const std::wstring maskFolder = std::wstring(FolderOf(WithBackslashes(MaskText(search))));
    for (std::size_t index = start; index < dir.Count(); ++index) {
        const TDirItem& entry = dir[index];
        if (!Options.Recurse && !search.UseProperties) {
            const std::wstring name = WithoutTrailingSeparator(WithBackslashes(entry.Name));
            if (!text::EqualsAsciiNoCase(FolderOf(name), maskFolder)) {
                continue;
            }
        }
        const auto attributes = static_cast<std::uint32_t>(search.FFindAttr);
        if (IsItemMatches(index, search) &&
            (entry.CentralDir.externalAttr & kTestedAttributes & ~attributes) == 0) {
            search.ItemNo = static_cast<std::int32_t>(index);
            FillSearchItem(index, item);
            return true;
        }
    }
    return false;
}

bool TZipBaseArchiver::IsItemMatches(std::size_t index, const TInternalSearchRec& search) const {
    const std::wstring& stored = FDMHandle->CDir[index].Name;
    if (search.UseProperties) {
        const std::wstring name = WithBackslashes(stored);
        for (const std::wstring& mask : FileMasks) {
            if (IsInternalFileMatchMask(name, mask)) {
                return std::none_of(ExclusionMasks.begin(), ExclusionMasks.end(),
                                    [&](const std::wstring& exclusion) {
                                        return IsInternalFileMatchMask(name, exclusion);
                                    });
            }
        }
        return false;
    }
    const std::wstring name = WithoutTrailingSeparator(stored);
    const std::wstring mask = MaskText(search);
    const bool match = IsInternalFileMatchMask(name, mask) ||
                       IsInternalFileMatchMask(NameOf(WithBackslashes(name)), mask);
    return match && !IsInternalFileMatchMask(name, search.ExclusionMask);
}

void TZipBaseArchiver::FillSearchItem(std::size_t index, TZipArchiveItem& item) const {
    const TDirItem& entry = FDMHandle->CDir[index];
    const std::wstring name = WithoutTrailingSeparator(WithBackslashes(entry.Name));
    item.StoredPath = std::wstring(FolderOf(name));
    item.FileName = std::wstring(NameOf(name));
    item.CompressedSize = static_cast<std::int64_t>(entry.CompressedSize());
    item.UncompressedSize = static_cast<std::int64_t>(entry.UncompressedSize());
    if (item.UncompressedSize == 0) {
        item.CompressionRate = 100;
    } else {
        const double rate = (1.0 - static_cast<double>(item.CompressedSize) /
                                       static_cast<double>(item.UncompressedSize)) *
                            100;
        item.CompressionRate = rate < 0 ? 0 : rate;
    }
    item.Encrypted = entry.Encrypted();
    item.LastModFileDate = entry.CentralDir.lastModDate;
    item.LastModFileTime = entry.CentralDir.lastModTime;
    item.CRC = static_cast<std::int32_t>(entry.CentralDir.crc32);
    item.ExternalFileAttributes = entry.CentralDir.externalAttr;
    item.Comment = entry.Comment;
}

} // namespace ludrin::zip
