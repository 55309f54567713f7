#include "FieldList.h"
#include "MsgCom.h"
#include "TuxCom.h"
#include "TuxComState_p.h"

#include "Cp949.h"

#include <atmi.h>

#include <charconv>
#include <cstdio>
#include <cstring>
#include <limits>
#include <optional>

namespace medrec::middleware {

using detail::state;

namespace {

FLDID fieldId(const std::string &name)
{
    std::string copy = name;
    return Fldid(copy.data());
}

bool isTextType(int type) { return type == FB_CHAR || type == FB_STRING || type == FB_CARRAY; }
bool isIntegerType(int type) { return type == FB_SHORT || type == FB_LONG; }
bool isRealType(int type) { return type == FB_FLOAT || type == FB_DOUBLE; }

// The first reason the request cannot go out; later ones add nothing, the first one counts.
void refuseRequest(std::string why)
{
    if (state().requestError.empty())
        state().requestError = "request not sent: " + std::move(why);
}

// Changes one occurrence; a failure (a full buffer above all) refuses the whole request, so
// no call ever goes out with a value silently missing.
void change(const std::string &name, FLDID id, int occurrence, char *value, FLDLEN length)
{
    if (Fchg(state().request, id, occurrence, value, length) == -1)
        refuseRequest("field " + name + ", occurrence " + std::to_string(occurrence) + ": " +
                      Fstrerror(getFerror()));
}

void changeText(const std::string &name, FLDID id, int occurrence, const std::string &utf8)
{
    std::string cp949 = medrec::text::toCp949(utf8);
    change(name, id, occurrence, cp949.data(), static_cast<FLDLEN>(cp949.size()));
}

void changeInteger(const std::string &name, FLDID id, int occurrence, std::int32_t value)
{
    if (Fldtype(id) == FB_SHORT) {
        if (value < std::numeric_limits<short>::min() || value > std::numeric_limits<short>::max()) {
            refuseRequest("field " + name + ": " + std::to_string(value) + " does not fit a short field");
            return;
        }
        auto narrow = static_cast<short>(value);
        change(name, id, occurrence, reinterpret_cast<char *>(&narrow), 0);
        return;
    }
    change(name, id, occurrence, reinterpret_cast<char *>(&value), 0);
}

// The whole text as a 32-bit number: "12a", "", " 12" and out-of-range digits are no number.
std::optional<std::int32_t> wholeNumber(const std::string &text)
{
    std::int32_t number = 0;
    const char *end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, number);
    if (error != std::errc() || stop != end)
        return std::nullopt;
    return number;
}

// Fields of another type than the value get the value converted, so a number sent to an
// "S_" field arrives as its digits rather than as raw bytes.
void placeValue(const std::string &name, FLDID id, int occurrence, const InputValue &value)
{
    const int type = Fldtype(id);
    if (const auto *text = std::get_if<std::string>(&value)) {
        if (!isIntegerType(type)) {
            changeText(name, id, occurrence, *text);
        } else if (const auto number = wholeNumber(*text)) {
            changeInteger(name, id, occurrence, *number);
        } else {
            refuseRequest("field " + name + ": \"" + *text + "\" is not a whole number");
        }
        return;
    }
    const std::int32_t number = std::get<std::int32_t>(value);
    if (isTextType(type))
        changeText(name, id, occurrence, std::to_string(number));
    else
        changeInteger(name, id, occurrence, number);
}

std::string statusLine()
{
    if (!state().request)
        return {};
    const FLDID id = fieldId("STATLIN");
    if (id == BADFLDID || Foccur(state().request, id) <= 0)
        return {};
    return medrec::text::fromCp949(Fvals(state().request, id, 0));
}

void stampIdentity()
{
    auto &s = state();
    if (s.userName.empty())
        s.userName = CommandLineArgument(1) + CommandLineArgument(2);
    if (s.clientName.empty())
        s.clientName = CommandLineArgument(13);
    const std::pair<const char *, std::string> stamps[] = {
        {"LOG_USERNAME", s.userName},
        {"LOG_CLTNAME", s.clientName},
        {"LOG_FORMNAME", detail::activeFormName()},
    };
    for (const auto &[name, value] : stamps) {
        const FLDID id = fieldId(name);
        if (id == BADFLDID)
            refuseRequest(std::string("field ") + name + " is not in the field table");
        else
            changeText(name, id, 0, value);
    }
}

// Stamps the identity and tells whether the request may go out; when not, TuxMessage says
// why and the buffers are freed.
bool requestComplete()
{
    auto &s = state();
    if (!s.request) {
        s.message = "tpalloc failed, " + detail::libraryErrorText();
        return false;
    }
    stampIdentity();
    if (s.requestError.empty())
        return true;
    s.message = s.requestError;
    FmlFree();
    return false;
}

// The text of a failed call: the service's own status text when it sent one, else what the
// library knows (a time-out, a lost connection), never an empty text for a failure the
// service did not report itself.
std::string callFailureText()
{
    const int error = gettperrno();
    const std::string libraryText = detail::libraryErrorText();
    std::string status = statusLine();
    if (!status.empty() || error == TPESVCFAIL)
        return status;
    return "tpcall failed, " + libraryText;
}

// The request buffer is replaced by the reply; the library may hand back a new pointer.
int callService(const std::string &service, long flags)
{
    std::string name = service;
    char *buffer = reinterpret_cast<char *>(state().request);
    long length = 0;
    const int rc = tpcall(name.data(), buffer, 0, &buffer, &length, flags);
    state().request = reinterpret_cast<FBFR *>(buffer);
    return rc;
}

std::string realText(double value)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.15g", value);
    return text;
}

// Element i of a real field, or "-1" with the field error text kept.
std::string readReal(FLDID id, int type, int occurrence)
{
    double asDouble = 0;
    float asFloat = 0;
    char *target = type == FB_FLOAT ? reinterpret_cast<char *>(&asFloat) : reinterpret_cast<char *>(&asDouble);
    FLDLEN room = type == FB_FLOAT ? sizeof asFloat : sizeof asDouble;
    if (Fget(state().request, id, occurrence, target, &room) == -1) {
        state().message = Fstrerror(getFerror());
        return "-1";
    }
    return realText(type == FB_FLOAT ? static_cast<double>(asFloat) : asDouble);
}

std::string readByIndex(FLDID id, int type, int occurrence)
{
    if (isTextType(type))
        return medrec::text::fromCp949(Fvals(state().request, id, occurrence));
    if (isIntegerType(type))
        return std::to_string(Fvall(state().request, id, occurrence));
    if (isRealType(type))
        return readReal(id, type, occurrence);
    return {};
}

int occurrences(FLDID id)
{
    if (!state().request || id == BADFLDID)
        return 0;
    return std::max(0, static_cast<int>(Foccur(state().request, id)));
}

} // namespace

void SetFieldList(std::string list) { state().fieldList = std::move(list); }

void SetInputs(int occurrence, const std::vector<InputValue> &values)
{
    if (!state().request)
        return;
    for (std::size_t k = 0; k < values.size(); ++k) {
        const std::string name = FieldListItem(state().fieldList, static_cast<int>(k));
        const FLDID id = fieldId(name);
        if (id == BADFLDID)
            refuseRequest("item " + std::to_string(k) + " of the field list \"" + state().fieldList + "\" (\"" +
                          name + "\") is not a field of the field table");
        else
            placeValue(name, id, occurrence, values[k]);
    }
}

bool TuxCall(const std::string &service)
{
    auto &s = state();
    if (!requestComplete())
        return false;
    if (callService(service, TPNOTRAN) == -1) {
        s.message = callFailureText();
        FmlFree();
        return false;
    }
    s.message = statusLine();
    return true;
}

bool TuxTranCall(const std::string &service)
{
    auto &s = state();
    // Stamped before the transaction opens, so a request that cannot go out never opens one.
    if (!requestComplete())
        return false;
    if (tpbegin(10, 0) == -1) {
        s.message = "tpbegin failed, " + detail::libraryErrorText();
        FmlFree();
        return false;
    }
    if (callService(service, 0) == -1) {
        s.message = callFailureText();
        tpabort(0);
        FmlFree();
        return false;
    }
    const std::string replyStatus = statusLine();
    if (tpcommit(0) == -1) {
        const std::string error = detail::libraryErrorText();
        PlainMessage("error");
        s.message = "tpcommit failed, " + error;
        tpabort(0);
        FmlFree();
        return false;
    }
    s.message = replyStatus;
    return true;
}

int FieldOccur(const std::string &field) { return occurrences(fieldId(field)); }

bool SetRowFrom(int row)
{
    const FLDID from = fieldId("L_ROWFROM");
    const FLDID next = fieldId("L_ROWNEXT");
    if (!state().request || from == BADFLDID || next == BADFLDID || Fldtype(from) != FB_LONG ||
        Fldtype(next) != FB_LONG)
        return false;
    changeInteger("L_ROWFROM", from, 0, row);
    return true;
}

int ReplyNextRow()
{
    const FLDID id = fieldId("L_ROWNEXT");
    if (occurrences(id) == 0 || Fldtype(id) != FB_LONG)
        return -1;
    const long next = Fvall(state().request, id, 0);
    // A row no reply can start at reads as 0, which no continuation matches.
    return next < 0 || next > std::numeric_limits<int>::max() ? 0 : static_cast<int>(next);
}

ServiceResult GetOutput(const std::string &field)
{
    const FLDID id = fieldId(field);
    const int n = std::max(1, occurrences(id));
    ServiceResult result(static_cast<std::size_t>(n));
    if (!state().request || id == BADFLDID)
        return result;
    const int type = Fldtype(id);
    for (int i = 0; i < n; ++i)
        result[static_cast<std::size_t>(i)] = readByIndex(id, type, i);
    return result;
}

ServiceResult GetOutputSeq(const std::string &field)
{
    const FLDID id = fieldId(field);
    const int present = occurrences(id);
    const int n = std::max(1, present);
    ServiceResult result(static_cast<std::size_t>(n));
    if (!state().request || id == BADFLDID)
        return result;
    const int type = Fldtype(id);
    if (!(isTextType(type) || isIntegerType(type)) || !state().scratch) {
        for (int i = 0; i < n; ++i)
            result[static_cast<std::size_t>(i)] = readByIndex(id, type, i);
        return result;
    }
    int position = 0;
    for (int i = 0; i < present; ++i) {
        FLDLEN length = kScratchBufferSize;
        char *scratch = state().scratch;
        if (fbgetf(state().request, id, scratch, &length, &position) == -1) {
            // A value longer than the scratch area is read whole by its index instead (a
            // printed copy must not lose the end of a text); the cursor stays on it, so
            // the rest of the walk goes by index too.
            result[static_cast<std::size_t>(i)] = readByIndex(id, type, i);
            continue;
        }
        if (isTextType(type)) {
            const std::size_t bytes = ::strnlen(scratch, length);
            result[static_cast<std::size_t>(i)] = medrec::text::fromCp949(std::string_view(scratch, bytes));
        } else if (type == FB_SHORT) {
            short v = 0;
            std::memcpy(&v, scratch, sizeof v);
            result[static_cast<std::size_t>(i)] = std::to_string(v);
        } else {
            std::int32_t v = 0;
            std::memcpy(&v, scratch, sizeof v);
            result[static_cast<std::size_t>(i)] = std::to_string(v);
        }
    }
    return result;
}

long LastUserReturnCode() { return gettpurcode(); }

} // namespace medrec::middleware
