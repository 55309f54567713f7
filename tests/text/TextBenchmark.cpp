// Figures for the CP949 text module: MB/s of toCp949, fromCp949 and cp949Width over a mixed
// Korean/ASCII text of a few MB, taken as one string and as the short fields the service
// host converts, on one thread and on two at once; and the cost of the first use in a
// process. Prints, asserts nothing.
//
//   build/<dir>/tests/text/text_benchmark [MB]

#include "Cp949.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// Record-office text: names, addresses, diagnoses and notes beside numbers and codes.
std::vector<std::string> recordFields(std::size_t utf8Bytes)
{
    static const char *const kPhrases[] = {
        "홍길동", "김영희", "서울특별시 강남구 테헤란로", "부산광역시 해운대구", "내과", "정형외과",
        "고혈압, 제2형 당뇨병", "급성 기관지염 (J20.9)", "MRI 검사 결과 이상 소견 없음",
        "수술 후 경과 관찰 중, 통증 호소 없음", "외래", "입원", "퇴원 요약지", "진료기록 사본 발급",
        "Dr. Park", "BP 130/85 mmHg", "HbA1c 7.2%", "2024-03-15 09:30", "CT abdomen (contrast)",
    };
    constexpr std::size_t kCount = sizeof kPhrases / sizeof *kPhrases;
    std::vector<std::string> fields;
    std::size_t total = 0;
    for (std::size_t i = 0; total < utf8Bytes; ++i) {
        std::string field = std::to_string(10000000 + i * 7919 % 9000000) + " " + kPhrases[i % kCount];
        if (i % 3 == 0)
            field += std::string(" ") + kPhrases[(i * 5 + 1) % kCount];
        total += field.size();
        fields.push_back(std::move(field));
    }
    return fields;
}

std::string joined(const std::vector<std::string> &fields)
{
    std::string all;
    for (const auto &f : fields)
        all += f + "\n";
    return all;
}

// Runs work (which goes once over `bytes` bytes) on `threads` threads at once, each at least
// three times and for about half a second; the bytes all threads went over per second.
double megabytesPerSecond(std::size_t bytes, int threads, const std::function<void()> &work)
{
    const auto start = Clock::now();
    int rounds = 0;
    while (rounds < 3 || Clock::now() - start < std::chrono::milliseconds(500)) {
        std::vector<std::thread> pool;
        for (int t = 0; t < threads; ++t)
            pool.emplace_back(work);
        for (auto &th : pool)
            th.join();
        ++rounds;
    }
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    return static_cast<double>(bytes) * threads * rounds / seconds / 1e6;
}

// Keeps a result alive so the work is not optimised away.
std::size_t g_sink = 0;

void row(const char *what, std::size_t bytes, const std::function<std::size_t()> &work)
{
    const auto once = [&] {
        const std::size_t n = work();
        g_sink += n;
    };
    std::printf("  %-34s %10.1f MB/s %10.1f MB/s\n", what, megabytesPerSecond(bytes, 1, once),
                megabytesPerSecond(bytes, 2, once));
}

} // namespace

int main(int argc, char **argv)
{
    const double megabytes = argc > 1 ? std::atof(argv[1]) : 4.0;

    const auto t0 = Clock::now();
    const std::string problem = medrec::text::converterProblem();
    const double firstUseMs = std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
    if (!problem.empty()) {
        std::fprintf(stderr, "text_benchmark: %s\n", problem.c_str());
        return 1;
    }

    const auto utf8Fields = recordFields(static_cast<std::size_t>(megabytes * 1e6));
    std::vector<std::string> cpFields;
    for (const auto &f : utf8Fields)
        cpFields.push_back(medrec::text::toCp949(f));
    const std::string utf8 = joined(utf8Fields);
    const std::string cp949 = joined(cpFields);
    std::size_t fieldBytes = 0;
    for (const auto &f : utf8Fields)
        fieldBytes = std::max(fieldBytes, f.size());

    std::printf("CP949 text: first use in the process (converter set-up) %.2f ms\n", firstUseMs);
    std::printf("text: %.2f MB UTF-8, %.2f MB CP949, %zu fields of up to %zu bytes\n", utf8.size() / 1e6,
                cp949.size() / 1e6, utf8Fields.size(), fieldBytes);
    std::printf("  %-34s %15s %15s\n", "MB/s of the input", "1 thread", "2 threads");

    row("toCp949, one string", utf8.size(), [&] { return medrec::text::toCp949(utf8).size(); });
    row("fromCp949, one string", cp949.size(), [&] { return medrec::text::fromCp949(cp949).size(); });
    row("cp949Width, one string", utf8.size(), [&] { return medrec::text::cp949Width(utf8); });
    row("toCp949, field by field", utf8.size(), [&] {
        std::size_t n = 0;
        for (const auto &f : utf8Fields)
            n += medrec::text::toCp949(f).size();
        return n;
    });
    row("fromCp949, field by field", cp949.size(), [&] {
        std::size_t n = 0;
        for (const auto &f : cpFields)
            n += medrec::text::fromCp949(f).size();
        return n;
    });
    std::printf("(checksum %zu)\n", g_sink);
    return 0;
}
