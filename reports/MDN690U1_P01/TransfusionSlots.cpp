#include "TransfusionSlots.h"

#include "ContextValues.h"

#include "report_engine/Report.h"

#include <array>
#include <stdexcept>

namespace medrec::reports {

namespace {

// The band's designed heights at 96 dpi: the unit's own lines, then one to four rows.
constexpr std::array<int, 5> kHeightPx{36, 71, 105, 139, 173};
constexpr double kMmPerPx = 25.4 / 96.0;

// The components of a slot the rule fills, by kind.
std::string observationLabel(int slot)
{
    return "qrlb_Remark" + std::to_string(slot + 2);
}
std::string urticariaLabel(int slot)
{
    return "qrlb_suyn" + std::to_string(2 * slot - 1);
}
std::string chillLabel(int slot)
{
    return "qrlb_suyn" + std::to_string(2 * slot);
}
std::string otherLabel(int slot)
{
    return "qrlb_etc" + std::to_string(slot);
}

void checkSlot(int slot)
{
    if (slot < 1 || slot > kObservationSlots)
        throw std::out_of_range("no observation slot " + std::to_string(slot));
}

} // namespace

SlotColumns ObservationColumns(int slot)
{
    checkSlot(slot);
    return {16 + slot, 33 + 2 * slot, 34 + 2 * slot, 51 + slot};
}

int LastRecordedSlot(const FieldValues &row)
{
    for (int slot = kObservationSlots; slot >= 1; --slot) {
        const SlotColumns c = ObservationColumns(slot);
        if (!row[value::col(c.observation)].empty() || !row[value::col(c.other)].empty() ||
            row[value::col(c.urticaria)] == "Y" || row[value::col(c.chill)] == "Y")
            return slot;
    }
    return 0;
}

double TransfusionDetailHeight(int observationRows)
{
    if (observationRows < 0 || observationRows >= static_cast<int>(kHeightPx.size()))
        throw std::out_of_range("no detail height for " + std::to_string(observationRows) +
                                " observation rows");
    return kHeightPx[static_cast<std::size_t>(observationRows)] * kMmPerPx;
}

std::string AnswerText(const std::string &value)
{
    return value == "Y" ? "[있음]" : "[없음]";
}

std::vector<std::string> SlotComponents(int slot)
{
    checkSlot(slot);
    const std::string n = std::to_string(slot);
    std::vector<std::string> names{
        observationLabel(slot), urticariaLabel(slot), chillLabel(slot), otherLabel(slot), "qrl_Vs" + n,
        "qrl_Time" + n,         "qrl_Etc" + n,        "qrl_Sym" + n,    "qrl_Urt" + n,    "qrl_Chill" + n};
    // A row's rule above it goes with its left slot, the rule between its slots with its right.
    names.push_back((slot % 2 ? "qrs_Row" : "qrs_Mid") + std::to_string((slot + 1) / 2));
    return names;
}

Binding ObservationSlots(std::string detailBand)
{
    std::vector<std::string> components, values;
    for (int slot = 1; slot <= kObservationSlots; ++slot) {
        for (std::string &name : SlotComponents(slot))
            components.push_back(std::move(name));
        const SlotColumns c = ObservationColumns(slot);
        for (int col : {c.observation, c.urticaria, c.chill, c.other})
            values.push_back(value::col(col));
    }
    return bind::custom(
        std::move(components), std::move(values),
        [band = std::move(detailBand)](engine::Report &r, const FieldValues &v) {
            const int last = LastRecordedSlot(v);
            for (int slot = 1; slot <= kObservationSlots; ++slot) {
                const SlotColumns c = ObservationColumns(slot);
                r.label(observationLabel(slot)).setCaption(v[value::col(c.observation)]);
                r.label(urticariaLabel(slot)).setCaption(AnswerText(v[value::col(c.urticaria)]));
                r.label(chillLabel(slot)).setCaption(AnswerText(v[value::col(c.chill)]));
                r.label(otherLabel(slot)).setCaption(v[value::col(c.other)]);
                for (const std::string &name : SlotComponents(slot))
                    r.component(name).setEnabled(slot <= last);
            }
            r.band(band).setHeight(TransfusionDetailHeight((last + 1) / 2));
        });
}

} // namespace medrec::reports
