#include "Errors.h"

#include "atmi.h"

namespace medrec::tp::client {

namespace {

thread_local int t_tperrno = 0;
thread_local std::string t_detail;
thread_local std::string t_text;
thread_local int t_ferror = 0;
thread_local long t_urcode = 0;

const char *genericText(int err)
{
    switch (err) {
    case 0:
        return "no error";
    case TPEBADDESC:
        return "TPEBADDESC - bad call descriptor";
    case TPEBLOCK:
        return "TPEBLOCK - the call would block";
    case TPEINVAL:
        return "TPEINVAL - invalid argument";
    case TPELIMIT:
        return "TPELIMIT - a size limit was exceeded";
    case TPENOENT:
        return "TPENOENT - no such service or buffer type";
    case TPEOS:
        return "TPEOS - operating-system error";
    case TPEPERM:
        return "TPEPERM - permission denied";
    case TPEPROTO:
        return "TPEPROTO - call made in the wrong state";
    case TPESVCERR:
        return "TPESVCERR - the service failed to process the request";
    case TPESVCFAIL:
        return "TPESVCFAIL - the service reported a failure";
    case TPESYSTEM:
        return "TPESYSTEM - system or network error";
    case TPETIME:
        return "TPETIME - time-out";
    case TPETRAN:
        return "TPETRAN - transaction error";
    case TPGOTSIG:
        return "TPGOTSIG - interrupted by a signal";
    case TPEITYPE:
        return "TPEITYPE - the request buffer's type is not accepted";
    case TPEOTYPE:
        return "TPEOTYPE - the reply buffer's type is not accepted";
    case TPEABORT:
        return "TPEABORT - the transaction was rolled back";
    case TPENOENV:
        return "TPENOENV - the site environment is missing or unusable";
    default:
        return "unknown error";
    }
}

} // namespace

int fail(int tperrno, std::string detail)
{
    t_tperrno = tperrno;
    t_detail = std::move(detail);
    return -1;
}

void clearError()
{
    t_tperrno = 0;
    t_detail.clear();
}

int lastError() { return t_tperrno; }
const std::string &lastErrorDetail() { return t_detail; }

const char *errorText(int err)
{
    t_text = genericText(err);
    if (err == t_tperrno && err != 0 && !t_detail.empty())
        t_text += ": " + t_detail;
    return t_text.c_str();
}

int failField(int ferror)
{
    t_ferror = ferror;
    return -1;
}
void setFieldError(int ferror) { t_ferror = ferror; }
int lastFieldError() { return t_ferror; }

void setUserCode(long code) { t_urcode = code; }
long userCode() { return t_urcode; }

} // namespace medrec::tp::client
