#include "app/command_line.hpp"

#include <cwctype>

namespace ludrin::app {
namespace {

std::wstring Lower(std::wstring_view text) {
    std::wstring out(text);
    for (auto& c : out) {
        c = static_cast<wchar_t>(std::towlower(static_cast<std::wint_t>(c)));
    }
    return out;
}

std::optional<FormButton> OperationOf(const std::wstring& name) {
    if (name == L"base") {
        return FormButton::InstallBase;
    }
    if (name == L"advanced") {
        return FormButton::InstallComplete;
    }
    if (name == L"uninstall") {
        return FormButton::Uninstall;
    }
    return std::nullopt;
}

std::wstring Unquoted(std::wstring_view value) {
    if (value.size() >= 2 && value.front() == L'"' && value.back() == L'"') {
        value = value.substr(1, value.size() - 2);
    }
    return std::wstring(value);
}

} // namespace

const wchar_t* const kUsageText =
    L"Uso: InstallLudrin [/base] [/advanced] [/uninstall] [/quiet] [/log=FILE]\r\n\r\n"
    L"/base\tinstalla Ludrin\r\n"
    L"/advanced\tinstalla le funzionalit\u00E0 avanzate\r\n"
    L"/uninstall\tdisinstalla Ludrin\r\n"
    L"/quiet\tnessuna finestra e nessun messaggio\r\n"
    L"/log=FILE\taggiunge il resoconto a FILE (UTF-8)\r\n\r\n"
    L"Codici di uscita: 0 riuscito, 1 non riuscito, 2 installatore danneggiato, "
    L"3 uso errato, 4 Ludrin attivo, 5 niente da disinstallare, 6 file rimasti.";

CommandLine ParseCommandLine(std::span<const std::wstring> arguments) {
    CommandLine line;
    constexpr std::wstring_view kLog = L"log=";
    for (const auto& argument : arguments) {
        const bool isSwitch =
            argument.size() > 1 && (argument.front() == L'/' || argument.front() == L'-');
        const std::wstring name = isSwitch ? Lower(std::wstring_view(argument).substr(1)) : L"";
        if (const auto operation = OperationOf(name)) {
            line.operations.push_back(*operation);
        } else if (name == L"quiet") {
            line.quiet = true;
        } else if (name == L"?") {
            line.usage = true;
        } else if (name.starts_with(kLog) && !Unquoted(argument.substr(1 + kLog.size())).empty()) {
            line.logFile = Unquoted(argument.substr(1 + kLog.size()));
        } else {
            // The first one not understood is the one the usage names.
            if (line.unknown.empty()) {
                line.unknown = argument.empty() ? L"\"\"" : argument;
            }
            line.usage = true;
        }
    }
    return line;
}

std::wstring JoinArguments(std::span<const std::wstring> arguments) {
    std::wstring joined;
    for (const auto& argument : arguments) {
        if (!joined.empty()) {
            joined += L' ';
        }
        const bool quote = argument.empty() || argument.find(L' ') != std::wstring::npos;
        joined += quote ? L"\"" + argument + L"\"" : argument;
    }
    return joined;
}

} // namespace ludrin::app
