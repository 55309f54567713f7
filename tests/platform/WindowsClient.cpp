// A client built for Windows that the Linux test WindowsClientTest runs under wine against
// the Linux service host: it joins, calls with Korean text, writes in a transaction and
// meets a time-out, and prints what each step returned, one line each, for that test to
// judge. Text is printed as hex of its UTF-8 bytes, so no console code page can alter it.
//
//   tp_windows_client <site environment file>

#include "AtmiClient.h"
#include "Basics.h"
#include "Cp949.h"
#include "atmi.h"
#include "fml.h"

#include <cstdio>
#include <string>

namespace {

FLDID id(const char *name)
{
    return Fldid(const_cast<char *>(name));
}

// Calls the service with "S_STRING1" = utf8 (as CP949); prints "<step> <rc> <tperrno>
// <hex of the reply's field>".
int call(const char *step, const char *service, const std::string &utf8, const char *replyField, long flags)
{
    char type[] = "FML32";
    char *buffer = tpalloc(type, nullptr, 4096);
    std::string cp949 = medrec::text::toCp949(utf8);
    Fchg(reinterpret_cast<FBFR *>(buffer), id("S_STRING1"), 0, cp949.data(),
         static_cast<FLDLEN>(cp949.size()));
    long length = 0;
    const int rc = tpcall(const_cast<char *>(service), buffer, 0, &buffer, &length, flags);
    const int error = rc == 0 ? 0 : gettperrno();
    std::string reply;
    if (rc == 0)
        reply = medrec::text::fromCp949(Fvals(reinterpret_cast<FBFR *>(buffer), id(replyField), 0));
    std::printf("%s %d %d %s\n", step, rc, error, medrec::testing::hexBytes(reply).c_str());
    tpfree(buffer);
    return rc;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: tp_windows_client <site environment file>\n");
        return 2;
    }
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    medrec::testing::AtmiSession session(argv[1], "HONGGILDONG", "10.1.20.3");
    std::printf("join %d %s\n", session.ok() ? 0 : -1, session.ok() ? "-" : session.error().c_str());
    if (!session.ok())
        return 1;

    call("greet", "TS_GREET_S1", "홍길동 외래 기록", "S_STRING1", TPNOTRAN);

    std::printf("begin %d\n", tpbegin(30, 0));
    call("note", "TS_NOTE_U1", "인쇄 이력 확인", "S_TYPE1", 0);
    std::printf("commit %d\n", tpcommit(0));

    call("slow", "TS_SLOW_S1", "대기", "S_STRING1", TPNOTRAN);
    call("after", "TS_GREET_S1", "다시", "S_STRING1", TPNOTRAN);
    return 0;
}
