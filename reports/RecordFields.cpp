#include "RecordFields.h"

#include "Hmdrecodt.h"

namespace medrec::reports {

FieldValues RecordFields(const services::Hmdrecodt &data, std::size_t row)
{
    FieldValues values;
    values.addNumbered("S_STRING", {data.recordData.begin(), data.recordData.end()}, row);
    return values;
}

} // namespace medrec::reports
