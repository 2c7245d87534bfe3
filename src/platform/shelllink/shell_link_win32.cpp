// The platform's shell-link object does the writing and reading; this side hands over the
// fields in a fixed order and stops at the first step the object refuses.

#include "platform/fs/fs.hpp"
#include "platform/fs/part_file.hpp"
#include "platform/shelllink/shell_link.hpp"
#include "platform/text/utf.hpp"
#include "platform/win32/com_ptr.hpp"

#include <windows.h>

#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstdio>

namespace ludrin::shelllink {
namespace {

using win32::ComPtr;

struct ShellLinkObject {
    ComPtr<IShellLinkW> link;
    ComPtr<IPersistFile> file;
};

std::wstring GuidText(const GUID& guid) {
    wchar_t text[40] = {};
    StringFromGUID2(guid, text, 40);
    return text;
}

// The platform's text for a result code, without the line break and full stop it ends with.
std::wstring ErrorText(HRESULT code) {
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, static_cast<DWORD>(code), 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text(buffer != nullptr ? buffer : L"", length);
    LocalFree(buffer);
    while (!text.empty() && (text.back() <= L' ' || text.back() == L'.')) {
        text.pop_back();
    }
    if (text.empty()) {
        wchar_t hex[16] = {};
        std::swprintf(hex, 16, L"0x%08lX", static_cast<unsigned long>(code));
        text = std::wstring(L"Error ") + hex;
    }
    return text;
}

// The shell-link object and the two interfaces the component talks to.
ShellLinkObject CreateShellLink() {
    ComPtr<IUnknown> object;
    const HRESULT created =
        CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                         IID_IUnknown, object.PutVoid());
    if (FAILED(created)) {
        throw EOleSysError(
            text::WideToUtf8(ErrorText(created) + L", ClassID: " + GuidText(CLSID_ShellLink)),
            created);
    }
    ShellLinkObject shellLink;
    if (FAILED(object->QueryInterface(IID_IShellLinkW, shellLink.link.PutVoid())) ||
        FAILED(object->QueryInterface(IID_IPersistFile, shellLink.file.PutVoid()))) {
        throw EIntfCastError();
    }
    return shellLink;
}

// A text getter's answer up to its first null, whatever the getter left in the buffer.
template <typename Getter> bool GetText(Getter getter, std::wstring& into) {
    wchar_t buffer[MAX_PATH] = {};
    if (getter(buffer, MAX_PATH) != S_OK) {
        return false;
    }
    buffer[MAX_PATH - 1] = L'\0';
    into = buffer;
    return true;
}

// Saved beside the destination, then moved over it: a shortcut that exists is replaced
// whole or not at all, and a save cut short leaves no part under the shortcut's name.
bool SaveWhole(IPersistFile& file, const std::wstring& fileName) {
    if (fileName.empty()) {
        return false;
    }
    const std::wstring part = fs::PartFileName(fileName);
    if (file.Save(part.c_str(), FALSE) == S_OK && fs::MoveIntoPlace(part, fileName)) {
        return true;
    }
    fs::RemoveFile(part);
    return false;
}

} // namespace

void TIcon::DestroyIconHandle(void* handle) {
    DestroyIcon(static_cast<HICON>(handle));
}

bool TslShellLink::SaveToFile(const std::wstring& fileName) const {
    const auto object = CreateShellLink();
    IShellLinkW& link = *object.link.Get();
    // Empty fields go as empty strings: c_str() is never null.
    return link.SetPath(LinkTarget.c_str()) == S_OK &&
           link.SetArguments(Parameters.c_str()) == S_OK &&
           link.SetWorkingDirectory(WorkingDirectory.c_str()) == S_OK &&
           link.SetShowCmd(static_cast<int>(ShowCommandOf(RunAs))) == S_OK &&
           link.SetHotkey(ShortCutToHotKey(HotKey)) == S_OK &&
           link.SetDescription(ShortDescription.c_str()) == S_OK &&
           link.SetIconLocation(IconLocation.c_str(), IconIndex) == S_OK &&
           SaveWhole(*object.file.Get(), fileName);
}

bool TslShellLink::LoadFromFile(const std::wstring& fileName) {
    ResetFields();
    if (!fs::FileExists(fileName)) {
        return false;
    }
    const auto object = CreateShellLink();
    IShellLinkW& link = *object.link.Get();
    if (object.file->Load(fileName.c_str(), STGM_READ) != S_OK) {
        return false;
    }
    WIN32_FIND_DATAW findData{};
    if (!GetText([&](wchar_t* b, int n) { return link.GetPath(b, n, &findData, 0); }, LinkTarget) ||
        !GetText([&](wchar_t* b, int n) { return link.GetArguments(b, n); }, Parameters) ||
        !GetText([&](wchar_t* b, int n) { return link.GetWorkingDirectory(b, n); },
                 WorkingDirectory)) {
        return false;
    }
    int showCommand = 0;
    if (link.GetShowCmd(&showCommand) != S_OK) {
        return false;
    }
    RunAs = RunAsOf(static_cast<std::uint32_t>(showCommand));
    WORD hotKey = 0;
    if (link.GetHotkey(&hotKey) != S_OK) {
        return false;
    }
    HotKey = HotKeyToShortCut(hotKey);
    int iconIndex = 0;
    if (!GetText([&](wchar_t* b, int n) { return link.GetDescription(b, n); }, ShortDescription) ||
        !GetText([&](wchar_t* b, int n) { return link.GetIconLocation(b, n, &iconIndex); },
                 IconLocation)) {
        return false;
    }
    IconIndex = iconIndex;

    if (IconLocation.empty()) {
        SHFILEINFOW info{};
        SHGetFileInfoW(LinkTarget.c_str(), 0, &info, sizeof(info), SHGFI_ICON);
        FLargeIcon.Reset(info.hIcon);
        info = {};
        SHGetFileInfoW(LinkTarget.c_str(), 0, &info, sizeof(info), SHGFI_ICON | SHGFI_SMALLICON);
        FSmallIcon.Reset(info.hIcon);
    } else {
        HICON largeIcon = nullptr;
        HICON smallIcon = nullptr;
        ExtractIconExW(IconLocation.c_str(), IconIndex, &largeIcon, &smallIcon, 1);
        FLargeIcon.Reset(largeIcon);
        FSmallIcon.Reset(smallIcon);
    }
    return true;
}

} // namespace ludrin::shelllink
