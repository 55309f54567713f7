#pragma once

// Notes printed as one memo of headed sections, as the physicians' screens wrote them: a
// heading, CR LF CR LF, the value, CR LF CR LF. The line breaks stay CR LF; the memo splits
// them into lines.

#include "Bindings.h"
#include "FieldValues.h"

#include <string>
#include <string_view>
#include <vector>

namespace medrec::reports {

// `count` CR LF pairs.
std::string CrLf(int count);

class SectionText
{
public:
    // heading, `afterHeading` breaks, value, `after` breaks.
    SectionText &section(std::string_view heading, std::string_view value, int afterHeading = 2, int after = 2);
    SectionText &add(std::string_view text);
    SectionText &breaks(int count);

    const std::string &text() const { return m_text; }

private:
    std::string m_text;
};

// One row of a note's composition table: `heading`, `afterHeading` breaks, the value (none
// for a source without a name), `after` breaks.
struct NoteSection
{
    enum class Label {
        Always,     // the heading always prints
        WhenFilled, // a value blank after trimming prints as delivered, without heading or breaks
    };
    std::string heading;
    int afterHeading = 2;
    Source value = "";
    int after = 2;
    Label label = Label::Always;
};

// The rows composed in order from the values (an unknown value name throws).
std::string ComposeNote(const std::vector<NoteSection> &rows, const FieldValues &values);
// The value names the rows read, for the binding that composes them.
std::vector<std::string> NoteValues(const std::vector<NoteSection> &rows);

} // namespace medrec::reports
