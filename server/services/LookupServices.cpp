// Patient and code look-ups: "MD_PATBA_L2", "MD_DEPTC_L1", "MD_WDRMC_L1", "MD_MCOMC_L1".

#include "DomainServices.h"
#include "ServiceSupport.h"

#include "Codes.h"
#include "Patients.h"

#include <array>

namespace medrec::server::services {

namespace {

// More rows than the standard reply buffer holds comfortably; a name search that finds
// more asks the operator for more of the name instead.
constexpr std::size_t kMaxPatients = 100;

} // namespace

void servePatients(ServiceContext &ctx)
{
    const auto type = input(ctx, "S_TYPE1", "조회구분", kMaxCodeBytes, Need::Required);
    if (!type)
        return;
    const auto number = input(ctx, "S_TYPE2", "환자번호", kMaxCodeBytes, Need::Optional);
    if (!number)
        return;
    const auto name = input(ctx, "S_TYPE3", "환자명", kMaxNameBytes, Need::Optional);
    if (!name)
        return;

    store::PatientQuery query;
    if (*type == "1" || *type == "3" || *type == "4") {
        if (number->empty())
            return refuse(ctx, "환자번호(S_TYPE2): 값이 입력되지 않았습니다.");
        query.by = store::PatientQuery::By::Number;
        query.text = *number;
    } else if (*type == "2" || *type == "5") {
        if (name->empty())
            return refuse(ctx, "환자명(S_TYPE3): 값이 입력되지 않았습니다.");
        query.by = store::PatientQuery::By::NamePrefix;
        query.text = *name;
    } else {
        return refuse(ctx, "조회구분(S_TYPE1): 알 수 없는 조회구분입니다 (1~5).");
    }
    // "4" and "5" search the patients in hospital now.
    query.inpatientsOnly = *type == "4" || *type == "5";

    bool more = false;
    const auto patients = store::findPatients(ctx.connection(), query, kMaxPatients, &more);
    Reply &reply = ctx.reply();
    for (const store::Patient &p : patients) {
        ctx.audit(p.patno);
        const std::array<const std::string *, 18> fields = {
            &p.patno,   &p.name,    &p.resFront, &p.resBack,    &p.birthDate, &p.sex,
            &p.homeTel, &p.extra7,  &p.mobileTel, &p.extra9,    &p.zipCode,   &p.address,
            &p.extra12, &p.department, &p.extra14, &p.extra15, &p.extra16,   &p.extra17};
        for (std::size_t i = 0; i < fields.size(); ++i) {
            const std::string name = i == 0 ? std::string("S_PATNO") : "S_STRING" + std::to_string(i);
            if (!reply.addText(name, *fields[i]))
                return;
        }
    }
    if (more) {
        ctx.succeed("조회된 환자가 " + std::to_string(kMaxPatients) + "명을 넘어 " + std::to_string(kMaxPatients)
                        + "명까지만 보여 드립니다. 환자명을 더 입력하십시오.",
                    kUserCodeOk);
        return;
    }
    succeedWithRows(ctx, patients.size());
}

void serveDepartmentCodes(ServiceContext &ctx)
{
    const auto kind = input(ctx, "S_TYPE1", "코드구분", kMaxCodeBytes, Need::Required);
    if (!kind)
        return;
    if (!input(ctx, "S_TYPE2", "조회조건", kMaxCodeBytes, Need::Optional))
        return;
    std::vector<store::CodeName> codes;
    if (*kind == "1")
        codes = store::listDepartments(ctx.connection());
    else if (*kind == "2")
        codes = store::listWards(ctx.connection());
    else
        return refuse(ctx, "코드구분(S_TYPE1): 알 수 없는 코드구분입니다 (1 진료과, 2 병동).");

    Reply &reply = ctx.reply();
    for (const store::CodeName &c : codes) {
        if (!(reply.addText("S_CODE1", c.code) && reply.addText("S_CODE2", c.name)))
            return;
    }
    succeedWithRows(ctx, codes.size());
}

void serveWardRooms(ServiceContext &ctx)
{
    const auto ward = input(ctx, "S_TYPE1", "병동코드", kMaxCodeBytes, Need::Required);
    if (!ward)
        return;
    const auto rooms = store::listRooms(ctx.connection(), *ward);
    Reply &reply = ctx.reply();
    for (const std::string &room : rooms) {
        if (!reply.addText("S_STRING1", room))
            return;
    }
    succeedWithRows(ctx, rooms.size());
}

void serveCommonCodes(ServiceContext &ctx)
{
    const auto type = input(ctx, "S_TYPE1", "조회구분", kMaxCodeBytes, Need::Required);
    if (!type)
        return;
    if (*type != "S")
        return refuse(ctx, "조회구분(S_TYPE1): 알 수 없는 조회구분입니다 (S).");
    const auto group = input(ctx, "S_CODE1", "그룹코드", kMaxCodeBytes, Need::Required);
    if (!group)
        return;
    auto sub = input(ctx, "S_CODE2", "세부코드", kMaxCodeBytes, Need::Optional);
    if (!sub)
        return;
    const auto code = input(ctx, "S_CODE3", "코드", kMaxCodeBytes, Need::Optional);
    if (!code)
        return;

    const auto entries = store::listCommonCodes(ctx.connection(), *group, sub->empty() ? "000" : *sub, *code);
    Reply &reply = ctx.reply();
    for (const store::CommonCode &e : entries) {
        bool ok = true;
        for (std::size_t i = 0; i < e.counts.size() && ok; ++i)
            ok = reply.addInteger("L_CNT" + std::to_string(i + 1), static_cast<std::int32_t>(e.counts[i]));
        ok = ok && reply.addInteger("L_SEQNO1", static_cast<std::int32_t>(e.seq));
        const std::array<const std::string *, 6> head = {&e.groupCode, &e.subCode,   &e.code,
                                                         &e.groupName, &e.shortName, &e.name};
        for (std::size_t i = 0; i < head.size() && ok; ++i)
            ok = reply.addText("S_STRING" + std::to_string(i + 1), *head[i]);
        for (std::size_t i = 0; i < e.texts.size() && ok; ++i)
            ok = reply.addText("S_STRING" + std::to_string(i + 7), e.texts[i]);
        if (!ok)
            return;
    }
    succeedWithRows(ctx, entries.size());
}

} // namespace medrec::server::services
