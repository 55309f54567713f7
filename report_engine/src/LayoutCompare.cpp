#include "report_engine/LayoutCompare.h"

#include <algorithm>
#include <cstdlib>
#include <map>

namespace medrec::engine {

namespace {

constexpr long kToleranceTenths = 1; // rounding to whole tenths moves a value by one at most

struct Token {
    bool quoted = false;
    std::string value; // a quoted token unescaped
};

// Splits at blanks; "..." (with \" and \\) and [...] stay whole. False when one is not closed.
bool tokenize(std::string_view s, std::vector<Token>& out)
{
    std::size_t i = 0;
    while (i < s.size()) {
        if (s[i] == ' ') {
            ++i;
            continue;
        }
        Token t;
        if (s[i] == '"') {
            t.quoted = true;
            bool closed = false;
            for (++i; i < s.size();) {
                const char c = s[i++];
                if (c == '\\' && i < s.size()) {
                    t.value += s[i++];
                } else if (c == '"') {
                    closed = true;
                    break;
                } else {
                    t.value += c;
                }
            }
            if (!closed)
                return false;
        } else {
            const std::size_t start = i;
            while (i < s.size() && s[i] != ' ') {
                if (s[i] == '[') {
                    const std::size_t close = s.find(']', i);
                    if (close == std::string_view::npos)
                        return false;
                    i = close + 1;
                } else {
                    ++i;
                }
            }
            t.value = std::string(s.substr(start, i - start));
        }
        out.push_back(std::move(t));
    }
    return true;
}

std::string quoted(const std::string& text)
{
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\')
            out += '\\';
        out += c;
    }
    return out + "\"";
}

// The whole numbers of "[-5,10 300x40]", "100,200" or "412".
std::vector<long> numbers(std::string_view s)
{
    std::vector<long> out;
    for (std::size_t i = 0; i < s.size();) {
        const bool negative = s[i] == '-' && i + 1 < s.size() && s[i + 1] >= '0' && s[i + 1] <= '9';
        if (!negative && (s[i] < '0' || s[i] > '9')) {
            ++i;
            continue;
        }
        const std::size_t start = i;
        for (i += negative ? 1 : 0; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i) {
        }
        out.push_back(std::strtol(std::string(s.substr(start, i - start)).c_str(), nullptr, 10));
    }
    return out;
}

std::string formatNumbers(const std::vector<long>& v)
{
    if (v.size() == 4)
        return "[" + std::to_string(v[0]) + "," + std::to_string(v[1]) + " " + std::to_string(v[2]) + "x" +
               std::to_string(v[3]) + "]";
    std::string out;
    for (std::size_t i = 0; i < v.size(); ++i)
        out += (i ? "," : "") + std::to_string(v[i]);
    return out;
}

void appendStyle(std::string& style, const Token& t)
{
    if (!style.empty())
        style += ' ';
    style += t.quoted ? quoted(t.value) : t.value;
}

bool isElementKind(const std::string& kind)
{
    return kind == "text" || kind == "shape" || kind == "line" || kind == "image" || kind == "barcode";
}

// "  text band/comp [..] ..." without its indent.
std::optional<RecordElement> parseElement(std::string_view line, std::string& error)
{
    std::vector<Token> tokens;
    if (!tokenize(line, tokens) || tokens.size() < 2 || tokens[0].quoted || tokens[1].quoted) {
        error = "not an element line";
        return std::nullopt;
    }
    RecordElement e;
    e.line = std::string(line);
    e.kind = tokens[0].value;
    if (!isElementKind(e.kind)) {
        error = "unknown element \"" + e.kind + "\"";
        return std::nullopt;
    }
    const std::string& place = tokens[1].value;
    const std::size_t slash = place.find('/');
    if (slash == std::string::npos) {
        error = "no band/component in \"" + place + "\"";
        return std::nullopt;
    }
    e.band = place.substr(0, slash);
    e.component = place.substr(slash + 1);
    std::size_t end = tokens.size();
    if (e.kind == "text" || e.kind == "barcode") {
        if (end < 3 || !tokens[end - 1].quoted) {
            error = "a " + e.kind + " without its text";
            return std::nullopt;
        }
        e.text = tokens[--end].value;
    }
    for (std::size_t i = 2; i < end; ++i) {
        const Token& t = tokens[i];
        const std::string& v = t.value;
        const std::size_t eq = v.find('=');
        const std::string name = t.quoted || eq == std::string::npos ? std::string() : v.substr(0, eq);
        if (!t.quoted && v.starts_with('['))
            e.geometry.emplace_back("position", numbers(v));
        else if (name == "clip" || name == "from" || name == "to" || name == "x")
            e.geometry.emplace_back(name, numbers(v.substr(eq + 1)));
        else if (name == "fill")
            e.fill = v.substr(eq + 1);
        else if (!t.quoted && v == "printTime")
            e.printTime = true;
        else
            appendStyle(e.style, t);
    }
    return e;
}

// What an element is called in a difference: its kind and place, its place among its like on
// the page when there are several, and an unnamed text's own text.
std::string elementName(const RecordElement& e, std::size_t occurrence, bool several)
{
    std::string name = e.kind + " " + e.band + "/" + e.component;
    if (several)
        name += " #" + std::to_string(occurrence + 1);
    if (e.component == "-" && e.text && !e.printTime)
        name += " " + quoted(*e.text);
    return name;
}

// Elements pair up by this, and by their place among those with the same key.
std::string pairingKey(const RecordElement& e)
{
    std::string key = e.kind + '\n' + e.band + '\n' + e.component;
    if (e.component == "-" && e.text && !e.printTime)
        key += '\n' + *e.text;
    return key;
}

bool sameGeometry(const std::vector<long>& a, const std::vector<long>& b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::labs(a[i] - b[i]) > kToleranceTenths)
            return false;
    return true;
}

const std::vector<long>* geometryOf(const RecordElement& e, const std::string& name)
{
    for (const auto& [n, v] : e.geometry)
        if (n == name)
            return &v;
    return nullptr;
}

// "text "a" -> "b"; fill #000000 -> #FFFFFF", or empty when the two are the same.
std::string elementChanges(const RecordElement& a, const RecordElement& b)
{
    const bool clock = a.printTime && b.printTime;
    std::vector<std::string> changes;
    if (!clock && a.text != b.text)
        changes.push_back("text " + quoted(a.text.value_or("")) + " -> " + quoted(b.text.value_or("")));
    if (a.fill != b.fill)
        changes.push_back("fill " + a.fill + " -> " + b.fill);
    std::vector<std::string> names;
    for (const auto* e : {&a, &b})
        for (const auto& [name, values] : e->geometry)
            if (std::find(names.begin(), names.end(), name) == names.end())
                names.push_back(name);
    for (const std::string& name : names) {
        if (clock && name == "x")
            continue; // where an aligned clock text starts depends on its width
        const auto* ga = geometryOf(a, name);
        const auto* gb = geometryOf(b, name);
        if (ga && gb && sameGeometry(*ga, *gb))
            continue;
        changes.push_back(name + " " + (ga ? formatNumbers(*ga) : "none") + " -> " +
                          (gb ? formatNumbers(*gb) : "none"));
    }
    if (a.style != b.style)
        changes.push_back("style " + a.style + " -> " + b.style);
    std::string out;
    for (const std::string& c : changes)
        out += (out.empty() ? "" : "; ") + c;
    return out;
}

void comparePage(const RecordPage& a, const RecordPage& b, const std::string& label, std::vector<std::string>& out)
{
    if (a.header != b.header || !sameGeometry(a.body, b.body))
        out.push_back(label + ": " + a.header + " body=" + formatNumbers(a.body) + " -> " + b.header +
                      " body=" + formatNumbers(b.body));
    // The elements of each key on either page, in order.
    std::map<std::string, std::pair<std::vector<std::size_t>, std::vector<std::size_t>>> byKey;
    for (std::size_t i = 0; i < a.elements.size(); ++i)
        byKey[pairingKey(a.elements[i])].first.push_back(i);
    for (std::size_t i = 0; i < b.elements.size(); ++i)
        byKey[pairingKey(b.elements[i])].second.push_back(i);
    std::vector<bool> pairedInB(b.elements.size(), false);
    std::map<std::string, std::size_t> seen;
    for (const RecordElement& e : a.elements) {
        const std::string key = pairingKey(e);
        const auto& [inA, inB] = byKey[key];
        const std::size_t occurrence = seen[key]++;
        if (occurrence >= inB.size()) {
            out.push_back(label + " only in the first: " + e.line);
            continue;
        }
        const RecordElement& other = b.elements[inB[occurrence]];
        pairedInB[inB[occurrence]] = true;
        const std::string changes = elementChanges(e, other);
        if (!changes.empty())
            out.push_back(label + " " + elementName(e, occurrence, inA.size() > 1 || inB.size() > 1) + ": " +
                          changes);
    }
    for (std::size_t i = 0; i < b.elements.size(); ++i)
        if (!pairedInB[i])
            out.push_back(label + " only in the second: " + b.elements[i].line);
}

// Warnings by their text: those of one record the other has not.
void compareWarnings(const std::vector<std::string>& a, const std::vector<std::string>& b,
                     std::vector<std::string>& out)
{
    std::vector<bool> used(b.size(), false);
    for (const std::string& w : a) {
        bool found = false;
        for (std::size_t i = 0; i < b.size() && !found; ++i)
            if (!used[i] && b[i] == w)
                used[i] = found = true;
        if (!found)
            out.push_back("only in the first: " + w);
    }
    for (std::size_t i = 0; i < b.size(); ++i)
        if (!used[i])
            out.push_back("only in the second: " + b[i]);
}

} // namespace

std::optional<LayoutRecordText> parseLayoutRecord(std::string_view text, std::string& error)
{
    LayoutRecordText record;
    long declaredPages = -1;
    std::size_t lineNo = 0;
    auto fail = [&](const std::string& why) {
        error = "line " + std::to_string(lineNo) + ": " + why;
        return std::nullopt;
    };
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        const std::string_view line = text.substr(start, end - start);
        start = end + 1;
        ++lineNo;
        if (line.empty())
            continue;
        if (declaredPages < 0) {
            std::vector<Token> tokens;
            if (!line.starts_with("document ") || !tokenize(line, tokens) || tokens.size() != 3 ||
                !tokens[1].quoted || !tokens[2].value.starts_with("pages="))
                return fail("a layout record begins with document \"TITLE\" pages=N");
            record.title = tokens[1].value;
            declaredPages = numbers(tokens[2].value).empty() ? 0 : numbers(tokens[2].value).front();
        } else if (line.starts_with("page ")) {
            std::vector<Token> tokens;
            if (!tokenize(line, tokens) || tokens.size() < 3 ||
                tokens[1].value != std::to_string(record.pages.size() + 1))
                return fail("expected page " + std::to_string(record.pages.size() + 1));
            RecordPage page;
            for (std::size_t i = 2; i < tokens.size(); ++i) {
                if (tokens[i].value.starts_with("body="))
                    page.body = numbers(tokens[i].value);
                else
                    appendStyle(page.header, tokens[i]);
            }
            record.pages.push_back(std::move(page));
        } else if (line.starts_with("  ")) {
            if (record.pages.empty())
                return fail("an element before the first page");
            std::string why;
            auto element = parseElement(line.substr(2), why);
            if (!element)
                return fail(why);
            record.pages.back().elements.push_back(std::move(*element));
        } else if (line.starts_with("warning ")) {
            record.warnings.emplace_back(line);
        } else {
            return fail("not a line of a layout record: " + std::string(line.substr(0, 60)));
        }
    }
    if (declaredPages < 0) {
        error = "empty: not a layout record";
        return std::nullopt;
    }
    if (declaredPages != long(record.pages.size())) {
        error = "the record names " + std::to_string(declaredPages) + " pages but holds " +
                std::to_string(record.pages.size()) + " (cut short?)";
        return std::nullopt;
    }
    return record;
}

std::vector<std::string> compareLayoutRecords(const LayoutRecordText& first, const LayoutRecordText& second)
{
    std::vector<std::string> out;
    if (first.title != second.title)
        out.push_back("document " + quoted(first.title) + " -> " + quoted(second.title));
    if (first.pages.size() != second.pages.size())
        out.push_back("pages: " + std::to_string(first.pages.size()) + " -> " + std::to_string(second.pages.size()));
    const std::size_t common = std::min(first.pages.size(), second.pages.size());
    for (std::size_t i = 0; i < common; ++i)
        comparePage(first.pages[i], second.pages[i], "page " + std::to_string(i + 1), out);
    for (std::size_t i = common; i < first.pages.size(); ++i)
        out.push_back("page " + std::to_string(i + 1) + " only in the first (" +
                      std::to_string(first.pages[i].elements.size()) + " elements)");
    for (std::size_t i = common; i < second.pages.size(); ++i)
        out.push_back("page " + std::to_string(i + 1) + " only in the second (" +
                      std::to_string(second.pages[i].elements.size()) + " elements)");
    compareWarnings(first.warnings, second.warnings, out);
    return out;
}

} // namespace medrec::engine
