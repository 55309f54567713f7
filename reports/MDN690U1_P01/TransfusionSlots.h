#pragma once

// The eight timed observations of a transfusion record's unit (30 minutes to 4 hours after
// the start), two slots to an observation row of the detail band. Every slot up to the last
// one recorded prints, an empty one before it with its captions and empty texts, so no
// observation recorded after a missing one is ever dropped; the band is as tall as the rows
// those slots need.

#include "Bindings.h"
#include "FieldValues.h"

#include <string>
#include <vector>

namespace medrec::reports {

inline constexpr int kObservationSlots = 8;

// The staged columns of slot 1 .. 8: the observation, its urticaria and chill answers and
// its "기타" text.
struct SlotColumns
{
    int observation, urticaria, chill, other;
};
SlotColumns ObservationColumns(int slot);

// The last slot of the staged row ("col0" ...) holding anything recorded: an observation or
// a "기타" text, or a "Y" answer; 0 when none does.
int LastRecordedSlot(const FieldValues &row);

// The detail band's height for that many observation rows (0 .. 4), in millimetres.
double TransfusionDetailHeight(int observationRows);

// "[있음]" for exactly "Y", "[없음]" for anything else.
std::string AnswerText(const std::string &value);

// Every component of slot 1 .. 8, captions and rules included: what turns off together.
std::vector<std::string> SlotComponents(int slot);

// The detail record's slots: filled, turned on up to the last recorded one and off after it
// (on every record, so nothing of an earlier unit's shape stays), and the band's height.
Binding ObservationSlots(std::string detailBand);

} // namespace medrec::reports
