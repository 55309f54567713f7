#pragma once

// One row of the record content service ("MD_RECOD_L3") as binding values: "S_STRING1" ..
// "S_STRING60".

#include "FieldValues.h"

namespace medrec::services {
class Hmdrecodt;
}

namespace medrec::reports {

FieldValues RecordFields(const services::Hmdrecodt &data, std::size_t row = 0);

} // namespace medrec::reports
