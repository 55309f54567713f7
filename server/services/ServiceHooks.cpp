// Registers the domain services with medrec-server (the server's hook).

#include "DomainServices.h"
#include "ServiceSupport.h"
#include "StoredReplyService.h"

#include "Hooks.h"

namespace medrec::server::hooks {

void registerDomainServices(ServiceRegistry &registry)
{
    using namespace services;
    registry.add("MD_PMEDH_S1", guarded(serveVisitHistory));
    registry.add("MD_RECOD_L1", guarded(serveRecordKinds));
    registry.add("MD_RECOD_L2", guarded(serveRecordList));
    registry.add("MD_RECOD_L3", guarded(serveRecordContent));
    registry.add("MD_RECOD_U1", guarded(servePrintHistory));
    registry.add("MD_PATBA_L2", guarded(servePatients));
    registry.add("MD_DEPTC_L1", guarded(serveDepartmentCodes));
    registry.add("MD_WDRMC_L1", guarded(serveWardRooms));
    registry.add("MD_MCOMC_L1", guarded(serveCommonCodes));
    // The inpatient header of the emergency nursing record: the print sends the constants
    // "1" and "EB1" in "S_TYPE1"/"S_TYPE4" with every call, so only the patient number tells
    // one answer from another.
    registry.add("MD_IPDLS_E1", storedReplyService({"S_TYPE2"}));
}

} // namespace medrec::server::hooks
