#include "ReportTestSupport.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <random>
#include <sys/wait.h>

namespace medrec::engine::test {

std::filesystem::path formsDir()
{
    return MEDREC_TEST_FORMS_DIR;
}

std::filesystem::path logoDir()
{
    return MEDREC_TEST_LOGO_DIR;
}

Form testForm(std::string_view name)
{
    return loadForm(name, {formsDir()}, LoadOptions{{logoDir()}});
}

Form inlineForm(std::string_view json)
{
    return parseForm(json, {}, LoadOptions{{logoDir()}}, "inline");
}

const QtTextMeasurer& measurer()
{
    // Never destroyed: its font metrics must not be torn down after the QApplication is gone.
    static const QtTextMeasurer* instance = new QtTextMeasurer;
    return *instance;
}

RunOptions quietRun(std::vector<std::string>* messages)
{
    RunOptions options;
    options.printTime = DateTime{2026, 12, 9, 14, 30, 5};
    options.log = [messages](const std::string& m) {
        if (messages)
            messages->push_back(m);
    };
    return options;
}

std::vector<const Element*> elementsOf(const Page& page, std::string_view component)
{
    std::vector<const Element*> out;
    for (const Element& e : page.elements)
        if (e.component == component)
            out.push_back(&e);
    return out;
}

std::vector<std::string> textsOf(const Document& doc, std::string_view component)
{
    std::vector<std::string> out;
    for (const Page& p : doc.pages)
        for (const Element& e : p.elements)
            if (e.component == component && e.kind == ElementKind::Text)
                out.push_back(e.text);
    return out;
}

int countOf(const Document& doc, std::string_view component)
{
    int n = 0;
    for (const Page& p : doc.pages)
        for (const Element& e : p.elements)
            n += e.component == component;
    return n;
}

// Band elements lie inside the margins; furniture on the paper.
void expectInsideMargins(const Document& doc)
{
    for (const Page& page : doc.pages) {
        const RectMm paper{0, 0, page.paper.width, page.paper.height};
        for (const Element& e : page.elements) {
            RectMm ink = e.rect;
            if (e.kind == ElementKind::Text)
                ink = {e.origin.x, e.rect.top, e.textWidth, e.rect.height};
            if (e.clip)
                ink = ink.intersected(*e.clip);
            const bool furniture = e.band.empty() && !e.component.empty();
            SCOPED_TRACE("page " + std::to_string(page.number) + " band " + e.band + " component " + e.component +
                         " text " + e.text);
            EXPECT_TRUE((furniture ? paper : page.body).contains(ink, 1e-6))
                << ink.left << "," << ink.top << " " << ink.width << "x" << ink.height;
        }
    }
}

CommandResult runCommand(const std::string& command)
{
    CommandResult r;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return r;
    std::array<char, 4096> buf;
    std::size_t n;
    while ((n = std::fread(buf.data(), 1, buf.size(), pipe)) > 0)
        r.output.append(buf.data(), n);
    const int status = pclose(pipe);
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return r;
}

TempDir::TempDir()
{
    std::random_device rd;
    m_path = std::filesystem::temp_directory_path() / ("medrec-report-" + std::to_string(rd()) + std::to_string(rd()));
    std::filesystem::create_directories(m_path);
}

TempDir::~TempDir()
{
    std::error_code ec;
    std::filesystem::remove_all(m_path, ec);
}

} // namespace medrec::engine::test
