#pragma once

#include "report_engine/FormLoader.h"
#include "report_engine/Layout.h"
#include "report_engine/QtTextMeasurer.h"
#include "report_engine/Report.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

// Fixtures of the report engine tests: the test forms, the real-font measurer, queries on
// laid-out pages.

namespace medrec::engine::test {

std::filesystem::path formsDir();
std::filesystem::path logoDir();

// A form of tests/report_engine/forms by name, pictures from data/logo.
Form testForm(std::string_view name);
// A form from JSON text; pictures from data/logo.
Form inlineForm(std::string_view json);

// One measurer for the test process (needs the QApplication of the test main).
const QtTextMeasurer& measurer();

// A run with a fixed print time whose messages are collected instead of printed.
RunOptions quietRun(std::vector<std::string>* messages = nullptr);

std::vector<const Element*> elementsOf(const Page& page, std::string_view component);
// Texts of the component's text elements on all pages, in page order.
std::vector<std::string> textsOf(const Document& doc, std::string_view component);
int countOf(const Document& doc, std::string_view component);
// Band elements lie inside the margins, furniture on the paper (gtest expectations).
void expectInsideMargins(const Document& doc);

// Output of a shell command (stdout), and its exit status.
struct CommandResult {
    int status = -1;
    std::string output;
};
CommandResult runCommand(const std::string& command);

// A fresh directory under the system temp directory, removed by the destructor.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

} // namespace medrec::engine::test
