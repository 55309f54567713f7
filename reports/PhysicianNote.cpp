#include "PhysicianNote.h"

#include "report_engine/Report.h"

namespace medrec::reports {

BindingTable NoteBindings(const NoteHeader &header, std::vector<NoteSection> sections)
{
    using namespace bind;
    const Source title(header.title.field, [before = header.titleBefore, after = header.titleAfter](
                                               const std::string &value) { return before + value + after; });
    BindingTable table = {
        text("qrlb_Title", title),
        text("qrlb_PatNo", header.patNo),
        text("qrlb_patname", header.name),
        text("qrlb_birtdate", header.birthDate),
        text(header.dateLabel, header.date),
        text(header.doctorLabel, header.doctor),
    };
    if (header.ward)
        table.push_back(text("qrlb_wardroom", *header.ward));
    std::vector<std::string> read = NoteValues(sections);
    table.push_back(custom({"qrme_Data"}, std::move(read),
                           [sections = std::move(sections)](engine::Report &r, const FieldValues &v) {
                               SetMemoText(r.memo("qrme_Data"), ComposeSections(sections, v));
                           }));
    return table;
}

std::vector<NoteSection> NoteOpening(std::string caption, Source date, Source written)
{
    static const std::string kTwentyBlanks(20, ' ');
    return {{"", 1, "", 0}, {std::move(caption), 0, std::move(date), 0}, {kTwentyBlanks, 0, "", 0},
            {"작성일시:", 0, std::move(written), 2}};
}

std::vector<NoteSection> HeadedSections(std::initializer_list<std::string> headings, int firstField)
{
    std::vector<NoteSection> rows;
    for (const std::string &heading : headings)
        rows.push_back({heading, 2, "S_STRING" + std::to_string(firstField++), 2});
    return rows;
}

std::vector<NoteSection> NoteParts(std::initializer_list<std::vector<NoteSection>> parts)
{
    std::vector<NoteSection> rows;
    for (const auto &part : parts)
        rows.insert(rows.end(), part.begin(), part.end());
    return rows;
}

} // namespace medrec::reports
