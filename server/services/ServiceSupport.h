#pragma once

// What every domain handler shares: reading checked inputs, the status texts and user
// return codes of its replies, and the guard that turns a database fault into a reply.
//
// User return codes (the client shows the "STATLIN" text by them):
//   0  success, and ordinary refusals of bad input (the status line shows the text);
//  -1  server faults and calls a correct client never makes, such as a history write
//      outside a transaction (the notice window asks the operator to call the IT desk).

#include "ServiceRegistry.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace medrec::server::services {

inline constexpr long kUserCodeOk = 0;
inline constexpr long kUserCodeRefused = 0;
inline constexpr long kUserCodeFault = -1;

// Widths of inputs, in CP949 bytes as the wire counts them.
inline constexpr std::size_t kMaxCodeBytes = 20;  // codes, numbers, dates, kinds
inline constexpr std::size_t kMaxKeyBytes = 100;  // record keys and history values
inline constexpr std::size_t kMaxNameBytes = 80;  // a name typed into the 40-character edit

enum class Need { Optional, Required };

// Occurrence 0 of a text field as UTF-8. Bad input (not CP949, longer than maxBytes, or
// empty when required) fails the call with user code 0 and a status text naming the
// field by its label and name, and gives nullopt: the handler then just returns.
std::optional<std::string> input(ServiceContext &ctx, std::string_view field, std::string_view label,
                                 std::size_t maxBytes, Need need);

// The same for occurrence n (rows of a write).
std::optional<std::string> inputAt(ServiceContext &ctx, std::string_view field, int occurrence,
                                   std::string_view label, std::size_t maxBytes, Need need);

// Fails the call as a refusal: user code 0, the text as "STATLIN".
void refuse(ServiceContext &ctx, std::string_view status);

// Succeeds with the status text of a list: "n건의 자료가 조회되었습니다." or, for none,
// "조회된 자료가 없습니다.".
void succeedWithRows(ServiceContext &ctx, std::size_t rows);

// Wraps a handler so that a database fault, or a field the field table lacks, fails the
// call with user code -1 and a status text saying so, instead of escaping.
ServiceHandler guarded(ServiceHandler serve);

// The handler, with an access-audit row for the patient its input field names once it
// succeeds (ServiceContext::audit); the handler itself when field is empty.
ServiceHandler auditedBy(const std::string &field, ServiceHandler serve);

} // namespace medrec::server::services
