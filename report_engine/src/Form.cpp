#include "report_engine/Form.h"

#include <array>
#include <utility>

namespace medrec::engine {

namespace {

constexpr std::array<std::pair<BandKind, const char*>, 9> kKinds{{
    {BandKind::Title, "title"},
    {BandKind::PageHeader, "pageHeader"},
    {BandKind::ColumnHeader, "columnHeader"},
    {BandKind::Detail, "detail"},
    {BandKind::GroupHeader, "groupHeader"},
    {BandKind::GroupFooter, "groupFooter"},
    {BandKind::SubDetail, "subDetail"},
    {BandKind::Summary, "summary"},
    {BandKind::PageFooter, "pageFooter"},
}};

} // namespace

std::optional<BandKind> bandKindFromName(std::string_view name)
{
    for (const auto& [kind, n] : kKinds)
        if (name == n)
            return kind;
    return std::nullopt;
}

const char* bandKindName(BandKind kind)
{
    for (const auto& [k, n] : kKinds)
        if (k == kind)
            return n;
    return "?";
}

SizeMm PageSetup::paperSize() const
{
    if (orientation == Orientation::Landscape)
        return {paper.height, paper.width};
    return paper;
}

RectMm PageSetup::body() const
{
    const SizeMm size = paperSize();
    return {margins.left, margins.top, size.width - margins.left - margins.right,
            size.height - margins.top - margins.bottom};
}

} // namespace medrec::engine
