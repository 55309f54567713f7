#include "FormConventions.h"

#include "TextHelpers.h"

#include "report_engine/Report.h"

#include <optional>
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
    : std::runtime_error(valueName.empty()
                             ? "'" + text + "' is not a valid integer value"
                             : "출력하지 못했습니다. " + valueName + " 값이 숫자가 아닙니다: '" + text + "'"),
      m_text(text)
{
}

namespace {

// -1 for blanks only, else the whole number the text holds, if it holds one.
std::optional<int> codeOf(const std::string &text)
{
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return -1;
    return common::WholeNumber(std::string_view(text).substr(first));
}

} // namespace

int CodeToInt(const std::string &text)
{
    if (const auto code = codeOf(text))
        return *code;
    throw CodeConversionError(text);
}

int CodeToInt(const std::string &text, const std::string &field)
{
    if (const auto code = codeOf(text))
        return *code;
    throw CodeConversionError(text, field);
}

int KeyToInt(const std::string &text)
{
    if (text.find_first_not_of(' ') == std::string::npos)
        throw CodeConversionError(text);
    return CodeToInt(text);
}

std::string MaskedResNo(const std::string &front, const std::string &back)
{
    return front + "-" + back.substr(0, 1) + "******";
}

std::string MaskedResNo(const std::string &shownWhole) { return shownWhole.substr(0, 8) + "******"; }

} // namespace medrec::reports
