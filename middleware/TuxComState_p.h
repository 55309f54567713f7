#pragma once

// The module state of the call layer, shared by its two source files.

#include "ServiceFlavour.h"

#include <fml.h>

#include <functional>
#include <string>
#include <vector>

namespace medrec::middleware::detail {

struct TuxComState
{
    std::string userName;
    std::string clientName;
    std::string message;
    FBFR *request = nullptr;
    Flavour flavour = Flavour::Standard;
    char *scratch = nullptr;
    std::string fieldList;
    // Why the request being built cannot be sent (the first input or stamp that could not
    // be placed); empty while it is whole. Reset by FmlAlloc.
    std::string requestError;
    std::vector<std::string> arguments;
    std::function<std::string()> hostLookup;
    std::function<std::string()> formName;
};

TuxComState &state();

std::string libraryErrorText();
std::string activeFormName();

} // namespace medrec::middleware::detail
