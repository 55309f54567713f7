#include "FieldList.h"
#include "MsgCom.h"
#include "TuxCom.h"
#include "TuxComState_p.h"

#include "Cp949.h"

#include <atmi.h>

#include <charconv>
#include <cstdio>
#include <cstring>

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

void changeText(FLDID id, int occurrence, const std::string &utf8)
{
    std::string cp949 = medrec::text::toCp949(utf8);
    Fchg(state().request, id, occurrence, cp949.data(), static_cast<FLDLEN>(cp949.size()));
}

void changeInteger(FLDID id, int occurrence, std::int32_t value)
{
    if (Fldtype(id) == FB_SHORT) {
        auto narrow = static_cast<short>(value);
        Fchg(state().request, id, occurrence, reinterpret_cast<char *>(&narrow), 0);
        return;
    }
    Fchg(state().request, id, occurrence, reinterpret_cast<char *>(&value), 0);
}

// Fields of another type than the value get the value converted, so a number sent to an
// "S_" field arrives as its digits rather than as raw bytes.
void placeValue(FLDID id, int occurrence, const InputValue &value)
{
    const int type = Fldtype(id);
    if (const auto *text = std::get_if<std::string>(&value)) {
        if (isIntegerType(type)) {
            std::int32_t number = 0;
            std::from_chars(text->data(), text->data() + text->size(), number);
            changeInteger(id, occurrence, number);
        } else {
            changeText(id, occurrence, *text);
        }
        return;
    }
    const std::int32_t number = std::get<std::int32_t>(value);
    if (isTextType(type))
        changeText(id, occurrence, std::to_string(number));
    else
        changeInteger(id, occurrence, number);
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
        if (id != BADFLDID)
            changeText(id, 0, value);
    }
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
        const FLDID id = fieldId(FieldListItem(state().fieldList, static_cast<int>(k)));
        if (id != BADFLDID)
            placeValue(id, occurrence, values[k]);
    }
}

bool TuxCall(const std::string &service)
{
    auto &s = state();
    if (!s.request) {
        s.message = "tpalloc failed, " + detail::libraryErrorText();
        return false;
    }
    stampIdentity();
    if (callService(service, TPNOTRAN) == -1) {
        s.message = statusLine();
        FmlFree();
        return false;
    }
    s.message = statusLine();
    return true;
}

bool TuxTranCall(const std::string &service)
{
    auto &s = state();
    if (!s.request) {
        s.message = "tpalloc failed, " + detail::libraryErrorText();
        return false;
    }
    if (tpbegin(10, 0) == -1) {
        s.message = "tpbegin failed, " + detail::libraryErrorText();
        FmlFree();
        return false;
    }
    stampIdentity();
    if (callService(service, 0) == -1) {
        s.message = statusLine();
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
