#include "SmallCatalogue.h"

namespace medrec::server::store::testing {

const char *const kSmallCatalogue = R"JSON({
  "departments": [
    {"code": "GS", "name": "외과"}, {"code": "IM", "name": "내과"}, {"code": "ER", "name": "응급의학과"}
  ],
  "wards": [
    {"code": "71", "name": "71병동", "rooms": ["7101", "7102", "7103"]},
    {"code": "52", "name": "52병동"}
  ],
  "commonCodes": [
    {"group": "204", "subCode": "000", "name": "내원경로", "entries": [
      {"code": "1", "name": "직접내원", "shortName": "직접"},
      {"code": "2", "name": "타병원의뢰", "texts": {"S_STRING7": "의뢰서"}, "counts": {"L_CNT1": 7}},
      {"code": "3", "name": "119구급차", "seq": 9}
    ]}
  ],
  "recordKinds": [
    {"code": "MDOPRECT", "name": "수술기록", "formCode": "KRV 82-OP-2-40",
     "titles": "등록번호|수술일자|순번|입원일자|진료과|집도의|수술명|||"},
    {"code": "MDPGNOTT", "name": "경과기록", "formCode": "KRV 82-MR-3-32", "titles": "등록번호|입원일자"}
  ],
  "patients": [
    {"number": "00001001", "name": "김민준", "resNoFront": "800101", "resNoBack": "1234567", "birthDate": "19800101",
     "sex": "M", "homeTel": "0212345678", "mobileTel": "01012345678", "zipCode": "06236",
     "address": "서울특별시 강남구 테헤란로 1", "extra": {"S_STRING12": "숨김"},
     "visits": [
       {"date": "200912011000", "kind": "outpatient", "department": "IM"},
       {"date": "201503021030", "kind": "admission", "department": "GS", "ward": "71", "room": "7101",
        "discharge": "20150310", "attending": "이정훈",
        "records": [
          {"kind": "MDOPRECT", "columns": ["00001001", "20150303", "1", "20150302", "외과", "이정훈", "충수절제술"],
           "content": [{"S_STRING1": "00001001", "S_STRING3": "김민준", "S_STRING33": "절차\r\n둘째 줄",
                        "S_STRING60": "끝"}]},
          {"kind": "MDPGNOTT", "columns": ["00001001", "20150302"]}
        ]},
       {"date": "201503021800", "kind": "emergency", "department": "ER",
        "records": [{"kind": "MDPGNOTT", "columns": ["00001001", "20150302", "E"],
                     "content": [{"S_STRING1": "a"}, {"S_STRING1": "b"}, {}]}]},
       {"date": "201601051200", "kind": "outpatient", "department": "IM"}
     ]},
    {"number": "00001002", "name": "김민지", "sex": "F", "birthDate": "19920315",
     "visits": [{"date": "202301020900", "kind": "admission", "department": "GS", "ward": "71", "room": "7102"}]},
    {"number": "00001003", "name": "김민수", "sex": "M",
     "visits": [{"date": "20120101090000", "kind": "outpatient", "department": "IM"}]},
    {"number": "00002001", "name": "이서연", "sex": "F",
     "visits": [{"date": "200805050800", "kind": "outpatient", "department": "IM"}]},
    {"number": "00003001", "name": "박'%_", "sex": "M"}
  ],
  "serviceReplies": [
    {"service": "MD_ADINF_S2", "key": {"S_PATNO": "00001001", "S_STRING1": "20150302"},
     "rows": [{"S_STRING1": "첫째", "L_CNT1": 3}, {"S_STRING1": "둘째"}]},
    {"service": "SR_SEDME_L1", "key": {"S_CODE1": "00001001", "S_CODE2": "20150302", "L_SEQNO1": 1, "L_SEQNO2": 40012},
     "rows": [{"S_STRING1": "0", "L_SEQNO3": 1}, {"S_STRING1": "7", "L_SEQNO3": 2}]}
  ]
})JSON";

} // namespace medrec::server::store::testing
