#pragma once

// The subcommands of medrec-server ("serve", and those other layers add, such as
// "import" and "history"). Each gets its own arguments (argv[0] is the subcommand's name)
// and returns the process exit code; it prints its own usage errors to stderr.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace medrec::server {

struct Subcommand
{
    std::string name;  // as typed after the program name
    std::string usage; // one line, e.g. "import --db FILE DATA.json"
    std::function<int(int argc, char **argv)> run;
};

class SubcommandTable
{
public:
    // Adds a subcommand; a later one with the same name replaces the earlier.
    void add(Subcommand command);
    const Subcommand *find(std::string_view name) const;
    const std::vector<Subcommand> &all() const { return m_commands; }

private:
    std::vector<Subcommand> m_commands;
};

} // namespace medrec::server
