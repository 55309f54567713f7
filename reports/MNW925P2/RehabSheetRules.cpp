#include "RehabSheetRules.h"

#include "FormConventions.h"
#include "NursingSheet.h"
#include "NursingSheetCodes.h"

#include "Cp949.h"

namespace medrec::reports::rehab_sheet {

using namespace sheet::codes;

namespace {

bool isWholeNumber(const std::string &text)
{
    try {
        CodeToInt(text);
        return true;
    } catch (const CodeConversionError &) {
        return false;
    }
}

Source narrowed(Source source, Transform transform)
{
    return {source.field, source.pick ? bind::then(source.pick, transform) : transform};
}

bool firstIsY(const std::string &firstChar) { return firstChar == "Y"; }

} // namespace

Source number(Source source)
{
    return narrowed(std::move(source), [](const std::string &value) { return isWholeNumber(value) ? value : ""; });
}

Source digits(Source source, std::size_t count)
{
    return narrowed(std::move(source), [count](const std::string &value) {
        // Byte positions count CP949 bytes: only one-byte characters are ever read as a
        // digit, so a double-byte one (no digit either way) is passed over whole.
        std::string out;
        std::size_t position = 0;
        for (std::size_t i = 0; i < value.size();) {
            const std::size_t length = text::utf8SequenceLength(static_cast<unsigned char>(value[i]));
            const std::string character = value.substr(i, length);
            const bool code = position < count && length == 1;
            out += code && character != " " && !(character[0] >= '0' && character[0] <= '9') ? " " : character;
            position += text::cp949Width(character);
            i += length;
        }
        return out;
    });
}

Binding occupation(Source value)
{
    // A "-" first reads as blank: no occupation.
    return sheet::codeOrText("qrl_work", digits(std::move(value), 1), 1, kPsychSheetOccupation, 8);
}

Binding education(Source value) { return bind::codeText("qrl_adu", number(std::move(value)), kRehabEducation); }

Binding nationality(Source value)
{
    return sheet::fixedWhen("qrl_Nation", value, sheet::TrimmedIsOne, "대한민국", value);
}

Binding movement(Source value)
{
    return sheet::charCodes(bind::numbered("qrl_Motion", 1, 6), digits(std::move(value), 6), kIndependence);
}

Binding dailyActivities(Source value)
{
    // Characters 2 to 4 are the feeding route's flags, not codes.
    return sheet::charCodes({"qrl_Daymot1", "", "", "", "qrl_Daymot5", "qrl_Daymot6", "qrl_Daymot7", "qrl_Daymot8",
                             "qrl_Daymot9", "qrl_Daymot10"},
                            digits(std::move(value), 10), kIndependence);
}

Binding wardFacilities(Source value)
{
    auto items = bind::numbered("qrs_edu", 21, 30);
    items.push_back("qrs_edu311");
    return sheet::leadFlagSquares("qrs_edu2", std::move(items), std::move(value), firstIsY);
}

Binding hospitalFacilities(Source value)
{
    return sheet::leadFlagSquares("qrs_edu3", bind::numbered("qrs_edu", 31, 36), std::move(value), firstIsY);
}

} // namespace medrec::reports::rehab_sheet
