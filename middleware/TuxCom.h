#pragma once

// The middleware call layer: the one session of the process, the one request buffer
// through which every service call passes, and the conversion of inputs and outputs
// (UTF-8 inside, CP949 in field buffers).
//
// All of it is module state, used from the user-interface thread only; at most one call
// is being built at a time.

#include "ServiceFlavour.h"

#include <cstdint>
#include <functional>
#include <string>
#include <variant>
#include <vector>

namespace medrec::middleware {

// The texts of one output field after a call: element i is occurrence i (row i). Never
// empty: one empty element when the reply has no occurrence.
using ServiceResult = std::vector<std::string>;

// An input value: text, or a 32-bit integer for "L_" fields.
using InputValue = std::variant<std::string, std::int32_t>;

inline constexpr const char *kDefaultTuxMessage = "전산실 담당자에게 문의하시고, 사용하시기 바랍니다.";

// The program's command line (argument 0 is the program). Arguments 1 and 2 form the
// user name; argument 13 is the client name when the workstation address is unknown.
void SetCommandLine(std::vector<std::string> arguments);
std::string CommandLineArgument(std::size_t index);

// Opens the session: reads the environment file, joins with the user and client names,
// registers the unsolicited-message handler. Shows its own message box on failure.
bool TuxInit(const std::string &environmentFile);
void TuxTerm();

// The workstation's IPv4 address in dotted decimal, or empty text.
std::string LocalIPAddress();
// Dotted decimal of four address bytes (no leading zeros).
std::string FormatIPv4(const unsigned char bytes[4]);
// Replaces how the workstation address is found (tests); nullptr restores the default.
void SetHostAddressLookup(std::function<std::string()> lookup);

// Where "LOG_FORMNAME" comes from: by default the component name of the active window, or
// of the main window when none is active.
void SetFormNameSource(std::function<std::string()> source);

std::string TuxUserName();
std::string TuxClientName();
std::string TuxMessage();
void SetTuxMessage(std::string text);
// TuxMessage, or the default text when it is empty.
std::string LastTuxMessage();

// Allocates the request buffer of the flavour and the 4,096-byte scratch buffer; resets
// TuxMessage. False when either allocation failed (TuxMessage says which); the next call then
// fails with that text.
bool FmlAlloc(Flavour flavour);
void FmlFree();
bool HasRequestBuffer();

void SetFieldList(std::string list);
// Puts value k into the field named by item k of the field list, at the occurrence. A value
// that cannot be placed (a name the field table does not know or no name at all, a text that
// is not a whole number for an integer field, a buffer too full for it) refuses the request:
// the next call sends nothing and fails with a text naming the field.
void SetInputs(int occurrence, const std::vector<InputValue> &values);

// The plain call (outside any transaction) and the call inside its own transaction.
// On failure the buffers are freed and TuxMessage holds the text: the service's status text,
// or the library's failure text when the service sent none (a time-out, a lost connection).
bool TuxCall(const std::string &service);
bool TuxTranCall(const std::string &service);

// Rows beyond one reply (docs/wire-format.md). SetRowFrom asks the request being built for
// the rows from `row` on, and says so: true when the field table has the fields
// "L_ROWFROM" and "L_ROWNEXT"; without them the request goes out as it always did and
// the answer comes in one reply.
bool SetRowFrom(int row);
// The row the service's next reply starts at ("L_ROWNEXT" of the reply), or -1 when the
// reply says nothing of more rows (0 when it names no row a reply can start at).
int ReplyNextRow();

ServiceResult GetOutput(const std::string &field);
// The same, reading text and integer occurrences in buffer order with one cursor.
ServiceResult GetOutputSeq(const std::string &field);
int FieldOccur(const std::string &field);

// The user return code of the last reply.
long LastUserReturnCode();

} // namespace medrec::middleware
