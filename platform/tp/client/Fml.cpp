// The fml.h calls over the codec, with the FML error state per thread.

#include "fml.h"

#include "Errors.h"
#include "FieldTables.h"
#include "TypedBuffer.h"
#include "codec/FieldBuffer.h"

#include <cstring>
#include <string>

using namespace medrec::tp;
using medrec::tp::client::failField;

namespace {

thread_local std::string t_text;  // Fvals
thread_local std::string t_name;  // Fname
thread_local std::string t_error; // Fstrerror

// The buffer if it is an initialised field buffer; else null with Ferror FNOTFLD.
Fbfr *checked(FBFR *fbfr)
{
    if (!fb::isValid(fbfr)) {
        client::setFieldError(fbfr ? FNOTFLD : FEINVAL);
        return nullptr;
    }
    return fbfr;
}

// Copies a value in its own type into buf (room *len, may be null); sets *len.
int copyOut(const fb::Value &v, char *buf, FLDLEN *len)
{
    int type = fieldType(v.id);
    std::size_t need = type == FB_STRING ? v.length + 1 : v.length;
    if (len && *len < need)
        return failField(FNOSPACE);
    if (buf) {
        if (v.length)
            std::memcpy(buf, v.data, v.length);
        if (type == FB_STRING)
            buf[v.length] = '\0';
    }
    if (len)
        *len = static_cast<FLDLEN>(need);
    return 1;
}

} // namespace

extern "C" {

long Fsizeof(FBFR *fbfr)
{
    Fbfr *b = checked(fbfr);
    return b ? static_cast<long>(fb::size(b)) : -1;
}

int Finit(FBFR *fbfr, FLDLEN buflen)
{
    if (!fbfr)
        return failField(FEINVAL);
    client::BufferInfo info;
    if (client::lookup(reinterpret_cast<const char *>(fbfr), info) && buflen > info.size)
        return failField(FNOSPACE);
    int err = fb::init(fbfr, buflen);
    return err ? failField(err) : 1;
}

long Fused(FBFR *fbfr)
{
    Fbfr *b = checked(fbfr);
    return b ? static_cast<long>(fb::used(b)) : -1;
}

FLDID Fldid(char *name)
{
    auto table = client::currentFieldTable();
    if (!name || !table) {
        client::setFieldError(table ? FEINVAL : FBADNAME);
        return BADFLDID;
    }
    FLDID id = table->id(name);
    if (id == BADFLDID)
        client::setFieldError(FBADNAME);
    return id;
}

char *Fname(FLDID fieldid)
{
    auto table = client::currentFieldTable();
    const std::string *name = table ? table->name(fieldid) : nullptr;
    if (!name) {
        client::setFieldError(FBADFLD);
        return nullptr;
    }
    t_name = *name;
    return t_name.data();
}

int Fldtype(FLDID fieldid) { return fieldType(fieldid); }

int Fchg(FBFR *fbfr, FLDID fieldid, FLDOCC oc, char *value, FLDLEN len)
{
    Fbfr *b = checked(fbfr);
    if (!b)
        return -1;
    std::string stored;
    if (int err = fb::encodeValue(fieldid, value, len, stored))
        return failField(err);
    int err = fb::change(b, fieldid, oc, stored);
    return err ? failField(err) : 1;
}

int Fadd(FBFR *fbfr, FLDID fieldid, char *value, FLDLEN len)
{
    Fbfr *b = checked(fbfr);
    if (!b)
        return -1;
    std::string stored;
    if (int err = fb::encodeValue(fieldid, value, len, stored))
        return failField(err);
    int err = fb::append(b, fieldid, stored);
    return err ? failField(err) : 1;
}

int Fdel(FBFR *fbfr, FLDID fieldid, FLDOCC oc)
{
    Fbfr *b = checked(fbfr);
    if (!b)
        return -1;
    int err = fb::remove(b, fieldid, oc);
    return err ? failField(err) : 1;
}

FLDOCC Foccur(FBFR *fbfr, FLDID fieldid)
{
    Fbfr *b = checked(fbfr);
    return b ? fb::occurrences(b, fieldid) : -1;
}

int Fpres(FBFR *fbfr, FLDID fieldid, FLDOCC oc)
{
    Fbfr *b = checked(fbfr);
    return b && fb::find(b, fieldid, oc) ? 1 : 0;
}

char *Fvals(FBFR *fbfr, FLDID fieldid, FLDOCC oc)
{
    t_text.clear();
    if (Fbfr *b = checked(fbfr)) {
        if (auto v = fb::find(b, fieldid, oc))
            t_text = fb::toText(*v);
        else
            client::setFieldError(FNOTPRES);
    }
    return t_text.data();
}

long Fvall(FBFR *fbfr, FLDID fieldid, FLDOCC oc)
{
    Fbfr *b = checked(fbfr);
    if (!b)
        return 0;
    auto v = fb::find(b, fieldid, oc);
    if (!v) {
        client::setFieldError(FNOTPRES);
        return 0;
    }
    return fb::toLong(*v);
}

int Fget(FBFR *fbfr, FLDID fieldid, FLDOCC oc, char *buf, FLDLEN *len)
{
    Fbfr *b = checked(fbfr);
    if (!b)
        return -1;
    auto v = fb::find(b, fieldid, oc);
    if (!v)
        return failField(FNOTPRES);
    return copyOut(*v, buf, len);
}

int fbgetf(FBFR *fbfr, FLDID fieldid, char *value, FLDLEN *len, int *position)
{
    Fbfr *b = checked(fbfr);
    if (!b)
        return -1;
    if (!position)
        return failField(FEINVAL);
    int at = *position;
    auto v = fb::next(b, fieldid, &at);
    if (!v) {
        *position = at;
        return failField(FNOTPRES);
    }
    if (copyOut(*v, value, len) < 0)
        return -1; // *position stays, so a larger area can read the same occurrence
    *position = at;
    return 1;
}

int getFerror(void) { return client::lastFieldError(); }

char *Fstrerror(int err)
{
    t_error = fb::errorText(err);
    return t_error.data();
}

} // extern "C"
