#pragma once

#include <stdexcept>
#include <string>

namespace medrec::engine {

// Thrown for faults in a form or in the code that fills it: a form file that does not parse, a
// component name the form does not have, a component of another type than asked for. These are
// programming or design errors, not run-time conditions: they are meant to fail loudly.
class ReportError : public std::runtime_error {
public:
    explicit ReportError(const std::string& what) : std::runtime_error(what) {}
};

} // namespace medrec::engine
