#pragma once

// What the nursing sheets' tests share: a sheet kind's forms filled straight from values (its
// rules case by case, without a server), and what a printed sheet shows of each component.

#include "FieldValues.h"

#include "report_engine/Layout.h"
#include "report_engine/Report.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace medrec::testing {

// Every value the kind's fill tables read, empty: a record with nothing written.
reports::FieldValues EmptySheetValues(const std::string &kind);

// Every form of the kind, each filled from the values by its fill table.
class FilledSheet
{
public:
    FilledSheet(const std::string &kind, const reports::FieldValues &values);

    std::string caption(const std::string &label) const;
    bool black(const std::string &square) const;

private:
    engine::Report &holding(const std::string &name) const;

    std::vector<std::unique_ptr<engine::Report>> m_pages;
};

// One rule of a sheet: the fields set (the others empty) and what the forms then show.
struct SheetRuleCase
{
    std::string what;
    std::map<std::string, std::string> fields;
    std::map<std::string, std::string> captions; // label -> caption
    std::vector<std::string> black;              // squares filled
    std::vector<std::string> white;              // squares left white
};

// Each case applied to the kind's forms, over `base` (EmptySheetValues), with a trace per case.
void ExpectSheetRules(const std::string &kind, const reports::FieldValues &base,
                      const std::vector<SheetRuleCase> &cases);

// The texts without blanks and line breaks, joined.
std::string JoinedWithoutBlanks(const std::vector<std::string> &lines);

// Every value printed whole: the component's printed lines make the value (blanks aside), and
// each line stands in the PDF's text (`pdfPages`: one text a page, blanks removed).
void ExpectPrinted(const engine::Document &doc, const std::vector<std::string> &pdfPages,
                   const std::map<std::string, std::string> &values);

// Each caption (blanks aside) stands on the page; a caption whose words are spaced apart may
// stand word by word.
void ExpectCaptions(const std::string &pdfPage, const std::vector<std::string> &captions);

} // namespace medrec::testing
