#include "NoteSections.h"

#include "TextHelpers.h"

namespace medrec::reports {

std::string CrLf(int count)
{
    std::string text;
    for (int i = 0; i < count; ++i)
        text += "\r\n";
    return text;
}

SectionText &SectionText::section(std::string_view heading, std::string_view value, int afterHeading, int after)
{
    m_text += heading;
    breaks(afterHeading);
    m_text += value;
    return breaks(after);
}

SectionText &SectionText::add(std::string_view text)
{
    m_text += text;
    return *this;
}

SectionText &SectionText::breaks(int count)
{
    m_text += CrLf(count);
    return *this;
}

std::string ComposeNote(const std::vector<NoteSection> &rows, const FieldValues &values)
{
    SectionText note;
    for (const NoteSection &row : rows) {
        const std::string value = row.value.field.empty() ? std::string() : row.value.read(values);
        if (row.label == NoteSection::Label::WhenFilled && common::TrimBlanks(value).empty())
            note.add(value);
        else
            note.section(row.heading, value, row.afterHeading, row.after);
    }
    return note.text();
}

std::vector<std::string> NoteValues(const std::vector<NoteSection> &rows)
{
    std::vector<std::string> names;
    for (const NoteSection &row : rows)
        if (!row.value.field.empty())
            names.push_back(row.value.field);
    return names;
}

} // namespace medrec::reports
