#include "Bindings.h"

#include "FormConventions.h"

#include "Cp949.h"
#include "TextHelpers.h"

#include "report_engine/Report.h"
#include "report_engine/ReportError.h"

#include <algorithm>
#include <variant>

namespace medrec::reports {

std::string Source::read(const FieldValues &values) const
{
    const std::string &value = values[field];
    return pick ? pick(value) : value;
}

void ApplyBindings(engine::Report &report, const BindingTable &table, const FieldValues &values)
{
    for (const Binding &binding : table)
        binding.apply(report, values);
}

namespace {

std::vector<std::string> namesOf(const BindingTable &table, std::vector<std::string> Binding::*member)
{
    std::vector<std::string> names;
    for (const Binding &binding : table)
        for (const std::string &name : binding.*member)
            if (!name.empty() && std::find(names.begin(), names.end(), name) == names.end())
                names.push_back(name);
    return names;
}

std::vector<std::string> fieldsOf(std::initializer_list<const Source *> sources)
{
    std::vector<std::string> fields;
    for (const Source *source : sources)
        fields.push_back(source->field);
    return fields;
}

} // namespace

std::vector<std::string> BoundComponents(const BindingTable &table) { return namesOf(table, &Binding::components); }

std::vector<std::string> BoundValues(const BindingTable &table) { return namesOf(table, &Binding::values); }

BindingTable Concat(std::initializer_list<BindingTable> tables)
{
    BindingTable all;
    for (const BindingTable &table : tables)
        all.insert(all.end(), table.begin(), table.end());
    return all;
}

namespace bind {

namespace {

void setText(engine::Report &report, const std::string &component, const std::string &text)
{
    engine::Component &c = report.get(component);
    if (auto *label = std::get_if<engine::Label>(&c))
        label->setCaption(text);
    else if (auto *memo = std::get_if<engine::Memo>(&c))
        memo->setText(text);
    else
        throw engine::ReportError("component \"" + component + "\" holds no text");
}

void fill(engine::Report &report, const std::string &shape, bool black)
{
    shcbx_pro(report, shape, black ? "Y" : "");
}

template <class Code>
std::vector<std::string> shapesOf(const std::vector<std::pair<Code, std::string>> &pairs, const std::string &fallback)
{
    std::vector<std::string> names;
    for (const auto &pair : pairs)
        names.push_back(pair.second);
    if (!fallback.empty())
        names.push_back(fallback);
    return names;
}

template <class Code>
void choose(engine::Report &report, const Code &value, const std::vector<std::pair<Code, std::string>> &codeToShape,
            Others others, const std::string &fallback)
{
    const auto chosen = std::find_if(codeToShape.begin(), codeToShape.end(),
                                     [&](const auto &pair) { return pair.first == value; });
    if (others == Others::White) {
        for (const auto &pair : codeToShape)
            fill(report, pair.second, false);
        if (!fallback.empty())
            fill(report, fallback, false);
    }
    if (chosen != codeToShape.end())
        fill(report, chosen->second, true);
    else if (!fallback.empty())
        fill(report, fallback, true);
}

// CodeToInt of the source's text; a conversion error names the value it was read from.
int numberOf(const Source &source, const FieldValues &values)
{
    const std::string text = source.read(values);
    try {
        return CodeToInt(text);
    } catch (const CodeConversionError &) {
        throw CodeConversionError(text, source.field);
    }
}

void setChecks(engine::Report &report, const std::vector<std::string> &labels, const std::string &chosen)
{
    for (const std::string &label : labels)
        report.label(label).setCaption(label == chosen ? "√" : "");
}

} // namespace

Transform chars(std::size_t from, std::size_t to)
{
    return [from, to](const std::string &value) {
        const std::size_t start = from > 0 ? from - 1 : 0;
        const std::size_t count = to == 0 ? std::string::npos : (to >= from ? to - from + 1 : 0);
        return text::cp949Slice(value, start, count);
    };
}

Transform trimmed()
{
    return [](const std::string &value) { return std::string(common::TrimBlanks(value)); };
}

Transform then(Transform first, Transform second)
{
    return [first = std::move(first), second = std::move(second)](const std::string &value) {
        return second(first(value));
    };
}

std::vector<std::string> numbered(const std::string &prefix, int first, int last)
{
    std::vector<std::string> names;
    for (int i = first; i <= last; ++i)
        names.push_back(prefix + std::to_string(i));
    return names;
}

Binding text(std::string component, Source source)
{
    return {{component}, fieldsOf({&source}), [component, source](engine::Report &r, const FieldValues &v) {
                setText(r, component, source.read(v));
            }};
}

Binding literal(std::string component, std::string text)
{
    return {{component}, {}, [component, text = std::move(text)](engine::Report &r, const FieldValues &) {
                setText(r, component, text);
            }};
}

Binding joined(std::string component, std::vector<Source> sources, std::string separator)
{
    std::vector<std::string> fields;
    for (const Source &source : sources)
        fields.push_back(source.field);
    return {{component}, std::move(fields),
            [component, sources = std::move(sources), separator = std::move(separator)](engine::Report &r,
                                                                                       const FieldValues &v) {
                std::string text;
                for (std::size_t i = 0; i < sources.size(); ++i)
                    text += (i ? separator : std::string()) + sources[i].read(v);
                setText(r, component, text);
            }};
}

Binding memoLine(std::string memo, Source source)
{
    return {{memo}, fieldsOf({&source}), [memo, source](engine::Report &r, const FieldValues &v) {
                engine::Memo &m = r.memo(memo);
                m.clear();
                m.addLine(source.read(v));
            }};
}

Binding square(std::string shape, Source source)
{
    return {{shape}, fieldsOf({&source}), [shape, source](engine::Report &r, const FieldValues &v) {
                shcbx_pro(r, shape, source.read(v));
            }};
}

Binding flagSquares(std::vector<std::string> shapes, Source source, std::size_t firstChar)
{
    auto components = shapes;
    return {std::move(components), fieldsOf({&source}),
            [shapes = std::move(shapes), source, firstChar](engine::Report &r, const FieldValues &v) {
                const std::string value = source.read(v);
                for (std::size_t i = 0; i < shapes.size(); ++i)
                    if (!shapes[i].empty())
                        shcbx_pro(r, shapes[i], text::cp949Slice(value, firstChar - 1 + i, 1));
            }};
}

Binding choiceSquares(Source source, std::vector<std::pair<std::string, std::string>> codeToShape, Others others,
                      std::string fallback)
{
    auto components = shapesOf(codeToShape, fallback);
    return {std::move(components), fieldsOf({&source}),
            [source, codeToShape = std::move(codeToShape), others, fallback = std::move(fallback)](
                engine::Report &r, const FieldValues &v) { choose(r, source.read(v), codeToShape, others, fallback);
            }};
}

Binding numberSquares(Source source, std::vector<std::pair<int, std::string>> codeToShape, Others others,
                      std::string fallback)
{
    auto components = shapesOf(codeToShape, fallback);
    return {std::move(components), fieldsOf({&source}),
            [source, codeToShape = std::move(codeToShape), others, fallback = std::move(fallback)](
                engine::Report &r, const FieldValues &v) {
                choose(r, numberOf(source, v), codeToShape, others, fallback);
            }};
}

Binding flagTexts(std::vector<std::string> labels, Source source, std::string on, std::string off,
                  std::size_t firstChar)
{
    auto components = labels;
    return {std::move(components), fieldsOf({&source}),
            [labels = std::move(labels), source, on = std::move(on), off = std::move(off),
             firstChar](engine::Report &r, const FieldValues &v) {
                const std::string value = source.read(v);
                for (std::size_t i = 0; i < labels.size(); ++i)
                    setText(r, labels[i], text::cp949Slice(value, firstChar - 1 + i, 1) == "Y" ? on : off);
            }};
}

Binding choiceTexts(Source source, std::vector<std::pair<std::string, std::string>> codeToLabel, std::string on,
                    std::string off)
{
    auto components = shapesOf(codeToLabel, {});
    return {std::move(components), fieldsOf({&source}),
            [source, codeToLabel = std::move(codeToLabel), on = std::move(on), off = std::move(off)](
                engine::Report &r, const FieldValues &v) {
                const std::string value = source.read(v);
                for (const auto &[code, label] : codeToLabel)
                    setText(r, label, code == value ? on : off);
            }};
}

Binding codeText(std::string label, Source source, std::vector<std::pair<int, std::string>> texts,
                 std::string otherwise)
{
    return {{label}, fieldsOf({&source}), [label, source, texts = std::move(texts),
                      otherwise = std::move(otherwise)](engine::Report &r, const FieldValues &v) {
                const int code = numberOf(source, v);
                const auto it =
                    std::find_if(texts.begin(), texts.end(), [code](const auto &pair) { return pair.first == code; });
                setText(r, label, it != texts.end() ? it->second : otherwise);
            }};
}

Binding mark(Source source, std::vector<std::pair<std::string, std::string>> valueToLabel)
{
    auto components = shapesOf(valueToLabel, {});
    return {std::move(components), fieldsOf({&source}),
            [source, valueToLabel = std::move(valueToLabel)](engine::Report &r, const FieldValues &v) {
                const std::string value = source.read(v);
                for (const auto &[code, label] : valueToLabel)
                    if (code == value)
                        r.label(label).setCaption("■");
            }};
}

Binding yesNoMark(Source source, std::string yesLabel, std::string noLabel)
{
    return {{yesLabel, noLabel}, fieldsOf({&source}), [source, yesLabel, noLabel](engine::Report &r, const FieldValues &v) {
                markYesNo(r, source.read(v), yesLabel, noLabel);
            }};
}

Binding check(std::string label, Source source, std::string mark)
{
    return {{label}, fieldsOf({&source}), [label, source, mark](engine::Report &r, const FieldValues &v) {
                r.label(label).setCaption(source.read(v) == "Y" ? mark : std::string());
            }};
}

Binding yesNoCheck(Source source, std::string yesLabel, std::string noLabel)
{
    return {{yesLabel, noLabel}, fieldsOf({&source}), [source, yesLabel, noLabel](engine::Report &r, const FieldValues &v) {
                setChecks(r, {yesLabel, noLabel}, source.read(v) == "Y" ? yesLabel : noLabel);
            }};
}

Binding checkChoice(Source source, std::vector<std::pair<std::string, std::string>> codeToLabel)
{
    auto labels = shapesOf(codeToLabel, {});
    return {labels, fieldsOf({&source}),
            [source, codeToLabel = std::move(codeToLabel), labels](engine::Report &r, const FieldValues &v) {
                const std::string value = source.read(v);
                const auto it = std::find_if(codeToLabel.begin(), codeToLabel.end(),
                                             [&](const auto &pair) { return pair.first == value; });
                setChecks(r, labels, it != codeToLabel.end() ? it->second : std::string());
            }};
}

Binding checkMark(Source source, std::vector<std::pair<int, std::string>> codeToLabel)
{
    auto labels = shapesOf(codeToLabel, {});
    return {labels, fieldsOf({&source}),
            [source, codeToLabel = std::move(codeToLabel), labels](engine::Report &r, const FieldValues &v) {
                const int code = numberOf(source, v);
                const auto it = std::find_if(codeToLabel.begin(), codeToLabel.end(),
                                             [code](const auto &pair) { return pair.first == code; });
                setChecks(r, labels, it != codeToLabel.end() ? it->second : std::string());
            }};
}

Binding custom(std::vector<std::string> components, std::vector<std::string> values, Rule rule)
{
    return {std::move(components), std::move(values), std::move(rule)};
}

Binding whenSet(std::string present, BindingTable rows)
{
    std::vector<std::string> values{present};
    for (std::string &name : BoundValues(rows))
        values.push_back(std::move(name));
    return {BoundComponents(rows), std::move(values),
            [present = std::move(present), rows = std::move(rows)](engine::Report &r, const FieldValues &v) {
                if (v.has(present))
                    ApplyBindings(r, rows, v);
            }};
}

Binding group(std::vector<Binding> rows)
{
    Binding all;
    for (const Binding &row : rows) {
        all.components.insert(all.components.end(), row.components.begin(), row.components.end());
        all.values.insert(all.values.end(), row.values.begin(), row.values.end());
    }
    all.apply = [rows = std::move(rows)](engine::Report &r, const FieldValues &v) {
        for (const Binding &row : rows)
            row.apply(r, v);
    };
    return all;
}

} // namespace bind

} // namespace medrec::reports
