#pragma once
// A command's arguments split into options and operands, as getopt does: options go
// before, between or after the operands, and "--" ends them.

#include <map>
#include <set>
#include <string>
#include <vector>

namespace ludrin::pack {

struct OptionRules {
    std::set<std::string> flags;  // "--test": present or not
    std::set<std::string> valued; // "--to DIR" or "--to=DIR"
};

struct CommandLine {
    std::vector<std::string> operands;
    std::set<std::string> flags;
    std::map<std::string, std::string> values;

    bool Has(const std::string& flag) const { return flags.count(flag) != 0; }
    std::string Value(const std::string& option) const;
};

// Splits `args` (the command's own, after its name). An argument that is no option of the
// rules is an operand; a valued option without its value raises std::invalid_argument.
CommandLine SplitArguments(const std::vector<std::string>& args, const OptionRules& rules);

} // namespace ludrin::pack
