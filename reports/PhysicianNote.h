#pragma once

// The physicians' notes that share one layout (the re-evaluation, emergency room and
// admission notes): a title and the patient box in the page header, and the note composed of
// headed sections in the one stretching memo qrme_Data. A note's unit says where its header
// values come from and how its sections run.

#include "Bindings.h"
#include "NoteSections.h"

#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

namespace medrec::reports {

struct NoteHeader
{
    std::string titleBefore;
    Source title;
    std::string titleAfter;
    Source patNo, name, birthDate;
    std::string dateLabel; // the visit's date
    Source date;
    std::optional<Source> ward; // none: the form's ward row stays empty
    std::string doctorLabel;
    Source doctor;
};

// The note's form: its header, then the memo composed of `sections`.
BindingTable NoteBindings(const NoteHeader &header, std::vector<NoteSection> sections);

// The line of dates that opens every note: CR LF, caption, the date, twenty blanks,
// "작성일시:", the date written, two breaks.
std::vector<NoteSection> NoteOpening(std::string caption, Source date, Source written);
// Headed sections (heading, two breaks, value, two breaks) of consecutive fields
// "S_STRING<firstField>" onwards, one per heading.
std::vector<NoteSection> HeadedSections(std::initializer_list<std::string> headings, int firstField);
// The parts of a note, one after the other.
std::vector<NoteSection> NoteParts(std::initializer_list<std::vector<NoteSection>> parts);

} // namespace medrec::reports
