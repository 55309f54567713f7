#include "BenchData.h"

#include <cstdio>
#include <sstream>

namespace medrec::bench {

std::string manyVisitsData()
{
    std::ostringstream json;
    json << R"({"departments": [{"code": "GS", "name": "외과"}],
  "recordKinds": [
    {"code": "MDNRRECT", "name": "간호기록", "formCode": "KRV 82-NR-1-10", "titles": "등록번호|기록일자|기록시간|부서|작성자"},
    {"code": "MDPGNOTT", "name": "경과기록", "formCode": "KRV 82-MR-3-32", "titles": "등록번호|작성일자|순번|작성자"}],
  "patients": [)";
    const char *surnames[] = {"김", "이", "박", "최", "정", "강", "조", "윤", "장", "임"};
    for (int p = 0; p < kOtherPatients; ++p) {
        char number[16];
        std::snprintf(number, sizeof number, "%08d", 10000 + p);
        json << R"({"number": ")" << number << R"(", "name": ")" << surnames[p % 10] << "환자" << p
             << R"(", "sex": "M", "birthDate": "19700101"},)";
    }
    json << R"({"number": ")" << kPatient << R"(", "name": ")" << kPatientName
         << R"(", "sex": "F", "birthDate": "19600101", "visits": [)";
    for (int v = 0; v < kVisits; ++v) {
        char date[16];
        std::snprintf(date, sizeof date, "%04d%02d15%02d30", 2012 + v / 12, v % 12 + 1, 9 + v % 8);
        const std::string day(date, 8);
        json << (v ? "," : "") << R"({"date": ")" << date
             << R"(", "kind": "outpatient", "department": "GS", "records": [)"
             << R"({"kind": "MDNRRECT", "columns": [")" << kPatient << R"(", ")" << day
             << R"(", "0900", "외래", "간호사"]},)"
             << R"({"kind": "MDPGNOTT", "columns": [")" << kPatient << R"(", ")" << day << R"(", "1", "의사"]},)"
             << R"({"kind": "MDPGNOTT", "columns": [")" << kPatient << R"(", ")" << day
             << R"(", "2", "의사"]}]})";
    }
    json << "]}]}";
    return json.str();
}

} // namespace medrec::bench
