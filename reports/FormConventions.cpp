#include "FormConventions.h"

#include "TextHelpers.h"

#include "report_engine/Report.h"

#include <variant>

namespace medrec::reports {

void shcbx_pro(engine::Report &report, const std::string &shape, const std::string &value)
{
    report.shape(shape).setBrush(value == "Y" ? engine::Color::black() : engine::Color::white());
}

void markYesNo(engine::Report &report, const std::string &value, const std::string &yesLabel,
               const std::string &noLabel)
{
    report.label(value == "Y" ? yesLabel : noLabel).setCaption("■");
}

void clearCheckMarks(engine::Report &report)
{
    report.forEachComponent([](engine::Component &c) {
        if (auto *label = std::get_if<engine::Label>(&c); label && label->caption == "√")
            label->setCaption("");
    });
}

CodeConversionError::CodeConversionError(const std::string &text, const std::string &valueName)
    : std::runtime_error("'" + text + "' is not a valid integer value" +
                         (valueName.empty() ? std::string() : " (" + valueName + ")")),
      m_text(text)
{
}

int CodeToInt(const std::string &text)
{
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return -1;
    const auto value = common::WholeNumber(std::string_view(text).substr(first));
    if (!value)
        throw CodeConversionError(text);
    return *value;
}

std::string MaskedResNo(const std::string &front, const std::string &back)
{
    return front + "-" + back.substr(0, 1) + "******";
}

std::string MaskedResNo(const std::string &shownWhole) { return shownWhole.substr(0, 8) + "******"; }

} // namespace medrec::reports
