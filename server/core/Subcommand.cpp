#include "Subcommand.h"

namespace medrec::server {

void SubcommandTable::add(Subcommand command)
{
    for (auto &c : m_commands)
        if (c.name == command.name) {
            c = std::move(command);
            return;
        }
    m_commands.push_back(std::move(command));
}

const Subcommand *SubcommandTable::find(std::string_view name) const
{
    for (const auto &c : m_commands)
        if (c.name == name)
            return &c;
    return nullptr;
}

} // namespace medrec::server
