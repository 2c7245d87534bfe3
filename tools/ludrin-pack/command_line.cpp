#include "command_line.hpp"

#include <stdexcept>

namespace ludrin::pack {

std::string CommandLine::Value(const std::string& option) const {
    const auto found = values.find(option);
    return found == values.end() ? std::string() : found->second;
}

CommandLine SplitArguments(const std::vector<std::string>& args, const OptionRules& rules) {
    CommandLine line;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--") {
            line.operands.insert(line.operands.end(), args.begin() + static_cast<long>(i) + 1,
                                 args.end());
            break;
        }
        const auto equals = arg.find('=');
        const std::string name = arg.substr(0, equals);
        if (rules.flags.count(arg) != 0) {
            line.flags.insert(arg);
        } else if (rules.valued.count(name) != 0) {
            if (equals != std::string::npos) {
                line.values[name] = arg.substr(equals + 1);
            } else if (i + 1 < args.size()) {
                line.values[name] = args[++i];
            } else {
                throw std::invalid_argument(name + " needs a value");
            }
        } else {
            line.operands.push_back(arg);
        }
    }
    return line;
}

} // namespace ludrin::pack
