#pragma once

// Declarative bindings of values to form components: a record kind's table lists, row by
// row, the component, the value it shows (by the names of ContextValues.h) and the rule
// (text, check square, flag string, marked option, numbered choice, code-to-text table, byte
// slice). Each binding names every component it may touch and every value it reads, so a
// test can check a table against its form file and the naming scheme.

#include "FieldValues.h"

#include <cstddef>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace medrec::engine {
class Report;
}

namespace medrec::reports {

using Transform = std::function<std::string(const std::string &)>;

// Where a binding reads its text: a field of the FieldValues, optionally narrowed by a
// transform (a slice of it, a formatted date ...).
struct Source
{
    Source(const char *name) : field(name) {}
    Source(std::string name) : field(std::move(name)) {}
    Source(std::string name, Transform transform) : field(std::move(name)), pick(std::move(transform)) {}

    std::string read(const FieldValues &values) const;

    std::string field;
    Transform pick;
};

using Rule = std::function<void(engine::Report &, const FieldValues &)>;

struct Binding
{
    std::vector<std::string> components;
    std::vector<std::string> values; // the names the rule reads
    Rule apply;
};

using BindingTable = std::vector<Binding>;

// Applies the rows in order; later rows win where two touch the same component.
void ApplyBindings(engine::Report &report, const BindingTable &table, const FieldValues &values);

// The component names a table touches, each once, in first-use order.
std::vector<std::string> BoundComponents(const BindingTable &table);
// The value names a table reads, each once, in first-use order.
std::vector<std::string> BoundValues(const BindingTable &table);

// The tables one after the other.
BindingTable Concat(std::initializer_list<BindingTable> tables);

// What a choice does to the squares that were not chosen.
enum class Others { Untouched, White };

namespace bind {

// Transforms.
// CP949 byte positions from..to (1-based, inclusive; 0 = to the end), never half a character.
Transform chars(std::size_t from, std::size_t to = 0);
Transform trimmed();
Transform then(Transform first, Transform second);

// name1 .. nameN, for squares numbered on the form.
std::vector<std::string> numbered(const std::string &prefix, int first, int last);

// A label's caption, or a memo's text (line breaks become lines), is the value.
Binding text(std::string component, Source source);
// A text the form fixes for itself (a title, a form number), set before the report runs.
Binding literal(std::string component, std::string text);
// The values joined by the separator ("S_STRING66" "/" "S_STRING67").
Binding joined(std::string component, std::vector<Source> sources, std::string separator);
// A memo's lines are cleared and the value added as one line, which the memo wraps.
Binding memoLine(std::string memo, Source source);

// Check square by the flag rule on the whole value: black when exactly "Y", else white.
Binding square(std::string shape, Source source);
// A flag string: character firstChar + i drives shapes[i] by the flag rule. An empty name
// stands for a character that drives no square.
Binding flagSquares(std::vector<std::string> shapes, Source source, std::size_t firstChar = 1);
// The square whose code equals the value (as text) turns black; `fallback` (when named)
// turns black for any other value; `others` says what the unchosen squares get.
Binding choiceSquares(Source source, std::vector<std::pair<std::string, std::string>> codeToShape,
                      Others others = Others::Untouched, std::string fallback = {});
// The same with the value read as a number through CodeToInt (a value that is no number stops
// the print with a CodeConversionError naming the value, as every numbered rule does).
Binding numberSquares(Source source, std::vector<std::pair<int, std::string>> codeToShape,
                      Others others = Others::Untouched, std::string fallback = {});

// Check boxes printed as texts: label i shows `on` when character firstChar + i of the value
// is "Y", `off` for any other character or none.
Binding flagTexts(std::vector<std::string> labels, Source source, std::string on, std::string off,
                  std::size_t firstChar = 1);
// The label whose code equals the value (as text) shows `on`, every other one `off`.
Binding choiceTexts(Source source, std::vector<std::pair<std::string, std::string>> codeToLabel, std::string on,
                    std::string off);

// The label shows the text of the value's number (CodeToInt); `otherwise` for no match.
Binding codeText(std::string label, Source source, std::vector<std::pair<int, std::string>> texts,
                 std::string otherwise = {});
// Of a group of option labels, the one for the value (as text) gets the caption "■".
Binding mark(Source source, std::vector<std::pair<std::string, std::string>> valueToLabel);
// Of a yes/no pair of option labels, the first gets "■" when the value is exactly "Y",
// otherwise the second.
Binding yesNoMark(Source source, std::string yesLabel, std::string noLabel);
// "√" labels. Each rule sets every label it names, "√" or empty, so no mark of the form's
// design or of another rule's decides what prints.
// The label is "√" (or the form's own mark) when the value is exactly "Y", else empty.
Binding check(std::string label, Source source, std::string mark = "√");
// Of a yes/no pair exactly one is "√": the first when the value is exactly "Y", otherwise
// the second.
Binding yesNoCheck(Source source, std::string yesLabel, std::string noLabel);
// Of a group, the label whose code equals the value (as text) is "√"; no match marks none.
Binding checkChoice(Source source, std::vector<std::pair<std::string, std::string>> codeToLabel);
// Of a group, the label for the value's number (CodeToInt) is "√"; no match marks none.
Binding checkMark(Source source, std::vector<std::pair<int, std::string>> codeToLabel);

// A rule of the kind's own, with the components it touches and the values it reads.
Binding custom(std::vector<std::string> components, std::vector<std::string> values, Rule rule);

// The rows apply only when the value `present` was set: the fields of a service row that may
// not be there (a service that found none adds no values, and its part of the form keeps its
// design).
Binding whenSet(std::string present, BindingTable rows);

// Rows that make one item of a form (its squares and the text beside them) as one row: the
// components and values of all of them, applied in order.
Binding group(std::vector<Binding> rows);

} // namespace bind

} // namespace medrec::reports
