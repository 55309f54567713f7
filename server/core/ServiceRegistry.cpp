#include "ServiceRegistry.h"

#include "ReplyRows.h"

#include "Cp949.h"
#include "codec/FieldBuffer.h"
#include "codec/FieldTable.h"
#include "codec/Limits.h"

#include <algorithm>
#include <charconv>
#include <stdexcept>

namespace medrec::server {

namespace {

FLDID requireField(const tp::FieldTable &fields, std::string_view name)
{
    FLDID id = fields.id(name);
    if (id == BADFLDID)
        throw std::invalid_argument("field " + std::string(name) + " is not in the field table");
    return id;
}

template <typename T> std::string rawBytes(const T &value)
{
    return std::string(reinterpret_cast<const char *>(&value), sizeof value);
}

} // namespace

Request::Request(const Fbfr *buffer, const tp::FieldTable &fields) : m_buffer(buffer), m_fields(fields) {}

int Request::count(std::string_view field) const
{
    return tp::fb::occurrences(m_buffer, requireField(m_fields, field));
}

bool Request::has(std::string_view field, int occurrence) const
{
    return tp::fb::find(m_buffer, requireField(m_fields, field), occurrence).has_value();
}

std::uint32_t Request::fieldId(std::string_view field) const { return m_fields.id(field); }

std::string Request::text(std::string_view field, int occurrence) const
{
    auto v = tp::fb::find(m_buffer, requireField(m_fields, field), occurrence);
    if (!v)
        return {};
    int type = tp::fieldType(v->id);
    std::string t = tp::fb::toText(*v);
    return type == FB_STRING || type == FB_CARRAY || type == FB_CHAR ? text::fromCp949(t) : t;
}

std::string_view Request::bytes(std::string_view field, int occurrence) const
{
    auto v = tp::fb::find(m_buffer, requireField(m_fields, field), occurrence);
    return v ? v->bytes() : std::string_view{};
}

std::optional<std::int32_t> Request::integer(std::string_view field, int occurrence) const
{
    auto v = tp::fb::find(m_buffer, requireField(m_fields, field), occurrence);
    if (!v)
        return std::nullopt;
    switch (tp::fieldType(v->id)) {
    case FB_SHORT:
    case FB_LONG:
        return static_cast<std::int32_t>(tp::fb::toLong(*v));
    case FB_STRING:
    case FB_CARRAY: {
        std::string_view s = v->bytes();
        while (!s.empty() && s.front() == ' ')
            s.remove_prefix(1);
        while (!s.empty() && s.back() == ' ')
            s.remove_suffix(1);
        if (!s.empty() && s.front() == '+')
            s.remove_prefix(1);
        std::int32_t out = 0;
        auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), out);
        if (s.empty() || ec != std::errc{} || end != s.data() + s.size())
            return std::nullopt;
        return out;
    }
    default:
        return std::nullopt;
    }
}

std::optional<std::string> Request::checkedText(std::string_view field, int occurrence, std::size_t maxBytes,
                                                std::string *why) const
{
    std::string_view raw = bytes(field, occurrence);
    if (!text::isValidCp949(raw)) {
        if (why)
            *why = std::string(field) + ": 올바른 한글(CP949) 문자가 아닌 값이 들어 있습니다.";
        return std::nullopt;
    }
    if (raw.size() > maxBytes) {
        if (why)
            *why = std::string(field) + ": 값이 너무 깁니다 (" + std::to_string(raw.size()) + "바이트, 최대 " +
                   std::to_string(maxBytes) + "바이트).";
        return std::nullopt;
    }
    return text::fromCp949(raw);
}

namespace {
constexpr std::size_t kFirstReplySize = 4096;
}

Reply::Reply(const tp::FieldTable &fields, std::size_t limit)
    : m_fields(fields), m_limit(std::min(limit, tp::kFml32MaxSize))
{
    const std::size_t size = std::min(kFirstReplySize, m_limit);
    m_storage.reset(new char[size]);
    m_buffer = reinterpret_cast<Fbfr *>(m_storage.get());
    tp::fb::init(m_buffer, size);
}

bool Reply::grow()
{
    const std::size_t size = tp::fb::size(m_buffer);
    if (size >= m_limit)
        return false;
    const std::size_t larger = std::min(size * 2, m_limit);
    std::unique_ptr<char[]> storage(new char[larger]);
    auto *buffer = reinterpret_cast<Fbfr *>(storage.get());
    tp::fb::init(buffer, larger);
    tp::fb::assign(buffer, tp::fb::entries(m_buffer));
    m_storage = std::move(storage);
    m_buffer = buffer;
    return true;
}

Reply::~Reply() = default;

bool Reply::change(std::string_view field, int occurrence, const char *value, std::size_t length, int type)
{
    FLDID id = requireField(m_fields, field);
    int fieldType = tp::fieldType(id);
    bool textCall = type == 0;
    if (textCall ? (fieldType != FB_STRING && fieldType != FB_CARRAY && fieldType != FB_CHAR) : fieldType != type)
        throw std::invalid_argument("field " + std::string(field) + " is a " + tp::fieldTypeName(fieldType) +
                                    " field");
    if (m_overflowed)
        return false;
    std::string stored;
    std::string_view bytes(value, length);
    if (fieldType == FB_STRING) {
        stored.assign(bytes.substr(0, bytes.find('\0'))); // a zero byte ends a string
        stored.push_back('\0');
    } else if (fieldType == FB_CHAR) {
        stored.assign(1, bytes.empty() ? '\0' : bytes.front());
    } else {
        stored.assign(bytes);
    }
    int err = FNOSPACE;
    do
        err = occurrence < 0 ? tp::fb::append(m_buffer, id, stored) : tp::fb::change(m_buffer, id, occurrence, stored);
    while (err == FNOSPACE && grow());
    if (err == FNOSPACE) {
        m_overflowed = true;
        return false;
    }
    if (err)
        throw std::invalid_argument("field " + std::string(field) + ": " + tp::fb::errorText(err));
    return true;
}

bool Reply::appendStored(FLDID id, std::string_view stored)
{
    if (m_overflowed)
        return false;
    int err = FNOSPACE;
    do
        err = tp::fb::append(m_buffer, id, stored);
    while (err == FNOSPACE && grow());
    if (err == FNOSPACE)
        m_overflowed = true;
    return err == 0;
}

bool Reply::addText(std::string_view field, std::string_view utf8)
{
    std::string cp949 = text::toCp949(utf8);
    return change(field, -1, cp949.data(), cp949.size(), 0);
}

bool Reply::addInteger(std::string_view field, std::int32_t value)
{
    std::string v = rawBytes(value);
    return change(field, -1, v.data(), v.size(), FB_LONG);
}

bool Reply::addReal(std::string_view field, double value)
{
    FLDID id = requireField(m_fields, field);
    if (tp::fieldType(id) == FB_FLOAT) {
        std::string v = rawBytes(static_cast<float>(value));
        return change(field, -1, v.data(), v.size(), FB_FLOAT);
    }
    std::string v = rawBytes(value);
    return change(field, -1, v.data(), v.size(), FB_DOUBLE);
}

bool Reply::addBytes(std::string_view field, std::string_view bytes)
{
    return change(field, -1, bytes.data(), bytes.size(), 0);
}

bool Reply::setText(std::string_view field, int occurrence, std::string_view utf8)
{
    if (occurrence < 0)
        throw std::invalid_argument("negative occurrence");
    std::string cp949 = text::toCp949(utf8);
    return change(field, occurrence, cp949.data(), cp949.size(), 0);
}

bool Reply::setInteger(std::string_view field, int occurrence, std::int32_t value)
{
    if (occurrence < 0)
        throw std::invalid_argument("negative occurrence");
    std::string v = rawBytes(value);
    return change(field, occurrence, v.data(), v.size(), FB_LONG);
}

int Reply::count(std::string_view field) const
{
    return tp::fb::occurrences(m_buffer, requireField(m_fields, field));
}

std::size_t Reply::usedBytes() const { return tp::fb::used(m_buffer); }

ServiceContext::ServiceContext(std::string service, const Request &request, Reply &reply, Identity identity,
                               SqlConnection db, bool inTransaction, std::uint64_t sessionId,
                               SessionNotifier *notifier)
    : m_service(std::move(service)), m_request(request), m_reply(reply), m_identity(std::move(identity)),
      m_db(db), m_inTransaction(inTransaction), m_sessionId(sessionId), m_notifier(notifier)
{
}

void ServiceContext::succeed(std::string_view status, long userCode)
{
    m_status = std::string(status);
    m_userCode = userCode;
    m_failed = false;
}

void ServiceContext::audit(std::string_view patno)
{
    if (!patno.empty() && std::find(m_audited.begin(), m_audited.end(), patno) == m_audited.end())
        m_audited.emplace_back(patno);
}

void ServiceContext::fail(std::string_view status, long userCode)
{
    m_status = std::string(status);
    m_userCode = userCode;
    m_failed = true;
}

bool ServiceContext::requireText(std::string_view field, int occurrence, std::size_t maxBytes, std::string &out)
{
    std::string why;
    auto checked = m_request.checkedText(field, occurrence, maxBytes, &why);
    if (!checked) {
        fail(why, -1);
        return false;
    }
    out = std::move(*checked);
    return true;
}

ReplyRows ServiceContext::rowsFor(std::string countField, bool trimEmpties) const
{
    return ReplyRows(std::move(countField), trimEmpties ? ReplyRows::Trim::TrailingEmpties : ReplyRows::Trim::Nothing,
                     &m_request.fields());
}

void ServiceContext::replyRows(ReplyRows rows) { m_rows = std::make_shared<const ReplyRows>(std::move(rows)); }

bool ServiceContext::notify(std::string_view utf8)
{
    return m_notifier && m_notifier->notify(m_sessionId, text::toCp949(utf8));
}

void ServiceRegistry::add(std::string name, ServiceHandler handler)
{
    m_handlers[std::move(name)] = std::move(handler);
}

const ServiceHandler *ServiceRegistry::find(std::string_view name) const
{
    auto it = m_handlers.find(name);
    return it == m_handlers.end() ? nullptr : &it->second;
}

std::vector<std::string> ServiceRegistry::names() const
{
    std::vector<std::string> out;
    out.reserve(m_handlers.size());
    for (const auto &[name, handler] : m_handlers)
        out.push_back(name);
    return out;
}

} // namespace medrec::server
