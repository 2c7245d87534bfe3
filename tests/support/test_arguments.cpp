#include "support/test_arguments.hpp"

#include "platform/text/utf.hpp"

#include <map>

namespace ludrin::testing {
namespace {

std::map<std::wstring, std::wstring>& Arguments() {
    static std::map<std::wstring, std::wstring> arguments;
    return arguments;
}

std::wstring FromHostPath(std::wstring value) {
#ifdef _WIN32
    // Wine maps the host's root to drive Z:.
    if (value.starts_with(L'/')) {
        for (auto& c : value) {
            c = c == L'/' ? L'\\' : c;
        }
        value = L"Z:" + value;
    }
#endif
    return value;
}

void Remember(const std::wstring& argument) {
    if (!argument.starts_with(L"--")) {
        return;
    }
    const auto equals = argument.find(L'=');
    if (equals != std::wstring::npos) {
        Arguments()[argument.substr(2, equals - 2)] = FromHostPath(argument.substr(equals + 1));
    }
}

} // namespace

std::wstring Argument(const std::wstring& name) {
    const auto it = Arguments().find(name);
    return it == Arguments().end() ? std::wstring() : it->second;
}

void RememberArguments(int argc, wchar_t** argv) {
    for (int i = 1; i < argc; ++i) {
        Remember(argv[i]);
    }
}

void RememberArguments(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        Remember(text::Utf8ToWide(argv[i]));
    }
}

} // namespace ludrin::testing
