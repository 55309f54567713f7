#pragma once

// The configuration file of "serve" (/etc/medrec/medrec-server.conf at a site), named by
// "--config FILE". It holds the same options as the command line, one a line, without the
// leading "--":
//
//   # comment            (lines starting with '#' or ';'; blank lines are ignored)
//   listen = 0.0.0.0:8600
//   db = /var/lib/medrec/medrec.db
//   quiet                (an option that takes no value: its name alone)
//
// The file's options are placed before those of the command line, and the last value of
// an option wins, so every option can be given in the file and the command line overrides
// it. Options added to "serve" later need nothing here.

#include <string>
#include <vector>

namespace medrec::server {

class ServeArguments
{
public:
    // Takes argv (argv[0] is the subcommand's name) and replaces "--config FILE" by the
    // file's options, put before the rest. False with *error when the file cannot be read,
    // a line is malformed, or --config is given twice or without a file.
    bool expand(int argc, char **argv, std::string *error);

    int argc() const { return static_cast<int>(m_args.size()); }
    // Valid while this object lives and is not expanded again.
    char **argv() { return m_pointers.data(); }

private:
    std::vector<std::string> m_args;
    std::vector<char *> m_pointers;
};

// The options of one configuration file as command-line arguments ("--listen", "HOST:PORT",
// ...). False with *error naming the file and line.
bool readServeConfig(const std::string &path, std::vector<std::string> *arguments, std::string *error);

} // namespace medrec::server
