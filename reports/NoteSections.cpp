#include "NoteSections.h"

#include "TextHelpers.h"

#include "report_engine/Components.h"

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
    if (afterHeading > 0 && !common::TrimBlanks(heading).empty())
        m_headingEnds.push_back(m_text.size());
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

SectionText &SectionText::append(const SectionText &other)
{
    for (std::size_t end : other.m_headingEnds)
        m_headingEnds.push_back(m_text.size() + end);
    m_text += other.m_text;
    return *this;
}

std::vector<std::size_t> SectionText::headingLines() const
{
    // A line's index is the number of breaks before it; CR LF is one break.
    std::vector<std::size_t> lines;
    std::size_t line = 0;
    std::size_t at = 0;
    for (std::size_t end : m_headingEnds) {
        for (; at < end; ++at) {
            const bool crBeforeLf = m_text[at] == '\r' && at + 1 < m_text.size() && m_text[at + 1] == '\n';
            if ((m_text[at] == '\r' && !crBeforeLf) || m_text[at] == '\n')
                ++line;
        }
        if (lines.empty() || lines.back() != line)
            lines.push_back(line);
    }
    return lines;
}

SectionText ComposeSections(const std::vector<NoteSection> &rows, const FieldValues &values)
{
    SectionText note;
    for (const NoteSection &row : rows) {
        const std::string value = row.value.field.empty() ? std::string() : row.value.read(values);
        if (row.label == NoteSection::Label::WhenFilled && common::TrimBlanks(value).empty())
            note.add(value);
        else
            note.section(row.heading, value, row.afterHeading, row.after);
    }
    return note;
}

std::string ComposeNote(const std::vector<NoteSection> &rows, const FieldValues &values)
{
    return ComposeSections(rows, values).text();
}

void SetMemoText(engine::Memo &memo, const SectionText &note)
{
    memo.setText(note.text());
    memo.setKeepWithNext(note.headingLines());
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
