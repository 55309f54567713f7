#include "ProgramOptions.h"

#include <iostream>
#include <string>

namespace medrec::app {

bool AnswerHelpOrVersion(int argc, char **argv, std::string_view program, std::string_view help)
{
    if (argc != 2)
        return false;
    const std::string option = argv[1];
    if (option == "--help")
        std::cout << help;
    else if (option == "--version")
        std::cout << program << " " << MEDREC_VERSION << "\n";
    else
        return false;
    std::cout.flush();
    return true;
}

} // namespace medrec::app
