#pragma once

// "medrec-server audit --db FILE [--patient N] [--since DATE]": the access audit of the
// database (AccessAudit.h), oldest first, one tab-separated row per patient a call
// touched: time, workstation, user, service, patient. DATE is YYYY-MM-DD, optionally
// followed by " HH:MM" or " HH:MM:SS" (local time). Exit 0, 1 when the database or its
// audit cannot be read, 2 on bad usage.

#include "Subcommand.h"

namespace medrec::server {

Subcommand auditCommand();

} // namespace medrec::server
