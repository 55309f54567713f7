#include "report_engine/Components.h"

#include "TextWrap.h"

namespace medrec::engine {

void Memo::setText(std::string_view text)
{
    lines = splitLines(text);
    keepWithNext.clear();
}

std::string Memo::text() const
{
    std::string out;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0)
            out += "\r\n";
        out += lines[i];
    }
    return out;
}

ComponentBase& base(Component& c)
{
    return std::visit([](auto& v) -> ComponentBase& { return v; }, c);
}

const ComponentBase& base(const Component& c)
{
    return std::visit([](const auto& v) -> const ComponentBase& { return v; }, c);
}

const char* typeName(const Component& c)
{
    struct Names {
        const char* operator()(const Label&) const { return "label"; }
        const char* operator()(const Memo&) const { return "memo"; }
        const char* operator()(const Shape&) const { return "shape"; }
        const char* operator()(const Line&) const { return "line"; }
        const char* operator()(const Picture&) const { return "picture"; }
        const char* operator()(const SystemField&) const { return "systemField"; }
    };
    return std::visit(Names{}, c);
}

} // namespace medrec::engine
