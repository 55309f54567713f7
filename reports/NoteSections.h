#pragma once

// Notes printed as one memo of headed sections, as the physicians' screens wrote them: a
// heading, CR LF CR LF, the value, CR LF CR LF. The line breaks stay CR LF; the memo splits
// them into lines.

#include "Bindings.h"
#include "FieldValues.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace medrec::engine {
struct Memo;
}

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
    // The other's text and headings after this one's.
    SectionText &append(const SectionText &other);

    const std::string &text() const { return m_text; }
    // The lines of text(), as a memo splits it (at CR LF, LF or CR), that end in a heading with
    // breaks after it (afterHeading > 0, not blank): ascending, each once.
    std::vector<std::size_t> headingLines() const;

private:
    std::string m_text;
    std::vector<std::size_t> m_headingEnds; // offsets in m_text just after those headings
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
// The same text with its heading lines.
SectionText ComposeSections(const std::vector<NoteSection> &rows, const FieldValues &values);
// The value names the rows read, for the binding that composes them.
std::vector<std::string> NoteValues(const std::vector<NoteSection> &rows);

// Sets the memo's text and keeps each heading line on the page of the first line of text below
// it, so a page never ends on a heading.
void SetMemoText(engine::Memo &memo, const SectionText &note);

} // namespace medrec::reports
