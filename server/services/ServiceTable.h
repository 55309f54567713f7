#pragma once

// Every domain service medrec-server answers, with the input fields it reads to find its
// answer. The one list the registration and `medrec-server services` both come from.

#include "ServiceRegistry.h"

#include <string>
#include <vector>

namespace medrec::server::services {

struct ServiceEntry
{
    std::string name;                // "MD_ADINF_S2"
    std::vector<std::string> lookup; // the input fields its answer depends on
    std::string answersFrom;         // "tables" or "stored replies"
    ServiceHandler handler;
    std::string patientField; // the input naming the patient, for the access audit; may be empty
};

const std::vector<ServiceEntry> &DomainServiceTable();

// One line per service: name, where it answers from, the input fields it looks up by.
std::string DescribeServices();

} // namespace medrec::server::services
