#pragma once

// The nutrition support reply's own rules: the boxes its thresholds check, the calculation
// weight, the energy and protein requirements set against the current supply (exact decimals,
// half-to-even rounding), and the assessors' blocks of its team memos.

#include "DecimalText.h"
#include "FieldValues.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace medrec::reports::nst {

// The four boxes of a row; box k (1 .. 4) checked, 0 for none.
using BoxChoice = int;

// Current weight as a percentage of the ideal: >= 85, 80 up to 85, 70 up to 80, below 70.
BoxChoice IdealWeightBox(const Decimal &percent);
// Albumin: above 3.2, 2.8 .. 3.2, 2.1 up to 2.8, below 2.1.
BoxChoice AlbuminBox(const Decimal &albumin);

// A number a rule converts, read from the values by its name; nullopt when blank. A text that
// is no decimal stops the print naming the field (CodeConversionError).
std::optional<Decimal> NumberOf(const FieldValues &values, const std::string &name);

// The measurement fields a rule converts, by their number in "SQ_NSTSG_S1".
std::string MeasurementField(int number);

// The weight the requirements are computed for, by the basis code "S_STRING20": 0 the current
// weight (S2), 1 the ideal weight (S3), 2 the adjusted weight (S2 - S3) x 0.25 + S3. nullopt for
// a blank or other code, or a weight it needs that is blank.
std::optional<Decimal> CalculationWeight(const FieldValues &values);

// What the requirement lines print.
struct Requirements
{
    std::string energyRange;  // qrlb_qcal, "1625~1950kcal"; empty when not computed
    std::string proteinRange; // qrlb_pg, "78~97.5g"
    std::string supply;       // qrlb_wrtfeed, the sentence with its values
};

// The requirement inputs, each read by its name ("SQ_NSTSG_S1.S_STRING22" ...).
const std::vector<std::string> &RequirementFields();

// The ranges and the supply sentence from the measurement values. Without every requirement
// input the ranges stay empty and the sentence keeps its words with every value empty; a weight
// that cannot be found leaves the needs and percentages empty, and a zero need its percentage.
Requirements ComputeRequirements(const FieldValues &values);

// One assessor's block of a team memo.
struct Assessment
{
    std::string role; // "의  사 ", "영양사 ", ...
    std::string name, dateTime, text;
};

// The memo text: "◆ 평가자 : " role name gap "평가일시 : " date-time, the text below; blocks
// joined by two separators (line feed + carriage return). The first `widerBlocks` blocks have
// a gap of eight blanks, the others seven.
std::string TeamMemoText(const std::vector<Assessment> &blocks, int widerBlocks);

} // namespace medrec::reports::nst
