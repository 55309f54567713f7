#include "SampleValues.h"

#include "report_engine/ReportError.h"

#include <nlohmann/json.hpp>

#include <cstdio>
#include <fstream>
#include <memory>

namespace medrec::engine::tool {

namespace {

using nlohmann::json;

[[noreturn]] void fail(const std::string& where, const std::string& what)
{
    throw ReportError("values: " + where + ": " + what);
}

Color colorOf(const json& v, const std::string& where)
{
    if (v.is_number_integer())
        return Color::fromTColor(v.get<std::uint32_t>());
    if (v.is_string())
        if (auto c = parseColor(v.get<std::string>()))
            return *c;
    fail(where, "not a colour");
}

std::vector<std::string> linesOf(const json& v, const std::string& where)
{
    std::vector<std::string> out;
    for (const json& l : v) {
        if (!l.is_string())
            fail(where, "memo lines are texts");
        out.push_back(l.get<std::string>());
    }
    return out;
}

void applyBand(Band& band, const json& v, const std::string& where)
{
    if (!v.is_object())
        fail(where, "a band takes {height, color, enabled}");
    for (const auto& [key, value] : v.items()) {
        if (key == "height")
            band.setHeight(value.get<double>());
        else if (key == "color")
            band.setColor(colorOf(value, where + "/color"));
        else if (key == "enabled")
            band.setEnabled(value.get<bool>());
        else
            fail(where + "/" + key, "unknown band setting");
    }
}

void applyOne(Report& report, const std::string& name, const json& v, const std::string& where)
{
    if (!report.has(name))
        fail(where, "the form has no component or band \"" + name + "\"");
    for (Band& b : report.form().bands)
        if (b.name == name) {
            applyBand(b, v, where);
            return;
        }
    ComponentBase& base = report.component(name);
    Component* component = nullptr;
    report.forEachComponent([&](Component& c) {
        if (&medrec::engine::base(c) == &base)
            component = &c;
    });
    Component& c = *component;
    if (v.is_string()) {
        const std::string s = v.get<std::string>();
        if (auto* l = std::get_if<Label>(&c))
            l->setCaption(s);
        else if (auto* m = std::get_if<Memo>(&c))
            m->setText(s);
        else if (auto* sh = std::get_if<Shape>(&c))
            sh->setBrush(colorOf(v, where));
        else if (auto* sf = std::get_if<SystemField>(&c))
            sf->prefix = s;
        else
            fail(where, "a text does not fit a " + std::string(typeName(c)));
        return;
    }
    if (v.is_array()) {
        auto* m = std::get_if<Memo>(&c);
        if (!m)
            fail(where, "a list of lines is for memos");
        m->setLines(linesOf(v, where));
        return;
    }
    if (!v.is_object())
        fail(where, "expected a text, a list of lines or an object of settings");
    for (const auto& [key, value] : v.items()) {
        const std::string at = where + "/" + key;
        if (key == "enabled")
            base.setEnabled(value.get<bool>());
        else if (key == "left")
            base.setLeft(value.get<double>());
        else if (key == "top")
            base.setTop(value.get<double>());
        else if (key == "width")
            base.setWidth(value.get<double>());
        else if (key == "height")
            base.setHeight(value.get<double>());
        else if (key == "caption" && std::holds_alternative<Label>(c))
            std::get<Label>(c).setCaption(value.get<std::string>());
        else if (key == "lines" && std::holds_alternative<Memo>(c))
            std::get<Memo>(c).setLines(linesOf(value, at));
        else if (key == "text" && std::holds_alternative<Memo>(c))
            std::get<Memo>(c).setText(value.get<std::string>());
        else if (key == "brush" && std::holds_alternative<Shape>(c))
            std::get<Shape>(c).setBrush(colorOf(value, at));
        else if ((key == "bold" || key == "fontColor" || key == "color") && std::get_if<Label>(&c)) {
            Label& l = std::get<Label>(c);
            if (key == "bold")
                l.setBold(value.get<bool>());
            else if (key == "fontColor")
                l.setFontColor(colorOf(value, at));
            else
                l.setColor(colorOf(value, at));
        } else
            fail(at, "unknown setting for a " + std::string(typeName(c)));
    }
}

void applyObject(Report& report, const json& values, const std::string& where)
{
    if (!values.is_object())
        fail(where, "expected an object of names");
    for (const auto& [name, value] : values.items())
        applyOne(report, name, value, where + "/" + name);
}

std::optional<DateTime> parseTime(const std::string& s)
{
    DateTime t;
    if (std::sscanf(s.c_str(), "%d-%d-%d %d:%d:%d", &t.year, &t.month, &t.day, &t.hour, &t.minute, &t.second) != 6)
        return std::nullopt;
    return t;
}

} // namespace

SampleValues applySampleValues(Report& report, const std::filesystem::path& file)
{
    std::ifstream in(file);
    if (!in)
        throw ReportError("cannot read values file " + file.string());
    json j;
    try {
        j = json::parse(in, nullptr, true, true);
    } catch (const json::parse_error& e) {
        throw ReportError(file.string() + ": " + e.what());
    }
    SampleValues result;
    for (const auto& [key, value] : j.items()) {
        if (key == "components") {
            applyObject(report, value, "/components");
        } else if (key == "records") {
            if (!value.is_array())
                fail("/records", "expected a list of records");
            auto records = std::make_shared<json>(value);
            auto next = std::make_shared<std::size_t>(0);
            report.setNeedData([records, next](Report& r) {
                if (*next >= records->size())
                    return false;
                applyObject(r, (*records)[*next], "/records/" + std::to_string(*next));
                ++*next;
                return true;
            });
        } else if (key == "printTime") {
            result.printTime = parseTime(value.get<std::string>());
            if (!result.printTime)
                fail("/printTime", "expected \"YYYY-MM-DD HH:MM:SS\"");
        } else {
            fail("/" + key, "unknown key (components, records, printTime)");
        }
    }
    return result;
}

} // namespace medrec::engine::tool
