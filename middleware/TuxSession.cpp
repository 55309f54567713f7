#include "MsgCom.h"
#include "TuxCom.h"
#include "TuxComState_p.h"
#include "TuxMsg.h"

#include "Cp949.h"
#include "system/HostAddress.h"

#include <atmi.h>

#include <QApplication>
#include <QWidget>

#include <cstring>

namespace medrec::middleware {

namespace detail {

TuxComState &state()
{
    static TuxComState s;
    return s;
}

std::string libraryErrorText() { return tpstrerror(gettperrno()); }

std::string activeFormName()
{
    if (state().formName)
        return state().formName();
    if (!qApp)
        return {};
    if (QWidget *active = QApplication::activeWindow())
        return active->objectName().toStdString();
    if (QWidget *main = FindMainWindow())
        return main->objectName().toStdString();
    return {};
}

} // namespace detail

using detail::state;

namespace {

// The name in CP949, as every other text of the session, cut to 17 bytes without splitting
// a double-byte character.
void copyName(char *field, const std::string &utf8)
{
    const std::string cp949 = medrec::text::toCp949(medrec::text::cp949Left(utf8, MAXTIDENT));
    std::memset(field, 0, MAXTIDENT + 1);
    std::memcpy(field, cp949.data(), std::min<std::size_t>(cp949.size(), MAXTIDENT));
}

std::string lookUpHostAddress()
{
    const auto address = platform::hostIPv4Address();
    return address ? FormatIPv4(address->data()) : std::string();
}

} // namespace

void SetCommandLine(std::vector<std::string> arguments) { state().arguments = std::move(arguments); }

std::string CommandLineArgument(std::size_t index)
{
    const auto &args = state().arguments;
    return index < args.size() ? args[index] : std::string();
}

std::string FormatIPv4(const unsigned char bytes[4])
{
    return std::to_string(bytes[0]) + "." + std::to_string(bytes[1]) + "." + std::to_string(bytes[2]) + "." +
           std::to_string(bytes[3]);
}

void SetHostAddressLookup(std::function<std::string()> lookup) { state().hostLookup = std::move(lookup); }
void SetFormNameSource(std::function<std::string()> source) { state().formName = std::move(source); }

std::string LocalIPAddress() { return state().hostLookup ? state().hostLookup() : lookUpHostAddress(); }

std::string TuxUserName() { return state().userName; }
std::string TuxClientName() { return state().clientName; }
std::string TuxMessage() { return state().message; }
void SetTuxMessage(std::string text) { state().message = std::move(text); }
std::string LastTuxMessage() { return state().message.empty() ? kDefaultTuxMessage : state().message; }

bool TuxInit(const std::string &environmentFile)
{
    std::string file = environmentFile;
    char label[1] = {0};
    if (tuxreadenv(file.data(), label) == -1) {
        ShowMsg("환경 화일이 지워졌거나 손상되었습니다.\r\n\r\n전산실 담당자에게 문의하시기 바랍니다.");
        return false;
    }
    char type[] = "TPINIT";
    auto *record = reinterpret_cast<TPSTART_T *>(tpalloc(type, nullptr, 512));

    const std::string first = CommandLineArgument(1);
    if (!first.empty())
        state().userName = first + CommandLineArgument(2);
    state().clientName = LocalIPAddress();

    if (!record) {
        ShowMsg("tpalloc failed, " + detail::libraryErrorText());
        return false;
    }
    copyName(record->usrname, state().userName);
    copyName(record->cltname, state().clientName);
    record->flags = TPU_DIP;
    record->datalen = 0;
    record->data = 0;

    if (tpinit(record) == -1) {
        ShowMsg("tpinit failed, " + detail::libraryErrorText());
        tpfree(reinterpret_cast<char *>(record));
        return false;
    }
    tpfree(reinterpret_cast<char *>(record));
    SetUnsol();
    return true;
}

void TuxTerm() { tpterm(); }

bool FmlAlloc(Flavour flavour)
{
    FmlFree();
    auto &s = state();
    const bool large = flavour == Flavour::Large;
    char fml[] = "FML";
    char fml32[] = "FML32";
    char *buffer = tpalloc(large ? fml32 : fml, nullptr, large ? kLargeBufferSize : kStandardBufferSize);
    s.flavour = flavour;
    s.message = kDefaultTuxMessage;
    s.requestError.clear();
    bool ok = true;
    if (buffer) {
        s.request = reinterpret_cast<FBFR *>(buffer);
        if (Finit(s.request, static_cast<FLDLEN>(Fsizeof(s.request))) == -1) {
            s.message = std::string("Finit failed, ") + Fstrerror(getFerror());
            ok = false;
        }
    } else {
        s.message = "tpalloc failed, " + detail::libraryErrorText();
        ok = false;
    }
    char string[] = "STRING";
    s.scratch = tpalloc(string, nullptr, kScratchBufferSize);
    if (!s.scratch) {
        s.message = "strbuf tpalloc failed, " + detail::libraryErrorText();
        ok = false;
    }
    if (!ok)
        s.requestError = s.message; // nothing half-allocated is ever sent
    return ok;
}

void FmlFree()
{
    auto &s = state();
    if (s.request)
        tpfree(reinterpret_cast<char *>(s.request));
    if (s.scratch)
        tpfree(s.scratch);
    s.request = nullptr;
    s.scratch = nullptr;
}

bool HasRequestBuffer() { return state().request != nullptr; }

} // namespace medrec::middleware
