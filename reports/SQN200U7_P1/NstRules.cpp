#include "NstRules.h"

#include "FormConventions.h"

#include "TextHelpers.h"

#include <map>
#include <stdexcept>

namespace medrec::reports::nst {

namespace {

// What the operator calls the fields a rule converts.
const std::map<int, const char *> &fieldMeanings()
{
    static const std::map<int, const char *> meanings{
        {2, "현체중"},
        {3, "표준체중"},
        {4, "%IBW"},
        {10, "Albumin"},
        {20, "체중기준"},
        {22, "영양요구량 입력"},
        {23, "영양요구량 입력"},
        {25, "열량 계수(하한)"},
        {26, "열량 계수(상한)"},
        {28, "단백질 계수(하한)"},
        {29, "단백질 계수(상한)"},
        {31, "현 공급 열량"},
        {32, "현 공급 단백질"},
        {33, "현 공급 열량"},
        {34, "현 공급 단백질"},
    };
    return meanings;
}

constexpr std::string_view kMeasurement = "SQ_NSTSG_S1.S_STRING";

// "%IBW(SQ_NSTSG_S1.S_STRING4)": the field as the operator and the service desk know it.
std::string operatorName(const std::string &name)
{
    if (name.starts_with(kMeasurement)) {
        const auto number = common::WholeNumber(std::string_view(name).substr(kMeasurement.size()));
        const auto meaning = number ? fieldMeanings().find(*number) : fieldMeanings().end();
        if (meaning != fieldMeanings().end())
            return std::string(meaning->second) + "(" + name + ")";
    }
    return name;
}

Decimal fits(const std::optional<Decimal> &value)
{
    if (!value)
        throw std::range_error("영양요구량 계산 값이 너무 큽니다."); // the print run says it could not print
    return *value;
}

Decimal round2(const Decimal &v)
{
    return v.rounded(2);
}

Decimal number(const FieldValues &values, int field)
{
    return *NumberOf(values, MeasurementField(field));
}

const Decimal kHundred = *Decimal::parse("100");

// A source's share of the need, as a whole percentage; each source is rounded on its own.
Decimal share(const Decimal &supplied, const Decimal &need)
{
    return fits(fits(supplied.times(kHundred)).dividedBy(need, 0));
}

// The two sources' percentages added; empty for a zero need (no share of nothing).
std::string percentage(const Decimal &first, const Decimal &second, const std::optional<Decimal> &need)
{
    if (!need || need->isZero())
        return {};
    return fits(share(first, *need).plus(share(second, *need))).text();
}

// The lower bounds of boxes 1 .. 3, highest first; a value below them all checks box 4.
struct LowerBound
{
    const char *value;
    bool reached; // whether the bound itself falls in its box
};

BoxChoice boxOf(const Decimal &value, const std::array<LowerBound, 3> &bounds)
{
    for (std::size_t i = 0; i < bounds.size(); ++i) {
        const Decimal bound = *Decimal::parse(bounds[i].value);
        if (value > bound || (bounds[i].reached && value == bound))
            return static_cast<BoxChoice>(i) + 1;
    }
    return 4;
}

} // namespace

BoxChoice IdealWeightBox(const Decimal &percent)
{
    return boxOf(percent, {{{"85", true}, {"80", true}, {"70", true}}});
}

BoxChoice AlbuminBox(const Decimal &albumin)
{
    return boxOf(albumin, {{{"3.2", false}, {"2.8", true}, {"2.1", true}}});
}

std::string MeasurementField(int number)
{
    return std::string(kMeasurement) + std::to_string(number);
}

std::optional<Decimal> NumberOf(const FieldValues &values, const std::string &name)
{
    const std::string &text = values[name];
    if (common::TrimBlanks(text).empty())
        return std::nullopt;
    if (auto value = Decimal::parse(text))
        return value;
    throw CodeConversionError(text, operatorName(name));
}

std::optional<Decimal> CalculationWeight(const FieldValues &values)
{
    const std::string basisField = MeasurementField(20);
    const auto current = [&] { return NumberOf(values, MeasurementField(2)); };
    const auto ideal = [&] { return NumberOf(values, MeasurementField(3)); };
    switch (CodeToInt(values[basisField], operatorName(basisField))) {
    case 0:
        return current();
    case 1:
        return ideal();
    case 2: {
        const auto c = current(), i = ideal();
        if (!c || !i)
            return std::nullopt;
        return fits(fits(fits(c->minus(*i)).times(*Decimal::parse("0.25"))).plus(*i));
    }
    default:
        return std::nullopt;
    }
}

const std::vector<std::string> &RequirementFields()
{
    static const std::vector<std::string> fields = [] {
        std::vector<std::string> names;
        for (int number : {22, 23, 25, 26, 28, 29, 31, 32, 33, 34})
            names.push_back(MeasurementField(number));
        return names;
    }();
    return fields;
}

Requirements ComputeRequirements(const FieldValues &values)
{
    bool complete = true;
    for (const std::string &field : RequirementFields())
        complete = complete && !common::TrimBlanks(values[field]).empty();

    Requirements out;
    std::string suppliedEnergy, suppliedProtein, energyNeed, proteinNeed, energyPercent, proteinPercent;
    if (complete) {
        const Decimal energy1 = number(values, 31), energy2 = number(values, 33);
        const Decimal protein1 = number(values, 32), protein2 = number(values, 34);
        const Decimal energyLow = number(values, 25), energyHigh = number(values, 26);
        const Decimal proteinLow = number(values, 28), proteinHigh = number(values, 29);
        suppliedEnergy = round2(fits(energy1.plus(energy2))).text();
        suppliedProtein = round2(fits(protein1.plus(protein2))).text();
        if (const auto weight = CalculationWeight(values)) {
            const Decimal ne = round2(fits(energyHigh.times(*weight)));
            const Decimal np = round2(fits(proteinHigh.times(*weight)));
            out.energyRange = round2(fits(energyLow.times(*weight))).text() + "~" + ne.text() + "kcal";
            out.proteinRange = round2(fits(proteinLow.times(*weight))).text() + "~" + np.text() + "g";
            energyNeed = ne.text();
            proteinNeed = np.text();
            energyPercent = percentage(energy1, energy2, ne);
            proteinPercent = percentage(protein1, protein2, np);
        }
    }
    out.supply = "현 섭취 열량 " + suppliedEnergy + "kcal, 필요 열량 " + energyNeed + "kcal로 " +
                 energyPercent + "% / 현 섭취 단백질 " + suppliedProtein + "g, 필요 단백질 " + proteinNeed +
                 "g로 " + proteinPercent + "%";
    return out;
}

std::string TeamMemoText(const std::vector<Assessment> &blocks, int widerBlocks)
{
    static const std::string separator = "\n\r";
    std::string text;
    for (std::size_t i = 0; i < blocks.size(); ++i) {
        const Assessment &b = blocks[i];
        const std::string gap(static_cast<int>(i) < widerBlocks ? 8 : 7, ' ');
        if (i > 0)
            text += separator + separator;
        text += "◆ 평가자 : " + b.role + b.name + gap + "평가일시 : " + b.dateTime + separator + b.text;
    }
    return text;
}

} // namespace medrec::reports::nst
