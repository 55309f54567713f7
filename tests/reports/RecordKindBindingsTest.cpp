// The registry and the binding tables every built kind prints with: each names only
// components its form files have and values of the naming scheme, and reads no value it does
// not declare. A misspelt component, field or context name fails here, not at the first
// print at a site.
#include "ContextValues.h"
#include "PrintContext.h"
#include "RecordKinds.h"
#include "ReportForms.h"

#include "report_engine/FormLoader.h"
#include "report_engine/Report.h"

#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>

using namespace medrec;
using namespace medrec::reports;

namespace {

// The names of the client's field table.
const std::set<std::string, std::less<>> &fieldNames()
{
    static const std::set<std::string, std::less<>> names = [] {
        std::set<std::string, std::less<>> n;
        std::ifstream in(MEDREC_FIELD_TABLE);
        std::string line;
        while (std::getline(in, line)) {
            std::istringstream words(line);
            std::string name;
            if (words >> name && name[0] != '#')
                n.insert(name);
        }
        return n;
    }();
    return names;
}

bool isField(std::string_view name) { return fieldNames().count(name) > 0; }

// What is wrong with a table on its form: components the form lacks, value names outside the
// scheme, values read but not declared (the table applied with only its declared values).
std::vector<std::string> problemsOf(const engine::Form &form, const BindingTable &table)
{
    std::vector<std::string> problems;
    engine::Report report(form);
    for (const std::string &component : BoundComponents(table))
        if (!report.has(component))
            problems.push_back("no component " + component);
    FieldValues declared;
    for (const std::string &name : BoundValues(table)) {
        if (!value::IsValueName(name, isField))
            problems.push_back("no value named " + name + " in the scheme");
        declared.set(name, "1");
    }
    if (!problems.empty())
        return problems;
    for (const Binding &binding : table) {
        try {
            binding.apply(report, declared);
        } catch (const std::exception &e) {
            problems.push_back(e.what());
        }
    }
    return problems;
}

engine::Form smallForm()
{
    return engine::parseForm(R"({
      "name": "qr_test",
      "bands": [{"name": "band_Detail", "kind": "detail", "height": 40, "components": [
        {"type": "label", "name": "l1", "box": [0, 0, 50, 5]},
        {"type": "shape", "name": "s1", "box": [0, 20, 3, 3]}
      ]}]})");
}

} // namespace

TEST(RecordKindBindings, TheCheckCatchesMisspeltNames)
{
    using namespace bind;
    const auto read = [](const char *name) {
        return custom({"l1"}, {"S_STRING1"}, [name](engine::Report &r, const FieldValues &v) {
            r.label("l1").setCaption(v[name]);
        });
    };
    const struct
    {
        const char *what;
        BindingTable table;
        std::size_t problems;
    } cases[] = {
        {"sound", {text("l1", "S_STRING1"), text("l1", value::record(3)), square("s1", "MD_PATBA_L2.S_STRING2"),
                   text("l1", value::kPanelName), text("l1", "row2.col11"), read("S_STRING1")},
         0},
        {"a misspelt context name", {text("l1", "record.l")}, 1},
        {"a misspelt panel", {text("l1", "panel.nmae")}, 1},
        {"a misspelt field", {text("l1", "S_STRNG1")}, 1},
        {"a misspelt service", {text("l1", "MD_PATBA_2.S_STRING1")}, 1},
        {"a cell past the context's", {text("l1", "record.32")}, 1},
        {"a component the form lacks", {text("l2", "S_STRING1")}, 1},
        {"a rule reading what it does not declare", {read("S_STRING2")}, 1},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(problemsOf(smallForm(), c.table).size(), c.problems);
    }
}

TEST(RecordKindBindings, EveryBuiltKindsTablesFitItsFormsAndTheScheme)
{
    int built = 0;
    for (const RecordKind &kind : RecordKinds()) {
        SCOPED_TRACE(std::string(kind.code));
        EXPECT_FALSE(kind.forms.empty());
        if (!kind.block) {
            EXPECT_EQ(kind.bindings, nullptr);
            continue;
        }
        ++built;
        ASSERT_NE(kind.bindings, nullptr) << "a built kind declares its forms' bindings";
        ASSERT_FALSE(kind.unit.empty());
        const std::vector<FormBindings> &tables = kind.bindings();
        ASSERT_EQ(tables.size(), kind.forms.size()) << "one entry of bindings per form";
        for (std::size_t i = 0; i < tables.size(); ++i) {
            SCOPED_TRACE(kind.forms[i]);
            const engine::Form form = LoadReportForm(std::string(kind.unit), kind.forms[i]);
            for (const BindingTable *table : {&tables[i].fill, &tables[i].detail})
                for (const std::string &problem : problemsOf(form, *table))
                    ADD_FAILURE() << problem;
        }
    }
    EXPECT_GE(built, 13);
}

TEST(RecordKindBindings, OnlyTheTwoKindsWithoutHistoryWriteNone)
{
    for (const RecordKind &kind : RecordKinds()) {
        SCOPED_TRACE(std::string(kind.code));
        EXPECT_EQ(kind.history.writes(), kind.code != "MDDCHSUT" && kind.code != "MDERINFT");
    }
    // A row holds the record's key, then the cells the kind names, "empty" past them.
    const RowCells record({"00001234", "20180514", "c2", "c3", "c4"});
    const auto row = History::written({2, 4}).rowOf(record);
    ASSERT_TRUE(row);
    EXPECT_EQ(*row, (HistoryRow{.patNo = "00001234", .recordKey = "20180514", .details = {"c2", "c4", "empty"}}));
    EXPECT_FALSE(History::none().rowOf(record));
}
