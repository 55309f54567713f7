#pragma once

// The library's error state, per thread as the ATMI and FML calls define it: the last
// tperrno with a detail text, the last Ferror, and the last user return code.

#include <string>

namespace medrec::tp::client {

// Records a failure; detail says what exactly failed (ASCII, shown after the generic
// text by tpstrerror). Returns -1 so callers can `return fail(...)`.
int fail(int tperrno, std::string detail);
void clearError();
int lastError();
const std::string &lastErrorDetail();
// "generic text" or "generic text: detail" when err is the last error recorded.
const char *errorText(int tperrno);

int failField(int ferror);
void setFieldError(int ferror);
int lastFieldError();

void setUserCode(long code);
long userCode();

} // namespace medrec::tp::client
