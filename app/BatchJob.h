#pragma once

// medrec-batch: the main screen's own logic without a window, for reprinting a record or a
// whole visit (insurers, courts). Messages go to standard error.

#include <string>
#include <vector>

namespace medrec::app {

class TMDG300F1;

struct BatchJob
{
    std::string patientNo;
    std::string visit;  // YYYYMMDD or YYYYMMDDHHNN; empty: the newest visit
    std::string kind;   // record kind code; empty: the first kind of the visit
    int record = 0;     // 1-based row of the record list; 0: the first
    bool all = false;   // every record of every kind of the visit
    std::string layoutRecords; // --layout-records DIR: the folder of the prints' layout records
};

// Parses the arguments after the program name; false with *error on bad usage.
bool ParseBatchArguments(const std::vector<std::string> &args, BatchJob *job, std::string *error);

struct BatchResult
{
    int printed = 0;
    int failed = 0; // records not printed, or printed without their history row
};

// Drives the screen through search, visit, kind and record, printing as it goes.
BatchResult RunBatchJob(TMDG300F1 &screen, const BatchJob &job);

} // namespace medrec::app
