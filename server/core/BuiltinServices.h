#pragma once

// Services every medrec-server offers whatever domain services are linked in:
//   "TP_PING"  echoes the request's fields back (all but "STATLIN") with "STATLIN" "OK";
//              a health check for operators, the demo and the benchmarks.

namespace medrec::server {

class ServiceRegistry;

void registerBuiltinServices(ServiceRegistry &registry);

} // namespace medrec::server
