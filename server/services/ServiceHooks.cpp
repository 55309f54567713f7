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
    // The general sheet's assessment, by the admission the sheet asks with.
    registry.add("MD_ADINF_S2", storedReplyService({"S_PATNO", "S_ADMDATE"}));
    // Staff names by the identifier looked up; the callers' fixed arguments ("Y", "1" or
    // "2", "EB1") do not change whose name it is.
    registry.add("MD_INSAM_L1", storedReplyService({"S_TYPE3"}));
}

} // namespace medrec::server::hooks
